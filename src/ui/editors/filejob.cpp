// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/editors/filejob.h"

#include "store/jobstore.h"
#include "ui/dialogs.h"
#include "ui/editors/editortext.h"
#include "ui/editors/formhelpers.h"

#include <QButtonGroup>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

using namespace Qt::StringLiterals;
using FormHelpers::button;

namespace {

// The activities in the order of their job types 2 to 5 and of the stored booleans.
const char *const activityValues[] = { "bSysDeleteFile", "bSysCreateFile", "bSysCopyFile", "bSysRenameFile" };

// A target names a folder when it ends in "/" or is an existing folder.
bool namesFolder(const QString &target)
{
    return target.endsWith(u'/') || (!target.isEmpty() && QFileInfo(target).isDir());
}

} // namespace

FileJob::FileJob(const EditorContext &context, const QString &jobName, QWidget *parent)
    : ActivityJobEditor(context, EditorText::fileJobCaption(), parent)
{
    setObjectName(u"TFileJob"_s);
    auto *group = new QGroupBox(tr("File Activity"), this);
    m_activity = new QButtonGroup(this);
    const QStringList texts{ tr("&Delete source file(s)"), tr("Create or &Empty source file(s)"),
        tr("Co&py source to target"), tr("&Rename source to target") };
    const QStringList names{ u"RadioDelete"_s, u"RadioCreate"_s, u"RadioCopy"_s, u"RadioRename"_s };
    auto *grid = new QGridLayout(group);
    for (int i = 0; i < 4; ++i) {
        auto *r = new QRadioButton(texts[i], group);
        r->setObjectName(names[i]);
        m_activity->addButton(r, i + 2);
        grid->addWidget(r, i, 0);
    }
    m_sources = new QListWidget(group);
    m_sources->setObjectName(u"ListSources"_s);
    m_sources->setAccessibleName(tr("Source files"));
    m_sources->setMaximumHeight(110);
    auto *add = button(tr("&add"), u"ButtonAddSource"_s, group);
    m_delete = button(tr("de&lete"), u"ButtonDeleteSource"_s, group);
    m_target = new QLineEdit(group);
    m_target->setObjectName(u"EditTarget"_s);
    m_target->setToolTip(tr("Enter a folder or file that will be the target of the file operation"));
    auto *browse = button(tr("..."), u"ButtonBrowseTarget"_s, group);
    browse->setAccessibleName(tr("Browse for a target file"));
    auto *folder = button(tr("F&older..."), u"ButtonBrowseFolder"_s, group, tr("Choose a folder as the target"));

    grid->addWidget(new QLabel(tr("Source file(s):"), group), 0, 1);
    grid->addWidget(m_sources, 1, 1, 3, 2);
    auto *sourceButtons = new QVBoxLayout;
    sourceButtons->addWidget(add);
    sourceButtons->addWidget(m_delete);
    sourceButtons->addStretch();
    grid->addLayout(sourceButtons, 1, 3, 3, 1);
    auto *targetRow = new QHBoxLayout;
    targetRow->addWidget(FormHelpers::label(tr("&Target:"), m_target, group));
    targetRow->addWidget(m_target, 1);
    targetRow->addWidget(browse);
    targetRow->addWidget(folder);
    grid->addLayout(targetRow, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
    setActivityWidget(group);

    connect(add, &QPushButton::clicked, this, [this] {
        m_sources->addItems(Dialogs::current().openFileNames(this, tr("Source files"), QString(),
            tr("All files (*)")));
    });
    connect(m_delete, &QPushButton::clicked, this, [this] {
        delete m_sources->currentItem();
        m_delete->setEnabled(!m_sources->selectedItems().isEmpty());
    });
    connect(m_sources, &QListWidget::itemSelectionChanged, this,
        [this] { m_delete->setEnabled(!m_sources->selectedItems().isEmpty()); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString t = m_target->text();
        const QString start = t.isEmpty() ? QString() : (t.endsWith(u'/') ? t : QFileInfo(t).path());
        const QString name = Dialogs::current().openFileName(this, tr("Target file"), start, tr("All files (*)"));
        if (!name.isEmpty())
            m_target->setText(name);
    });
    connect(folder, &QPushButton::clicked, this, [this] {
        QString name = Dialogs::current().folderName(this, tr("Target folder"), m_target->text());
        if (name.isEmpty())
            return;
        if (!name.endsWith(u'/'))
            name += u'/';
        m_target->setText(name);
    });
    m_delete->setEnabled(false);
    open(jobName);
}

int FileJob::jobType() const { return m_activity->checkedId() >= 2 ? m_activity->checkedId() : 2; }

void FileJob::loadOwn(JobStore &store, const QString &job)
{
    for (int i = 0; i < 4; ++i)
        if (store.readBoolean(job, QString::fromLatin1(activityValues[i]), false)) {
            m_activity->button(i + 2)->setChecked(true);
            break;
        }
    for (int i = 0;; ++i) {
        const QString source = store.readString(job, u"sSysSourceFileName"_s + QString::number(i));
        if (source.isEmpty())
            break;
        m_sources->addItem(source);
    }
    m_target->setText(store.readString(job, u"sSysTargetFileName"_s));
}

ActivityJobEditor::Refusal FileJob::checkOwn()
{
    const int activity = m_activity->checkedId();
    const QString target = m_target->text();
    if (activity < 2)
        return { EditorText::noFileActivity(), m_activity->button(2) };
    if (m_sources->count() == 0)
        return { EditorText::noSources(), m_sources };
    if (m_sources->count() > 1 && !target.isEmpty() && !namesFolder(target))
        return { EditorText::targetMustBeFolder(), m_target };
    if (target.isEmpty() && (activity == 4 || activity == 5))
        return { EditorText::noTarget(), m_target };
    if (m_sources->count() > 1 && activity == 5)
        return { EditorText::oneRename(), m_sources };
    return {};
}

void FileJob::prepareWrite()
{
    // An existing folder named without its "/" is stored with it, so the engine takes it
    // as a folder whatever happens to the name later.
    const QString target = m_target->text();
    if (!target.isEmpty() && !target.endsWith(u'/') && QFileInfo(target).isDir())
        m_target->setText(target + u'/');
}

void FileJob::writeOwn(JobRecord &record) const
{
    for (int i = 0; i < 4; ++i)
        record.boolean(QString::fromLatin1(activityValues[i]), m_activity->checkedId() == i + 2);
    for (int i = 0; i < m_sources->count(); ++i)
        record.text(u"sSysSourceFileName"_s + QString::number(i), m_sources->item(i)->text());
    record.text(u"sSysTargetFileName"_s, m_target->text());
}
