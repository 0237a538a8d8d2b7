// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

// A second process for the registry tests.
//   registry_writer FILE rewrite KEY     erase and rewrite KEY with 60 values of one
//                                        version, over and over, until killed
//   registry_writer FILE fill KEY COUNT  write COUNT values into KEY, one at a time

#include "platform/registry.h"

#include <QCoreApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 2;
    Registry registry(Registry::Role::ShortLived, args[1]);
    if (!registry.isUsable())
        return 1;
    const QString key = args[3];
    if (args[2] == u"rewrite") {
        std::puts("ready");
        std::fflush(stdout);
        for (int version = 1;; ++version) {
            Registry::Transaction transaction(registry);
            registry.deleteKey(key);
            for (int i = 0; i < 60; ++i)
                registry.writeValue(key, QStringLiteral("sValue") + QString::number(i),
                    QString::number(version));
            transaction.commit();
        }
    }
    if (args[2] == u"fill" && args.size() == 5) {
        const int count = args[4].toInt();
        for (int i = 0; i < count; ++i)
            if (!registry.writeValue(key, QStringLiteral("v") + QString::number(i), QString::number(i)))
                return 1;
        return 0;
    }
    return 2;
}
