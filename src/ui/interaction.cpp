// What the windows ask of the user and of the desktop, answered by the real dialogs.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/interaction.h"

#include "ui/portal.h"

#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

namespace tazen {

namespace {

struct BoxLook
{
    QMessageBox::Icon icon;
    const char* caption;
};

BoxLook lookOf(BoxKind kind)
{
    switch (kind) {
    case BoxKind::Information:
        return {QMessageBox::Information, QT_TRANSLATE_NOOP("Interaction", "Information")};
    case BoxKind::Error:
        return {QMessageBox::Critical, QT_TRANSLATE_NOOP("Interaction", "Error")};
    case BoxKind::Confirm:
        return {QMessageBox::Question, QT_TRANSLATE_NOOP("Interaction", "Confirm")};
    case BoxKind::Warning:
        return {QMessageBox::Warning, QT_TRANSLATE_NOOP("Interaction", "Warning")};
    case BoxKind::Plain:
        return {QMessageBox::NoIcon, "TaZEN"};
    case BoxKind::ApplicationError:
        return {QMessageBox::Critical, "TaZEN"};
    }
    return {QMessageBox::NoIcon, "TaZEN"};
}

QMessageBox::StandardButtons buttonsOf(BoxButtons buttons)
{
    switch (buttons) {
    case BoxButtons::Ok:
        return QMessageBox::Ok;
    case BoxButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case BoxButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case BoxButtons::Abort:
        return QMessageBox::Abort;
    }
    return QMessageBox::Ok;
}

BoxAnswer answerOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return BoxAnswer::Ok;
    case QMessageBox::Yes:
        return BoxAnswer::Yes;
    case QMessageBox::No:
        return BoxAnswer::No;
    case QMessageBox::Abort:
        return BoxAnswer::Abort;
    default:
        return BoxAnswer::Cancel;
    }
}

// The opener hands the target on and ends at once; one still running after this (on a desktop without a
// session of its own it may run the viewer itself) has found a program. The window waits that long at most.
constexpr int kOpenerPatienceMs = 3'000;

bool runOpener(const QString& opener, const QString& target)
{
    const QUrl url = QUrl::fromUserInput(target, QString(), QUrl::AssumeLocalFile);
    if (url.isLocalFile()) {
        const QFileInfo file(url.toLocalFile());
        if (!file.isFile() || !file.isReadable())
            return false;
    }
    // Owned by the application, so an opener that takes its time is neither killed nor waited for forever.
    auto* process = new QProcess(qApp);
    process->setProgram(opener);
    process->setArguments({url.isLocalFile() ? url.toLocalFile() : url.toString(QUrl::FullyEncoded)});
    process->setStandardInputFile(QProcess::nullDevice());
    // What it starts may outlive this process object; it writes where TaZEN writes, not into a pipe that
    // closes with the object.
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start();
    if (!process->waitForStarted(kOpenerPatienceMs)) {
        process->deleteLater();
        return false;
    }
    if (!process->waitForFinished(kOpenerPatienceMs))
        return true; // still busy, so it found something to open with
    return process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
}

} // namespace

BoxAnswer DesktopInteraction::MessageBox(QWidget* owner, BoxKind kind, const QString& text, BoxButtons buttons)
{
    const BoxLook look = lookOf(kind);
    QMessageBox box(look.icon, QCoreApplication::translate("Interaction", look.caption), text, buttonsOf(buttons),
                    owner);
    // File names are shown as they are, never read as markup.
    box.setTextFormat(Qt::PlainText);
    if (buttons == BoxButtons::OkCancel || buttons == BoxButtons::YesNoCancel)
        box.setEscapeButton(QMessageBox::Cancel);
    return answerOf(box.exec());
}

int DesktopInteraction::ShowModal(QDialog& dialog)
{
    return dialog.exec();
}

std::optional<std::vector<std::string>> DesktopInteraction::OpenFiles(QWidget* owner, const QString& filter)
{
    QFileDialog dialog(owner);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(filter);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    std::vector<std::string> names;
    for (const QString& name : dialog.selectedFiles())
        names.push_back(QFile::encodeName(name).toStdString());
    return names;
}

bool DesktopInteraction::ShellOpen(const QString& target)
{
    return runOpener(opener_, target);
}

void DesktopInteraction::OpenForEditing(QWidget* owner, const QString& path, std::function<void(bool)> opened)
{
    // The portal places its question over the window that asked, where it can name one.
    QString parent;
    if (owner != nullptr && QGuiApplication::platformName() == QLatin1String("xcb"))
        parent = QStringLiteral("x11:%1").arg(owner->window()->winId(), 0, 16);
    OpenThroughPortal(QDBusConnection::sessionBus(), parent, path,
                      [opener = opener_, path, opened = std::move(opened)](PortalAnswer answer) {
                          opened(answer == PortalAnswer::Opened ||
                                 (answer == PortalAnswer::Unavailable && runOpener(opener, path)));
                      });
}

QString QtNameFilter(const QString& filter)
{
    const qsizetype bar = filter.indexOf(QLatin1Char('|'));
    QString description = bar < 0 ? filter : filter.left(bar);
    description.replace(QStringLiteral("(*.*)"), QStringLiteral("(*)"));
    return description;
}

} // namespace tazen
