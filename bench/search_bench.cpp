// The search of a self-extracting executable for a password's check block, where it is not there (a wrong
// password: the whole file is searched), against a plain read loop over the same file: both with the file in
// the page cache, and both with its pages dropped before each pass, so that they read from the device.
// tazen_search_bench [--size-mib=N] (1024 by default) [benchmark options]
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "comparing_reporter.h"
#include "null_frontend.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "format/checksearch.h"
#include "platform/files.h"
#include "platform/folders.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace {

using namespace tazen::bench;

std::int64_t fileSize = std::int64_t{1024} << 20;
std::string executable;

// state.range(0): 1 to read from the device. The file was flushed when written, so its pages are clean and go.
void beforePass(benchmark::State& state)
{
    if (state.range(0) == 0)
        return;
    state.PauseTiming();
    const int descriptor = ::open(executable.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0 || ::posix_fadvise(descriptor, 0, 0, POSIX_FADV_DONTNEED) != 0)
        fail("cannot drop the cached pages of " + executable);
    ::close(descriptor);
    state.ResumeTiming();
}

// What the search reads with, so the comparison differs in the scan alone.
void readLoop(benchmark::State& state)
{
    auto buffer = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(tazen::PayloadSource::kSearchReadSize));
    for (auto _ : state) {
        beforePass(state);
        const int descriptor = ::open(executable.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor < 0)
            fail("cannot open " + executable);
        std::int64_t total = 0;
        for (ssize_t got; (got = ::read(descriptor, buffer.get(), tazen::PayloadSource::kSearchReadSize)) > 0;)
            total += got;
        ::close(descriptor);
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * fileSize);
}

void searchAlone(benchmark::State& state)
{
    tazen::TBlowfish cipher;
    const tazen::RunKey key(cipher, "not the password");
    for (auto _ : state) {
        beforePass(state);
        tazen::platform::File file;
        if (tazen::platform::OpenForReading(executable, file) != 0)
            fail("cannot open " + executable);
        tazen::PayloadSource payload(file, true);
        const tazen::LocateOutcome located = payload.Locate(key.Check());
        if (located.result != tazen::LocateResult::WrongPassword) {
            state.SkipWithError("the search did not end as a wrong password");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * fileSize);
}

// The whole run as the window and tazen-cli make it: the pre-check, the search, the wrong-password stop.
void decryptFilesWrongPassword(benchmark::State& state)
{
    tazen::TBlowfish cipher;
    NullFrontend frontend;
    for (auto _ : state) {
        beforePass(state);
        std::string message;
        if (tazen::DecryptFiles(cipher, {executable}, "not the password", message, frontend) != 0 ||
            message != "Wrong password for the file: " + executable) {
            state.SkipWithError(("DecryptFiles: " + message).c_str());
            break;
        }
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * fileSize);
}

} // namespace

int main(int argc, char** argv)
{
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        constexpr std::string_view kSize = "--size-mib=";
        if (std::string_view(argv[i]).starts_with(kSize))
            fileSize = std::atoll(argv[i] + kSize.size()) << 20;
        else
            argv[kept++] = argv[i];
    }
    argc = kept;
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv) || fileSize <= 0)
        return 1;

    programName() = "tazen_search_bench";
    const std::string workFolder = makeWorkFolder();
    tazen::platform::SetExecutableFolderForTesting(workFolder);
    executable = workFolder + "/report.doc.TaZEN.exe";
    writeData(executable, fileSize);
    readThrough(executable);
    benchmark::AddCustomContext("work folder", workFolder);
    benchmark::AddCustomContext("executable MiB", std::to_string(fileSize >> 20));

    const auto timed = [](benchmark::internal::Benchmark* benchmark, int device) {
        benchmark->Arg(device)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
    };
    for (const auto& [place, device] : {std::pair{"cached", 0}, std::pair{"device", 1}}) {
        const std::string in = std::string("/") + place;
        timed(benchmark::RegisterBenchmark(("Search/DecryptFiles" + in).c_str(), decryptFilesWrongPassword), device);
        timed(benchmark::RegisterBenchmark(("Search/PayloadSource" + in).c_str(), searchAlone), device);
        timed(benchmark::RegisterBenchmark(("Search/ReadLoop" + in).c_str(), readLoop), device);
    }

    ComparingReporter reporter([](const ComparingReporter& results) {
        std::printf("\n%-32s %16s %16s %8s %8s\n", "wrong password", "search", "read loop", "ratio", "target");
        for (const char* place : {"cached", "device"}) {
            const std::string in = std::string("/") + place;
            results.PrintRateRow(std::string("DecryptFiles, ") + place, "Search/DecryptFiles" + in,
                                 "Search/ReadLoop" + in, 0.8);
            results.PrintRateRow(std::string("PayloadSource::Locate, ") + place, "Search/PayloadSource" + in,
                                 "Search/ReadLoop" + in, 0.8);
        }
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
