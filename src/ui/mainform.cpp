// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/mainform.h"

const QString MainForm::caption = QStringLiteral("Halvorn 95/NT");

MainForm::MainForm(QWidget *parent) : QMainWindow(parent)
{
    setWindowTitle(caption);
    resize(530, 370);
}
