// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QIcon>
#include <QList>

// The eight frames of the tray icon's animation: a dial whose hand goes round once in
// eight ticks. Drawn once, at the few sizes panels ask for; every change of frame then
// hands over an icon that already exists.
class TrayFrames
{
public:
    static constexpr int count = 8;

    TrayFrames();
    // Frame 0 to 7; other numbers wrap round.
    const QIcon &frame(int index) const;

private:
    QList<QIcon> m_frames;
};
