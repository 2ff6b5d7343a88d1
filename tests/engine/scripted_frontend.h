// A frontend for engine tests: records what the engine shows, answers what it asks, and lets a test act
// at a chosen moment of message handling (for example, press Cancel).
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace tazen::test {

class RecordingGauge : public GaugePort
{
public:
    int Progress() const override { return progress_; }
    void SetProgress(int value) override
    {
        progress_ = std::clamp(value, 0, 100);
        history.push_back(progress_);
    }
    void Advance(int amount) override
    {
        SetProgress(progress_ + amount);
        advances.push_back(amount);
    }

    std::vector<int> history;
    std::vector<int> advances;

private:
    int progress_ = 0;
};

class RecordingLabel : public LabelPort
{
public:
    void SetCaption(const std::string& text) override
    {
        caption = text;
        history.push_back(text);
    }
    std::string caption;
    std::vector<std::string> history;
};

class ScriptedProgressDialog : public ProgressDialogPort
{
public:
    void StartProgress(const std::string& title, const std::string& countText) override
    {
        modalResult = 0;
        gaugeTotal_.SetProgress(0);
        gaugeFile_.SetProgress(0);
        events.push_back("StartProgress " + title + " " + countText);
        visible = true;
    }
    void HideProgress() override
    {
        events.push_back("HideProgress");
        visible = false;
    }
    void FinishProgress() override
    {
        gaugeTotal_.Advance(100 - gaugeTotal_.Progress());
        events.push_back("FinishProgress");
    }
    LabelPort& lblFilename() override { return lblFilename_; }
    GaugePort& gaugeFile() override { return gaugeFile_; }
    GaugePort& gaugeTotal() override { return gaugeTotal_; }
    int ModalResult() const override { return modalResult; }

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

class ScriptedShredDialog : public ShredDialogPort
{
public:
    void SetCaption(const std::string& text) override { caption = text; }
    LabelPort& lblHead() override { return lblHead_; }
    LabelPort& lblFileName() override { return lblFileName_; }
    LabelPort& lblpass() override { return lblpass_; }
    GaugePort& gaugePass() override { return gaugePass_; }
    void Show() override
    {
        visible = true;
        ++shows;
    }
    void Hide() override { visible = false; }
    int ModalResult() const override { return modalResult; }
    void SetModalResult(int value) override { modalResult = value; }

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
    std::optional<int> SourceFilesOverride() const override { return sourceFilesOverride; }
    bool VerifyBeforeDisposal() const override { return verify; }
    // The dialog's built-in defaults.
    bool selfExtract = false;
    int sourceFiles = 1;
    // What a command line would choose; the window chooses nothing.
    std::optional<bool> selfExtractOverride;
    std::optional<int> sourceFilesOverride;
    bool verify = true;
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
    ProgressDialogPort& ProgressDialog() override { return progress; }
    ShredDialogPort& shredDialog() override { return shred; }
    const SettingsControlsPort& SettingsControls() const override { return settings; }
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
};

} // namespace tazen::test
