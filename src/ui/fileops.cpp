// Folder adds: every file of a folder, or its encrypted files, with or without its sub-folders.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fileops.h"

#include "ui/filelist.h"
#include "ui/main.h"

#include <QCoreApplication>
#include <QLocale>

#include <utility>

namespace tazen {

namespace {

void endProgram(TForm1& form)
{
    CloseScanDialog(form.ScanDialog());
    form.EndProgram(0);
}

// What is said when nothing was found: the recursive variants name the folder as it was given, the others
// with the separator they appended.
QString nothingFound(bool decrypt, const std::string& folder, bool recursive)
{
    if (!decrypt)
        return TForm1::tr("No files found for encryption in %1").arg(FileNameText(folder));
    return recursive
               ? TForm1::tr("No TaZEN encrypted files found in %1 or its sub directories.").arg(FileNameText(folder))
               : TForm1::tr("No TaZEN encrypted files found in %1").arg(FileNameText(folder));
}

// The walk of a folder add, with its question before a whole file system is encrypted.
FolderAdd findFiles(TForm1& form, const std::string& folder, bool recursive, bool decrypt)
{
    Interaction& interaction = form.UserInteraction();
    const auto confirmWholeFileSystem = [&] {
        return interaction.MessageBox(form.DialogOwner(), BoxKind::Confirm,
                                      TForm1::tr("You have choosen to add all files on %1 for encryption.\n\rThis "
                                                 "might take a while, do you wish to continue?")
                                          .arg(FileNameText(folder)),
                                      BoxButtons::OkCancel) == BoxAnswer::Ok;
    };
    FolderScan scan(form.ScanDialog(), interaction, form.DialogOwner());
    return scan.FindFiles(folder, recursive, decrypt, confirmWholeFileSystem);
}

void addFolder(TForm1& form, const std::string& folder, bool recursive, bool decrypt)
{
    const FolderAdd add = findFiles(form, folder, recursive, decrypt);
    if (add.stopped)
        return endProgram(form);
    if (add.files.empty()) {
        CloseScanDialog(form.ScanDialog());
        form.UserInteraction().MessageBox(form.DialogOwner(), BoxKind::Information,
                                          nothingFound(decrypt, add.named, recursive));
        return endProgram(form);
    }
    decrypt ? form.SetDecryptMode(false) : form.SetEncryptMode(false);
    // The scan dialog says "Please wait..." while every found file is measured.
    form.AddFileList(add.files);
    CloseScanDialog(form.ScanDialog());
}

} // namespace

void AddFolderForDecryption(TForm1& form, const std::string& folder, bool Recursive)
{
    addFolder(form, folder, Recursive, true);
}

void AddFolderForEncryption(TForm1& form, const std::string& folder, bool Recursive)
{
    addFolder(form, folder, Recursive, false);
}

std::optional<bool> AskIncludeSubFolders(TForm1& form, const std::string& folder)
{
    switch (form.UserInteraction().MessageBox(form.DialogOwner(), BoxKind::Confirm,
                                              TForm1::tr("Include sub directories for %1?").arg(FileNameText(folder)),
                                              BoxButtons::YesNoCancel)) {
    case BoxAnswer::Yes:
        return true;
    case BoxAnswer::No:
        return false;
    default:
        return std::nullopt;
    }
}

std::vector<std::string> FilesOfFolder(TForm1& form, const std::string& folder, bool decrypt)
{
    const std::optional<bool> recursive = AskIncludeSubFolders(form, folder);
    if (!recursive)
        return {};
    FolderAdd add = findFiles(form, folder, *recursive, decrypt);
    CloseScanDialog(form.ScanDialog());
    if (!add.stopped && add.files.empty())
        form.UserInteraction().MessageBox(form.DialogOwner(), BoxKind::Information,
                                          nothingFound(decrypt, add.named, *recursive));
    return std::move(add.files);
}

FolderAdd FolderScan::FindFiles(const std::string& folder, bool Recursive, bool Decrypt,
                                const std::function<bool()>& confirmWholeFileSystem)
{
    FolderWalk walk({[this](const std::string& in) { showFolder(in); },
                     [this] { return scanDialog_ && scanDialog_->ModalResult() == kModalResultCancel; }});
    FolderAdd add = walk.AddFolder(folder, Recursive, Decrypt, [&](bool wholeFileSystem) {
        if (wholeFileSystem && !confirmWholeFileSystem())
            return false;
        ShowScanDialog(scanDialog_, ScanCaption(Decrypt), owner_);
        return true;
    });
    if (!Recursive || add.stopped)
        return add;
    reportUnreachable(walk);
    SetScanText(*scanDialog_, TForm1::tr("Please wait..."));
    QCoreApplication::processEvents();
    return add;
}

void FolderScan::showFolder(const std::string& folder)
{
    if (scanDialog_ && folder != shownFolder_) {
        SetScanText(*scanDialog_, FileNameText(folder));
        shownFolder_ = folder;
    }
    rounds_.Run([] { QCoreApplication::processEvents(); });
}

void FolderScan::reportUnreachable(const FolderWalk& walk)
{
    const std::size_t count = walk.UnreachableCount();
    if (count == 0)
        return;
    const auto named = [](const UnreachableEntry& entry) {
        return FileNameText(entry.path) + QLatin1Char(' ') + QString::number(entry.attributes);
    };
    QString text;
    if (count == 1) {
        text = named(walk.Unreachable().front());
    } else {
        text = TForm1::tr("%1 entries were not added: their paths are longer than the system allows.")
                   .arg(QLocale().toString(static_cast<qulonglong>(count)));
        if (count > walk.Unreachable().size())
            text += TForm1::tr(" The first %1 of them:")
                        .arg(QLocale().toString(static_cast<qulonglong>(walk.Unreachable().size())));
        for (const UnreachableEntry& entry : walk.Unreachable())
            text += QStringLiteral("\n\r") + named(entry);
    }
    interaction_.MessageBox(owner_, BoxKind::Plain, text);
}

} // namespace tazen
