// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "mail/mailbase.h"
#include "mail/maillines.h"

#include <QByteArrayList>
#include <QFile>
#include <QStringList>

#include <functional>
#include <memory>

class TBlockCoder;
class TQuotedPrintable;

enum class TEncoding { etUU, etMIME };
enum class TCharSet { csUSASCII, csISO8859 };
enum class TPriority { ptLow, ptNormal, ptHigh };

// The program's own SMTP client: one message (sender, recipients, subject, text,
// attachments) and the dialogue that delivers it. Addresses are "address" or
// "address|display name". Send() runs on the calling thread; its waits keep the event loop
// running, so Cancel() may come from any handler meanwhile.
class TSMTP : public TMailBase
{
public:
    enum Security { SecurityNone = 0, SecurityStartTls = 1, SecurityTls = 2 };

    explicit TSMTP(MailConnection *connection = nullptr, QObject *parent = nullptr);
    ~TSMTP() override;

    QStringList Attachments;
    QString From;
    QString Recipient;
    QStringList CC;
    QStringList BCC;
    QString Subject;
    QStringList Body;
    bool ReturnReceipt = false;
    TPriority Priority = TPriority::ptNormal;
    bool UseDomainAddress = true;
    bool NoMessage = false;

    // Beyond plain SMTP: TLS, authentication (only over TLS) and the Date and Message-ID
    // header lines that today's servers expect.
    int SecurityMode = SecurityNone;
    QString AuthUser;
    QString AuthPassword;
    QString CAFile;
    bool StandardHeaders = true;

    TEncoding encoding() const { return m_encoding; }
    // etUU also sets csUSASCII.
    void setEncoding(TEncoding encoding);
    TCharSet charSet() const { return m_charSet; }
    // Ignored unless the encoding is etMIME.
    void setCharSet(TCharSet charSet);

    std::function<void(TSMTP &)> OnStatusChange;
    std::function<void(TSMTP &)> OnProgress;
    // Shows the success message when NoMessage is off; the library has no windows.
    std::function<void(const QString &)> OnMessage;

    int Status = 0;
    int Progress = 0;
    bool SendFailed = false;
    // Why the last QUIT failed, after the message itself was accepted; empty otherwise.
    QString QuitError;

    const QByteArray &boundary() const { return m_boundary; }

    // The whole transaction. Throws the exceptions of mailerror.h; the connection is closed
    // in every case. A message sent with the encoding-failure notice in place of its
    // attachments still ends in EMailError, so the caller sees the failure.
    void Send();

    void ResetState() override;
    void Cancel() override;
    void Connect() override;
    virtual void SendHeaders();

    // Queues one line (CR LF is added); lines go out in batches, at the latest before the next
    // reply is awaited.
    void SendLine(const QByteArray &line) { queueLine(line); }
    void WaitReply();
    void CheckReply(const QByteArray &line);

    // The message as it goes between DATA and ".", before dot-stuffing: for tests and for
    // the system mail program. Encodes the attachments.
    QByteArrayList composeMessage();

    // Every address given, checked; throws EMailError naming the first bad one.
    void checkAddresses() const;

    static constexpr const char *SuccessText = "HalvMail (SMTP) Message Successfully Sent..";

private:
    // One attachment on the wire: its header lines, the coder's lines, what closes it. A block
    // that is sent keeps its open file rather than its lines: the file is encoded once to
    // check it and count its lines, before the message goes out, and again while it goes out,
    // so that a large file never sits in memory whole.
    struct Block
    {
        enum class Coding { UUCode, Base64, QuotedPrintable };
        QByteArrayList head;
        TMailLines lines;
        QByteArrayList tail;
        Coding coding = Coding::Base64;
        std::unique_ptr<QFile> file;
        qint64 fileSize = 0;        // as seen when the file was opened
        qsizetype encodedLines = 0; // what the coder makes of it
        qsizetype sentLines = 0;    // how many of those go on the wire
        qsizetype size() const { return head.size() + (file ? sentLines : lines.size()) + tail.size(); }
    };

    struct Text
    {
        QByteArrayList lines;
        QByteArray charset;  // us-ascii, iso-8859-1 or utf-8
        bool quotedPrintable = false;
    };

    void setStatus(int status);
    void setProgress(int progress);
    void logIn();
    void ehlo(const QByteArray &domain);
    void startTls();
    void authenticate();
    void sendEnvelope();
    void sendData(const Block &block, int status);
    void sendEncoded(const Block &block, const std::function<void(QByteArrayView)> &send);
    void quit();
    void queueLine(QByteArrayView line);
    // Hands the queued lines to the socket and waits until at most `backlog` bytes are unsent.
    void flush(qint64 backlog = 0);
    QByteArray heloDomain() const;
    Text composeText() const;
    QByteArrayList headerLines(const Text &text) const;
    // keepLines: the blocks hold their lines (for composeMessage) rather than their files.
    void EncodeAttachments(bool keepLines = true);
    Block encodeAttachment(const QString &path, bool last, bool keepLines);
    // Runs the block's coder over its file as the client's running coder, so that Cancel
    // reaches it; `chunk` may take the lines made after each chunk of input; `progress`
    // makes the coder's progress the client's.
    void runCoder(const Block &block, TMailLines &lines, const std::function<void()> &chunk,
                  bool progress);
    // The three notice lines after an encoding failure (and the closing boundary).
    void appendEncodingNotice(QByteArrayList &lines);

    TEncoding m_encoding = TEncoding::etMIME;
    TCharSet m_charSet = TCharSet::csUSASCII;
    QByteArray m_boundary;
    std::vector<Block> m_blocks;
    QString m_encodingError;
    TBlockCoder *m_blockCoder = nullptr;
    TQuotedPrintable *m_qpCoder = nullptr;
    QByteArray m_out;
    QByteArray m_reply;
    QByteArrayList m_replyLines;
    QByteArrayList m_capabilities;
    bool m_accept334 = false;
};
