// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"


#include <QLineEdit>
#include <QSpinBox>

using namespace Qt::StringLiterals;

namespace {

TEST_F(EditorTest, AJobMadeInTheEditorRunsAsItsScheduleSays)
{
    clock.set(QDateTime(QDate(2026, 12, 10), QTime(9, 0, 0)));
    auto editor = open();
    child<QLineEdit>(editor.get(), "EditJobName")->setText(u"Report"_s);
    child<QLineEdit>(editor.get(), "EditProgram")->setText(u"/usr/bin/report"_s);
    child<QLineEdit>(editor.get(), "EditCommandLine")->setText(u"--daily 'out dir'"_s);
    click(editor.get(), "RadioTheseDays");
    click(editor.get(), "CheckThu"); // 2026-12-10 is a Thursday
    child<QSpinBox>(editor.get(), "EditHour")->setValue(10);
    child<QSpinBox>(editor.get(), "EditMin")->setValue(0);
    click(editor.get(), "ButtonSave");
    ASSERT_EQ(editor->result(), QDialog::Accepted);

    SchedulerRun run(profile, clock);
    ASSERT_EQ(run.engine.queue().count(), 1);
    run.tickFrom(QDateTime(QDate(2026, 12, 10), QTime(9, 59, 59, 500)), 8);
    ASSERT_EQ(run.launcher.processes().size(), 1);
    EXPECT_EQ(run.launcher.processes()[0].request.arguments,
        (QStringList{ u"/usr/bin/report"_s, u"--daily"_s, u"out dir"_s }));
}

} // namespace

#include "ui/editors/editorfactory.h"

namespace {

TEST_F(EditorTest, TheFactoryOpensTheProgramEditorAndNamesTheSavedJob)
{
    EditorFactory factory(context);
    EXPECT_TRUE(factory.canEdit(0));
    whenShown<SingleJob>([](SingleJob *e) {
        child<QLineEdit>(e, "EditJobName")->setText(u"Made"_s);
        child<QLineEdit>(e, "EditProgram")->setText(u"/bin/true"_s);
        click(e, "ButtonSave");
    });
    EXPECT_TRUE(factory.edit(nullptr, QString(), 0));
    EXPECT_EQ(factory.savedJobName(), u"Made"_s);
    whenShown<SingleJob>([](SingleJob *e) { click(e, "ButtonCancel"); });
    EXPECT_FALSE(factory.edit(nullptr, u"Made"_s, 0));
    EXPECT_TRUE(factory.savedJobName().isEmpty());
}

} // namespace
