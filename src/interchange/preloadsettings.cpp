// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "interchange/preloadsettings.h"

#include "interchange/programfolder.h"
#include "log/activitylog.h"
#include "platform/inidocument.h"
#include "platform/registry.h"
#include "store/settings.h"
#include "store/valuecodec.h"

#include <QFile>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace {

const QString loadFileSwitch = u"/LOADFILE"_s;
const QString configSection = u"Config"_s;
const QString messagePrefix = u"The pre-load file: "_s;
const QString linePrefix = u"Pre-load: File: "_s;
const QString noDataMessage = u"There is no pre-load data in the file..."_s;

} // namespace

PreloadSettings::PreloadSettings(Settings &settings, ActivityLog &log, ShowMessage showMessage)
    : m_settings(settings)
    , m_log(log)
    , m_showMessage(std::move(showMessage))
    , m_programFolder(ProgramFolder::path())
{
    if (!m_showMessage)
        m_showMessage = [](const QString &) {};
}

QString PreloadSettings::fileNameFrom(const QStringList &arguments)
{
    if (arguments.size() < 3 || arguments[1].toUpper() != loadFileSwitch)
        return QString();
    return arguments[2];
}

bool PreloadSettings::run(const QStringList &arguments)
{
    const QString name = fileNameFrom(arguments);
    if (name.isEmpty())
        return false;
    load(name);
    return true;
}

void PreloadSettings::load(const QString &name)
{
    const QString path = ProgramFolder::resolve(name, m_programFolder);
    if (!QFileInfo(path).isFile()) {
        m_showMessage(messagePrefix + path + u" can not be found..."_s);
        m_log.logMessage(linePrefix + path + u" not found"_s);
        return;
    }
    IniDocument document;
    if (!document.load(path)) {
        m_showMessage(messagePrefix + path + u" can not be read..."_s);
        m_log.logMessage(linePrefix + path + u" read error!"_s);
        return;
    }

    const QList<IniDocument::Entry> entries = document.entries(configSection);
    if (entries.isEmpty())
        m_showMessage(noDataMessage);
    {
        // All of the file or none of it, should the program die halfway.
        Settings::Transaction transaction(m_settings);
        for (const auto &[key, value] : entries) {
            using Section = Setting::Section;
            switch (key.front().unicode()) {
            case u's':
                m_settings.writeString(Section::Config, key, value);
                break;
            case u'i':
                m_settings.writeInteger(
                    Section::Config, key, ValueCodec::parseInteger(value).value_or(0));
                break;
            case u'b':
                m_settings.writeBoolean(
                    Section::Config, key, ValueCodec::parseInteger(value).value_or(0) != 0);
                break;
            default:
                break; // counted all the same
            }
        }
        transaction.commit();
    }
    m_log.logMessage(
        linePrefix + path + u" loaded. "_s + QString::number(entries.size()) + u" lines"_s);
    for (int n = document.unnamedEntries(configSection); n > 0; --n)
        m_log.logMessage(linePrefix + path + u": a value without a name was skipped"_s);

    // Read only now, so that the file itself can ask to be deleted.
    if (!m_settings.boolean(settings::DeleteStartupFile))
        return;
    if (QFile::remove(path))
        m_log.logMessage(linePrefix + path + u" deleted"_s);
    else
        m_log.logMessage(linePrefix + path + u" deletion error!"_s);
}
