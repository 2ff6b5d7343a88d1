// The encryption run: results, texts, gauges, cancellation, and what every way of ending leaves on disk.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/fileformat.h"

#include "common/bounded_wait.h"
#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

namespace tazen::test {
namespace {

using platform::FileOperation;

class EncryptRun : public EngineTest
{
protected:
    EncryptRun() { frontend.settings.sourceFiles = 0; }
};

TEST_F(EncryptRun, EncryptsEveryFileStepsByPiecesAndFinishes)
{
    const std::string empty = makeFile("empty", 0);
    const std::string exact = makeFile("exact", 8192);
    const std::string longer = makeFile("longer", 20000);
    const Bytes plain = readFile(longer);

    EXPECT_EQ(encrypt({empty, exact, longer}), kAllFilesDone);
    EXPECT_EQ(message, "untouched");
    EXPECT_EQ(frontend.progress.events, (std::vector<std::string>{"StartProgress Encrypting 3", "FinishProgress"}));
    EXPECT_EQ(frontend.progress.lblFilename_.history, (std::vector<std::string>{empty, exact, longer}));
    EXPECT_FALSE(cipher.Initialized());

    EXPECT_EQ(readFile(empty + ".TaZEN").size(), 32u);
    EXPECT_EQ(readFile(exact + ".TaZEN").size(), 8224u);
    EXPECT_EQ(readFile(longer + ".TaZEN"), referenceFile("secret", plain));
    EXPECT_EQ(readFile(longer), plain);
    EXPECT_EQ(listFolder(dir.path()),
              (std::vector<std::string>{"empty", "empty.TaZEN", "exact", "exact.TaZEN", "longer", "longer.TaZEN"}));

    // One message round per file, then one per pass: 1 for the empty file, 2 for 8192 bytes (the last
    // read finds nothing), 3 for 20000 bytes.
    EXPECT_EQ(frontend.messageRounds, 3 + 1 + 2 + 3);
    // Per file: the reset to 0, then a value per pass; above 10000 bytes the file gauge divides by size/100.
    EXPECT_EQ(frontend.progress.gaugeFile_.history, (std::vector<int>{0, 0, 100, 0, 100, 100, 0, 40, 81, 100}));
    // The total of 28192 bytes is below the 40000000 threshold: done × 100 / total.
    EXPECT_EQ(frontend.progress.gaugeTotal_.history, (std::vector<int>{0, 0, 29, 29, 58, 87, 100, 100}));
}

TEST_F(EncryptRun, PreCheckStopsOnAFileItCannotOpenBeforeAnythingIsWritten)
{
    const std::string first = makeFile("first", 100);
    const std::string locked = makeFile("locked", 100);
    const std::string last = makeFile("last", 100);
    ASSERT_EQ(chmod(locked.c_str(), 0444), 0);

    EXPECT_EQ(encrypt({first, locked, last}), 1);
    EXPECT_EQ(message, openFailureText(locked));
    EXPECT_EQ(frontend.progress.events, std::vector<std::string>{"HideProgress"});
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "last", "locked"}));

    // A missing file, a folder and a FIFO fail the same way.
    std::filesystem::create_directory(dir / "folder");
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    for (const std::string& bad : {dir / "missing", dir / "folder", dir / "fifo"}) {
        EXPECT_EQ(encrypt({first, bad}), 1);
        EXPECT_EQ(message, openFailureText(bad));
    }
    EXPECT_FALSE(exists(first + ".TaZEN"));
}

TEST_F(EncryptRun, NamesTheStoppingFileByItsFirstEntryEqualWithoutRegardToCase)
{
    const std::string upper = makeFile("Report.TXT", 10);
    const std::string other = makeFile("other", 10);
    const std::string lower = dir / "report.txt"; // missing
    EXPECT_EQ(encrypt({upper, other, lower}), 0);
    EXPECT_EQ(message, openFailureText(lower));
}

TEST_F(EncryptRun, AFileGoneByItsTurnStopsTheRunAfterTheFilesBeforeIt)
{
    const std::string first = makeFile("first", 10);
    const std::string second = makeFile("second", 10);
    frontend.settings.sourceFiles = 1;
    frontend.onMessages = [&](int) {
        if (frontend.progress.lblFilename_.caption == second)
            std::filesystem::remove(second);
    };
    EXPECT_EQ(encrypt({first, second}), 1);
    EXPECT_EQ(message, openFailureText(second));
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"first.TaZEN"});
}

