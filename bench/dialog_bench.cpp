// What the real progress dialog costs a run: EncryptFiles over a 100 MB file with the dialogs shown against
// the same run with a frontend that shows nothing, the gaugeFile repaints of such a run, and the longest
// time the window goes without handling its events while a 256 MiB file is encrypted; and what every core
// brings the window: DecryptFiles over a 1 GiB file with the dialogs, on every core against one thread.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "comparing_reporter.h"
#include "null_frontend.h"
#include "window_bench_setup.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "format/fileformat.h"
#include "platform/folders.h"
#include "ui/dialogs/dialogfrontend.h"

#include "common/paint_counter.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace tazen::bench;
using Clock = std::chrono::steady_clock;

constexpr std::int64_t kRunSize = 100'000'000;
constexpr std::int64_t kLargeSize = std::int64_t{256} << 20;
constexpr const char* kPassword = "benchmark password";

std::string workFolder;

std::string plainName(std::int64_t size)
{
    return workFolder + "/payload-" + std::to_string(size) + ".bin";
}

// The real dialogs, timing the stretches between two rounds of event handling.
class TimedDialogFrontend : public tazen::DialogFrontend
{
public:
    TimedDialogFrontend(tazen::TProgressDialog& progress, tazen::TshredDialog& shred)
        : DialogFrontend(progress, shred, controls_, [](tazen::MessageKind, const std::string& text) {
              std::fprintf(stderr, "tazen_dialog_bench: %s\n", text.c_str());
          })
    {
    }

    int DecryptionThreads() const override { return threads; }
    void ProcessMessages() override
    {
        const Clock::time_point now = Clock::now();
        longestGap = std::max(longestGap, now - lastRound);
        DialogFrontend::ProcessMessages();
        lastRound = Clock::now();
    }

    // The run returns to the event loop at its end: that stretch counts too.
    void endRun() { longestGap = std::max(longestGap, Clock::now() - lastRound); }

    Clock::time_point lastRound = Clock::now();
    Clock::duration longestGap{};
    // For a decryption; 0: every processor.
    int threads = 0;

private:
    KeepSourcesControls controls_;
};

void prepare(std::int64_t size)
{
    if (sizeOf(plainName(size)) != size)
        writeData(plainName(size), size);
    removeFile(tazen::EncryptedName(plainName(size)));
    syncFolder(workFolder);
    readThrough(plainName(size));
}

// Removes the run's output untimed, so every run starts from the same state.
void cleanUp(benchmark::State& state, std::int64_t size)
{
    state.PauseTiming();
    removeFile(tazen::EncryptedName(plainName(size)));
    syncFolder(workFolder);
    state.ResumeTiming();
}

bool encrypt(tazen::Frontend& frontend, std::int64_t size, benchmark::State& state)
{
    tazen::TBlowfish cipher;
    std::string message;
    if (tazen::EncryptFiles(cipher, {plainName(size)}, kPassword, message, frontend) == tazen::kAllFilesDone)
        return true;
    state.SkipWithError(("EncryptFiles: " + message).c_str());
    return false;
}

void withoutDialogs(benchmark::State& state)
{
    prepare(kRunSize);
    NullFrontend frontend;
    for (auto _ : state) {
        if (!encrypt(frontend, kRunSize, state))
            break;
        cleanUp(state, kRunSize);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kRunSize);
}

void withDialogs(benchmark::State& state, std::int64_t size)
{
    prepare(size);
    tazen::TProgressDialog progress;
    tazen::TshredDialog shred;
    tazen::test::PaintCounter fileGaugePaints(progress.gaugeFile());
    int mostPaints = 0;
    Clock::duration longestGap{};
    for (auto _ : state) {
        TimedDialogFrontend frontend(progress, shred);
        fileGaugePaints.paints = 0;
        if (!encrypt(frontend, size, state))
            break;
        frontend.endRun();
        mostPaints = std::max(mostPaints, fileGaugePaints.paints);
        longestGap = std::max(longestGap, frontend.longestGap);
        progress.hide();
        cleanUp(state, size);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * size);
    state.counters["gaugeFile_paints"] = mostPaints;
    state.counters["longest_gap_ms"] = std::chrono::duration<double, std::milli>(longestGap).count();
}

constexpr std::int64_t kDecryptSize = std::int64_t{1} << 30;
// The by-turns decryption's medians, in MB/s, for the summary.
double everyCoreRate = 0;
double oneThreadRate = 0;

// The encrypted file each decryption starts from, in a folder of its own, so the decrypted file never meets
// the plain one.
std::string decryptFolder()
{
    return workFolder + "/decrypt";
}

