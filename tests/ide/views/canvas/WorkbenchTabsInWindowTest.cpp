#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/canvas/ArtboardGridModel.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CompetitorAdCardDelegate.h"
#include "ide/views/canvas/LocalFilesListModel.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace orvane::windowtest {
namespace {

class CanvasTabsInWindowTest : public WorkspaceWindowTest { };

// The thread workbench shows these views for their tabs, one view per tab kept while the user
// moves between tabs, with the selection and the typed text surviving the round trip.
TEST_F(CanvasTabsInWindowTest, TheThreadWorkbenchShowsEachViewForItsTab)
{
    makeWindow();
    model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    const QUuid threadID = model().activeThread()->id;

    model().openThread(threadID, IDEWorkbenchView::canvas);
    auto *canvas = find<QWidget>(u"creativeCanvasView"_s);
    ASSERT_NE(canvas, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([canvas] { return canvas->isVisible(); }, 2000));
    model().selectArtboard(model().selectedProject()->creatives.at(1).id);
    EXPECT_TRUE(find<QWidget>(u"artboardInspector"_s)->isVisible());

    model().openThread(threadID, IDEWorkbenchView::explore);
    auto *explore = find<QWidget>(u"competitorExplorerView"_s);
    ASSERT_NE(explore, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([explore] { return explore->isVisible(); }, 2000));

    model().openThread(threadID, IDEWorkbenchView::localFiles);
    model().flushPendingWrites();
    auto *files = find<QWidget>(u"localFilesView"_s);
    ASSERT_NE(files, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([files] { return files->isVisible(); }, 2000));
    auto *list = find<QAbstractItemView>(u"localFilesListView"_s);
    EXPECT_TRUE(QTest::qWaitFor([list] { return list->model()->rowCount() > 0; }, 5000));

    // Back on the canvas: the same view, the same selection.
    model().openThread(threadID, IDEWorkbenchView::canvas);
    EXPECT_EQ(find<QWidget>(u"creativeCanvasView"_s), canvas);
    EXPECT_EQ(model().selectedArtboardID(), model().selectedProject()->creatives.at(1).id);
}

// A hook cloned from the explorer shows the canvas with the clone's card in view, however many
// artboards stand before it: on a canvas built for it, and on one kept from before at its top.
TEST_F(CanvasTabsInWindowTest, AHookClonedFromTheExplorerShowsItsCardOnTheCanvas)
{
    makeWindow();
    model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    const QUuid threadID = model().activeThread()->id;
    model().mutateProject(CampaignIDEWorkspaceModel::sampleProjectID, [](CampaignIDEProject &project) {
        const QList<CreativeCanvasArtboard> seed = project.creatives;
        for (int copy = 0; copy < 4; ++copy) {
            for (CreativeCanvasArtboard artboard : seed) {
                artboard.id = QUuid::createUuid();
                project.creatives.append(artboard);
            }
        }
    });

    const auto cloneFirstHook = [&] {
        model().openThread(threadID, IDEWorkbenchView::explore);
        auto *ads = find<CardGridView>(u"competitorAdGridView"_s);
        ASSERT_NE(ads, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([ads] { return ads->isVisible(); }, 2000));
        settle();
        const QRect card = ads->visualRect(ads->model()->index(0, 0));
        QTest::mouseClick(
            ads->viewport(), Qt::LeftButton, {}, CompetitorAdCardDelegate::cloneButtonRect(card).center());
        ASSERT_EQ(model().activeThread()->workbenchView, IDEWorkbenchView::canvas);
    };
    const auto expectCloneInView = [&](const char *where) {
        auto *grid = find<CardGridView>(u"artboardGridView"_s);
        ASSERT_NE(grid, nullptr) << where;
        const int last = grid->model()->rowCount() - 1;
        const QModelIndex clone = grid->model()->index(last, 0);
        EXPECT_EQ(clone.data(ArtboardGridModel::IdRole).toUuid(), model().selectedArtboardID()) << where;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return grid->isVisible() && grid->viewport()->rect().contains(grid->visualRect(clone)); }, 2000))
            << where << ": the clone's card lies out of view";
        EXPECT_GT(grid->verticalScrollBar()->value(), 0) << where;
    };

    ASSERT_EQ(window->findChild<QWidget *>(u"creativeCanvasView"_s), nullptr);
    ASSERT_NO_FATAL_FAILURE(cloneFirstHook());
    expectCloneInView("a canvas built for the clone");
    keepPicture(u"canvas-after-clone.png"_s);

    find<CardGridView>(u"artboardGridView"_s)->verticalScrollBar()->setValue(0);
    ASSERT_NO_FATAL_FAILURE(cloneFirstHook());
    expectCloneInView("the canvas kept from before");
}

} // namespace
} // namespace orvane::windowtest
