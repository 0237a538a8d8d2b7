// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/config/halvpassword.h"

#include "store/settings.h"

#include <QCryptographicHash>
#include <QPasswordDigestor>
#include <QRandomGenerator>
#include <QStringList>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

const QString hashPrefix = u"$pbkdf2-sha256$"_s;
constexpr int saltBytes = 16;
constexpr int keyBytes = 32;
constexpr int minIterations = 1;
constexpr int maxIterations = 10000000;
constexpr auto base64Options = QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals;

// Only a to z fold; other letters keep their case, as the scrambled form always did.
QString foldCase(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    }
    return folded;
}

QByteArray deriveKey(const QString &password, const QByteArray &salt, int iterations)
{
    return QPasswordDigestor::deriveKeyPbkdf2(QCryptographicHash::Sha256,
        foldCase(password).toUtf8(), salt, iterations, keyBytes);
}

bool equalInConstantTime(const QByteArray &a, const QByteArray &b)
{
    if (a.size() != b.size())
        return false;
    unsigned char difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i]);
    return difference == 0;
}

bool equalInConstantTime(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    char16_t difference = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= a[i].unicode() ^ b[i].unicode();
    return difference == 0;
}

struct ParsedHash
{
    int iterations = 0;
    QByteArray salt;
    QByteArray key;
};

std::optional<ParsedHash> parseHash(const QString &stored)
{
    if (!stored.startsWith(hashPrefix))
        return std::nullopt;
    const QStringList parts = stored.mid(hashPrefix.size()).split(u'$');
    if (parts.size() != 3)
        return std::nullopt;
    bool ok = false;
    ParsedHash parsed;
    parsed.iterations = parts[0].toInt(&ok);
    if (!ok || parsed.iterations < minIterations || parsed.iterations > maxIterations)
        return std::nullopt;
    const auto salt = QByteArray::fromBase64Encoding(parts[1].toLatin1(),
        base64Options | QByteArray::AbortOnBase64DecodingErrors);
    const auto key = QByteArray::fromBase64Encoding(parts[2].toLatin1(),
        base64Options | QByteArray::AbortOnBase64DecodingErrors);
    if (!salt || !key || salt.decoded.isEmpty() || key.decoded.size() != keyBytes)
        return std::nullopt;
    parsed.salt = salt.decoded;
    parsed.key = key.decoded;
    return parsed;
}

// The scrambling's exclusive-or, which leaves a character alone where the result would be
// a control character, a blank, "=", "[" or "]".
char16_t conditionalXor(char16_t c, unsigned k)
{
    const unsigned x = c ^ k;
    const bool excluded = x <= 32 || x == 61 || x == 91 || x == 93 || (x >= 127 && x <= 144)
        || (x >= 147 && x <= 159);
    return excluded ? c : static_cast<char16_t>(x);
}

} // namespace

HalvPassword::HalvPassword(Settings &settings, int iterations)
    : m_settings(settings), m_iterations(iterations)
{
}

bool HalvPassword::isSet() { return !m_settings.text(settings::HalvPass).isEmpty(); }

bool HalvPassword::check(const QString &typed)
{
    const QString stored = m_settings.text(settings::HalvPass);
    if (stored.isEmpty())
        return typed.isEmpty();
    if (!matches(stored, typed))
        return false;
    const auto parsed = parseHash(stored);
    if (!parsed || parsed->iterations < m_iterations)
        m_settings.setText(settings::HalvPass, hash(typed, m_iterations));
    return true;
}

bool HalvPassword::set(const QString &password)
{
    if (password.isEmpty() || password.size() > maxLength)
        return false;
    return m_settings.setText(settings::HalvPass, hash(password, m_iterations));
}

QString HalvPassword::hash(const QString &password, int iterations)
{
    QByteArray salt(saltBytes, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32 *>(salt.data()),
        saltBytes / sizeof(quint32));
    return hashPrefix + QString::number(iterations) + u'$'
        + QString::fromLatin1(salt.toBase64(base64Options)) + u'$'
        + QString::fromLatin1(deriveKey(password, salt, iterations).toBase64(base64Options));
}

bool HalvPassword::isHash(const QString &stored) { return parseHash(stored).has_value(); }

bool HalvPassword::matches(const QString &stored, const QString &typed)
{
    if (const auto parsed = parseHash(stored))
        return equalInConstantTime(deriveKey(typed, parsed->salt, parsed->iterations), parsed->key);
    if (stored.isEmpty() || typed.isEmpty())
        return stored.isEmpty() && typed.isEmpty();
    return equalInConstantTime(scramble(typed), stored);
}

QString HalvPassword::scramble(const QString &password)
{
    QString s = foldCase(password.left(maxLength));
    const auto n = static_cast<unsigned>(s.size());
    // Positions count from 1, as in the description of the form.
    auto at = [&s](unsigned i) { return s[i - 1].unicode(); };
    auto put = [&s](unsigned i, char16_t c) { s[i - 1] = QChar(c); };
    for (unsigned i = 1; i <= n; ++i) {
        char16_t c = conditionalXor(at(i), n);
        c = conditionalXor(c, i);
        put(i, conditionalXor(c, i == 1 ? 0 : at(i - 1)));
    }
    if (n > 1) {
        for (unsigned i = n; i >= 1; --i) {
            char16_t c = conditionalXor(at(i), n);
            if (i == n) {
                c = conditionalXor(c, backwardKey);
            } else {
                c = conditionalXor(c, i);
                c = conditionalXor(c, at(i + 1));
            }
            put(i, c);
        }
    }
    return s;
}
