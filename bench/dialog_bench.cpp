// What the real progress dialog costs a run: EncryptFiles over a 100 MB file with the dialogs shown against
// the same run with a frontend that shows nothing, the gaugeFile repaints of such a run, and the longest
// time the window goes without handling its events while a 256 MiB file is encrypted.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "comparing_reporter.h"
#include "null_frontend.h"
#include "window_bench_setup.h"

#include "cipher/blowfish.h"
#include "engine/crypto.h"
#include "engine/fileformat.h"
#include "platform/folders.h"
#include "ui/dialogs/dialogfrontend.h"

#include "common/paint_counter.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>

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

    ComparingReporter reporter([](const ComparingReporter& results) {
        std::printf("\n%-12s %16s %16s %8s %8s\n", "100 MB run", "with dialogs", "showing nothing", "ratio", "target");
        // At most 5% more time is at least 1/1.05 of the rate.
        results.PrintRateRow("Encrypt", "Run100MB/Dialogs", "Run100MB/NullFrontend", 1 / 1.05);
        std::printf("Targets: gaugeFile_paints <= 101 per 100 MB run; longest_gap_ms < 50 for the 256 MiB run.\n");
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