TEST_F(EncryptRun, ReplacesAnExistingDestinationButNotAReadOnlyOne)
{
    const std::string source = makeFile("a", 10);
    writeFile(source + ".TaZEN", std::string("old"));
    EXPECT_EQ(encrypt({source}), kAllFilesDone);
    EXPECT_EQ(readFile(source + ".TaZEN").size(), 42u);

    writeFile(source + ".TaZEN", std::string("old"));
    ASSERT_EQ(chmod((source + ".TaZEN").c_str(), 0444), 0);
    EXPECT_EQ(encrypt({source}), 0);
    EXPECT_EQ(message, "Could not create destination file: " + source + ".TaZEN");
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(readText(source + ".TaZEN"), "old");

    const std::string blocked = makeFile("b", 10);
    std::filesystem::create_directory(blocked + ".TaZEN");
    EXPECT_EQ(encrypt({blocked}), 0);
    EXPECT_EQ(message, "Could not create destination file: " + blocked + ".TaZEN");
    EXPECT_EQ(withTemporaryNames(listFolder(dir.path())), std::vector<std::string>{});
}

TEST_F(EncryptRun, EncryptsAnEncryptedFileAgainUnderADoubleExtension)
{
    const std::string twice = makeFile("x.TaZEN", 40);
    EXPECT_EQ(encrypt({twice}), kAllFilesDone);
    EXPECT_TRUE(exists(dir / "x.TaZEN.TaZEN"));
}

TEST_F(EncryptRun, WritesUnderAPrivateTemporaryNameAndGivesTheResultTheSourcesPermissions)
{
    const std::string source = makeFile("shared", 3 * 8192);
    ASSERT_EQ(chmod(source.c_str(), 0640), 0);
    std::vector<std::string> seen;
    frontend.onMessages = [&](int) {
        for (const std::string& name : withTemporaryNames(listFolder(dir.path()))) {
            seen.push_back(name);
            EXPECT_EQ(modeOf(dir / name), 0600u) << name;
        }
    };
    EXPECT_EQ(encrypt({source}), kAllFilesDone);
    ASSERT_FALSE(seen.empty());
    EXPECT_EQ(seen.front().rfind("shared.TaZEN.tmp-", 0), 0u) << seen.front();
    EXPECT_EQ(seen.front().size(), std::string("shared.TaZEN.tmp-").size() + 6);
    EXPECT_EQ(modeOf(source + ".TaZEN"), 0640u);
}

// Whoever may read a new file is whoever could read the file it was made from: the same owner (for root),
// the same group even in a set-group-ID folder, the same bits; an executable no one else may change.
TEST_F(EncryptRun, NewFilesTakeTheSourcesOwnerGroupAndBitsAndExecutablesNoWriteBitsForOthers)
{
    struct Case
    {
        mode_t source;
        mode_t encrypted;
        mode_t executable;
    };
    const Case cases[] = {{0640, 0640, 0750}, {0666, 0666, 0755}, {0600, 0600, 0700}, {0604, 0604, 0705}};
    writeFile(program / "extractor-windows.exe", std::string("#!extractor"));
    const bool root = ::geteuid() == 0;
    // A team folder whose group new files take; as root the source belongs to a user and group of its own.
    const uid_t user = root ? 4242 : ::geteuid();
    const gid_t group = root ? 4343 : ::getegid();
    if (root) {
        ASSERT_EQ(::chown(dir.path().c_str(), 0, 4444), 0);
        ASSERT_EQ(::chmod(dir.path().c_str(), 02775), 0);
    }
    frontend.settings.sourceFiles = 1;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        for (const bool executable : {false, true}) {
            frontend.settings.selfExtract = executable;
            const std::string source = makeFile("team", 100);
            ASSERT_EQ(::chown(source.c_str(), user, group), 0);
            ASSERT_EQ(::chmod(source.c_str(), c.source), 0);
            ASSERT_EQ(encrypt({source}), kAllFilesDone) << message;
            const std::string made = source + (executable ? ".TaZEN.exe" : ".TaZEN");
            struct stat info;
            ASSERT_EQ(::stat(made.c_str(), &info), 0);
            EXPECT_EQ(info.st_mode & 07777, executable ? c.executable : c.encrypted);
            EXPECT_EQ(info.st_uid, user);
            EXPECT_EQ(info.st_gid, group);
            if (!executable) {
                ASSERT_EQ(decrypt({made}), kAllFilesDone) << message;
                ASSERT_EQ(::stat(source.c_str(), &info), 0);
                EXPECT_EQ(info.st_mode & 07777, c.source);
                EXPECT_EQ(info.st_uid, user);
                EXPECT_EQ(info.st_gid, group);
            }
            std::filesystem::remove(source);
            std::filesystem::remove(made);
        }
    }
}

