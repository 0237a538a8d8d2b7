// SPDX-License-Identifier: MIT
// Copyright (c) 2026 The Halvorn developers

#include "log/logcategories.h"

#include "store/settings.h"

LogCategories LogCategories::load(Settings &settings)
{
    LogCategories c;
    c.jobStarts = settings.boolean(settings::LogJobStarts);
    c.jobEnds = settings.boolean(settings::LogJobEnds);
    c.jobPrestarts = settings.boolean(settings::LogJobPrestarts);
    c.jobListChanges = settings.boolean(settings::LogJobListChanges);
    c.emails = settings.boolean(settings::LogEmails);
    c.debugInfo = settings.boolean(settings::LogDebugInfo);
    return c;
}
