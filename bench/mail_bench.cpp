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

#include <algorithm>
#include <cstdio>
#include <vector>

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

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Python's smtplib, started once, sends the message at path to the server whenever a line
// comes on its input, and answers with the seconds it took from connecting to the reply to
// QUIT: the interpreter's start and the reading of the file do not count against it.
struct SmtplibSender
{
    QProcess process;
    SmtplibSender(quint16 port, const QString &path)
    {
        const QString script = QStringLiteral(
            "import smtplib,sys,time\n"
            "m=open(sys.argv[2],'rb').read()\n"
            "for _ in sys.stdin:\n"
            "    t=time.perf_counter()\n"
            "    s=smtplib.SMTP('127.0.0.1',int(sys.argv[1]))\n"
            "    s.sendmail('bench@example.org',['to@example.org'],m)\n"
            "    s.quit()\n"
            "    print(time.perf_counter()-t,flush=True)\n");
        process.start(QStringLiteral("/usr/bin/python3"), {QStringLiteral("-c"), script, QString::number(port), path});
        process.waitForStarted();
    }
    ~SmtplibSender()
    {
        process.closeWriteChannel();
        process.waitForFinished(10000);
    }
    double send()
    {
        process.write("\n");
        while (!process.canReadLine() && process.waitForReadyRead(600000)) {
        }
        return process.readLine().trimmed().toDouble();
    }
};

// The 10 MiB attachment composed and sent by our client, and the message it composes sent by
// smtplib, in turns against the same server, each first in every other round so that drift
// and the server's state weigh on both alike. Our time runs from Send() to its return,
// composition included; smtplib's from connecting to the reply to QUIT. The counters are
// medians over the rounds: ours_ms, smtplib_ms, ratio (of each round's pair) and cpu_s (this
// process's CPU per send of ours); every round's figures go to standard error.
void BM_SendAttachment(benchmark::State &state)
{
    Server server;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("message.eml"));
    {
        TSMTP smtp;
        fillMessage(smtp, server.port);
        QByteArray message;
        for (const QByteArray &line : smtp.composeMessage())
            message += line + "\r\n";
        Inputs::write(path, message);
    }
    SmtplibSender smtplib(server.port, path);
    auto ours = [&](double &cpu) {
        TSMTP smtp;
        fillMessage(smtp, server.port);
        QElapsedTimer timer;
        const double before = cpuSeconds();
        timer.start();
        smtp.Send();
        const double seconds = double(timer.nsecsElapsed()) / 1e9;
        cpu = cpuSeconds() - before;
        return seconds;
    };
    std::vector<double> oursTimes, smtplibTimes, ratios, cpus;
    for (auto _ : state) {
        double o = 0, p = 0, cpu = 0;
        if (oursTimes.size() % 2 == 0) {
            o = ours(cpu);
            p = smtplib.send();
        } else {
            p = smtplib.send();
            o = ours(cpu);
        }
        if (p <= 0) {
            state.SkipWithError("smtplib failed");
            break;
        }
        state.SetIterationTime(o);
        oursTimes.push_back(o);
        smtplibTimes.push_back(p);
        ratios.push_back(o / p);
        cpus.push_back(cpu);
        std::fprintf(stderr, "round %zu: ours %.0f ms, smtplib %.0f ms, ratio %.2f, cpu %.3f s\n",
                     oursTimes.size(), o * 1000, p * 1000, o / p, cpu);
    }
    if (oursTimes.empty())
        return;
    state.counters["ours_ms"] = median(oursTimes) * 1000;
    state.counters["smtplib_ms"] = median(smtplibTimes) * 1000;
    state.counters["ratio"] = median(ratios);
    state.counters["cpu_s"] = median(cpus);
    state.counters["cpu_max_s"] = *std::max_element(cpus.begin(), cpus.end());
}
BENCHMARK(BM_SendAttachment)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(15);

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
