// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/prestartform.h"

#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {
constexpr int designMegabytes = 10;
bool isDirectory(const QString &path) { return !path.isEmpty() && QFileInfo(path).isDir(); }
} // namespace

PrestartForm::PrestartForm(const PrestartValues &values, const Drives &drives, QWidget *parent)
    : QDialog(parent), m_values(values)
{
    setObjectName(u"TPrestartForm"_s);
    setWindowTitle(EditorText::prestartCaption());

    m_none = new QRadioButton(tr("There are &no prestart criteria"), this);
    m_none->setObjectName(u"RadioNoPrestart"_s);
    m_perform = new QRadioButton(tr("&Perform the following prestart criteria:"), this);
    m_perform->setObjectName(u"RadioPrestart"_s);
    m_checkDir = new QCheckBox(tr("Set starting &directory:"), this);
    m_checkDir->setObjectName(u"CheckStartDir"_s);
    m_dir = new QLineEdit(values.startDir, this);
    m_dir->setObjectName(u"EditStartDir"_s);
    m_dir->setAccessibleName(tr("Starting directory"));
    m_dirStatus = new QLabel(this);
    m_dirStatus->setObjectName(u"LabelDirStatus"_s);
    m_checkDisk = new QCheckBox(tr("Only start job if there is at &least"), this);
    m_checkDisk->setObjectName(u"CheckDiskFree"_s);
    m_megabytes = FormHelpers::spin(this, u"EditDiskFreeMb"_s, 0, 999999999);
    m_megabytes->setAccessibleName(tr("Megabytes free"));
    m_drive = new QComboBox(this);
    m_drive->setObjectName(u"ComboDrive"_s);

    for (const auto &[letter, folder] : drives)
        m_drive->addItem(QString(letter) + u":  " + folder, QString(letter));
    // A letter that is not mapped (any more) is still shown, so it is not lost unseen.
    if (!values.drive.isEmpty() && m_drive->findData(values.drive.left(1).toLower()) < 0)
        m_drive->addItem(values.drive.left(1).toLower() + u":  " + EditorText::driveNotMapped(),
            values.drive.left(1).toLower());
    const int current = m_drive->findData(values.drive.isEmpty() ? u"c"_s : values.drive.left(1).toLower());
    m_drive->setCurrentIndex(current);

    m_none->setChecked(!values.checkPreStart);
    m_perform->setChecked(values.checkPreStart);
    m_checkDir->setChecked(values.checkStartDir);
    m_checkDisk->setChecked(values.checkDiskFree);
    m_megabytes->setValue(values.checkDiskFree || values.diskFreeMb != 0 ? values.diskFreeMb : designMegabytes);

    auto *grid = new QGridLayout;
    grid->addWidget(m_none, 0, 0, 1, 5);
    grid->addWidget(m_perform, 1, 0, 1, 5);
    grid->addWidget(m_checkDir, 2, 0);
    grid->addWidget(m_dir, 2, 1, 1, 4);
    grid->addWidget(m_dirStatus, 3, 1, 1, 4);
    grid->addWidget(m_checkDisk, 4, 0);
    grid->addWidget(m_megabytes, 4, 1);
    grid->addWidget(new QLabel(tr("mb free on"), this), 4, 2);
    grid->addWidget(FormHelpers::label(tr("D&rive:"), m_drive, this), 4, 3);
    grid->addWidget(m_drive, 4, 4);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(FormHelpers::buttons(this, tr("&Save"), u"ButtonSave"_s));

    connect(m_dir, &QLineEdit::textChanged, this, &PrestartForm::updateState);
    for (QCheckBox *box : { m_checkDir, m_checkDisk })
        connect(box, &QCheckBox::toggled, this, [this](bool on) {
            if (on)
                m_perform->setChecked(true);
            updateState();
        });
    updateState();
}

void PrestartForm::updateState()
{
    m_dirStatus->setText(isDirectory(m_dir->text()) ? EditorText::validDirectory()
                                                    : EditorText::invalidDirectory());
    m_megabytes->setEnabled(m_checkDisk->isChecked());
    m_drive->setEnabled(m_checkDisk->isChecked());
}

void PrestartForm::accept()
{
    // A folder missing now (an unmounted share) may be there when the job runs: the
    // check stays on and the prestart check decides then.
    if (m_checkDir->isChecked() && !isDirectory(m_dir->text()))
        Dialogs::current().message(this, Dialogs::Kind::Warning,
            EditorText::startDirMissing(m_dir->text()), windowTitle());
    m_values.checkPreStart = m_perform->isChecked();
    m_values.checkStartDir = m_checkDir->isChecked();
    m_values.startDir = m_dir->text();
    m_values.checkDiskFree = m_checkDisk->isChecked();
    if (m_values.checkDiskFree) {
        m_values.diskFreeMb = m_megabytes->value();
        m_values.drive = m_drive->currentData().toString();
    }
    QDialog::accept();
}
