#include "ide/threads/LocalAgent.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/threads/GraphemeText.h"
#include "ide/threads/ThreadTestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

#include <limits>

using namespace orvane;
using namespace orvane::threadtest;
using namespace Qt::StringLiterals;

using Route = LocalAgent::Route;
using ToolStatus = CampaignToolInvocation::ToolStatus;

namespace {

CampaignIDEProject project(const QString &name)
{
    return {
        .id = QUuid::createUuid(),
        .name = name,
        .status = u"Draft"_s,
        .updated = u"2h ago"_s,
        .objective = u"Grow pipeline."_s,
        .hasPlan = false,
        .creatives = { { .id = QUuid::createUuid(), .platform = u"Meta"_s, .headline = u"Old"_s } },
    };
}

CampaignIDEThread thread(const QUuid &projectID)
{
    return {
        .id = QUuid::createUuid(),
        .projectID = projectID,
        .title = u"Thread"_s,
        .mediaPlanRows = OrvaneWebParitySeeds::defaultMediaPlanRows(),
        .competitorDomain = u"taskvane.io"_s,
        .competitorAds = OrvaneWebParitySeeds::defaultCompetitorAds(u"taskvane.io"_s),
        .conversionPixelsVerified = false,
    };
}

const LocalAgent::Context kContext {
    .selectedProjectSlug = u"q4-enterprise-demand-gen"_s, .promptDomain = {}, .shownRoot = u"~/Documents/Orvane"_s
};

// Tool runs as (name, summary, input, output, duration), all completed, ids fresh and distinct.
struct ToolRow {
    std::string name, summary, input, output;
    qint64 durationMs;
    bool operator==(const ToolRow &) const = default;
};

std::vector<ToolRow> toolRows(const QList<CampaignToolInvocation> &tools)
{
    std::vector<ToolRow> rows;
    QSet<QUuid> ids;
    for (const CampaignToolInvocation &tool : tools) {
        EXPECT_EQ(tool.status, ToolStatus::completed);
        EXPECT_FALSE(tool.id.isNull());
        ids.insert(tool.id);
        rows.push_back({ utf8(tool.toolName), utf8(tool.summary), utf8(tool.inputPreview), utf8(tool.outputPreview),
            tool.durationMs });
    }
    EXPECT_EQ(ids.size(), tools.size());
    return rows;
}

void PrintTo(const ToolRow &row, std::ostream *os)
{
    *os << "{" << row.name << " | " << row.summary << " | " << row.input << " | " << row.output << " | "
        << row.durationMs << "}";
}

// --- routing -------------------------------------------------------------------------------------

TEST(LocalAgentRouting, EveryKeywordPicksItsGroup)
{
    const std::vector<std::pair<const char *, Route>> cases {
        { "make a creative", Route::creativeArtboards },
        { "ARTBOARD please", Route::creativeArtboards },
        { "open the canvas", Route::creativeArtboards },
        { "new hooks", Route::creativeArtboards },
        { "write ad copy", Route::creativeArtboards },
        { "an image", Route::creativeArtboards },
        { "the table", Route::mediaPlanRow },
        { "Budget", Route::mediaPlanRow },
        { "rebalance it", Route::mediaPlanRow },
        { "shift spend", Route::mediaPlanRow },
        { "write GAQL", Route::mediaPlanRow },
        { "keywords", Route::mediaPlanRow },
        { "search ads", Route::mediaPlanRow },
        { "competitor view", Route::competitorTeardown },
        { "spy on them", Route::competitorTeardown },
        { "look at acme.com", Route::competitorTeardown },
        { "look at acme.ai", Route::competitorTeardown },
        { "look at acme.app", Route::competitorTeardown },
        { "look at acme.io", Route::competitorTeardown },
        { "a dashboard", Route::performanceDashboard },
        { "attribution model", Route::performanceDashboard },
        { "ROAS", Route::performanceDashboard },
        { "performance", Route::performanceDashboard },
        { "weekly report", Route::performanceDashboard },
        { "tighten the plan", Route::planDocument },
        { "", Route::planDocument },
    };
    for (const auto &[prompt, expected] : cases)
        EXPECT_EQ(LocalAgent::route(QString::fromUtf8(prompt)), expected) << prompt;
}

TEST(LocalAgentRouting, EarlierGroupsWinAndKeywordsMatchInsideWords)
{
    // "search" hides inside "research", and the table group is tested before the competitor one.
    EXPECT_EQ(LocalAgent::route(u"Research our competitors"_s), Route::mediaPlanRow);
    EXPECT_EQ(LocalAgent::route(u"Write a report on image ads"_s), Route::creativeArtboards);
    EXPECT_EQ(LocalAgent::route(u"Generate LinkedIn ads for a launch"_s), Route::planDocument);
    EXPECT_EQ(LocalAgent::route(u"Conquest campaign"_s), Route::planDocument);
    EXPECT_EQ(LocalAgent::route(u"Check acme.dev"_s), Route::planDocument);
    EXPECT_EQ(LocalAgent::route(u"Compare with acme.io."_s), Route::competitorTeardown);
}

// --- creative artboards --------------------------------------------------------------------------

TEST(LocalAgentCreativeRoute, AddsTwoArtboardsAtTheFrontAndReportsThem)
{
    CampaignIDEProject p = project(u"Q4 Enterprise Demand Gen"_s);
    CampaignIDEThread t = thread(p.id);
    const CampaignIDEThread before = t;
    const QString prompt = u"Generate fresh creative hooks"_s;

    const LocalAgent::Result result = LocalAgent::run(prompt, t, &p, kContext);

    ASSERT_EQ(p.creatives.size(), 3);
    const CreativeCanvasArtboard &linkedIn = p.creatives.at(0);
    const CreativeCanvasArtboard &reddit = p.creatives.at(1);
    EXPECT_EQ(utf8(linkedIn.platform), "LinkedIn");
    EXPECT_EQ(utf8(linkedIn.format), "Single image · 1:1");
    EXPECT_EQ(utf8(linkedIn.headline), " Built with Orvane: fresh creative hooks");
    EXPECT_EQ(linkedIn.width, 1080);
    EXPECT_EQ(linkedIn.height, 1080);
    EXPECT_EQ(utf8(reddit.platform), "Reddit");
    EXPECT_EQ(utf8(reddit.format), "Conversation Ad · 16:9");
    EXPECT_EQ(
        utf8(reddit.headline), "How our growth team moved campaign plans, creatives, and GAQL into a local Mac IDE");
    EXPECT_EQ(reddit.width, 1920);
    EXPECT_EQ(reddit.height, 1080);
    for (const CreativeCanvasArtboard &artboard : { linkedIn, reddit }) {
        EXPECT_EQ(artboard.reviewStatus, CreativeReviewStatus::needsReview);
        EXPECT_FALSE(artboard.isDirty);
        EXPECT_FALSE(artboard.requiresRereview);
    }
    EXPECT_NE(linkedIn.id, reddit.id);
    EXPECT_EQ(utf8(p.creatives.at(2).headline), "Old");
    EXPECT_EQ(utf8(p.status), "Creative review");
    EXPECT_EQ(utf8(p.updated), "Just now");
    EXPECT_TRUE(result.effects.projectChanged);
    EXPECT_EQ(result.effects.selectArtboard, linkedIn.id);
    EXPECT_EQ(t, before);

    const LocalAgentExecutionOutcome &outcome = result.outcome;
    EXPECT_EQ(outcome.targetWorkbench, IDEWorkbenchView::canvas);
    EXPECT_FALSE(outcome.inlineApproval);
    EXPECT_EQ(toolRows(outcome.tools),
        (std::vector<ToolRow> {
            { "generate_creative_artboards", "Generated 2 new multi-channel artboards on Creative Canvas",
                R"({"platforms": ["LinkedIn 1:1", "Reddit 16:9"], "prompt": "Generate fresh creative hooks"})",
                "Added 2 artboards to Creative Canvas and synced creatives.json", 540 },
            { "write_local_workspace_file", "Synced creatives.json to ~/Documents/Orvane",
                R"({"file": "creatives.json"})", "Saved 3 artboards to disk", 120 },
        }));
    EXPECT_EQ(utf8(outcome.reply),
        "I generated **2 new Creative Studio artboards** (`LinkedIn 1:1` and `Reddit 16:9`) on the **Canvas** and "
        "synced them to `creatives.json`.\n\n- **Headline 1:** *\" Built with Orvane: fresh creative hooks\"*\n- "
        "**Headline 2:** *\"How our growth team moved campaign plans, creatives, and GAQL into a local Mac IDE\"*\n\n"
        "Click any artboard on the Canvas to edit its headline, format, or approval status.");
}

TEST(LocalAgentCreativeRoute, HeadlineSwitchesToTheFixedLineAtSeventyThreeCharacters)
{
    // 72 characters: "Generate " is removed everywhere, then the first 54 characters are kept.
    const QString prompt72 = u"Generate image ads. Generate more. abcdefghijklmnopqrstuvwxyz0123456789a"_s;
    ASSERT_EQ(graphemeCount(prompt72), 72);
    CampaignIDEProject p = project(u"P"_s);
    CampaignIDEThread t = thread(p.id);
    (void)LocalAgent::run(prompt72, t, &p, kContext);
    EXPECT_EQ(utf8(p.creatives.first().headline),
        " Built with Orvane: image ads. more. abcdefghijklmnopqrstuvwxyz0123456789a");
    EXPECT_EQ(graphemeCount(p.creatives.first().headline.mid(20)), 54);

    const QString prompt73 = prompt72 + u'c';
    CampaignIDEProject q = project(u"Q"_s);
    CampaignIDEThread u = thread(q.id);
    const auto result = LocalAgent::run(prompt73, u, &q, kContext);
    EXPECT_EQ(utf8(q.creatives.first().headline), "Stop managing ads in 12 browser tabs. Direct agents in one IDE.");
    // The tool's preview takes the first 60 characters of the untouched prompt.
    EXPECT_EQ(utf8(result.outcome.tools.first().inputPreview),
        R"({"platforms": ["LinkedIn 1:1", "Reddit 16:9"], "prompt": ")" + utf8(prompt73.left(60)) + R"("})");
}

TEST(LocalAgentCreativeRoute, CountsUserPerceivedCharactersNotCodeUnits)
{
    // 72 emoji flags are 72 characters but 288 UTF-16 units; the headline keeps 54 whole flags.
    QString flags;
    for (int i = 0; i < 72; ++i)
        flags += u"🇫🇷"_s;
    CampaignIDEProject p = project(u"P"_s);
    CampaignIDEThread t = thread(p.id);
    (void)LocalAgent::run(u"image "_s + flags.left(66 * 4), t, &p, kContext); // 6 + 66 = 72 characters
    const QString headline = p.creatives.first().headline;
    EXPECT_TRUE(headline.startsWith(u" Built with Orvane: image "_s));
    EXPECT_EQ(graphemeCount(headline), 20 + 54);
    EXPECT_TRUE(headline.endsWith(u"🇫🇷"_s));
}

TEST(LocalAgentCreativeRoute, WithoutItsProjectChangesNothingButStillReports)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    const CampaignIDEThread before = t;
    const auto result = LocalAgent::run(u"New canvas please"_s, t, nullptr, kContext);
    EXPECT_EQ(t, before);
    EXPECT_FALSE(result.effects.projectChanged);
    EXPECT_FALSE(result.effects.selectArtboard);
    ASSERT_EQ(result.outcome.tools.size(), 2);
    EXPECT_EQ(utf8(result.outcome.tools.at(1).outputPreview), "Saved 6 artboards to disk");
    EXPECT_EQ(result.outcome.targetWorkbench, IDEWorkbenchView::canvas);
}

