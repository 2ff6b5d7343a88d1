// How the main window starts and ends: the single-instance rule with the hand-over, the command line, and
// the window's geometry in the settings file.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/fileformat.h"
#include "engine/settings.h"
#include "platform/folders.h"
#include "platform/inifile.h"
#include "platform/terminal.h"
#include "ui/about.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/shredDlg.h"
#include "ui/fileops.h"
#include "ui/main.h"
#include "ui/passdlg.h"
#include "ui/secondstart.h"
#include "ui/settingsDlg.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

namespace tazen {

namespace {

const char* const kSwitchDecrypt = "/d";

// Extremes a hand-edited settings file may hold, kept to a window that can be seen and used.
constexpr int kSmallestSide = 120;
constexpr int kLargestSide = 16'000;

} // namespace

void TForm1::FormCreate(const std::vector<std::string>& arguments)
{
    FormCreate(arguments, StartInstance(arguments));
}

void TForm1::FormCreate(const std::vector<std::string>& arguments, InstanceStart start)
{
    const Hold hold(*this);
    // Declared after the hold, so it ends first and what the hold lets through is answered as listed.
    struct StartingUp
    {
        bool& flag;
        explicit StartingUp(bool& f) : flag(f) { flag = true; }
        ~StartingUp() { flag = false; }
    } startingUp(startingUp_);
    if (start.handedOverWith) {
        // So that a lookup by the title can never find this instance's application.
        QCoreApplication::setApplicationName(QStringLiteral("NotMyAppTitle"));
        EndProgram(*start.handedOverWith);
        return;
    }
    const bool alone = !start.lock;
    if (!alone) {
        instanceLock_ = std::move(start.lock);
        becomeRunningInstance(std::move(start.listener));
    }
    // Dropped files are accepted from the moment the window exists; the title prefix is set with it.
    LoadGeometry();
    if (arguments.empty())
        statusBar1_->setText(QStringLiteral("Select \"Encrypt/Decrypt\" from the \"File\" menu or \"drag and drop\" "
                                            "files directly on the application."));
    else
        HandleCommandLine(arguments);
    // Said once: the next change of the list writes the status line anew.
    if (alone) {
        const QString note = QStringLiteral("TaZEN runs alone: a second start cannot hand its files to this window.");
        const QString shown = statusBar1_->text();
        statusBar1_->setText(shown.isEmpty() ? note : shown + QLatin1Char(' ') + note);
    }
}

void TForm1::CreateDialogs()
{
    auto* passwordDlg = new TPasswordDlg(this);
    auto* progressDialog = new TProgressDialog(this);
    auto* settingsDialog = new TSettingsDialog(interaction_, this);
    auto* aboutBox = new TAboutBox(interaction_, this);
    auto* shredDialog = new TshredDialog(this);
    AttachDialogs({passwordDlg, progressDialog, settingsDialog, aboutBox, shredDialog});
}

void TForm1::becomeRunningInstance(platform::EndpointListener listener)
{
    if (listener.Handle() < 0)
        return;
    endpoint_ = std::make_unique<HandOverEndpoint>(
        [this](const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply) {
            WMCopyData(message, reply);
        });
    endpoint_->Serve(std::move(listener));
}

void TForm1::WMCopyData(const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply)
{
    if (message.message == platform::kMessageBringToFront) {
        BringToFront(platform::CopyDataText(message));
        return reply(1);
    }
    const bool plain = message.message == platform::kMessageCopyData;
    const bool encrypt = message.message == platform::kMessageHandOverEncrypt;
    if (!(plain || encrypt || message.message == platform::kMessageHandOverDecrypt) ||
        message.dwData != platform::kHandOverMarker)
        return reply(0);
    const std::string name = platform::CopyDataText(message);
    // The sender made its name absolute; a relative one could only be resolved against the wrong folder.
    if (name.empty() || name.front() != '/')
        return reply(0);
    if (namesWaiting_ >= kMostWaitingNames)
        return reply(0);
    ++namesWaiting_;
    // A start-up may still end the program; a sender answered only then finds it gone and tries again.
    const bool answered = !startingUp_;
    if (answered)
        reply(1);
    WhenIdle([this, name, reply, answered, plain, encrypt] {
        --namesWaiting_;
        if (plain)
            AddFileList({name});
        else
            AddInMode(encrypt, {name});
        if (!answered)
            reply(1);
    });
}

void TForm1::AddInMode(bool encrypt, const std::vector<std::string>& names)
{
    // As a drop does: the list is emptied only when the mode changes.
    if (encrypt)
        SetEncryptMode(ModeName() != QStringLiteral("Encrypt"));
    else
        SetDecryptMode(ModeName() != QStringLiteral("Decrypt"));
    AddFileList(names);
}

void TForm1::BringToFront(const std::string& activationToken)
{
    if (!isVisible())
        return;
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    // A Wayland compositor lets a window come forward only with a token from the start that asked for it;
    // Qt's Wayland shell takes the token from this variable when the window asks to be activated.
    if (!activationToken.empty() && QGuiApplication::platformName() == QLatin1String("wayland"))
        qputenv("XDG_ACTIVATION_TOKEN", QByteArray::fromStdString(activationToken));
    activateWindow();
}

void TForm1::HandleCommandLine(const std::vector<std::string>& arguments)
{
    const std::string& first = arguments.front();
    if (IsModeSwitch(first))
        return AddInMode(first == kSwitchEncryptFiles, NamesToHandOver(arguments));
    if (!IsFolderSwitch(first)) {
        const std::string name = platform::AbsoluteName(first);
        HasEncryptedExtension(name) ? SetDecryptMode(true) : SetEncryptMode(true);
        if (!name.empty())
            AddFileList({name});
        return;
    }
    const std::string folder = arguments.size() > 1 ? platform::AbsoluteName(arguments[1]) : std::string();
    if (folder.empty() || !platform::ExistsAsFolder(folder)) {
        interaction_.MessageBox(DialogOwner(), BoxKind::Information,
                                QStringLiteral("Operation only allowed on folders."));
        return EndProgram(0);
    }
    bool recursive = false;
    switch (interaction_.MessageBox(DialogOwner(), BoxKind::Confirm,
                                    QStringLiteral("Include sub directories for ") + FileNameText(folder) +
                                        QLatin1Char('?'),
                                    BoxButtons::YesNoCancel)) {
    case BoxAnswer::Yes:
        recursive = true;
        break;
    case BoxAnswer::No:
        break;
    default:
        return EndProgram(0);
    }
    if (first == kSwitchDecrypt)
        AddFolderForDecryption(*this, folder, recursive);
    else
        AddFolderForEncryption(*this, folder, recursive);
}

void TForm1::LoadGeometry()
{
    const platform::TIniFile settings(SettingsFilePath());
    QRect frame(settings.ReadInteger(kSectionVisuals, "Left", 400), settings.ReadInteger(kSectionVisuals, "Top", 250),
                settings.ReadInteger(kSectionVisuals, "Width", 500),
                settings.ReadInteger(kSectionVisuals, "Height", 500));
    frame.setSize(frame.size().expandedTo({kSmallestSide, kSmallestSide}).boundedTo({kLargestSide, kLargestSide}));
    // A window saved on a screen that is no longer there comes back on the one that is.
    bool seen = false;
    for (const QScreen* screen : QGuiApplication::screens())
        seen = seen || screen->availableGeometry().intersects(frame.adjusted(32, 32, -32, -32));
    if (!seen && QGuiApplication::primaryScreen())
        frame.moveTopLeft(QGuiApplication::primaryScreen()->availableGeometry().topLeft());
    move(frame.topLeft());
    resize(frame.size());
    // The frame's width is known only once the window is shown; the size is then made to fit in it.
    frameToFit_ = frame;
}

QRect TForm1::FrameBounds() const
{
    if (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) {
        // The bounds to come back to, not those of the whole screen or of a task-bar button.
        const QRect inner = normalGeometry();
        const QMargins margins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                               frameGeometry().right() - geometry().right(),
                               frameGeometry().bottom() - geometry().bottom());
        return inner.marginsAdded(margins);
    }
    return frameGeometry();
}

void TForm1::SaveGeometry()
{
    const std::string path = SettingsFilePath();
    if (!platform::ExistsAsFile(path))
        return;
    const QRect frame = FrameBounds();
    // The program ends all the same; after a failed write the next start uses what the file still holds.
    platform::TIniFile settings(path);
    if (settings.WriteInteger(kSectionVisuals, "Height", frame.height()) == 0 &&
        settings.WriteInteger(kSectionVisuals, "Width", frame.width()) == 0 &&
        settings.WriteInteger(kSectionVisuals, "Left", frame.left()) == 0)
        static_cast<void>(settings.WriteInteger(kSectionVisuals, "Top", frame.top()));
}

void TForm1::fitFrame()
{
    if (!frameToFit_ || !isVisible())
        return;
    const QRect frame = frameGeometry();
    const QRect inner = geometry();
    if (frame == inner)
        return; // the window manager has not framed the window yet
    const QSize decoration = frame.size() - inner.size();
    const QRect wanted = *frameToFit_;
    frameToFit_.reset();
    resize(wanted.size() - decoration);
    move(wanted.topLeft());
}

void TForm1::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    fitFrame();
}

void TForm1::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    fitFrame();
}

void TForm1::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    fitFrame();
}

} // namespace tazen
