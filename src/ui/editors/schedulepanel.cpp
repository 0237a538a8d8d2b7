// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/schedulepanel.h"

#include "store/jobstore.h"
#include "ui/editors/customtimeform.h"
#include "ui/editors/editortext.h"
#include "ui/editors/filterdlg.h"
#include "ui/editors/formhelpers.h"
#include "ui/editors/jobrecord.h"

#include <QCheckBox>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>

using namespace Qt::StringLiterals;
using FormHelpers::button;
using FormHelpers::label;
using FormHelpers::spin;

namespace {
const QString dateFormat = u"yyyy/MM/dd"_s;
// Custom-time entries read beyond the kept entries, to tell the user about them.
constexpr int slotsToRead = CustomTimeValues::maxSlots + 1;
} // namespace

SchedulePanel::SchedulePanel(QWidget *parent) : QWidget(parent)
{
    m_hour = spin(this, u"EditHour"_s, 0, 23, tr("hour (0-23)"));
    m_minute = spin(this, u"EditMin"_s, 0, 59, tr("min (0-59)"));
    m_second = spin(this, u"EditSec"_s, 0, 59, tr("sec (0-59)"));
    m_customButton = button(tr("..."), u"ButtonCustomTime"_s, this, tr("Enter a custom time schedule"));
    m_customButton->setAccessibleName(tr("Custom times"));

    auto *fields = new QWidget(this);
    auto *fieldRow = new QHBoxLayout(fields);
    fieldRow->setContentsMargins(0, 0, 0, 0);
    fieldRow->addWidget(label(tr("H&our:"), m_hour, this));
    fieldRow->addWidget(m_hour);
    fieldRow->addWidget(label(tr("M&in:"), m_minute, this));
    fieldRow->addWidget(m_minute);
    fieldRow->addWidget(label(tr("S&ec:"), m_second, this));
    fieldRow->addWidget(m_second);
    fieldRow->addStretch();
    m_customLabel = new QLabel(this);
    m_customLabel->setObjectName(u"LabelCustomTime"_s);
    m_timeStack = new QStackedWidget(this);
    m_timeStack->addWidget(fields);
    m_timeStack->addWidget(m_customLabel);
    m_timeStack->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);

    auto *group = new QGroupBox(tr("Schedule"), this);
    group->setObjectName(u"GroupSchedule"_s);
    m_group = group;
    const QStringList kindTexts{ tr("E&very day"), tr("Every other odd day (&1,3..)"),
        tr("Every other even day (&2,4..)"), tr("These days:"), tr("These dates:"),
        tr("These days of the month:") };
    const QStringList kindNames{ u"RadioEveryDay"_s, u"RadioOddDays"_s, u"RadioEvenDays"_s,
        u"RadioTheseDays"_s, u"RadioTheseDates"_s, u"RadioDaysOfMonth"_s };
    for (int i = 0; i < kindTexts.size(); ++i) {
        auto *r = new QRadioButton(kindTexts[i], group);
        r->setObjectName(kindNames[i]);
        m_kinds.append(r);
        connect(r, &QRadioButton::toggled, this, &SchedulePanel::changed);
    }
    const QStringList dayTexts{ tr("sun"), tr("mon"), tr("tue"), tr("wed"), tr("thu"), tr("fri"), tr("sat") };
    const QStringList dayNames{ u"CheckSun"_s, u"CheckMon"_s, u"CheckTue"_s, u"CheckWed"_s,
        u"CheckThu"_s, u"CheckFri"_s, u"CheckSat"_s };
    auto *dayRow = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        auto *c = new QCheckBox(dayTexts[i], group);
        c->setObjectName(dayNames[i]);
        m_days.append(c);
        dayRow->addWidget(c);
        // Ticking a day chooses the weekday kind, as a user who ticks one means it.
        connect(c, &QCheckBox::toggled, this, [this](bool on) {
            if (on)
                m_kinds[3]->setChecked(true);
            emit changed();
        });
    }
    dayRow->addStretch();

    m_dates = new QListWidget(group);
    m_dates->setObjectName(u"ListDates"_s);
    m_dates->setAccessibleName(tr("Dates"));
    auto *addDateButton = button(tr("&add"), u"ButtonAddDate"_s, group);
    m_deleteDate = button(tr("&delete"), u"ButtonDeleteDate"_s, group);
    m_monthDays = new QListWidget(group);
    m_monthDays->setObjectName(u"ListMonthDays"_s);
    m_monthDays->setAccessibleName(tr("Days of the month"));
    m_monthDays->setSortingEnabled(true); // as text: the order the store has always had
    m_monthDay = spin(group, u"EditMonthDay"_s, 1, 31);
    m_monthDay->setAccessibleName(tr("Day of the month"));
    auto *addDayButton = button(tr("&add"), u"ButtonAddMonthDay"_s, group);
    m_deleteMonthDay = button(tr("&delete"), u"ButtonDeleteMonthDay"_s, group);
    for (QListWidget *l : { m_dates, m_monthDays })
        l->setMaximumHeight(90);

    auto *grid = new QGridLayout(group);
    grid->addWidget(m_kinds[0], 0, 0);
    grid->addWidget(m_kinds[1], 1, 0);
    grid->addWidget(m_kinds[2], 2, 0);
    grid->addWidget(m_kinds[3], 3, 0);
    grid->addLayout(dayRow, 4, 0, 1, 3);
    grid->addWidget(m_kinds[4], 0, 3, 1, 2);
    grid->addWidget(m_dates, 1, 3, 4, 1);
    auto *dateButtons = new QVBoxLayout;
    dateButtons->addWidget(addDateButton);
    dateButtons->addWidget(m_deleteDate);
    dateButtons->addStretch();
    grid->addLayout(dateButtons, 1, 4, 4, 1);
    grid->addWidget(m_kinds[5], 0, 5, 1, 2);
    grid->addWidget(m_monthDays, 1, 5, 4, 1);
    auto *dayButtons = new QVBoxLayout;
    dayButtons->addWidget(m_monthDay);
    dayButtons->addWidget(addDayButton);
    dayButtons->addWidget(m_deleteMonthDay);
    dayButtons->addStretch();
    grid->addLayout(dayButtons, 1, 6, 4, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(m_timeStack, 1);
    top->addWidget(m_customButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(top);
    layout->addWidget(group);

    connect(m_customButton, &QPushButton::clicked, this, &SchedulePanel::editCustomTime);
    connect(addDateButton, &QPushButton::clicked, this, &SchedulePanel::addDate);
    connect(addDayButton, &QPushButton::clicked, this, &SchedulePanel::addMonthDay);
    connect(m_deleteDate, &QPushButton::clicked, this, [this] {
        delete m_dates->currentItem();
        updateState();
        emit changed();
    });
    connect(m_deleteMonthDay, &QPushButton::clicked, this, [this] {
        delete m_monthDays->currentItem();
        updateState();
        emit changed();
    });
    for (QListWidget *l : { m_dates, m_monthDays })
        connect(l, &QListWidget::itemSelectionChanged, this, &SchedulePanel::updateState);
    for (QSpinBox *s : { m_hour, m_minute, m_second })
        connect(s, &QSpinBox::valueChanged, this, &SchedulePanel::changed);
    updateState();
}

void SchedulePanel::proposeNew(const QDateTime &now)
{
    // The next minute, so that the proposal is never a time already gone; past 23:59 it
    // is midnight of the next day, and the proposed date follows.
    const QDateTime next = now.addSecs(60);
    m_dates->clear();
    m_dates->addItem(next.date().toString(dateFormat));
    m_kinds[4]->setChecked(true);
    m_hour->setValue(next.time().hour());
    m_minute->setValue(next.time().minute());
    m_second->setValue(0);
    m_custom = CustomTimeValues();
    updateState();
}

QString SchedulePanel::load(JobStore &store, const QString &job)
{
    m_hour->setValue(store.readInteger(job, u"iHour"_s, 0));
    m_minute->setValue(store.readInteger(job, u"iMin"_s, 0));
    m_second->setValue(store.readInteger(job, u"iSec"_s, 0));
    const int kind = store.readInteger(job, u"iFrequency"_s, 5);
    for (QRadioButton *r : std::as_const(m_kinds))
        r->setAutoExclusive(false), r->setChecked(false), r->setAutoExclusive(true);
    if (kind >= 1 && kind <= 6)
        m_kinds[kind - 1]->setChecked(true);
    if (kind == 4) {
        const QString mask = store.readString(job, u"sFrequency Data"_s);
        for (int i = 0; i < 7; ++i) {
            const QSignalBlocker block(m_days[i]);
            m_days[i]->setChecked(mask.mid(i, 1) == u"1");
        }
    }
    if (kind == 5 || kind == 6) {
        QListWidget *list = kind == 5 ? m_dates : m_monthDays;
        list->clear();
        for (int i = 0;; ++i) {
            const QString entry = store.readString(job, u"sFreq"_s + QString::number(i));
            if (entry.isEmpty())
                break;
            list->addItem(entry);
        }
    }
    CustomTimeValues custom;
    custom.type = store.readInteger(job, u"iCustomTimeType"_s, 0);
    custom.hourMin = store.readInteger(job, u"iCustomTimeHourMin"_s, 0);
    bool truncated = false;
    for (int i = 0; i < slotsToRead; ++i) {
        const QString entry = store.readString(job, u"sCustomTime"_s + QString::number(i));
        if (entry.isEmpty())
            break;
        if (i == CustomTimeValues::maxSlots)
            truncated = true;
        else
            custom.entries.append(entry);
    }
    m_custom = custom;
    updateState();
    return truncated ? EditorText::customTimesTruncated() : QString();
}

int SchedulePanel::frequency() const
{
    for (int i = 0; i < m_kinds.size(); ++i)
        if (m_kinds[i]->isChecked())
            return i + 1;
    return 0;
}

QWidget *SchedulePanel::kindButton() const
{
    const int kind = frequency();
    return kind > 0 ? m_kinds[kind - 1] : m_kinds[0];
}

QStringList SchedulePanel::dates() const
{
    QStringList list;
    for (int i = 0; i < m_dates->count(); ++i)
        list.append(m_dates->item(i)->text());
    return list;
}

QString SchedulePanel::check() const
{
    // A job run on demand only has no day rule to complete.
    if (isOnDemand())
        return QString();
    switch (frequency()) {
    case 4:
        for (const QCheckBox *c : m_days)
            if (c->isChecked())
                return QString();
        return EditorText::noWeekday();
    case 5: return m_dates->count() == 0 ? EditorText::noDates() : QString();
    case 6: return m_monthDays->count() == 0 ? EditorText::noMonthDays() : QString();
    default: return QString();
    }
}

void SchedulePanel::setCustomTime(const CustomTimeValues &values)
{
    m_custom = values;
    updateState();
    emit changed();
}

void SchedulePanel::writeTime(JobRecord &record) const
{
    record.integer(u"iHour"_s, m_hour->value());
    record.integer(u"iMin"_s, m_minute->value());
    record.integer(u"iSec"_s, m_second->value());
}

void SchedulePanel::writeFrequency(JobRecord &record) const
{
    const int kind = frequency();
    if (kind == 0)
        return;
    record.integer(u"iFrequency"_s, kind);
    if (kind == 4) {
        QString mask;
        for (const QCheckBox *c : m_days)
            mask += c->isChecked() ? u'1' : u'0';
        record.text(u"sFrequency Data"_s, mask);
    }
    if (kind == 5 || kind == 6) {
        const QListWidget *list = kind == 5 ? m_dates : m_monthDays;
        for (int i = 0; i < list->count(); ++i)
            record.text(u"sFreq"_s + QString::number(i), list->item(i)->text());
    }
}

void SchedulePanel::writeCustomTime(JobRecord &record) const
{
    record.integer(u"iCustomTimeType"_s, m_custom.type);
    record.integer(u"iCustomTimeHourMin"_s, m_custom.hourMin);
    for (int i = 0; i < m_custom.entries.size() && i < CustomTimeValues::maxSlots; ++i)
        if (!m_custom.entries[i].isEmpty())
            record.text(u"sCustomTime"_s + QString::number(i), m_custom.entries[i]);
}

void SchedulePanel::editCustomTime()
{
    CustomTimeForm form(m_custom, this);
    if (form.exec() == QDialog::Accepted)
        setCustomTime(form.values());
}

void SchedulePanel::addDate()
{
    FilterDlg picker(QDate::currentDate(), this);
    if (picker.exec() != QDialog::Accepted)
        return;
    const QString text = picker.date().toString(dateFormat);
    if (m_dates->findItems(text, Qt::MatchExactly).isEmpty())
        m_dates->addItem(text);
    m_kinds[4]->setChecked(true);
    updateState();
    emit changed();
}

void SchedulePanel::addMonthDay()
{
    const QString text = QString::number(m_monthDay->value());
    if (m_monthDays->findItems(text, Qt::MatchExactly).isEmpty())
        m_monthDays->addItem(text);
    m_kinds[5]->setChecked(true);
    updateState();
    emit changed();
}

void SchedulePanel::updateState()
{
    m_timeStack->setCurrentIndex(m_custom.type == 0 ? 0 : 1);
    m_customLabel->setText(m_custom.type == -1 ? EditorText::onDemandPanel()
                                               : EditorText::customTimesPanel());
    m_group->setEnabled(m_custom.type != -1);
    m_deleteDate->setEnabled(!m_dates->selectedItems().isEmpty());
    m_deleteMonthDay->setEnabled(!m_monthDays->selectedItems().isEmpty());
}
