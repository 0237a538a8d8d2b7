// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/settings.h"
#include "store/valuecodec.h"
#include "support/tempprofile.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Section = Settings::Section;

namespace {

class SettingsTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    Settings settings{registry};
};

TEST_F(SettingsTest, MissingValuesGiveTheTableDefaults)
{
    EXPECT_EQ(settings.integer(settings::TimerInterval), 250);
    EXPECT_EQ(settings.integer(settings::GeneralFontColor), -2147483640);
    EXPECT_EQ(settings.text(settings::GeneralFontName), u"MS Sans Serif"_s);
    EXPECT_TRUE(settings.boolean(settings::LogJobStarts));
    EXPECT_FALSE(settings.boolean(settings::LogDebugInfo));
    EXPECT_EQ(settings.integer(settings::SMTPPort), 80);
    EXPECT_EQ(settings.text(settings::LogFile), profile.path(u"state/halvorn/voltrane.log"_s));
    EXPECT_EQ(settings.text(settings::SMTPDefSubject), u"Halvorn automatic job notification"_s);
    EXPECT_EQ(settings.text(settings::SMTPDefSubject, Settings::Variant::Alternate),
        u"Quennet System Information"_s);
    EXPECT_EQ(settings.timedListColumn(0), 100);
    EXPECT_EQ(settings.timedListColumn(3), 55);
    // Reading creates nothing.
    EXPECT_FALSE(registry.keyExists(Settings::sectionKey(Section::Config)));
}

TEST_F(SettingsTest, TheTableHoldsEachValueOnceWithAReadableDefault)
{
    QSet<QString> seen;
    for (const Setting *row : settings::all()) {
        const QString id = QString::number(int(row->section)) + row->nameText().toUpper();
        EXPECT_FALSE(seen.contains(id)) << row->nameText().toStdString();
        seen.insert(id);
        const QChar kind = row->nameText().at(0);
        EXPECT_EQ(kind, row->kind == Setting::Kind::Text ? u's' : row->kind == Setting::Kind::Integer ? u'i' : u'b')
            << row->nameText().toStdString();
        if (row->kind != Setting::Kind::Text) {
            EXPECT_TRUE(ValueCodec::parseInteger(Settings::defaultText(*row)).has_value())
                << row->nameText().toStdString();
        }
    }
}

TEST_F(SettingsTest, StoredTextsReadByTheEncoding)
{
    settings.writeString(Section::Config, u"iTimerInterval"_s, u"0x10"_s);
    EXPECT_EQ(settings.integer(settings::TimerInterval), 16);
    settings.writeString(Section::Config, u"iTimerInterval"_s, u"abc"_s);
    EXPECT_EQ(settings.integer(settings::TimerInterval), 250);
    settings.writeString(Section::Config, u"bUseSystemId"_s, u"2"_s);
    EXPECT_TRUE(settings.boolean(settings::UseSystemId));
    settings.setInteger(settings::PositionWidth, 640);
    EXPECT_TRUE(settings.contains(Section::Config, u"iPOSITION width"_s));
    EXPECT_EQ(registry.readValue(Settings::sectionKey(Section::Config), u"iPosition Width"_s), u"640"_s);
    // The help window's readers use another letter case for the same value.
    settings.setInteger(settings::HelpTop, 12);
    EXPECT_EQ(settings.readInteger(Section::Config, u"ihelptop"_s, 0), 12);
}

TEST_F(SettingsTest, EraseRemovesOneSectionOnly)
{
    settings.writeString(Section::Favorites, u"Editor"_s, u"/usr/bin/vi&&"_s);
    settings.writeString(Section::Favorites, u"Backup"_s, u"/usr/bin/rsync&&-a"_s);
    settings.setText(settings::SystemId, u"WS1"_s);
    const auto favorites = settings.values(Section::Favorites);
    ASSERT_EQ(favorites.size(), 2);
    EXPECT_EQ(favorites[0].first, u"Editor"_s);
    ASSERT_TRUE(settings.erase(Section::Favorites));
    EXPECT_TRUE(settings.values(Section::Favorites).isEmpty());
    EXPECT_EQ(settings.text(settings::SystemId), u"WS1"_s);
}

TEST_F(SettingsTest, ASectionIsReplacedWholeOrNotAtAll)
{
    settings.writeString(Section::Favorites, u"Editor"_s, u"/usr/bin/vi&&"_s);
    const QList<Registry::Value> before = settings.values(Section::Favorites);
    EXPECT_FALSE(settings.replaceSection(Section::Favorites, {{u"Shell"_s, u"/bin/sh&&"_s}, {QString(), u"x"_s}}));
    EXPECT_EQ(settings.values(Section::Favorites), before);
    {
        Settings::Transaction transaction(settings);
        settings.setText(settings::SystemId, u"lost"_s);
    }
    EXPECT_FALSE(settings.contains(Section::Config, settings::SystemId.nameText()));

    const QList<Registry::Value> after = {{u"Shell"_s, u"/bin/sh&&"_s}, {u"Top"_s, u"/usr/bin/top&&"_s}};
    ASSERT_TRUE(settings.replaceSection(Section::Favorites, after));
    EXPECT_EQ(settings.values(Section::Favorites), after);
    EXPECT_TRUE(settings.replaceSection(Section::Favorites, {}));
    EXPECT_TRUE(settings.values(Section::Favorites).isEmpty());
}

} // namespace
