// The engine's frontend for a terminal: messages on standard error, a progress line in place of the
// progress and shred dialogs, Ctrl+C as their Cancel button, and the command line's choice of settings.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tazen::cli {

// A gauge or a label that tells its owner when it changes.
class WatchedGauge : public GaugePort
{
public:
    explicit WatchedGauge(std::function<void()> changed) : changed_(std::move(changed)) {}
    int Progress() const override { return value_; }
    void SetProgress(int value) override;
    void Advance(int amount) override { SetProgress(value_ + amount); }

private:
    std::function<void()> changed_;
    int value_ = 0;
};

class WatchedLabel : public LabelPort
{
public:
    explicit WatchedLabel(std::function<void()> changed) : changed_(std::move(changed)) {}
    void SetCaption(const std::string& text) override;
    const std::string& Caption() const { return caption_; }

private:
    std::function<void()> changed_;
    std::string caption_;
};

// Options win; without them the engine reads the settings file, and without that the source is kept and
// no executable is made.
class CommandLineSettings : public SettingsControlsPort
{
public:
    bool SelfExtractChecked() const override { return false; }
    int SourceFilesIndex() const override { return 0; }
    std::optional<bool> SelfExtractOverride() const override { return selfExtract; }
    std::optional<int> SourceFilesOverride() const override { return sourceFiles; }
    bool VerifyBeforeDisposal() const override { return verify; }

    std::optional<bool> selfExtract;
    std::optional<int> sourceFiles;
    bool verify = true;
};

struct DisplayOptions
{
    // A redrawn progress line on standard error (a terminal) while work goes on.
    bool progressLine = false;
    // Lines for a program to read, or -1: see ProgressLines.
    int progressDescriptor = -1;
};

// --progress-fd's lines, the form zenity --progress reads: "# text" when a file begins, and the overall
// percentage on a line of its own whenever it changes. Without a descriptor (-1) nothing is written.
class ProgressLines
{
public:
    explicit ProgressLines(int descriptor) : descriptor_(descriptor) {}
    void Percent(int percent);
    void Text(const std::string& text);

private:
    int descriptor_;
    int lastPercent_ = -1;
};

class TerminalFrontend : public Frontend
{
public:
    // fileNames: what the command works on, so that speed and time left can be worked out in bytes.
    TerminalFrontend(const std::vector<std::string>& fileNames, DisplayOptions display);
    ~TerminalFrontend() override;
    TerminalFrontend(const TerminalFrontend&) = delete;
    TerminalFrontend& operator=(const TerminalFrontend&) = delete;

    ProgressDialogPort& ProgressDialog() override { return progress_; }
    ShredDialogPort& shredDialog() override { return shred_; }
    const SettingsControlsPort& SettingsControls() const override { return settings; }
    void ShowMessage(MessageKind kind, const std::string& text) override;
    void ProcessMessages() override {}
    // With force, yes. Otherwise asks "Replace NAME? [y/N]" on the terminal; without one, says that the file
    // was not replaced. A refused name is kept in NotReplaced.
    bool MayReplace(const std::string& name) override;
    void RunStoppedAt(std::size_t index) override { stoppedAt_ = index; }
    int DecryptionThreads() const override { return decryptionThreads; }

    // "tazen-cli: " before every line; the engine's "\n\r" separators become line ends.
    void Say(const std::string& text);
    // For the shred command, which goes through its files one by one.
    void BeginFile(std::size_t index);
    // For a run over several files at a time: a file of the list is begun, and how many bytes and whole
    // files of it are done.
    void AnnounceFile(const std::string& name);
    void ShowOverallProgress(std::uint64_t bytesDone, std::uint64_t totalBytes, std::size_t filesDone);

    // Whether the run got past its pre-check, and how many files it had begun.
    bool RunStarted() const { return runStarted_; }
    std::size_t FilesBegun() const { return filesBegun_; }
    int MessagesShown() const { return messagesShown_; }
    // The position in the list, as given, of the file at which a run stopped.
    std::optional<std::size_t> StoppedAt() const { return stoppedAt_; }
    const std::vector<std::string>& NotReplaced() const { return notReplaced_; }

    CommandLineSettings settings;
    // Existing files are replaced without a question.
    bool force = false;
    // -j's number, which also caps the threads of a single file's decryption; 0: every processor.
    int decryptionThreads = 0;

private:
    class Progress : public ProgressDialogPort
    {
    public:
        explicit Progress(TerminalFrontend& owner);
        void StartProgress(const std::string& title, const std::string& countText) override;
        void HideProgress() override { owner_.clearLine(); }
        void FinishProgress() override;
        LabelPort& lblFilename() override { return fileName_; }
        GaugePort& gaugeFile() override { return file_; }
        GaugePort& gaugeTotal() override { return total_; }
        int ModalResult() const override;

        TerminalFrontend& owner_;
        std::string title_;
        WatchedLabel fileName_;
        WatchedGauge file_;
        WatchedGauge total_;
    };

    class Shred : public ShredDialogPort
    {
    public:
        explicit Shred(TerminalFrontend& owner);
        void SetCaption(const std::string&) override {}
        LabelPort& lblHead() override { return head_; }
        LabelPort& lblFileName() override { return fileName_; }
        LabelPort& lblpass() override { return pass_; }
        GaugePort& gaugePass() override { return gauge_; }
        void Show() override;
        void Hide() override;
        int ModalResult() const override;
        void SetModalResult(int value) override { modalResult_ = value; }

        TerminalFrontend& owner_;
        bool visible_ = false;
        int modalResult_ = kModalResultNone;
        WatchedLabel head_;
        WatchedLabel fileName_;
        WatchedLabel pass_;
        WatchedGauge gauge_;
    };

    using Clock = std::chrono::steady_clock;

    void fileBegun(const std::string& name);
    void runProgressed(bool force);
    void shredProgressed();
    std::string shredHead() const;
    void draw(const std::string& line, bool force);
    void clearLine();
    std::uint64_t bytesDone() const;

    std::vector<std::uint64_t> sizes_;
    std::uint64_t totalBytes_ = 0;
    DisplayOptions display_;
    ProgressLines lines_;
    Progress progress_;
    Shred shred_;
    bool runStarted_ = false;
    std::size_t filesBegun_ = 0;
    std::uint64_t bytesBefore_ = 0;
    int messagesShown_ = 0;
    std::optional<std::size_t> stoppedAt_;
    std::vector<std::string> notReplaced_;
    Clock::time_point started_;
    Clock::time_point lastDrawn_;
    bool lineShown_ = false;
    bool shredCommand_ = false;
    std::size_t shredIndex_ = 0;
};

} // namespace tazen::cli