// --- media-plan row ------------------------------------------------------------------------------

TEST(LocalAgentMediaPlanRoute, ShiftingBudgetToLinkedInAddsTheAbmRowAndAGate)
{
    CampaignIDEProject p = project(u"P"_s);
    const CampaignIDEProject projectBefore = p;
    CampaignIDEThread t = thread(p.id);
    const QList<CampaignMediaPlanRow> rowsBefore = t.mediaPlanRows;
    ASSERT_EQ(rowsBefore.size(), 4);

    const auto result = LocalAgent::run(u"Shift budget into LinkedIn"_s, t, &p, kContext);

    EXPECT_EQ(p, projectBefore);
    EXPECT_FALSE(result.effects.projectChanged);
    ASSERT_EQ(t.mediaPlanRows.size(), 5);
    EXPECT_EQ(t.mediaPlanRows.mid(1), rowsBefore);
    const CampaignMediaPlanRow &row = t.mediaPlanRows.first();
    EXPECT_FALSE(row.id.isNull());
    EXPECT_EQ(utf8(row.channel), "LinkedIn");
    EXPECT_EQ(utf8(row.campaignName), "LI_NA_Exec_ABM_High_Intent");
    EXPECT_EQ(utf8(row.funnelStage), "High-Intent Capture");
    EXPECT_EQ(utf8(row.audience), "VP Demand Gen & CMO (Series B+ SaaS)");
    EXPECT_EQ(utf8(row.format), "Thought Leader + 1:1 Card");
    EXPECT_EQ(row.dailyBudget, 350);
    EXPECT_EQ(row.monthlyBudget, 10500);
    EXPECT_EQ(utf8(row.bidStrategy), "Target CPA ($155)");
    EXPECT_EQ(row.targetCPA, 155);
    EXPECT_EQ(row.estimatedConversions, 68);
    EXPECT_EQ(utf8(row.status), "Ready");

    // Four seed rows of $45,000/mo and a mean target CPA of $195, plus this one.
    const LocalAgentExecutionOutcome &outcome = result.outcome;
    EXPECT_EQ(toolRows(outcome.tools),
        (std::vector<ToolRow> {
            { "upsert_media_plan_table", "Updated Media Plan Table (5 rows, $55500/mo)",
                R"({"campaign": "LI_NA_Exec_ABM_High_Intent", "dailyBudget": 350, "targetCPA": 155})",
                "Inserted row & recalculated blended target CPA ($187)", 390 },
            { "export_media_plan_csv", "Wrote media-plan.csv to ~/Documents/Orvane", R"({"rows": 5})",
                "Saved media-plan.csv", 110 },
        }));
    ASSERT_TRUE(outcome.inlineApproval);
    const CampaignInlineApproval &gate = *outcome.inlineApproval;
    EXPECT_FALSE(gate.id.isNull());
    EXPECT_EQ(utf8(gate.title), "Activate LI_NA_Exec_ABM_High_Intent ($350/day)");
    EXPECT_EQ(utf8(gate.platform), "LinkedIn");
    EXPECT_EQ(utf8(gate.beforeSummary), "4 active rows");
    EXPECT_EQ(utf8(gate.afterSummary), "5 rows ($55500/mo total, $187 target CPA)");
    EXPECT_EQ(utf8(gate.budgetDelta), "+$350/day (+68 est. conversions/mo)");
    EXPECT_EQ(gate.status, CampaignInlineApproval::ApprovalDecision::pending);
    EXPECT_EQ(outcome.targetWorkbench, IDEWorkbenchView::table);
    EXPECT_EQ(utf8(outcome.reply),
        "I updated the **Media Plan & Trafficking Table** with **LI_NA_Exec_ABM_High_Intent** (`$350/day` · `$155 "
        "target CPA`) and wrote the updated spreadsheet to `media-plan.csv`.\n\nReview the new row in the **Table** "
        "workbench or approve the execution gate below.");
}

