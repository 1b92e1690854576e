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

// A record list's JSON without the records' random ids.
Json withoutIds(Json records)
{
    for (Json &record : records)
        record.erase("id");
    return records;
}

// Every sample text, compared once against the golden file. The first seed thread is left out: the
// sample project's transcript holds it whole in the model's folder golden. Both threads carry the
// default rows and the ads templated on their own competitor, which the golden holds once.
TEST(Seeds, MatchTheGoldenSamples)
{
    const QUuid projectID = QUuid::createUuid();
    const QList<CampaignIDEThread> threads = Seeds::defaultThreads(
        { project(u"Q2 High-Intent Pipeline Launch"_s), project(u"Competitor Conquest"_s), project(u"Third"_s) });
    ASSERT_EQ(threads.size(), 2);
    for (const CampaignIDEThread &thread : threads) {
        EXPECT_EQ(withoutIds(toJson(thread.mediaPlanRows)), withoutIds(toJson(Seeds::defaultMediaPlanRows())));
        EXPECT_EQ(withoutIds(toJson(thread.competitorAds)),
            withoutIds(toJson(Seeds::defaultCompetitorAds(thread.competitorDomain))));
    }
    Json secondThread = toJson(threads.at(1));
    secondThread.erase("mediaPlanRows");
    secondThread.erase("competitorAds");
    Json personas = Json::array();
    for (const OrvaneAgentPersona &persona : Seeds::personas())
        personas.push_back(encodePersona(persona));
    const Json document {
        { "secondThread", secondThread },
        // Templated on the domain exactly as passed, odd spacing and case included.
        { "competitorAds", toJson(Seeds::defaultCompetitorAds(u" ACME rocks.IO "_s)) },
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
