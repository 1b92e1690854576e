#include "OperationsSurfaceFixture.h"

#include "ide/views/operations/OperationsHomeSurfaceView.h"
#include "ide/views/operations/ThreadListModel.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QLabel>

namespace orvane::operationstest {
namespace {

using operations::RecommendedActionDelegate;
using operations::ThreadCardDelegate;

class OperationsHomeSurfaceTest : public OperationsSurfaceTest {
protected:
    void SetUp() override
    {
        show(IDEPrimaryDestination::projects());
        ASSERT_TRUE(showsSurface(DestinationSurface::operationsHome));
        home = dynamic_cast<OperationsHomeSurfaceView *>(surface());
        ASSERT_NE(home, nullptr);
    }

    [[nodiscard]] QString tileValue(const QString &tile) const
    {
        auto *label = find<QWidget>(tile)->findChild<QLabel *>(u"metricValueLabel"_s);
        return label ? label->text() : QString();
    }
    [[nodiscard]] QString tileSubtitle(const QString &tile) const
    {
        auto *label = find<QWidget>(tile)->findChild<ElidedLabel *>(u"metricSubtitleLabel"_s);
        return label ? label->text() : QString();
    }

    QPointer<OperationsHomeSurfaceView> home;
};

TEST_F(OperationsHomeSurfaceTest, TilesCountTheWholeWorkspaceAndFollowItInPlace)
{
    const qsizetype threads = model().threads().size();
    EXPECT_EQ(tileValue(u"activeThreadsTile"_s), QString::number(threads));
    EXPECT_EQ(tileSubtitle(u"activeThreadsTile"_s),
        QString::number(model().starredThreads().size()) % u" starred · multi-agent ready"_s);
    EXPECT_EQ(tileValue(u"connectedPlatformsTile"_s),
        QString::number(model().connectedPlatformCount()) % u"/"_s % QString::number(model().connections().size()));
    EXPECT_EQ(tileValue(u"trackedFlightsTile"_s), QString::number(model().totalTrackedCampaignsCount()));
    EXPECT_EQ(tileValue(u"pendingDecisionsTile"_s), QString::number(model().totalPendingApprovalsCount()));
    // Each value is drawn in its tile's accent.
    const QImage value
        = find<QWidget>(u"activeThreadsTile"_s)->findChild<QLabel *>(u"metricValueLabel"_s)->grab().toImage();
    bool lime = false;
    for (int y = 0; y < value.height() && !lime; ++y) {
        for (int x = 0; x < value.width() && !lime; ++x)
            lime = value.pixelColor(x, y) == OrvaneWebTheme(true).accentLime();
    }
    EXPECT_TRUE(lime);

    // A starred thread, a new row and a filter on another project: the surface stays, the numbers move.
    QPointer<QWidget> before = surface();
    const QUuid first = model().threads().first().id;
    const qsizetype starred = model().starredThreads().size();
    model().toggleStarThread(first);
    model().addMediaPlanRow(first);
    EXPECT_EQ(surface(), before.data());
    ASSERT_NE(model().starredThreads().size(), starred);
    EXPECT_EQ(tileSubtitle(u"activeThreadsTile"_s),
        QString::number(model().starredThreads().size()) % u" starred · multi-agent ready"_s);
    EXPECT_EQ(tileValue(u"trackedFlightsTile"_s), QString::number(model().totalTrackedCampaignsCount()));

    model().setProjectFilterID(QUuid::createUuid());
    EXPECT_EQ(tileValue(u"activeThreadsTile"_s), QString::number(threads));
    EXPECT_EQ(tileSubtitle(u"activeThreadsTile"_s), u"0 starred · multi-agent ready"_s);
    // The grid still lists every thread.
    EXPECT_EQ(home->threadModel()->rowCount(), threads);
}

TEST_F(OperationsHomeSurfaceTest, TilesLeadIntoTheWorkspace)
{
    const QUuid first = model().threads().first().id;
    model().selectWorkbenchView(IDEWorkbenchView::dashboard, first);

    click(u"pendingDecisionsTile"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_EQ(model().threads().first().workbenchView, IDEWorkbenchView::table);

    show(IDEPrimaryDestination::projects());
    model().selectWorkbenchView(IDEWorkbenchView::canvas, first);
    click(u"activeThreadsTile"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_EQ(model().threads().first().workbenchView, IDEWorkbenchView::canvas);

    show(IDEPrimaryDestination::projects());
    click(u"connectedPlatformsTile"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::connections());
    show(IDEPrimaryDestination::projects());
    click(u"trackedFlightsTile"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::campaigns());
    EXPECT_TRUE(showsSurface(DestinationSurface::campaigns));
}

TEST_F(OperationsHomeSurfaceTest, WithoutThreadsTheTilesThatOpenOneDoNothing)
{
    model().removeThreads([](const CampaignIDEThread &) { return true; });
    EXPECT_EQ(tileValue(u"activeThreadsTile"_s), u"0"_s);
    EXPECT_EQ(tileSubtitle(u"activeThreadsTile"_s), u"0 starred · multi-agent ready"_s);
    EXPECT_EQ(tileValue(u"trackedFlightsTile"_s), u"0"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return grid(u"threadCardGrid"_s)->height() == 0; }, 2000));

    click(u"activeThreadsTile"_s);
    click(u"pendingDecisionsTile"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::projects());
}

TEST_F(OperationsHomeSurfaceTest, ThreadCardsFollowTheThreadListInPlaceAndOpenTheirThread)
{
    QAbstractItemModelTester tester(home->threadModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    operations::CardGrid *cards = grid(u"threadCardGrid"_s);
    ASSERT_EQ(cards->model()->rowCount(), model().threads().size());

    // Insert, rename, remove and reset, all reflected without rebuilding the surface.
    QPointer<QWidget> before = surface();
    CampaignIDEThread added = model().threads().first();
    added.id = QUuid::createUuid();
    added.title = u"Inserted thread"_s;
    model().insertThread(1, added);
    EXPECT_EQ(home->threadModel()->index(1).data().toString(), u"Inserted thread"_s);
    model().renameThread(added.id, u"Renamed thread"_s);
    EXPECT_EQ(home->threadModel()->index(1).data().toString(), u"Renamed thread"_s);
    model().removeThreads([&](const CampaignIDEThread &thread) { return thread.id == added.id; });
    EXPECT_EQ(home->threadModel()->rowCount(), model().threads().size());
    model().setThreads(model().threads());
    EXPECT_EQ(surface(), before.data());

    // The last card of the list, whatever its project, opens with the view it already has.
    const int last = int(model().threads().size()) - 1;
    const CampaignIDEThread target = model().threads().at(last);
    clickPart(u"threadCardGrid"_s, last, ThreadCardDelegate::openPart);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(target.id));
    EXPECT_EQ(model().threads().at(last).workbenchView, target.workbenchView);
    EXPECT_EQ(model().selectedProjectID(), target.projectID);
}

TEST_F(OperationsHomeSurfaceTest, TheKeyboardAndAssistiveTechnologyReachEachThreadCard)
{
    operations::CardGrid *cards = grid(u"threadCardGrid"_s);
    ASSERT_GE(cards->model()->rowCount(), 2);
    QAccessibleInterface *second = QAccessible::queryAccessibleInterface(cards)->child(1);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->text(QAccessible::Name), model().threads().at(1).title);
    cards->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cards->hasFocus(); }));
    QTest::keyClick(cards, Qt::Key_Right);
    EXPECT_TRUE(second->state().focused);
    QTest::keyClick(cards, Qt::Key_Return);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(model().threads().at(1).id));
}

