// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "ui/presencetext.h"

#include <QCoreApplication>

namespace PresenceText {

QString trayTip() { return QStringLiteral("Halvorn"); }
QString openItem() { return QCoreApplication::translate("Presence", "&Open"); }
QString exitItem() { return QCoreApplication::translate("Presence", "&Exit"); }

} // namespace PresenceText
