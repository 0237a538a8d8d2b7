// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>
#include <vector>

// An INI file held in memory: load once, read and change it many times, save once.
// Reading follows the profile-string rules: section and key names compare without
// regard to case (and without the blanks around them), the first section of a name and
// the first key of a name in it win, blanks around a value are dropped and then one pair
// of matching surrounding quotes (" or ').
//
// Writing keeps every other line as it was, byte for byte: comments (";"), blank lines,
// lines before the first section, later sections of a repeated name, and lines inside a
// section that hold no "=". Such lines are never read as keys. A changed key keeps its
// place and spelling; a new key goes after the last key of its section, a new section
// at the end. Values that would not read back as written (blanks at either end, a pair
// of surrounding quotes) are written inside double quotes.
//
// Files are UTF-8; a leading byte-order mark and CRLF line ends are kept.
class IniDocument
{
public:
    using Entry = std::pair<QString, QString>; // key as spelt in the file, value

    IniDocument() = default;

    static IniDocument fromUtf8(QByteArrayView text);
    QByteArray toUtf8() const;

    // A missing file reads as an empty document and returns true; false when the file
    // exists but cannot be read (the document is then empty: do not save it over the file).
    bool load(const QString &path);
    // Writes a temporary file beside `path` and renames it into place, so the old file
    // stays whole if this fails or the program dies. False when it cannot be written.
    bool save(const QString &path) const;

    bool hasSection(const QString &section) const;
    std::optional<QString> find(const QString &section, const QString &key) const;
    QString value(
        const QString &section, const QString &key, const QString &defaultValue = QString()) const;

    // Each name once, as spelt where it first appears, in file order.
    QStringList sections() const;
    QStringList keys(const QString &section) const;
    QList<Entry> entries(const QString &section) const;
    // The lines of the section that give a value without a name; entries() leaves them out.
    int unnamedEntries(const QString &section) const;

    // False, and nothing changes, for a name or value that a file line cannot hold (see
    // the isValid functions); line breaks in values are the caller's to encode.
    bool setValue(const QString &section, const QString &key, const QString &value);
    // Every occurrence of the key in the first section of that name, so that it reads as
    // missing afterwards. True when something was removed.
    bool removeKey(const QString &section, const QString &key);
    // Every section of that name. True when something was removed.
    bool removeSection(const QString &section);

    static bool isValidSectionName(const QString &section);
    static bool isValidKeyName(const QString &key);
    static bool isValidValue(const QString &value);

private:
    struct Line
    {
        QByteArray raw; // without the line end
        bool isEntry = false;
        bool unnamed = false; // "=value": an entry without a name, never read
        QString key; // trimmed, as spelt
        QString value; // as read
    };
    struct Section
    {
        QString name;
        QByteArray header;
        std::vector<Line> lines;
        QHash<QString, int> keyIndex; // folded key -> first entry line
        int lastEntry = -1;

        void index();
        int insertionPoint() const;
    };

    static QString fold(const QString &name) { return name.trimmed().toCaseFolded(); }
    static QString encodeValue(const QString &value);
    static Line parseLine(QByteArray raw, const QString &text);

    const Section *section(const QString &name) const;
    Section *section(const QString &name);
    void indexSections();

    std::vector<Line> m_preamble; // lines before the first section
    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded name -> first section of that name
    bool m_bom = false;
    bool m_crlf = false;
};
