// Folder adds: every file of a folder, or its encrypted files, with or without its sub-folders, found
// while the scan dialog shows where the walk is.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/folderwalk.h"
#include "platform/pacer.h"
#include "ui/dialogs/scandlg.h"
#include "ui/interaction.h"

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tazen {

class TForm1;

// Both end in the form's list and mode, or end the program (exit code 0, through TForm1::EndProgram) when
// nothing was found or the user cancelled.
void AddFolderForEncryption(TForm1& form, const std::string& folder, bool Recursive);
void AddFolderForDecryption(TForm1& form, const std::string& folder, bool Recursive);

// The sub-folder question of a folder add: true for Yes, false for No, nothing for Cancel.
std::optional<bool> AskIncludeSubFolders(TForm1& form, const std::string& folder);

// The files a folder given among other names (a drop, a file manager's action, a hand-over) stands for: the
// sub-folder question, then the walk of the /e or /d add. A Cancel, or a folder with nothing to add (which is
// said), leaves the folder out instead of ending the program.
std::vector<std::string> FilesOfFolder(TForm1& form, const std::string& folder, bool decrypt);

// One recursive walk, the engine's FolderWalk, while the scan dialog shows where it is and its Cancel button
// can end it.
class FolderScan
{
public:
    // owner is the window the scan dialog and the message box belong to, or null before there is one.
    FolderScan(std::unique_ptr<TscanDialog>& scanDialog, Interaction& interaction, QWidget* owner = nullptr)
        : scanDialog_(scanDialog), interaction_(interaction), owner_(owner)
    {
    }

    // The files of the folder, and with Recursive of its sub-folders. A recursive add first asks
    // confirmWholeFileSystem when it would encrypt a whole file system, then shows the scan dialog, walks the
    // tree and leaves the dialog showing "Please wait...". Entries past the system's path limit are named
    // together in one box once the walk is over.
    FolderAdd FindFiles(const std::string& folder, bool Recursive, bool Decrypt,
                        const std::function<bool()>& confirmWholeFileSystem);

private:
    void showFolder(const std::string& folder);
    void reportUnreachable(const FolderWalk& walk);

    std::unique_ptr<TscanDialog>& scanDialog_;
    Interaction& interaction_;
    QWidget* owner_;
    std::string shownFolder_;
    // A round of Qt's event handling costs a few microseconds even with nothing to do; per entry that would
    // dominate a walk, so rounds closer together than this are skipped. Cancel still arrives within a
    // millisecond.
    platform::Pacer rounds_{std::chrono::milliseconds(1)};
};

} // namespace tazen
