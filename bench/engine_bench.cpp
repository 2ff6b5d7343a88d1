// EncryptFiles and DecryptFiles over a page-cached 256 MiB file, flushes included, beside the bare CBC loop
// over as many bytes in memory; prints both rates and how much of the cipher's speed the runs keep.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "comparing_reporter.h"
#include "null_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "format/fileformat.h"
#include "platform/folders.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr std::int64_t kFileSize = std::int64_t{256} << 20;
constexpr const char* kPassword = "benchmark password";

using namespace tazen::bench;

std::string workFolder;

void syncFolder()
{
    tazen::bench::syncFolder(workFolder);
}

std::string plainName()
{
    return workFolder + "/payload.bin";
}

std::string encryptedName()
{
    return tazen::EncryptedName(plainName());
}

bool encrypt(tazen::TBlowfish& cipher, NullFrontend& frontend, benchmark::State& state)
{
    std::string message;
    if (tazen::EncryptFiles(cipher, {plainName()}, kPassword, message, frontend) == tazen::kAllFilesDone)
        return true;
    state.SkipWithError(("EncryptFiles: " + message).c_str());
    return false;
}

void encryptFiles(benchmark::State& state)
{
    if (sizeOf(plainName()) != kFileSize)
        writeData(plainName(), kFileSize);
    removeFile(encryptedName());
    syncFolder();
    readThrough(plainName());

    tazen::TBlowfish cipher;
    NullFrontend frontend;
    for (auto _ : state) {
        if (!encrypt(cipher, frontend, state))
            break;
        state.PauseTiming();
        removeFile(encryptedName());
        syncFolder();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFileSize);
}

void decryptFiles(benchmark::State& state)
{
    tazen::TBlowfish cipher;
    NullFrontend frontend;
    if (sizeOf(encryptedName()) != kFileSize + tazen::kCheckBlockSize) {
        if (sizeOf(plainName()) != kFileSize)
            writeData(plainName(), kFileSize);
        if (!encrypt(cipher, frontend, state))
            return;
    }
    removeFile(plainName());
    syncFolder();
    readThrough(encryptedName());

    const std::vector<std::string> names = {encryptedName()};
    for (auto _ : state) {
        std::string message;
        if (tazen::DecryptFiles(cipher, names, kPassword, message, frontend) != tazen::kAllFilesDone) {
            state.SkipWithError(("DecryptFiles: " + message).c_str());
            break;
        }
        // The next run needs the encrypted file back; a file just written is still in the page cache.
        state.PauseTiming();
        const bool restored = encrypt(cipher, frontend, state);
        removeFile(plainName());
        syncFolder();
        state.ResumeTiming();
        if (!restored)
            break;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFileSize);
}

// What the cipher alone does with the same number of bytes, keyed the way the runs key it.
void cbcAlone(benchmark::State& state, tazen::Direction direction)
{
    tazen::TBlowfish cipher;
    tazen::KeyCipher(cipher, kPassword);
    std::vector<std::uint8_t> buffer(kIoBuffer);
    std::uint64_t seed = 0x2545F4914F6CDD1DULL;
    fillPseudoRandom(buffer.data(), kIoBuffer, seed);
    for (auto _ : state) {
        // Through the buffer a run reads into, in the pieces a run transforms.
        for (std::int64_t done = 0; done < kFileSize; done += kIoBuffer) {
            tazen::TransformPayload(cipher, direction, buffer.data(), kIoBuffer);
            benchmark::DoNotOptimize(buffer.data());
            benchmark::ClobberMemory();
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kFileSize);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    programName() = "tazen_engine_bench";
    workFolder = makeWorkFolder();
    // No settings file there: the frontend's controls apply, which keep the sources and make no executable.
    tazen::platform::SetExecutableFolderForTesting(workFolder);
    benchmark::AddCustomContext("work folder", workFolder);

    const auto timed = [](benchmark::internal::Benchmark* benchmark) {
        // Waiting for the device counts toward a run's cost, so wall-clock time is what is measured.
        benchmark->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
    };
    timed(benchmark::RegisterBenchmark("Encrypt/EncryptFiles", encryptFiles));
    timed(benchmark::RegisterBenchmark("Encrypt/CbcEncrypt", cbcAlone, tazen::Direction::Encrypt));
    timed(benchmark::RegisterBenchmark("Decrypt/DecryptFiles", decryptFiles));
    timed(benchmark::RegisterBenchmark("Decrypt/CbcDecrypt", cbcAlone, tazen::Direction::Decrypt));

    tazen::bench::ComparingReporter reporter([](const tazen::bench::ComparingReporter& results) {
        std::printf("\n%-12s %16s %16s %8s %8s\n", "operation", "file run", "CBC in memory", "ratio", "target");
        results.PrintRateRow("Encrypt", "Encrypt/EncryptFiles", "Encrypt/CbcEncrypt", 0.85);
        results.PrintRateRow("Decrypt", "Decrypt/DecryptFiles", "Decrypt/CbcDecrypt", 0.6);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
