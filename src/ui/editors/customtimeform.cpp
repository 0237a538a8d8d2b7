// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/customtimeform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;
using FormHelpers::button;
using FormHelpers::spin;

namespace {

QRadioButton *radio(const QString &text, const QString &name, QWidget *parent)
{
    auto *r = new QRadioButton(text, parent);
    r->setObjectName(name);
    return r;
}

QString twoDigits(int n) { return QString::number(n).rightJustified(2, u'0'); }

} // namespace

CustomTimeForm::CustomTimeForm(const CustomTimeValues &values, QWidget *parent)
    : QDialog(parent), m_values(values)
{
    setObjectName(u"TCustomTimeForm"_s);
    setWindowTitle(EditorText::customTimeCaption());

    m_none = radio(tr("&No custom time schedule"), u"RadioNone"_s, this);
    m_minutes = radio(tr("Run job every hour on these &minutes:"), u"RadioMinutes"_s, this);
    m_times = radio(tr("Run job at these &times on the selected scheduled dates:"), u"RadioTimes"_s, this);
    m_every = radio(tr("Run job &every"), u"RadioEvery"_s, this);
    m_after = radio(tr("Run &job"), u"RadioAfterStartup"_s, this);
    m_demand = radio(tr("Run this job on &demand only"), u"RadioDemand"_s, this);

    m_minuteList = new QListWidget(this);
    m_minuteList->setObjectName(u"ListMinutes"_s);
    m_minute = spin(this, u"EditMinute"_s, 0, 59);
    m_addMinute = button(tr("add:"), u"ButtonAddMinute"_s, this);
    m_deleteMinute = button(tr("delete"), u"ButtonDeleteMinute"_s, this);

    m_timeList = new QListWidget(this);
    m_timeList->setObjectName(u"ListTimes"_s);
    m_hour2 = spin(this, u"EditTimeHour"_s, 0, 23);
    m_minute2 = spin(this, u"EditTimeMin"_s, 0, 59);
    m_second2 = spin(this, u"EditTimeSec"_s, 0, 59);
    for (QListWidget *l : { m_minuteList, m_timeList })
        l->setMaximumHeight(110);
    m_addTime = button(tr("add:"), u"ButtonAddTime"_s, this);
    m_deleteTime = button(tr("delete"), u"ButtonDeleteTime"_s, this);

    const int n = values.hourMin >= 1 && values.hourMin <= 59 ? values.hourMin : 1;
    m_everyN = spin(this, u"EditEveryMinutes"_s, 1, 59);
    m_everyN->setValue(n);
    m_afterN = spin(this, u"EditAfterStartup"_s, 1, 59);
    m_afterN->setValue(n);

    auto *grid = new QGridLayout;
    int row = 0;
    grid->addWidget(m_none, row++, 0, 1, 6);
    grid->addWidget(m_minutes, row++, 0, 1, 6);
    grid->addWidget(m_minuteList, row, 0, 3, 2);
    grid->addWidget(m_addMinute, row, 2);
    grid->addWidget(m_minute, row, 3);
    grid->addWidget(m_deleteMinute, row + 1, 2);
    row += 3;
    grid->addWidget(m_times, row++, 0, 1, 6);
    grid->addWidget(m_timeList, row, 0, 3, 2);
    grid->addWidget(m_addTime, row, 2);
    auto *timeFields = new QHBoxLayout;
    timeFields->addWidget(FormHelpers::label(tr("hour:"), m_hour2, this));
    timeFields->addWidget(m_hour2);
    timeFields->addWidget(FormHelpers::label(tr("min:"), m_minute2, this));
    timeFields->addWidget(m_minute2);
    timeFields->addWidget(FormHelpers::label(tr("sec:"), m_second2, this));
    timeFields->addWidget(m_second2);
    grid->addLayout(timeFields, row, 3, 1, 3);
    grid->addWidget(m_deleteTime, row + 1, 2);
    row += 3;
    auto *every = new QHBoxLayout;
    every->addWidget(m_every);
    every->addWidget(m_everyN);
    every->addWidget(new QLabel(tr("minutes"), this));
    every->addStretch();
    grid->addLayout(every, row++, 0, 1, 6);
    auto *after = new QHBoxLayout;
    after->addWidget(m_after);
    after->addWidget(m_afterN);
    after->addWidget(new QLabel(tr("minutes after startup (Halvorn is in system startup)"), this));
    after->addStretch();
    grid->addLayout(after, row++, 0, 1, 6);
    grid->addWidget(m_demand, row++, 0, 1, 6);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));

    // The entries fill the list of the kind in use.
    QListWidget *list = values.type == 1 ? m_minuteList : values.type == 2 ? m_timeList : nullptr;
    if (list)
        for (const QString &entry : values.entries)
            if (!entry.isEmpty())
                list->addItem(entry);

    switch (values.type) {
    case -1: m_demand->setChecked(true); break;
    case 1: m_minutes->setChecked(true); break;
    case 2: m_times->setChecked(true); break;
    case 3: m_every->setChecked(true); break;
    case 4: m_after->setChecked(true); break;
    default: m_none->setChecked(true); break;
    }

    connect(m_addMinute, &QPushButton::clicked, this, [this] {
        m_minutes->setChecked(true);
        addEntry(m_minuteList, QString::number(m_minute->value()));
    });
    connect(m_addTime, &QPushButton::clicked, this, [this] {
        m_times->setChecked(true);
        addEntry(m_timeList, twoDigits(m_hour2->value()) + u':' + twoDigits(m_minute2->value())
                + u':' + twoDigits(m_second2->value()));
    });
    connect(m_deleteMinute, &QPushButton::clicked, this, [this] { delete m_minuteList->currentItem(); });
    connect(m_deleteTime, &QPushButton::clicked, this, [this] { delete m_timeList->currentItem(); });
    for (QListWidget *l : { m_minuteList, m_timeList })
        connect(l, &QListWidget::itemSelectionChanged, this, &CustomTimeForm::updateEnabled);
    connect(m_minuteList->model(), &QAbstractItemModel::rowsRemoved, this, &CustomTimeForm::updateEnabled);
    connect(m_timeList->model(), &QAbstractItemModel::rowsRemoved, this, &CustomTimeForm::updateEnabled);
    updateEnabled();
}

