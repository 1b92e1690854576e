#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/records/RecordTestSupport.h"
#include "testsupport/Golden.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

namespace Seeds = OrvaneWebParitySeeds;

CampaignIDEProject project(const QString &name)
{
    return { .id = QUuid::createUuid(), .name = name };
}

QSet<QUuid> generatedIds(const QList<CampaignIDEThread> &threads)
{
    QSet<QUuid> ids;
    for (const CampaignIDEThread &thread : threads) {
        for (const CampaignAgentTab &tab : thread.agentTabs) {
            for (const CampaignTimelineEntry &entry : tab.entries) {
                ids.insert(entry.id);
                for (const CampaignToolInvocation &tool : entry.toolInvocations)
                    ids.insert(tool.id);
                if (entry.inlineApproval)
                    ids.insert(entry.inlineApproval->id);
            }
        }
        for (const CampaignMediaPlanRow &row : thread.mediaPlanRows)
            ids.insert(row.id);
        for (const CampaignCompetitorAd &ad : thread.competitorAds)
            ids.insert(ad.id);
    }
    return ids;
}

Json encodePersona(const OrvaneAgentPersona &persona)
{
    return { { "id", persona.id.toStdString() }, { "name", persona.name.toStdString() },
        { "handle", persona.handle.toStdString() }, { "role", persona.role.toStdString() },
        { "specialty", persona.specialty.toStdString() }, { "icon", persona.icon.toStdString() },
        { "accentHex", persona.accentHex.toStdString() }, { "starterPrompt", persona.starterPrompt.toStdString() },
        { "defaultWorkbench", toJson(persona.defaultWorkbench) } };
}

// Every sample text and figure, compared once against the golden file.
TEST(Seeds, MatchTheGoldenSamples)
{
    const QUuid projectID = QUuid::createUuid();
    const QList<CampaignIDEThread> threads = Seeds::defaultThreads(
        { project(u"Q2 High-Intent Pipeline Launch"_s), project(u"Competitor Conquest"_s), project(u"Third"_s) });
    Json personas = Json::array();
    for (const OrvaneAgentPersona &persona : Seeds::personas())
        personas.push_back(encodePersona(persona));
    Json totals = Json::array();
    for (const CampaignIDEThread &thread : threads) {
        totals.push_back({ { "daily", thread.totalDailyBudget() }, { "monthly", thread.totalMonthlyBudget() },
            { "conversions", thread.totalEstimatedConversions() }, { "blendedTargetCPA", thread.blendedTargetCPA() } });
    }
    const Json document {
        { "threads", toJson(threads) },
        { "mediaPlanTotals", totals },
        // Templated on the domain exactly as passed, odd spacing and case included.
        { "competitorAds",
            { toJson(Seeds::defaultCompetitorAds(u" ACME rocks.IO "_s)), toJson(Seeds::defaultCompetitorAds({})) } },
        { "personas", personas },
        { "connections", toJson(Seeds::defaultConnections()) },
        { "recommendedActions", toJson(Seeds::defaultRecommendedActions()) },
        { "assets", toJson(Seeds::defaultAssets(projectID)) },
        { "assetsProject", toJson(projectID) },
    };
    EXPECT_TRUE(matchesGolden("ide/records/golden/seeds.json", document));
    EXPECT_EQ(&Seeds::personas(), &Seeds::personas()) << "built once";
}

TEST(SeedThreads, FollowTheProjectListWithFixedIdsAndFreshGeneratedOnes)
{
    const QList<CampaignIDEThread> none = Seeds::defaultThreads({});
    ASSERT_EQ(none.size(), 1);
    EXPECT_FALSE(none.first().projectID.isNull());

    const CampaignIDEProject first = project(u"A"_s);
    const CampaignIDEProject second = project(u"B"_s);
    const QList<CampaignIDEThread> one = Seeds::defaultThreads({ first });
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.first().projectID, first.id);

    const QList<CampaignIDEThread> threads = Seeds::defaultThreads({ first, second });
    ASSERT_EQ(threads.size(), 2);
    EXPECT_EQ(threads.at(1).projectID, second.id);
    const QList<CampaignIDEThread> again = Seeds::defaultThreads({ first, second });
    EXPECT_EQ(again.at(0).id, threads.at(0).id);
    EXPECT_EQ(again.at(0).agentTabs.at(1).id, threads.at(0).agentTabs.at(1).id);
    const QSet<QUuid> before = generatedIds(threads);
    EXPECT_EQ(before.size(), 2 + 3 + 1 + 1 + 1 + 1 + 2 * (4 + 3)); // entries, tools, approval, rows, ads
    EXPECT_FALSE(before.intersects(generatedIds(again)));
    EXPECT_NE(Seeds::defaultCompetitorAds(u"a.io"_s).first().id, Seeds::defaultCompetitorAds(u"a.io"_s).first().id);
}

TEST(SeedText, CapitalisesWordByWord)
{
    EXPECT_EQ(Seeds::capitalizedWords(u"acme.io"_s), u"Acme.io"_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"hELLO wORLD\tnew\nline"_s), u"Hello World\tNew\nLine"_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"  "_s), u"  "_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"\U00010428x"_s), u"\U00010400x"_s); // a letter outside the BMP
}

} // namespace
