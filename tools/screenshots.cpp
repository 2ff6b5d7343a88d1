// Renders the gauge in every kind, the long-operation dialogs in their usual states, the settings dialog, the
// password dialog and the about box to PNG files, so they can be looked at without running an operation.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/folders.h"
#include "ui/about.h"
#include "ui/dialogs/gauge.h"
#include "ui/dialogs/progressDlg.h"
#include "ui/dialogs/scandlg.h"
#include "ui/dialogs/shredDlg.h"
#include "ui/main.h"
#include "ui/passdlg.h"
#include "ui/settingsDlg.h"

#include <QTemporaryDir>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTreeView>

#include <cstdio>

namespace {

using namespace tazen;

QString outputFolder;
int failures = 0;

void save(QWidget& widget, const QString& name)
{
    const QString path = outputFolder + QLatin1Char('/') + name + QStringLiteral(".png");
    if (widget.grab().save(path)) {
        std::printf("%s\n", qPrintable(path));
    } else {
        std::fprintf(stderr, "tazen_screenshots: could not write %s\n", qPrintable(path));
        ++failures;
    }
}

void gauges()
{
    struct Shape
    {
        TGaugeKind kind;
        const char* name;
        QSize size;
    };
    const Shape shapes[] = {
        {gkText, "text", {120, 24}},
        {gkHorizontalBar, "horizontal", {200, 24}},
        {gkVerticalBar, "vertical", {32, 120}},
        {gkPie, "pie", {100, 100}},
        {gkNeedle, "needle", {120, 64}},
    };
    for (const Shape& shape : shapes)
        for (int percent : {0, 33, 50, 100}) {
            TGauge gauge;
            gauge.resize(shape.size);
            gauge.SetKind(shape.kind);
            gauge.SetProgress(percent);
            save(gauge, QStringLiteral("gauge-%1-%2").arg(QLatin1String(shape.name)).arg(percent));
        }
}

void progressDialogs()
{
    TProgressDialog dialog;
    save(dialog, QStringLiteral("progress-as-created"));

    dialog.StartProgress("Encrypting", "4");
    dialog.lblFilename().SetCaption("/home/user/Documents/report.doc");
    dialog.gaugeFile().SetProgress(42);
    dialog.gaugeTotal().SetProgress(17);
    save(dialog, QStringLiteral("progress-encrypting"));

    dialog.StartProgress("Decrypting", "1");
    dialog.lblFilename().SetCaption("/home/user/Documents/a folder with a long name/and another one inside "
                                    "it/report for the second quarter.doc.TaZEN");
    dialog.gaugeFile().SetProgress(75);
    dialog.gaugeTotal().SetProgress(75);
    save(dialog, QStringLiteral("progress-decrypting-long-name"));

    dialog.FinishProgress();
    save(dialog, QStringLiteral("progress-finished"));
    dialog.hide();
}

void shredDialogs()
{
    TshredDialog dialog;
    // As a fresh session first meets it: building an executable, no pass.
    dialog.SetCaption("Creating executable file");
    dialog.lblHead().SetCaption("Creating the executable file: ");
    dialog.lblFileName().SetCaption("/home/user/Documents/report.doc.TaZEN.exe");
    dialog.gaugePass().SetProgress(33);
    save(dialog, QStringLiteral("shred-creating-executable-first"));

    dialog.SetCaption("Shredding file");
    dialog.lblHead().SetCaption("Shredding file:");
    dialog.lblFileName().SetCaption("/home/user/Documents/report.doc");
    dialog.lblpass().SetCaption("Pass 12 of 35");
    dialog.gaugePass().SetProgress(60);
    save(dialog, QStringLiteral("shred-shredding"));

    dialog.SetCaption("Creating executable file");
    dialog.lblHead().SetCaption("Creating the executable file: ");
    dialog.lblFileName().SetCaption("/home/user/Documents/report.doc.TaZEN.exe");
    dialog.gaugePass().SetProgress(33);
    save(dialog, QStringLiteral("shred-creating-executable"));
}

void scanDialogs()
{
    std::unique_ptr<TscanDialog> scanDialog;
    ShowScanDialog(scanDialog, ScanCaption(false));
    SetScanText(*scanDialog, QStringLiteral("/home/user/Documents/"));
    save(*scanDialog, QStringLiteral("scan-scanning"));
    SetScanText(*scanDialog, QStringLiteral("Please wait..."));
    save(*scanDialog, QStringLiteral("scan-please-wait"));
    CloseScanDialog(scanDialog);
}

// Answers nothing and opens nothing: the settings dialog is only loaded, never shown for real.
class SilentInteraction : public Interaction
{
public:
    BoxAnswer MessageBox(QWidget*, BoxKind, const QString&, BoxButtons) override { return BoxAnswer::Ok; }
    int ShowModal(QDialog&) override { return QDialog::Rejected; }
    std::optional<std::vector<std::string>> OpenFiles(QWidget*, const QString&) override { return std::nullopt; }
    bool ShellOpen(const QString&) override { return false; }
    void OpenForEditing(QWidget*, const QString&, std::function<void(bool)> opened) override { opened(false); }
};

// An empty temporary folder as the program's folder while it lives, so a window opens as it does before any
// settings were saved.
class ScratchProgramFolder
{
public:
    ScratchProgramFolder()
    {
        if (folder_.isValid())
            platform::SetExecutableFolderForTesting(folder_.path().toStdString());
        else
            std::fprintf(stderr, "tazen_screenshots: no temporary folder\n");
    }
    ~ScratchProgramFolder() { platform::SetExecutableFolderForTesting(""); }
    ScratchProgramFolder(const ScratchProgramFolder&) = delete;
    ScratchProgramFolder& operator=(const ScratchProgramFolder&) = delete;

