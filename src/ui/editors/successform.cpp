// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/successform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QComboBox *choice(QWidget *parent, const QString &name, const QStringList &items, int current)
{
    auto *c = new QComboBox(parent);
    c->setObjectName(name);
    c->addItems(items);
    c->setCurrentIndex(current);
    return c;
}

QLineEdit *field(QWidget *parent, const QString &name, const QString &text, const QString &accessible)
{
    auto *e = new QLineEdit(text, parent);
    e->setObjectName(name);
    e->setAccessibleName(accessible);
    return e;
}

} // namespace

SuccessForm::SuccessForm(const SuccessValues &v, QWidget *parent) : QDialog(parent), m_values(v)
{
    setObjectName(u"TSuccessForm"_s);
    setWindowTitle(EditorText::successCaption());
    const QStringList andOr{ tr("and"), tr("or") };

    m_useErrLevel = new QCheckBox(tr("If &Errorlevel"), this);
    m_useErrLevel->setObjectName(u"CheckErrLevel"_s);
    m_useErrLevel->setChecked(v.useErrLevel);
    m_errLevEqual = choice(this, u"ComboErrLevEqual"_s,
        { u"="_s, u"<>"_s, u">"_s, u"<"_s, u">="_s, u"<="_s }, qBound(0, v.errLevEqual, 5));
    m_errLevEqual->setAccessibleName(tr("Comparison"));
    m_errLevValue = FormHelpers::spin(this, u"EditErrLevValue"_s, 0, 65536);
    m_errLevValue->setValue(v.errLevValue);
    m_errLevValue->setAccessibleName(tr("Errorlevel"));
    m_and1 = choice(this, u"ComboAnd1"_s, andOr, v.successAnd1 ? 0 : 1);
    m_and1->setAccessibleName(tr("First joiner"));

    m_useFile = new QCheckBox(tr("If &File:"), this);
    m_useFile->setObjectName(u"CheckFileExist"_s);
    m_useFile->setChecked(v.useFileExist);
    m_file = field(this, u"EditFileExName"_s, v.fileExFileName, tr("File"));
    auto *browseFile = FormHelpers::button(tr("..."), u"ButtonBrowseFile"_s, this);
    browseFile->setAccessibleName(tr("Browse"));
    m_fileExist = choice(this, u"ComboFileExist"_s, { tr("exists"), tr("does not exist") }, v.fileExExist ? 0 : 1);
    m_fileExist->setAccessibleName(tr("Existence"));
    m_and2 = choice(this, u"ComboAnd2"_s, andOr, v.successAnd2 ? 0 : 1);
    m_and2->setAccessibleName(tr("Second joiner"));

    m_useIni = new QCheckBox(tr("If &key:"), this);
    m_useIni->setObjectName(u"CheckIniKey"_s);
    m_useIni->setChecked(v.useIniKey);
    m_key = field(this, u"EditKeyName"_s, v.keyName, tr("Key"));
    m_section = field(this, u"EditSectionName"_s, v.sectionName, QString());
    m_iniEqual = choice(this, u"ComboIniEqual"_s, { u"="_s, u"<>"_s }, v.iniFileEqual ? 0 : 1);
    m_iniEqual->setAccessibleName(tr("Comparison"));
    m_value = field(this, u"EditKeyValue"_s, v.keyValue, tr("Value"));
    m_iniFile = field(this, u"EditIniFileName"_s, v.iniFileName, QString());
    auto *browseIni = FormHelpers::button(tr("..."), u"ButtonBrowseIni"_s, this);
    browseIni->setAccessibleName(tr("Browse"));

    m_status = choice(this, u"ComboStatus"_s, { tr("successful"), tr("failed") }, v.errLevSuccess ? 0 : 1);

    auto *errGroup = new QGroupBox(tr("Success\\Failure based on Errorlevel at Completion"), this);
    auto *errRow = new QHBoxLayout(errGroup);
    errRow->addWidget(m_useErrLevel);
    errRow->addWidget(m_errLevEqual);
    errRow->addWidget(m_errLevValue);
    errRow->addStretch();

    auto *fileGroup = new QGroupBox(tr("Success\\Failure based on existance of a file at Completion "), this);
    auto *fileRow = new QHBoxLayout(fileGroup);
    fileRow->addWidget(m_useFile);
    fileRow->addWidget(m_file, 1);
    fileRow->addWidget(browseFile);
    fileRow->addWidget(m_fileExist);
    fileRow->addWidget(new QLabel(tr("at completion"), this));

    auto *iniGroup = new QGroupBox(tr("Success\\Failure based on a key value in an INI file"), this);
    auto *iniGrid = new QGridLayout(iniGroup);
    iniGrid->addWidget(m_useIni, 0, 0);
    iniGrid->addWidget(m_key, 0, 1);
    iniGrid->addWidget(FormHelpers::label(tr("under &section:"), m_section, this), 0, 2);
    iniGrid->addWidget(m_section, 0, 3);
    iniGrid->addWidget(m_iniEqual, 0, 4);
    iniGrid->addWidget(m_value, 0, 5);
    iniGrid->addWidget(FormHelpers::label(tr("ini file &location name && path:"), m_iniFile, this), 1, 0, 1, 2);
    iniGrid->addWidget(m_iniFile, 1, 2, 1, 3);
    iniGrid->addWidget(browseIni, 1, 5);

    auto *statusRow = new QHBoxLayout;
    statusRow->addWidget(FormHelpers::label(tr("then the job status &is"), m_status, this));
    statusRow->addWidget(m_status);
    statusRow->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(errGroup);
    layout->addWidget(m_and1, 0, Qt::AlignHCenter);
    layout->addWidget(fileGroup);
    layout->addWidget(m_and2, 0, Qt::AlignHCenter);
    layout->addWidget(iniGroup);
    layout->addLayout(statusRow);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));

    connect(browseFile, &QPushButton::clicked, this, [this] {
        const QString name = Dialogs::current().openFileName(this, tr("File to test"), m_file->text(),
            tr("All files (*)"));
        if (!name.isEmpty())
            m_file->setText(name);
    });
    connect(browseIni, &QPushButton::clicked, this, [this] {
        const QString name = Dialogs::current().openFileName(this, tr("INI file"), m_iniFile->text(),
            tr("INI files (*.ini);;All files (*)"));
        if (!name.isEmpty())
            m_iniFile->setText(name);
    });
    for (QCheckBox *box : { m_useErrLevel, m_useFile, m_useIni })
        connect(box, &QCheckBox::toggled, this, &SuccessForm::updateEnabled);
    updateEnabled();
}

