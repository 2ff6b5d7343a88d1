// A frontend for engine tests: records what the engine's events would show in the window's dialogs, answers
// what it asks, and lets a test act at a chosen moment of message handling (for example, press Cancel).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "engine/messages.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tazen::test {

class RecordingGauge
{
public:
    int Progress() const { return progress_; }
    void SetProgress(int value)
    {
        progress_ = std::clamp(value, 0, 100);
        history.push_back(progress_);
    }
    void Advance(int amount)
    {
        SetProgress(progress_ + amount);
        advances.push_back(amount);
    }

    std::vector<int> history;
    std::vector<int> advances;

private:
    int progress_ = 0;
};

class RecordingLabel
{
public:
    void SetCaption(const std::string& text)
    {
        caption = text;
        history.push_back(text);
    }
    std::string caption;
    std::vector<std::string> history;
};

class ScriptedProgressDialog
{
public:
    void StartProgress(const std::string& title, const std::string& countText)
    {
        modalResult = 0;
        gaugeTotal_.SetProgress(0);
        gaugeFile_.SetProgress(0);
        events.push_back("StartProgress " + title + " " + countText);
        visible = true;
    }
    void HideProgress()
    {
        events.push_back("HideProgress");
        visible = false;
    }
    void FinishProgress()
    {
        gaugeTotal_.Advance(100 - gaugeTotal_.Progress());
        events.push_back("FinishProgress");
    }
    RecordingLabel& lblFilename() { return lblFilename_; }
    RecordingGauge& gaugeFile() { return gaugeFile_; }
    RecordingGauge& gaugeTotal() { return gaugeTotal_; }
    int ModalResult() const { return modalResult; }

    // What a click on Cancel does: the modal result, and the dialog closes.
    void PressCancel()
    {
        modalResult = kModalResultCancel;
        visible = false;
    }

    int modalResult = 0;
    bool visible = false;
    std::vector<std::string> events;
    RecordingLabel lblFilename_;
    RecordingGauge gaugeFile_;
    RecordingGauge gaugeTotal_;
};

class ScriptedShredDialog
{
public:
    void SetCaption(const std::string& text) { caption = text; }
    RecordingLabel& lblHead() { return lblHead_; }
    RecordingLabel& lblFileName() { return lblFileName_; }
    RecordingLabel& lblpass() { return lblpass_; }
    RecordingGauge& gaugePass() { return gaugePass_; }
    void Show()
    {
        visible = true;
        ++shows;
    }
    void Hide() { visible = false; }
    int ModalResult() const { return modalResult; }
    void SetModalResult(int value) { modalResult = value; }

    std::string caption;
    bool visible = false;
    int shows = 0;
    int modalResult = 0;
    RecordingLabel lblHead_;
    RecordingLabel lblFileName_;
    RecordingLabel lblpass_;
    RecordingGauge gaugePass_;
};

class ScriptedSettingsControls : public SettingsControlsPort
{
public:
    bool SelfExtractChecked() const override { return selfExtract; }
    int SourceFilesIndex() const override { return sourceFiles; }
    std::optional<bool> SelfExtractOverride() const override { return selfExtractOverride; }
    std::optional<SourceFiles> SourceFilesOverride() const override { return sourceFilesOverride; }
    RecipientSystem RecipientSystemChosen() const override { return recipientSystem; }
    std::optional<RecipientSystem> RecipientSystemOverride() const override { return recipientSystemOverride; }
    bool VerifyBeforeDisposal() const override { return verify; }
    std::string DestinationFolder(const std::string& s) const override { return destination ? destination(s) : ""; }
    bool KeepEncryptedFiles() const override { return keep; }
    // The dialog's built-in defaults.
    bool selfExtract = false;
    int sourceFiles = 1;
    RecipientSystem recipientSystem = RecipientSystem::Windows;
    // What a command line would choose; the window chooses nothing.
    std::optional<bool> selfExtractOverride;
    std::optional<SourceFiles> sourceFilesOverride;
    std::optional<RecipientSystem> recipientSystemOverride;
    bool verify = true;
    // What a command line's output folder and keep option would say: none and no.
    std::function<std::string(const std::string&)> destination;
    bool keep = false;
};

struct ShownMessage
{
    MessageKind kind;
    std::string text;
    bool operator==(const ShownMessage&) const = default;
};

inline void PrintTo(const ShownMessage& shown, std::ostream* out)
{
    static const char* const kinds[] = {"Error", "Warning", "AbortError"};
    *out << kinds[static_cast<int>(shown.kind)] << " \"" << shown.text << "\"";
}

class ScriptedFrontend : public Frontend
{
public:
    const SettingsControlsPort& SettingsControls() const override { return settings; }
    void RunStarted(Direction direction, std::size_t fileCount) override
    {
        progress.StartProgress(RunTitle(direction), std::to_string(fileCount));
    }
    void FileStarted(std::size_t, const std::string& name) override { progress.lblFilename().SetCaption(name); }
    void FileProgress(int percent) override { progress.gaugeFile().SetProgress(percent); }
    void TotalProgress(int percent) override { progress.gaugeTotal().SetProgress(percent); }
    void TotalAdvanced(int points) override { progress.gaugeTotal().Advance(points); }
    void RunFinished() override { progress.FinishProgress(); }
    void RunHidden() override { progress.HideProgress(); }
    bool CancelAsked() override { return progress.ModalResult() == kModalResultCancel; }
    void ShredStarted(const std::string& name) override { showShred(Text(kShredCaption), Text(kShredHead), name); }
    void ShredPass(int pass, int passes) override
    {
        shred.lblpass().SetCaption(ShredPassCaption(pass, passes));
        shred.gaugePass().SetProgress(0);
    }
    void ShredProgress(int percent) override { shred.gaugePass().SetProgress(percent); }
    bool ShredCancelAsked() override { return shred.ModalResult() == kModalResultCancel; }
    void ShredEnded(bool cancelCleared) override
    {
        if (cancelCleared)
            shred.SetModalResult(kModalResultNone);
        shred.Hide();
    }
    void ExecutableStarted(const std::string& name) override
    {
        showShred(Text(kExecutableCaption), Text(kExecutableHead), name);
    }
    void ExecutableProgress(int percent) override { shred.gaugePass().SetProgress(percent); }
    void ExecutableEnded() override { shred.Hide(); }
    void ShowMessage(MessageKind kind, const std::string& text) override { messages.push_back({kind, text}); }
    int DecryptionThreads() const override { return decryptionThreads; }
    void ProcessMessages() override
    {
        ++messageRounds;
        if (onMessages)
            onMessages(messageRounds);
    }

    ScriptedProgressDialog progress;
    ScriptedShredDialog shred;
    ScriptedSettingsControls settings;
    std::vector<ShownMessage> messages;
    int messageRounds = 0;
    int decryptionThreads = 0;
    // Called with the count of message rounds so far, from inside ProcessMessages.
    std::function<void(int round)> onMessages;

private:
    void showShred(const std::string& caption, const std::string& head, const std::string& name)
    {
        shred.SetCaption(caption);
        shred.lblHead().SetCaption(head);
        shred.lblFileName().SetCaption(name);
        shred.Show();
    }
};

} // namespace tazen::test
