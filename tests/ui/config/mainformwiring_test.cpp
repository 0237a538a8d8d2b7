// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The configuration dialog and the password check behind the main window, as voltrane
// wires them.

#include "log/activitylog.h"
#include "store/jobstore.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/ui/scripteddialogs.h"
#include "ui/config/configform.h"
#include "ui/config/configprofile.h"
#include "ui/config/configtext.h"
#include "ui/config/passwordcheck.h"
#include "ui/joblistmodel.h"
#include "ui/mainform.h"
#include "ui/mainformtext.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class MainFormWiringTest : public ::testing::Test, protected ConfigProfile
{
protected:
    JobStore store{registry};
    FakeClock clock{QDateTime(QDate(2026, 12, 10), QTime(14, 5, 9))};
    FakeProcessLauncher launcher;
    ActivityLog log{settings, clock};
    std::unique_ptr<MainForm> form;
    std::unique_ptr<PasswordCheck> check;
    QString logPath = profile.path(u"test.log"_s);

    void SetUp() override
    {
        settings.setText(settings::LogFile, logPath);
        settings.setText(settings::InstalledVersion, MainFormText::version());
        store.writeString(u"Backup"_s, u"sJobName"_s, u"Backup"_s);
        store.writeInteger(u"Backup"_s, u"iFrequency"_s, 1);
        form = std::make_unique<MainForm>(MainForm::Services{store, settings, log, clock, launcher,
            [](const QString &) { return std::optional<qint64>(qint64(1) << 40); }});
        check = std::make_unique<PasswordCheck>(settings, store, password);
        form->setPasswordGuard(check.get());
        form->setConfigurationDialog([this](QWidget *parent) {
            return ConfigForm::run(parent, settings, password, [this] { form->reloadLog(); });
        });
        form->start({u"voltrane"_s});
    }
    void TearDown() override { form->closeWithoutQuestions(); }

    QStringList headers() const { return form->jobList()->headers(); }
    // Runs `steps` on the modal dialog the next action opens.
    static void onModal(std::function<void(QWidget *)> steps)
    {
        QTimer::singleShot(0, [steps = std::move(steps)] {
            QWidget *modal = QApplication::activeModalWidget();
            ASSERT_NE(modal, nullptr);
            steps(modal);
        });
    }
    static void click(QWidget *dialog, const QString &button)
    {
        dialog->findChild<QPushButton *>(button)->click();
    }
};

TEST_F(MainFormWiringTest, AnUntickedColumnIsGoneAsSoonAsTheDialogIsSaved)
{
    ASSERT_TRUE(headers().contains(u"Status"_s));
    onModal([](QWidget *dialog) {
        dialog->findChild<QCheckBox *>(u"ListStatus"_s)->setChecked(false);
        click(dialog, u"SaveButton"_s);
    });
    form->configure();
    EXPECT_FALSE(headers().contains(u"Status"_s));
    EXPECT_EQ(settings.text(settings::ListStatus), u"0"_s);
}

TEST_F(MainFormWiringTest, CancelAfterClearingTheLogStillReloadsTheLogPage)
{
    log.logMessage(u"a line before"_s);
    form->reloadLog();
    ASSERT_FALSE(form->logView()->toPlainText().isEmpty());
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Question, ConfigText::clearLogQuestion(logPath), Dialogs::Answer::Yes);
    onModal([](QWidget *dialog) {
        click(dialog, u"ClearLog"_s);
        click(dialog, u"CancelButton"_s);
    });
    form->configure();
    EXPECT_EQ(QFile(logPath).size(), 0);
    EXPECT_TRUE(form->logView()->toPlainText().isEmpty());
}

TEST_F(MainFormWiringTest, TheConfigurationPasswordComesFirst)
{
    password.set(u"Secret"_s);
    settings.setBoolean(settings::UseConfigPassword, true);
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, ConfigText::incorrectToConfigure());
    bool configShown = false;
    onModal([&configShown](QWidget *prompt) {
        prompt->findChild<QLineEdit *>(u"PasswordEdit"_s)->setText(u"wrong"_s);
        click(prompt, u"OkButton"_s);
        // Were the dialog shown after a refusal, it would be the next modal window.
        QTimer::singleShot(0, [&configShown] {
            if (QWidget *next = QApplication::activeModalWidget()) {
                configShown = true;
                next->close();
            }
        });
    });
    form->configure();
    QApplication::processEvents();
    EXPECT_FALSE(configShown);
}

TEST_F(MainFormWiringTest, AWrongClosePasswordKeepsTheWindowOpen)
{
    form->show();
    password.set(u"Secret"_s);
    settings.setBoolean(settings::UseClosePassword, true);
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, ConfigText::incorrectToClose());
    onModal([](QWidget *prompt) {
        prompt->findChild<QLineEdit *>(u"PasswordEdit"_s)->setText(u"secre"_s);
        click(prompt, u"OkButton"_s);
    });
    EXPECT_FALSE(form->close());
    EXPECT_TRUE(form->isVisible());

    onModal([](QWidget *prompt) {
        prompt->findChild<QLineEdit *>(u"PasswordEdit"_s)->setText(u"secret"_s);
        click(prompt, u"OkButton"_s);
    });
    EXPECT_TRUE(form->close());
}

} // namespace
