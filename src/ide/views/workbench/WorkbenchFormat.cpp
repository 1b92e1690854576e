#include "ide/views/workbench/WorkbenchFormat.h"

#include <QLocale>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvane::workbench {

qint64 wholeDollars(double value)
{
    if (!std::isfinite(value))
        return 0;
    const double truncated = std::trunc(value);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    constexpr double limit = 9223372036854775808.0;
    if (truncated >= limit)
        return std::numeric_limits<qint64>::max();
    if (truncated < -limit)
        return std::numeric_limits<qint64>::min();
    return static_cast<qint64>(truncated);
}

QString plainNumber(qint64 value)
{
    return QString::number(value);
}

QString plainDollars(double value)
{
    return u'$' + plainNumber(wholeDollars(value));
}

QString groupedNumber(qint64 value)
{
    return QLocale().toString(value);
}

QString groupedDollars(double value)
{
    return u'$' + groupedNumber(wholeDollars(value));
}

QString monthlyPlannedSpend(const CampaignIDEThread &thread)
{
    return groupedDollars(thread.totalMonthlyBudget());
}

bool isReadyStatus(const QString &status)
{
    return status.contains(u"Ready"_s, Qt::CaseSensitive) || status.contains(u"Approved"_s, Qt::CaseSensitive);
}

} // namespace orvane::workbench
