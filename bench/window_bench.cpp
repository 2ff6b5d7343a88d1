// What the main window's list costs with many files: AddFileList of 100 000 existing files (each opened and
// measured), a repaint of the full list scrolled to its end, and a recursive folder add of a 50 000-file
// tree against `find DIR -type f | wc -l` on the same tree.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_files.h"
#include "comparing_reporter.h"
#include "window_bench_setup.h"

#include "platform/folders.h"
#include "ui/fileops.h"
#include "ui/main.h"

#include <QApplication>
#include <QDialog>
#include <QTreeView>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace {

using namespace tazen::bench;

constexpr int kListedFiles = 100'000;
constexpr int kTreeFolders = 50;
constexpr int kTreeSubFolders = 10;
constexpr int kTreeFilesEach = 100; // 50 × 10 × 100 = 50 000 files

std::string workFolder;
std::vector<std::string> flatNames;

// Nobody answers: the benchmarks show no message, and one would be a fault worth seeing.
class SilentInteraction : public tazen::Interaction
{
public:
    tazen::BoxAnswer MessageBox(QWidget*, tazen::BoxKind, const QString& text, tazen::BoxButtons) override
    {
        std::fprintf(stderr, "tazen_window_bench: unexpected message: %s\n", qPrintable(text));
        return tazen::BoxAnswer::Ok;
    }
    int ShowModal(QDialog&) override { return QDialog::Rejected; }
    std::optional<std::vector<std::string>> OpenFiles(QWidget*, const QString&) override { return std::nullopt; }
    bool ShellOpen(const QString&) override { return false; }
    void OpenForEditing(QWidget*, const QString&, std::function<void(bool)> opened) override { opened(false); }
};

void touch(const std::string& name)
{
    const int descriptor = ::open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (descriptor < 0 || ::write(descriptor, "x", 1) != 1)
        fail("cannot write " + name);
    ::close(descriptor);
}

void makeFiles()
{
    const std::string flat = workFolder + "/flat";
    std::filesystem::create_directory(flat);
    for (int i = 0; i < kListedFiles; ++i) {
        flatNames.push_back(flat + "/file-" + std::to_string(i) + ".txt");
        touch(flatNames.back());
    }
    for (int folder = 0; folder < kTreeFolders; ++folder)
        for (int sub = 0; sub < kTreeSubFolders; ++sub) {
            const std::string path = workFolder + "/tree/d" + std::to_string(folder) + "/e" + std::to_string(sub);
            std::filesystem::create_directories(path);
            for (int file = 0; file < kTreeFilesEach; ++file)
                touch(path + "/f" + std::to_string(file) + ".doc");
        }
}

void AddFileList100k(benchmark::State& state)
{
    SilentInteraction user;
    tazen::TForm1 form(user);
    form.show();
    for (auto _ : state) {
        state.PauseTiming();
        form.SetEncryptMode(true);
        QApplication::processEvents();
        state.ResumeTiming();
        form.AddFileList(flatNames);
        // Until the view has taken the new rows in.
        QApplication::processEvents();
    }
    if (form.Files().Count() != kListedFiles)
        state.SkipWithError("not every file was listed");
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * kListedFiles);
}

// One frame of the full list: scrolled to a new place and painted.
void PaintFullList(benchmark::State& state)
{
    SilentInteraction user;
    tazen::TForm1 form(user);
    form.resize(800, 600);
    form.show();
    form.SetEncryptMode(true);
    form.AddFileList(flatNames);
    QApplication::processEvents();
    QTreeView& view = form.lstVfiles();
    int row = 0;
    for (auto _ : state) {
        row = (row + 37'813) % kListedFiles;
        view.scrollTo(form.Files().index(row, 0));
        view.viewport()->repaint();
    }
}

void FolderAdd50k(benchmark::State& state)
{
    SilentInteraction user;
    const std::string tree = workFolder + "/tree";
    std::size_t listed = 0;
    for (auto _ : state) {
        state.PauseTiming();
        auto form = std::make_unique<tazen::TForm1>(user);
        state.ResumeTiming();
        tazen::AddFolderForEncryption(*form, tree, true);
        listed = static_cast<std::size_t>(form->Files().Count());
        state.PauseTiming();
        form.reset();
        state.ResumeTiming();
    }
    if (listed != std::size_t{kTreeFolders} * kTreeSubFolders * kTreeFilesEach)
        state.SkipWithError("not every file of the tree was listed");
}

void Find50k(benchmark::State& state)
{
    const std::string command = "find '" + workFolder + "/tree' -type f | wc -l > /dev/null";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("find failed");
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    workFolder = startWindowBench("tazen_window_bench");
    makeFiles();

    benchmark::RegisterBenchmark("AddFileList/100000", AddFileList100k)
        ->Iterations(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("PaintFullList/100000", PaintFullList)->UseRealTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("FolderAdd/50000", FolderAdd50k)
        ->Iterations(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Find/50000", Find50k)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

    ComparingReporter reporter([](const ComparingReporter& results) {
        const double add = results.Nanoseconds("AddFileList/100000") / 1e9;
        std::printf("\nAddFileList of 100 000 files: %.2f s (target < 3 s: %s)\n", add, add < 3 ? "met" : "MISSED");
        std::printf("One frame of the full list: %.1f ms\n", results.Nanoseconds("PaintFullList/100000") / 1e6);
        const double scan = results.Nanoseconds("FolderAdd/50000");
        const double find = results.Nanoseconds("Find/50000");
        if (scan > 0 && find > 0)
            std::printf("Recursive folder add of 50 000 files: %.0f ms, find | wc -l: %.0f ms, ratio %.1fx\n",
                        scan / 1e6, find / 1e6, scan / find);
    });
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
