// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "platform/inidocument.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

constexpr char bom[] = "\xEF\xBB\xBF";

bool isQuote(QChar c) { return c == u'"' || c == u'\''; }

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\n') || text.contains(u'\r');
}

QString unquote(const QString &text)
{
    const QString value = text.trimmed();
    if (value.size() >= 2 && isQuote(value.front()) && value.back() == value.front())
        return value.mid(1, value.size() - 2);
    return value;
}

// The name of a section header line (without its outer blanks): "[" first and a "]"
// later; the name ends at the last "]", so names that hold brackets themselves survive.
std::optional<QString> headerName(const QString &text)
{
    if (!text.startsWith(u'['))
        return std::nullopt;
    const qsizetype close = text.lastIndexOf(u']');
    if (close < 1)
        return std::nullopt;
    return text.mid(1, close - 1).trimmed();
}

} // namespace

void IniDocument::Section::index()
{
    keyIndex.clear();
    lastEntry = -1;
    for (int i = 0; i < int(lines.size()); ++i) {
        if (!lines[i].isEntry)
            continue;
        const QString key = fold(lines[i].key);
        if (!keyIndex.contains(key))
            keyIndex.insert(key, i);
        lastEntry = i;
    }
}

// After the last key; in a section without keys after its last non-blank line. Only
// lines that are not keys come after that point, so the key index stays valid.
int IniDocument::Section::insertionPoint() const
{
    if (lastEntry >= 0)
        return lastEntry + 1;
    int point = int(lines.size());
    while (point > 0 && lines[point - 1].raw.trimmed().isEmpty())
        --point;
    return point;
}

// `text` is the decoded line without its blanks at either end.
IniDocument::Line IniDocument::parseLine(QByteArray raw, const QString &text)
{
    Line line;
    line.raw = std::move(raw);
    if (text.startsWith(u';'))
        return line;
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0)
        return line;
    line.key = text.first(equals).trimmed();
    if (line.key.isEmpty()) {
        line.unnamed = true;
        return line;
    }
    line.isEntry = true;
    line.value = unquote(text.sliced(equals + 1));
    return line;
}

IniDocument IniDocument::fromUtf8(QByteArrayView text)
{
    IniDocument document;
    if (text.startsWith(QByteArrayView(bom))) {
        document.m_bom = true;
        text = text.sliced(3);
    }
    const qsizetype firstEnd = text.indexOf('\n');
    document.m_crlf = firstEnd > 0 && text[firstEnd - 1] == '\r';

    qsizetype from = 0;
    while (from < text.size()) {
        qsizetype end = text.indexOf('\n', from);
        if (end < 0)
            end = text.size();
        QByteArrayView rawView = text.sliced(from, end - from);
        if (rawView.endsWith('\r'))
            rawView.chop(1);
        from = end + 1;

        QByteArray raw = rawView.toByteArray();
        const QString trimmed = QString::fromUtf8(raw).trimmed();
        if (auto name = headerName(trimmed)) {
            Section section;
            section.name = *name;
            section.header = std::move(raw);
            document.m_sections.push_back(std::move(section));
            continue;
        }
        Line line = parseLine(std::move(raw), trimmed);
        if (document.m_sections.empty()) {
            line.isEntry = false; // keys before any section are never read
            document.m_preamble.push_back(std::move(line));
        } else {
            document.m_sections.back().lines.push_back(std::move(line));
        }
    }
    for (Section &section : document.m_sections)
        section.index();
    document.indexSections();
    return document;
}

QByteArray IniDocument::toUtf8() const
{
    const QByteArray end = m_crlf ? "\r\n"_ba : "\n"_ba;
    qsizetype size = 3;
    for (const Line &line : m_preamble)
        size += line.raw.size() + 2;
    for (const Section &section : m_sections) {
        size += section.header.size() + 2;
        for (const Line &line : section.lines)
            size += line.raw.size() + 2;
    }
    QByteArray out;
    out.reserve(size);
    if (m_bom)
        out += bom;
    for (const Line &line : m_preamble)
        out += line.raw + end;
    for (const Section &section : m_sections) {
        out += section.header + end;
        for (const Line &line : section.lines)
            out += line.raw + end;
    }
    return out;
}

bool IniDocument::load(const QString &path)
{
    *this = IniDocument();
    QFile file(path);
    if (!file.exists())
        return true;
    // Without blocking, and a regular file only: a FIFO would hold the caller in open()
    // for good, /dev/zero would fill the memory.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat info;
    if (fd < 0)
        return false;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)
        || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    *this = fromUtf8(bytes);
    return true;
}

bool IniDocument::save(const QString &path) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void IniDocument::indexSections()
{
    m_sectionIndex.clear();
    for (int i = 0; i < int(m_sections.size()); ++i) {
        const QString name = fold(m_sections[i].name);
        if (!m_sectionIndex.contains(name))
            m_sectionIndex.insert(name, i);
    }
}

