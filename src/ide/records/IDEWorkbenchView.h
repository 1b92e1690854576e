#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>

namespace orvane {

// The workbench tab of a thread. The raw value is persisted and is also the tab's label.
enum class IDEWorkbenchView { document, table, canvas, dashboard, explore, localFiles };

// The symbol name shown beside the tab's label.
[[nodiscard]] QString icon(IDEWorkbenchView view);

// How much a thread's agents may run without a person's approval; the raw value is the menu label.
enum class ThreadApprovalMode { manual, safeReads, autonomous };

} // namespace orvane

ORVANE_JSON_ENUM(orvane::IDEWorkbenchView, { orvane::IDEWorkbenchView::document, "Document" },
    { orvane::IDEWorkbenchView::table, "Table" }, { orvane::IDEWorkbenchView::canvas, "Canvas" },
    { orvane::IDEWorkbenchView::dashboard, "Dashboard" }, { orvane::IDEWorkbenchView::explore, "Explore" },
    { orvane::IDEWorkbenchView::localFiles, "Local Files" })

ORVANE_JSON_ENUM(orvane::ThreadApprovalMode, { orvane::ThreadApprovalMode::manual, "Require Approval" },
    { orvane::ThreadApprovalMode::safeReads, "Auto-Run Reads" },
    { orvane::ThreadApprovalMode::autonomous, "Autonomous (Local)" })
