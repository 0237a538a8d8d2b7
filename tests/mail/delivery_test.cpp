// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// Whole messages through a real receiving server (aiosmtpd), judged by Python's email parser.

#include "judge.h"
#include "mail/mailerror.h"
#include "mail/smtp.h"
#include "mail/smtpprofile.h"
#include "peer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &data)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

bool run(const QString &program, const QStringList &arguments, const QString &dir = {})
{
    QProcess p;
    p.setWorkingDirectory(dir);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, arguments);
    return p.waitForFinished(120000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
}

class Delivery : public ::testing::Test
{
protected:
    // A CA of our own and a certificate for "localhost" that it signed, made once.
    static void SetUpTestSuite()
    {
        s_certs = new QTemporaryDir;
        const QString d = s_certs->path();
        const QString openssl = QStringLiteral("openssl");
        const QStringList ec{QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
                             QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
        writeFile(d + QStringLiteral("/ext.cnf"),
                  "subjectAltName=DNS:localhost,IP:127.0.0.1\nbasicConstraints=CA:FALSE\n");
        s_ready = run(openssl, QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec
                                   + QStringList{QStringLiteral("-keyout"), QStringLiteral("ca.key"), QStringLiteral("-out"),
                                                 QStringLiteral("ca.pem"), QStringLiteral("-days"), QStringLiteral("2"),
                                                 QStringLiteral("-subj"), QStringLiteral("/CN=Halvorn test CA"),
                                                 QStringLiteral("-addext"), QStringLiteral("basicConstraints=critical,CA:TRUE"),
                                                 QStringLiteral("-addext"), QStringLiteral("keyUsage=keyCertSign,cRLSign")},
                      d)
                  && run(openssl, QStringList{QStringLiteral("req")} + ec
                                      + QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"), QStringLiteral("-out"),
                                                    QStringLiteral("server.csr"), QStringLiteral("-subj"), QStringLiteral("/CN=localhost")},
                         d)
                  && run(openssl, {QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"), QStringLiteral("server.csr"),
                                   QStringLiteral("-CA"), QStringLiteral("ca.pem"), QStringLiteral("-CAkey"), QStringLiteral("ca.key"),
                                   QStringLiteral("-CAcreateserial"), QStringLiteral("-out"), QStringLiteral("server.pem"),
                                   QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-extfile"), QStringLiteral("ext.cnf")},
                         d);
    }
    static void TearDownTestSuite()
    {
        delete s_certs;
        s_certs = nullptr;
    }
    static QString cert(const char *name) { return s_certs->filePath(QString::fromLatin1(name)); }

    void SetUp() override
    {
        ASSERT_TRUE(s_ready) << "openssl could not make the test certificates";
        m_text = m_dir.filePath(QStringLiteral("notes.txt"));
        m_binary = m_dir.filePath(QStringLiteral("data.bin"));
        writeFile(m_text, "line one\nline two  \n\n.\nfrom here\r\nlast line without an end");
        writeFile(m_binary, randomBytes(100000, 5));
        QDir().mkdir(m_dir.filePath(QStringLiteral("in")));
    }

    QString inbox(const char *file) const { return m_dir.filePath(QStringLiteral("in/") + QString::fromLatin1(file)); }

    // Python's email parser must find no defect and get every part back.
    void judge(const QString &text, const QStringList &files)
    {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("/usr/bin/python3"),
                QStringList{QStringLiteral(MAIL_TEST_DIR "/judge_mail.py"), inbox("1.eml"), text} + files);
        ASSERT_TRUE(p.waitForFinished(60000));
        EXPECT_EQ(p.exitCode(), 0) << p.readAll().toStdString();
    }

    SmtpProfile profile(const Peer &peer) const
    {
        SmtpProfile p;
        p.server = QStringLiteral("localhost:") + QString::number(peer.port());
        p.sender = QStringLiteral("job@example.org|Halvorn, the scheduler");
        p.timeOut = 50;
        p.caFile = cert("ca.pem");
        return p;
    }

