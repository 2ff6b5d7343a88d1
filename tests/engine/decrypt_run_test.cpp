// The decryption run: the password check before anything is written, texts, gauges, cancellation, and
// what every way of ending leaves on disk; and files exchanged with an independent implementation.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "format/fileformat.h"

#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <sys/stat.h>

#include <cerrno>

namespace tazen::test {
namespace {

using platform::FileOperation;

class DecryptRun : public EngineTest
{
protected:
    // An encrypted file made without the engine.
    std::string makeEncrypted(const std::string& name, const Bytes& plain, const std::string& password = "secret")
    {
        const std::string full = dir / (name + ".TaZEN");
        writeFile(full, referenceFile(password, plain));
        return full;
    }
};

TEST_F(DecryptRun, RestoresEveryFileAndAdvancesTheTotalGaugeAfterEach)
{
    const Bytes a = randomBytes(rng, 5000), b = randomBytes(rng, 16384), c = randomBytes(rng, 0);
    const std::vector<std::string> names = {makeEncrypted("a", a), makeEncrypted("b", b), makeEncrypted("c", c)};
    EXPECT_EQ(decrypt(names), kAllFilesDone);
    EXPECT_EQ(message, "untouched");
    EXPECT_EQ(frontend.progress.events, (std::vector<std::string>{"StartProgress Decrypting 3", "FinishProgress"}));
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(readFile(dir / "a"), a);
    EXPECT_EQ(readFile(dir / "b"), b);
    EXPECT_TRUE(readFile(dir / "c").empty());
    EXPECT_FALSE(cipher.Initialized());
    // 100 div 3 after each file, and the rest when the run finishes.
    EXPECT_EQ(frontend.progress.gaugeTotal_.advances, (std::vector<int>{33, 33, 33, 0}));
    // The file's size includes the check block while only payload is counted: 5000 of 5032 bytes.
    EXPECT_EQ(frontend.progress.gaugeFile_.history[2], 5000 * 100 / 5032);
}

TEST_F(DecryptRun, ExchangesFilesWithAnIndependentImplementation)
{
    frontend.settings.sourceFiles = 0;
    for (const std::size_t size : {0u, 7u, 8u, 8191u, 8192u, 8193u, (1u << 20) + 3}) {
        SCOPED_TRACE(size);
        const Bytes plain = randomBytes(rng, size);
        const std::string name = dir / "file";
        writeFile(name, plain);
        ASSERT_EQ(encrypt({name}, "h\xC3\xB6gre"), kAllFilesDone);
        // The password is hashed in the Windows code page, as on Windows.
        EXPECT_EQ(referenceDecrypt("h\xF6gre", readFile(name + ".TaZEN")).value_or(Bytes{9}), plain);
        std::filesystem::remove(name);
        std::filesystem::remove(name + ".TaZEN");

        const std::string encrypted = makeEncrypted("other", plain, "h\xF6gre");
        ASSERT_EQ(decrypt({encrypted}, "h\xC3\xB6gre"), kAllFilesDone) << message;
        EXPECT_EQ(readFile(dir / "other"), plain);
        std::filesystem::remove(dir / "other");
    }
}

TEST_F(DecryptRun, AWrongPasswordStopsTheRunBeforeTheFileIsTouched)
{
    const std::string first = makeEncrypted("first", randomBytes(rng, 10));
    const std::string wrong = makeEncrypted("wrong", randomBytes(rng, 10), "other");
    const std::string last = makeEncrypted("last", randomBytes(rng, 10));
    const Bytes before = readFile(wrong);
    writeFile(dir / "wrong", std::string("an older plain file"));
    std::vector<std::string> created;
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        if (operation == FileOperation::Create)
            created.push_back(name);
        return 0;
    });

    EXPECT_EQ(decrypt({first, wrong, last}), 1);
    // Nothing was even begun for the file with the wrong password.
    EXPECT_EQ(created, std::vector<std::string>{dir / "first"});
    EXPECT_EQ(message, "Wrong password for the file: " + wrong);
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_FALSE(cipher.Initialized());
    EXPECT_EQ(readFile(wrong), before);
    EXPECT_EQ(readText(dir / "wrong"), "an older plain file");
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "last.TaZEN", "wrong", "wrong.TaZEN"}));
}

