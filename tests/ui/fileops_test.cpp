// Folder adds over a temporary tree: which folders the walk enters, what it collects, and how it ends the
// program when it finds nothing or is cancelled.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fileops.h"

#include "ui/window_fixture.h"

#include <QTimer>

#include <algorithm>

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tazen::test {
namespace {

class FolderAdd : public WindowTest
{
protected:
    // top/
    //   a.txt  b.TaZEN  c.tazen  fifo  link-to-file -> a.txt
    //   sub/d.txt  sub/deeper/e.TaZEN
    //   .hidden/f.txt   readonly/g.txt   link-to-sub -> sub
    FolderAdd()
    {
        top = dir / "top";
        for (const char* folder : {"", "/sub", "/sub/deeper", "/.hidden", "/readonly"})
            std::filesystem::create_directory(top + folder);
        for (const char* file : {"/a.txt", "/b.TaZEN", "/c.tazen", "/sub/d.txt", "/sub/deeper/e.TaZEN",
                                 "/.hidden/f.txt", "/readonly/g.txt"})
            writeFile(top + file, "x");
        ::mkfifo((top + "/fifo").c_str(), 0600);
        std::filesystem::create_symlink(top + "/a.txt", top + "/link-to-file");
        std::filesystem::create_directory_symlink(top + "/sub", top + "/link-to-sub");
        ::chmod((top + "/readonly").c_str(), 0555);
    }

    std::vector<std::string> sortedListing() const
    {
        std::vector<std::string> names = listed();
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string top;
};

TEST_F(FolderAdd, ARecursiveAddEntersPlainFoldersOnly)
{
    AddFolderForEncryption(form, top, true);
    EXPECT_FALSE(form.EndedWith());
    // Each folder's entries in the byte order of their names, whatever order the file system keeps.
    EXPECT_EQ(listed(),
              (std::vector<std::string>{top + "/a.txt", top + "/b.TaZEN", top + "/c.tazen", top + "/link-to-file",
                                        top + "/sub/d.txt", top + "/sub/deeper/e.TaZEN"}));
    EXPECT_EQ(form.ModeName(), QStringLiteral("Encrypt"));
    EXPECT_FALSE(form.ScanDialog()) << "the scan dialog is gone once the names are listed";
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(FolderAdd, ARecursiveDecryptionAddTakesTheExactExtensionOnly)
{
    form.AddFileList({top + "/a.txt"});
    AddFolderForDecryption(form, top + "/", true);
    EXPECT_EQ(listed().front(), top + "/a.txt") << "a folder add keeps what is listed";
    EXPECT_EQ(sortedListing(),
              (std::vector<std::string>{top + "/a.txt", top + "/b.TaZEN", top + "/sub/deeper/e.TaZEN"}));
    EXPECT_EQ(form.ModeName(), QStringLiteral("Decrypt"));
    EXPECT_EQ(statusOf(2), QStringLiteral("encrypted"));
}

TEST_F(FolderAdd, WithoutSubFoldersOnlyTheFolderItselfCounts)
{
    AddFolderForDecryption(form, top, false);
    EXPECT_EQ(listed(), std::vector<std::string>{top + "/b.TaZEN"});

    form.SetEncryptMode(true);
    AddFolderForEncryption(form, top, false);
    EXPECT_EQ(sortedListing(),
              (std::vector<std::string>{top + "/a.txt", top + "/b.TaZEN", top + "/c.tazen", top + "/link-to-file"}));
}

TEST_F(FolderAdd, FindingNothingEndsTheProgramWithItsMessage)
{
    const std::string empty = dir / "empty";
    std::filesystem::create_directory(empty);
    AddFolderForDecryption(form, empty, true);
    EXPECT_EQ(form.EndedWith(), 0);
    EXPECT_EQ(user.texts(),
              std::vector<QString>{QStringLiteral("No TaZEN encrypted files found in ") +
                                   QString::fromStdString(empty) + QStringLiteral(" or its sub directories.")});

    AddFolderForEncryption(form, empty, false);
    EXPECT_EQ(user.texts().back(),
              QStringLiteral("No files found for encryption in ") + QString::fromStdString(empty) + '/');
    AddFolderForDecryption(form, top + "/sub", false);
    EXPECT_EQ(user.texts().back(),
              QStringLiteral("No TaZEN encrypted files found in ") + QString::fromStdString(top) + "/sub/");
    AddFolderForEncryption(form, empty, true);
    EXPECT_EQ(user.texts().back(), QStringLiteral("No files found for encryption in ") + QString::fromStdString(empty));
    EXPECT_EQ(form.Files().Count(), 0);
}

TEST_F(FolderAdd, CancelInTheScanDialogEndsTheProgram)
{
    // Pressed as soon as the walk lets messages through, in its first entry.
    QTimer::singleShot(0, &form, [this] {
        ASSERT_TRUE(form.ScanDialog());
        EXPECT_EQ(form.ScanDialog()->windowTitle(), QStringLiteral("TaZEN - Adding files for encryption."));
        form.ScanDialog()->BitBtn1().click();
    });
    AddFolderForEncryption(form, top, true);
    EXPECT_EQ(form.EndedWith(), 0);
    EXPECT_EQ(form.Files().Count(), 0);
    EXPECT_FALSE(form.ScanDialog());
    EXPECT_TRUE(user.boxes.empty());
}

TEST_F(FolderAdd, TheRootOfAFileSystemAsksFirst)
{
    user.answers.push_back(BoxAnswer::Cancel);
    AddFolderForEncryption(form, "/", true);
    EXPECT_EQ(form.EndedWith(), 0);
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Confirm);
    EXPECT_EQ(user.boxes[0].buttons, BoxButtons::OkCancel);
    EXPECT_EQ(user.boxes[0].text, QStringLiteral("You have choosen to add all files on / for encryption.\n\r"
                                                 "This might take a while, do you wish to continue?"));
    EXPECT_FALSE(form.ScanDialog());
}

TEST_F(FolderAdd, EntriesPastTheSystemsPathLimitAreNamedInOneBoxAndTheWalkGoesOn)
{
    // Folders nested relative to each other until one more could not be reached by its full name.
    const std::string level(200, 'n');
    std::string deepest = top;
    int folder = ::open(top.c_str(), O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    while (deepest.size() + 1 + level.size() + 1 < PATH_MAX) {
        ASSERT_EQ(::mkdirat(folder, level.c_str(), 0755), 0);
        const int next = ::openat(folder, level.c_str(), O_DIRECTORY | O_CLOEXEC);
        ::close(folder);
        ASSERT_GE(folder = next, 0);
        deepest += "/" + level;
    }
    // Five entries past the limit: one box when the walk is over, naming the first three in name order.
    for (char letter : std::string("edcba"))
        ASSERT_EQ(::mkdirat(folder, std::string(255, letter).c_str(), 0755), 0);
    AddFolderForEncryption(form, top, true);
    const auto named = [&](char letter) {
        return QString::fromStdString(deepest + "/" + std::string(255, letter)) + " 16";
    };
    ASSERT_EQ(user.boxes.size(), 1u);
    EXPECT_EQ(user.boxes[0].kind, BoxKind::Plain);
    EXPECT_EQ(user.boxes[0].text,
              "5 entries were not added: their paths are longer than the system allows. The first 3 of them:\n\r" +
                  named('a') + "\n\r" + named('b') + "\n\r" + named('c'));
    EXPECT_EQ(form.Files().Count(), 6) << "the rest of the tree is still listed";
    for (char letter : std::string("edcba"))
        ::unlinkat(folder, std::string(255, letter).c_str(), AT_REMOVEDIR);
    ::close(folder);
}

TEST(FileSystems, TheKernelsOwnAreKnownByTheirMountedType)
{
    platform::FolderIdentity proc;
    if (platform::IdentifyFolder("/proc/self", proc) != 0 || platform::FileSystemType(proc.device).empty())
        GTEST_SKIP() << "no proc mounted here";
    EXPECT_EQ(platform::FileSystemType(proc.device), "proc");
    EXPECT_TRUE(platform::IsPseudoFileSystemType("proc"));
    EXPECT_FALSE(platform::IsPseudoFileSystemType("ext4"));
    EXPECT_TRUE(platform::IsFileSystemRoot("/"));
    EXPECT_TRUE(platform::IsFileSystemRoot("/proc/"));
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    EXPECT_FALSE(platform::IsFileSystemRoot(dir / "sub"));
}

} // namespace
} // namespace tazen::test
