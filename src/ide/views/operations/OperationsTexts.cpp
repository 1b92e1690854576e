#include "ide/views/operations/OperationsTexts.h"

#include "kit/support/JsonCoding.h"

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvane::operationstexts {

QString workbenchBadge(IDEWorkbenchView view)
{
    return rawValue(view).toUpper();
}

QString threadPreview(const CampaignThreadSummary &thread)
{
    return thread.preview.value_or(u"Open thread workbench"_s);
}

QString threadCounts(const CampaignThreadSummary &thread)
{
    return QString::number(thread.agentTabCount) % u" agent tabs · "_s % QString::number(thread.mediaPlanRowCount)
        % u" table rows"_s;
}

QString starredSubtitle(qsizetype starred)
{
    return QString::number(starred) % u" starred · multi-agent ready"_s;
}

QString dailyBudget(double dollars)
{
    if (std::isnan(dollars))
        return u"$—/day"_s;
    // 2^63 is exactly representable; anything at or past it saturates instead of overflowing.
    constexpr double limit = 9223372036854775808.0;
    qint64 whole = 0;
    if (dollars >= limit)
        whole = std::numeric_limits<qint64>::max();
    else if (dollars <= -limit)
        whole = std::numeric_limits<qint64>::min();
    else
        whole = qint64(std::trunc(dollars));
    return u"$"_s % QString::number(whole) % u"/day"_s;
}

QString launchButton(const OrvaneAgentPersona &persona)
{
    return u"Launch Thread with "_s % persona.handle % u" →"_s;
}

QString launchedThreadTitle(const OrvaneAgentPersona &persona)
{
    return persona.name % u" — Active Session"_s;
}

} // namespace orvane::operationstexts