TEST(LocalAgentMediaPlanRoute, ConquestAndChannelAreChosenIndependently)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    const auto google = LocalAgent::run(u"Add a conquest search row"_s, t, nullptr, kContext);
    const CampaignMediaPlanRow conquest = t.mediaPlanRows.first();
    EXPECT_EQ(utf8(conquest.channel), "Google Search");
    EXPECT_EQ(utf8(conquest.campaignName), "GOOG_US_Exact_Competitor_Conquest");
    EXPECT_EQ(utf8(conquest.format), "Responsive Search Ad (RSA)");
    EXPECT_EQ(conquest.audience, LocalAgent::conquestAudience());
    EXPECT_EQ(utf8(google.outcome.inlineApproval->title), "Activate GOOG_US_Exact_Competitor_Conquest ($350/day)");
    EXPECT_EQ(utf8(google.outcome.inlineApproval->platform), "Google Search");

    (void)LocalAgent::run(u"LinkedIn conquest budget"_s, t, nullptr, kContext);
    const CampaignMediaPlanRow mixed = t.mediaPlanRows.first();
    EXPECT_EQ(utf8(mixed.channel), "LinkedIn");
    EXPECT_EQ(utf8(mixed.campaignName), "GOOG_US_Exact_Competitor_Conquest");
    EXPECT_EQ(utf8(mixed.format), "Responsive Search Ad (RSA)");
    EXPECT_EQ(mixed.audience, LocalAgent::conquestAudience());
    EXPECT_EQ(t.mediaPlanRows.size(), 6);
}