TEST_F(EncryptRun, CancelSeenInTheLastPassOfAFileStillCancelsIt)
{
    const std::string source = makeFile("a", 10000); // passes of 8192 and 1808 bytes
    writeFile(source + ".TaZEN", std::string("existing"));
    const Bytes plain = readFile(source);
    // Round 1 names the file, rounds 2 and 3 begin the passes.
    frontend.onMessages = [&](int round) {
        if (round == 3)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(encrypt({source}), 0);
    EXPECT_EQ(message, "Encryption canceled");
    EXPECT_EQ(frontend.progress.events, std::vector<std::string>{"StartProgress Encrypting 1"});
    EXPECT_EQ(frontend.messageRounds, 3);
    EXPECT_EQ(readFile(source), plain);
    EXPECT_EQ(readText(source + ".TaZEN"), "existing");
    EXPECT_EQ(listFolder(dir.path()).size(), 2u);
    EXPECT_FALSE(cipher.Initialized());
}

TEST_F(EncryptRun, CancelAfterAFilesLastPassIsSeenInTheFirstPassOfTheNext)
{
    const std::string first = makeFile("first", 100);
    const std::string second = makeFile("second", 3 * 8192);
    // Round 1 names the first file, round 2 is its only pass, round 3 names the second file.
    frontend.onMessages = [&](int round) {
        if (round == 3)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(encrypt({first, second}), 1);
    EXPECT_EQ(message, "Encryption canceled");
    EXPECT_EQ(frontend.messageRounds, 4);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "first.TaZEN", "second"}));
}

TEST_F(EncryptRun, CancelAfterTheLastFileCancelsNothing)
{
    writeSettings("[Files]\nSourceFiles=2\n");
    const std::string source = makeFile("only", 100);
    // The shredding of the source handles messages after the file's last pass.
    frontend.onMessages = [&](int) {
        if (frontend.shred.visible)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(encrypt({source}), kAllFilesDone);
    EXPECT_EQ(message, "untouched");
    EXPECT_EQ(frontend.progress.events.back(), "FinishProgress");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"only.TaZEN"});
}

TEST_F(EncryptRun, CancelInTheThirdOfFiveLeavesTheFirstTwoDoneAndTheRestUntouched)
{
    writeSettings("[Files]\nSourceFiles=1\n");
    std::vector<std::string> names;
    for (const char* name : {"1", "2", "3", "4", "5"})
        names.push_back(makeFile(name, 20000));
    frontend.onMessages = [&](int) {
        if (frontend.progress.lblFilename_.caption == names[2] && frontend.progress.gaugeFile_.Progress() > 0)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(encrypt(names), 2);
    EXPECT_EQ(message, "Encryption canceled");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"1.TaZEN", "2.TaZEN", "3", "4", "5"}));
}

TEST_F(EncryptRun, AFailedWriteEndsTheRunNamingTheFileAndTheReasonAndLosesNothing)
{
    writeSettings("[Files]\nSourceFiles=1\n");
    const std::string first = makeFile("first", 100);
    const std::string second = makeFile("second", 300000);
    const Bytes plain = readFile(second);
    writeFile(second + ".TaZEN", std::string("previous"));
    const std::string destination = second + ".TaZEN";
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        const bool ours = name.rfind(destination + ".tmp-", 0) == 0;
        return operation == FileOperation::Write && ours ? ENOSPC : 0;
    });
    EXPECT_EQ(encrypt({first, second}), 1);
    EXPECT_EQ(message, "Could not write the file: " + destination + "\n\rNo space left on device");
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_FALSE(cipher.Initialized());
    EXPECT_EQ(readFile(second), plain);
    EXPECT_EQ(readText(destination), "previous");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first.TaZEN", "second", "second.TaZEN"}));
}

// A real limit on file size, so the failure comes from the system's own write path.
TEST_F(EncryptRun, AFileSizeLimitHitMidFileEndsTheRunWithTheSystemsReason)
{
    const std::string source = makeFile("large", 300000);
    const Bytes plain = readFile(source);
    int channel[2];
    ASSERT_EQ(pipe(channel), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{100000, 100000};
        setrlimit(RLIMIT_FSIZE, &limit);
        const int result = encrypt({source});
        const std::string report = std::to_string(result) + "|" + message;
        const ssize_t written = write(channel[1], report.data(), report.size());
        _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
    }
    close(channel[1]);
    const std::string report = test::ReadToEnd(channel[0], "the limited run's report");
    close(channel[0]);
    const int status = test::ReapChild(child, "the limited run to end");
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(report, "0|Could not write the file: " + source + ".TaZEN\n\rFile too large");
    EXPECT_EQ(readFile(source), plain);
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"large"});
}

