// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/filterdlg.h"

#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QToolButton *arrow(QWidget *parent, Qt::ArrowType type, const QString &name, const QString &hint)
{
    auto *b = new QToolButton(parent);
    b->setArrowType(type);
    b->setObjectName(name);
    b->setToolTip(hint);
    b->setAutoRepeat(true);
    return b;
}

} // namespace

FilterDlg::FilterDlg(const QDate &initial, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"FilterDlg"_s);
    setWindowTitle(EditorText::filterCaption());
    m_calendar = new QCalendarWidget(this);
    m_calendar->setObjectName(u"Calendar1"_s);
    m_calendar->setFirstDayOfWeek(Qt::Sunday);
    m_calendar->setGridVisible(true);

    m_text = new QLabel(this);
    m_text->setObjectName(u"LabelDate"_s);

    auto *steps = new QGridLayout;
    const struct
    {
        const char *label;
        const char *name;
        int days, months, years;
    } rows[] = { { "Day", "Day", 1, 0, 0 }, { "Month", "Month", 0, 1, 0 }, { "Year", "Year", 0, 0, 1 } };
    int row = 0;
    for (const auto &r : rows) {
        const QString name = QString::fromLatin1(r.name);
        const QString caption = tr(r.label);
        auto *up = arrow(this, Qt::UpArrow, u"Up"_s + name, caption);
        auto *down = arrow(this, Qt::DownArrow, u"Down"_s + name, caption);
        const int days = r.days, months = r.months, years = r.years;
        connect(up, &QToolButton::clicked, this, [this, days, months, years] {
            setDate(date().addDays(days).addMonths(months).addYears(years));
        });
        connect(down, &QToolButton::clicked, this, [this, days, months, years] {
            setDate(date().addDays(-days).addMonths(-months).addYears(-years));
        });
        steps->addWidget(new QLabel(caption, this), row, 0);
        steps->addWidget(up, row, 1);
        steps->addWidget(down, row, 2);
        ++row;
    }
    auto *today = FormHelpers::button(tr("&Today"), u"ButtonToday"_s, this, tr("Today"));
    connect(today, &QPushButton::clicked, this, [this] { setDate(QDate::currentDate()); });
    steps->addWidget(today, row, 0, 1, 3);
    steps->setRowStretch(row + 1, 1);

    auto *top = new QHBoxLayout;
    top->addWidget(m_calendar, 1);
    top->addLayout(steps);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_text);
    layout->addWidget(FormHelpers::buttons(this, tr("&Ok"), u"ButtonOk"_s));

    connect(m_calendar, &QCalendarWidget::selectionChanged, this, &FilterDlg::showDate);
    connect(m_calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    setDate(initial.isValid() ? initial : QDate::currentDate());
    m_calendar->setFocus();
}

QDate FilterDlg::date() const { return m_calendar->selectedDate(); }

void FilterDlg::setDate(const QDate &date)
{
    m_calendar->setSelectedDate(date);
    showDate();
}

void FilterDlg::showDate()
{
    m_text->setText(QLocale().toString(date(), u"MMMM d, yyyy"_s));
}
