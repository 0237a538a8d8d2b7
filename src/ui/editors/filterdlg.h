// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDate>
#include <QDialog>

class QCalendarWidget;
class QLabel;

// The date picker ("Filter Date"): a month calendar starting on Sunday, arrows that step
// the day, month and year, a Today button and the chosen date spelt out.
class FilterDlg : public QDialog
{
    Q_OBJECT
public:
    explicit FilterDlg(const QDate &initial, QWidget *parent = nullptr);

    QDate date() const;
    void setDate(const QDate &date);

private:
    void showDate();

    QCalendarWidget *m_calendar;
    QLabel *m_text;
};