TEST(LocalAgentMediaPlanRoute, ConquestAudienceIsAnExactMatchListOfFiftyFourCharacters)
{
    const QString audience = LocalAgent::conquestAudience();
    EXPECT_EQ(audience.size(), 54);
    EXPECT_TRUE(audience.startsWith(u"Exact: ["_s));
    EXPECT_EQ(audience.count(u"], ["_s), 2);
    EXPECT_TRUE(audience.endsWith(u']'));
}

TEST(LocalAgentMediaPlanRoute, DryRunStagesTheRowWhateverTheApprovalMode)
{
    for (const ThreadApprovalMode mode : allCases<ThreadApprovalMode>()) {
        CampaignIDEThread t = thread(QUuid::createUuid());
        t.dryRunEnabled = true;
        t.approvalMode = mode;
        const auto result = LocalAgent::run(u"rebalance"_s, t, nullptr, kContext);
        EXPECT_EQ(utf8(t.mediaPlanRows.first().status), "Dry-Run Staged");
        EXPECT_TRUE(result.outcome.inlineApproval);
    }
}

TEST(LocalAgentMediaPlanRoute, FirstRowOfAnEmptyTable)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    t.mediaPlanRows.clear();
    const auto result = LocalAgent::run(u"table"_s, t, nullptr, kContext);
    EXPECT_EQ(utf8(result.outcome.tools.first().summary), "Updated Media Plan Table (1 rows, $10500/mo)");
    EXPECT_EQ(utf8(result.outcome.inlineApproval->beforeSummary), "0 active rows");
    EXPECT_EQ(utf8(result.outcome.inlineApproval->afterSummary), "1 rows ($10500/mo total, $155 target CPA)");
}