    QTemporaryDir m_dir;
    QString m_text, m_binary;
    static inline QTemporaryDir *s_certs = nullptr;
    static inline bool s_ready = false;
};

TEST_F(Delivery, PlainMessageWithTextAndBinaryAttachments)
{
    Peer peer(QStringLiteral("smtp_server.py"), {m_dir.filePath(QStringLiteral("in"))});
    SmtpProfile p = profile(peer);
    p.caFile.clear();
    EXPECT_TRUE(SendJobMail(p, QStringLiteral("Nightly report"), {QStringLiteral("All done.")},
                            {QStringLiteral("ops@example.org"), QStringLiteral("boss@example.org|The Boss")},
                            {m_text, m_binary}));
    judge(QStringLiteral("All done."), {m_text, m_binary});
    QFile env(inbox("1.env"));
    ASSERT_TRUE(env.open(QIODevice::ReadOnly));
    EXPECT_EQ(env.readAll(), "job@example.org\nops@example.org\nboss@example.org\n");
}

TEST_F(Delivery, StartTlsWithAuthentication)
{
    Peer peer(QStringLiteral("smtp_server.py"),
              {m_dir.filePath(QStringLiteral("in")), QStringLiteral("--starttls"), cert("server.pem"),
               cert("server.key"), QStringLiteral("--auth"), QStringLiteral("me"), QStringLiteral("s3cret")});
    SmtpProfile p = profile(peer);
    p.security = TSMTP::SecurityStartTls;
    p.authUser = QStringLiteral("me");
    p.authPassword = QStringLiteral("s3cret");
    EXPECT_TRUE(SendJobMail(p, QStringLiteral("Über den Bericht"), {QStringLiteral("Grüße")},
                            {QStringLiteral("ops@example.org")}, {m_text, m_binary}));
    judge(QStringLiteral("Grüße"), {m_text, m_binary});

    p.authPassword = QStringLiteral("wrong");
    try {
        SendQuickMail(p, QStringLiteral("ops@example.org"), QStringLiteral("x"));
        FAIL() << "sent with a wrong password";
    } catch (const EMailError &e) {
        EXPECT_FALSE(e.message().isEmpty());
    }
}

TEST_F(Delivery, TlsFromTheFirstByteAndCertificateChecks)
{
    Peer peer(QStringLiteral("smtp_server.py"),
              {m_dir.filePath(QStringLiteral("in")), QStringLiteral("--smtps"), cert("server.pem"),
               cert("server.key"), QStringLiteral("--auth"), QStringLiteral("me"), QStringLiteral("pw")});
    SmtpProfile p = profile(peer);
    p.security = TSMTP::SecurityTls;
    p.authUser = QStringLiteral("me");
    p.authPassword = QStringLiteral("pw");
    EXPECT_TRUE(SendQuickMail(p, QStringLiteral("ops@example.org"), QStringLiteral("Job ended")));
    judge(QStringLiteral("Job ended"), {});

    p.caFile.clear(); // our CA is not in the system's trust store
    EXPECT_THROW(SendQuickMail(p, QStringLiteral("ops@example.org"), QStringLiteral("x")), ESocketError);
}

TEST_F(Delivery, StartTlsIsRequiredNotHopedFor)
{
    Peer peer(QStringLiteral("smtp_server.py"), {m_dir.filePath(QStringLiteral("in"))});
    SmtpProfile p = profile(peer);
    p.security = TSMTP::SecurityStartTls;
    try {
        SendQuickMail(p, QStringLiteral("ops@example.org"), QStringLiteral("x"));
        FAIL() << "sent without TLS";
    } catch (const EMailError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("The server does not offer STARTTLS"));
    }
    EXPECT_FALSE(QFile::exists(inbox("1.eml")));
}

