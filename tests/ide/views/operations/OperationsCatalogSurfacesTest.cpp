#include "OperationsSurfaceFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/operations/AgentsCatalogSurfaceView.h"
#include "ide/views/operations/AssetsLibrarySurfaceView.h"
#include "ide/views/operations/CampaignsOperationsSurfaceView.h"
#include "ide/views/operations/ThreadListModel.h"

#include <QAbstractItemModelTester>

namespace orvane::operationstest {
namespace {

using operations::AssetCardDelegate;
using operations::CampaignCardDelegate;
using operations::PersonaCardDelegate;

// --- Campaigns ---

class CampaignsSurfaceTest : public OperationsSurfaceTest { };

TEST_F(CampaignsSurfaceTest, ListsEveryThreadWithItsFlightsAndFollowsEditsInPlace)
{
    show(IDEPrimaryDestination::campaigns());
    ASSERT_TRUE(showsSurface(DestinationSurface::campaigns));
    auto *view = dynamic_cast<CampaignsOperationsSurfaceView *>(surface());
    ASSERT_NE(view, nullptr);
    QAbstractItemModelTester tester(view->threadModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    // Whatever project is selected or filtered, every thread has its card.
    model().setProjectFilterID(model().projects().first().id);
    operations::CardGrid *cards = grid(u"campaignCardList"_s);
    ASSERT_EQ(cards->model()->rowCount(), model().threads().size());
    EXPECT_EQ(cards->columnCount(), 1);

    // A row added to the first thread makes its card taller, in place.
    const QUuid first = model().threads().first().id;
    const int before = cards->cardRect(0).height();
    model().addMediaPlanRow(first);
    QCoreApplication::processEvents();
    EXPECT_GT(cards->cardRect(0).height(), before);

    // A thread without rows keeps a card of its title row alone.
    CampaignIDEThread bare = model().threads().first();
    bare.id = QUuid::createUuid();
    bare.title.clear();
    bare.mediaPlanRows.clear();
    model().insertThread(0, bare);
    QCoreApplication::processEvents();
    EXPECT_LT(cards->cardRect(0).height(), cards->cardRect(1).height());
    EXPECT_FALSE(cards->partRect(0, CampaignCardDelegate::openPart).isEmpty());
    EXPECT_EQ(cards->partRect(0, CampaignCardDelegate::openPart).right(), cards->cardRect(0).right() - 14);
}

TEST_F(CampaignsSurfaceTest, OpenInTableWorkbenchOpensExactlyThatThread)
{
    show(IDEPrimaryDestination::campaigns());
    ASSERT_TRUE(showsSurface(DestinationSurface::campaigns));
    // The last thread, of whatever project, while another project is selected.
    const int last = int(model().threads().size()) - 1;
    const CampaignIDEThread target = model().threads().at(last);
    model().setSelectedProjectID(QUuid::createUuid());
    clickPart(u"campaignCardList"_s, last, CampaignCardDelegate::openPart);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(target.id));
    EXPECT_EQ(model().threads().at(last).workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(model().selectedProjectID(), target.projectID);
}

// --- Agents ---

class AgentsCatalogTest : public OperationsSurfaceTest { };

TEST_F(AgentsCatalogTest, SixCardsInCatalogOrderInOneOrTwoColumns)
{
    show(IDEPrimaryDestination::agents());
    ASSERT_TRUE(showsSurface(DestinationSurface::agents));
    auto *view = dynamic_cast<AgentsCatalogSurfaceView *>(surface());
    ASSERT_NE(view, nullptr);
    QAbstractItemModelTester tester(view->personaModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    operations::CardGrid *cards = grid(u"personaCardGrid"_s);
    ASSERT_EQ(cards->model()->rowCount(), 6);
    for (int row = 0; row < 6; ++row)
        EXPECT_EQ(cards->model()->index(row, 0).data().toString(), OrvaneWebParitySeeds::personas().at(row).name);

    cards->resize(653, cards->heightForWidth(653));
    EXPECT_EQ(cards->columnCount(), 1);
    cards->resize(654, cards->heightForWidth(654));
    EXPECT_EQ(cards->columnCount(), 2);
    // The launch button spans the card inside its padding.
    EXPECT_EQ(cards->partRect(0, PersonaCardDelegate::launchPart).width(), cards->cardRect(0).width() - 28);
}

TEST_F(AgentsCatalogTest, EachLaunchStartsAThreadOfThePersonaOnItsOwnView)
{
    show(IDEPrimaryDestination::agents());
    const QUuid selected = model().projects().last().id;
    model().setSelectedProjectID(selected);
    const OrvaneAgentPersona &strategist = OrvaneWebParitySeeds::personas().at(1);
    const qsizetype threads = model().threads().size();

    clickPart(u"personaCardGrid"_s, 1, PersonaCardDelegate::launchPart);
    ASSERT_EQ(model().threads().size(), threads + 1);
    const CampaignIDEThread created = model().threads().first();
    EXPECT_EQ(created.title, u"Paid Media Strategist — Active Session"_s);
    EXPECT_EQ(created.workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(created.projectID, selected);
    ASSERT_FALSE(created.agentTabs.isEmpty());
    EXPECT_EQ(created.agentTabs.first().personaHandle, strategist.handle);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(created.id));
    // The starter prompt went out as the first message.
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            const CampaignAgentTab tab = model().threads().first().activeAgentTab();
            return std::any_of(tab.entries.cbegin(), tab.entries.cend(),
                [&](const CampaignTimelineEntry &entry) { return entry.text == strategist.starterPrompt; });
        },
        5000));
    ASSERT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 5000));
}

