// Byte-file access: the read-only rule, what counts as a file, deletion, and files that appear whole.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include "common/tempdir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cerrno>
#include <climits>
#include <filesystem>
#include <random>

namespace tazen::platform {
namespace {

using test::Bytes;
using test::exists;
using test::listFolder;
using test::readText;
using test::TempDir;
using test::writeFile;

mode_t modeOf(const std::string& name)
{
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST(OpenFile, AppliesTheReadOnlyRuleAndOpensRegularFilesOnly)
{
    TempDir dir;
    writeFile(dir / "plain", std::string("abc"));
    writeFile(dir / "locked", std::string("abc"));
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0444), 0);
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir / "plain", dir / "link");

    File file;
    EXPECT_EQ(OpenForReadWrite(dir / "plain", file), 0);
    EXPECT_TRUE(file.IsOpen());
    // The owner-write bit stands for the read-only attribute, for root as for anyone.
    EXPECT_EQ(OpenForReadWrite(dir / "locked", file), EACCES);
    EXPECT_EQ(OpenForReading(dir / "locked", file), 0);
    EXPECT_EQ(OpenForReadWrite(dir / "folder", file), EISDIR);
    // A FIFO is never opened for data, and opening it does not wait for a writer.
    EXPECT_EQ(OpenForReading(dir / "fifo", file), EINVAL);
    EXPECT_EQ(OpenForReadWrite(dir / "missing", file), ENOENT);
    EXPECT_EQ(OpenForReadWrite(dir / "link", file), 0);
    // Overwriting never follows a link.
    EXPECT_EQ(OpenForOverwrite(dir / "link", file), ELOOP);
    EXPECT_EQ(OpenForOverwrite(dir / "locked", file), EACCES);
    EXPECT_EQ(OpenForOverwrite(dir / "plain", file), 0);

    // Measuring follows the read-and-write rules without keeping anything open.
    std::int64_t size = -1;
    EXPECT_EQ(SizeForReadWrite(dir / "link", size), 0);
    EXPECT_EQ(size, 3);
    for (const char* refused : {"locked", "folder", "fifo", "missing"})
        EXPECT_NE(SizeForReadWrite(dir / refused, size), 0) << refused;
    EXPECT_EQ(size, 3) << "a refusal leaves the size alone";

    EXPECT_TRUE(IsWriteProtected(dir / "locked"));
    EXPECT_FALSE(IsWriteProtected(dir / "plain"));
    EXPECT_TRUE(IsSymbolicLink(dir / "link"));
    EXPECT_FALSE(IsSymbolicLink(dir / "plain"));
    mode_t bits = 0;
    EXPECT_EQ(PermissionBits(dir / "locked", bits), 0);
    EXPECT_EQ(bits, 0444u);
    EXPECT_EQ(PermissionBits(dir / "missing", bits), ENOENT);
}

TEST(OpenFile, ReadsToTheEndWritesAllAndSizesIn64Bits)
{
    TempDir dir;
    writeFile(dir / "data", std::string("0123456789"));
    File file;
    ASSERT_EQ(OpenForReadWrite(dir / "data", file), 0);
    char buffer[32];
    std::int64_t got = -1;
    EXPECT_EQ(file.Read(buffer, 4, got), 0);
    EXPECT_EQ(got, 4);
    EXPECT_EQ(file.Read(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got, 6);
    EXPECT_EQ(std::string(buffer, 6), "456789");
    EXPECT_EQ(file.Read(buffer, sizeof buffer, got), 0);
    EXPECT_EQ(got, 0);

    EXPECT_EQ(file.WriteAt("AB", 2, 1), 0);
    EXPECT_EQ(file.Write("xyz", 3), 0);
    EXPECT_EQ(file.Truncate(6LL << 30), 0);
    std::int64_t size = 0;
    EXPECT_EQ(file.Size(size), 0);
    EXPECT_EQ(size, 6LL << 30);
    EXPECT_EQ(file.Truncate(13), 0);
    EXPECT_EQ(file.Close(), 0);
    EXPECT_EQ(readText(dir / "data"), "0AB3456789xyz");
}

TEST(DeleteFile, RefusesFoldersAndReadOnlyFilesAndRemovesLinksNotTargets)
{
    TempDir dir;
    writeFile(dir / "plain", std::string("x"));
    writeFile(dir / "locked", std::string("x"));
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0444), 0);
    std::filesystem::create_directory(dir / "folder");
    std::filesystem::create_symlink(dir / "locked", dir / "link");

    EXPECT_EQ(DeleteFile(dir / "folder"), EISDIR);
    EXPECT_EQ(DeleteFile(dir / "locked"), EACCES);
    EXPECT_EQ(DeleteFile(dir / "missing"), ENOENT);
    EXPECT_EQ(DeleteFile(dir / "link"), 0);
    EXPECT_EQ(DeleteFile(dir / "plain"), 0);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"folder", "locked"}));
}

