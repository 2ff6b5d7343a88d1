// Folder listings and their attribute bits, the file and folder checks, and the program's folder.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

namespace tazen::platform {
namespace {

using test::TempDir;
using test::writeFile;

std::map<std::string, FolderEntry> listByName(const std::string& folder)
{
    std::vector<FolderEntry> entries;
    const int error = ListFolder(folder, entries);
    EXPECT_EQ(error, 0);
    std::map<std::string, FolderEntry> byName;
    for (const FolderEntry& entry : entries)
        EXPECT_TRUE(byName.emplace(entry.name, entry).second) << "listed twice: " << entry.name;
    return byName;
}

// One of every kind of entry a listing meets.
class FolderListing : public ::testing::Test
{
protected:
    void SetUp() override
    {
        writeFile(dir / "file.txt", std::string(123, 'x'));
        writeFile(dir / "readonly.txt", std::string(7, 'r'));
        ASSERT_EQ(::chmod((dir / "readonly.txt").c_str(), 0444), 0);
        writeFile(dir / ".hidden", "abcd");
        writeFile(dir / "empty", "");
        ASSERT_EQ(::mkdir((dir / "sub").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir((dir / ".config").c_str(), 0755), 0);
        ASSERT_EQ(::mkdir((dir / "readonly-folder").c_str(), 0555), 0);
        ASSERT_EQ(::symlink("sub", (dir / "link-to-folder").c_str()), 0);
        ASSERT_EQ(::symlink("file.txt", (dir / "link-to-file").c_str()), 0);
        ASSERT_EQ(::symlink("readonly.txt", (dir / "link-to-readonly").c_str()), 0);
        ASSERT_EQ(::symlink("nowhere", (dir / "dangling").c_str()), 0);
        ASSERT_EQ(::symlink("sub", (dir / ".hidden-link").c_str()), 0);
        ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
        ASSERT_EQ(::mkfifo((dir / ".hidden-fifo").c_str(), 0644), 0);
    }

    TempDir dir;
};

TEST_F(FolderListing, GivesEachKindOfEntryItsAttributes)
{
    const auto entries = listByName(dir.path());
    const std::map<std::string, std::uint32_t> expected = {
        {"file.txt", 32},
        {"readonly.txt", 33},
        {".hidden", 34},
        {"empty", 32},
        {"sub", 16},
        {".config", 18},
        {"readonly-folder", 17},
        {"link-to-folder", 1040},
        {"link-to-file", 1056},
        {"link-to-readonly", 1057},
        {"dangling", 1024},
        {".hidden-link", 1042},
        {"fifo", 0},
        {".hidden-fifo", 2},
    };
    ASSERT_EQ(entries.size(), expected.size());
    for (const auto& [name, attributes] : expected) {
        const auto it = entries.find(name);
        ASSERT_NE(it, entries.end()) << name;
        EXPECT_EQ(it->second.attributes, attributes) << name;
    }
}

TEST_F(FolderListing, GivesSizesOfRegularFilesOnly)
{
    const auto entries = listByName(dir.path());
    EXPECT_EQ(entries.at("file.txt").size, 123);
    EXPECT_EQ(entries.at("readonly.txt").size, 7);
    EXPECT_EQ(entries.at(".hidden").size, 4);
    EXPECT_EQ(entries.at("empty").size, 0);
    EXPECT_EQ(entries.at("link-to-file").size, 123);
    EXPECT_EQ(entries.at("link-to-readonly").size, 7);
    for (const char* name : {"sub", ".config", "readonly-folder", "link-to-folder", "dangling", "fifo"})
        EXPECT_EQ(entries.at(name).size, 0) << name;
}

TEST_F(FolderListing, LeavesOutDotAndDotDot)
{
    const auto entries = listByName(dir.path());
    EXPECT_EQ(entries.count("."), 0u);
    EXPECT_EQ(entries.count(".."), 0u);
    // A trailing slash on the folder changes nothing.
    EXPECT_EQ(listByName(dir.path() + "/").size(), entries.size());
}

TEST(ListFolder, EmptyFolderListsNothing)
{
    TempDir dir;
    std::vector<FolderEntry> entries(3);
    EXPECT_EQ(ListFolder(dir.path(), entries), 0);
    EXPECT_TRUE(entries.empty());
}

TEST(ListFolder, EntriesComeInByteOrderOfTheirNames)
{
    TempDir dir;
    const std::vector<std::string> inOrder = {".hidden", "B",   "a", "f124",     "f13", "f22",
                                              "f4",      "sub", "z", "\xC3\xA4", "\xE4"};
    for (auto name = inOrder.rbegin(); name != inOrder.rend(); ++name)
        name->front() == 's' ? (void)::mkdir((dir / *name).c_str(), 0755) : writeFile(dir / *name, "x");
    std::vector<FolderEntry> entries;
    ASSERT_EQ(ListFolder(dir.path(), entries), 0);
    std::vector<std::string> names;
    for (const FolderEntry& entry : entries)
        names.push_back(entry.name);
    EXPECT_EQ(names, inOrder);
}

TEST(ListFolder, FolderThatCannotBeOpenedGivesItsErrno)
{
    TempDir dir;
    std::vector<FolderEntry> entries(2);
    EXPECT_EQ(ListFolder(dir / "missing", entries), ENOENT);
    EXPECT_TRUE(entries.empty());

    writeFile(dir / "plain", "x");
    EXPECT_EQ(ListFolder(dir / "plain", entries), ENOTDIR);
    EXPECT_TRUE(entries.empty());
}

// ---- Exists as a file / folder ----

TEST_F(FolderListing, ExistsAsFileOnlyForRegularFilesLinksFollowed)
{
    EXPECT_TRUE(ExistsAsFile(dir / "file.txt"));
    EXPECT_TRUE(ExistsAsFile(dir / "readonly.txt"));
    EXPECT_TRUE(ExistsAsFile(dir / "empty"));
    EXPECT_TRUE(ExistsAsFile(dir / "link-to-file"));
    EXPECT_FALSE(ExistsAsFile(dir / "sub"));
    EXPECT_FALSE(ExistsAsFile(dir / "link-to-folder"));
    EXPECT_FALSE(ExistsAsFile(dir / "dangling"));
    EXPECT_FALSE(ExistsAsFile(dir / "fifo"));
    EXPECT_FALSE(ExistsAsFile(dir / "missing"));
    EXPECT_FALSE(ExistsAsFile(""));
}

TEST_F(FolderListing, ExistsAsFolderOnlyForFoldersLinksFollowed)
{
    EXPECT_TRUE(ExistsAsFolder(dir.path()));
    EXPECT_TRUE(ExistsAsFolder(dir / "sub"));
    EXPECT_TRUE(ExistsAsFolder(dir / "link-to-folder"));
    EXPECT_FALSE(ExistsAsFolder(dir / "file.txt"));
    EXPECT_FALSE(ExistsAsFolder(dir / "link-to-file"));
    EXPECT_FALSE(ExistsAsFolder(dir / "dangling"));
    EXPECT_FALSE(ExistsAsFolder(dir / "fifo"));
    EXPECT_FALSE(ExistsAsFolder(dir / "missing"));
}

// ---- The program's folder ----

class ExecutableFolderTest : public ::testing::Test
{
protected:
    void TearDown() override { SetExecutableFolderForTesting(""); }
};

TEST_F(ExecutableFolderTest, IsTheFolderOfTheRunningProgram)
{
    const std::string expected = std::filesystem::canonical("/proc/self/exe").parent_path().string() + "/";
    EXPECT_EQ(ExecutableFolder(), expected);
}

TEST_F(ExecutableFolderTest, OverrideGainsATrailingSlashAndCanBeSwitchedOff)
{
    const std::string real = ExecutableFolder();

    SetExecutableFolderForTesting("/opt/tazen");
    EXPECT_EQ(ExecutableFolder(), "/opt/tazen/");
    SetExecutableFolderForTesting("/opt/other/");
    EXPECT_EQ(ExecutableFolder(), "/opt/other/");

    const std::string longFolder = "/" + std::string(4000, 'd');
    SetExecutableFolderForTesting(longFolder);
    EXPECT_EQ(ExecutableFolder(), longFolder + "/");

    SetExecutableFolderForTesting("");
    EXPECT_EQ(ExecutableFolder(), real);
}

} // namespace
} // namespace tazen::platform
