// The engine's way to the windows: its events shown in the real progress and shred dialogs, the settings
// dialog's controls, message boxes through the caller, and the application's event handling.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
#include "engine/messages.h"
#include "platform/pacer.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/shredDlg.h"

#include <QCoreApplication>

#include <functional>
#include <utility>

namespace tazen {

class DialogFrontend : public Frontend
{
public:
    using MessageBoxes = std::function<void(MessageKind, const std::string&)>;

    // Runs ask for event handling every 8192 bytes, which is every 50 microseconds at full speed; a round of
    // Qt's event handling costs a few microseconds even with nothing to do, so rounds closer together than
    // this are skipped. A click still arrives within a millisecond.
    static constexpr platform::Pacer::Clock::duration kShortestRoundGap = std::chrono::milliseconds(1);

    DialogFrontend(TProgressDialog& progressDialog, TshredDialog& shredDialog,
                   const SettingsControlsPort& settingsControls, MessageBoxes messageBoxes,
                   platform::Pacer rounds = platform::Pacer(kShortestRoundGap))
        : progressDialog_(progressDialog), shredDialog_(shredDialog), settingsControls_(settingsControls),
          messageBoxes_(std::move(messageBoxes)), rounds_(std::move(rounds))
    {
    }

    TProgressDialog& ProgressDialog() { return progressDialog_; }
    TshredDialog& shredDialog() { return shredDialog_; }
    const SettingsControlsPort& SettingsControls() const override { return settingsControls_; }

    void RunStarted(Direction direction, std::size_t fileCount) override
    {
        progressDialog_.StartProgress(RunTitle(direction), std::to_string(fileCount));
    }
    void FileStarted(std::size_t, const std::string& name) override { progressDialog_.lblFilename().SetCaption(name); }
    void FileProgress(int percent) override { progressDialog_.gaugeFile().SetProgress(percent); }
    void TotalProgress(int percent) override { progressDialog_.gaugeTotal().SetProgress(percent); }
    void TotalAdvanced(int points) override { progressDialog_.gaugeTotal().Advance(points); }
    void RunFinished() override { progressDialog_.FinishProgress(); }
    void RunHidden() override { progressDialog_.HideProgress(); }
    bool CancelAsked() override { return progressDialog_.ModalResult() == kModalResultCancel; }

    void ShredStarted(const std::string& name) override { showShred(Text(kShredCaption), Text(kShredHead), name); }
    void ShredPass(int pass, int passes) override
    {
        shredDialog_.lblpass().SetCaption(ShredPassCaption(pass, passes));
        shredDialog_.gaugePass().SetProgress(0);
    }
    void ShredProgress(int percent) override { shredDialog_.gaugePass().SetProgress(percent); }
    bool ShredCancelAsked() override { return shredDialog_.ModalResult() == kModalResultCancel; }
    void ShredEnded(bool cancelCleared) override
    {
        if (cancelCleared)
            shredDialog_.SetModalResult(kModalResultNone);
        shredDialog_.Hide();
    }

    void ExecutableStarted(const std::string& name) override
    {
        showShred(Text(kExecutableCaption), Text(kExecutableHead), name);
    }
    void ExecutableProgress(int percent) override { shredDialog_.gaugePass().SetProgress(percent); }
    void ExecutableEnded() override { shredDialog_.Hide(); }
    void ShowMessage(MessageKind kind, const std::string& text) override { messageBoxes_(kind, text); }
    void ProcessMessages() override
    {
        rounds_.Run([] { QCoreApplication::processEvents(); });
    }

private:
    void showShred(const std::string& caption, const std::string& head, const std::string& name)
    {
        shredDialog_.SetCaption(caption);
        shredDialog_.lblHead().SetCaption(head);
        shredDialog_.lblFileName().SetCaption(name);
        shredDialog_.Show();
    }

    TProgressDialog& progressDialog_;
    TshredDialog& shredDialog_;
    const SettingsControlsPort& settingsControls_;
    MessageBoxes messageBoxes_;
    platform::Pacer rounds_;
};

} // namespace tazen
