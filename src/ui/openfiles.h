// The "Open files" window: the encrypted files opened in place, each watched so that a saved copy is encrypted
// again, with its state and a Done button that closes the selected one.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/opened.h"
#include "ui/handoverqueue.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;
class QSocketNotifier;
class QTreeWidget;

namespace tazen {

// What a save or an open tells while it works: no dialog, but the windows keep handling their events, so they
// repaint, and progress goes to whoever asks for it. Messages are not shown: the outcome and the file's state
// carry the same text, and the caller shows that.
class QuietRunEvents : public RunEvents
{
public:
    // Told the file gauge's percentage when it moves.
    std::function<void(int)> progress;

    void RunStarted(Direction, std::size_t) override { FileProgress(0); }
    void FileStarted(std::size_t, const std::string&) override {}
    void FileProgress(int percent) override
    {
        if (progress)
            progress(percent);
    }
    void TotalProgress(int) override {}
    void TotalAdvanced(int) override {}
    void RunFinished() override {}
    void RunHidden() override {}
    bool CancelAsked() override { return false; }
    void ShredStarted(const std::string&) override {}
    void ShredPass(int, int) override {}
    void ShredProgress(int) override {}
    bool ShredCancelAsked() override { return false; }
    void ShredEnded(bool) override {}
    void ExecutableStarted(const std::string&) override {}
    void ExecutableProgress(int) override {}
    void ExecutableEnded() override {}
    void ProcessMessages() override;
    void ShowMessage(MessageKind, const std::string&) override {}
};

class TOpenFilesWindow : public QWidget
{
    Q_OBJECT

public:
    enum Column
    {
        ColumnName,
        ColumnState
    };
    // held: what is handed over waits there while a save is under way, so an Open of the file being saved
    // takes the saved file. failed: told when closing a file could not save its last change (the copy is
    // kept, found as left behind at the next start).
    TOpenFilesWindow(QWidget* owner, HandOverQueue& held, std::function<void(const OpenedFile&)> failed);
    ~TOpenFilesWindow() override;

    // The open file of this encrypted file, or null.
    OpenedFile* Find(const std::string& encryptedFile) const;
    // Takes an opened file, watches its copy and lists it.
    void Add(std::unique_ptr<OpenedFile> file);
    // Selects the file's row and brings the window forward.
    void ShowFile(const std::string& encryptedFile);
    // Closes the selected file: saves a last change, removes the copy. A file being saved is closed once its
    // save is over.
    void btnDoneClick();
    // Closes every open file, as quitting does.
    void CloseAll();
    // Takes the watch's events of a file now, as its notifier does when the watch is readable.
    void HandleWatch(const std::string& encryptedFile);

    int Count() const { return static_cast<int>(entries_.size()); }
    QString NameOf(int row) const;
    QString StateOf(int row) const;
    QTreeWidget& lstOpen() { return *list_; }
    QPushButton& btnDone() { return *done_; }

private:
    struct Entry
    {
        std::unique_ptr<OpenedFile> file;
        std::unique_ptr<QSocketNotifier> notifier;
        // A save of it is under way and lets events through.
        bool saving = false;
        // Closed once that save is over.
        bool closeAsked = false;
    };
    int rowOf(const OpenedFile& file) const;
    Entry* entryOf(const OpenedFile& file);
    void showState(const OpenedFile& file);
    // Runs a save of file with its row saying how far it has come.
    SaveResult save(OpenedFile& file, const std::function<SaveResult(RunEvents&)>& step);
    void close(int row);

    QTreeWidget* list_ = nullptr;
    QPushButton* done_ = nullptr;
    std::vector<Entry> entries_;
    HandOverQueue& held_;
    std::function<void(const OpenedFile&)> failed_;
};

} // namespace tazen
