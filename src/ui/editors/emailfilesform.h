// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;

// The attachments of an e-mail job: at most 256 are kept.
class EmailFilesForm : public QDialog
{
    Q_OBJECT
public:
    static constexpr int maxFiles = 256;

    explicit EmailFilesForm(const QStringList &files, QWidget *parent = nullptr);

    QStringList files() const { return m_files; }

    void accept() override;

private:
    QStringList m_files;
    QListWidget *m_list;
    QPushButton *m_delete;
};
