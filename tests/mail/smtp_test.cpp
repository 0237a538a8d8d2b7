// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "mail/mailerror.h"
#include "mail/smtp.h"
#include "mail/smtpprofile.h"
#include "peer.h"

#include <QTcpServer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

QByteArray crlf(const QByteArrayList &lines)
{
    QByteArray out;
    for (const QByteArray &l : lines)
        out += l + "\r\n";
    return out;
}

TEST(SmtpDialogue, ExactOnTheWireWithDotStuffingAndSplitLines)
{
    QTemporaryDir dir;
    FaultPeer peer(QStringLiteral("ok"), dir);
    TSMTP smtp;
    smtp.Server = peer.server();
    smtp.StandardHeaders = false;
    smtp.From = QStringLiteral("me@example.org|Me");
    smtp.Recipient = QStringLiteral("you@example.com|You There");
    smtp.CC = QStringList{QStringLiteral("c1@x.org"), QStringLiteral("c2@x.org|Two")};
    smtp.BCC = QStringList{QStringLiteral("b@x.org")};
    smtp.Subject = QStringLiteral("Report");
    smtp.Body = QStringList{QStringLiteral("first"), QStringLiteral(".dot"),
                            QStringLiteral("multi\nline\r\n.\r\nQUIT\rlast")};
    QString shown;
    smtp.OnMessage = [&](const QString &text) { shown += text; };
    smtp.Send();
    EXPECT_EQ(shown, QString::fromLatin1(TSMTP::SuccessText));
    EXPECT_EQ(peer.record(), crlf({"HELO example.org", "MAIL FROM:<me@example.org>",
                                   "RCPT TO:<you@example.com>", "RCPT TO:<c1@x.org>",
                                   "RCPT TO:<c2@x.org>", "RCPT TO:<b@x.org>", "DATA",
                                   "From:     Me<me@example.org>",
                                   "To:       You There<you@example.com>",
                                   "CC:       <c1@x.org>,", "          Two<c2@x.org>",
                                   "Subject:  Report", "Mime-Version: 1.0",
                                   "Content-Type: text/plain; charset=\"us-ascii\"",
                                   "Content-Transfer-Encoding: 7bit", "", "first", "..dot",
                                   "multi", "line", "..", "QUIT", "last", ".", "QUIT"}));
}

TEST(SmtpDialogue, EmptySenderSendsNoMailFromAndHeloNamesTheHost)
{
    QTemporaryDir dir;
    FaultPeer peer(QStringLiteral("ok"), dir);
    TSMTP smtp;
    smtp.Server = peer.server();
    smtp.Recipient = QStringLiteral("you@example.com");
    smtp.Send();
    const QByteArray record = peer.record();
    EXPECT_FALSE(record.contains("MAIL FROM"));
    EXPECT_FALSE(record.startsWith("HELO \r\n"));
    EXPECT_TRUE(record.startsWith("HELO "));
    EXPECT_TRUE(record.contains("\r\nRCPT TO:<you@example.com>\r\nDATA\r\n"));
    EXPECT_TRUE(record.contains("\r\nDate: "));
    EXPECT_TRUE(record.contains("\r\nMessage-ID: <"));
}

struct FaultCase
{
    const char *mode;
    enum Result { Sent, MailError, SocketError, TimedOut } result;
    const char *message; // the start of the exception's text
};

class SmtpFaults : public ::testing::TestWithParam<FaultCase>
{
};

// A generous time-out: every failure below except the silent peer must come from the
// socket or the reply, never from the clock.
TEST_P(SmtpFaults, EndAsTheyShould)
{
    const FaultCase c = GetParam();
    QTemporaryDir dir;
    FaultPeer peer(QString::fromLatin1(c.mode), dir);
    TSMTP smtp;
    smtp.Server = peer.server();
    smtp.TimeOut = c.result == FaultCase::TimedOut ? 2 : 50;
    smtp.From = QStringLiteral("me@example.org");
    smtp.Recipient = QStringLiteral("a@example.org");
    smtp.CC = QStringList{QStringLiteral("b@example.org")};
    smtp.NoMessage = true;
    FaultCase::Result result = FaultCase::Sent;
    QString message;
    try {
        smtp.Send();
    } catch (const ETimedOutError &e) {
        result = FaultCase::TimedOut;
        message = e.message();
    } catch (const ESocketError &e) {
        result = FaultCase::SocketError;
        message = e.message();
    } catch (const EMailError &e) {
        result = FaultCase::MailError;
        message = e.message();
    }
    EXPECT_EQ(result, c.result) << message.toStdString();
    const QString expected = QString::fromLatin1(c.message);
    EXPECT_EQ(message.left(expected.size()), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Peers, SmtpFaults,
    ::testing::Values(FaultCase{"ok", FaultCase::Sent, ""},
                      FaultCase{"pieces", FaultCase::Sent, ""},
                      FaultCase{"notext", FaultCase::Sent, ""},
                      FaultCase{"longreply", FaultCase::Sent, ""},
                      FaultCase{"quitclose", FaultCase::Sent, ""},
                      FaultCase{"nogreeting", FaultCase::TimedOut, "Operation timed out"},
                      FaultCase{"hugereply", FaultCase::MailError, "The server's reply is too long"},
                      FaultCase{"closehelo", FaultCase::SocketError, "Connection closed by the server"},
                      FaultCase{"reject", FaultCase::MailError, " No such user here"}),
    [](const auto &info) { return std::string(info.param.mode); });

TEST(SmtpTransport, RefusedConnectionFailsAtOnceWithItsSocketError)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close(); // nobody listens there now
    TSMTP smtp;
    smtp.Server = QStringLiteral("127.0.0.1:") + QString::number(port);
    smtp.TimeOut = 50;
    smtp.Recipient = QStringLiteral("a@example.org");
    try {
        smtp.Send();
        FAIL() << "sent";
    } catch (const ESocketError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Connection refused"));
    }
}

