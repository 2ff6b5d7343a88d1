// EncryptFiles and DecryptFiles over a page-cached 256 MiB file, flushes included, beside the bare CBC loop
// over as many bytes in memory; prints both rates and how much of the cipher's speed the runs keep.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "comparing_reporter.h"
#include "null_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/fileformat.h"
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
constexpr std::int64_t kIoBuffer = std::int64_t{1} << 20;
constexpr const char* kPassword = "benchmark password";

std::string workFolder;

[[noreturn]] void fail(const std::string& what)
{
    std::fprintf(stderr, "tazen_engine_bench: %s: %s\n", what.c_str(), std::strerror(errno));
    std::exit(1);
}

// Bytes that no file system or disk can compress away.
void fillPseudoRandom(std::uint8_t* bytes, std::int64_t size, std::uint64_t& state)
{
    for (std::int64_t i = 0; i + 8 <= size; i += 8) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        std::memcpy(bytes + i, &state, 8);
    }
}

std::int64_t sizeOf(const std::string& name)
{
    struct stat info;
    return ::stat(name.c_str(), &info) == 0 ? info.st_size : -1;
}

void removeFile(const std::string& name)
{
    if (::unlink(name.c_str()) != 0 && errno != ENOENT)
        fail("cannot remove " + name);
}

// Makes the folder's entries durable, so a deletion's journal work does not land in the next timed run.
void syncFolder()
{
    const int descriptor = ::open(workFolder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0 || ::fsync(descriptor) != 0)
        fail("cannot flush " + workFolder);
    ::close(descriptor);
}

// Written and flushed, so no writeback of it overlaps the timed runs; it stays in the page cache.
void writeData(const std::string& name, std::int64_t size)
{
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (descriptor < 0)
        fail("cannot create " + name);
    std::vector<std::uint8_t> buffer(kIoBuffer);
    std::uint64_t state = 0x9E3779B97F4A7C15ULL;
    for (std::int64_t done = 0; done < size; done += kIoBuffer) {
        fillPseudoRandom(buffer.data(), kIoBuffer, state);
        const auto piece = static_cast<std::size_t>(std::min(kIoBuffer, size - done));
        if (::write(descriptor, buffer.data(), piece) != static_cast<ssize_t>(piece))
            fail("cannot write " + name);
    }
    if (::fsync(descriptor) != 0 || ::close(descriptor) != 0)
        fail("cannot flush " + name);
}

// Reading a file once brings it into the page cache: the runs then measure the engine, not the disk.
void readThrough(const std::string& name)
{
    const int descriptor = ::open(name.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0)
        fail("cannot open " + name);
    std::vector<std::uint8_t> buffer(kIoBuffer);
    while (::read(descriptor, buffer.data(), buffer.size()) > 0) {
    }
    ::close(descriptor);
}

std::string plainName()
{
    return workFolder + "/payload.bin";
}

std::string encryptedName()
{
    return tazen::EncryptedName(plainName());
}

bool encrypt(tazen::TBlowfish& cipher, tazen::bench::NullFrontend& frontend, benchmark::State& state)
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
    tazen::bench::NullFrontend frontend;
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
    tazen::bench::NullFrontend frontend;
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
void cbcAlone(benchmark::State& state, tazen::PayloadDirection direction)
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

void removeWorkFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(workFolder, ignored);
}

// A fresh folder under TAZEN_BENCH_DIR, else under TMPDIR, else under /tmp; it goes at exit, failures included.
std::string makeWorkFolder()
{
    const char* base = std::getenv("TAZEN_BENCH_DIR");
    if (!base || !*base)
        base = std::getenv("TMPDIR");
    if (!base || !*base)
        base = "/tmp";
    std::string pattern = std::string(base) + "/tazen-engine-bench-XXXXXX";
    if (!::mkdtemp(pattern.data()))
        fail("cannot make a folder in " + std::string(base));
    std::atexit(removeWorkFolder);
    return pattern;
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    workFolder = makeWorkFolder();
    // No settings file there: the frontend's controls apply, which keep the sources and make no executable.
    tazen::platform::SetExecutableFolderForTesting(workFolder);
    benchmark::AddCustomContext("work folder", workFolder);

    const auto timed = [](benchmark::internal::Benchmark* benchmark) {
        // Waiting for the device counts toward a run's cost, so wall-clock time is what is measured.
        benchmark->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
    };
    timed(benchmark::RegisterBenchmark("Encrypt/EncryptFiles", encryptFiles));
    timed(benchmark::RegisterBenchmark("Encrypt/CbcEncrypt", cbcAlone, tazen::PayloadDirection::Encrypt));
    timed(benchmark::RegisterBenchmark("Decrypt/DecryptFiles", decryptFiles));
    timed(benchmark::RegisterBenchmark("Decrypt/CbcDecrypt", cbcAlone, tazen::PayloadDirection::Decrypt));

    tazen::bench::ComparingReporter reporter([](const tazen::bench::ComparingReporter& results) {
        std::printf("\n%-12s %16s %16s %8s %8s\n", "operation", "file run", "CBC in memory", "ratio", "target");
        results.PrintRateRow("Encrypt", "Encrypt/EncryptFiles", "Encrypt/CbcEncrypt", 0.85);
        results.PrintRateRow("Decrypt", "Decrypt/DecryptFiles", "Decrypt/CbcDecrypt", 0.6);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