void SuccessForm::updateEnabled()
{
    m_errLevEqual->setEnabled(m_useErrLevel->isChecked());
    m_errLevValue->setEnabled(m_useErrLevel->isChecked());
    m_file->setEnabled(m_useFile->isChecked());
    m_fileExist->setEnabled(m_useFile->isChecked());
    for (QWidget *w : std::initializer_list<QWidget *>{ m_key, m_section, m_iniEqual, m_value, m_iniFile })
        w->setEnabled(m_useIni->isChecked());
}

void SuccessForm::accept()
{
    m_values.useErrLevel = m_useErrLevel->isChecked();
    m_values.errLevEqual = m_errLevEqual->currentIndex();
    m_values.errLevValue = m_errLevValue->value();
    m_values.successAnd1 = m_and1->currentIndex() == 0;
    m_values.useFileExist = m_useFile->isChecked();
    m_values.fileExFileName = m_file->text();
    m_values.fileExExist = m_fileExist->currentIndex() == 0;
    m_values.successAnd2 = m_and2->currentIndex() == 0;
    m_values.useIniKey = m_useIni->isChecked();
    m_values.keyName = m_key->text();
    m_values.sectionName = m_section->text();
    m_values.iniFileEqual = m_iniEqual->currentIndex() == 0;
    m_values.keyValue = m_value->text();
    m_values.iniFileName = m_iniFile->text();
    m_values.errLevSuccess = m_status->currentIndex() == 0;
    QDialog::accept();
}
