// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "ui/editors/favoritesform.h"

#include <QDialog>
#include <QStringList>

class QLineEdit;

// One template's command, parameters and description. Refuses what the Favorites section
// cannot hold: an empty command or description, a command holding the "&&" separator, a
// description already used by another template (letter case aside).
class NewFavoriteForm : public QDialog
{
    Q_OBJECT
public:
    // `otherDescriptions`: the descriptions of the other templates.
    NewFavoriteForm(const JobTemplate &initial, const QStringList &otherDescriptions,
        QWidget *parent = nullptr);

    JobTemplate value() const;

    void accept() override;

private:
    QStringList m_others;
    QLineEdit *m_command, *m_parameters, *m_description;
};
