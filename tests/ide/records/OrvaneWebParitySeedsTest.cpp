#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/records/RecordTestSupport.h"

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

TEST(SeedMediaPlan, TotalsFifteenHundredADayAndABlendedTargetOf195)
{
    CampaignIDEThread thread = Seeds::defaultThreads({}).first();
    const QList<CampaignMediaPlanRow> rows = thread.mediaPlanRows;
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows.at(0).channel, u"LinkedIn"_s);
    EXPECT_EQ(rows.at(1).channel, u"Google Search"_s);
    EXPECT_EQ(rows.at(2).channel, u"Reddit"_s);
    EXPECT_EQ(rows.at(3).channel, u"X"_s);
    EXPECT_EQ(rows.at(0).audience, u"VP Growth, Head of Paid Media (200–2,000 emp)"_s);
    EXPECT_TRUE(rows.at(1).audience.startsWith(u"Exact: ["_s));
    EXPECT_TRUE(rows.at(1).audience.endsWith(u", [ai media buyer], [ad ops agent]"_s));
    for (const CampaignMediaPlanRow &row : rows) {
        EXPECT_EQ(row.status, u"Ready"_s);
        EXPECT_EQ(row.monthlyBudget, row.dailyBudget * 30);
    }

    EXPECT_EQ(thread.totalDailyBudget(), 1500);
    EXPECT_EQ(thread.totalMonthlyBudget(), 45000);
    EXPECT_EQ(thread.totalEstimatedConversions(), 248);
    EXPECT_EQ(thread.blendedTargetCPA(), 195);
    // The canned tool output quotes another figure; the rows are what counts.
    EXPECT_TRUE(thread.agentTabs.first().entries.at(1).toolInvocations.at(1).outputPreview.contains(u"$178"_s));
}

TEST(SeedCompetitorAds, AreTemplatedOnTheDomainAsPassed)
{
    const QList<CampaignCompetitorAd> ads = Seeds::defaultCompetitorAds(u"acme.io"_s);
    ASSERT_EQ(ads.size(), 3);
    for (const CampaignCompetitorAd &ad : ads)
        EXPECT_EQ(ad.competitorDomain, u"acme.io"_s);
    EXPECT_EQ(ads.at(0).topKeywords.first(), u"acme.io alternatives"_s);
    EXPECT_EQ(ads.at(0).bodyCopy,
        u"High-velocity engineering teams standardize on acme.io to ship 2.4x faster with "
        u"keyboard-first workflows."_s);
    EXPECT_EQ(ads.at(1).headline, u"The Issue Tracker Built for Speed — Try Acme.io"_s);
    EXPECT_EQ(ads.at(1).topKeywords.last(), u"acme.io pricing"_s);
    EXPECT_EQ((QList<qint64> { ads.at(0).activeDays, ads.at(1).activeDays, ads.at(2).activeDays }),
        (QList<qint64> { 47, 92, 29 }));
    EXPECT_EQ(ads.at(2).cta, u"Read Teardown"_s);
    EXPECT_EQ(ads.at(2).estimatedMonthlySpend, u"$14,800/mo"_s);

    const QList<CampaignCompetitorAd> odd = Seeds::defaultCompetitorAds(u" ACME rocks.IO "_s);
    EXPECT_EQ(odd.at(0).competitorDomain, u" ACME rocks.IO "_s);
    EXPECT_TRUE(odd.at(1).headline.endsWith(u"Try  Acme Rocks.io "_s));

    const QList<CampaignCompetitorAd> empty = Seeds::defaultCompetitorAds({});
    EXPECT_EQ(empty.at(0).topKeywords.first(), u" alternatives"_s);
    EXPECT_EQ(empty.at(1).topKeywords.last(), u" pricing"_s);
    EXPECT_TRUE(empty.at(1).headline.endsWith(u"Try "_s));

    EXPECT_NE(Seeds::defaultCompetitorAds(u"acme.io"_s).first().id, ads.first().id);
}

