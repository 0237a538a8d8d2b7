// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "engine/processdatalister.h"

#include "platform/processdata.h"

QList<ProcessLister::Entry> ProcessDataLister::processes()
{
    TProcessData data;
    TProcessData::List list;
    data.GetProcessList(list); // its errors reach the tick, which ends that walk
    QList<Entry> entries;
    entries.reserve(list.size());
    for (const auto &[name, process] : std::as_const(list))
        entries.append({name, process.processId(), process.startTime()});
    return entries;
}