TEST(LocalAgentMediaPlanRoute, FiguresTruncateTowardZeroAndNeverOverflow)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    t.mediaPlanRows = { t.mediaPlanRows.first() };
    t.mediaPlanRows[0].monthlyBudget = 1000.99;
    t.mediaPlanRows[0].targetCPA = 100.5; // mean with 155 is 127.75
    auto result = LocalAgent::run(u"table"_s, t, nullptr, kContext);
    EXPECT_EQ(utf8(result.outcome.inlineApproval->afterSummary), "2 rows ($11500/mo total, $127 target CPA)");

    // Stored figures that are not finite, or that sum past the 64-bit range, clamp instead of
    // overflowing an integer conversion.
    t.mediaPlanRows = { t.mediaPlanRows.first() };
    t.mediaPlanRows[0].monthlyBudget = std::numeric_limits<double>::infinity();
    t.mediaPlanRows[0].targetCPA = std::numeric_limits<double>::quiet_NaN();
    result = LocalAgent::run(u"table"_s, t, nullptr, kContext);
    EXPECT_EQ(
        utf8(result.outcome.inlineApproval->afterSummary), "2 rows ($9223372036854775807/mo total, $0 target CPA)");

    t.mediaPlanRows = { t.mediaPlanRows.first() };
    t.mediaPlanRows[0].monthlyBudget = -1e300;
    t.mediaPlanRows[0].targetCPA = 1e300;
    result = LocalAgent::run(u"table"_s, t, nullptr, kContext);
    EXPECT_EQ(
        utf8(result.outcome.tools.first().summary), "Updated Media Plan Table (2 rows, $-9223372036854775808/mo)");
    EXPECT_EQ(utf8(result.outcome.tools.first().outputPreview),
        "Inserted row & recalculated blended target CPA ($9223372036854775807)");
}

// --- competitor teardown -------------------------------------------------------------------------

