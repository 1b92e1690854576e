#include "ide/threads/LocalAgent.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/threads/GraphemeText.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>
#include <map>

using namespace orvane;
using test::utf8;
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

Json withoutIDs(Json records)
{
    for (Json &record : records)
        record.erase("id");
    return records;
}

bool isID(const Json &value)
{
    return value.is_string() && !QUuid::fromString(QString::fromStdString(value.get<std::string>())).isNull();
}

// The document's prompt, then what it says that `first` does not, leaf by leaf (ids only need to be
// ids), and the shortest paths of `first` it lacks, as null.
Json differences(const Json &first, const Json &document)
{
    const Json from = first.flatten();
    const Json to = document.flatten();
    const auto covers = [&](const std::string &path) {
        for (auto it = to.begin(); it != to.end(); ++it) {
            if (it.key() == path || it.key().starts_with(path + '/'))
                return true;
        }
        return false;
    };
    Json differs = { { "/prompt", document.at("prompt") } };
    for (auto it = to.begin(); it != to.end(); ++it) {
        const bool same = from.contains(it.key())
            && (from.at(it.key()) == it.value() || (isID(from.at(it.key())) && isID(it.value())));
        if (!same)
            differs[it.key()] = it.value();
    }
    for (auto it = from.begin(); it != from.end(); ++it) {
        const std::string &key = it.key();
        for (std::size_t end = key.find('/', 1);; end = key.find('/', end + 1)) {
            const std::string path = key.substr(0, end);
            if (to.contains(path)) // a leaf there, shown above if it differs
                break;
            if (!covers(path)) {
                differs[path] = nullptr;
                break;
            }
            if (end == std::string::npos)
                break;
        }
    }
    return differs;
}

Json encodeOutcome(const LocalAgent::Result &result)
{
    const LocalAgentExecutionOutcome &outcome = result.outcome;
    Json tools = toJson(outcome.tools);
    for (qsizetype i = 0; i < outcome.tools.size(); ++i) {
        EXPECT_EQ(outcome.tools.at(i).status, CampaignToolInvocation::ToolStatus::completed);
        tools[i].erase("status");
    }
    return {
        { "reply", outcome.reply.toStdString() },
        { "tools", tools },
        { "inlineApproval", outcome.inlineApproval ? toJson(*outcome.inlineApproval) : Json() },
        { "targetWorkbench", outcome.targetWorkbench ? toJson(*outcome.targetWorkbench) : Json() },
        { "projectChanged", result.effects.projectChanged },
        { "selectArtboard", result.effects.selectArtboard ? toJson(*result.effects.selectArtboard) : Json() },
    };
}

// Records a list grew by go in front of the untouched ones; only they are kept.
template <typename Record>
Json addedInFront(const QList<Record> &after, const QList<Record> &before, const char *prompt)
{
    const qsizetype added = after.size() - before.size();
    EXPECT_EQ(after.mid(added), before) << prompt;
    return toJson(after.mid(0, added));
}

// One turn on fresh records: what it answered and which fields of the thread and project it changed.
struct Turn {
    const char *prompt;
    bool withProject = true;
    LocalAgent::Context context = kContext;
    std::function<void(CampaignIDEThread &, CampaignIDEProject &)> prepare = {};
};

Json runTurn(const Turn &turn, CampaignIDEThread &t, CampaignIDEProject *p)
{
    const CampaignIDEThread threadBefore = t;
    const QList<CreativeCanvasArtboard> creativesBefore = p ? p->creatives : QList<CreativeCanvasArtboard>();
    const Json projectBefore = p ? toJson(*p) : Json();
    const LocalAgent::Result result = LocalAgent::run(QString::fromUtf8(turn.prompt), t, p, turn.context);
    Json document = { { "prompt", turn.prompt }, { "outcome", encodeOutcome(result) } };
    Json threadChanges = changedFields(toJson(threadBefore), toJson(t));
    if (threadChanges.contains("mediaPlanRows") && t.mediaPlanRows.size() > threadBefore.mediaPlanRows.size())
        threadChanges["mediaPlanRows"] = addedInFront(t.mediaPlanRows, threadBefore.mediaPlanRows, turn.prompt);
    // Fresh ads are the seed ads of the domain (which the seeds' own test pins), under new ids.
    if (threadChanges.contains("competitorAds")) {
        const QList<CampaignCompetitorAd> seeds = OrvaneWebParitySeeds::defaultCompetitorAds(t.competitorDomain);
        EXPECT_EQ(withoutIDs(toJson(t.competitorAds)), withoutIDs(toJson(seeds))) << turn.prompt;
        EXPECT_NE(t.competitorAds.first().id, threadBefore.competitorAds.first().id) << turn.prompt;
        threadChanges["competitorAds"] = "the seed ads of " + t.competitorDomain.toStdString();
    }
    document["threadChanges"] = threadChanges;
    Json projectChanges = p ? changedFields(projectBefore, toJson(*p)) : Json();
    if (projectChanges.contains("creatives") && p->creatives.size() > creativesBefore.size())
        projectChanges["creatives"] = addedInFront(p->creatives, creativesBefore, turn.prompt);
    document["projectChanges"] = projectChanges;
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
        { .prompt = "spy on their ads", .withProject = false },
        { .prompt = "Tear down Acme.io.",
            .context = { .selectedProjectSlug = u"p"_s, .promptDomain = u"acme.io"_s, .shownRoot = {} } },
        { .prompt = "Show ROAS" },
        { .prompt = "Tighten the guardrails and make the tone more direct for enterprise operators, keeping \"quotes\" "
                    "as they are" },
        { .prompt = "Tighten the guardrails", .prepare = launched },
        { .prompt = "Generate LinkedIn ads for a launch",
            .withProject = false,
            .context
            = { .selectedProjectSlug = u"campaign"_s, .promptDomain = {}, .shownRoot = u"~/Papers/Orvane"_s } },
    };
    // The first turn of each route is recorded whole, the later ones by what differs from it.
    Json document = Json::array();
    std::map<Route, Json> firstOfRoute;
    const auto record = [&](const char *prompt, Json turnDocument) {
        const auto [first, isFirst]
            = firstOfRoute.try_emplace(LocalAgent::route(QString::fromUtf8(prompt)), turnDocument);
        if (isFirst) {
            document.push_back(std::move(turnDocument));
            return;
        }
        Json compared = first->second;
        if (!turnDocument.contains("threadChanges"))
            compared = { { "prompt", compared.at("prompt") }, { "outcome", compared.at("outcome") } };
        document.push_back(differences(compared, turnDocument));
    };
    for (const Turn &turn : turns) {
        CampaignIDEProject p = project();
        CampaignIDEThread t = thread(p.id);
        if (turn.prepare)
            turn.prepare(t, p);
        record(turn.prompt, runTurn(turn, t, turn.withProject ? &p : nullptr));
    }

    // Stored figures that are not finite, or that sum past the 64-bit range, clamp instead of
    // overflowing an integer conversion (such a thread cannot be encoded, so only the reply counts).
    for (const auto &[monthly, cpa] :
        { std::pair { std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN() },
            std::pair { -1e300, 1e300 } }) {
        CampaignIDEThread t = thread(QUuid::createUuid());
        CampaignIDEProject unused = project();
        figures(monthly, cpa)(t, unused);
        record("table",
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
