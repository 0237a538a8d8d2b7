// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "store/settings.h"

#include "platform/paths.h"
#include "store/valuecodec.h"

const QString Settings::productKey = QStringLiteral("Software\\Tarnwick\\Halvorn");

QString Settings::sectionKey(Section section)
{
    switch (section) {
    case Section::Config:
        return productKey + QStringLiteral("\\Config");
    case Section::Email:
        return productKey + QStringLiteral("\\Email");
    case Section::Favorites:
        return productKey + QStringLiteral("\\Favorites");
    }
    return productKey;
}

QString Settings::readString(Section section, const QString &name, const QString &defaultValue)
{
    return m_registry.readValue(sectionKey(section), name).value_or(defaultValue);
}

int Settings::readInteger(Section section, const QString &name, int defaultValue)
{
    return ValueCodec::readInteger(m_registry.readValue(sectionKey(section), name), defaultValue);
}

bool Settings::readBoolean(Section section, const QString &name, bool defaultValue)
{
    return ValueCodec::readBoolean(m_registry.readValue(sectionKey(section), name), defaultValue);
}

bool Settings::writeString(Section section, const QString &name, const QString &value)
{
    return !name.isEmpty() && m_registry.writeValue(sectionKey(section), name, value);
}

bool Settings::writeInteger(Section section, const QString &name, int value)
{
    return writeString(section, name, ValueCodec::formatInteger(value));
}

bool Settings::writeBoolean(Section section, const QString &name, bool value)
{
    return writeString(section, name, ValueCodec::formatBoolean(value));
}

bool Settings::contains(Section section, const QString &name)
{
    return m_registry.readValue(sectionKey(section), name).has_value();
}

bool Settings::erase(Section section) { return m_registry.deleteKey(sectionKey(section)); }

QList<Registry::Value> Settings::values(Section section)
{
    return m_registry.values(sectionKey(section));
}

QList<std::optional<QString>> Settings::readValues(Section section, const QStringList &names)
{
    return m_registry.readValues(sectionKey(section), names);
}

bool Settings::replaceSection(Section section, const QList<Registry::Value> &values)
{
    return m_registry.replaceKey(sectionKey(section), values);
}

QString Settings::defaultText(const Setting &setting, Variant variant)
{
    if (setting.defaultKind == Setting::Default::LogFilePath)
        return Paths::defaultLogFile();
    if (variant == Variant::Alternate && setting.alternateDefault)
        return QString::fromUtf16(setting.alternateDefault);
    return QString::fromUtf16(setting.defaultValue);
}

QString Settings::text(const Setting &setting, Variant variant)
{
    return readString(setting.section, setting.nameText(), defaultText(setting, variant));
}

int Settings::integer(const Setting &setting)
{
    return readInteger(setting.section, setting.nameText(),
        ValueCodec::parseInteger(defaultText(setting)).value_or(0));
}

bool Settings::boolean(const Setting &setting)
{
    return readBoolean(setting.section, setting.nameText(), defaultText(setting) != u"0");
}

bool Settings::setText(const Setting &setting, const QString &value)
{
    return writeString(setting.section, setting.nameText(), value);
}

bool Settings::setInteger(const Setting &setting, int value)
{
    return writeInteger(setting.section, setting.nameText(), value);
}

bool Settings::setBoolean(const Setting &setting, bool value)
{
    return writeBoolean(setting.section, setting.nameText(), value);
}

int Settings::timedListColumn(int n)
{
    const Setting &row = n == 0 ? settings::TimedListColFirst : settings::TimedListColOther;
    return readInteger(Section::Config, u"iTimedListCol" + QString::number(n),
        ValueCodec::parseInteger(defaultText(row)).value_or(0));
}
