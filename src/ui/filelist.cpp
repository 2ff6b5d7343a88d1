// The main window's list of files, as a model for its report-style view.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/filelist.h"

#include <QFile>

#include <algorithm>
#include <functional>
#include <iterator>

namespace tazen {

QString FileNameText(const std::string& name)
{
    return QFile::decodeName(QByteArray::fromStdString(name));
}

TFileListModel::TFileListModel(QObject* parent) : QAbstractTableModel(parent) {}

int TFileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : Count();
}

int TFileListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TFileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= Count())
        return {};
    const FileListEntry& entry = Entry(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case ColumnName:
            return entry.Caption;
        case ColumnSize:
            return entry.Size;
        case ColumnStatus:
            return entry.Status;
        default:
            return {};
        }
    case Qt::ToolTipRole:
        // A long name is cut by its column; the tip shows it whole.
        return index.column() == ColumnName ? QVariant(entry.Caption) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() == ColumnSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                            : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TFileListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole) {
        switch (section) {
        case ColumnName:
            return tr("Name");
        case ColumnSize:
            return tr("Size");
        case ColumnStatus:
            return tr("Status");
        default:
            return {};
        }
    }
    if (role == Qt::TextAlignmentRole)
        return section == ColumnSize ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                                     : QVariant(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

void TFileListModel::Stage(FileListEntry entry)
{
    index_.insert(entry.name);
    staged_.push_back(std::move(entry));
}

void TFileListModel::ShowStaged()
{
    if (staged_.empty())
        return;
    beginInsertRows(QModelIndex(), Count(), Count() + static_cast<int>(staged_.size()) - 1);
    entries_.insert(entries_.end(), std::make_move_iterator(staged_.begin()), std::make_move_iterator(staged_.end()));
    endInsertRows();
    staged_.clear();
}

void TFileListModel::Clear()
{
    beginResetModel();
    entries_.clear();
    staged_.clear();
    index_.clear();
    endResetModel();
}

void TFileListModel::RemoveRows(std::vector<int> rows)
{
    std::sort(rows.begin(), rows.end(), std::greater<>());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    // From the bottom up, one removal per run of neighbouring rows.
    for (size_t first = 0; first < rows.size();) {
        size_t last = first;
        while (last + 1 < rows.size() && rows[last + 1] == rows[last] - 1)
            ++last;
        const int top = rows[last];
        const int bottom = rows[first];
        if (top >= 0 && bottom < Count()) {
            beginRemoveRows(QModelIndex(), top, bottom);
            for (int row = top; row <= bottom; ++row)
                index_.erase(entries_[static_cast<size_t>(row)].name);
            entries_.erase(entries_.begin() + top, entries_.begin() + bottom + 1);
            endRemoveRows();
        }
        first = last + 1;
    }
}

std::vector<std::string> TFileListModel::Names() const
{
    std::vector<std::string> names;
    names.reserve(entries_.size());
    for (const FileListEntry& entry : entries_)
        names.push_back(entry.name);
    return names;
}

} // namespace tazen
