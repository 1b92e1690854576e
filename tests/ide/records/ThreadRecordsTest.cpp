#include "ide/records/CampaignIDEThread.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/records/RecordTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

const QUuid kTabA = QUuid::fromString(u"0B7F3C2A-1111-4A8B-9C3D-000000000001"_s);
const QUuid kTabB = QUuid::fromString(u"0B7F3C2A-1111-4A8B-9C3D-000000000002"_s);

CampaignAgentTab tab(const QUuid &id, const QString &title)
{
    return { .id = id,
        .title = title,
        .personaName = u"Orvane Native Operator"_s,
        .personaHandle = u"@orvane"_s,
        .entries = {},
        .draftPrompt = {},
        .isStreaming = false };
}

CampaignMediaPlanRow row(double daily, double cpa, qint64 conversions)
{
    return CampaignMediaPlanRow::make(QUuid::createUuid(), u"LinkedIn"_s, u"LI"_s, u"Prospecting"_s, u"VPs"_s, u"1:1"_s,
        daily, std::nullopt, u"tCPA"_s, cpa, conversions, u"Draft"_s);
}

CampaignIDEThread seedThread()
{
    const QList<CampaignIDEProject> projects { { .id = QUuid::createUuid(), .name = u"One"_s },
        { .id = QUuid::createUuid(), .name = u"Two"_s } };
    return OrvaneWebParitySeeds::defaultThreads(projects).first();
}

// Keys go in field order, optionals in their field's place when set.
TEST(ThreadRecordKeys, AreWrittenInFieldOrder)
{
    CampaignIDEThread thread = seedThread();
    thread.splitAgentTabID = kTabB;
    thread.rawMarkdownOverride = u"# Plan"_s;
    EXPECT_EQ(encodedKeys(thread),
        (std::vector<std::string> { "id", "projectID", "title", "isStarred", "updatedAt", "workbenchView",
            "dryRunEnabled", "approvalMode", "agentTabs", "activeAgentTabID", "splitAgentTabID", "mediaPlanRows",
            "competitorDomain", "competitorAds", "rawMarkdownOverride", "utmSource", "utmMedium", "utmCampaign",
            "conversionPixelsVerified" }));
    CampaignAgentTab agentTab = thread.agentTabs.first();
    agentTab.statusText = u"Running tools…"_s;
    EXPECT_EQ(encodedKeys(agentTab).back(), "statusText");

    const CampaignTimelineEntry &reply = agentTab.entries.at(1);
    EXPECT_EQ(encodedKeys(reply),
        (std::vector<std::string> {
            "id", "role", "authorName", "text", "timestamp", "toolInvocations", "inlineApproval", "artifactLink" }));
    EXPECT_EQ(encodedKeys(reply.toolInvocations.first()),
        (std::vector<std::string> {
            "id", "toolName", "summary", "inputPreview", "outputPreview", "status", "durationMs" }));
    EXPECT_EQ(encodedKeys(*reply.inlineApproval),
        (std::vector<std::string> {
            "id", "title", "platform", "beforeSummary", "afterSummary", "budgetDelta", "status" }));
    EXPECT_EQ(encodedKeys(thread.mediaPlanRows.first()),
        (std::vector<std::string> { "id", "channel", "campaignName", "funnelStage", "audience", "format", "dailyBudget",
            "monthlyBudget", "bidStrategy", "targetCPA", "estimatedConversions", "status" }));
}

TEST(ThreadRecordCoding, RoundTripsEveryRecordToAnEqualValue)
{
    CampaignIDEThread thread = seedThread();
    EXPECT_EQ(roundTrip(thread), thread);
    thread.splitAgentTabID = thread.agentTabs.last().id;
    thread.rawMarkdownOverride = u"# Plan\n\n“quoted” ✓ \u0000 end"_s;
    thread.agentTabs.first().statusText = u"Orvaneing workspace & running tools…"_s;
    thread.agentTabs.first().entries.first().toolInvocations.append(
        { .id = QUuid::createUuid(), .durationMs = std::numeric_limits<qint64>::max() });
    thread.mediaPlanRows.first().dailyBudget = 0.1 + 0.2;
    thread.competitorAds.first().topKeywords.clear();
    EXPECT_EQ(roundTrip(thread), thread);
    EXPECT_EQ(roundTrip(QList<CampaignIDEThread> { thread, seedThread() }).size(), 2);
}

