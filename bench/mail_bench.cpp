// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// The content coders on 64 MiB against the standard tools on the same files, and a 10 MiB
// attachment sent to a loopback aiosmtpd against Python's smtplib sending the same message.

#include "mail/base64.h"
#include "mail/quotedprintable.h"
#include "mail/smtp.h"
#include "mail/uucode.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/resource.h>

namespace {

constexpr qint64 kInputBytes = 64 * 1024 * 1024;

struct Inputs
{
    QTemporaryDir dir;
    QString binary = dir.filePath(QStringLiteral("binary"));
    QString text = dir.filePath(QStringLiteral("text"));
    QString attachment = dir.filePath(QStringLiteral("attachment.bin"));

    Inputs()
    {
        QRandomGenerator g(42);
        QByteArray data(kInputBytes, Qt::Uninitialized);
        g.fillRange(reinterpret_cast<quint32 *>(data.data()), data.size() / 4);
        write(binary, data);
        write(attachment, data.left(10 * 1024 * 1024));
        // Prose-like text: words, a few "=", lines of varying length.
        QByteArray text;
        text.reserve(kInputBytes + 200);
        static const char *words[] = {"scheduler ", "job ", "ended ", "with ", "exit=0 ", "at ",
                                      "02:30 ", "the ", "log ", "says "};
        while (text.size() < kInputBytes) {
            const int n = 3 + int(g.bounded(14));
            for (int i = 0; i < n; ++i)
                text += words[g.bounded(10)];
            text += '\n';
        }
        text.truncate(kInputBytes);
        write(this->text, text);
    }
    static void write(const QString &path, const QByteArray &data)
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(data);
    }
};

Inputs &inputs()
{
    static Inputs i;
    return i;
}

template <typename Coder>
void encodeFile(benchmark::State &state, const QString &path, bool canonical = false)
{
    for (auto _ : state) {
        QFile in(path);
        in.open(QIODevice::ReadOnly);
        TMailLines out;
        Coder coder(&in, &out);
        if constexpr (std::is_same_v<Coder, TQuotedPrintable>) {
            coder.Canonical = canonical;
            coder.MaxParagraph = 0;
        }
        coder.encode();
        benchmark::DoNotOptimize(out.size());
    }
    state.SetBytesProcessed(state.iterations() * kInputBytes);
}

void runTool(benchmark::State &state, const QString &program, const QStringList &arguments)
{
    for (auto _ : state) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(program, arguments);
        if (!p.waitForFinished(600000) || p.exitCode() != 0)
            state.SkipWithError("tool failed");
    }
    state.SetBytesProcessed(state.iterations() * kInputBytes);
}

void BM_Base64(benchmark::State &s) { encodeFile<TBase64>(s, inputs().binary); }
void BM_Tool_base64(benchmark::State &s)
{
    runTool(s, QStringLiteral("base64"), {QStringLiteral("-w"), QStringLiteral("76"), inputs().binary});
}
void BM_UUCode(benchmark::State &s) { encodeFile<TUUCode>(s, inputs().binary); }
void BM_Tool_uuencode(benchmark::State &s)
{
    runTool(s, QStringLiteral("uuencode"), {inputs().binary, QStringLiteral("f")});
}
void BM_QuotedPrintableText(benchmark::State &s) { encodeFile<TQuotedPrintable>(s, inputs().text); }
void BM_QuotedPrintableTextCanonical(benchmark::State &s)
{
    encodeFile<TQuotedPrintable>(s, inputs().text, true);
}
void BM_Tool_qprint(benchmark::State &s)
{
    runTool(s, QStringLiteral("qprint"), {QStringLiteral("-e"), inputs().text});
}
BENCHMARK(BM_Base64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tool_base64)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_UUCode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tool_uuencode)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QuotedPrintableText)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_QuotedPrintableTextCanonical)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_Tool_qprint)->Unit(benchmark::kMillisecond)->UseRealTime();

