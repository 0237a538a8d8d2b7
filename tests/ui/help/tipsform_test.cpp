// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/settings.h"
#include "support/tempprofile.h"
#include "support/ui/scripteddialogs.h"
#include "ui/help/helphistory.h"
#include "ui/help/helptext.h"
#include "ui/help/helptopics.h"
#include "ui/help/tipsform.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every topic of the index has a text whose first line is its title and whose last line
// links to the next entry of its chapter, or ends the chain with "000" at the chapter's end.
TEST(HelpTopics, EveryTopicHasItsTitleAndChainsThroughItsChapter)
{
    const auto &entries = HelpTopics::entries();
    ASSERT_EQ(entries.size(), 50);
    QSet<int> numbers;
    for (const auto &entry : entries)
        numbers.insert(entry.number);
    EXPECT_EQ(numbers.size(), entries.size());
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const auto &entry = entries.at(i);
        SCOPED_TRACE(entry.number);
        const QString raw = HelpTopics::rawText(entry.number);
        ASSERT_FALSE(raw.isEmpty());
        EXPECT_TRUE(raw.endsWith(u'\n'));
        const QStringList lines = raw.trimmed().split(u'\n');
        ASSERT_GE(lines.size(), 3);
        EXPECT_EQ(lines.first(), entry.title.trimmed());
        const bool chapterGoesOn = i + 1 < entries.size() && entries.at(i + 1).title.startsWith(u"  "_s);
        const QString link = lines.last();
        if (chapterGoesOn) {
            EXPECT_EQ(link.left(3).toInt(), entries.at(i + 1).number) << qPrintable(link);
            EXPECT_EQ(link.at(3), u' ');
            EXPECT_GT(link.size(), 4);
        } else {
            EXPECT_EQ(link, u"000"_s);
        }
        // Nothing in the body looks like a link line or is left empty.
        const auto topic = HelpTopics::topic(entry.number);
        ASSERT_TRUE(topic);
        EXPECT_FALSE(topic->body.trimmed().isEmpty());
    }
    EXPECT_EQ(HelpTopics::rawText(999), QString());
}

TEST(HelpHistory, KeepsTheNewest25)
{
    HelpHistory history;
    history.clear();
    EXPECT_TRUE(history.isEmpty());
    for (int topic = 1; topic <= 26; ++topic)
        history.push(topic);
    for (int topic = 26; topic >= 2; --topic)
        EXPECT_EQ(history.pop(), topic);
    EXPECT_TRUE(history.isEmpty());
    EXPECT_EQ(history.pop(), 0);
}

class TipsFormTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings{registry};
    std::unique_ptr<TipsForm> form = std::make_unique<TipsForm>(settings);

    template<class T> T *find(const char *name)
    {
        T *widget = form->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    bool enabled(const char *button) { return find<QPushButton>(button)->isEnabled(); }
    void click(const char *button) { find<QPushButton>(button)->click(); }
};

TEST_F(TipsFormTest, FirstShowingStartsOnTheIndexAtTenTen)
{
    form->show();
    EXPECT_TRUE(form->indexShowing());
    EXPECT_EQ(form->windowTitle(), u"Halvorn 95/NT Embedded Help"_s);
    EXPECT_EQ(form->pos(), QPoint(10, 10));
    EXPECT_FALSE(enabled("PreviousButton"));
    EXPECT_FALSE(enabled("NextButton"));
    auto *list = find<QListWidget>("TopicList");
    ASSERT_EQ(list->count(), 50);
    EXPECT_EQ(list->item(0)->text(), u"1. Halvorn 95/NT Overview"_s);
    EXPECT_EQ(list->item(17)->text(), u"  a. Using a custom schedule"_s);
    form->close();
    EXPECT_EQ(settings.text(settings::HelpFontName), u"MS Sans Serif"_s);
    EXPECT_EQ(settings.integer(settings::HelpFontSize), 10);
    EXPECT_EQ(settings.integer(settings::HelpFontColor), -2147483640);
    EXPECT_EQ(settings.integer(settings::HelpLeft), 10);
}

TEST_F(TipsFormTest, NextAndPreviousFollowTheChain)
{
    form->show();
    form->showTopic(150);
    EXPECT_FALSE(form->indexShowing());
    EXPECT_EQ(find<QLabel>("TopicHeading")->text(), u"11. Scheduling a Program to run"_s);
    EXPECT_EQ(find<QLabel>("NextHint")->text(), u"click on next for help on using a custom schedule"_s);
    EXPECT_FALSE(find<QLabel>("NextHint")->isHidden());
    EXPECT_FALSE(find<QPlainTextEdit>("TopicText")->toPlainText().contains(u"160 using"_s));
    click("NextButton");
    EXPECT_EQ(form->currentTopic(), 160);
    EXPECT_TRUE(enabled("PreviousButton"));
    click("PreviousButton");
    EXPECT_EQ(form->currentTopic(), 150);
    EXPECT_FALSE(enabled("PreviousButton"));

    form->showTopic(0);
    EXPECT_FALSE(enabled("NextButton"));
    EXPECT_TRUE(find<QLabel>("NextHint")->isHidden());
    click("IndexButton");
    EXPECT_TRUE(form->indexShowing());
    EXPECT_FALSE(enabled("NextButton"));
}

