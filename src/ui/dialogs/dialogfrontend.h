// The engine's way to the windows: the real progress and shred dialogs, the settings dialog's controls,
// message boxes through the caller, and the application's event handling.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/frontend.h"
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

    TProgressDialog& ProgressDialog() override { return progressDialog_; }
    TshredDialog& shredDialog() override { return shredDialog_; }
    const SettingsControlsPort& SettingsControls() const override { return settingsControls_; }
    void ShowMessage(MessageKind kind, const std::string& text) override { messageBoxes_(kind, text); }
    void ProcessMessages() override
    {
        rounds_.Run([] { QCoreApplication::processEvents(); });
    }

private:
    TProgressDialog& progressDialog_;
    TshredDialog& shredDialog_;
    const SettingsControlsPort& settingsControls_;
    MessageBoxes messageBoxes_;
    platform::Pacer rounds_;
};

} // namespace tazen