// A receiving aiosmtpd for the send benchmarks.
struct Server
{
    QTemporaryDir in;
    QProcess process;
    quint16 port = 0;
    Server()
    {
        process.start(QStringLiteral("/usr/bin/python3"),
                      {QStringLiteral(HALVORN_SOURCE_DIR "/tests/mail/smtp_server.py"), in.path()});
        while (port == 0 && process.waitForReadyRead(30000)) {
            const QByteArray line = process.readLine().trimmed();
            if (line.startsWith("PORT "))
                port = line.mid(5).toUShort();
        }
    }
    ~Server()
    {
        process.closeWriteChannel();
        if (!process.waitForFinished(5000))
            process.kill();
        process.waitForFinished(5000);
    }
};

double cpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec)
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

void fillMessage(TSMTP &smtp, quint16 port)
{
    smtp.Server = QStringLiteral("127.0.0.1:") + QString::number(port);
    smtp.From = QStringLiteral("bench@example.org");
    smtp.Recipient = QStringLiteral("to@example.org");
    smtp.Subject = QStringLiteral("10 MiB");
    smtp.Body = QStringList{QStringLiteral("attached")};
    smtp.Attachments = QStringList{inputs().attachment};
    smtp.NoMessage = true;
}

// Composition and send of the 10 MiB attachment; cpu_s is this process's CPU per send.
void BM_SendAttachment(benchmark::State &state)
{
    Server server;
    double cpu = 0;
    for (auto _ : state) {
        TSMTP smtp;
        fillMessage(smtp, server.port);
        const double before = cpuSeconds();
        smtp.Send();
        cpu += cpuSeconds() - before;
    }
    state.counters["cpu_s"] = cpu / double(state.iterations());
}
BENCHMARK(BM_SendAttachment)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// smtplib sends the message our client composes, already encoded, to the same kind of server.
void BM_SendAttachmentSmtplib(benchmark::State &state)
{
    Server server;
    TSMTP smtp;
    fillMessage(smtp, server.port);
    QByteArray message;
    for (const QByteArray &line : smtp.composeMessage())
        message += line + "\r\n";
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("message.eml"));
    Inputs::write(path, message);
    // Timed inside Python, so the interpreter's start does not count against it.
    const QString script = QStringLiteral(
        "import smtplib,sys,time\n"
        "m=open(sys.argv[2],'rb').read()\n"
        "t=time.perf_counter()\n"
        "s=smtplib.SMTP('127.0.0.1',int(sys.argv[1]))\n"
        "s.sendmail('bench@example.org',['to@example.org'],m)\n"
        "s.quit()\n"
        "print(time.perf_counter()-t)\n");
    for (auto _ : state) {
        QProcess p;
        p.start(QStringLiteral("/usr/bin/python3"),
                {QStringLiteral("-c"), script, QString::number(server.port), path});
        p.waitForFinished(600000);
        state.SetIterationTime(p.readAllStandardOutput().trimmed().toDouble());
    }
}
BENCHMARK(BM_SendAttachmentSmtplib)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);

// A peer that never greets: the whole time-out spent waiting; cpu_s is what the wait costs.
void BM_WaitForSilentServer(benchmark::State &state)
{
    for (auto _ : state) {
        QTemporaryDir dir;
        QProcess peer;
        peer.start(QStringLiteral("/usr/bin/python3"),
                   {QStringLiteral(HALVORN_SOURCE_DIR "/tests/mail/fault_peer.py"), QStringLiteral("nogreeting"),
                    dir.filePath(QStringLiteral("record"))});
        peer.waitForReadyRead(30000);
        const quint16 port = peer.readLine().trimmed().mid(5).toUShort();
        TSMTP smtp;
        smtp.Server = QStringLiteral("127.0.0.1:") + QString::number(port);
        smtp.Recipient = QStringLiteral("to@example.org");
        smtp.TimeOut = int(state.range(0));
        const double before = cpuSeconds();
        try {
            smtp.Send();
        } catch (const std::exception &) {
        }
        state.counters["cpu_s"] = cpuSeconds() - before;
        peer.waitForFinished(5000);
    }
}
BENCHMARK(BM_WaitForSilentServer)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
