// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

class Settings;

// The one program password in `sHalvPass`. It is stored as a salted PBKDF2-SHA256 hash
// that cannot be turned back into the password:
//     $pbkdf2-sha256$<iterations>$<salt>$<key>
// (salt and key in unpadded base64url, so the text holds no blank, "=", "[" or "]" and is
// safe in pre-load files). Letters a to z count as A to Z, so a typed password matches
// regardless of their case. A value in the older scrambled form, as a pre-load file may
// still carry, is accepted and replaced by the hash at its first successful check.
// Empty means that no password is set.
class HalvPassword
{
public:
    static constexpr int maxLength = 255;
    static constexpr int defaultIterations = 100000;

    // `iterations` is the cost of new hashes (tests pass a small one).
    explicit HalvPassword(Settings &settings, int iterations = defaultIterations);

    bool isSet();
    // True when `typed` is the password; with none set, only an empty answer matches.
    // A scrambled or cheaper stored value is rewritten as a hash of the current cost.
    bool check(const QString &typed);
    // Stores the hash of a new, non-empty password of at most maxLength characters.
    bool set(const QString &password);

    // The stored form of `password` with a fresh random salt.
    static QString hash(const QString &password, int iterations = defaultIterations);
    static bool isHash(const QString &stored);
    // Whether `typed` matches a stored hash or scrambled value, in constant time for a
    // given stored value.
    static bool matches(const QString &stored, const QString &typed);

    // The older reversible-looking scrambling, kept only to accept values that carry it.
    // Longer input is cut to maxLength characters.
    static QString scramble(const QString &password);
    static constexpr char16_t backwardKey = u'H';

private:
    Settings &m_settings;
    int m_iterations;
};
