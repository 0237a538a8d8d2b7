// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "platform/registryexport.h"
#include "support/tempprofile.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString job = u"Software\\Tarnwick\\Halvorn\\TimedJobs\\Mail ü"_s;

TEST(RegistryExport, RoundTripsEveryValueExactly)
{
    TempProfile profile;
    Registry registry;
    const QList<Registry::Value> values = {
        {u"sJobName"_s, u"Mail ü"_s},
        {u"sEmailText"_s, u"Dear all,\r\nline two\nline three\r\n"_s},
        {u"sTrailing"_s, u"  blanks both ends  "_s},
        {u"sPercent"_s, u"100% = %41 \\ \"quoted\""_s},
        {u"s=odd name"_s, u"=starts with equals"_s},
        {u"[bracketed"_s, u"[x]"_s},
        {u";semi"_s, u";"_s},
        {u" blank"_s, QString()},
        {u"sControl"_s, u"tab\there\x01\x7f"_s},
        {u"sWide"_s, u"日本語 😀"_s},
    };
    for (const auto &v : values)
        ASSERT_TRUE(registry.writeValue(job, v.first, v.second));
    registry.createKey(job + u"\\Empty child"_s);

    const QString text = RegistryExport::exportTree(registry, u"software\\TARNWICK"_s);
    EXPECT_TRUE(text.startsWith(u"Halvorn registry export 1\n[Software\\Tarnwick]\n"_s)) << text.toStdString();
    registry.deleteKey(u"Software"_s);
    QString error;
    ASSERT_TRUE(RegistryExport::importText(registry, text, &error)) << error.toStdString();
    EXPECT_EQ(registry.values(job), values);
    EXPECT_TRUE(registry.keyExists(job + u"\\Empty child"_s));
    EXPECT_EQ(RegistryExport::exportTree(registry, u"Software\\Tarnwick"_s), text);
}

TEST(RegistryExport, AcceptsWindowsLineEndsAndComments)
{
    TempProfile profile;
    Registry registry;
    const QString text = u"Halvorn registry export 1\r\n; a comment\r\n\r\n[A\\B]\r\nsX=1\r\nsY=a%0D%0Ab\r\n"_s;
    ASSERT_TRUE(RegistryExport::importText(registry, text, nullptr));
    EXPECT_EQ(registry.readValue(u"A\\B"_s, u"sX"_s), u"1"_s);
    EXPECT_EQ(registry.readValue(u"A\\B"_s, u"sY"_s), u"a\r\nb"_s);
}

TEST(RegistryExport, AFaultyFileChangesNothingAndSaysWhere)
{
    struct Case { QString text; QString where; };
    const Case cases[] = {
        {u"[A]\nsX=1\n"_s, u"line 1"_s},
        {u"Halvorn registry export 1\nsX=1\n"_s, u"line 2"_s},
        {u"Halvorn registry export 1\n[A]\nsX=1\nno equals\n"_s, u"line 4"_s},
        {u"Halvorn registry export 1\n[A]\nsX=%4\n"_s, u"line 3"_s},
        {u"Halvorn registry export 1\n[A]\nsX=%+1x\n"_s, u"line 3"_s},
        {u"Halvorn registry export 1\n[A\\\\B]\n"_s, u"line 2"_s},
        {u"Halvorn registry export 1\n[A\n"_s, u"line 2"_s},
        {u"Halvorn registry export 1\n[A]\nsX=1\n=empty name\n"_s, u"line 4"_s},
    };
    for (const Case &c : cases) {
        TempProfile profile;
        Registry registry;
        registry.writeValue(u"A"_s, u"sX"_s, u"kept"_s);
        QString error;
        EXPECT_FALSE(RegistryExport::importText(registry, c.text, &error)) << c.text.toStdString();
        EXPECT_TRUE(error.startsWith(c.where)) << error.toStdString();
        EXPECT_EQ(registry.readValue(u"A"_s, u"sX"_s), u"kept"_s);
    }
}

} // namespace