TEST(PendingFile, AppearsUnderItsNameOnlyWhenCommitted)
{
    TempDir dir;
    // Owner-only while pending whatever the creation mask would let through.
    const mode_t mask = ::umask(0);
    const std::string final = dir / "result";
    writeFile(final, std::string("previous"));
    {
        PendingFile pending;
        ASSERT_EQ(PendingFile::Create(final, pending), 0);
        const std::string temporary = pending.TemporaryName();
        EXPECT_EQ(temporary.rfind(final + ".tmp-", 0), 0u);
        EXPECT_EQ(temporary.size(), final.size() + 11);
        EXPECT_EQ(modeOf(temporary), 0600u);
        ASSERT_EQ(pending.Output().Write("new", 3), 0);
        EXPECT_EQ(readText(final), "previous");
    }
    ::umask(mask);
    // Dropped without a commit: gone, and the old file stays.
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"result"});
    EXPECT_EQ(readText(final), "previous");

    PendingFile pending;
    ASSERT_EQ(PendingFile::Create(final, pending), 0);
    ASSERT_EQ(pending.Output().Write("new", 3), 0);
    EXPECT_EQ(pending.Commit(0640), 0);
    EXPECT_EQ(readText(final), "new");
    EXPECT_EQ(modeOf(final), 0640u);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"result"});
}

TEST(PendingFile, WorksForANameAndAPathAtTheSystemsLimits)
{
    TempDir dir;
    // A folder so deep that a final name of 250 bytes makes a path of 4095 bytes, the longest there is;
    // the temporary name then passes both limits and must still work.
    const std::size_t finalLength = PATH_MAX - 1;
    const std::size_t baseLength = 250;
    std::string folder = dir.path();
    while (folder.size() + 1 < finalLength - baseLength - 1) {
        const std::size_t part = std::min<std::size_t>(200, finalLength - baseLength - 1 - folder.size() - 1);
        folder += "/" + std::string(part, 'd');
        ASSERT_EQ(mkdir(folder.c_str(), 0700), 0) << folder.size();
    }
    const std::string final = folder + "/" + std::string(baseLength, 'n');
    ASSERT_EQ(final.size(), finalLength);

    PendingFile pending;
    ASSERT_EQ(PendingFile::Create(final, pending), 0);
    EXPECT_LE(pending.TemporaryName().size() - folder.size() - 1, static_cast<std::size_t>(NAME_MAX));
    ASSERT_EQ(pending.Output().Write("long", 4), 0);
    ASSERT_EQ(pending.Commit(0600), 0);
    EXPECT_EQ(readText(final), "long");
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{std::string(baseLength, 'n')});

    // A byte more and no path could name the file: refused, although its folder could make it.
    const std::string beyond = final + "x";
    PendingFile refused;
    EXPECT_EQ(PendingFile::Create(beyond, refused), ENAMETOOLONG);
    EXPECT_EQ(listFolder(folder), std::vector<std::string>{std::string(baseLength, 'n')});
}

