// The main window's list of files: entries in the order they were added, and an index of their names so
// the duplicate test stays fast with a hundred thousand entries.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <string>
#include <unordered_set>
#include <vector>

namespace tazen {

// A name kept as its bytes on disk, decoded for showing.
QString FileNameText(const std::string& name);

// One row: the file's full name as bytes, and the three column texts.
struct FileListEntry
{
    std::string name;
    QString Caption;
    QString Size;
    QString Status;
};

class TFileListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        ColumnName,
        ColumnSize,
        ColumnStatus,
        ColumnCount
    };

    explicit TFileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Byte for byte, letter case included; entries staged but not yet shown count.
    bool Contains(const std::string& name) const { return index_.contains(name); }

    // Adds an entry behind the others; it is shown by the next ShowStaged, so a batch of names becomes
    // one insertion into the view rather than one per name.
    void Stage(FileListEntry entry);
    void ShowStaged();

    void Clear();
    // Removes the given rows, in any order.
    void RemoveRows(std::vector<int> rows);

    int Count() const { return static_cast<int>(entries_.size()); }
    const FileListEntry& Entry(int row) const { return entries_[static_cast<size_t>(row)]; }
    // The full names in list order.
    std::vector<std::string> Names() const;

private:
    std::vector<FileListEntry> entries_;
    std::vector<FileListEntry> staged_;
    std::unordered_set<std::string> index_;
};

} // namespace tazen