    bool isValid() const { return folder_.isValid(); }
    const QTemporaryDir& folder() const { return folder_; }

private:
    QTemporaryDir folder_;
};

void settingsDialog()
{
    ScratchProgramFolder program;
    if (!program.isValid())
        return void(++failures);
    SilentInteraction interaction;
    TSettingsDialog dialog(interaction);
    dialog.Execute();
    save(dialog, QStringLiteral("settings"));
}

// The first password of an encryption with the strength estimate, for a weak password and a strong
// passphrase; the confirmation keeps the drawn layout.
void passwordDialogs()
{
    TPasswordDlg dialog;
    dialog.ShowStrength(true);
    dialog.edPassword().setText(QStringLiteral("Tr0ub4dor&3"));
    save(dialog, QStringLiteral("password-weak"));
    dialog.edPassword().setText(QStringLiteral("washtub bagpipe unfeeling luridness imprison ploy"));
    save(dialog, QStringLiteral("password-strong"));
    dialog.ShowStrength(false);
    dialog.lblpw().SetText(QStringLiteral("Confirm password"));
    dialog.edPassword().setText(QStringLiteral("Tr0ub4dor&3"));
    save(dialog, QStringLiteral("password-confirm"));
    dialog.edPassword().clear();
}

void aboutBox()
{
    SilentInteraction interaction;
    TAboutBox box(interaction);
    box.lblVersion().setText(ProductVersionText());
    box.FormShow();
    save(box, QStringLiteral("about"));

    // A dark theme: the links take the theme's link colour, since blue would not stand out.
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Base, QColor(0x2A, 0x2A, 0x2A));
    dark.setColor(QPalette::Text, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Button, QColor(0x45, 0x45, 0x45));
    dark.setColor(QPalette::ButtonText, QColor(0xEE, 0xEE, 0xEE));
    dark.setColor(QPalette::Link, QColor(0x5E, 0xB0, 0xFF));
    box.setPalette(dark);
    save(box, QStringLiteral("about-dark"));
}

// Files of a few sizes in a temporary folder, so the list shows real measurements.
std::vector<std::string> makeFiles(const QTemporaryDir& folder, const std::vector<std::pair<const char*, int>>& files)
{
    std::vector<std::string> names;
    for (const auto& [name, size] : files) {
        QFile file(folder.filePath(QString::fromUtf8(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(size, 'x'));
        names.push_back(QFile::encodeName(file.fileName()).toStdString());
    }
    return names;
}

void mainWindows()
{
    ScratchProgramFolder program;
    if (!program.isValid())
        return void(++failures);
    const QTemporaryDir& folder = program.folder();
    // Started as the program starts, with a runtime folder of its own so no running TaZEN takes it over.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder.path()));
    SilentInteraction interaction;
    TForm1 form(interaction);
    form.FormCreate({});
    form.show();
    save(form, QStringLiteral("main-no-mode"));

    form.SetEncryptMode(true);
    form.AddFileList(makeFiles(folder, {{"Annual report 2026.odt", 48'213},
                                        {"holiday photos.tar", 3'481'600},
                                        {"notes.txt", 1'023},
                                        {"tax return.pdf", 215'040}}));
    form.lstVfiles().selectionModel()->select(form.Files().index(1, 0),
                                              QItemSelectionModel::Select | QItemSelectionModel::Rows);
    save(form, QStringLiteral("main-encrypt"));

    form.SetDecryptMode(true);
    form.AddFileList(makeFiles(folder, {{"Annual report 2026.odt.TaZEN", 48'245}, {"notes.txt.TaZEN", 1'055}}));
    save(form, QStringLiteral("main-decrypt"));

    // A larger font, as QT_FONT_DPI=144 gives without scaling: the Status column widens to its texts.
    QFont large = form.font();
    if (large.pointSizeF() > 0)
        large.setPointSizeF(large.pointSizeF() * 1.5);
    else
        large.setPixelSize(large.pixelSize() * 3 / 2);
    form.setFont(large);
    form.SetEncryptMode(true);
    form.AddFileList(makeFiles(folder, {{"Annual report 2026.odt", 48'213}, {"notes.txt.TaZEN", 1'055}}));
    form.resize(form.size() * 1.5);
    save(form, QStringLiteral("main-large-font"));
    form.hide();
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tazen_screenshots FOLDER\n");
        return 2;
    }
    // Nothing is shown: the widgets are rendered straight into images.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    outputFolder = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outputFolder)) {
        std::fprintf(stderr, "tazen_screenshots: could not create %s\n", argv[1]);
        return 1;
    }
    gauges();
    progressDialogs();
    shredDialogs();
    scanDialogs();
    settingsDialog();
    passwordDialogs();
    aboutBox();
    mainWindows();
    return failures == 0 ? 0 : 1;
}
