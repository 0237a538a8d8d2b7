// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/joblistmodel.h"

#include "ui/mainformtext.h"

#include <algorithm>
#include <numeric>

JobListModel::JobListModel(QObject *parent) : QAbstractTableModel(parent)
{
    const bool all[OptionalCount] = {true, true, true, true, true, true};
    setColumns(all);
}

void JobListModel::setColumns(const bool shown[OptionalCount])
{
    beginResetModel();
    const QStringList captions = MainFormText::columnCaptions();
    m_headers = {captions.first()};
    int k = 0;
    for (int c = 0; c < OptionalCount; ++c) {
        if (shown[c]) {
            m_headers.append(captions.at(c + 1));
            m_cellIndex[c] = k++;
        } else {
            m_cellIndex[c] = -1;
        }
    }
    endResetModel();
}

void JobListModel::setRows(QList<Row> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    reindex();
    endResetModel();
}

void JobListModel::reindex()
{
    m_byKey.clear();
    m_byKey.reserve(m_rows.size());
    for (int i = 0; i < m_rows.size(); ++i)
        m_byKey.insert(m_rows.at(i).key.toUpper(), i);
}

int JobListModel::rowOfKey(const QString &key) const { return m_byKey.value(key.toUpper(), -1); }

QString JobListModel::keyAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).key : QString();
}

QString JobListModel::captionAt(int row) const
{
    return row >= 0 && row < m_rows.size() ? m_rows.at(row).row.caption : QString();
}

void JobListModel::update(const QString &key, const RowUpdate &update)
{
    const int row = rowOfKey(key);
    if (row < 0)
        return;
    QStringList &cells = m_rows[row].row.cells;
    auto put = [&cells](int index, const std::optional<QString> &text) {
        if (text && index >= 0 && index < cells.size())
            cells[index] = *text;
    };
    put(m_cellIndex[Status], update.status);
    // A job without a Program cell has its later cells one place to the left.
    const int shift = m_cellIndex[Program] >= 0 && cells.size() < m_headers.size() - 1 ? 1 : 0;
    auto later = [this, shift](Optional c) { return m_cellIndex[c] < 0 ? -1 : m_cellIndex[c] - shift; };
    put(later(LastStarted), update.lastStarted);
    put(later(LastEnded), update.lastEnded);
    put(later(LastStatus), update.lastStatus);
    emit dataChanged(index(row, 1), index(row, columnCount() - 1));
}

void JobListModel::setStatus(const QString &key, const QString &status)
{
    RowUpdate u;
    u.status = status;
    update(key, u);
}

int JobListModel::compareCells(const QString &a, const QString &b)
{
    bool okA = false;
    bool okB = false;
    const qlonglong x = a.toLongLong(&okA);
    const qlonglong y = b.toLongLong(&okB);
    if (okA && okB && x != 0 && y != 0)
        return x < y ? -1 : (x > y ? 1 : 0);
    return QString::localeAwareCompare(a, b);
}

int JobListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int JobListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_headers.size());
}

QString JobListModel::cell(int row, int column) const
{
    const JobRow &r = m_rows.at(row).row;
    if (column == 0)
        return r.caption;
    return column - 1 < r.cells.size() ? r.cells.at(column - 1) : QString();
}

QVariant JobListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return cell(index.row(), index.column());
    return {};
}

QVariant JobListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < m_headers.size())
        return m_headers.at(section);
    return {};
}

Qt::ItemFlags JobListModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == 0)
        f |= Qt::ItemIsEditable;
    return f;
}

bool JobListModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != 0)
        return false;
    const Row &r = m_rows.at(index.row());
    const QString text = value.toString();
    if (text != r.row.caption)
        emit renameRequested(r.key, r.row.caption, text);
    return false;
}

void JobListModel::sort(int column, Qt::SortOrder order)
{
    if (column < 0 || column >= columnCount())
        return;
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QList<QString> keys;
    for (const QModelIndex &i : before)
        keys.append(keyAt(i.row()));
    QList<int> order_(m_rows.size());
    std::iota(order_.begin(), order_.end(), 0);
    std::stable_sort(order_.begin(), order_.end(), [&](int a, int b) {
        const int c = compareCells(cell(a, column), cell(b, column));
        return order == Qt::AscendingOrder ? c < 0 : c > 0;
    });
    QList<Row> sorted;
    sorted.reserve(m_rows.size());
    for (int i : order_)
        sorted.append(std::move(m_rows[i]));
    m_rows = std::move(sorted);
    reindex();
    QModelIndexList after;
    for (int i = 0; i < before.size(); ++i)
        after.append(index(rowOfKey(keys.at(i)), before.at(i).column()));
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}
