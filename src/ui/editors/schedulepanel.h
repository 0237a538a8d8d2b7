// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/editorvalues.h"

#include <QWidget>

class JobRecord;
class JobStore;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QDateTime;

// The schedule part shared by every job editor: the time of day with the custom-time
// button (and the panel that replaces the time fields while custom times are in use), and
// the "Schedule" group of day rules with its weekday boxes, dates and days of the month.
class SchedulePanel : public QWidget
{
    Q_OBJECT
public:
    explicit SchedulePanel(QWidget *parent = nullptr);

    // A new job: today's date (or tomorrow's, when the proposed time is 00:00 of the next
    // day) under "These dates:", at the next whole minute.
    void proposeNew(const QDateTime &now);
    // Reads the schedule of a stored job. Returns a warning for the user when the job holds
    // more custom times than are kept, else empty.
    QString load(JobStore &store, const QString &job);

    // The first failed schedule check, else empty. A job run on demand only skips them.
    QString check() const;

    // 1 to 6, or 0 when no schedule kind is chosen.
    int frequency() const;
    QStringList dates() const;
    // The chosen schedule kind's button, for the focus after a failed check.
    QWidget *kindButton() const;
    bool isOnDemand() const { return m_custom.type == -1; }
    CustomTimeValues customTime() const { return m_custom; }
    void setCustomTime(const CustomTimeValues &values);

    // The time of day: iHour, iMin, iSec.
    void writeTime(JobRecord &record) const;
    // iFrequency with its weekdays, dates or days of the month, for the kind chosen only.
    void writeFrequency(JobRecord &record) const;
    // iCustomTimeType, iCustomTimeHourMin and the custom-time slots in use.
    void writeCustomTime(JobRecord &record) const;

    // Opens the custom-time dialog on the panel's working copy.
    void editCustomTime();
    void addDate();

signals:
    void changed();

private:
    void updateState();
    void addMonthDay();

    CustomTimeValues m_custom;
    QStackedWidget *m_timeStack;
    QLabel *m_customLabel;
    QSpinBox *m_hour, *m_minute, *m_second, *m_monthDay;
    QPushButton *m_customButton, *m_deleteDate, *m_deleteMonthDay;
    QWidget *m_group;
    QList<QRadioButton *> m_kinds; // index = kind - 1
    QList<QCheckBox *> m_days;     // Sunday first
    QListWidget *m_dates, *m_monthDays;
};
