// The engine's frontend for a terminal: messages on standard error, a progress line in place of the
// progress and shred dialogs, Ctrl+C as their Cancel button, and the command line's choice of settings.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace tazen::cli {

// Options win; without them the engine reads the settings file, and without that the source is kept and
// no executable is made.
class CommandLineSettings : public SettingsControlsPort
{
public:
    bool SelfExtractChecked() const override { return false; }
    int SourceFilesIndex() const override { return 0; }
    std::optional<bool> SelfExtractOverride() const override { return selfExtract; }
    std::optional<SourceFiles> SourceFilesOverride() const override { return sourceFiles; }
    std::optional<RecipientSystem> RecipientSystemOverride() const override { return recipientSystem; }
    bool VerifyBeforeDisposal() const override { return verify; }
    // -o: the folder found for the file among destinations, else outputFolder; empty: beside the source.
    std::string DestinationFolder(const std::string& source) const override;
    bool KeepEncryptedFiles() const override { return keepEncrypted; }

    std::optional<bool> selfExtract;
    std::optional<SourceFiles> sourceFiles;
    std::optional<RecipientSystem> recipientSystem;
    bool verify = true;
    std::string outputFolder;
    std::map<std::string, std::string> destinations;
    bool keepEncrypted = false;
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

    const SettingsControlsPort& SettingsControls() const override { return settings; }
    void RunStarted(Direction direction, std::size_t fileCount) override;
    void FileStarted(std::size_t index, const std::string& name) override;
    void FileProgress(int percent) override;
    void TotalProgress(int percent) override;
    void TotalAdvanced(int points) override { TotalProgress(totalPercent_ + points); }
    void RunFinished() override;
    void RunHidden() override { clearLine(); }
    // Ctrl+C is the Cancel button.
    bool CancelAsked() override;
    void ShredStarted(const std::string& name) override;
    void ShredPass(int pass, int passes) override;
    void ShredProgress(int percent) override;
    bool ShredCancelAsked() override { return CancelAsked(); }
    void ShredEnded(bool) override { hideShred(); }
    void ExecutableStarted(const std::string& name) override;
    void ExecutableProgress(int percent) override { ShredProgress(percent); }
    void ExecutableEnded() override { hideShred(); }
    void ShowMessage(MessageKind kind, const std::string& text) override;
    void ProcessMessages() override {}
    // With force, yes. Otherwise asks "Replace NAME? [y/N]" on the terminal; without one, says that the file
    // was not replaced. A refused name is kept in NotReplaced.
    bool MayReplace(const std::string& name) override;
    int DecryptionThreads() const override { return decryptionThreads; }
    // With keepGoing, "Wrong password: NAME" and the file is left. Otherwise, on a terminal, "Wrong password for
    // NAME. Another password (empty to skip):"; without one the run stops there, as it always has.
    WrongPasswordAnswer WrongPassword(const std::string& name, Secret& password) override;
    // A run over several files at a time: a file of the list is begun, and how many bytes and whole files of
    // it are done.
    void JobStarted(std::size_t index, const std::string& name) override;
    void JobsProgress(std::uint64_t bytesDone, std::uint64_t totalBytes, std::size_t filesDone) override;

    // "tazen-cli: " before every line; the engine's "\n\r" separators become line ends.
    void Say(const std::string& text);
    // For the shred command, which goes through its files one by one.
    void BeginFile(std::size_t index);

    // Whether the run got past its pre-check, and how many files it had begun.
    bool RunBegun() const { return runStarted_; }
    std::size_t FilesBegun() const { return filesBegun_; }
    int MessagesShown() const { return messagesShown_; }
    const std::vector<std::string>& NotReplaced() const { return notReplaced_; }

    CommandLineSettings settings;
    // Existing files are replaced without a question.
    bool force = false;
    // A file no password opens is left as it is, without a question.
    bool keepGoing = false;
    // -j's number, which also caps the threads of a single file's decryption; 0: every processor.
    int decryptionThreads = 0;

private:
    using Clock = std::chrono::steady_clock;

    void showShred(const std::string& head, const std::string& name);
    void hideShred();
    void runProgressed(bool force);
    void shredProgressed();
    void draw(const std::string& line, bool force);
    void clearLine();
    std::uint64_t bytesDone() const;

    std::vector<std::uint64_t> sizes_;
    std::uint64_t totalBytes_ = 0;
    DisplayOptions display_;
    ProgressLines lines_;
    std::string title_;
    std::string fileName_;
    int filePercent_ = 0;
    int totalPercent_ = 0;
    // The shred dialog's line: its head without the colon, its file, the last pass shown and its gauge.
    bool shredVisible_ = false;
    std::string shredHead_;
    std::string shredFileName_;
    int pass_ = 0;
    int passes_ = 0;
    int shredPercent_ = 0;
    bool runStarted_ = false;
    std::size_t filesBegun_ = 0;
    std::uint64_t bytesBefore_ = 0;
    int messagesShown_ = 0;
    std::vector<std::string> notReplaced_;
    Clock::time_point started_;
    Clock::time_point lastDrawn_;
    bool lineShown_ = false;
    bool shredCommand_ = false;
    std::size_t shredIndex_ = 0;
};

} // namespace tazen::cli
