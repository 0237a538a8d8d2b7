// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "engine/engine.h"
#include "log/activitylog.h"
#include "platform/registry.h"
#include "store/jobstore.h"
#include "store/settings.h"
#include "support/fakeclock.h"
#include "support/fakeprocesslauncher.h"
#include "support/recordinghost.h"
#include "support/tempprofile.h"
#include "support/ui/scripteddialogs.h"
#include "ui/editors/editorcontext.h"
#include "ui/editors/singlejob.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include <ostream>

// Readable texts in the failure messages.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

// The scheduler on the test's registry file with its own connection, as voltrane runs it
// beside the editors, ticking on the test's clock.
class SchedulerRun
{
public:
    SchedulerRun(const TempProfile &profile, FakeClock &clock) : m_clock(clock)
    {
        settings.setText(settings::LogFile, profile.path(QStringLiteral("test.log")));
        engine.readSettings();
        engine.startOfDay(Engine::StartOfDayKind::StartUp);
        engine.setFirstShow(false);
    }
    // Ticks every 250 ms for `ticks` ticks from `from`.
    void tickFrom(const QDateTime &from, int ticks)
    {
        m_clock.set(from);
        for (int i = 0; i < ticks; ++i) {
            m_clock.advanceMs(250);
            engine.tick();
        }
    }

    Registry registry{ Registry::Role::Scheduler };
    JobStore store{ registry };
    Settings settings{ registry };
    FakeProcessLauncher launcher;
    RecordingHost host;

private:
    FakeClock &m_clock;

public:
    ActivityLog log{ settings, m_clock };
    Engine engine{ Engine::Services{ store, settings, log, m_clock, launcher, host,
        [](const QString &) { return std::optional<qint64>(qint64(1) << 40); } } };
};

// A temporary registry, a clock at 2026-12-10 14:05:09 and scripted dialogs for the editor
// tests, with helpers that find widgets by object name and drive modal sub-dialogs.
class EditorTest : public ::testing::Test
{
protected:
    TempProfile profile;
    Registry registry;
    JobStore store{ registry };
    Settings settings{ registry };
    FakeClock clock;
    ScriptedDialogs dialogs;
    EditorContext context{ store, settings, clock };
    QObject drivers;

    std::unique_ptr<SingleJob> open(const QString &job = QString())
    {
        auto editor = std::make_unique<SingleJob>(context, job);
        editor->show();
        return editor;
    }

    template<class T = QWidget>
    static T *child(QWidget *parent, const char *name)
    {
        T *w = parent->findChild<T *>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << "no widget " << name;
        return w;
    }
    static void click(QWidget *parent, const char *name) { child<QAbstractButton>(parent, name)->click(); }

    // Runs `act` on the next modal dialog of type T as soon as it shows.
    template<class T>
    void whenShown(std::function<void(T *)> act)
    {
        auto *timer = new QTimer(&drivers);
        timer->setInterval(0);
        QObject::connect(timer, &QTimer::timeout, timer, [timer, act] {
            if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
                timer->stop();
                timer->deleteLater();
                act(dialog);
            }
        });
        timer->start();
    }

    QList<Registry::Value> stored(const QString &job)
    {
        return registry.values(JobStore::storeKey + u'\\' + job);
    }
    QStringList storedNames(const QString &job)
    {
        QStringList names;
        for (const auto &v : stored(job))
            names.append(v.first);
        return names;
    }
    // The stored values whose names start with one of `prefixes`, as "name=data".
    QStringList storedWith(const QString &job, const QStringList &prefixes)
    {
        QStringList out;
        for (const auto &[name, data] : stored(job))
            for (const QString &p : prefixes)
                if (name.startsWith(p)) {
                    out.append(name + u'=' + data);
                    break;
                }
        return out;
    }
    // Makes every write of a registry value named `valueName` fail (any name when empty),
    // as a damaged or foreign-locked file would.
    void refuseWrites(const QString &valueName = QString());
};