TEST(PendingFile, FlushedBehindInTheBackgroundArrivesWholeAndCanBeDroppedMidWay)
{
    TempDir dir;
    std::mt19937 rng(5);
    const Bytes chunk = test::randomBytes(rng, 1 << 20);
    const int chunks = 40; // enough for the background flushes to start more than once
    {
        PendingFile pending;
        ASSERT_EQ(PendingFile::Create(dir / "big", pending), 0);
        for (int i = 0; i < chunks; ++i) {
            ASSERT_EQ(pending.Output().Write(chunk.data(), static_cast<std::int64_t>(chunk.size())), 0);
            pending.Output().StartWriteback();
        }
        ASSERT_EQ(pending.Commit(0600), 0);
    }
    const Bytes written = test::readFile(dir / "big");
    ASSERT_EQ(written.size(), chunks * chunk.size());
    for (int i = 0; i < chunks; ++i)
        ASSERT_TRUE(std::equal(chunk.begin(), chunk.end(), written.begin() + i * chunk.size())) << i;

    // Abandoned while flushes may still run: the thread is joined before the descriptor goes.
    {
        PendingFile pending;
        ASSERT_EQ(PendingFile::Create(dir / "dropped", pending), 0);
        for (int i = 0; i < chunks; ++i) {
            ASSERT_EQ(pending.Output().Write(chunk.data(), static_cast<std::int64_t>(chunk.size())), 0);
            pending.Output().StartWriteback();
        }
    }
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"big"});
}

TEST(PendingFile, GivesBackRoomReservedBeyondWhatWasWritten)
{
    TempDir dir;
    PendingFile pending;
    ASSERT_EQ(PendingFile::Create(dir / "short", pending), 0);
    // Room for a file that then turned out shorter, as when a source shrinks during its run.
    pending.Output().Preallocate(8 << 20);
    ASSERT_EQ(pending.Output().Write("ten bytes!", 10), 0);
    ASSERT_EQ(pending.Commit(0600), 0);
    struct stat info;
    ASSERT_EQ(stat((dir / "short").c_str(), &info), 0);
    EXPECT_EQ(info.st_size, 10);
    EXPECT_LT(info.st_blocks * 512, 1 << 20);
}

TEST(PendingFile, RefusesAReadOnlyFileOrAFolderOfTheFinalName)
{
    TempDir dir;
    writeFile(dir / "locked", std::string("kept"));
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0444), 0);
    std::filesystem::create_directory(dir / "folder");
    PendingFile pending;
    EXPECT_EQ(PendingFile::Create(dir / "locked", pending), EACCES);
    EXPECT_EQ(PendingFile::Create(dir / "folder", pending), EISDIR);
    EXPECT_EQ(PendingFile::Create(dir / "missing/name", pending), ENOENT);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"folder", "locked"}));
    EXPECT_EQ(readText(dir / "locked"), "kept");
}

TEST(FaultHook, FailsTheChosenOperationWithTheGivenReasonWithoutTouchingTheFile)
{
    TempDir dir;
    const std::string final = dir / "result";
    writeFile(final, std::string("previous"));
    SetFaultHook(
        [](FileOperation operation, const std::string&) { return operation == FileOperation::Rename ? EXDEV : 0; });
    PendingFile pending;
    ASSERT_EQ(PendingFile::Create(final, pending), 0);
    ASSERT_EQ(pending.Output().Write("new", 3), 0);
    EXPECT_EQ(pending.Commit(0644), EXDEV);
    SetFaultHook(nullptr);
    EXPECT_EQ(readText(final), "previous");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"result"});
    EXPECT_EQ(ErrorText(ENOSPC), "No space left on device");
}

TEST(FolderOf, TakesThePathUpToItsLastSeparator)
{
    EXPECT_EQ(FolderOf("/home/u/report.doc"), "/home/u");
    EXPECT_EQ(FolderOf("/report.doc"), "/");
    EXPECT_EQ(FolderOf("report.doc"), ".");
}

} // namespace
} // namespace tazen::platform
