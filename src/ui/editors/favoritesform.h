// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QDialog>
#include <QList>
#include <QString>

class QPushButton;
class QTreeWidget;
class Settings;

// One job template of the Favorites section: the value name is the description, the data
// the command, "&&" and the parameters.
struct JobTemplate
{
    QString description;
    QString command;
    QString parameters;
    friend bool operator==(const JobTemplate &, const JobTemplate &) = default;

    static constexpr QStringView separator = u"&&";
    static JobTemplate fromValue(const QString &name, const QString &data);
    QString data() const { return command + separator + parameters; }
};

// The template list: pick a template's command and parameters for a program job, and add,
// change or remove templates. A changed list is written back when the dialog closes, as one
// change; when that fails the dialog stays open and the stored list is unchanged.
class FavoritesForm : public QDialog
{
    Q_OBJECT
public:
    explicit FavoritesForm(Settings &settings, QWidget *parent = nullptr);

    static QList<JobTemplate> read(Settings &settings);
    static bool write(Settings &settings, const QList<JobTemplate> &templates);

    // The chosen template after "&Select".
    JobTemplate selected() const { return m_selected; }

    void accept() override; // "&Select"
    void reject() override; // "&Cancel", Esc, the close box

private:
    void edit(int row);
    void fill();
    void updateEnabled();
    bool saveIfChanged();

    Settings &m_settings;
    QList<JobTemplate> m_templates;
    bool m_changed = false;
    bool m_saveFailed = false;
    JobTemplate m_selected;
    QTreeWidget *m_list;
    QPushButton *m_select, *m_edit, *m_delete;
};
