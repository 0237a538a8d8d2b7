// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/fakeclock.h"
#include "support/tempprofile.h"
#include "support/ui/scripteddialogs.h"
#include "ui/exporttext.h"
#include "ui/printexport.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Kind = Dialogs::Kind;
using Answer = Dialogs::Answer;

namespace {

// The words of a PDF, as pdftotext reads them line by line.
QStringList pdfWords(const QString &path)
{
    const QString tool = QStandardPaths::findExecutable(u"pdftotext"_s);
    if (tool.isEmpty()) {
        ADD_FAILURE() << "pdftotext (poppler-utils) is needed to read the printout back";
        return {};
    }
    QProcess process;
    process.start(tool, {u"-layout"_s, path, u"-"_s});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput()).split(QRegularExpression(u"\\s+"_s),
        Qt::SkipEmptyParts);
}

QStringList wordsOf(const QStringList &lines)
{
    return lines.join(u' ').split(u' ', Qt::SkipEmptyParts);
}

class PrintExportTest : public ::testing::Test
{
protected:
    PrintExportTest()
    {
        for (const QString &name : {u"Alpha"_s, u"Beta"_s, u"Gamma"_s}) {
            store.writeString(name, u"sJobName"_s, name);
            store.writeInteger(name, u"iJobType"_s, 2);
            store.writeInteger(name, u"iCustomTimeType"_s, -1);
        }
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(profile.path(u"out.pdf"_s));
        exporter.setPrinter(&pdf);
        exporter.setStatus([this](const QString &text) { statuses.append(text); });
        QApplication::clipboard()->setText(u"keep me"_s);
    }

    QString printed() const { return profile.path(u"out.pdf"_s); }

    TempProfile profile;
    Registry registry{Registry::Role::ShortLived, profile.registryPath()};
    JobStore store{registry};
    FakeClock clock;
    QPrinter pdf{QPrinter::HighResolution};
    PrintExport exporter{store, clock, nullptr};
    QStringList statuses;
    QFont font{u"Monospace"_s, 10};
};

} // namespace

TEST_F(PrintExportTest, PrintsTheSelectedJobsInDisplayOrder)
{
    ASSERT_TRUE(exporter.printJobs({u"Gamma"_s, u"Alpha"_s}, {u"Alpha"_s, u"Beta"_s, u"Gamma"_s}, font));
    const QStringList expected = wordsOf(QStringList{u"Halvorn Job List (2026-12-10 14:05:09)"_s}
        + exporter.jobLines({u"Gamma"_s, u"Alpha"_s}));
    EXPECT_EQ(pdfWords(printed()).join(u' '), expected.join(u' '));
    EXPECT_EQ(statuses, QStringList({ExportText::printing(), QString()}));
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
}

TEST_F(PrintExportTest, WithoutASelectionAsksAboutTheWholeList)
{
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Kind::Question, ExportText::printWholeList(), Answer::No);
        EXPECT_FALSE(exporter.printJobs({}, {u"Alpha"_s, u"Beta"_s}, font));
        EXPECT_FALSE(QFile::exists(printed()));
    }
    ScriptedDialogs dialogs;
    dialogs.expect(Kind::Question, ExportText::printWholeList(), Answer::Yes);
    ASSERT_TRUE(exporter.printJobs({}, {u"Alpha"_s, u"Beta"_s}, font));
    const QStringList words = pdfWords(printed());
    EXPECT_EQ(words.count(u"Name:"_s), 2);
    EXPECT_TRUE(words.contains(u"Beta"_s));
}

TEST_F(PrintExportTest, ManyLinesBreakIntoPagesAndLongLinesAreNotCut)
{
    const QString longLine = QStringList(40, u"word"_s).join(u' ') + u" end"_s;
    QPlainTextEdit log;
    QStringList lines;
    for (int i = 0; i < 150; ++i)
        lines.append(u"line%1"_s.arg(i));
    lines.append(longLine);
    log.setPlainText(lines.join(u'\n'));
    ASSERT_TRUE(exporter.printLog(&log, font));
    const QStringList words = pdfWords(printed());
    EXPECT_TRUE(words.contains(u"line0"_s));
    EXPECT_TRUE(words.contains(u"line149"_s));
    EXPECT_EQ(words.count(u"word"_s), 40);
    EXPECT_EQ(words.last(), u"end"_s);
    QProcess info;
    info.start(u"pdfinfo"_s, {printed()});
    info.waitForFinished(60000);
    EXPECT_FALSE(QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression(u"Pages:\\s+1\\n"_s)));
}

