#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/canvas/LocalFilesListModel.h"

#include <QAbstractItemView>
#include <QPlainTextEdit>

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

} // namespace
} // namespace orvane::windowtest