TEST_F(OperationsHomeSurfaceTest, ThreadGridColumnsAdaptToTheWidth)
{
    CampaignIDEThread extra = model().threads().first();
    for (int i = 0; i < 3; ++i) {
        extra.id = QUuid::createUuid();
        model().insertThread(0, extra);
    }
    operations::CardGrid *cards = grid(u"threadCardGrid"_s);

    cards->resize(691, cards->heightForWidth(691));
    EXPECT_EQ(cards->columnCount(), 1);
    cards->resize(692, cards->heightForWidth(692));
    EXPECT_EQ(cards->columnCount(), 2);
    EXPECT_EQ(cards->cardRect(0).width(), 340);
    EXPECT_EQ(cards->cardRect(1).left(), 352);
    cards->resize(1100, cards->heightForWidth(1100));
    EXPECT_EQ(cards->columnCount(), 3);
    EXPECT_EQ(cards->cardRect(0).width(), cards->cardRect(2).width());
    EXPECT_EQ(cards->cardRect(0).top(), cards->cardRect(2).top());
    EXPECT_GT(cards->cardRect(3).top(), cards->cardRect(0).bottom());
}

TEST_F(OperationsHomeSurfaceTest, StartingARecommendedActionKeepsItsRowAndCanBeRepeated)
{
    ASSERT_FALSE(model().recommendedActions().isEmpty());
    QAbstractItemModelTester tester(home->actionModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    const CampaignRecommendedNextAction action = model().recommendedActions().first();
    const qsizetype threads = model().threads().size();

    // Only the button reacts: a click on the row's text does nothing.
    operations::CardGrid *rows = grid(u"recommendedActionList"_s);
    QTest::mouseClick(rows, Qt::LeftButton, {}, rows->cardRect(0).topLeft() + QPoint(20, 20));
    EXPECT_EQ(model().threads().size(), threads);

    clickPart(u"recommendedActionList"_s, 0, RecommendedActionDelegate::startPart);
    ASSERT_EQ(model().threads().size(), threads + 1);
    EXPECT_EQ(model().threads().first().title, action.title);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(model().threads().first().id));
    ASSERT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 5000));

    show(IDEPrimaryDestination::projects());
    home = dynamic_cast<OperationsHomeSurfaceView *>(surface());
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->actionModel()->rowCount(), model().recommendedActions().size());
    clickPart(u"recommendedActionList"_s, 0, RecommendedActionDelegate::startPart);
    EXPECT_EQ(model().threads().size(), threads + 2);
    EXPECT_EQ(model().threads().first().title, action.title);
}

TEST_F(OperationsHomeSurfaceTest, CreationButtonsOpenTheWindowSheets)
{
    click(u"newProjectButton"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return state().showingNewProjectSheet(); }, 2000));
    state().setShowingNewProjectSheet(false);
    click(u"startNewThreadButton"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return state().showingNewThreadSheet(); }, 2000));
}

TEST_F(OperationsHomeSurfaceTest, TheLightThemeRepaintsInPlace)
{
    QPointer<QWidget> before = surface();
    model().setDarkTheme(false);
    QCoreApplication::processEvents();
    EXPECT_EQ(surface(), before.data());
    const QImage picture = grid(u"threadCardGrid"_s)->grab().toImage();
    // A card's fill is white in the light theme.
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(Qt::white));
}

} // namespace
} // namespace orvane::operationstest