TEST(SeedThreads, FollowTheProjectList)
{
    const QList<CampaignIDEThread> none = Seeds::defaultThreads({});
    ASSERT_EQ(none.size(), 1);
    EXPECT_FALSE(none.first().projectID.isNull());

    const CampaignIDEProject first = project(u"Q2 High-Intent Pipeline Launch"_s);
    const CampaignIDEProject second = project(u"Competitor Conquest"_s);
    const QList<CampaignIDEThread> one = Seeds::defaultThreads({ first });
    ASSERT_EQ(one.size(), 1);
    EXPECT_EQ(one.first().projectID, first.id);

    const QList<CampaignIDEThread> threads = Seeds::defaultThreads({ first, second, project(u"Third"_s) });
    ASSERT_EQ(threads.size(), 2);
    const CampaignIDEThread &t1 = threads.at(0);
    const CampaignIDEThread &t2 = threads.at(1);
    EXPECT_EQ(t1.id, QUuid::fromString(u"80000000-0000-0000-0000-000000000001"_s));
    EXPECT_EQ(t2.id, QUuid::fromString(u"80000000-0000-0000-0000-000000000002"_s));
    EXPECT_EQ(t2.projectID, second.id);
    EXPECT_EQ(t1.title, u"Q2 High-Intent Pipeline Launch — Full Funnel Plan"_s);
    EXPECT_EQ(t2.title, u"Competitor Search Capture — Exact Match & Teardown"_s);
    EXPECT_EQ(t1.workbenchView, IDEWorkbenchView::document);
    EXPECT_EQ(t2.workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(t1.activeTab()->id, QUuid::fromString(u"70000000-0000-0000-0000-000000000001"_s));
    EXPECT_EQ(t2.activeTab()->id, QUuid::fromString(u"70000000-0000-0000-0000-000000000003"_s));
    EXPECT_EQ(t1.agentTabs.at(1).id, QUuid::fromString(u"70000000-0000-0000-0000-000000000002"_s));
    EXPECT_NE(t1.competitorDomain, t2.competitorDomain);
    EXPECT_EQ(t2.competitorAds.first().competitorDomain, t2.competitorDomain);
    EXPECT_EQ((QList<QString> { t2.utmSource, t2.utmMedium, t2.utmCampaign }),
        (QList<QString> { u"google_search"_s, u"cpc"_s, u"q2_competitor_conquest"_s }));

    const CampaignTimelineEntry e2 = t1.agentTabs.first().entries.at(1);
    EXPECT_EQ(e2.toolInvocations.size(), 3);
    EXPECT_EQ(e2.toolInvocations.first().inputPreview,
        u"{\"project\": \"Q2 High-Intent Pipeline Launch\", \"monthlyBudget\": 45000}"_s);
    EXPECT_EQ(e2.inlineApproval->beforeSummary, u"LinkedIn $20,250/mo (45%) • Reddit $4,500/mo (10%)"_s);
    EXPECT_EQ(e2.inlineApproval->status, CampaignInlineApproval::ApprovalDecision::pending);
    EXPECT_EQ(e2.text.count(u"\n\n"_s), 1);
    EXPECT_TRUE(t2.agentTabs.first().entries.first().text.contains(u"**Competitor Conquest**"_s));
    EXPECT_EQ(t2.agentTabs.first().entries.first().artifactLink, IDEWorkbenchView::table);

    // Fixed ids stay, generated ones are new on every call.
    const QList<CampaignIDEThread> again = Seeds::defaultThreads({ first, second });
    EXPECT_EQ(again.at(0).id, t1.id);
    EXPECT_EQ(again.at(0).agentTabs.at(1).id, t1.agentTabs.at(1).id);
    const QSet<QUuid> before = generatedIds(threads);
    EXPECT_EQ(before.size(), 2 + 3 + 1 + 1 + 1 + 1 + 2 * (4 + 3)); // entries, tools, approval, rows, ads
    EXPECT_FALSE(before.intersects(generatedIds(again)));
}

TEST(SeedPersonas, FormTheCatalogInOrder)
{
    const QList<OrvaneAgentPersona> &personas = Seeds::personas();
    ASSERT_EQ(personas.size(), 6);
    QList<QString> ids;
    QList<QString> handles;
    for (const OrvaneAgentPersona &persona : personas) {
        ids.append(persona.id);
        handles.append(persona.handle);
        EXPECT_TRUE(persona.accentHex.size() == 7 && persona.accentHex.startsWith(u'#')) << persona.id.toStdString();
        EXPECT_EQ(persona.accentHex, persona.accentHex.toUpper());
    }
    EXPECT_EQ(ids,
        (QList<QString> { u"orvane-operator"_s, u"media-strategist"_s, u"creative-director"_s, u"search-engineer"_s,
            u"attribution-analyst"_s, u"competitor-spy"_s }));
    EXPECT_EQ(handles,
        (QList<QString> { u"@orvane"_s, u"@strategist"_s, u"@creative"_s, u"@gaql"_s, u"@analyst"_s, u"@spy"_s }));
    EXPECT_EQ(personas.at(0).name, u"Orvane Native Operator"_s);
    EXPECT_EQ(personas.at(0).defaultWorkbench, IDEWorkbenchView::document);
    EXPECT_EQ(personas.at(0).accentHex, personas.at(2).accentHex);
    EXPECT_EQ(personas.at(1).defaultWorkbench, IDEWorkbenchView::table);
    EXPECT_EQ(personas.at(3).defaultWorkbench, IDEWorkbenchView::table);
    EXPECT_EQ(personas.at(5).defaultWorkbench, IDEWorkbenchView::explore);
    EXPECT_EQ(&Seeds::personas(), &personas) << "built once";

    // Seed tabs carry the names and handles of catalog personas; the spy names both seed domains.
    const QList<CampaignIDEThread> threads = Seeds::defaultThreads({ project(u"A"_s), project(u"B"_s) });
    EXPECT_EQ(threads.at(0).agentTabs.at(1).personaName, personas.at(2).name);
    EXPECT_EQ(threads.at(1).agentTabs.at(0).personaHandle, personas.at(3).handle);
    EXPECT_TRUE(personas.at(5).starterPrompt.contains(threads.at(0).competitorDomain));
    EXPECT_TRUE(personas.at(5).starterPrompt.contains(threads.at(1).competitorDomain));
    EXPECT_TRUE(personas.at(5).starterPrompt.endsWith(u"our Creative Canvas."_s));
}

TEST(SeedCatalogs, HoldTheSampleConnectionsActionsAndAssets)
{
    const QList<CampaignPlatformConnection> &connections = Seeds::defaultConnections();
    ASSERT_EQ(connections.size(), 10);
    int connected = 0;
    for (const CampaignPlatformConnection &connection : connections) {
        connected += connection.isConnected() ? 1 : 0;
        if (connection.id != u"tiktok"_s) {
            EXPECT_EQ(connection.mode, CampaignPlatformConnection::ConnectionMode::localSandbox);
        }
    }
    EXPECT_EQ(connected, 9);
    EXPECT_EQ(connections.at(6).id, u"tiktok"_s);
    EXPECT_EQ(connections.at(6).lastSynced, u"Never"_s);
    EXPECT_EQ(connections.at(9).accountID, u"local://~/Documents/Orvane"_s);

    const QList<CampaignRecommendedNextAction> actions = Seeds::defaultRecommendedActions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ((QList<IDEWorkbenchView> { actions.at(0).targetWorkbench, actions.at(1).targetWorkbench,
                  actions.at(2).targetWorkbench, actions.at(3).targetWorkbench }),
        (QList<IDEWorkbenchView> {
            IDEWorkbenchView::table, IDEWorkbenchView::canvas, IDEWorkbenchView::table, IDEWorkbenchView::document }));
    // Account names are shared with the connections.
    EXPECT_EQ(actions.at(0).accountName, connections.at(1).accountName);
    EXPECT_EQ(actions.at(1).accountName, connections.at(2).accountName);
    EXPECT_EQ(actions.at(2).accountName, connections.at(0).accountName);
    EXPECT_EQ(actions.at(3).accountName, connections.at(8).accountName);
    for (const CampaignRecommendedNextAction &action : actions)
        EXPECT_FALSE(action.isCompleted);

    const QUuid projectID = QUuid::createUuid();
    const QList<CampaignAssetLibraryItem> assets = Seeds::defaultAssets(projectID);
    ASSERT_EQ(assets.size(), 5);
    for (const CampaignAssetLibraryItem &asset : assets)
        EXPECT_EQ(asset.projectID, projectID);
    EXPECT_EQ(assets.at(0).dimensions, u"1080×1080 (1:1)"_s);
    EXPECT_TRUE(assets.at(1).name.startsWith(u"GOOG_RSA_"_s));
    EXPECT_EQ(assets.at(3).kind, CampaignAssetLibraryItem::AssetKind::landingPage);
    EXPECT_TRUE(assets.at(3).channel.startsWith(u"Web / "_s));
    EXPECT_EQ(assets.at(4).kind, CampaignAssetLibraryItem::AssetKind::audience);
    EXPECT_EQ(assets.at(4).subtitle, u"North America & UK B2B software companies ($10M–$250M ARR)."_s);
}

TEST(SeedText, CapitalisesWordByWord)
{
    EXPECT_EQ(Seeds::capitalizedWords(u"acme.io"_s), u"Acme.io"_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"hELLO wORLD\tnew\nline"_s), u"Hello World\tNew\nLine"_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"  "_s), u"  "_s);
    EXPECT_EQ(Seeds::capitalizedWords(u"\U00010428x"_s), u"\U00010400x"_s); // a letter outside the BMP
}

} // namespace
