// A run over several files at a time leaves the files of one run over the list: a later file that is done
// waits for the ones before it, and goes unused when one of them fails.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/parallelrun.h"

#include "format/checksearch.h"

#include "common/reference_format.h"
#include "engine/engine_fixture.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

namespace tazen::test {
namespace {

using platform::FileOperation;

class ParallelRun : public EngineTest
{
};

TEST_F(ParallelRun, FilesAfterOneThatFailsLateAreLeftAsTheyWere)
{
    const std::vector<std::string> files = {makeFile("a", 5000), makeFile("b", 3 << 20 | 1), makeFile("c", 5000),
                                            makeFile("d", 5000)};
    const Bytes b = readFile(files[1]), c = readFile(files[2]), d = readFile(files[3]);
    // b's third read fails once c and d are complete under their temporary names, so they have had every
    // chance to be put in place.
    std::mutex mutex;
    std::condition_variable flushed;
    int flushes = 0;
    int readsOfB = 0;
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) -> platform::ErrorCode {
        std::unique_lock lock(mutex);
        if (operation == FileOperation::Sync &&
            (name.starts_with(files[2] + ".TaZEN.tmp-") || name.starts_with(files[3] + ".TaZEN.tmp-"))) {
            ++flushes;
            flushed.notify_all();
        }
        if (operation == FileOperation::Read && name == files[1] && ++readsOfB == 3) {
            flushed.wait_for(lock, std::chrono::seconds(20), [&] { return flushes >= 2; });
            return EIO;
        }
        return 0;
    });
    Secret password;
    password.value = "secret";
    std::vector<bool> done;

    const RunOutcome outcome = RunInParallel(Direction::Encrypt, cipher, files, password, frontend, 4, done);

    EXPECT_EQ(outcome.failure, Failure::Read);
    EXPECT_EQ(outcome.index, 1u);
    EXPECT_EQ(done, (std::vector<bool>{true, false, false, false}));
    EXPECT_TRUE(password.value.empty());
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a.TaZEN", "b", "c", "d"}));
    EXPECT_EQ(readFile(files[1]), b);
    EXPECT_EQ(readFile(files[2]), c);
    EXPECT_EQ(readFile(files[3]), d);
}

TEST_F(ParallelRun, ExecutablesGoSideBySideAndOneOfAnotherPasswordStopsTheRunAfterOnePass)
{
    const Bytes plain = randomBytes(rng, 30000);
    const std::vector<std::string> files = {dir / "a.TaZEN.exe", dir / "b.TaZEN.EXE", dir / "c.TaZEN.exe",
                                            dir / "d.TaZEN.exe"};
    const std::size_t programs[] = {70000, 5000, (9 << 20) + 1, 100};
    for (std::size_t i = 0; i < files.size(); ++i)
        writeFile(files[i], referenceExecutable(randomBytes(rng, programs[i]), i == 2 ? "other" : "secret", plain));
    std::atomic<int> readsOfC = 0;
    platform::SetFaultHook([&](FileOperation operation, const std::string& name) -> platform::ErrorCode {
        if (operation == FileOperation::Read && name == files[2])
            ++readsOfC;
        return 0;
    });
    Secret password;
    password.value = "secret";
    std::vector<bool> done;

    const RunOutcome outcome = RunInParallel(Direction::Decrypt, cipher, files, password, frontend, 2, done);

    EXPECT_EQ(outcome.failure, Failure::WrongPassword);
    EXPECT_EQ(outcome.index, 2u);
    EXPECT_EQ(outcome.file, files[2]);
    EXPECT_EQ(done, (std::vector<bool>{true, true, false, false}));
    EXPECT_EQ(listFolder(dir.path()), (std::vector<std::string>{"a", "b", "c.TaZEN.exe", "d.TaZEN.exe"}));
    EXPECT_EQ(readFile(dir / "a"), plain);
    EXPECT_EQ(readFile(dir / "b"), plain);
    const auto onePass = static_cast<int>(std::filesystem::file_size(files[2]) / PayloadSource::kSearchReadSize) + 1;
    EXPECT_LE(readsOfC.load(), onePass);
}

} // namespace
} // namespace tazen::test
