// Folder adds: every file of a folder, or its encrypted files, with or without its sub-folders, found
// while the scan dialog shows where the walk is.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/folders.h"
#include "platform/pacer.h"
#include "ui/dialogs/scandlg.h"
#include "ui/interaction.h"

#include <chrono>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tazen {

class TForm1;

// Both end in the form's list and mode, or end the program (exit code 0, through TForm1::EndProgram) when
// nothing was found or the user cancelled.
void AddFolderForEncryption(TForm1& form, const std::string& folder, bool Recursive);
void AddFolderForDecryption(TForm1& form, const std::string& folder, bool Recursive);

// One recursive walk. A folder is entered when its attribute set is exactly directory (16), directory and
// archive (48) or those and hidden (50): so here hidden and read-only folders and links to folders are
// not, and neither are the kernel's pseudo file systems nor a folder already walked.
class FolderScan
{
public:
    // owner is the window the scan dialog and the message box belong to, or null before there is one.
    FolderScan(std::unique_ptr<TscanDialog>& scanDialog, Interaction& interaction, QWidget* owner = nullptr)
        : scanDialog_(scanDialog), interaction_(interaction), owner_(owner)
    {
    }

    // Shows the scan dialog, walks the tree into list and leaves the dialog showing "Please wait...". Entries
    // past the system's path limit are named together in one box once the walk is over.
    std::vector<std::string>& ScanFolder(const std::string& folder, bool Decrypt, std::vector<std::string>& list);
    void ScanFolderTree(std::string folder, bool Decrypt, std::vector<std::string>& list);
    void ScanEntry(const std::string& folder, bool Decrypt, std::vector<std::string>& list,
                   const platform::FolderEntry& entry);

    // The user pressed Cancel; the program is to end.
    bool Cancelled() const { return cancelled_; }

private:
    bool mayEnter(const std::string& folder);
    void processMessages();
    void reportUnreachable();

    std::unique_ptr<TscanDialog>& scanDialog_;
    Interaction& interaction_;
    QWidget* owner_;
    // How each entry past the path limit is named, and how many there were.
    std::vector<QString> unreachable_;
    std::size_t unreachableCount_ = 0;
    bool cancelled_ = false;
    std::string shownFolder_;
    std::set<std::pair<std::uint64_t, std::uint64_t>> walked_;
    std::map<std::uint64_t, bool> pseudoDevices_;
    // A round of Qt's event handling costs a few microseconds even with nothing to do; per entry that would
    // dominate a walk, so rounds closer together than this are skipped. Cancel still arrives within a
    // millisecond.
    platform::Pacer rounds_{std::chrono::milliseconds(1)};
};

} // namespace tazen
