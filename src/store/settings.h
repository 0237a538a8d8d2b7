// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/registry.h"
#include "store/setting.h"

#include <QString>

// Program-wide settings beside the job store under Software\Tarnwick\Halvorn, in the
// sections Config, Email and Favorites. Nothing is cached: every read goes to the
// registry, so a change by another program takes effect at the next use. Failures are
// silent, as for jobs.
class Settings
{
public:
    using Section = Setting::Section;
    enum class Variant { Primary, Alternate };

    static const QString productKey;
    static QString sectionKey(Section section);

    explicit Settings(Registry &registry) : m_registry(registry) {}

    // Several changes as one: all of them reach the store or none does.
    class Transaction : public Registry::Transaction
    {
    public:
        explicit Transaction(Settings &settings) : Registry::Transaction(settings.m_registry) {}
    };

    QString readString(Section section, const QString &name, const QString &defaultValue);
    int readInteger(Section section, const QString &name, int defaultValue);
    bool readBoolean(Section section, const QString &name, bool defaultValue);
    bool writeString(Section section, const QString &name, const QString &value);
    bool writeInteger(Section section, const QString &name, int value);
    bool writeBoolean(Section section, const QString &name, bool value);
    bool contains(Section section, const QString &name);
    // Removes the whole section (the Favorites list is saved this way, then rewritten).
    bool erase(Section section);
    // Every value of a section in the order written, for lists such as Favorites.
    QList<Registry::Value> values(Section section);
    // Several values of a section in one look, in the order of `names`.
    QList<std::optional<QString>> readValues(Section section, const QStringList &names);
    // The section's values replaced by `values` as one change; the old ones survive a
    // failure.
    bool replaceSection(Section section, const QList<Registry::Value> &values);

    // Reads and writes through the settings table, with the table's default.
    QString text(const Setting &setting, Variant variant = Variant::Primary);
    int integer(const Setting &setting);
    bool boolean(const Setting &setting);
    bool setText(const Setting &setting, const QString &value);
    bool setInteger(const Setting &setting, int value);
    bool setBoolean(const Setting &setting, bool value);

    // Width of the n-th job list column (iTimedListCol<n>).
    int timedListColumn(int n);

    static QString defaultText(const Setting &setting, Variant variant = Variant::Primary);

private:
    Registry &m_registry;
};