const IniDocument::Section *IniDocument::section(const QString &name) const
{
    const auto it = m_sectionIndex.constFind(fold(name));
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[*it];
}

IniDocument::Section *IniDocument::section(const QString &name)
{
    return const_cast<Section *>(std::as_const(*this).section(name));
}

bool IniDocument::hasSection(const QString &name) const
{
    return section(name) != nullptr;
}

std::optional<QString> IniDocument::find(const QString &sectionName, const QString &key) const
{
    const Section *s = section(sectionName);
    if (!s)
        return std::nullopt;
    const auto it = s->keyIndex.constFind(fold(key));
    if (it == s->keyIndex.cend())
        return std::nullopt;
    return s->lines[*it].value;
}

QString IniDocument::value(
    const QString &section, const QString &key, const QString &defaultValue) const
{
    return find(section, key).value_or(defaultValue);
}

QStringList IniDocument::sections() const
{
    QStringList names;
    names.reserve(m_sectionIndex.size());
    for (int i = 0; i < int(m_sections.size()); ++i) {
        if (m_sectionIndex.value(fold(m_sections[i].name)) == i)
            names.append(m_sections[i].name);
    }
    return names;
}

QStringList IniDocument::keys(const QString &sectionName) const
{
    QStringList names;
    for (const Entry &entry : entries(sectionName))
        names.append(entry.first);
    return names;
}

QList<IniDocument::Entry> IniDocument::entries(const QString &sectionName) const
{
    QList<Entry> result;
    const Section *s = section(sectionName);
    if (!s)
        return result;
    for (int i = 0; i < int(s->lines.size()); ++i) {
        const Line &line = s->lines[i];
        if (line.isEntry && s->keyIndex.value(fold(line.key)) == i)
            result.append({line.key, line.value});
    }
    return result;
}

int IniDocument::unnamedEntries(const QString &sectionName) const
{
    const Section *s = section(sectionName);
    if (!s)
        return 0;
    return int(std::count_if(
        s->lines.begin(), s->lines.end(), [](const Line &line) { return line.unnamed; }));
}

QString IniDocument::encodeValue(const QString &value)
{
    if (value != value.trimmed() || unquote(value) != value)
        return u'"' + value + u'"';
    return value;
}

bool IniDocument::setValue(const QString &sectionName, const QString &key, const QString &value)
{
    if (!isValidSectionName(sectionName) || !isValidKeyName(key) || !isValidValue(value))
        return false;
    Section *s = section(sectionName);
    if (!s) {
        // A blank line apart from what comes before, for whoever reads the file.
        std::vector<Line> &before = m_sections.empty() ? m_preamble : m_sections.back().lines;
        if (!before.empty() && !before.back().raw.trimmed().isEmpty())
            before.push_back(Line());
        Section created;
        created.name = sectionName.trimmed();
        created.header = '[' + created.name.toUtf8() + ']';
        m_sections.push_back(std::move(created));
        m_sectionIndex.insert(fold(sectionName), int(m_sections.size()) - 1);
        s = &m_sections.back();
    }
    const auto it = s->keyIndex.constFind(fold(key));
    if (it != s->keyIndex.cend()) {
        Line &line = s->lines[*it];
        line.value = value;
        line.raw = QString(line.key + u'=' + encodeValue(value)).toUtf8();
        return true;
    }
    Line line;
    line.isEntry = true;
    line.key = key.trimmed();
    line.value = value;
    line.raw = QString(line.key + u'=' + encodeValue(value)).toUtf8();
    const int at = s->insertionPoint();
    s->lines.insert(s->lines.begin() + at, std::move(line));
    s->keyIndex.insert(fold(key), at);
    s->lastEntry = at;
    return true;
}

bool IniDocument::removeKey(const QString &sectionName, const QString &key)
{
    Section *s = section(sectionName);
    if (!s)
        return false;
    const QString folded = fold(key);
    if (!s->keyIndex.contains(folded))
        return false;
    std::erase_if(
        s->lines, [&](const Line &line) { return line.isEntry && fold(line.key) == folded; });
    s->index();
    return true;
}

bool IniDocument::removeSection(const QString &sectionName)
{
    const QString folded = fold(sectionName);
    if (!m_sectionIndex.contains(folded))
        return false;
    std::erase_if(m_sections, [&](const Section &s) { return fold(s.name) == folded; });
    indexSections();
    return true;
}

bool IniDocument::isValidSectionName(const QString &section)
{
    return !hasLineBreak(section);
}

bool IniDocument::isValidKeyName(const QString &key)
{
    const QString name = key.trimmed();
    return !name.isEmpty() && !name.contains(u'=') && !hasLineBreak(name) && !name.startsWith(u'[')
        && !name.startsWith(u';');
}

bool IniDocument::isValidValue(const QString &value)
{
    return !hasLineBreak(value);
}
