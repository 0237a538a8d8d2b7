// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/registry.h"
#include "store/jobstore.h"
#include "support/registrytables.h"
#include "support/tempprofile.h"

#include <QFile>

#include <gtest/gtest.h>


using namespace Qt::StringLiterals;

namespace {

class JobStoreTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store{registry};

    void raw(const QString &job, const QString &name, const QString &data)
    {
        registry.writeValue(JobStore::storeKey + u'\\' + job, name, data);
    }
};

struct IntegerCase { const char16_t *stored; int expected; };

class IntegerEncoding : public JobStoreTest, public ::testing::WithParamInterface<IntegerCase> {};

TEST_P(IntegerEncoding, ReadsAsTheStoreSays)
{
    raw(u"J"_s, u"sJobName"_s, u"J"_s);
    raw(u"J"_s, u"iValue"_s, QString::fromUtf16(GetParam().stored));
    EXPECT_EQ(store.readInteger(u"J"_s, u"iValue"_s, -7), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Texts, IntegerEncoding, ::testing::Values(
    IntegerCase{u"250", 250}, IntegerCase{u"-1", -1}, IntegerCase{u"0x1F", 31},
    IntegerCase{u"0X10", 16}, IntegerCase{u"0xffffffff", -1}, IntegerCase{u"0x", -7},
    IntegerCase{u"0x1G", -7}, IntegerCase{u"abc", -7}, IntegerCase{u"", -7},
    IntegerCase{u"12abc", -7}, IntegerCase{u"99999999999", -7}));

TEST_F(JobStoreTest, BooleansAndTextsFollowTheEncoding)
{
    struct Case { const char16_t *stored; bool defaultValue; bool expected; };
    const Case cases[] = {{u"1", false, true}, {u"0", true, false}, {u"2", false, true},
        {u"-1", false, true}, {u"0x", true, true} /* too short for hex */, {u"0x0", true, false},
        {u"0x00", true, false}, {u"abc", true, true}, {u"abc", false, false}};
    for (const Case &c : cases) {
        raw(u"J"_s, u"bFlag"_s, QString::fromUtf16(c.stored));
        EXPECT_EQ(store.readBoolean(u"J"_s, u"bFlag"_s, c.defaultValue), c.expected)
            << QString::fromUtf16(c.stored).toStdString();
    }
    EXPECT_TRUE(store.readBoolean(u"J"_s, u"bMissing"_s, true));
    EXPECT_EQ(store.readString(u"Nobody"_s, u"sX"_s, u"dflt"_s), u"dflt"_s);

    store.writeBoolean(u"J"_s, u"bHold"_s, true);
    store.writeInteger(u"J"_s, u"iHour"_s, -3);
    EXPECT_EQ(registry.readValue(JobStore::storeKey + u"\\J"_s, u"bHold"_s), u"1"_s);
    EXPECT_EQ(registry.readValue(JobStore::storeKey + u"\\J"_s, u"iHour"_s), u"-3"_s);
}

TEST_F(JobStoreTest, ValueAndJobNamesIgnoreCase)
{
    store.writeString(u"Backup"_s, u"sJobName"_s, u"Backup"_s);
    store.writeString(u"Backup"_s, u"sEmailText"_s, u"body"_s);
    EXPECT_EQ(store.readString(u"BACKUP"_s, u"sEMailText"_s), u"body"_s);
    store.writeString(u"backup"_s, u"sJobName"_s, u"Backup"_s);
    EXPECT_EQ(store.listJobs(), QStringList{u"Backup"_s});
}

TEST_F(JobStoreTest, OnlyKeysWithAJobNameAreJobs)
{
    store.writeString(u"Real"_s, u"sJobName"_s, u"Real"_s);
    store.writeString(u"NoName"_s, u"iJobType"_s, u"0"_s);
    store.writeString(u"EmptyName"_s, u"sJobName"_s, QString());
    EXPECT_EQ(store.listJobs(), QStringList{u"Real"_s});
    EXPECT_TRUE(store.jobExists(u"real"_s));
    EXPECT_FALSE(store.jobExists(u"NoName"_s));
    EXPECT_FALSE(store.jobExists(u"EmptyName"_s));
}

TEST_F(JobStoreTest, EraseTakesTheWholeJob)
{
    store.writeString(u"J"_s, u"sJobName"_s, u"J"_s);
    registry.writeValue(JobStore::storeKey + u"\\J\\Sub"_s, u"s"_s, u"x"_s);
    ASSERT_TRUE(store.eraseJob(u"j"_s));
    EXPECT_FALSE(registry.keyExists(JobStore::storeKey + u"\\J"_s));
    EXPECT_TRUE(store.listJobs().isEmpty());
}

TEST_F(JobStoreTest, RenameMovesEverythingAndRefusesATakenName)
{
    store.writeString(u"Old"_s, u"sJobName"_s, u"Old"_s);
    store.writeInteger(u"Old"_s, u"iHour"_s, 5);
    store.writeString(u"Taken"_s, u"sJobName"_s, u"Taken"_s);

    EXPECT_FALSE(store.renameJob(u"Old"_s, u"TAKEN"_s));
    EXPECT_EQ(store.readString(u"Taken"_s, u"sJobName"_s), u"Taken"_s);
    EXPECT_EQ(store.readInteger(u"Taken"_s, u"iHour"_s, -1), -1);
    EXPECT_FALSE(store.renameJob(u"Missing"_s, u"Other"_s));

    ASSERT_TRUE(store.renameJob(u"Old"_s, u"New"_s));
    EXPECT_EQ(store.listJobs(), (QStringList{u"New"_s, u"Taken"_s}));
    EXPECT_EQ(store.readString(u"New"_s, u"sJobName"_s), u"New"_s);
    EXPECT_EQ(store.readInteger(u"New"_s, u"iHour"_s, -1), 5);

    ASSERT_TRUE(store.renameJob(u"New"_s, u"NEW"_s));
    EXPECT_EQ(store.listJobs(), (QStringList{u"NEW"_s, u"Taken"_s}));
    EXPECT_EQ(store.readString(u"new"_s, u"sJobName"_s), u"NEW"_s);
}

TEST_F(JobStoreTest, ABackslashNeverNamesANestedKey)
{
    store.writeString(u"Parent"_s, u"sJobName"_s, u"Parent"_s);
    EXPECT_FALSE(store.writeString(u"Parent\\Child"_s, u"sJobName"_s, u"Parent\\Child"_s));
    EXPECT_FALSE(store.writeString(QString(), u"sJobName"_s, u"x"_s));
    EXPECT_FALSE(store.renameJob(u"Parent"_s, u"A\\B"_s));
    EXPECT_FALSE(registry.keyExists(JobStore::storeKey + u"\\Parent\\Child"_s));
    EXPECT_FALSE(store.jobExists(u"Parent\\Child"_s));
    EXPECT_FALSE(store.eraseJob(u"Parent\\Child"_s));
    EXPECT_EQ(store.listJobs(), QStringList{u"Parent"_s});
}

TEST_F(JobStoreTest, ABulkReadGivesTheChosenValuesOfEveryJobOrNothingWhenCutShort)
{
    store.writeString(u"Backup"_s, u"sJobName"_s, u"Backup"_s);
    store.writeInteger(u"Backup"_s, u"iHour"_s, 2);
    store.writeString(u"Backup"_s, u"sFreq0"_s, u"1"_s);
    store.writeString(u"Backup"_s, u"sFreq1"_s, u"15"_s);
    store.writeString(u"Backup"_s, u"sFreqX"_s, u"no digit"_s);
    store.writeString(u"Backup"_s, u"sProgram"_s, u"/bin/rsync"_s);
    store.writeString(u"Unnamed"_s, u"iHour"_s, u"3"_s);

    const auto all = store.readAll({u"sJobName"_s, u"iHour"_s}, {u"sFreq"_s});
    ASSERT_TRUE(all);
    EXPECT_EQ(all->jobs, QStringList{u"Backup"_s});
    const QList<Registry::Value> expected = {{u"sJobName"_s, u"Backup"_s}, {u"iHour"_s, u"2"_s},
        {u"sFreq0"_s, u"1"_s}, {u"sFreq1"_s, u"15"_s}};
    EXPECT_EQ(all->values(u"BACKUP"_s).values(), expected);
    EXPECT_EQ(all->values(u"Unnamed"_s).integer(u"iHour"_s, 0), 3);
    EXPECT_EQ(store.values(u"backup"_s).text(u"sProgram"_s), u"/bin/rsync"_s);

    renameRegistryTable(registry.path(), "vals", "vals_away");
    EXPECT_FALSE(store.readAll({u"sJobName"_s}, {}));
    renameRegistryTable(registry.path(), "vals_away", "vals");
    EXPECT_TRUE(store.readAll({u"sJobName"_s}, {}));
}

TEST_F(JobStoreTest, AReplaceOrATransactionChangesAllOrNothing)
{
    store.writeString(u"J"_s, u"sJobName"_s, u"J"_s);
    store.writeString(u"J"_s, u"sOld"_s, u"kept"_s);
    const QList<Registry::Value> before = store.values(u"J"_s).values();

    // A value without a name cannot be stored: the old values survive whole.
    EXPECT_FALSE(store.replaceJob(u"J"_s, {{u"sJobName"_s, u"J"_s}, {QString(), u"x"_s}}));
    EXPECT_EQ(store.values(u"J"_s).values(), before);
    EXPECT_FALSE(store.replaceJob(u"A\\B"_s, {{u"sJobName"_s, u"A"_s}}));

    const QList<Registry::Value> after = {{u"iHour"_s, u"4"_s}, {u"sJobName"_s, u"J"_s}};
    ASSERT_TRUE(store.replaceJob(u"J"_s, after));
    EXPECT_EQ(store.values(u"J"_s).values(), after);

    {
        JobStore::Transaction transaction(store);
        store.writeString(u"J"_s, u"sOld"_s, u"gone"_s);
        store.writeString(u"Other"_s, u"sJobName"_s, u"Other"_s);
    }
    EXPECT_EQ(store.values(u"J"_s).values(), after);
    EXPECT_FALSE(store.jobExists(u"Other"_s));
    {
        JobStore::Transaction transaction(store);
        store.writeString(u"Other"_s, u"sJobName"_s, u"Other"_s);
        store.writeString(u"Unnamed"_s, u"iHour"_s, u"1"_s);
        ASSERT_TRUE(transaction.commit());
    }
    EXPECT_EQ(store.listJobs(), (QStringList{u"J"_s, u"Other"_s}));

    ASSERT_TRUE(store.eraseAllJobs());
    EXPECT_TRUE(store.listJobs().isEmpty());
    EXPECT_TRUE(store.values(u"Unnamed"_s).values().isEmpty());
}

TEST_F(JobStoreTest, AnUnusableRegistryGivesDefaultsAndStoresNothing)
{
    const QString path = profile.path(u"not-a-db"_s);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("junk junk junk");
    file.close();
    Registry broken(Registry::Role::ShortLived, path);
    JobStore brokenStore(broken);
    EXPECT_FALSE(brokenStore.writeString(u"J"_s, u"sJobName"_s, u"J"_s));
    EXPECT_EQ(brokenStore.readInteger(u"J"_s, u"iHour"_s, 9), 9);
    EXPECT_TRUE(brokenStore.listJobs().isEmpty());
}

} // namespace
