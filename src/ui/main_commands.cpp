// The main window's commands: Encrypt and Decrypt with the password dialog, and the settings, about and
// help commands.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/crypto.h"
#include "engine/messages.h"
#include "ui/about.h"
#include "ui/dialogs/dialogfrontend.h"
#include "ui/main.h"
#include "ui/passdlg.h"
#include "ui/settingsDlg.h"

#include <QToolButton>

namespace tazen {

namespace {

BoxKind boxKindOf(MessageKind kind)
{
    return kind == MessageKind::Warning ? BoxKind::Warning : BoxKind::Error;
}

} // namespace

bool TForm1::AskPassword(const QString& prompt, Secret& password, bool showStrength)
{
    TPasswordDlg& dialog = *dialogs_.PasswordDlg;
    dialog.lblpw().SetText(prompt);
    dialog.edPassword().clear();
    dialog.ShowStrength(showStrength);
    const int result = interaction_.ShowModal(dialog);
    QByteArray typed = dialog.edPassword().text().toUtf8();
    // The field does not keep the password once it has been taken.
    dialog.edPassword().clear();
    password.Wipe();
    password.value.reserve(static_cast<size_t>(typed.size()));
    password.value.assign(typed.constData(), static_cast<size_t>(typed.size()));
    SecureFill(typed.data(), 0, static_cast<size_t>(typed.size()));
    return result == QDialog::Accepted;
}

void TForm1::btnEncryptClick()
{
    runCommand(true);
}

void TForm1::btnDecryptClick()
{
    runCommand(false);
}

void TForm1::runCommand(bool encrypt)
{
    if (running_)
        return;
    if (files_->Count() == 0) {
        interaction_.MessageBox(this, BoxKind::Information,
                                encrypt ? QStringLiteral("You must first add the files you wish to encypt.")
                                        : QStringLiteral("You must first add the files you wish to decrypt."));
        return;
    }
    // The run works on its own copy. What would change the list waits until the command is over, so nothing
    // added meanwhile is emptied away with the names the run has done.
    const Hold hold(*this);
    const std::vector<std::string> names = files_->Names();
    // From here to the end of the run the process holds the password or its key, and cannot be dumped.
    Secret password;
    if (!AskPassword(QStringLiteral("Enter password"), password, encrypt))
        return;
    if (encrypt) {
        Secret confirmation;
        if (!AskPassword(QStringLiteral("Confirm password"), confirmation))
            return;
        if (password.value != confirmation.value) {
            interaction_.MessageBox(this, BoxKind::Error, QStringLiteral("Passwords do not match."));
            return;
        }
    }

    running_ = true;
    setCommandsEnabled(false);
    DialogFrontend frontend(*dialogs_.ProgressDialog, *dialogs_.shredDialog, *dialogs_.SettingsDialog,
                            [this](MessageKind kind, const std::string& text) {
                                interaction_.MessageBox(this, boxKindOf(kind), QString::fromUtf8(text),
                                                        kind == MessageKind::AbortError ? BoxButtons::Abort
                                                                                        : BoxButtons::Ok);
                            });
    // The run wipes the password once it has made the key.
    const RunOutcome outcome = encrypt ? EncryptFiles(blowfish1_, names, password, frontend)
                                       : DecryptFiles(blowfish1_, names, password, frontend);
    running_ = false;
    setCommandsEnabled(true);

    const auto setMode = [&] { encrypt ? SetEncryptMode(true) : SetDecryptMode(true); };
    if (outcome.Completed()) {
        setMode();
    } else {
        const bool cancelled = outcome.failure == Failure::Cancelled;
        // Closing the window cancelled the run; the user has said what should happen next.
        if (!(cancelled && closeRequested_))
            interaction_.MessageBox(this, BoxKind::Error, QString::fromUtf8(MessageText(outcome)));
        if (cancelled)
            setMode();
    }

    if (closeRequested_) {
        dropHeld();
        close();
    }
}

void TForm1::btnSettingsClick()
{
    if (!running_)
        dialogs_.SettingsDialog->Execute();
}

void TForm1::Om1Click()
{
    dialogs_.AboutBox->lblVersion().setText(ProductVersionText());
    interaction_.ShowModal(*dialogs_.AboutBox);
}

void TForm1::TaZENHjlp1Click()
{
    OpenHelpFile(interaction_, this);
}

} // namespace tazen