void prepareDecryption()
{
    prepare(kDecryptSize);
    NullFrontend frontend;
    tazen::TBlowfish cipher;
    std::string message;
    if (tazen::EncryptFiles(cipher, {plainName(kDecryptSize)}, kPassword, message, frontend) != tazen::kAllFilesDone) {
        std::fprintf(stderr, "tazen_dialog_bench: EncryptFiles: %s\n", message.c_str());
        std::exit(1);
    }
    removeFile(plainName(kDecryptSize));
    std::filesystem::create_directories(decryptFolder());
    std::filesystem::rename(tazen::EncryptedName(plainName(kDecryptSize)), decryptFolder() + "/reference");
}

// One decryption with the dialogs from a fresh, cached copy of the reference; seconds, or a negative value
// when it failed.
double decryptOnce(int threads, TimedDialogFrontend& frontend, benchmark::State& state)
{
    const std::string encrypted = decryptFolder() + "/payload.TaZEN";
    removeFile(decryptFolder() + "/payload");
    std::filesystem::copy_file(decryptFolder() + "/reference", encrypted,
                               std::filesystem::copy_options::overwrite_existing);
    syncFolder(decryptFolder());
    readThrough(encrypted);
    frontend.threads = threads;
    frontend.lastRound = Clock::now();
    tazen::TBlowfish cipher;
    std::string message;
    const Clock::time_point start = Clock::now();
    if (tazen::DecryptFiles(cipher, {encrypted}, kPassword, message, frontend) != tazen::kAllFilesDone) {
        state.SkipWithError(("DecryptFiles: " + message).c_str());
        return -1;
    }
    return std::chrono::duration<double>(Clock::now() - start).count();
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Every core against one thread by turns, so a machine whose speed drifts weighs on both alike; the
// benchmark's own time is the every-core run's.
void decryptByTurns(benchmark::State& state)
{
    if (sizeOf(decryptFolder() + "/reference") < 0)
        prepareDecryption();
    tazen::TProgressDialog progress;
    tazen::TshredDialog shred;
    TimedDialogFrontend frontend(progress, shred);
    std::vector<double> everyCore;
    std::vector<double> oneThread;
    for (auto _ : state) {
        for (const int threads : everyCore.size() % 2 == 0 ? std::vector{0, 1} : std::vector{1, 0}) {
            const double seconds = decryptOnce(threads, frontend, state);
            if (seconds < 0)
                return;
            (threads == 0 ? everyCore : oneThread).push_back(seconds);
            progress.hide();
        }
        state.SetIterationTime(everyCore.back());
    }
    frontend.endRun();
    everyCoreRate = static_cast<double>(kDecryptSize) / medianOf(everyCore) / 1e6;
    oneThreadRate = static_cast<double>(kDecryptSize) / medianOf(oneThread) / 1e6;
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * kDecryptSize);
    state.counters["one_thread_MBps"] = oneThreadRate;
    state.counters["longest_gap_ms"] = std::chrono::duration<double, std::milli>(frontend.longestGap).count();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    // The dialogs are really shown and painted, on a screen of Qt's own.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    workFolder = startWindowBench("tazen_dialog_bench");

    const auto timed = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);
    };
    timed(benchmark::RegisterBenchmark("Run100MB/NullFrontend", withoutDialogs));
    timed(benchmark::RegisterBenchmark("Run100MB/Dialogs", withDialogs, kRunSize));
    timed(benchmark::RegisterBenchmark("Run256MiB/Dialogs", withDialogs, kLargeSize));
    benchmark::RegisterBenchmark("Decrypt1GiB/ByTurns", decryptByTurns)
        ->Iterations(3)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);

    ComparingReporter reporter([](const ComparingReporter& results) {
        std::printf("\n%-12s %16s %16s %8s %8s\n", "100 MB run", "with dialogs", "showing nothing", "ratio", "target");
        // At most 5% more time is at least 1/1.05 of the rate.
        results.PrintRateRow("Encrypt", "Run100MB/Dialogs", "Run100MB/NullFrontend", 1 / 1.05);
        std::printf("\n%-12s %16s %16s %8s %8s\n", "1 GiB run", "every core", "one thread", "ratio", "target");
        ComparingReporter::PrintRow("Decrypt", everyCoreRate, oneThreadRate, 1.6);
        std::printf("Targets: gaugeFile_paints <= 101 per 100 MB run; longest_gap_ms < 50 for the 256 MiB run.\n");
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
