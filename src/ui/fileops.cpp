// Folder adds: every file of a folder, or its encrypted files, with or without its sub-folders.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/fileops.h"

#include "engine/fileformat.h"
#include "ui/filelist.h"
#include "ui/main.h"

#include <QCoreApplication>

#include <limits.h>

namespace tazen {

namespace {

constexpr std::uint32_t kWalkedFolderAttributes[] = {16, 48, 50};
// Entries past the path limit named in the one box that reports them.
constexpr std::size_t kMostUnreachableNamed = 3;

bool wanted(const std::string& name, std::uint32_t attributes, bool decrypt)
{
    // A regular file, symbolic links followed, is what carries the archive attribute here.
    const bool isFile = (attributes & platform::kAttrArchive) != 0;
    return isFile && (!decrypt || HasEncryptedExtension(name));
}

// The files of one folder, without its sub-folders.
std::vector<std::string> collect(const std::string& folder, bool decrypt)
{
    std::vector<std::string> found;
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(folder, entries);
    for (const platform::FolderEntry& entry : entries)
        if (wanted(entry.name, entry.attributes, decrypt))
            found.push_back(folder + entry.name);
    return found;
}

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
        return QStringLiteral("No files found for encryption in ") + FileNameText(folder);
    return QStringLiteral("No TaZEN encrypted files found in ") + FileNameText(folder) +
           (recursive ? QStringLiteral(" or its sub directories.") : QString());
}

void addFolder(TForm1& form, const std::string& folder, bool recursive, bool decrypt)
{
    Interaction& interaction = form.UserInteraction();
    std::vector<std::string> found;
    std::string named = folder;
    if (recursive) {
        if (!decrypt && platform::IsFileSystemRoot(folder) &&
            interaction.MessageBox(form.DialogOwner(), BoxKind::Confirm,
                                   QStringLiteral("You have choosen to add all files on ") + FileNameText(folder) +
                                       QStringLiteral(" for encryption.\n\rThis might take a while, do you wish to "
                                                      "continue?"),
                                   BoxButtons::OkCancel) != BoxAnswer::Ok)
            return endProgram(form);
        FolderScan scan(form.ScanDialog(), interaction, form.DialogOwner());
        scan.ScanFolder(folder, decrypt, found);
        if (scan.Cancelled())
            return endProgram(form);
    } else {
        named = platform::WithTrailingSlash(folder);
        found = collect(named, decrypt);
    }
    if (found.empty()) {
        CloseScanDialog(form.ScanDialog());
        interaction.MessageBox(form.DialogOwner(), BoxKind::Information, nothingFound(decrypt, named, recursive));
        return endProgram(form);
    }
    decrypt ? form.SetDecryptMode(false) : form.SetEncryptMode(false);
    // The scan dialog says "Please wait..." while every found file is measured.
    form.AddFileList(found);
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

std::vector<std::string>& FolderScan::ScanFolder(const std::string& folder, bool Decrypt,
                                                 std::vector<std::string>& list)
{
    ShowScanDialog(scanDialog_, Decrypt ? kScanCaptionDecrypt : kScanCaptionEncrypt, owner_);
    ScanFolderTree(folder, Decrypt, list);
    if (!cancelled_)
        reportUnreachable();
    SetScanText(*scanDialog_, QStringLiteral("Please wait..."));
    QCoreApplication::processEvents();
    return list;
}

void FolderScan::ScanFolderTree(std::string folder, bool Decrypt, std::vector<std::string>& list)
{
    folder = platform::WithTrailingSlash(std::move(folder));
    if (!mayEnter(folder))
        return;
    std::vector<platform::FolderEntry> entries;
    // An unreadable folder lists nothing and adds nothing.
    platform::ListFolder(folder, entries);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (i > 0) {
            if (cancelled_)
                break;
            // Read before the entry is handled, so the entry fetched when Cancel came is still handled.
            if (scanDialog_ && scanDialog_->ModalResult() == kModalResultCancel)
                cancelled_ = true;
        }
        ScanEntry(folder, Decrypt, list, entries[i]);
    }
}

void FolderScan::ScanEntry(const std::string& folder, bool Decrypt, std::vector<std::string>& list,
                           const platform::FolderEntry& entry)
{
    if (scanDialog_ && folder != shownFolder_) {
        SetScanText(*scanDialog_, FileNameText(folder));
        shownFolder_ = folder;
    }
    processMessages();
    const std::string path = folder + entry.name;
    if (path.size() >= PATH_MAX) {
        // The system cannot reach it; it is named once the walk is over rather than skipped in silence.
        if (unreachable_.size() < kMostUnreachableNamed)
            unreachable_.push_back(FileNameText(path) + QLatin1Char(' ') + QString::number(entry.attributes));
        ++unreachableCount_;
        return;
    }
    for (std::uint32_t walked : kWalkedFolderAttributes)
        if (entry.attributes == walked) {
            ScanFolderTree(path, Decrypt, list);
            return;
        }
    if (wanted(entry.name, entry.attributes, Decrypt))
        list.push_back(path);
}

void FolderScan::reportUnreachable()
{
    if (unreachableCount_ == 0)
        return;
    QString text;
    if (unreachableCount_ == 1) {
        text = unreachable_.front();
    } else {
        text = QString::number(unreachableCount_) +
               QStringLiteral(" entries were not added: their paths are longer than the system allows.");
        if (unreachableCount_ > unreachable_.size())
            text += QStringLiteral(" The first %1 of them:").arg(unreachable_.size());
        for (const QString& named : unreachable_)
            text += QStringLiteral("\n\r") + named;
    }
    interaction_.MessageBox(owner_, BoxKind::Plain, text);
}

bool FolderScan::mayEnter(const std::string& folder)
{
    platform::FolderIdentity identity;
    if (!platform::IdentifyFolder(folder, identity))
        return false;
    if (!walked_.insert({identity.device, identity.inode}).second)
        return false;
    auto known = pseudoDevices_.find(identity.device);
    if (known == pseudoDevices_.end())
        known =
            pseudoDevices_
                .emplace(identity.device, platform::IsPseudoFileSystemType(platform::FileSystemType(identity.device)))
                .first;
    return !known->second;
}

void FolderScan::processMessages()
{
    rounds_.Run([] { QCoreApplication::processEvents(); });
}

} // namespace tazen
