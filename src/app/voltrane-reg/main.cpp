// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// voltrane-reg: inspect and change the registry file from the command line.
// Exit status: 0 done, 1 the operation failed, 2 the command line is wrong.

#include "platform/registry.h"
#include "platform/registryexport.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>

#include <cstdio>

using namespace Qt::StringLiterals;

namespace {

enum Status { Done = 0, Failed = 1, Usage = 2 };

const char usageText[] =
    "Usage: voltrane-reg [--registry FILE] COMMAND [ARGUMENTS]\n"
    "\n"
    "Inspect and change Halvorn's registry file: the jobs and settings of the scheduler.\n"
    "Keys are paths with \"\\\" between names, relative to the user's root, for example\n"
    "'Software\\Tarnwick\\Halvorn\\TimedJobs\\Backup'; names ignore letter case.\n"
    "\n"
    "Commands:\n"
    "  list KEY               print the sub-keys (ending in \"\\\") and the values\n"
    "                         (name=data, escaped as in an export file) of KEY\n"
    "  get KEY NAME           print the data of one value\n"
    "  set KEY NAME DATA      write one value, creating KEY when missing\n"
    "  delete KEY [NAME]      delete one value, or KEY with everything beneath it\n"
    "  export KEY [FILE]      write KEY's subtree to FILE (standard output: - or none)\n"
    "  import [FILE]          add the keys and values of an export file (standard input:\n"
    "                         - or none), all of it or nothing\n"
    "\n"
    "Options:\n"
    "  --registry FILE        the registry file; default $HALVORN_REGISTRY, else\n"
    "                         $XDG_CONFIG_HOME/halvorn/registry.db\n"
    "  --help                 show this text\n"
    "  --version              show the version\n"
    "\n"
    "Exit status: 0 done, 1 the operation failed (no such key or value, the file cannot\n"
    "be used), 2 the command line is wrong. Safe to use while the scheduler runs.\n";

void printOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

int error(const QString &text, int status = Failed)
{
    std::fprintf(stderr, "voltrane-reg: %s\n", text.toLocal8Bit().constData());
    if (status == Usage)
        std::fprintf(stderr, "Try 'voltrane-reg --help'.\n");
    return status;
}

int list(Registry &registry, const QString &key)
{
    if (!registry.keyExists(key))
        return error(u"no such key: "_s + key);
    QString out;
    for (const QString &child : registry.subKeys(key))
        out += RegistryExport::escape(child, false) + u"\\\n"_s;
    for (const Registry::Value &value : registry.values(key))
        out += RegistryExport::escape(value.first, true) + u'='
            + RegistryExport::escape(value.second, false) + u'\n';
    printOut(out);
    return Done;
}

int get(Registry &registry, const QString &key, const QString &name)
{
    const auto value = registry.readValue(key, name);
    if (!value)
        return error(u"no such value: "_s + key + u" "_s + name);
    printOut(*value + u'\n');
    return Done;
}

int exportTo(Registry &registry, const QString &key, const QString &file)
{
    if (!key.isEmpty() && !registry.keyExists(key))
        return error(u"no such key: "_s + key);
    const QByteArray text = RegistryExport::exportTree(registry, key).toUtf8();
    if (file.isEmpty() || file == u"-") {
        std::fwrite(text.constData(), 1, size_t(text.size()), stdout);
        return std::fflush(stdout) == 0 ? Done : error(u"cannot write to standard output"_s);
    }
    // A crash while writing leaves the old file, never half of a new one.
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly) || out.write(text) != text.size() || !out.commit())
        return error(u"cannot write "_s + file + u": "_s + out.errorString());
    return Done;
}

int importFrom(Registry &registry, const QString &file)
{
    QFile in;
    const bool fromStdin = file.isEmpty() || file == u"-";
    const bool opened = fromStdin ? in.open(stdin, QIODevice::ReadOnly)
                                  : (in.setFileName(file), in.open(QIODevice::ReadOnly));
    if (!opened)
        return error(u"cannot read "_s + (fromStdin ? u"standard input"_s : file) + u": "_s
            + in.errorString());
    const QString text = QString::fromUtf8(in.readAll());
    QString why;
    if (!RegistryExport::importText(registry, text, &why))
        return error((fromStdin ? u"standard input"_s : file) + u": "_s + why);
    return Done;
}

// "", "\\" and the like: what an unset shell variable leaves of a key path.
bool isRoot(const QString &key)
{
    for (QChar c : key)
        if (c != u'\\')
            return false;
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString registryPath;

    while (!args.isEmpty() && args.first().startsWith(u"--"_s)) {
        const QString option = args.takeFirst();
        if (option == u"--help") {
            std::fputs(usageText, stdout);
            return Done;
        }
        if (option == u"--version") {
            std::printf("voltrane-reg %s\n", HALVORN_VERSION);
            return Done;
        }
        if (option == u"--registry" && !args.isEmpty()) {
            registryPath = args.takeFirst();
            continue;
        }
        if (option.startsWith(u"--registry="_s)) {
            registryPath = option.mid(11);
            continue;
        }
        if (option == u"--")
            break;
        return error(u"unknown option: "_s + option, Usage);
    }
    if (args.isEmpty())
        return error(u"no command given"_s, Usage);

    const QString command = args.takeFirst();
    struct Shape { const char16_t *name; qsizetype min; qsizetype max; };
    static const Shape shapes[] = {
        {u"list", 1, 1}, {u"get", 2, 2}, {u"set", 3, 3},
        {u"delete", 1, 2}, {u"export", 1, 2}, {u"import", 0, 1},
    };
    const Shape *shape = nullptr;
    for (const Shape &s : shapes)
        if (command == QStringView(s.name))
            shape = &s;
    if (!shape)
        return error(u"unknown command: "_s + command, Usage);
    if (args.size() < shape->min || args.size() > shape->max)
        return error(u"wrong number of arguments for "_s + command, Usage);

    Registry registry(Registry::Role::ShortLived, registryPath);
    if (!registry.isUsable())
        return Failed; // the registry has said why on standard error

    const QString a0 = args.value(0);
    const QString a1 = args.value(1);
    if (command == u"list")
        return list(registry, a0);
    if (command == u"get")
        return get(registry, a0, a1);
    if ((command == u"set" || command == u"delete") && args.size() >= 2 && a1.isEmpty())
        return error(u"a value name cannot be empty"_s);
    if (command == u"delete" && args.size() == 1 && isRoot(a0))
        return error(u"refusing to delete the root key with every job and setting"_s);
    if (command == u"set")
        return registry.writeValue(a0, a1, args.value(2)) ? Done
                                                           : error(u"cannot write the value"_s);
    if (command == u"delete") {
        if (args.size() == 2) {
            if (!registry.readValue(a0, a1))
                return error(u"no such value: "_s + a0 + u" "_s + a1);
            return registry.deleteValue(a0, a1) ? Done : error(u"cannot delete the value"_s);
        }
        if (!registry.keyExists(a0))
            return error(u"no such key: "_s + a0);
        return registry.deleteKey(a0) ? Done : error(u"cannot delete the key"_s);
    }
    if (command == u"export")
        return exportTo(registry, a0, a1);
    return importFrom(registry, a0);
}
