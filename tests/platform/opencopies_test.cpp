// The private folders, watch, record and removal of copies opened in place.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/opencopies.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>

namespace tazen::platform {
namespace {

using test::exists;
using test::listFolder;
using test::readText;
using test::TempDir;
using test::writeFile;

mode_t modeOf(const std::string& name)
{
    struct stat info;
    return ::lstat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(PrivateFolder, IsMadeOrTakenOnlyWhenItIsThisUsersAloneAndNoLink)
{
    TempDir dir;
    std::filesystem::create_directory(dir / "open");
    ::chmod((dir / "open").c_str(), 0755);
    std::filesystem::create_directory(dir / "target");
    ::chmod((dir / "target").c_str(), 0700);
    std::filesystem::create_directory_symlink(dir / "target", dir / "link");
    writeFile(dir / "file", std::string("x"));
    const struct
    {
        const char* name;
        int error;
    } cases[] = {{"new", 0}, {"open", EPERM}, {"link", ENOTDIR}, {"file", ENOTDIR}};
    for (const auto& c : cases) {
        std::string folder;
        EXPECT_EQ(MakePrivateFolder(dir.path(), c.name, folder), c.error) << c.name;
    }
    std::string folder;
    ASSERT_EQ(MakePrivateFolder(dir.path(), "new", folder), 0) << "taken again";
    EXPECT_EQ(modeOf(folder), 0700U);

    std::string first;
    std::string second;
    ASSERT_EQ(MakeRandomFolder(folder, first), 0);
    ASSERT_EQ(MakeRandomFolder(folder, second), 0);
    EXPECT_NE(first, second);
    EXPECT_EQ(modeOf(first), 0700U);
}

TEST(FolderWatch, TellsAWriteClosedAFileRenamedInAndTheFolderGone)
{
    TempDir dir;
    const std::string folder = dir / "watched";
    std::filesystem::create_directory(folder);
    FolderWatch watch;
    ASSERT_EQ(watch.Start(folder), 0);
    std::vector<FolderEvent> events;
    ASSERT_EQ(watch.ReadEvents(events), 0);
    EXPECT_TRUE(events.empty());

    writeFile(folder + "/copy", std::string("written"));
    writeFile(dir / "elsewhere", std::string("renamed in"));
    std::filesystem::rename(dir / "elsewhere", folder + "/copy");
    std::filesystem::remove_all(folder);
    std::vector<bool> ready;
    ASSERT_EQ(WaitReadable({watch.Handle()}, ready, std::chrono::seconds(30)), 0);
    ASSERT_EQ(watch.ReadEvents(events), 0);
    std::vector<std::pair<FolderEvent::Kind, std::string>> told;
    for (const FolderEvent& event : events)
        if (told.empty() || told.back() != std::pair(event.kind, event.name))
            told.emplace_back(event.kind, event.name);
    const std::vector<std::pair<FolderEvent::Kind, std::string>> expected = {{FolderEvent::Kind::Written, "copy"},
                                                                             {FolderEvent::Kind::MovedIn, "copy"},
                                                                             {FolderEvent::Kind::FolderGone, ""}};
    EXPECT_EQ(told, expected);
}

TEST(RemoveOverwriting, RemovesEverythingBelowButNeverFollowsALink)
{
    TempDir dir;
    const std::string folder = dir / "copy";
    std::filesystem::create_directories(folder + "/inner");
    writeFile(folder + "/notes.txt", std::string("plain words"));
    writeFile(folder + "/inner/.swap", std::string("more plain words"));
    writeFile(dir / "outside", std::string("not ours"));
    std::filesystem::create_symlink(dir / "outside", folder + "/link");
    EXPECT_EQ(RemoveOverwriting(folder), 0);
    EXPECT_FALSE(exists(folder));
    EXPECT_EQ(readText(dir / "outside"), "not ours");
}

TEST(HeldRecord, IsReadOnlyOnceItsHolderLetsGo)
{
    TempDir dir;
    HeldRecord record;
    ASSERT_EQ(record.Create(dir / "record", std::string("name\0copy", 9)), 0);
    EXPECT_EQ(modeOf(dir / "record"), 0600U);
    EXPECT_EQ(HeldRecord().Create(dir / "record", "again"), EEXIST);
    std::string content;
    bool inUse = false;
    ASSERT_EQ(ReadRecord(dir / "record", content, inUse), 0);
    EXPECT_TRUE(inUse);
    EXPECT_TRUE(content.empty());
    record.Release();
    ASSERT_EQ(ReadRecord(dir / "record", content, inUse), 0);
    EXPECT_FALSE(inUse);
    EXPECT_EQ(content, std::string("name\0copy", 9));
}

} // namespace
} // namespace tazen::platform
