// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "editortest.h"

#include "ui/editors/editortext.h"
#include "ui/editors/favoritesform.h"
#include "ui/editors/newfavoriteform.h"

#include <QLineEdit>
#include <QTreeWidget>

using namespace Qt::StringLiterals;
using Kind = Dialogs::Kind;

namespace {

class FavoritesTest : public EditorTest
{
protected:
    void SetUp() override
    {
        for (const auto &[name, data] : { std::pair{ u"Stop Server"_s, u"net stop server&&"_s },
                 std::pair{ u"Sync"_s, u"rsync&&-a&&b"_s }, std::pair{ u"One"_s, u"ls&&l"_s } })
            settings.writeString(Settings::Section::Favorites, name, data);
    }
    QList<Registry::Value> storedTemplates() { return settings.values(Settings::Section::Favorites); }
    void fillEntry(NewFavoriteForm *f, const QString &command, const QString &parameters, const QString &description)
    {
        child<QLineEdit>(f, "EditCommand")->setText(command);
        child<QLineEdit>(f, "EditParameters")->setText(parameters);
        child<QLineEdit>(f, "EditDescription")->setText(description);
    }
};

TEST_F(FavoritesTest, ReadingSplitsAtTheFirstSeparator)
{
    const QList<JobTemplate> expected{ { u"Stop Server"_s, u"net stop server"_s, QString() },
        { u"Sync"_s, u"rsync"_s, u"-a&&b"_s }, { u"One"_s, u"ls"_s, u"l"_s } };
    EXPECT_EQ(FavoritesForm::read(settings), expected);
}

TEST_F(FavoritesTest, SelectFillsTheEditorAndNeedsARow)
{
    store.writeString(u"J"_s, u"sJobName"_s, u"J"_s);
    auto editor = open(u"J"_s);
    whenShown<FavoritesForm>([](FavoritesForm *f) {
        EXPECT_FALSE(child<QWidget>(f, "ButtonSelect")->isEnabled());
        EXPECT_FALSE(child<QWidget>(f, "ButtonEdit")->isEnabled());
        EXPECT_FALSE(child<QWidget>(f, "ButtonDelete")->isEnabled());
        auto *list = child<QTreeWidget>(f, "ListFavorites");
        list->setCurrentItem(list->topLevelItem(1));
        click(f, "ButtonSelect");
    });
    click(editor.get(), "ButtonTemplates");
    EXPECT_EQ(child<QLineEdit>(editor.get(), "EditProgram")->text(), u"rsync"_s);
    EXPECT_EQ(child<QLineEdit>(editor.get(), "EditCommandLine")->text(), u"-a&&b"_s);
}

TEST_F(FavoritesTest, AddedEditedAndDeletedRowsAreWrittenBackInListOrderOnCancel)
{
    FavoritesForm form(settings);
    form.show();
    auto *list = child<QTreeWidget>(&form, "ListFavorites");
    whenShown<NewFavoriteForm>([this](NewFavoriteForm *f) {
        fillEntry(f, u"/usr/bin/backup"_s, u"--all"_s, u"Backup"_s);
        click(f, "ButtonSave");
    });
    click(&form, "ButtonAdd");
    list->setCurrentItem(list->topLevelItem(0));
    whenShown<NewFavoriteForm>([](NewFavoriteForm *f) {
        EXPECT_EQ(child<QLineEdit>(f, "EditCommand")->text(), u"net stop server"_s);
        child<QLineEdit>(f, "EditParameters")->setText(u"/yes"_s);
        click(f, "ButtonSave");
    });
    click(&form, "ButtonEdit");
    list->setCurrentItem(list->topLevelItem(2));
    click(&form, "ButtonDelete");
    click(&form, "ButtonCancel");
    const QList<Registry::Value> expected{ { u"Stop Server"_s, u"net stop server&&/yes"_s },
        { u"Sync"_s, u"rsync&&-a&&b"_s }, { u"Backup"_s, u"/usr/bin/backup&&--all"_s } };
    EXPECT_EQ(storedTemplates(), expected);
}

TEST_F(FavoritesTest, TheEntryFormRefusesWhatTheListCannotHold)
{
    NewFavoriteForm form(JobTemplate(), { u"Stop Server"_s });
    const struct
    {
        QString command, description, message;
    } cases[] = {
        { QString(), u"X"_s, EditorText::templateNoCommand() },
        { u"a&&b"_s, u"X"_s, EditorText::templateSeparator() },
        { u"ls"_s, QString(), EditorText::templateNoDescription() },
        { u"ls"_s, u"stop SERVER"_s, EditorText::templateDuplicate() },
    };
    for (const auto &c : cases) {
        fillEntry(&form, c.command, QString(), c.description);
        dialogs.expect(Kind::Warning, c.message);
        form.accept();
        EXPECT_NE(form.result(), QDialog::Accepted);
    }
    fillEntry(&form, u"ls"_s, u"-l"_s, u"List"_s);
    form.accept();
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(FavoritesTest, AFailedRewriteKeepsTheStoredListAndTheDialogOpen)
{
    const QList<Registry::Value> before = storedTemplates();
    FavoritesForm form(settings);
    form.show();
    auto *list = child<QTreeWidget>(&form, "ListFavorites");
    list->setCurrentItem(list->topLevelItem(0));
    click(&form, "ButtonDelete");
    refuseWrites();
    list->setCurrentItem(list->topLevelItem(0));
    dialogs.expect(Kind::Error, EditorText::templatesNotSaved());
    click(&form, "ButtonSelect");
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(storedTemplates(), before);
    dialogs.expect(Kind::Error, EditorText::templatesNotSaved());
    form.reject();
    EXPECT_TRUE(form.isVisible());
    form.reject(); // a second Cancel gives up the changes
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(storedTemplates(), before);
}

} // namespace
