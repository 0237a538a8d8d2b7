// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QMainWindow>

// The main window. For now only the frame; the job list and the log follow.
class MainForm : public QMainWindow
{
    Q_OBJECT
public:
    static const QString caption;

    explicit MainForm(QWidget *parent = nullptr);
};