TEST_F(EncryptRun, AFailedReadEndsTheRunNamingTheSource)
{
    const std::string source = makeFile("source", 100);
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Read && name == source ? EIO : 0;
    });
    EXPECT_EQ(encrypt({source}), 0);
    EXPECT_EQ(message, "Could not read the file: " + source + "\n\rInput/output error");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"source"});
}

TEST_F(EncryptRun, TheSourceIsDisposedOfOnlyOnceItsEncryptedFileIsOnTheDevice)
{
    writeSettings("[Files]\nSourceFiles=1\n");
    const std::string source = makeFile("source", 100);
    const std::string destination = source + ".TaZEN";
    // The flush of the new file fails: nothing may be deleted on the strength of it.
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Sync && name.rfind(destination, 0) == 0 ? EIO : 0;
    });
    EXPECT_EQ(encrypt({source}), 0);
    EXPECT_EQ(message, "Could not write the file: " + destination + "\n\rInput/output error");
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"source"});

    // And the folder flush after the rename.
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Sync && name == dir.path() ? EIO : 0;
    });
    EXPECT_EQ(encrypt({source}), 0);
    EXPECT_TRUE(exists(source));
}

TEST_F(EncryptRun, SizesBeyondFourGibibytesGoThroughThePreCheckAndTheGauges)
{
    // Sparse: 5 GiB to the pre-check and the gauges, next to nothing on the disk.
    const std::string sparse = dir / "sparse";
    const int descriptor = ::open(sparse.c_str(), O_WRONLY | O_CREAT, 0600);
    ASSERT_GE(descriptor, 0);
    ASSERT_EQ(ftruncate(descriptor, 5LL << 30), 0);
    ::close(descriptor);
    struct stat before;
    ASSERT_EQ(::stat(sparse.c_str(), &before), 0);
    const std::string small = makeFile("small", 100);

    // Cancel in the first pass of the big file: one piece is through.
    std::vector<std::string> pending;
    frontend.onMessages = [&](int round) {
        if (round != 4)
            return;
        frontend.progress.PressCancel();
        pending = withTemporaryNames(listFolder(dir.path()));
    };
    EXPECT_EQ(encrypt({small, sparse}), 1);
    EXPECT_EQ(message, "Encryption canceled");
    EXPECT_EQ(frontend.progress.events.front(), "StartProgress Encrypting 2");
    // The total is 5 GiB + 100 bytes: above the threshold, done / (total / 100).
    const std::uint64_t total = (5ULL << 30) + 100;
    EXPECT_EQ(frontend.progress.gaugeTotal_.history.back(), static_cast<int>((100 + 8192) / (total / 100)));
    ASSERT_EQ(pending.size(), 1u);
    EXPECT_EQ(pending.front().rfind("sparse.TaZEN.tmp-", 0), 0u);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"small", "small.TaZEN", "sparse"}));
    struct stat after;
    ASSERT_EQ(::stat(sparse.c_str(), &after), 0);
    EXPECT_EQ(after.st_size, 5LL << 30);
    EXPECT_EQ(after.st_blocks, before.st_blocks);
    EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
}

TEST(GaugePercent, FollowsBothFormulasWithoutOverflowForAnySize)
{
    EXPECT_EQ(GaugePercent(0, 10000, kFileGaugeThreshold), 0);
    EXPECT_EQ(GaugePercent(9999, 10000, kFileGaugeThreshold), 99);
    EXPECT_EQ(GaugePercent(8192, 10001, kFileGaugeThreshold), 81); // 8192 / 100
    EXPECT_EQ(GaugePercent(1, 3, kFileGaugeThreshold), 33);
    EXPECT_EQ(GaugePercent(39999999, 40000000, kTotalGaugeThreshold), 99);
    // 4.5 GiB of 5 GiB: a 32-bit product or count would wrap.
    EXPECT_EQ(GaugePercent(9ULL << 29, 5ULL << 30, kTotalGaugeThreshold), 90);
    EXPECT_EQ(GaugePercent((1ULL << 32) + 1, 1ULL << 33, kFileGaugeThreshold), 50);
    EXPECT_EQ(GaugePercent(1ULL << 62, ~0ULL, ~0ULL), 25);
    // Empty wholes and counts past the whole show a full gauge.
    EXPECT_EQ(GaugePercent(0, 0, kFileGaugeThreshold), 100);
    EXPECT_EQ(GaugePercent(12, 10, kFileGaugeThreshold), 100);
}

} // namespace
} // namespace tazen::test
