// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/favoritesform.h"

#include "store/settings.h"
#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"
#include "ui/editors/newfavoriteform.h"

#include <QGridLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

JobTemplate JobTemplate::fromValue(const QString &name, const QString &data)
{
    const qsizetype at = data.indexOf(separator);
    if (at < 0)
        return { name, data, QString() };
    return { name, data.left(at), data.mid(at + separator.size()) };
}

QList<JobTemplate> FavoritesForm::read(Settings &settings)
{
    QList<JobTemplate> list;
    for (const auto &[name, data] : settings.values(Settings::Section::Favorites))
        list.append(JobTemplate::fromValue(name, data));
    return list;
}

bool FavoritesForm::write(Settings &settings, const QList<JobTemplate> &templates)
{
    QList<Registry::Value> values;
    for (const JobTemplate &t : templates)
        values.append({ t.description, t.data() });
    return settings.replaceSection(Settings::Section::Favorites, values);
}

FavoritesForm::FavoritesForm(Settings &settings, QWidget *parent)
    : QDialog(parent), m_settings(settings), m_templates(read(settings))
{
    setObjectName(u"TFavoritesForm"_s);
    setWindowTitle(EditorText::favoritesCaption());
    m_list = new QTreeWidget(this);
    m_list->setObjectName(u"ListFavorites"_s);
    m_list->setHeaderLabels({ tr("Description"), tr("Command"), tr("Parameters") });
    m_list->setRootIsDecorated(false);
    m_list->setAllColumnsShowFocus(true);
    m_list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_list->setMinimumWidth(480);

    m_select = FormHelpers::button(tr("&Select"), u"ButtonSelect"_s, this);
    m_select->setDefault(true);
    auto *cancel = FormHelpers::button(tr("&Cancel"), u"ButtonCancel"_s, this);
    auto *add = FormHelpers::button(tr("&Add"), u"ButtonAdd"_s, this);
    m_edit = FormHelpers::button(tr("&Edit"), u"ButtonEdit"_s, this);
    m_delete = FormHelpers::button(tr("&Delete"), u"ButtonDelete"_s, this);

    auto *side = new QVBoxLayout;
    for (QPushButton *b : { m_select, cancel, add, m_edit, m_delete })
        side->addWidget(b);
    side->addStretch();
    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addLayout(side);

    connect(m_select, &QPushButton::clicked, this, &FavoritesForm::accept);
    connect(cancel, &QPushButton::clicked, this, &FavoritesForm::reject);
    connect(add, &QPushButton::clicked, this, [this] { edit(-1); });
    connect(m_edit, &QPushButton::clicked, this, [this] {
        edit(m_list->indexOfTopLevelItem(m_list->currentItem()));
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
        if (row < 0)
            return;
        m_templates.removeAt(row);
        m_changed = true;
        fill();
    });
    connect(m_list, &QTreeWidget::itemSelectionChanged, this, &FavoritesForm::updateEnabled);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &FavoritesForm::accept);
    fill();
}

void FavoritesForm::fill()
{
    m_list->clear();
    for (const JobTemplate &t : std::as_const(m_templates))
        m_list->addTopLevelItem(new QTreeWidgetItem({ t.description, t.command, t.parameters }));
    m_list->setCurrentItem(nullptr);
    m_list->clearSelection();
    updateEnabled();
}

void FavoritesForm::updateEnabled()
{
    const bool any = !m_list->selectedItems().isEmpty();
    m_select->setEnabled(any);
    m_edit->setEnabled(any);
    m_delete->setEnabled(any);
}

void FavoritesForm::edit(int row)
{
    QStringList others;
    for (int i = 0; i < m_templates.size(); ++i)
        if (i != row)
            others.append(m_templates[i].description);
    NewFavoriteForm form(row >= 0 ? m_templates[row] : JobTemplate(), others, this);
    if (form.exec() != QDialog::Accepted)
        return;
    if (row >= 0)
        m_templates[row] = form.value();
    else
        m_templates.append(form.value());
    m_changed = true;
    fill();
}

bool FavoritesForm::saveIfChanged()
{
    if (!m_changed)
        return true;
    if (!write(m_settings, m_templates)) {
        Dialogs::current().message(this, Dialogs::Kind::Error, EditorText::templatesNotSaved(),
            windowTitle());
        return false;
    }
    m_changed = false;
    return true;
}

void FavoritesForm::accept()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (row < 0 || m_list->selectedItems().isEmpty())
        return;
    if (!saveIfChanged())
        return;
    m_selected = m_templates[row];
    QDialog::accept();
}

void FavoritesForm::reject()
{
    // After one failed write a further Cancel closes without the changes, so a registry
    // that stays unwritable cannot hold the dialog open.
    if (!m_saveFailed && !saveIfChanged()) {
        m_saveFailed = true;
        return;
    }
    QDialog::reject();
}
