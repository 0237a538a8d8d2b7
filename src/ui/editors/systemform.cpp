// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/systemform.h"

#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QButtonGroup *choices(QWidget *dialog, QGroupBox *box, const QString &prefix, const QStringList &texts,
    int value)
{
    auto *group = new QButtonGroup(dialog);
    auto *layout = new QVBoxLayout(box);
    for (int i = 0; i < texts.size(); ++i) {
        auto *r = new QRadioButton(texts[i], box);
        r->setObjectName(prefix + QString::number(i));
        group->addButton(r, i);
        layout->addWidget(r);
    }
    if (QAbstractButton *b = group->button(value))
        b->setChecked(true);
    return group;
}

} // namespace

SystemForm::SystemForm(const SystemValues &v, QWidget *parent) : QDialog(parent), m_values(v)
{
    setObjectName(u"TSystemForm"_s);
    setWindowTitle(EditorText::systemCaption());
    auto *appearance = new QGroupBox(tr("Job's program window appearance"), this);
    m_appearance = choices(this, appearance, u"RadioAppearance"_s,
        { tr("&Normal"), tr("Ma&ximized"), tr("Mi&nimized"), tr("&Hidden") }, v.appearance);
    auto *priority = new QGroupBox(tr("Program priority settings"), this);
    m_priority = choices(this, priority, u"RadioPriority"_s,
        { tr("Normal &Priority"), tr("Hi&gh Priority"), tr("&Idle Priority"),
            tr("&Real-time Priority (NOTE: only use this priority for immediate short jobs!)") },
        v.priority);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(appearance);
    layout->addWidget(priority);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));
}

void SystemForm::accept()
{
    // An unknown stored value with nothing ticked stays as it was.
    if (m_appearance->checkedId() >= 0)
        m_values.appearance = m_appearance->checkedId();
    if (m_priority->checkedId() >= 0)
        m_values.priority = m_priority->checkedId();
    QDialog::accept();
}
