#pragma once

#include "ide/records/CampaignIDEProject.h"

#include <QString>

// Shared pieces of the workspace operations' sources.
namespace orvane::workspace_operations {

// Display times the operations write: "Just now" for threads, entries and project edits, "Now" for
// artboard changes.
inline QString justNow()
{
    return QStringLiteral("Just now");
}
inline QString now()
{
    return QStringLiteral("Now");
}

inline QString liveStatus()
{
    return QStringLiteral("Live");
}

} // namespace orvane::workspace_operations
