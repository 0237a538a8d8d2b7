// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/mainform.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QStatusBar>

const QString MainForm::caption = QStringLiteral("Halvorn 95/NT");

MainForm::MainForm(QWidget *parent)
    : QMainWindow(parent), m_clock(new QLabel(this)), m_status(new QLabel(this)),
      m_log(new QPlainTextEdit(this))
{
    setWindowTitle(caption);
    resize(530, 370);
    m_log->setLineWrapMode(QPlainTextEdit::NoWrap);
    setCentralWidget(m_log);
    statusBar()->addWidget(m_clock);
    statusBar()->addWidget(m_status, 1);
}

void MainForm::logLineAdded(const QString &line) { m_log->appendPlainText(line); }

void MainForm::showStatus(const QString &text) { m_status->setText(text); }

void MainForm::showClock(const QString &time) { m_clock->setText(time); }

void MainForm::showMessage(const QString &text) { QMessageBox::information(this, caption, text); }

void MainForm::processPendingEvents() { QApplication::processEvents(); }

void MainForm::quit() { QApplication::exit(0); }

void MainForm::loadLog(const QString &path)
{
    m_logPath = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return;
    QString text = QString::fromUtf8(file.readAll());
    text.remove(u'\r');
    if (text.endsWith(u'\n'))
        text.chop(1);
    m_log->setPlainText(text);
}

void MainForm::reloadLog()
{
    m_log->clear();
    loadLog(m_logPath);
}
