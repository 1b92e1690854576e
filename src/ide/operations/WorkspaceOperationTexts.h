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

// A launched campaign keeps the status "Live": later artboard work changes its artboards and its
// "updated" text, never its status.
inline void setStatusUnlessLive(CampaignIDEProject &project, const QString &status)
{
    if (!project.isLaunched)
        project.status = status;
}

} // namespace orvane::workspace_operations
