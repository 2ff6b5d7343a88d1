// Opening a 100 MiB .TaZEN file in place (decrypted into the private folder, its digest taken) and saving it
// back after a change (digest, encryption, proof from the device, rename).
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "null_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/opened.h"
#include "format/fileformat.h"
#include "platform/folders.h"
#include "platform/opencopies.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

constexpr std::int64_t kFileSize = std::int64_t{100} << 20;
constexpr const char* kPassword = "benchmark password";

using namespace tazen::bench;

std::string workFolder;
// Where the copies go: /dev/shm when it is in memory (as $XDG_RUNTIME_DIR is on a desktop), else the work folder.
std::string runtimeFolder;

std::string plainName()
{
    return workFolder + "/payload.bin";
}

std::string encryptedName()
{
    return tazen::EncryptedName(plainName());
}

void prepare()
{
    if (sizeOf(encryptedName()) == kFileSize + tazen::kCheckBlockSize)
        return;
    writeData(plainName(), kFileSize);
    tazen::TBlowfish cipher;
    NullFrontend frontend;
    std::string message;
    if (tazen::EncryptFiles(cipher, {plainName()}, kPassword, message, frontend) != tazen::kAllFilesDone)
        fail("EncryptFiles: " + message);
    removeFile(plainName());
    syncFolder(workFolder);
    readThrough(encryptedName());
}

bool open(tazen::OpenedFile& file, NullFrontend& frontend, benchmark::State& state)
{
    tazen::Secret password;
    password.value = kPassword;
    const tazen::OpenOutcome outcome = file.Open(password, frontend, true, runtimeFolder);
    if (outcome.Opened())
        return true;
    state.SkipWithError(tazen::OpenFailureText(file.EncryptedFile(), outcome).c_str());
    return false;
}

void openInPlace(benchmark::State& state)
{
    prepare();
    NullFrontend frontend;
    for (auto _ : state) {
        tazen::OpenedFile file(encryptedName());
        if (!open(file, frontend, state))
            break;
        state.PauseTiming();
        static_cast<void>(file.Close(frontend)); // unchanged: only removed
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFileSize);
}

void saveBack(benchmark::State& state)
{
    prepare();
    NullFrontend frontend;
    tazen::OpenedFile file(encryptedName());
    if (!open(file, frontend, state))
        return;
    char changed = 0;
    for (auto _ : state) {
        // One byte in the middle, as an application's save writes the whole file anew.
        state.PauseTiming();
        const int descriptor = ::open(file.CopyPath().c_str(), O_WRONLY | O_CLOEXEC);
        ++changed;
        if (descriptor < 0 || ::pwrite(descriptor, &changed, 1, kFileSize / 2) != 1 || ::close(descriptor) != 0)
            fail("cannot change " + file.CopyPath());
        syncFolder(workFolder);
        state.ResumeTiming();
        if (file.SaveIfChanged(frontend) != tazen::SaveResult::Saved) {
            state.SkipWithError(("save back: " + file.Status().reason).c_str());
            break;
        }
    }
    static_cast<void>(file.Close(frontend)); // saved already: only removed
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFileSize);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    programName() = "tazen_open_bench";
    workFolder = makeWorkFolder();
    tazen::platform::SetExecutableFolderForTesting(workFolder);
    bool inMemory = false;
    std::string type;
    if (tazen::platform::IsInMemory("/dev/shm", inMemory, type) == 0 && inMemory) {
        runtimeFolder = "/dev/shm/tazen_open_bench-" + std::to_string(::getpid());
        ::mkdir(runtimeFolder.c_str(), 0700);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(runtimeFolder, ignored);
        });
    } else {
        runtimeFolder = workFolder;
    }
    if (tazen::platform::IsInMemory(runtimeFolder, inMemory, type) != 0)
        fail("cannot look at " + runtimeFolder);
    benchmark::AddCustomContext("work folder", workFolder);
    benchmark::AddCustomContext("copies in", runtimeFolder + " (" + type + ")");

    const auto timed = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
    };
    timed(benchmark::RegisterBenchmark("Open/Decrypt100MiB", openInPlace));
    timed(benchmark::RegisterBenchmark("Open/SaveBack100MiB", saveBack));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
