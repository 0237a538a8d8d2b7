// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/activitylog.h"
#include "log/logsink.h"
#include "platform/clock.h"
#include "platform/registry.h"
#include "platform/signalwatcher.h"
#include "store/settings.h"

#include <QCoreApplication>

#include <cstdio>

namespace {

const QString startedText = QStringLiteral("Halvorn 95/NT headless scheduler started.");

// Every log line is echoed to standard output.
class StdoutSink final : public LogSink
{
public:
    void logLineAdded(const QString &line) override
    {
        std::fprintf(stdout, "%s\n", line.toLocal8Bit().constData());
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("voltraned"));

    SignalWatcher watcher;
    QObject::connect(&watcher, &SignalWatcher::terminationRequested, &app, [] {
        QCoreApplication::quit();
    });

    Registry registry(Registry::Role::Scheduler);
    Settings settings(registry);
    SystemClock clock;
    StdoutSink sink;
    ActivityLog log(settings, clock);
    log.setSink(&sink);
    log.logMessage(startedText);

    return app.exec();
}