// --- Assets ---

class AssetsLibraryTest : public OperationsSurfaceTest { };

TEST_F(AssetsLibraryTest, CardsFollowTheAssetListAndEveryCardOpensTheFirstThreadCanvas)
{
    show(IDEPrimaryDestination::assets());
    ASSERT_TRUE(showsSurface(DestinationSurface::assets));
    auto *view = dynamic_cast<AssetsLibrarySurfaceView *>(surface());
    ASSERT_NE(view, nullptr);
    QAbstractItemModelTester tester(view->assetModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    operations::CardGrid *cards = grid(u"assetCardGrid"_s);
    ASSERT_EQ(cards->model()->rowCount(), model().assets().size());
    ASSERT_GE(model().assets().size(), 2);

    // Edited, reordered and emptied in place.
    QList<CampaignAssetLibraryItem> assets = model().assets();
    assets[0].name = u"Renamed asset"_s;
    model().setAssets(assets);
    EXPECT_EQ(cards->model()->index(0, 0).data().toString(), u"Renamed asset"_s);
    std::reverse(assets.begin(), assets.end());
    model().setAssets(assets);
    EXPECT_EQ(cards->model()->index(int(assets.size()) - 1, 0).data().toString(), u"Renamed asset"_s);

    cards->resize(573, cards->heightForWidth(573));
    EXPECT_EQ(cards->columnCount(), 1);
    cards->resize(574, cards->heightForWidth(574));
    EXPECT_EQ(cards->columnCount(), 2);

    const QUuid first = model().threads().first().id;
    clickPart(u"assetCardGrid"_s, 1, AssetCardDelegate::editPart);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_EQ(model().threads().first().workbenchView, IDEWorkbenchView::canvas);

    show(IDEPrimaryDestination::assets());
    model().selectWorkbenchView(IDEWorkbenchView::document, first);
    click(u"openCreativeStudioCanvasButton"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_EQ(model().threads().first().workbenchView, IDEWorkbenchView::canvas);

    show(IDEPrimaryDestination::assets());
    model().setAssets({});
    EXPECT_EQ(grid(u"assetCardGrid"_s)->model()->rowCount(), 0);
}

TEST_F(AssetsLibraryTest, TheHeaderButtonComesAndGoesWithTheThreads)
{
    show(IDEPrimaryDestination::assets());
    auto *button = find<QWidget>(u"openCreativeStudioCanvasButton"_s);
    EXPECT_TRUE(button->isVisible());
    model().removeThreads([](const CampaignIDEThread &) { return true; });
    EXPECT_FALSE(button->isVisible());

    // Cards still offer "Edit in Canvas →", which then does nothing.
    clickPart(u"assetCardGrid"_s, 0, AssetCardDelegate::editPart);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::assets());

    model().createNewThread({ .title = u"Back again"_s });
    show(IDEPrimaryDestination::assets());
    EXPECT_TRUE(find<QWidget>(u"openCreativeStudioCanvasButton"_s)->isVisible());
}

} // namespace
} // namespace orvane::operationstest