TEST_F(Delivery, EncodingFailureSendsTheNoticeAndReportsFailure)
{
    Peer peer(QStringLiteral("smtp_server.py"), {m_dir.filePath(QStringLiteral("in"))});
    SmtpProfile p = profile(peer);
    p.caFile.clear();
    const QString missing = m_dir.filePath(QStringLiteral("missing.bin"));
    EXPECT_THROW(SendJobMail(p, QStringLiteral("s"), {QStringLiteral("Body")}, {QStringLiteral("a@example.org")},
                             {m_binary, missing}),
                 EMailError);
    QFile eml(inbox("1.eml"));
    ASSERT_TRUE(eml.open(QIODevice::ReadOnly));
    const QByteArray message = eml.readAll();
    EXPECT_TRUE(message.contains("\r\n**2 file(s) were attached to this\r\n"
                                 "**message.  They could not be sent due to error during encoding\r\n"));
    EXPECT_TRUE(message.endsWith("--\r\n"));
    EXPECT_FALSE(message.contains("data.bin"));
}

// A send encodes its attachments again as they go out: what arrives must be what the client
// composes, for every coder, an empty file, and a uuencoded file of whole lines.
TEST_F(Delivery, WhatArrivesIsWhatIsComposed)
{
    Peer peer(QStringLiteral("smtp_server.py"), {m_dir.filePath(QStringLiteral("in"))});
    const QString empty = m_dir.filePath(QStringLiteral("empty.bin"));
    const QString wholeLines = m_dir.filePath(QStringLiteral("whole.bin"));
    writeFile(empty, {});
    writeFile(wholeLines, randomBytes(45 * 3000, 7));
    int received = 0;
    for (const TEncoding encoding : {TEncoding::etMIME, TEncoding::etUU}) {
        TSMTP smtp;
        smtp.Server = peer.server();
        smtp.From = QStringLiteral("job@example.org");
        smtp.Recipient = QStringLiteral("ops@example.org");
        smtp.Body = {QStringLiteral("Body")};
        smtp.Attachments = {m_text, m_binary, empty, wholeLines};
        smtp.StandardHeaders = false;
        smtp.NoMessage = true;
        smtp.setEncoding(encoding);
        smtp.Send();
        QFile eml(m_dir.filePath(QStringLiteral("in/%1.eml").arg(++received)));
        ASSERT_TRUE(eml.open(QIODevice::ReadOnly));
        // The line end before the final "." belongs to it.
        EXPECT_TRUE(eml.readAll() == joinLines(smtp.composeMessage(), "\r\n")) << int(encoding);
    }
}

// An attachment is encoded once to be checked, before the message goes out, and again while
// it goes out: a file that grows meanwhile goes as it was when opened; one that shrinks ends
// the send without the final ".", so the server drops the message.
TEST_F(Delivery, AnAttachmentThatChangesWhileSentGoesAsItWasOrNotAtAll)
{
    Peer peer(QStringLiteral("smtp_server.py"), {m_dir.filePath(QStringLiteral("in"))});
    QFile file(m_binary);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray original = file.readAll();
    file.close();
    auto sendWhileChanging = [&](const QByteArray &changed) {
        TSMTP smtp;
        smtp.Server = peer.server();
        smtp.From = QStringLiteral("job@example.org");
        smtp.Recipient = QStringLiteral("ops@example.org");
        smtp.Body = {QStringLiteral("Body")};
        smtp.Attachments = {m_binary};
        smtp.NoMessage = true;
        smtp.OnStatusChange = [&](TSMTP &s) {
            if (s.Status == 7) // the attachments begin to go out
                writeFile(m_binary, changed);
        };
        smtp.Send();
    };

    EXPECT_NO_THROW(sendWhileChanging(original + "appended"));
    writeFile(m_binary, original);
    judge(QStringLiteral("Body"), {m_binary});

    try {
        sendWhileChanging(original.left(50000));
        FAIL() << "sent a file that shrank";
    } catch (const EMailError &e) {
        EXPECT_TRUE(e.message().startsWith(QStringLiteral("The attachment changed while it was sent: ")))
            << e.message().toStdString();
    }
    EXPECT_FALSE(QFile::exists(inbox("2.eml")));
}

} // namespace