TEST(LocalAgentCompetitorRoute, LoadsTheNamedDomainsAds)
{
    CampaignIDEProject p = project(u"P"_s);
    const CampaignIDEProject projectBefore = p;
    CampaignIDEThread t = thread(p.id);
    const LocalAgent::Context context { .selectedProjectSlug = u"p"_s, .promptDomain = u"acme.io"_s, .shownRoot = {} };

    const auto result = LocalAgent::run(u"Tear down Acme.io."_s, t, &p, context);

    EXPECT_EQ(p, projectBefore);
    EXPECT_EQ(utf8(t.competitorDomain), "acme.io");
    ASSERT_EQ(t.competitorAds.size(), 3);
    for (const CampaignCompetitorAd &ad : std::as_const(t.competitorAds))
        EXPECT_EQ(utf8(ad.competitorDomain), "acme.io");
    const LocalAgentExecutionOutcome &outcome = result.outcome;
    EXPECT_EQ(toolRows(outcome.tools),
        (std::vector<ToolRow> {
            { "spyfu_competitor_keywords", "Extracted paid keywords & spend estimate for acme.io",
                R"({"domain": "acme.io"})", "Found 3 active paid channels, est. spend $125,300/mo", 610 },
            { "get_competitor_ads", "Pulled 3 active ad creatives for acme.io",
                R"({"domain": "acme.io", "platforms": ["LinkedIn", "Google", "Reddit"]})",
                "Loaded 3 competitor ads into Explore workbench", 480 },
        }));
    EXPECT_FALSE(outcome.inlineApproval);
    EXPECT_EQ(outcome.targetWorkbench, IDEWorkbenchView::explore);
    EXPECT_EQ(utf8(outcome.reply),
        "I ran a competitive teardown on **`acme.io`** across Google Search, LinkedIn, and Reddit:\n\n- **Estimated "
        "Paid Spend:** `$125,300/mo` across 3 active channels\n- **Top Paid Keywords:** `acme.io alternatives`, "
        "`enterprise workflow`, `ai agent platform`\n- **Active Hooks Pulled:** 3 creatives loaded in the **Explore** "
        "workbench.\n\nClick **Clone Hook to Canvas** on any card in the **Explore** tab to turn it into a "
        "counter-campaign artboard.");
}

TEST(LocalAgentCompetitorRoute, WithoutADomainKeepsTheThreadsDomainAndRefreshesItsAds)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    const QList<CampaignCompetitorAd> adsBefore = t.competitorAds;
    const auto result = LocalAgent::run(u"spy on their ads"_s, t, nullptr, kContext);
    EXPECT_EQ(utf8(t.competitorDomain), "taskvane.io");
    ASSERT_EQ(t.competitorAds.size(), 3);
    EXPECT_NE(t.competitorAds.first().id, adsBefore.first().id);
    EXPECT_EQ(utf8(result.outcome.tools.first().inputPreview), R"({"domain": "taskvane.io"})");
}

// --- dashboard -----------------------------------------------------------------------------------

TEST(LocalAgentDashboardRoute, ReportsFixedFiguresAndChangesNothing)
{
    CampaignIDEProject p = project(u"P"_s);
    const CampaignIDEProject projectBefore = p;
    CampaignIDEThread t = thread(p.id);
    const CampaignIDEThread before = t;
    const auto result = LocalAgent::run(u"Show ROAS"_s, t, &p, kContext);
    EXPECT_EQ(p, projectBefore);
    EXPECT_EQ(t, before);
    EXPECT_FALSE(result.effects.projectChanged);
    EXPECT_EQ(toolRows(result.outcome.tools),
        (std::vector<ToolRow> {
            { "generate_performance_dashboard", "Computed 30-day multi-touch attribution & channel ROAS",
                R"({"window": "30d", "model": "w_shaped_pipeline"})",
                "Blended ROAS 4.2x \u2022 Attributed Pipeline $412,000 \u2022 CPA $164", 520 } }));
    EXPECT_FALSE(result.outcome.inlineApproval);
    EXPECT_EQ(result.outcome.targetWorkbench, IDEWorkbenchView::dashboard);
    EXPECT_EQ(utf8(result.outcome.reply),
        "I built the **Performance & Attribution Dashboard** for this thread:\n\n- **30-Day Spend:** `$45,000` across "
        "LinkedIn, Google Search, Reddit, and X\n- **Attributed Pipeline:** `$412,000` (`4.2x` pipeline ROAS)\n- "
        "**Blended CPA:** `$164` (`274` qualified conversions)\n\nInspect the interactive breakdown in the "
        "**Dashboard** workbench.");
}

// --- plan document -------------------------------------------------------------------------------

