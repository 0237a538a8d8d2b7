// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>
#include <QList>
#include <QPair>

class QPushButton;
class QTreeWidget;

// The running processes to pick a name from, for the system job's "Terminate this process:".
class ProcessForm : public QDialog
{
    Q_OBJECT
public:
    using Row = QPair<QString, QString>; // process name, full path
    explicit ProcessForm(const QList<Row> &rows, QWidget *parent = nullptr);

    // The processes of this machine from /proc, as the engine's process list names them.
    static QList<Row> runningProcesses();

    QString chosen() const { return m_chosen; }

    void accept() override; // "&Select" and a double click

private:
    QString m_chosen;
    QTreeWidget *m_list;
    QPushButton *m_select;
};