void CustomTimeForm::updateEnabled()
{
    m_deleteMinute->setEnabled(!m_minuteList->selectedItems().isEmpty());
    m_deleteTime->setEnabled(!m_timeList->selectedItems().isEmpty());
}

void CustomTimeForm::addEntry(QListWidget *list, const QString &entry)
{
    if (!list->findItems(entry, Qt::MatchExactly).isEmpty())
        return;
    if (list->count() >= CustomTimeValues::maxSlots) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::tooManyCustomTimes(),
            windowTitle());
        return;
    }
    list->addItem(entry);
}

int CustomTimeForm::chosenType() const
{
    if (m_demand->isChecked())
        return -1;
    if (m_minutes->isChecked())
        return 1;
    if (m_times->isChecked())
        return 2;
    if (m_every->isChecked())
        return 3;
    if (m_after->isChecked())
        return 4;
    return 0;
}

void CustomTimeForm::accept()
{
    const int type = chosenType();
    // A kind that lists entries but has none would never start the job.
    if (type == 1 && m_minuteList->count() == 0) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::noCustomMinutes(), windowTitle());
        return;
    }
    if (type == 2 && m_timeList->count() == 0) {
        Dialogs::current().message(this, Dialogs::Kind::Warning, EditorText::noCustomTimes(), windowTitle());
        return;
    }
    m_values.type = type;
    m_values.entries.clear();
    if (QListWidget *list = type == 1 ? m_minuteList : type == 2 ? m_timeList : nullptr)
        for (int i = 0; i < list->count() && i < CustomTimeValues::maxSlots; ++i)
            m_values.entries.append(list->item(i)->text());
    if (type == 3)
        m_values.hourMin = m_everyN->value();
    else if (type == 4)
        m_values.hourMin = m_afterN->value();
    QDialog::accept();
}
