// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/jobrow.h"
#include "engine/rowupdate.h"

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

// The job list: one row per job key, the caption (sJobName) in column 0 and the engine's
// cells after it. Holds the rows as the engine built them and formats nothing itself, so
// a refresh of many jobs costs only the copy. A row is found by its job's key, never by
// its caption or position.
class JobListModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    // The six optional columns in their fixed order.
    enum Optional { Status, Schedule, Program, LastStarted, LastEnded, LastStatus, OptionalCount };

    struct Row
    {
        QString key;
        JobRow row;
    };

    explicit JobListModel(QObject *parent = nullptr);

    // Which optional columns are shown; resets the model.
    void setColumns(const bool shown[OptionalCount]);
    // The cell index of an optional column within a row's cells, -1 when not shown.
    int cellIndex(Optional column) const { return m_cellIndex[column]; }
    QStringList headers() const { return m_headers; }

    void setRows(QList<Row> rows);
    const QList<Row> &rows() const { return m_rows; }
    int rowOfKey(const QString &key) const;
    QString keyAt(int row) const;
    QString captionAt(int row) const;
    // A running job's cells (matched by key, without regard to case).
    void update(const QString &key, const RowUpdate &update);
    void setStatus(const QString &key, const QString &status);

    // The list's sort rule: both cells non-zero integers compare as numbers, anything
    // else as locale-aware, case-sensitive text. Negative, zero or positive.
    static int compareCells(const QString &a, const QString &b);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Does not change the caption: it reports the wish, the window decides.
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    void sort(int column, Qt::SortOrder order) override;

signals:
    void renameRequested(const QString &key, const QString &from, const QString &to);

private:
    QString cell(int row, int column) const;
    void reindex();

    QList<Row> m_rows;
    QHash<QString, int> m_byKey; // upper-case key -> row
    QStringList m_headers;
    int m_cellIndex[OptionalCount] = {0, 1, 2, 3, 4, 5};
};
