#pragma once

#include "ide/records/CampaignIDEThread.h"

#include <QString>
#include <QtGlobal>

namespace orvane::workbench {

// Money is held as dollars in floating point and shown as whole dollars, truncated toward zero.
// Figures that are not finite show as 0; figures beyond the 64-bit range stop at its bounds.
[[nodiscard]] qint64 wholeDollars(double value);

// Decimal digits without grouping: "1500".
[[nodiscard]] QString plainNumber(qint64 value);
[[nodiscard]] QString plainDollars(double value);

// The integer in the user's locale, with its grouping: "45,000" in English.
[[nodiscard]] QString groupedNumber(qint64 value);
[[nodiscard]] QString groupedDollars(double value);

// The monthly planned spend of a media plan: the sum of its rows' monthly budgets, in whole dollars
// with the locale's grouping ("$45,000"). The plan's first tile and the launch gate both show it.
[[nodiscard]] QString monthlyPlannedSpend(const CampaignIDEThread &thread);

// A media-plan status counts as ready when, as stored and case-sensitively, it holds "Ready" or
// "Approved".
[[nodiscard]] bool isReadyStatus(const QString &status);

} // namespace orvane::workbench
