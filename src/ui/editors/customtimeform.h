// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QDialog>

class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;

// The custom time schedule of a job: none, listed minutes of every hour, listed times of
// day, every N minutes, N minutes after start-up, or on demand only. At most 25 entries.
class CustomTimeForm : public QDialog
{
    Q_OBJECT
public:
    explicit CustomTimeForm(const CustomTimeValues &values, QWidget *parent = nullptr);

    CustomTimeValues values() const { return m_values; }

    void accept() override;

private:
    int chosenType() const;
    void addEntry(QListWidget *list, const QString &entry);
    void updateEnabled();

    CustomTimeValues m_values;
    QRadioButton *m_none, *m_minutes, *m_times, *m_every, *m_after, *m_demand;
    QListWidget *m_minuteList, *m_timeList;
    QSpinBox *m_minute, *m_hour2, *m_minute2, *m_second2, *m_everyN, *m_afterN;
    QPushButton *m_addMinute, *m_deleteMinute, *m_addTime, *m_deleteTime;
};