TEST_F(TipsFormTest, OnlyThe25NewestStepsCanBeGoneBack)
{
    // 26 Next steps need one long chain: walk chapter 11 and restart it by hand.
    form->show();
    QList<int> visited;
    form->showTopic(150);
    for (int step = 0; step < 26; ++step) {
        if (!enabled("NextButton"))
            form->showTopic(150);
        visited.append(form->currentTopic());
        click("NextButton");
    }
    for (int back = 25; back >= 1; --back) {
        ASSERT_TRUE(enabled("PreviousButton")) << back;
        click("PreviousButton");
        EXPECT_EQ(form->currentTopic(), visited.at(back));
    }
    EXPECT_FALSE(enabled("PreviousButton"));
}

TEST_F(TipsFormTest, PrintsTheIndexOrTheTopicAndSaysSoOnlyWhenItWorked)
{
    const QString pdf = profile.path(u"help.pdf"_s);
    form->setPrinterFactory([&] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        return printer;
    });
    form->show();
    QStringList index{QString(), u"Halvorn Help - Index"_s, QString()};
    for (const auto &entry : HelpTopics::entries())
        index.append(entry.title);
    EXPECT_EQ(form->printText(), index.join(u'\n'));
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Dialogs::Kind::Information, HelpText::printed());
        click("PrintButton");
    }
    EXPECT_GT(QFileInfo(pdf).size(), 0);

    form->showTopic(420);
    EXPECT_TRUE(form->printText().startsWith(u"\n18. Forcing a Start-of-Day\n\nStart of Day rebuilds"_s));
    form->setPrinterFactory([&] {
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(profile.path(u"no such folder/help.pdf"_s));
        return printer;
    });
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Dialogs::Kind::Error, HelpText::printFailed());
        click("PrintButton");
    }
    form->setPrinterFactory([] { return std::unique_ptr<QPrinter>(); });
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::Warning, HelpText::noPrinter());
    click("PrintButton");
}

TEST_F(TipsFormTest, FontAndPlaceAreRememberedAndThePlaceIsKeptOnTheScreen)
{
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    settings.setInteger(settings::HelpTop, 30000);
    settings.setInteger(settings::HelpLeft, 40000);
    settings.setInteger(settings::HelpWidth, 300);
    settings.setInteger(settings::HelpHeight, 320);
    form->show();
    EXPECT_TRUE(screen.contains(form->frameGeometry()));
    EXPECT_EQ(form->size(), QSize(300, 320));

    QFont chosen = form->font();
    chosen.setPointSize(14);
    chosen.setItalic(true);
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Dialogs::Kind::Font, QString(), chosen);
        click("FontButton");
    }
    EXPECT_EQ(find<QPlainTextEdit>("TopicText")->font().pointSize(), 14);
    EXPECT_EQ(find<QListWidget>("TopicList")->font().pointSize(), 14);
    form->close();
    EXPECT_EQ(settings.integer(settings::HelpFontSize), 14);
    EXPECT_EQ(settings.integer(settings::HelpFontStyle), 2);
    EXPECT_EQ(settings.text(settings::HelpFontName), chosen.family());
    EXPECT_EQ(settings.integer(settings::HelpWidth), 300);
}

TEST_F(TipsFormTest, OpenHelpHandsTheFileToTheDesktopAndSaysWhenNothingCanOpenIt)
{
    const QString file = profile.path(u"manual.html"_s);
    QFile(file).open(QIODevice::WriteOnly);
    QList<QUrl> opened;
    bool canOpen = true;
    form->setUrlOpener([&](const QUrl &url) { opened.append(url); return canOpen; });
    {
        ScriptedDialogs dialogs;
        dialogs.expect(Dialogs::Kind::OpenFile, HelpText::openHelpTitle(), file);
        click("OpenHelpButton");
    }
    EXPECT_EQ(opened, QList<QUrl>{QUrl::fromLocalFile(file)});
    canOpen = false;
    ScriptedDialogs dialogs;
    dialogs.expect(Dialogs::Kind::OpenFile, HelpText::openHelpTitle(), file)
        .expect(Dialogs::Kind::Warning, HelpText::cannotOpen(file));
    click("OpenHelpButton");
}

TEST_F(TipsFormTest, CopyTakesTheSelectedText)
{
    form->show();
    form->showTopic(0);
    auto *text = find<QPlainTextEdit>("TopicText");
    QTextCursor cursor = text->textCursor();
    cursor.movePosition(QTextCursor::Start);
    cursor.movePosition(QTextCursor::EndOfWord, QTextCursor::KeepAnchor);
    text->setTextCursor(cursor);
    click("CopyButton");
    EXPECT_EQ(QApplication::clipboard()->text(), u"Halvorn"_s);
}

} // namespace
