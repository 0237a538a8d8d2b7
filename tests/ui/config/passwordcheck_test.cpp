// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/jobstore.h"
#include "support/ui/scripteddialogs.h"
#include "ui/config/configtext.h"
#include "ui/config/configprofile.h"
#include "ui/config/passwordcheck.h"
#include "ui/config/passwordform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Action = PasswordGuard::Action;

namespace {

const QString job = u"Backup"_s;

// Answers the prompt through a real PasswordForm: types `typed` and presses "&Ok", or
// presses Cancel when `typed` is nothing.
struct TypedAnswer
{
    HalvPassword &password;
    std::optional<QString> typed;
    int shown = 0;

    std::optional<bool> operator()(QWidget *)
    {
        ++shown;
        PasswordForm form(password);
        form.show();
        if (typed) {
            form.findChild<QLineEdit *>(u"PasswordEdit"_s)->setText(*typed);
            form.findChild<QPushButton *>(u"OkButton"_s)->click();
        } else {
            form.findChild<QPushButton *>(u"CancelButton"_s)->click();
        }
        if (form.result() != QDialog::Accepted)
            return std::nullopt;
        return form.isPasswordAccepted();
    }
};

struct Guarded
{
    Action action;
    const Setting *guardSwitch;
    QString (*refusal)();
};

class PasswordCheckTest : public ::testing::TestWithParam<Guarded>, protected ConfigProfile
{
protected:
    JobStore store{registry};
    TypedAnswer answer{password, std::nullopt};
    PasswordCheck check{settings, store, password, [this](QWidget *w) { return answer(w); }};

    void SetUp() override
    {
        store.writeString(job, u"sJobName"_s, job);
        store.writeBoolean(job, u"bSecureJob"_s, true);
    }
    bool allow() { return check.allow(nullptr, GetParam().action, job); }
    void guardOn()
    {
        password.set(u"pw"_s);
        settings.setBoolean(*GetParam().guardSwitch, true);
    }
};

TEST_P(PasswordCheckTest, SwitchOffAsksNothing)
{
    password.set(u"pw"_s);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(allow());
    EXPECT_EQ(answer.shown, 0);
}

TEST_P(PasswordCheckTest, RightPasswordInAnyCaseAllows)
{
    guardOn();
    ScriptedDialogs dialogs;
    answer.typed = u"PW"_s;
    EXPECT_TRUE(allow());
    EXPECT_EQ(answer.shown, 1);
}

TEST_P(PasswordCheckTest, WrongPasswordRefusesWithTheActionsMessage)
{
    guardOn();
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, GetParam().refusal());
    answer.typed = u"wrong"_s;
    EXPECT_FALSE(allow());
}

TEST_P(PasswordCheckTest, CancelRefusesSilently)
{
    guardOn();
    ScriptedDialogs dialogs;
    EXPECT_FALSE(allow());
    EXPECT_EQ(answer.shown, 1);
}

TEST_P(PasswordCheckTest, NoPasswordSetGuardsNothing)
{
    settings.setBoolean(*GetParam().guardSwitch, true);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(allow());
    EXPECT_EQ(answer.shown, 0);
}

INSTANTIATE_TEST_SUITE_P(EveryGuard, PasswordCheckTest,
    ::testing::Values(Guarded{Action::Show, &settings::UseMaximizePassword, ConfigText::incorrectToShow},
        Guarded{Action::Close, &settings::UseClosePassword, ConfigText::incorrectToClose},
        Guarded{Action::Configure, &settings::UseConfigPassword, ConfigText::incorrectToConfigure},
        Guarded{Action::EditSecureJob, &settings::UseJobSecure, ConfigText::incorrectToModifyJob},
        Guarded{Action::RemoveSecureJob, &settings::UseJobSecure, ConfigText::incorrectToModifyJob}));

class PasswordCheckJobs : public PasswordCheckTest
{
};

TEST_F(PasswordCheckJobs, AJobThatIsNotSecureAsksNothing)
{
    password.set(u"pw"_s);
    settings.setBoolean(settings::UseJobSecure, true);
    store.writeBoolean(job, u"bSecureJob"_s, false);
    ScriptedDialogs dialogs;
    EXPECT_TRUE(check.allow(nullptr, Action::RemoveSecureJob, job));
    EXPECT_TRUE(check.allow(nullptr, Action::EditSecureJob, u"No such job"_s));
    EXPECT_EQ(answer.shown, 0);
}

TEST_F(PasswordCheckJobs, TheTrayHasItsOwnRefusal)
{
    password.set(u"pw"_s);
    settings.setBoolean(settings::UseMaximizePassword, true);
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, ConfigText::incorrectToShowFromTray());
    answer.typed = u"wrong"_s;
    EXPECT_FALSE(check.allowShowFromTray(nullptr));
    answer.typed = u"pw"_s;
    EXPECT_TRUE(check.allowShowFromTray(nullptr));
}

// The default prompt is the modal PasswordForm.
TEST(PasswordCheckPrompt, ShowsThePasswordFormModally)
{
    ConfigProfile c;
    auto &[profile, registry, settings, password] = c;
    JobStore store(registry);
    password.set(u"Secret"_s);
    settings.setBoolean(settings::UseClosePassword, true);
    PasswordCheck check(settings, store, password);

    QString caption;
    QTimer::singleShot(0, [&caption] {
        QWidget *form = QApplication::activeModalWidget();
        ASSERT_NE(form, nullptr);
        caption = form->windowTitle();
        form->findChild<QLineEdit *>(u"PasswordEdit"_s)->setText(u"secret"_s);
        form->findChild<QPushButton *>(u"OkButton"_s)->click();
    });
    EXPECT_TRUE(check.allow(nullptr, Action::Close));
    EXPECT_EQ(caption, u"Halvorn 95/NT"_s);
}

} // namespace