TEST_F(DecryptRun, AnExecutableIsSearchedForItsCheckBlockWhateverTheCaseOfItsEnding)
{
    const Bytes plain = randomBytes(rng, 20000);
    const auto makeExecutable = [&](const std::string& name, std::size_t program, const std::string& password) {
        writeFile(dir / name, referenceExecutable(randomBytes(rng, program), password, plain));
        return dir / name;
    };
    const std::string small = makeExecutable("small.TaZEN.exe", 1000, "secret");
    // Behind more than two of a search's reads.
    const std::string large = makeExecutable("large.TaZEN.EXE", (9 << 20) + 5, "secret");
    EXPECT_EQ(decrypt({small, large}), kAllFilesDone) << message;
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"large", "small"}));
    EXPECT_EQ(readFile(dir / "small"), plain);
    EXPECT_EQ(readFile(dir / "large"), plain);
    // The program's bytes count as passed: the gauge ends near its end, not at the payload's small share.
    EXPECT_GE(frontend.progress.gaugeFile_.history.back(), 99);

    const std::string wrong = makeExecutable("wrong.TaZEN.exe", (5 << 20) + 3, "other");
    const Bytes before = readFile(wrong);
    const std::string cut = dir / "short.TaZEN.exe";
    writeFile(cut, Bytes(31, 1));
    EXPECT_EQ(decrypt({wrong}), 0);
    EXPECT_EQ(message, "Wrong password for the file: " + wrong);
    EXPECT_EQ(decrypt({cut}), 0);
    EXPECT_EQ(message, "The file is too short to be a TaZEN encrypted file: " + cut);
    EXPECT_EQ(readFile(wrong), before);
    EXPECT_EQ(listFolder(dir.path()),
              (std::vector<std::string>{"large", "short.TaZEN.exe", "small", "wrong.TaZEN.exe"}));

    // Cancel is heard between the search's reads, before the search could end in a wrong password.
    frontend.onMessages = [&, rounds = 0](int) mutable {
        if (++rounds == 3)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(decrypt({wrong}), 0);
    EXPECT_EQ(message, "Decryption canceled");
    EXPECT_EQ(readFile(wrong), before);
}

TEST_F(DecryptRun, AFileTooShortForACheckBlockIsFoundInThePreCheck)
{
    const std::string good = makeEncrypted("good", {});
    const std::string shorter = dir / "short.TaZEN";
    writeFile(shorter, Bytes(31, 1));
    EXPECT_EQ(decrypt({good, shorter}), 1);
    EXPECT_EQ(message, "The file is too short to be a TaZEN encrypted file: " + shorter);
    EXPECT_EQ(frontend.progress.events, std::vector<std::string>{"HideProgress"});
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"good.TaZEN", "short.TaZEN"}));

    // A file cut short after the pre-check is caught when its turn comes, still before anything is made.
    frontend.onMessages = [&](int) {
        if (frontend.progress.lblFilename_.caption == good)
            writeFile(good, Bytes(20, 2));
    };
    EXPECT_EQ(decrypt({good}), 0);
    EXPECT_EQ(message, "The file is too short to be a TaZEN encrypted file: " + good);
    EXPECT_FALSE(exists(dir / "good"));
}

TEST_F(DecryptRun, OpenFailuresUseTheLongTextInThePreCheckAndTheShortOneLater)
{
    const std::string first = makeEncrypted("first", randomBytes(rng, 10));
    const std::string second = makeEncrypted("second", randomBytes(rng, 10));
    ASSERT_EQ(chmod(second.c_str(), 0444), 0);
    EXPECT_EQ(decrypt({first, second}), 1);
    EXPECT_EQ(message, openFailureText(second));

    ASSERT_EQ(chmod(second.c_str(), 0644), 0);
    frontend.onMessages = [&](int) {
        if (frontend.progress.lblFilename_.caption == second)
            chmod(second.c_str(), 0444);
    };
    EXPECT_EQ(decrypt({first, second}), 1);
    EXPECT_EQ(message, "Could not open source file: " + second);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"first", "second.TaZEN"}));
}

TEST_F(DecryptRun, AReadOnlyPlainFileIsNotReplaced)
{
    const std::string encrypted = makeEncrypted("kept", randomBytes(rng, 10));
    writeFile(dir / "kept", std::string("read-only"));
    ASSERT_EQ(chmod((dir / "kept").c_str(), 0444), 0);
    EXPECT_EQ(decrypt({encrypted}), 0);
    EXPECT_EQ(message, "Could not create destination file: " + dir / "kept");
    EXPECT_EQ(readText(dir / "kept"), "read-only");
    EXPECT_TRUE(exists(encrypted));
}

TEST_F(DecryptRun, CancelRemovesThePartialPlainFileAndKeepsTheEncryptedOne)
{
    const std::string encrypted = makeEncrypted("big", randomBytes(rng, 100000));
    const Bytes before = readFile(encrypted);
    writeFile(dir / "big", std::string("previous"));
    frontend.onMessages = [&](int round) {
        if (round == 4)
            frontend.progress.PressCancel();
    };
    EXPECT_EQ(decrypt({encrypted}), 0);
    EXPECT_EQ(message, "Decryption canceled");
    EXPECT_EQ(frontend.progress.events, std::vector<std::string>{"StartProgress Decrypting 1"});
    EXPECT_EQ(readFile(encrypted), before);
    EXPECT_EQ(readText(dir / "big"), "previous");
    EXPECT_EQ(listFolder(dir.path()).size(), 2u);
}

