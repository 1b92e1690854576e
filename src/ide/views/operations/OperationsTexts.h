#pragma once

#include "ide/records/CampaignThreadSummary.h"
#include "ide/records/IDEWorkbenchView.h"
#include "ide/records/OrvaneAgentPersona.h"

#include <QString>

namespace orvane::operationstexts {

// The workbench view's label in upper case ("LOCAL FILES").
[[nodiscard]] QString workbenchBadge(IDEWorkbenchView view);
// The last message of the thread's active tab, or "Open thread workbench" when it has none.
[[nodiscard]] QString threadPreview(const CampaignThreadSummary &thread);
// "<tabs> agent tabs · <rows> table rows": the words stay plural for any count.
[[nodiscard]] QString threadCounts(const CampaignThreadSummary &thread);
// "<count> starred · multi-agent ready".
[[nodiscard]] QString starredSubtitle(qsizetype starred);
// "$<whole dollars>/day": truncated toward zero, plain digits, the sign after the dollar; figures
// beyond the 64-bit range saturate and a figure that is not a number shows as "$—/day".
[[nodiscard]] QString dailyBudget(double dollars);
// "Launch Thread with <handle> →" and "<name> — Active Session".
[[nodiscard]] QString launchButton(const OrvaneAgentPersona &persona);
[[nodiscard]] QString launchedThreadTitle(const OrvaneAgentPersona &persona);

} // namespace orvane::operationstexts
