// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/configprofile.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

constexpr int cheap = ConfigProfile::cheap;
constexpr int cheaper = 16;

class HalvPasswordTest : public ::testing::Test, protected ConfigProfile
{
protected:
    QString stored() { return settings.text(settings::HalvPass); }
};

TEST(HalvPasswordHash, IsSaltedAndHoldsNoCharacterUnsafeInAStore)
{
    const QString first = HalvPassword::hash(u"Secret"_s, cheap);
    const QString second = HalvPassword::hash(u"Secret"_s, cheap);
    static const QRegularExpression format(
        uR"(^\$pbkdf2-sha256\$64\$[A-Za-z0-9_-]{22}\$[A-Za-z0-9_-]{43}$)"_s);
    EXPECT_TRUE(format.match(first).hasMatch()) << first.toStdString();
    EXPECT_NE(first, second);
    EXPECT_FALSE(first.contains(u"ecret"_s, Qt::CaseInsensitive));
    EXPECT_TRUE(HalvPassword::isHash(first));

    EXPECT_TRUE(HalvPassword::matches(first, u"Secret"_s));
    EXPECT_TRUE(HalvPassword::matches(second, u"sECRET"_s));
    EXPECT_FALSE(HalvPassword::matches(first, u"Secret "_s));
    EXPECT_FALSE(HalvPassword::matches(first, QString()));
    // Only a to z fold.
    EXPECT_FALSE(HalvPassword::matches(HalvPassword::hash(u"é"_s, cheap), u"É"_s));
}

TEST(HalvPasswordHash, DamagedHashesAreNotHashes)
{
    const QString good = HalvPassword::hash(u"x"_s, cheap);
    for (const QString &bad : QStringList{good.left(good.size() - 1), QString(good).replace(u"$64$"_s, u"$0$"_s),
             QString(good).replace(u"$64$"_s, u"$abc$"_s), QString(good + u"$"_s), u"$pbkdf2-sha256$"_s}) {
        EXPECT_FALSE(HalvPassword::isHash(bad)) << bad.toStdString();
    }
}

TEST(HalvPasswordScramble, FollowsTheOlderForm)
{
    // Worked out by hand from the description of the scrambling, with backward key 'H'.
    EXPECT_EQ(HalvPassword::scramble(u"a"_s), u"A"_s); // forward pass only
    EXPECT_EQ(HalvPassword::scramble(u"ab"_s), u"A@"_s);
    EXPECT_EQ(HalvPassword::scramble(u"Halvorn 95/NT"_s), u"-e$h7x*dy(HNY"_s);
    EXPECT_EQ(HalvPassword::scramble(u"secret"_s), HalvPassword::scramble(u"SeCrEt"_s));
    EXPECT_EQ(HalvPassword::scramble(QString()), QString());
    EXPECT_EQ(HalvPassword::scramble(QString(300, u'x')), HalvPassword::scramble(QString(255, u'x')));
}

TEST_F(HalvPasswordTest, NoPasswordAcceptsOnlyAnEmptyAnswer)
{
    EXPECT_FALSE(password.isSet());
    EXPECT_TRUE(password.check(QString()));
    EXPECT_FALSE(password.check(u"anything"_s));
}

TEST_F(HalvPasswordTest, SetStoresAHashThatChecksRegardlessOfCase)
{
    ASSERT_TRUE(password.set(u"Open Sesame"_s));
    EXPECT_TRUE(HalvPassword::isHash(stored()));
    const QString hash = stored();
    EXPECT_TRUE(password.check(u"open sesame"_s));
    EXPECT_TRUE(password.check(u"OPEN SESAME"_s));
    EXPECT_FALSE(password.check(u"open sesame!"_s));
    EXPECT_FALSE(password.check(QString()));
    EXPECT_EQ(stored(), hash); // a current hash is not rewritten
}

TEST_F(HalvPasswordTest, SetRefusesEmptyAndOverlongPasswords)
{
    EXPECT_FALSE(password.set(QString()));
    EXPECT_FALSE(password.set(QString(256, u'x')));
    EXPECT_TRUE(stored().isEmpty());
    EXPECT_TRUE(password.set(QString(255, u'x')));
    EXPECT_TRUE(password.check(QString(255, u'X')));
}

TEST_F(HalvPasswordTest, AScrambledValueIsAcceptedAndReplacedByAHash)
{
    const QString legacy = HalvPassword::scramble(u"Halvorn 95/NT"_s);
    settings.setText(settings::HalvPass, legacy);
    EXPECT_TRUE(password.isSet());

    EXPECT_FALSE(password.check(u"Halvorn 95/N"_s));
    EXPECT_EQ(stored(), legacy);

    EXPECT_TRUE(password.check(u"halvorn 95/nt"_s));
    EXPECT_TRUE(HalvPassword::isHash(stored()));
    EXPECT_TRUE(password.check(u"HALVORN 95/NT"_s));
    EXPECT_FALSE(password.check(u"Halvorn 95/N"_s));
}

TEST_F(HalvPasswordTest, ACheaperHashIsRaisedToTheCurrentCost)
{
    settings.setText(settings::HalvPass, HalvPassword::hash(u"pw"_s, cheaper));
    EXPECT_TRUE(password.check(u"PW"_s));
    EXPECT_TRUE(stored().startsWith(u"$pbkdf2-sha256$64$"_s));
}

} // namespace
