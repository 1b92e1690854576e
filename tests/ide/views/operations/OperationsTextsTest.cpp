#include "ide/views/operations/OperationsTexts.h"

#include "ide/records/OrvaneWebParitySeeds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvane::operationstexts {
namespace {

TEST(OperationsTextsTest, DailyBudgetsAreCutToWholeDollarsWithoutGrouping)
{
    EXPECT_EQ(dailyBudget(675.0), u"$675/day"_s);
    EXPECT_EQ(dailyBudget(1500), u"$1500/day"_s);
    EXPECT_EQ(dailyBudget(99.9), u"$99/day"_s);
    EXPECT_EQ(dailyBudget(-50.0), u"$-50/day"_s);
    EXPECT_EQ(dailyBudget(-0.5), u"$0/day"_s);
    EXPECT_EQ(dailyBudget(12345678.99), u"$12345678/day"_s);
}

TEST(OperationsTextsTest, DailyBudgetsOutsideTheIntegerRangeSaturateInsteadOfOverflowing)
{
    EXPECT_EQ(dailyBudget(1e30), u"$9223372036854775807/day"_s);
    EXPECT_EQ(dailyBudget(std::numeric_limits<double>::infinity()), u"$9223372036854775807/day"_s);
    EXPECT_EQ(dailyBudget(-1e30), u"$-9223372036854775808/day"_s);
    EXPECT_EQ(dailyBudget(std::nan("")), u"$—/day"_s);
}

TEST(OperationsTextsTest, ThreadCardTextsKeepTheirWordsForAnyCount)
{
    CampaignIDEThread thread;
    EXPECT_EQ(threadCounts(CampaignThreadSummary::of(thread)), u"0 agent tabs · 0 table rows"_s);
    EXPECT_EQ(threadPreview(CampaignThreadSummary::of(thread)), u"Open thread workbench"_s);

    CampaignAgentTab tab { .id = QUuid::createUuid(), .title = u"Agent"_s };
    thread.agentTabs.append(tab);
    thread.mediaPlanRows.append(CampaignMediaPlanRow {});
    EXPECT_EQ(threadCounts(CampaignThreadSummary::of(thread)), u"1 agent tabs · 1 table rows"_s);
    EXPECT_EQ(threadPreview(CampaignThreadSummary::of(thread)), u"Open thread workbench"_s);

    thread.agentTabs[0].entries.append(CampaignTimelineEntry { .text = u"first"_s });
    thread.agentTabs[0].entries.append(CampaignTimelineEntry { .text = u"latest reply"_s });
    EXPECT_EQ(threadPreview(CampaignThreadSummary::of(thread)), u"latest reply"_s);
}

TEST(OperationsTextsTest, WorkbenchBadgesAndPersonaLabels)
{
    EXPECT_EQ(workbenchBadge(IDEWorkbenchView::localFiles), u"LOCAL FILES"_s);
    EXPECT_EQ(workbenchBadge(IDEWorkbenchView::dashboard), u"DASHBOARD"_s);

    const OrvaneAgentPersona &engineer = OrvaneWebParitySeeds::personas().at(3);
    EXPECT_EQ(launchButton(engineer), u"Launch Thread with @gaql →"_s);
}

} // namespace
} // namespace orvane::operationstexts
