// The "Open files" window: the encrypted files opened in place, each watched so that a saved copy is encrypted
// again, with its state and a Done button that closes the selected one.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "engine/opened.h"

#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

class QPushButton;
class QSocketNotifier;
class QTreeWidget;

namespace tazen {

// What a save or an open tells while it works: nothing is shown, but the windows keep handling their events,
// so they repaint. Messages are not shown either: the outcome and the file's state carry the same text, and
// the caller shows that.
class QuietRunEvents : public RunEvents
{
public:
    void RunStarted(Direction, std::size_t) override {}
    void FileStarted(std::size_t, const std::string&) override {}
    void FileProgress(int) override {}
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
    // failed: told when closing a file could not save its last change (the copy is kept, found as left
    // behind at the next start).
    explicit TOpenFilesWindow(QWidget* owner, std::function<void(const OpenedFile&)> failed);
    ~TOpenFilesWindow() override;

    // The open file of this encrypted file, or null.
    OpenedFile* Find(const std::string& encryptedFile) const;
    // Takes an opened file, watches its copy and lists it.
    void Add(std::unique_ptr<OpenedFile> file);
    // Selects the file's row and brings the window forward.
    void ShowFile(const std::string& encryptedFile);
    // Closes the selected file: saves a last change, removes the copy.
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
    };
    int rowOf(const OpenedFile& file) const;
    void showState(const OpenedFile& file);
    void close(int row);

    QTreeWidget* list_ = nullptr;
    QPushButton* done_ = nullptr;
    std::vector<Entry> entries_;
    std::function<void(const OpenedFile&)> failed_;
    const OpenedFile* handling_ = nullptr;
    QuietRunEvents events_;
};

} // namespace tazen
