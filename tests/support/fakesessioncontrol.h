// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include "platform/sessioncontrol.h"

#include <QList>

// Session control that never touches the system: records every call and accepts
// requests, except as many leading ones as `refuseFirst` says.
class FakeSessionControl final : public SessionControl
{
public:
    struct Request
    {
        Action action;
        bool force;
        bool operator==(const Request &) const = default;
    };

    // Requests refused before the first one is accepted; a large number refuses all.
    int refuseFirst = 0;
    bool privilegeResult = true;

    QList<Request> requests;
    int privilegeCalls = 0;
    // How many requests had been made when the privilege was last enabled.
    qsizetype requestsAtPrivilege = -1;

    bool enableShutdownPrivilege() override
    {
        ++privilegeCalls;
        requestsAtPrivilege = requests.size();
        return privilegeResult;
    }

    bool request(Action action, bool force) override
    {
        requests.append({ action, force });
        return requests.size() > refuseFirst;
    }
};