TEST(LocalAgentPlanRoute, RefinesTheThreadsProjectAndNamesTheSelectedProjectsFolder)
{
    CampaignIDEProject p = project(u"Launch"_s);
    CampaignIDEThread t = thread(p.id);
    const QString prompt = u"Tighten the guardrails and make the tone more direct for enterprise operators, "
                           u"keeping \"quotes\" as they are"_s;

    const auto result = LocalAgent::run(prompt, t, &p, kContext);

    EXPECT_EQ(p.objective, u"Grow pipeline.\n• Agent refinement: "_s + prompt);
    EXPECT_TRUE(p.hasPlan);
    EXPECT_EQ(utf8(p.status), "Plan ready");
    EXPECT_EQ(utf8(p.updated), "Just now");
    EXPECT_TRUE(t.conversionPixelsVerified);
    EXPECT_TRUE(result.effects.projectChanged);
    EXPECT_EQ(toolRows(result.outcome.tools),
        (std::vector<ToolRow> {
            { "update_campaign_document", "Updated Campaign Plan Document & strategy sections",
                R"({"instruction": ")" + utf8(prompt.left(64)) + R"("})",
                "Updated campaign-plan.md and verified UTM + pixel readiness", 410 },
            { "sync_local_workspace", "Synced campaign-plan.md, media-plan.csv & creatives.json",
                R"({"directory": "~/Documents/Orvane"})", "All local artifacts up to date", 130 },
        }));
    EXPECT_FALSE(result.outcome.inlineApproval);
    EXPECT_EQ(result.outcome.targetWorkbench, IDEWorkbenchView::document);
    EXPECT_EQ(utf8(result.outcome.reply),
        "I updated the **Campaign Plan Document** with your instruction, verified the UTM & conversion tracking "
        "contract, and synced the changes to `~/Documents/Orvane/q4-enterprise-demand-gen/campaign-plan.md`.\n\nYou "
        "can edit any section directly in the **Document** workbench, inspect the trafficking rows in **Table**, or "
        "review the ad creatives in **Canvas**.");
}

TEST(LocalAgentLaunchedProject, KeepsItsLiveStatusThroughCreativeAndPlanTurns)
{
    CampaignIDEProject p = project(u"Launch"_s);
    p.isLaunched = true;
    p.status = u"Live"_s;
    CampaignIDEThread t = thread(p.id);
    const qsizetype artboardsBefore = p.creatives.size();

    (void)LocalAgent::run(u"Design two new ad creatives"_s, t, &p, kContext);
    EXPECT_EQ(utf8(p.status), "Live");
    EXPECT_EQ(p.creatives.size(), artboardsBefore + 2);
    (void)LocalAgent::run(u"Tighten the guardrails"_s, t, &p, kContext);
    EXPECT_EQ(utf8(p.status), "Live");
    EXPECT_TRUE(p.objective.contains(u"Agent refinement"_s));
}

TEST(LocalAgentPlanRoute, WithoutItsProjectOnlyVerifiesThePixels)
{
    CampaignIDEThread t = thread(QUuid::createUuid());
    CampaignIDEThread expected = t;
    expected.conversionPixelsVerified = true;
    const auto result = LocalAgent::run(u"Generate LinkedIn ads for a launch"_s, t, nullptr,
        { .selectedProjectSlug = u"campaign"_s, .promptDomain = {}, .shownRoot = u"~/Papers/Orvane"_s });
    EXPECT_EQ(t, expected);
    EXPECT_FALSE(result.effects.projectChanged);
    EXPECT_TRUE(result.outcome.reply.contains(u"`~/Papers/Orvane/campaign/campaign-plan.md`"_s));
}

TEST(LocalAgentOutcome, MissingThreadGivesTheNeutralReply)
{
    const LocalAgentExecutionOutcome outcome = LocalAgent::missingThreadOutcome();
    EXPECT_EQ(utf8(outcome.reply), "Updated workspace.");
    EXPECT_TRUE(outcome.tools.isEmpty());
    EXPECT_FALSE(outcome.inlineApproval);
    EXPECT_FALSE(outcome.targetWorkbench);
}

// --- text helpers --------------------------------------------------------------------------------

TEST(GraphemeText, CountsAndCutsWholeCharacters)
{
    EXPECT_EQ(graphemeCount(QString()), 0);
    EXPECT_EQ(graphemeCount(u"abc"_s), 3);
    EXPECT_EQ(graphemeCount(u"e\u0301te\u0301"_s), 3); // combining accents stay with their letters
    EXPECT_EQ(graphemeCount(u"🇯🇵🇫🇷"_s), 2);
    EXPECT_EQ(utf8(graphemePrefix(u"e\u0301te\u0301"_s, 2)), "e\u0301t");
    EXPECT_EQ(graphemePrefix(u"🇯🇵🇫🇷x"_s, 1), u"🇯🇵"_s);
    EXPECT_EQ(graphemePrefix(u"short"_s, 64), u"short"_s);
    EXPECT_EQ(graphemePrefix(u"short"_s, 0), QString());
}

} // namespace