TEST(SmtpTransport, ServerValueAndErrorTexts)
{
    using P = std::pair<QString, quint16>;
    EXPECT_EQ(TMailBase::splitServer(QStringLiteral("mail.example.org")), P(QStringLiteral("mail.example.org"), 0));
    EXPECT_EQ(TMailBase::splitServer(QStringLiteral("mail.example.org:2525")), P(QStringLiteral("mail.example.org"), 2525));
    EXPECT_EQ(TMailBase::splitServer(QStringLiteral("[::1]:587")), P(QStringLiteral("::1"), 587));
    EXPECT_EQ(TMailBase::splitServer(QStringLiteral("::1")), P(QStringLiteral("::1"), 0));
    EXPECT_EQ(TMailBase::WinsockErrorText(0), QString());
    EXPECT_EQ(TMailBase::WinsockErrorText(10061), QStringLiteral("Connection refused"));
    EXPECT_EQ(TMailBase::WinsockErrorText(10999), QStringLiteral("Winsock Error No. 10999"));
}

TEST(SmtpTransport, PortFromTheServiceElseTheDefault)
{
    TSMTP smtp;
    smtp.Server = QStringLiteral("127.0.0.1");
    smtp.DefaultPort = 80;
    smtp.Connect();
    EXPECT_EQ(smtp.Port, 25); // "smtp" from the services database
    smtp.Service = QStringLiteral("no-such-service-here");
    smtp.TMailBase::Connect();
    EXPECT_EQ(smtp.Port, 80);
    smtp.SecurityMode = TSMTP::SecurityStartTls;
    smtp.Connect();
    EXPECT_EQ(smtp.Port, 587);
    smtp.Server = QStringLiteral("127.0.0.1:2525");
    smtp.Connect();
    EXPECT_EQ(smtp.Port, 2525);
    smtp.Service.clear();
    smtp.Server = QStringLiteral("127.0.0.1");
    EXPECT_THROW(smtp.TMailBase::Connect(), EMailError);
}

TEST(SmtpTransport, CancelDuringTheWaitEndsIt)
{
    QTemporaryDir dir;
    FaultPeer peer(QStringLiteral("nogreeting"), dir);
    TSMTP smtp;
    smtp.Server = peer.server();
    smtp.Recipient = QStringLiteral("a@example.org");
    smtp.OnStatusChange = [](TSMTP &s) {
        if (s.Status == 2)
            QTimer::singleShot(50, &s, [&s] { s.Cancel(); });
    };
    EXPECT_THROW(smtp.Send(), ECanceledError);
}

TEST(SmtpTransport, CancelWhileEncodingStopsTheCoderAndSendsNothing)
{
    QTemporaryDir dir;
    FaultPeer peer(QStringLiteral("ok"), dir);
    const QString big = dir.filePath(QStringLiteral("big.bin"));
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(8 * 1024 * 1024, 'x'));
    }
    TSMTP smtp;
    smtp.Server = peer.server();
    smtp.Recipient = QStringLiteral("a@example.org");
    smtp.Attachments = QStringList{big};
    int calls = 0;
    smtp.OnProgress = [&](TSMTP &s) {
        if (s.Status == 9 && ++calls == 2)
            s.Cancel();
    };
    EXPECT_THROW(smtp.Send(), ECanceledError);
    EXPECT_EQ(smtp.Status, 8);
    EXPECT_FALSE(peer.record().contains("RCPT"));
}

TEST(SmtpTransport, BadAddressesAndPlainTextSignInAreRefusedBeforeConnecting)
{
    const QString bad[] = {QString(), QStringLiteral("a b@x.org"), QStringLiteral("a@x.org>\r\nRCPT TO:<e@x.org"),
                           QStringLiteral("<a@x.org>"), QStringLiteral("a@x.org\n")};
    for (const QString &address : bad) {
        TSMTP smtp;
        smtp.Server = QStringLiteral("127.0.0.1:1");
        smtp.Recipient = QStringLiteral("ok@x.org");
        smtp.BCC = QStringList{address};
        try {
            smtp.Send();
            ADD_FAILURE() << "sent to " << address.toStdString();
        } catch (const EMailError &e) {
            EXPECT_TRUE(e.message().startsWith(QStringLiteral("Invalid e-mail address")));
        } catch (...) {
            ADD_FAILURE() << "connected for " << address.toStdString();
        }
    }
    TSMTP smtp;
    smtp.Server = QStringLiteral("127.0.0.1:1");
    smtp.Recipient = QStringLiteral("ok@x.org");
    smtp.AuthUser = QStringLiteral("me");
    EXPECT_THROW(smtp.Send(), EMailError);
    EXPECT_THROW(SendJobMail(SmtpProfile{}, {}, {}, {}, {}), EMailError);
}

} // namespace
