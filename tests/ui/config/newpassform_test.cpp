// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "support/ui/scripteddialogs.h"
#include "ui/config/configtext.h"
#include "ui/config/halvpassword.h"
#include "ui/config/configprofile.h"
#include "ui/config/newpassform.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class NewPassFormTest : public ::testing::Test, protected ConfigProfile
{
protected:
    ScriptedDialogs dialogs;

    QString stored() { return settings.text(settings::HalvPass); }
};

struct Fields
{
    explicit Fields(NewPassForm &form)
        : old(form.findChild<QLineEdit *>(u"OldPassword"_s)),
          fresh(form.findChild<QLineEdit *>(u"NewPassword"_s)),
          retype(form.findChild<QLineEdit *>(u"RetypeNew"_s)),
          ok(form.findChild<QPushButton *>(u"OkButton"_s))
    {
    }
    QLineEdit *old, *fresh, *retype;
    QPushButton *ok;
};

TEST_F(NewPassFormTest, WithoutAPasswordTheNewFieldsAreOpenAtOnce)
{
    NewPassForm form(password);
    form.show();
    Fields f(form);
    EXPECT_EQ(form.windowTitle(), u"Change Password"_s);
    EXPECT_FALSE(f.old->isEnabled());
    EXPECT_TRUE(f.fresh->isEnabled());
    EXPECT_TRUE(f.retype->isEnabled());
    EXPECT_EQ(form.focusWidget(), f.fresh);
    EXPECT_EQ(f.fresh->maxLength(), 255);

    f.fresh->setText(u"Tiger"_s);
    f.retype->setText(u"Tiger"_s);
    f.ok->click();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    EXPECT_TRUE(HalvPassword::isHash(stored()));
    EXPECT_TRUE(password.check(u"tiger"_s));
}

TEST_F(NewPassFormTest, TheNewFieldsOpenOnlyForTheRightOldPassword)
{
    password.set(u"Old"_s);
    NewPassForm form(password);
    form.show();
    Fields f(form);
    EXPECT_TRUE(f.old->isEnabled());
    EXPECT_FALSE(f.fresh->isEnabled());
    EXPECT_EQ(form.focusWidget(), f.old);

    f.old->setText(u"Ol"_s);
    emit f.old->editingFinished();
    EXPECT_FALSE(f.fresh->isEnabled());
    f.old->setText(u"old"_s);
    EXPECT_FALSE(f.fresh->isEnabled()); // not before the pause or leaving the field
    emit f.old->editingFinished();
    EXPECT_TRUE(f.fresh->isEnabled());
    EXPECT_EQ(form.focusWidget(), f.fresh);
    EXPECT_TRUE(f.retype->isEnabled());

    f.fresh->setText(u"New"_s);
    f.retype->setText(u"New"_s);
    f.ok->click();
    EXPECT_TRUE(password.check(u"new"_s));
    EXPECT_FALSE(password.check(u"old"_s));
}

TEST_F(NewPassFormTest, AMissingOrDifferentRetypeKeepsTheDialogOpen)
{
    password.set(u"Old"_s);
    const QString before = stored();
    NewPassForm form(password);
    form.show();
    Fields f(form);

    // Without the old password the retype field stays empty: nothing can be set.
    dialogs.expect(Dialogs::Kind::Warning, ConfigText::retypeNewPassword());
    f.ok->click();
    EXPECT_TRUE(form.isVisible());

    f.old->setText(u"OLD"_s);
    emit f.old->editingFinished();
    f.fresh->setText(u"one"_s);
    f.retype->setText(u"two"_s);
    dialogs.expect(Dialogs::Kind::Warning, ConfigText::notRetypedCorrectly());
    f.ok->click();
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(f.fresh->text().isEmpty());
    EXPECT_TRUE(f.retype->text().isEmpty());
    EXPECT_EQ(form.focusWidget(), f.fresh);
    EXPECT_EQ(stored(), before);
}

} // namespace
