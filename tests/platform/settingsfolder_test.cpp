// Where TaZEN.ini lives: beside a writable program of the user's own, else in the user's configuration folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"
#include "platform/settingsfolder.h"

#include "common/scoped_env.h"
#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <filesystem>

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

TEST(SettingsFolder, AnInstallationOutsideTheHomeFolderIsSharedWhoeverMayWriteThere)
{
    struct Case
    {
        const char* programFolder;
        const char* home;
        bool shared;
    };
    const Case cases[] = {
        {"/usr/lib/tazen/", "/root", true}, // the package
        {"/usr/local/lib/tazen/", "/root", true},
        {"/opt/tazen/lib/tazen/", "/home/u", true},
        {"/usr/lib/tazen/", "", true},
        {"/usr/lib/tazen/", "/", true},
        {"/home/u/.local/lib/tazen/", "/home/u", false},
        {"/home/u/.local/lib/tazen/", "/home/u/", false},
        {"/home/user2/.local/lib/tazen/", "/home/u", true}, // another user's, shared by its owner
        {"/root/.local/lib/tazen/", "/root", false},
        {"/work/tazen/build/bin/", "/root", false}, // a build folder, as root in CI
        {"/tmp/test-1/", "/root", false},
        {"/usr/lib/tazen-other/", "/root", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsSharedInstallation(c.programFolder, c.home), c.shared) << c.programFolder << " " << c.home;
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
    // Laid out as installed, writable, outside the home folder: shared, also for root.
    std::filesystem::create_directories(dir / "usr/lib/tazen");
    {
        const test::ScopedEnv home("HOME", dir / "home");
        SetExecutableFolderForTesting(dir / "usr/lib/tazen");
        EXPECT_EQ(SettingsFolder(), config + "/tazen/");
        const test::ScopedEnv inside("HOME", dir.path());
        EXPECT_EQ(SettingsFolder(), dir / "usr/lib/tazen/");
    }
    std::filesystem::remove_all(dir / "usr");

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
