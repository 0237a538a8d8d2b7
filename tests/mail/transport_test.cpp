// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/mailerror.h"
#include "mail/smtp.h"
#include "scriptedconnection.h"

#include <gtest/gtest.h>

namespace {

const QHostAddress silentV6(QStringLiteral("2001:db8::1"));
const QHostAddress answering(QStringLiteral("192.0.2.7"));

TEST(Transport, AnAddressThatDoesNotAnswerGivesWayToTheNext)
{
    auto *c = new ScriptedConnection;
    c->lookupAnswer = {silentV6, answering};
    c->silent = {silentV6};
    c->replies = {"250 hello\r\n", "250 ok\r\n", "354 go\r\n", "250 queued\r\n", "221 bye\r\n"};
    TSMTP smtp(c);
    smtp.Server = QStringLiteral("mail.example.org");
    smtp.TimeOut = 30;
    smtp.Recipient = QStringLiteral("a@example.org");
    smtp.Send();
    EXPECT_EQ(c->tried, (QList<QHostAddress>{silentV6, answering}));
    EXPECT_EQ(smtp.AddressText, answering.toString());
    EXPECT_TRUE(smtp.QuitError.isEmpty());
    EXPECT_TRUE(c->written.contains("RCPT TO:<a@example.org>\r\nDATA\r\n"));
}

TEST(Transport, OneSilentAddressTimesOut)
{
    auto *c = new ScriptedConnection;
    c->lookupAnswer = {silentV6};
    c->silent = {silentV6};
    TSMTP smtp(c);
    smtp.Server = QStringLiteral("mail.example.org");
    smtp.TimeOut = 1;
    smtp.Recipient = QStringLiteral("a@example.org");
    EXPECT_THROW(smtp.Send(), ETimedOutError);
}

TEST(Transport, LookUpFailuresReadAsTheirTexts)
{
    auto *c = new ScriptedConnection;
    c->lookupError = 11001;
    TSMTP smtp(c);
    smtp.Server = QStringLiteral("no.such.host");
    smtp.Recipient = QStringLiteral("a@example.org");
    try {
        smtp.Send();
        FAIL();
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Host not found"));
    }
    auto *empty = new ScriptedConnection;
    TSMTP other(empty);
    other.Server = QStringLiteral("no.address.host");
    other.Recipient = QStringLiteral("a@example.org");
    EXPECT_THROW(other.Send(), EMailError);
}

TEST(Transport, RefusedSignInIsAMailErrorWithTheServersText)
{
    auto *c = new ScriptedConnection;
    c->lookupAnswer = {answering};
    c->replies = {"250-hello\r\n250-AUTH LOGIN\r\n250 STARTTLS\r\n", "334 VXNlcm5hbWU6\r\n",
                  "334 UGFzc3dvcmQ6\r\n", "535 5.7.8 Bad credentials\r\n"};
    TSMTP smtp(c);
    smtp.Server = QStringLiteral("mail.example.org");
    smtp.SecurityMode = TSMTP::SecurityTls;
    smtp.AuthUser = QStringLiteral("me");
    smtp.AuthPassword = QStringLiteral("pw");
    smtp.Recipient = QStringLiteral("a@example.org");
    try {
        smtp.Send();
        FAIL();
    } catch (const EMailError &e) {
        EXPECT_EQ(e.message(), QStringLiteral(" 5.7.8 Bad credentials"));
    }
    EXPECT_TRUE(c->written.contains("AUTH LOGIN\r\nbWU=\r\ncHc=\r\n"));
    EXPECT_FALSE(c->written.contains("MAIL FROM"));
}

} // namespace
