// Starts TaZEN: the application, the main window, the message loop.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/main.h"
#include "platform/secrets.h"
#include "ui/endsignals.h"
#include "ui/interaction.h"
#include "ui/secondstart.h"
#include "ui/translations.h"

#include <QApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

bool isSet(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

// Without a display Qt prints a page about platform plugins and aborts; one line says more.
[[noreturn]] void noDisplay(const std::string& reason)
{
    std::fprintf(stderr, "tazen: no display to open a window on (%s); start TaZEN from a desktop session.\n",
                 reason.c_str());
    std::fflush(stderr);
    std::_Exit(1);
}

struct HeldMessage
{
    QtMsgType type;
    QString text;
};
std::vector<HeldMessage> heldMessages;

// Holds back what Qt says while the application starts: if the start fails, the first complaint becomes
// the reason in the one line; if it succeeds, everything is shown as usual.
void holdStartupMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtFatalMsg)
        noDisplay((heldMessages.empty() ? message : heldMessages.front().text).toStdString());
    heldMessages.push_back({type, message});
}

void releaseStartupMessages()
{
    qInstallMessageHandler(nullptr);
    for (const HeldMessage& held : heldMessages)
        qt_message_output(held.type, QMessageLogContext(), held.text);
    heldMessages.clear();
}

} // namespace

int main(int argc, char** argv)
{
    // The arguments are file names, kept as their bytes: Qt would decode them, and would take a file named
    // like one of its own options for that option.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    tazen::GuardSecrets();
    if (const std::optional<std::string> note = tazen::ArgumentsNotTaken(arguments))
        std::fputs(note->c_str(), stderr);
    // A second start hands its file over and ends here, quickly and without a display: only the running
    // instance needs one.
    tazen::InstanceStart start = tazen::StartInstance(arguments);
    if (start.handedOverWith)
        return *start.handedOverWith;
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY") && !isSet("QT_QPA_PLATFORM"))
        noDisplay("neither DISPLAY nor WAYLAND_DISPLAY is set");
    int qtArgc = 1;
    qInstallMessageHandler(holdStartupMessages);
    QApplication app(qtArgc, argv);
    releaseStartupMessages();

    QApplication::setApplicationName(QStringLiteral("TaZEN"));
    tazen::InstallTranslations();
    QGuiApplication::setDesktopFileName(QStringLiteral("io.codeberg.tazen"));
    // The dialogs are windows of their own; the program ends with the main window, not with the last one.
    QApplication::setQuitOnLastWindowClosed(false);
    tazen::DesktopInteraction interaction;
    tazen::TForm1 form1(interaction);
    form1.FormCreate(arguments, std::move(start));
    if (const std::optional<int> exitCode = form1.EndedWith())
        return *exitCode;
    form1.CreateDialogs();
    QObject::connect(&form1, &tazen::TForm1::Closed, &app, &QCoreApplication::quit, Qt::QueuedConnection);
    const tazen::EndSignals endSignals([&form1] { form1.close(); });
    form1.show();
    // Copies a crash left behind are offered once the window is up.
    QTimer::singleShot(0, &form1, [&form1] { form1.OfferLeftBehind(); });
    return QApplication::exec();
}
