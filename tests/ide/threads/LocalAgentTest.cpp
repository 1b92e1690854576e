#include "ide/threads/LocalAgent.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/threads/GraphemeText.h"
#include "ide/threads/ThreadTestSupport.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

using namespace orvane;
using namespace orvane::threadtest;
using namespace Qt::StringLiterals;

using Route = LocalAgent::Route;

namespace {

CampaignIDEProject project()
{
    return {
        .id = QUuid::createUuid(),
        .name = u"Launch"_s,
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

// The top-level fields of a record's encoding that differ from before.
Json changedFields(const Json &before, const Json &after)
{
    Json changed = Json::object();
    for (auto it = after.begin(); it != after.end(); ++it) {
        if (!before.contains(it.key()) || before.at(it.key()) != it.value())
            changed[it.key()] = it.value();
    }
    return changed;
}

Json encodeOutcome(const LocalAgent::Result &result)
{
    const LocalAgentExecutionOutcome &outcome = result.outcome;
    for (const CampaignToolInvocation &tool : outcome.tools)
        EXPECT_EQ(tool.status, CampaignToolInvocation::ToolStatus::completed);
    return {
        { "reply", outcome.reply.toStdString() },
        { "tools", toJson(outcome.tools) },
        { "inlineApproval", outcome.inlineApproval ? toJson(*outcome.inlineApproval) : Json() },
        { "targetWorkbench", outcome.targetWorkbench ? toJson(*outcome.targetWorkbench) : Json() },
        { "projectChanged", result.effects.projectChanged },
        { "selectArtboard", result.effects.selectArtboard ? toJson(*result.effects.selectArtboard) : Json() },
    };
}

// One turn on fresh records: what it answered and which fields of the thread and project it changed.
// New media-plan rows go in front of the untouched ones.
struct Turn {
    const char *prompt;
    bool withProject = true;
    LocalAgent::Context context = kContext;
    std::function<void(CampaignIDEThread &, CampaignIDEProject &)> prepare = {};
};

Json runTurn(const Turn &turn, CampaignIDEThread &t, CampaignIDEProject *p)
{
    const QList<CampaignMediaPlanRow> rowsBefore = t.mediaPlanRows;
    const Json threadBefore = toJson(t);
    const Json projectBefore = p ? toJson(*p) : Json();
    const LocalAgent::Result result = LocalAgent::run(QString::fromUtf8(turn.prompt), t, p, turn.context);
    if (t.mediaPlanRows.size() > rowsBefore.size()) {
        EXPECT_EQ(t.mediaPlanRows.mid(t.mediaPlanRows.size() - rowsBefore.size()), rowsBefore) << turn.prompt;
    }
    Json document = { { "prompt", turn.prompt }, { "outcome", encodeOutcome(result) } };
    Json threadChanges = changedFields(threadBefore, toJson(t));
    if (threadChanges.contains("mediaPlanRows"))
        threadChanges["mediaPlanRows"] = toJson(t.mediaPlanRows.mid(0, t.mediaPlanRows.size() - rowsBefore.size()));
    document["threadChanges"] = threadChanges;
    document["projectChanges"] = p ? changedFields(projectBefore, toJson(*p)) : Json();
    return document;
}

// --- routing -------------------------------------------------------------------------------------

TEST(LocalAgentRouting, EveryKeywordPicksItsGroup)
{
    const std::vector<std::pair<Route, std::vector<const char *>>> cases {
        { Route::creativeArtboards,
            { "make a creative", "ARTBOARD please", "open the canvas", "new hooks", "write ad copy", "an image" } },
        { Route::mediaPlanRow,
            { "the table", "Budget", "rebalance it", "shift spend", "write GAQL", "keywords", "search ads",
                // "search" hides inside "research", and the table group is tested before the competitor one.
                "Research our competitors" } },
        { Route::competitorTeardown,
            { "competitor view", "spy on them", "look at acme.com", "look at acme.ai", "look at acme.app",
                "look at acme.io", "Compare with acme.io." } },
        { Route::performanceDashboard, { "a dashboard", "attribution model", "ROAS", "performance", "weekly report" } },
        { Route::planDocument,
            { "tighten the plan", "", "Generate LinkedIn ads for a launch", "Conquest campaign", "Check acme.dev" } },
    };
    for (const auto &[expected, prompts] : cases) {
        for (const char *prompt : prompts)
            EXPECT_EQ(LocalAgent::route(QString::fromUtf8(prompt)), expected) << prompt;
    }
    EXPECT_EQ(LocalAgent::route(u"Write a report on image ads"_s), Route::creativeArtboards);
}

// --- replies and edits, against the golden file ----------------------------------------------------

TEST(LocalAgentTurns, MatchTheGoldenReplies)
{
    const QString prompt72 = u"Generate image ads. Generate more. abcdefghijklmnopqrstuvwxyz0123456789a"_s;
    ASSERT_EQ(graphemeCount(prompt72), 72);
    QString flags;
    for (int i = 0; i < 66; ++i)
        flags += u"🇫🇷"_s;
    const std::string flagPrompt = QString(u"image "_s + flags).toStdString(); // 72 characters, 270 UTF-16 units
    const std::string prompt72Utf8 = prompt72.toStdString();
    const std::string prompt73Utf8 = prompt72Utf8 + 'c';
    const auto figures = [](double monthly, double cpa) {
        return [monthly, cpa](CampaignIDEThread &t, CampaignIDEProject &) {
            t.mediaPlanRows = { t.mediaPlanRows.first() };
            t.mediaPlanRows[0].monthlyBudget = monthly;
            t.mediaPlanRows[0].targetCPA = cpa;
        };
    };
    const auto launched = [](CampaignIDEThread &, CampaignIDEProject &p) {
        p.isLaunched = true;
        p.status = u"Live"_s;
    };
    const std::vector<Turn> turns {
        { .prompt = "Generate fresh creative hooks" },
        { .prompt = prompt72Utf8.c_str() },
        { .prompt = prompt73Utf8.c_str() },
        { .prompt = flagPrompt.c_str() },
        { .prompt = "New canvas please", .withProject = false },
        { .prompt = "Design two new ad creatives", .prepare = launched },
        { .prompt = "Shift budget into LinkedIn" },
        { .prompt = "Add a conquest search row", .withProject = false },
        { .prompt = "LinkedIn conquest budget", .withProject = false },
        { .prompt = "table",
            .withProject = false,
            .prepare = [](CampaignIDEThread &t, CampaignIDEProject &) { t.mediaPlanRows.clear(); } },
        // Means truncate toward zero.
        { .prompt = "table", .withProject = false, .prepare = figures(1000.99, 100.5) },
        { .prompt = "Tear down Acme.io.",
            .context = { .selectedProjectSlug = u"p"_s, .promptDomain = u"acme.io"_s, .shownRoot = {} } },
        { .prompt = "spy on their ads", .withProject = false },
        { .prompt = "Show ROAS" },
        { .prompt = "Tighten the guardrails and make the tone more direct for enterprise operators, keeping \"quotes\" "
                    "as they are" },
        { .prompt = "Tighten the guardrails", .prepare = launched },
        { .prompt = "Generate LinkedIn ads for a launch",
            .withProject = false,
            .context
            = { .selectedProjectSlug = u"campaign"_s, .promptDomain = {}, .shownRoot = u"~/Papers/Orvane"_s } },
    };
    Json document = Json::array();
    for (const Turn &turn : turns) {
        CampaignIDEProject p = project();
        CampaignIDEThread t = thread(p.id);
        if (turn.prepare)
            turn.prepare(t, p);
        document.push_back(runTurn(turn, t, turn.withProject ? &p : nullptr));
    }

    // Stored figures that are not finite, or that sum past the 64-bit range, clamp instead of
    // overflowing an integer conversion (such a thread cannot be encoded, so only the reply counts).
    for (const auto &[monthly, cpa] :
        { std::pair { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() },
            std::pair { -1e300, 1e300 } }) {
        CampaignIDEThread t = thread(QUuid::createUuid());
        CampaignIDEProject unused = project();
        figures(monthly, cpa)(t, unused);
        document.push_back(
            { { "prompt", "table" }, { "outcome", encodeOutcome(LocalAgent::run(u"table"_s, t, nullptr, kContext)) } });
    }

    // A dry run stages the row whatever the approval mode.
    for (const ThreadApprovalMode mode : allCases<ThreadApprovalMode>()) {
        CampaignIDEThread t = thread(QUuid::createUuid());
        t.dryRunEnabled = true;
        t.approvalMode = mode;
        const auto result = LocalAgent::run(u"rebalance"_s, t, nullptr, kContext);
        EXPECT_EQ(utf8(t.mediaPlanRows.first().status), "Dry-Run Staged");
        EXPECT_TRUE(result.outcome.inlineApproval);
    }

    document.push_back({ { "missingThread", encodeOutcome({ LocalAgent::missingThreadOutcome(), {} }) } });
    EXPECT_TRUE(test::matchesGolden("ide/threads/golden/local-agent-turns.json", document));
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