TEST_F(DecryptRun, AnEncryptedFileThatCannotBeDeletedStopsTheRunWithThePlainFileComplete)
{
    const Bytes plain = randomBytes(rng, 100);
    const std::string encrypted = makeEncrypted("stays", plain);
    const std::string after = makeEncrypted("after", plain);
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Delete && name == encrypted ? EACCES : 0;
    });
    EXPECT_EQ(decrypt({encrypted, after}), 0);
    EXPECT_EQ(message, "Could not delete the file: " + encrypted);
    EXPECT_EQ(frontend.progress.events.back(), "HideProgress");
    EXPECT_EQ(readFile(dir / "stays"), plain);
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"after.TaZEN", "stays", "stays.TaZEN"}));
}

TEST_F(DecryptRun, AFailedWriteKeepsTheEncryptedFileAndLeavesNoPlainOne)
{
    const std::string encrypted = makeEncrypted("data", randomBytes(rng, 50000));
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
        return operation == FileOperation::Write && name.rfind(dir / "data.tmp-", 0) == 0 ? ENOSPC : 0;
    });
    EXPECT_EQ(decrypt({encrypted}), 0);
    EXPECT_EQ(message, "Could not write the file: " + dir / "data" + "\n\rNo space left on device");
    EXPECT_FALSE(cipher.Initialized());
    EXPECT_EQ(listFolder(dir.path()), std::vector<std::string>{"data.TaZEN"});
}

// With helpers the file is read ahead and written behind; how a failure or a Cancel ends the run, after how
// many steps and with what on disk, is still what one thread does.
TEST_F(DecryptRun, HelperThreadsEndEveryWayAsOneThreadDoes)
{
    const Bytes plain = randomBytes(rng, (std::size_t{5} << 19) + 11); // two and a half chunks
    struct Ending
    {
        FileOperation failing; // the nth of these fails on the file read or written; Delete: none does
        int nth;
        int cancelAt; // message round of a Cancel, or 0
    };
    const Ending endings[] = {{FileOperation::Read, 3, 0},  {FileOperation::Read, 4, 0},
                              {FileOperation::Write, 1, 0}, {FileOperation::Write, 2, 0},
                              {FileOperation::Write, 3, 0}, {FileOperation::Delete, 0, 300},
                              {FileOperation::Delete, 0, 0}};
    struct Outcome
    {
        int result = 0;
        std::string message;
        int rounds = 0;
        std::vector<std::string> files;
        Bytes restored;
    };
    for (const Ending& ending : endings) {
        SCOPED_TRACE("operation " + std::to_string(static_cast<int>(ending.failing)) + " number " +
                     std::to_string(ending.nth) + ", Cancel at " + std::to_string(ending.cancelAt));
        Outcome outcomes[2];
        for (const int threads : {1, 2}) {
            const std::string encrypted = makeEncrypted("data", plain);
            int seen = 0;
            // The reads of the encrypted file and the writes of the plain one; the plain one's read-back is
            // another thread's.
            platform::SetFaultHook([&](FileOperation operation, const std::string& name) {
                const bool ours =
                    operation == FileOperation::Read ? name == encrypted : name.rfind(dir / "data.tmp-", 0) == 0;
                return ours && operation == ending.failing && ++seen == ending.nth ? EIO : 0;
            });
            ScriptedFrontend run;
            run.decryptionThreads = threads;
            run.onMessages = [&](int round) {
                if (round == ending.cancelAt)
                    run.progress.PressCancel();
            };
            Outcome& outcome = outcomes[threads - 1];
            outcome.result = DecryptFiles(cipher, {encrypted}, "secret", message, run);
            platform::SetFaultHook(nullptr);
            outcome.message = message;
            outcome.rounds = run.messageRounds;
            outcome.files = listFolder(dir.path());
            if (std::filesystem::exists(dir / "data")) {
                outcome.restored = readFile(dir / "data");
                std::filesystem::remove(dir / "data");
            }
        }
        EXPECT_EQ(outcomes[1].result, outcomes[0].result);
        EXPECT_EQ(outcomes[1].message, outcomes[0].message);
        EXPECT_EQ(outcomes[1].rounds, outcomes[0].rounds);
        EXPECT_EQ(outcomes[1].files, outcomes[0].files);
        const bool completes = ending.failing == FileOperation::Delete && ending.cancelAt == 0;
        EXPECT_EQ(outcomes[1].restored, completes ? plain : Bytes{});
    }
}

} // namespace
} // namespace tazen::test
