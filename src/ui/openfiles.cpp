// The "Open files" window: each open file's copy watched through a socket notifier, its state in the list,
// and Done.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/openfiles.h"

#include "ui/filelist.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QSocketNotifier>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <chrono>

namespace tazen {

namespace {

// The state as the list shows it: the saving time in the locale's short time format.
QString stateText(const CopyStatus& status)
{
    std::string time;
    if (status.savedAt) {
        const auto milliseconds =
            std::chrono::duration_cast<std::chrono::milliseconds>(status.savedAt->time_since_epoch()).count();
        time =
            QLocale().toString(QDateTime::fromMSecsSinceEpoch(milliseconds).time(), QLocale::ShortFormat).toStdString();
    }
    return QString::fromStdString(CopyStatusText(status, time));
}

} // namespace

void QuietRunEvents::ProcessMessages()
{
    // Repaints and the like only: a click that closed the file being saved would pull it away under the save.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

TOpenFilesWindow::TOpenFilesWindow(QWidget* owner, HandOverQueue& held, std::function<void(const OpenedFile&)> failed)
    : QWidget(owner, Qt::Window), held_(held), failed_(std::move(failed))
{
    setObjectName(QStringLiteral("OpenFiles"));
    setWindowTitle(tr("Open files"));
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("lstOpen"));
    list_->setAccessibleName(tr("Open files"));
    list_->setColumnCount(2);
    list_->setHeaderLabels({tr("Name"), tr("State")});
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setTextElideMode(Qt::ElideMiddle);
    list_->header()->setSectionResizeMode(ColumnName, QHeaderView::Stretch);
    list_->header()->setSectionResizeMode(ColumnState, QHeaderView::ResizeToContents);
    list_->header()->setStretchLastSection(false);
    done_ = new QPushButton(tr("&Done"), this);
    done_->setObjectName(QStringLiteral("btnDone"));
    done_->setToolTip(tr("Saves a last change of the selected file and removes its decrypted copy"));
    connect(done_, &QPushButton::clicked, this, &TOpenFilesWindow::btnDoneClick);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(done_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(480, 200);
}

TOpenFilesWindow::~TOpenFilesWindow() = default;

OpenedFile* TOpenFilesWindow::Find(const std::string& encryptedFile) const
{
    for (const Entry& entry : entries_)
        if (entry.file->EncryptedFile() == encryptedFile)
            return entry.file.get();
    return nullptr;
}

void TOpenFilesWindow::Add(std::unique_ptr<OpenedFile> file)
{
    Entry entry;
    entry.notifier = std::make_unique<QSocketNotifier>(file->WatchHandle(), QSocketNotifier::Read);
    const std::string name = file->EncryptedFile();
    connect(entry.notifier.get(), &QSocketNotifier::activated, this, [this, name] { HandleWatch(name); });
    file->statusChanged = [this](const OpenedFile& changed) { showState(changed); };
    auto* item = new QTreeWidgetItem(list_);
    item->setText(ColumnName, FileNameText(name));
    item->setToolTip(ColumnName, FileNameText(name));
    entry.file = std::move(file);
    entries_.push_back(std::move(entry));
    showState(*entries_.back().file);
}

void TOpenFilesWindow::ShowFile(const std::string& encryptedFile)
{
    if (const OpenedFile* file = Find(encryptedFile))
        list_->setCurrentItem(list_->topLevelItem(rowOf(*file)));
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

void TOpenFilesWindow::HandleWatch(const std::string& encryptedFile)
{
    OpenedFile* file = Find(encryptedFile);
    if (file == nullptr || entryOf(*file)->saving)
        return;
    // Until it is saved and, when that was asked meanwhile, closed.
    const HandOverQueue::Hold hold(held_);
    // A save lets events through; the watch is not read again meanwhile.
    entryOf(*file)->notifier->setEnabled(false);
    static_cast<void>(save(*file, [file](RunEvents& events) { return file->HandleWatchEvents(events); }));
    Entry& entry = *entryOf(*file);
    if (entry.closeAsked)
        return close(rowOf(*file));
    entry.notifier->setEnabled(true);
}

void TOpenFilesWindow::btnDoneClick()
{
    if (QTreeWidgetItem* item = list_->currentItem())
        close(list_->indexOfTopLevelItem(item));
}

void TOpenFilesWindow::CloseAll()
{
    for (int row = Count() - 1; row >= 0; --row)
        close(row);
}

SaveResult TOpenFilesWindow::save(OpenedFile& file, const std::function<SaveResult(RunEvents&)>& step)
{
    entryOf(file)->saving = true;
    // An Open of this file handed over meanwhile waits, and then finds it saved (or closed).
    const HandOverQueue::Hold hold(held_);
    QuietRunEvents events;
    int shown = -1;
    events.progress = [this, &file, &shown](int percent) {
        if (percent == shown)
            return;
        shown = percent;
        QTreeWidgetItem* item = list_->topLevelItem(rowOf(file));
        item->setText(ColumnState, tr("saving… %1%").arg(percent));
        item->setToolTip(ColumnState, item->text(ColumnState));
    };
    const SaveResult result = step(events);
    entryOf(file)->saving = false;
    showState(file);
    return result;
}

void TOpenFilesWindow::close(int row)
{
    if (row < 0 || row >= Count())
        return;
    Entry& entry = entries_[static_cast<size_t>(row)];
    // The save under way is not pulled away; the file is closed when it is over.
    if (entry.saving) {
        entry.closeAsked = true;
        return;
    }
    // An Open of this file handed over meanwhile finds it closed, and opens what was saved.
    const HandOverQueue::Hold hold(held_);
    entry.notifier.reset();
    OpenedFile& file = *entry.file;
    // The row stays, saying how far the last change has come, until the copy is gone.
    const SaveResult result = save(file, [&file](RunEvents& events) { return file.Close(events); });
    row = rowOf(file);
    std::unique_ptr<OpenedFile> closed = std::move(entries_[static_cast<size_t>(row)].file);
    entries_.erase(entries_.begin() + row);
    delete list_->takeTopLevelItem(row);
    closed->statusChanged = nullptr;
    if (result == SaveResult::Failed && failed_)
        failed_(*closed);
    if (entries_.empty())
        hide();
}

int TOpenFilesWindow::rowOf(const OpenedFile& file) const
{
    const auto found =
        std::find_if(entries_.begin(), entries_.end(), [&](const Entry& entry) { return entry.file.get() == &file; });
    return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

TOpenFilesWindow::Entry* TOpenFilesWindow::entryOf(const OpenedFile& file)
{
    const int row = rowOf(file);
    return row < 0 ? nullptr : &entries_[static_cast<size_t>(row)];
}

void TOpenFilesWindow::showState(const OpenedFile& file)
{
    const int row = rowOf(file);
    if (row < 0)
        return;
    QTreeWidgetItem* item = list_->topLevelItem(row);
    item->setText(ColumnState, stateText(file.Status()));
    item->setToolTip(ColumnState, item->text(ColumnState));
}

QString TOpenFilesWindow::NameOf(int row) const
{
    return list_->topLevelItem(row)->text(ColumnName);
}

QString TOpenFilesWindow::StateOf(int row) const
{
    return list_->topLevelItem(row)->text(ColumnState);
}

} // namespace tazen
