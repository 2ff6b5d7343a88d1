// Where TaZEN.ini lives: beside a writable program, else in the user's configuration folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"
#include "platform/settingsfolder.h"

#include "common/scoped_env.h"
#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace tazen::platform {
namespace {

TEST(SettingsFolder, BesideAWritableProgramElseInTheConfigurationFolderXdgAsks)
{
    struct Case
    {
        bool writable;
        const char* xdgConfigHome;
        const char* home;
        const char* folder;
    };
    const Case cases[] = {
        {true, "/home/u/.cfg", "/home/u", "/home/u/.local/lib/tazen/"},
        {false, "/home/u/.cfg", "/home/u", "/home/u/.cfg/tazen/"},
        {false, "/home/u/.cfg/", "/home/u", "/home/u/.cfg/tazen/"},
        {false, nullptr, "/home/u", "/home/u/.config/tazen/"},
        {false, "", "/home/u", "/home/u/.config/tazen/"},
        // A relative $XDG_CONFIG_HOME is to be ignored.
        {false, "cfg", "/home/u", "/home/u/.config/tazen/"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SettingsFolderFor("/home/u/.local/lib/tazen/", c.writable, c.xdgConfigHome, c.home), c.folder)
            << c.writable << " " << (c.xdgConfigHome ? c.xdgConfigHome : "(unset)");
}

class SettingsFolderHere : public ::testing::Test
{
protected:
    void TearDown() override { SetExecutableFolderForTesting(""); }
    test::TempDir dir;
};

TEST_F(SettingsFolderHere, AProgramFolderThatCannotBeWrittenSendsTheFileToTheConfigurationFolder)
{
    const std::string config = dir / "config";
    const test::ScopedEnv xdg("XDG_CONFIG_HOME", config);
    SetExecutableFolderForTesting(dir.path());
    EXPECT_EQ(SettingsFolder(), dir.path() + "/");

    // Not there at all: as unwritable as a system folder, also for root.
    SetExecutableFolderForTesting(dir / "usr/lib/tazen");
    ASSERT_EQ(SettingsFolder(), config + "/tazen/");
    ASSERT_EQ(MakeSettingsFolder(), 0);
    struct stat info;
    ASSERT_EQ(::stat((config + "/tazen").c_str(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    EXPECT_EQ(MakeSettingsFolder(), 0);
}

} // namespace
} // namespace tazen::platform
