// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/help/helptopics.h"

#include <QFile>

using namespace Qt::StringLiterals;

namespace HelpTopics {

namespace {

// Three digits, a space, the title; sub-entries carry two more spaces.
const char16_t *const list[] = {
    u"000 1. Halvorn 95/NT Overview",
    u"003 2. Installing Halvorn",
    u"004 3. Uninstalling Halvorn",
    u"001 4. Starting the Program",
    u"002 5. Closing the Program",
    u"005 6. Command Line Options/Pre-Load Config",
    u"006   a. How to save your config to a File.",
    u"007 7. Using Halvorn Controls",
    u"008   a. The Menu & Toolbar",
    u"009   b. The main job list",
    u"010 8. Configuring Halvorn",
    u"100 9. The Scheduler Engine",
    u"108 10. Definitions",
    u"110   a. Single Task jobs",
    u"120   b. Multi-Step jobs",
    u"130   c. Recurring or Circular jobs",
    u"150 11. Scheduling a Program to run",
    u"160   a. Using a custom schedule",
    u"170   b. Setting Prestart Criteria (before the job runs)",
    u"180   c. Setting System Parameters for the Job",
    u"190   d. Setting Post-Job Criteria (after the job is done)",
    u"200   e. Notification criteria (emails)",
    u"210   f. Termination criteria (stopping a job)",
    u"220   g. Setting Success & Failure criteria",
    u"230   h. Using the Job Template list",
    u"300 12. Scheduling a System Job",
    u"310   a. Using a custom schedule",
    u"320   b. Scheduling shutdowns & restarts",
    u"340   c. Setting Post-Job Criteria",
    u"330 13. Scheduling a File\\Folder Job",
    u"610   a. Using a custom schedule",
    u"620   b. Setting Post-Job Criteria",
    u"650 14. Scheduling an Email Job",
    u"660   a. Using a custom schedule",
    u"670   b. Setting Post-Job Criteria",
    u"680   c. Adding File attachments to the email",
    u"350 15. The Scheduler Log",
    u"400 16. Printing",
    u"410 17. Using the clipboard",
    u"420 18. Forcing a Start-of-Day",
    u"430 19. Minimizing to an icon in the system tray",
    u"700 20. Renaming an existing job",
    u"550 21. Options on the 'Jobs' menu",
    u"570   a. Saving Jobs to a disk file",
    u"590   b. Retrieving Jobs from a disk file",
    u"440 22. Security considerations",
    u"450 23. Programmer's Reference",
    u"500 24. Contacting Tarnwick",
    u"600 25. Using Halvorn Help",
    u"997 26. Version History",
};

} // namespace

const QList<Entry> &entries()
{
    static const QList<Entry> all = [] {
        QList<Entry> out;
        for (const char16_t *line : list) {
            const QString text = QString::fromUtf16(line);
            out.append({text.left(3).toInt(), text.mid(4)});
        }
        return out;
    }();
    return all;
}

QString rawText(int number)
{
    QFile file(u":/help/topics/%1.txt"_s.arg(number));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

std::optional<Topic> topic(int number)
{
    QStringList lines = rawText(number).split(u'\n');
    while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
        lines.removeLast();
    if (lines.size() < 2)
        return std::nullopt;
    Topic t;
    t.heading = lines.first();
    const QString link = lines.last();
    t.next = link.left(3).toInt();
    t.nextWords = link.mid(4);
    t.body = lines.mid(1, lines.size() - 2).join(u'\n');
    return t;
}

} // namespace HelpTopics
