// What the windows ask of the user and of the desktop: message boxes, modal dialogs, the open-file dialog
// and the desktop's "open". The real ones show themselves; the tests answer from a script.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

class QDialog;
class QWidget;

namespace tazen {

enum class BoxKind
{
    Information,     // "Information" caption and icon
    Error,           // "Error" caption, error icon
    Confirm,         // "Confirm" caption, question icon
    Warning,         // "Warning" caption and icon
    Plain,           // caption "TaZEN", no icon
    ApplicationError // the application's own error display: caption "TaZEN", error icon
};

enum class BoxButtons
{
    Ok,
    OkCancel,
    YesNoCancel,
    Abort
};

enum class BoxAnswer
{
    Ok,
    Cancel,
    Yes,
    No,
    Abort
};

class Interaction
{
public:
    virtual ~Interaction() = default;

    // A modal message box over owner (or over the application when owner is null); Esc and the close box
    // give Cancel where there is a Cancel button.
    virtual BoxAnswer MessageBox(QWidget* owner, BoxKind kind, const QString& text,
                                 BoxButtons buttons = BoxButtons::Ok) = 0;
    // Shows a dialog modally and returns its result, QDialog::Accepted or QDialog::Rejected.
    virtual int ShowModal(QDialog& dialog) = 0;
    // The open-file dialog with multiple selection and a Qt name filter; the chosen names as their bytes on
    // disk, in the dialog's order, or nullopt when the user cancelled.
    virtual std::optional<std::vector<std::string>> OpenFiles(QWidget* owner, const QString& filter) = 0;
    // Asks the desktop to open a local file or an address; false when that failed.
    virtual bool ShellOpen(const QString& target) = 0;
    // Opens a local file to be worked on, in the application the desktop gives its type; opened is told,
    // perhaps only after the desktop has asked the user which application, whether one took it.
    virtual void OpenForEditing(QWidget* owner, const QString& path, std::function<void(bool)> opened) = 0;
};

// The real thing: QMessageBox, QDialog::exec, QFileDialog, and the desktop's opener program.
class DesktopInteraction : public Interaction
{
public:
    // opener is the program that opens a file or an address in what the desktop associates with it; it
    // ends at once with its status (0 when it could).
    explicit DesktopInteraction(QString opener = QStringLiteral("xdg-open")) : opener_(std::move(opener)) {}

    BoxAnswer MessageBox(QWidget* owner, BoxKind kind, const QString& text, BoxButtons buttons) override;
    int ShowModal(QDialog& dialog) override;
    std::optional<std::vector<std::string>> OpenFiles(QWidget* owner, const QString& filter) override;
    // A local file that does not exist or cannot be read fails without asking the opener; otherwise the
    // opener's exit status decides, so "no program for this kind of file" fails too.
    bool ShellOpen(const QString& target) override;
    // Through the desktop portal where there is one (it may ask the user, and lets an application in a
    // sandbox write the file), else as ShellOpen.
    void OpenForEditing(QWidget* owner, const QString& path, std::function<void(bool)> opened) override;

private:
    QString opener_;
};

// An open-dialog filter of the form "Description|pattern" in Qt's form: "All files (*.*)|*.*" becomes
// "All files (*)" (Windows' *.* matches names without a dot too), "Encrypted files (*.TaZEN *.TaZEN.exe)|..."
// stays "Encrypted files (*.TaZEN *.TaZEN.exe)".
QString QtNameFilter(const QString& filter);

} // namespace tazen
