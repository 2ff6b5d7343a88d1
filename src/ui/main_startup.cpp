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
#include "ui/settingsDlg.h"

#include <QApplication>
#include <QLabel>
#include <QScreen>
#include <QWindow>

#include <cstdio>

namespace tazen {

namespace {

using namespace std::chrono_literals;

// How long a second instance looks for the endpoint of one that holds the lock, and waits for an answer.
constexpr auto kFindPatience = 2s;
constexpr auto kAnswerPatience = 10s;
// How often it starts over when the running instance ended while it was being talked to.
constexpr int kMostReaches = 3;

const char* const kSwitchDecrypt = "/d";
const char* const kSwitchEncrypt = "/e";
// The file manager's actions: the files that follow, listed in that mode.
const char* const kSwitchDecryptFiles = "--decrypt";
const char* const kSwitchEncryptFiles = "--encrypt";

bool isSwitch(const std::string& argument)
{
    return argument == kSwitchDecrypt || argument == kSwitchEncrypt;
}

bool isModeSwitch(const std::string& argument)
{
    return argument == kSwitchDecryptFiles || argument == kSwitchEncryptFiles;
}

// The names a start lists or hands over, made absolute: the first argument, or every one after a mode switch.
std::vector<std::string> namesOf(const std::vector<std::string>& arguments)
{
    std::vector<std::string> names;
    if (arguments.empty() || isSwitch(arguments.front()))
        return names;
    if (!isModeSwitch(arguments.front()))
        return arguments.front().empty() ? names : std::vector{platform::AbsoluteName(arguments.front())};
    for (auto argument = arguments.begin() + 1; argument != arguments.end(); ++argument)
        if (!argument->empty())
            names.push_back(platform::AbsoluteName(*argument));
    return names;
}

void warn(const std::string& text)
{
    std::fprintf(stderr, "tazen: %s\n", text.c_str());
}

// Extremes a hand-edited settings file may hold, kept to a window that can be seen and used.
constexpr int kSmallestSide = 120;
constexpr int kLargestSide = 16'000;

} // namespace

void TForm1::FormCreate(const std::vector<std::string>& arguments)
{
    const Hold hold(*this);
    // Declared after the hold, so it ends first and what the hold lets through is answered as listed.
    struct StartingUp
    {
        bool& flag;
        explicit StartingUp(bool& f) : flag(f) { flag = true; }
        ~StartingUp() { flag = false; }
    } startingUp(startingUp_);
    std::string reason;
    const std::string folder = platform::PrivateRuntimeFolder(reason);
    bool alone = folder.empty();
    if (alone) {
        warn("no private runtime folder, so a second TaZEN cannot find this one: " + reason);
    } else {
        auto lock = std::make_unique<platform::InstanceLock>(folder);
        switch (lock->TryAcquire()) {
        case platform::InstanceLock::State::Held:
            instanceLock_ = std::move(lock);
            if (const HandOver handOver = HandOverCommandLine(arguments); handOver != HandOver::BecameRunning) {
                // So that a lookup by the title can never find this instance's application.
                QCoreApplication::setApplicationName(QStringLiteral("NotMyAppTitle"));
                EndProgram(handOver == HandOver::Done ? 0 : 1);
                return;
            }
            becomeRunningInstance(*instanceLock_);
            break;
        case platform::InstanceLock::State::Acquired:
            instanceLock_ = std::move(lock);
            becomeRunningInstance(*instanceLock_);
            break;
        case platform::InstanceLock::State::Failed:
            warn("cannot open the instance lock in " + folder + ", so a second TaZEN cannot find this one");
            alone = true;
            break;
        }
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

void TForm1::becomeRunningInstance(platform::InstanceLock& lock)
{
    endpoint_ = std::make_unique<HandOverEndpoint>(
        [this](const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply) {
            WMCopyData(message, reply);
        });
    std::string reason;
    if (!endpoint_->Listen(lock.EndpointPath(), reason)) {
        warn("a second TaZEN cannot hand its files to this one: " + reason);
        endpoint_.reset();
    }
}

TForm1::HandOver TForm1::HandOverCommandLine(const std::vector<std::string>& arguments)
{
    // A switch is no file name, and a folder add belongs to the instance it was given to.
    const std::vector<std::string> names = namesOf(arguments);
    const std::string first = arguments.empty() ? std::string() : arguments.front();
    if (isSwitch(first))
        warn("TaZEN is running already; a folder is added by starting TaZEN with it when none runs");
    const std::uint32_t kind = first == kSwitchEncryptFiles   ? platform::kMessageHandOverEncrypt
                               : first == kSwitchDecryptFiles ? platform::kMessageHandOverDecrypt
                                                              : platform::kMessageCopyData;
    std::size_t taken = 0;
    const auto what = [&] {
        return taken < names.size() ? platform::Printable(names[taken]) + " was not handed to the running TaZEN: "
                                    : std::string("the running TaZEN was not brought to the front: ");
    };
    for (int reach = 0; reach < kMostReaches; ++reach) {
        platform::EndpointClient client;
        switch (platform::ReachRunningInstance(*instanceLock_, client, kFindPatience)) {
        case platform::Reach::BecameRunning:
            return HandOver::BecameRunning;
        case platform::Reach::NobodyThere:
            warn(what() + "it holds the instance lock but does not answer");
            return HandOver::Failed;
        case platform::Reach::Connected:
            break;
        }
        std::uint32_t result = 1;
        auto outcome = platform::EndpointClient::Outcome::Answered;
        if (names.empty())
            outcome = client.Send(platform::kMessageBringToFront, 0, {}, kAnswerPatience, result);
        // One record a name, each after the one before was taken.
        while (taken < names.size() && result == 1 && outcome == platform::EndpointClient::Outcome::Answered) {
            outcome = client.Send(kind, platform::kHandOverMarker, platform::HandOverRecord(names[taken]),
                                  kAnswerPatience, result);
            if (outcome == platform::EndpointClient::Outcome::Answered && result == 1)
                ++taken;
        }
        switch (outcome) {
        case platform::EndpointClient::Outcome::Closed:
            continue; // it ended before it answered: look again, perhaps to become the running instance
        case platform::EndpointClient::Outcome::TimedOut:
            warn(what() + "it did not answer");
            return HandOver::Failed;
        case platform::EndpointClient::Outcome::Answered:
            break;
        }
        if (result != 1) {
            warn(what() + "it refused it");
            return HandOver::Failed;
        }
        // The names are taken; whether the window comes forward changes nothing about that.
        if (!names.empty())
            client.Send(platform::kMessageBringToFront, 0, {}, kAnswerPatience, result);
        return HandOver::Done;
    }
    warn(what() + "it kept ending before it answered");
    return HandOver::Failed;
}

void TForm1::WMCopyData(const platform::WindowMessage& message, const HandOverEndpoint::Reply& reply)
{
    if (message.message == platform::kMessageBringToFront) {
        BringToFront();
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

void TForm1::BringToFront()
{
    if (!isVisible())
        return;
    if (isMinimized())
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    raise();
    activateWindow();
}

void TForm1::HandleCommandLine(const std::vector<std::string>& arguments)
{
    const std::string& first = arguments.front();
    if (isModeSwitch(first))
        return AddInMode(first == kSwitchEncryptFiles, namesOf(arguments));
    if (!isSwitch(first)) {
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
    try {
        platform::TIniFile settings(path);
        settings.WriteInteger(kSectionVisuals, "Height", frame.height());
        settings.WriteInteger(kSectionVisuals, "Width", frame.width());
        settings.WriteInteger(kSectionVisuals, "Left", frame.left());
        settings.WriteInteger(kSectionVisuals, "Top", frame.top());
    } catch (const platform::IniWriteError&) {
        // The program ends all the same; the next start uses what the file still holds.
    }
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
