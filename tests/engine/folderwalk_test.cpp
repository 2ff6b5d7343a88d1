// The folder walk without a window: which folders it enters, the order it finds files in, and where Cancel
// ends it.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/folderwalk.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <optional>
#include <string>
#include <vector>

namespace tazen::test {
namespace {

class Walk : public testing::Test
{
protected:
    // top/
    //   B.txt  a.TaZEN  a.tazen  fifo  link-to-file -> B.txt
    //   sub/Z.txt  sub/deeper/e.TaZEN  sub~/y.txt
    //   .hidden/f.txt   readonly/g.txt   link-to-sub -> sub
    Walk()
    {
        for (const char* folder : {"", "/sub", "/sub/deeper", "/sub~", "/.hidden", "/readonly"})
            std::filesystem::create_directory(top + folder);
        for (const char* file : {"/B.txt", "/a.TaZEN", "/a.tazen", "/sub/Z.txt", "/sub/deeper/e.TaZEN", "/sub~/y.txt",
                                 "/.hidden/f.txt", "/readonly/g.txt"})
            writeFile(top + file, "x");
        ::mkfifo((top + "/fifo").c_str(), 0600);
        std::filesystem::create_symlink(top + "/B.txt", top + "/link-to-file");
        std::filesystem::create_directory_symlink(top + "/sub", top + "/link-to-sub");
        ::chmod((top + "/readonly").c_str(), 0555);
    }

    TempDir dir;
    const std::string top = dir / "top";
};

TEST_F(Walk, FindsFilesDepthFirstInTheByteOrderOfTheirNames)
{
    const std::vector<std::pair<bool, std::vector<std::string>>> cases = {
        {false,
         {"/B.txt", "/a.TaZEN", "/a.tazen", "/link-to-file", "/sub/Z.txt", "/sub/deeper/e.TaZEN", "/sub~/y.txt"}},
        {true, {"/a.TaZEN", "/sub/deeper/e.TaZEN"}},
    };
    for (const auto& [decrypt, expected] : cases) {
        std::vector<std::string> visited;
        FolderWalk walk({[&](const std::string& folder) {
                             if (visited.empty() || visited.back() != folder)
                                 visited.push_back(folder);
                         },
                         nullptr});
        std::vector<std::string> found;
        walk.ScanFolderTree(top, decrypt, found);
        std::vector<std::string> wanted;
        for (const std::string& name : expected)
            wanted.push_back(top + name);
        EXPECT_EQ(found, wanted) << "decrypt " << decrypt;
        EXPECT_FALSE(walk.Cancelled());
        // Hidden and write-protected folders and links to folders are never entered.
        EXPECT_EQ(visited, (std::vector<std::string>{top + "/", top + "/sub/", top + "/sub/deeper/", top + "/",
                                                     top + "/sub~/"}));
    }
}

TEST_F(Walk, WithoutSubFoldersOnlyTheFoldersOwnFilesCount)
{
    EXPECT_EQ(FolderFiles(top + "/", false),
              (std::vector<std::string>{top + "/B.txt", top + "/a.TaZEN", top + "/a.tazen", top + "/link-to-file"}));
    EXPECT_EQ(FolderFiles(top + "/", true), std::vector<std::string>{top + "/a.TaZEN"});
    EXPECT_TRUE(FolderFiles(dir / "missing/", false).empty());
}

TEST_F(Walk, ExecutablesAreFoundForDecryptionWhateverTheCaseOfTheirEnding)
{
    for (const char* file : {"/c.TaZEN.EXE", "/c.exe", "/d.TaZEN.exe.part", "/e.TaZEN.exe"})
        writeFile(top + file, "x");
    EXPECT_EQ(FolderFiles(top + "/", true),
              (std::vector<std::string>{top + "/a.TaZEN", top + "/c.TaZEN.EXE", top + "/e.TaZEN.exe"}));
}

TEST_F(Walk, CancelStillHandlesTheEntryAtHandThenEndsEveryLevel)
{
    // Cancel is read before each entry after a folder's first; the entry read then is still handled.
    const std::vector<std::pair<int, std::vector<std::string>>> cases = {
        {1, {"/B.txt"}},
        {5, {"/B.txt", "/a.TaZEN", "/a.tazen", "/link-to-file"}},
        // The ninth read is in sub/, before deeper/: deeper/ is still entered and its first entry handled, and
        // no level goes on after it.
        {9, {"/B.txt", "/a.TaZEN", "/a.tazen", "/link-to-file", "/sub/Z.txt", "/sub/deeper/e.TaZEN"}},
    };
    for (const auto& [readsUntilCancel, expected] : cases) {
        int reads = 0;
        FolderWalk walk({nullptr, [&, until = readsUntilCancel] { return ++reads >= until; }});
        std::vector<std::string> found;
        walk.ScanFolderTree(top, false, found);
        std::vector<std::string> wanted;
        for (const std::string& name : expected)
            wanted.push_back(top + name);
        EXPECT_EQ(found, wanted) << "cancelled at read " << readsUntilCancel;
        EXPECT_TRUE(walk.Cancelled());
    }
}

TEST_F(Walk, AFolderAddAsksOnlyBeforeWalkingAndNamesTheFolderAsItWalksIt)
{
    struct Case
    {
        std::string chosen;
        bool recursive;
        bool decrypt;
        bool agree;
        std::optional<bool> askedWhole; // what beginWalk was told, or not asked
        bool stopped;
        std::string named;
        std::size_t files;
    };
    const std::vector<Case> cases = {
        {top, true, false, true, false, false, top, 7},
        {top, true, true, true, false, false, top, 2},
        {top, true, false, false, false, true, top, 0},
        {"/", true, false, false, true, true, "/", 0},
        {top, false, false, true, std::nullopt, false, top + "/", 4},
        {top + "/", false, true, true, std::nullopt, false, top + "/", 1},
    };
    for (const Case& c : cases) {
        std::optional<bool> asked;
        FolderWalk walk({nullptr, nullptr});
        const FolderAdd add = walk.AddFolder(c.chosen, c.recursive, c.decrypt, [&](bool whole) {
            asked = whole;
            return c.agree;
        });
        EXPECT_EQ(asked, c.askedWhole) << c.chosen << " recursive " << c.recursive;
        EXPECT_EQ(add.stopped, c.stopped) << c.chosen;
        EXPECT_EQ(add.named, c.named) << c.chosen;
        EXPECT_EQ(add.files.size(), c.files) << c.chosen << " recursive " << c.recursive;
    }
}

} // namespace
} // namespace tazen::test
