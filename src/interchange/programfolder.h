// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#pragma once

#include <QString>

// The folder of the program's own executable, where the start-up files live when they
// are named without a folder.
namespace ProgramFolder {

// QCoreApplication::applicationDirPath(); an application object must exist.
QString path();
// A name without a "/" lives in `folder`; any other name is used as it stands (a
// relative one from the current directory). Empty stays empty.
QString resolve(const QString &name, const QString &folder);

} // namespace ProgramFolder
