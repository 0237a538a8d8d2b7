// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/processform.h"

#include "platform/processdata.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

QList<ProcessForm::Row> ProcessForm::runningProcesses()
{
    TProcessData::List list;
    try {
        TProcessData().GetProcessList(list);
    } catch (...) {
        return {};
    }
    QList<Row> rows;
    for (const auto &[name, process] : list)
        rows.append({ name, QFileInfo(u"/proc/"_s + QString::number(process.processId()) + u"/exe"_s).symLinkTarget() });
    return rows;
}

ProcessForm::ProcessForm(const QList<Row> &rows, QWidget *parent) : QDialog(parent)
{
    setObjectName(u"TProcessForm"_s);
    setWindowTitle(EditorText::processCaption());
    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"ListProcesses"_s);
    m_list->setHeaderLabels({ tr("Process"), tr("Path") });
    m_list->setRootIsDecorated(false);
    m_list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_list->setMinimumSize(420, 300);
    for (const auto &[name, path] : rows)
        m_list->addTopLevelItem(new QTreeWidgetItem({ name, path }));
    m_select = FormHelpers::button(tr("&Select"), u"ButtonSelect"_s, this);
    m_select->setDefault(true);
    auto *cancel = FormHelpers::button(tr("&Cancel"), u"ButtonCancel"_s, this);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_select);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(FormHelpers::label(tr("&Processes on your system:"), m_list, this));
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_select, &QPushButton::clicked, this, &ProcessForm::accept);
    connect(cancel, &QPushButton::clicked, this, &ProcessForm::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &ProcessForm::accept);
    connect(m_list, &QTreeWidget::itemSelectionChanged, this,
        [this] { m_select->setEnabled(!m_list->selectedItems().isEmpty()); });
    m_select->setEnabled(false);
}

void ProcessForm::accept()
{
    // Without a row nothing is taken, and the field keeps what it held.
    const QList<QTreeWidgetItem *> selected = m_list->selectedItems();
    if (selected.isEmpty())
        return;
    m_chosen = selected.first()->text(0);
    QDialog::accept();
}