TEST(ThreadRecordCoding, NamesTheKeyPathOfEveryFailure)
{
    const Json good = toJson(QList<CampaignIDEThread> { seedThread() });
    const auto failure = [&good](const auto &mutate) {
        Json json = good;
        mutate(json[0]);
        return decodeFailure<QList<CampaignIDEThread>>(json);
    };
    EXPECT_EQ(decodeFailure<QList<CampaignIDEThread>>(good), "ok");
    EXPECT_EQ(failure([](Json &t) { t.erase("utmCampaign"); }), "[0].utmCampaign: missing required key");
    EXPECT_EQ(failure([](Json &t) { t["isStarred"] = nullptr; }), "[0].isStarred: missing required key");
    EXPECT_EQ(failure([](Json &t) { t["agentTabs"][0]["entries"][1]["role"] = "Agent"; }),
        "[0].agentTabs[0].entries[1].role: unknown raw value for the enumeration");
    EXPECT_EQ(failure([](Json &t) { t["agentTabs"][0]["entries"][1]["toolInvocations"][2]["durationMs"] = 1.5; }),
        "[0].agentTabs[0].entries[1].toolInvocations[2].durationMs: expected an integer, found a number with "
        "a fraction");
    EXPECT_EQ(failure([](Json &t) { t["activeAgentTabID"] = "not-a-uuid"; }),
        "[0].activeAgentTabID: expected a UUID in canonical form");
    EXPECT_EQ(failure([](Json &t) { t["mediaPlanRows"][1]["status"] = 3; }),
        "[0].mediaPlanRows[1].status: expected a string");
    EXPECT_EQ(failure([](Json &t) { t["mediaPlanRows"][1]["dailyBudget"] = "350"; }),
        "[0].mediaPlanRows[1].dailyBudget: expected a number");
    EXPECT_EQ(failure([](Json &t) { t["competitorAds"][2]["topKeywords"][1] = 7; }),
        "[0].competitorAds[2].topKeywords[1]: expected a string");
    EXPECT_EQ(failure([](Json &t) { t["agentTabs"] = Json::object(); }), "[0].agentTabs: expected an array");
}

TEST(ThreadActiveTab, FallsBackToTheFirstTabThenToAStandIn)
{
    CampaignIDEThread thread = seedThread();
    thread.agentTabs = { tab(kTabA, u"A"_s), tab(kTabB, u"B"_s), tab(kTabB, u"B again"_s) };

    thread.activeAgentTabID = kTabB;
    EXPECT_EQ(thread.activeTab()->title, u"B"_s) << "the first of two tabs sharing the id wins";
    EXPECT_EQ(thread.activeAgentTab().title, u"B"_s);

    thread.activeAgentTabID = QUuid::createUuid();
    EXPECT_EQ(thread.activeTab()->title, u"A"_s);
    EXPECT_EQ(thread.activeAgentTab().id, kTabA);

    thread.agentTabs.clear();
    EXPECT_FALSE(thread.activeTab().has_value());
    const CampaignAgentTab first = thread.activeAgentTab();
    const CampaignAgentTab second = thread.activeAgentTab();
    EXPECT_EQ(first,
        (CampaignAgentTab {
            .id = first.id, .title = u"Agent"_s, .personaName = u"Orvane"_s, .personaHandle = u"@orvane"_s }));
    EXPECT_FALSE(first.id.isNull());
    EXPECT_NE(first.id, second.id);
    EXPECT_TRUE(thread.agentTabs.isEmpty()) << "the stand-in is not stored";
}

TEST(ThreadBudgetFigures, SumTheRowsAverageTheTargetCostAndDeriveAMonthOnlyWhenNoneIsGiven)
{
    CampaignIDEThread thread = seedThread();
    thread.mediaPlanRows.clear();
    EXPECT_EQ(thread.totalDailyBudget(), 0);
    EXPECT_EQ(thread.totalMonthlyBudget(), 0);
    EXPECT_EQ(thread.blendedTargetCPA(), 0);
    EXPECT_EQ(thread.totalEstimatedConversions(), 0);

    thread.mediaPlanRows = { row(1000, 150, 10), row(10, 200, 500) };
    EXPECT_EQ(thread.blendedTargetCPA(), 175);
    EXPECT_EQ(thread.totalDailyBudget(), 1010);
    EXPECT_EQ(thread.totalMonthlyBudget(), 30300);
    EXPECT_EQ(thread.totalEstimatedConversions(), 510);

    // Figures from a damaged file must not wrap around.
    thread.mediaPlanRows = { row(1, 1, std::numeric_limits<qint64>::max()), row(1, 1, 5) };
    EXPECT_EQ(thread.totalEstimatedConversions(), std::numeric_limits<qint64>::max());

    EXPECT_EQ(row(250, 1, 1).monthlyBudget, 7500);
    EXPECT_EQ(row(675, 1, 1).monthlyBudget, 20250);
    const CampaignMediaPlanRow kept
        = CampaignMediaPlanRow::make(QUuid::createUuid(), {}, {}, {}, {}, {}, 250, 5000, {}, 1, 1, {});
    EXPECT_EQ(kept.monthlyBudget, 5000);

    CampaignMediaPlanRow stored = row(250, 1, 1);
    stored.dailyBudget = 400;
    EXPECT_EQ(stored.monthlyBudget, 7500) << "the budgets are independent once built";
}

} // namespace