TEST_F(PrintExportTest, PrintingTheLogTakesItsSelectionAndLeavesTheClipboardAlone)
{
    QPlainTextEdit log;
    log.setPlainText(u"first line\nsecond line\nthird line"_s);
    QTextCursor cursor = log.textCursor();
    cursor.setPosition(11);
    cursor.setPosition(22, QTextCursor::KeepAnchor);
    log.setTextCursor(cursor);
    ASSERT_TRUE(exporter.printLog(&log, font));
    EXPECT_EQ(pdfWords(printed()),
        QStringList({u"Halvorn"_s, u"Log"_s, u"(2026-12-10"_s, u"14:05:09)"_s, u"second"_s, u"line"_s}));
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
    EXPECT_FALSE(log.textCursor().hasSelection());
    EXPECT_EQ(log.textCursor().position(), 0);

    // Nothing selected: all of it.
    ASSERT_TRUE(exporter.printLog(&log, font));
    EXPECT_EQ(pdfWords(printed()).mid(4),
        QStringList({u"first"_s, u"line"_s, u"second"_s, u"line"_s, u"third"_s, u"line"_s}));
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
}

TEST_F(PrintExportTest, CopyingTheLogCopiesOnlyASelection)
{
    QPlainTextEdit log;
    log.setPlainText(u"first line\nsecond line"_s);
    EXPECT_FALSE(exporter.copyLog(&log));
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
    EXPECT_EQ(statuses, QStringList{ExportText::nothingCopied()});

    log.selectAll();
    EXPECT_TRUE(exporter.copyLog(&log));
    EXPECT_EQ(QApplication::clipboard()->text(), u"first line\nsecond line"_s);
    EXPECT_EQ(statuses.last(), ExportText::copied());
}

TEST_F(PrintExportTest, CopyingJobsPutsTheirBlocksOnTheClipboard)
{
    EXPECT_TRUE(exporter.copyJobs({u"Beta"_s}, {u"Alpha"_s, u"Beta"_s}));
    EXPECT_EQ(QApplication::clipboard()->text(),
        u"Job Name:  Beta  <Job is in Queue>\nJob Type:  Delete file\n"
        "Last Start Date:    Last End Date:       Last Status: successful\n"
        "Schedule: on demand only\n \n"_s);

    QApplication::clipboard()->setText(u"keep me"_s);
    ScriptedDialogs dialogs;
    dialogs.expect(Kind::Question, ExportText::copyWholeList(), Answer::No);
    EXPECT_FALSE(exporter.copyJobs({}, {u"Alpha"_s}));
    EXPECT_EQ(QApplication::clipboard()->text(), u"keep me"_s);
}

TEST_F(PrintExportTest, APrinterThatFailsIsReportedNeverClaimedAsPrinted)
{
    // No printer set up, and a printout that cannot be written.
    QPrinter none(QPrinter::HighResolution);
    none.setPrinterName(QString());
    QPrinter unwritable(QPrinter::HighResolution);
    unwritable.setOutputFormat(QPrinter::PdfFormat);
    unwritable.setOutputFileName(profile.path(u"no/such/folder/out.pdf"_s));
    for (QPrinter *printer : {&none, &unwritable}) {
        statuses.clear();
        exporter.setPrinter(printer);
        ScriptedDialogs dialogs;
        dialogs.expect(Kind::Error, ExportText::printError());
        EXPECT_FALSE(exporter.printJobs({u"Alpha"_s}, {u"Alpha"_s}, font));
        EXPECT_EQ(statuses.last(), QString());
    }
}
