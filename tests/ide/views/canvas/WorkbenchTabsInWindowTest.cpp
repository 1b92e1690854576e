#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/canvas/ArtboardGridModel.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CompetitorAdCardDelegate.h"
#include "ide/views/canvas/LocalFilesListModel.h"

#include <QAbstractItemView>
#include <QApplication>
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

// The keyboard leaves every text editor of the workbench: the two file editors, where Tab types a
// tab, with Ctrl+Tab (on along the window's Tab chain) and Ctrl+Shift+Tab (back), typing nothing;
// the artboard's headline, ad copy, moves on with Tab as the plan document's fields do, and stores
// no tab character.
TEST_F(CanvasTabsInWindowTest, TheKeyboardLeavesEveryEditorOfTheWorkbench)
{
    makeWindow();
    model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    model().flushPendingWrites();
    const QUuid threadID = model().activeThread()->id;
    const auto focused = [] {
        QWidget *at = QApplication::focusWidget();
        return at ? at->objectName().toStdString() : std::string("nothing");
    };
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    // From the editor, Ctrl+Tab and Ctrl+Shift+Tab reach the stops after and before it.
    const auto leaves = [&](QPlainTextEdit *editor, const QString &after, const QString &before) {
        const QString text = editor->toPlainText();
        editor->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(QApplication::focusWidget(), editor);
        press(Qt::Key_Tab, Qt::ControlModifier);
        EXPECT_EQ(focused(), after.toStdString()) << "Ctrl+Tab from " << editor->objectName().toStdString();
        editor->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(focused(), before.toStdString()) << "Ctrl+Shift+Tab from " << editor->objectName().toStdString();
        editor->setFocus(Qt::TabFocusReason);
        press(Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_EQ(focused(), before.toStdString()) << "Ctrl+Backtab from " << editor->objectName().toStdString();
        EXPECT_EQ(editor->toPlainText(), text);
    };

    model().openThread(threadID, IDEWorkbenchView::localFiles);
    auto *list = find<QAbstractItemView>(u"localFilesListView"_s);
    ASSERT_TRUE(QTest::qWaitFor([list] { return list->isVisible() && list->model()->rowCount() > 0; }, 5000));
    settle();
    auto *fileEditor = find<QPlainTextEdit>(u"localFileEditor"_s);
    ASSERT_NO_FATAL_FAILURE(leaves(fileEditor, u"threadSearchField"_s, u"saveLocalFileButton"_s));
    EXPECT_FALSE(model().selectedLocalFile()->isModified);
    // Tab stays a character in a file.
    fileEditor->setFocus(Qt::TabFocusReason);
    fileEditor->moveCursor(QTextCursor::Start);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), fileEditor);
    EXPECT_TRUE(model().selectedLocalFile()->content.startsWith(u'\t'));

    model().openThread(threadID, IDEWorkbenchView::document);
    settle();
    click(u"rawMarkdownToggleButton"_s);
    auto *raw = find<QPlainTextEdit>(u"rawMarkdownEditor"_s);
    ASSERT_TRUE(QTest::qWaitFor([raw] { return raw->isVisible(); }, 2000));
    EXPECT_EQ(raw->accessibleName(), u"Campaign Plan Markdown"_s);
    ASSERT_NO_FATAL_FAILURE(leaves(raw, u"savePlanFileButton"_s, u"rawMarkdownToggleButton"_s));

    model().openThread(threadID, IDEWorkbenchView::canvas);
    model().selectArtboard(model().selectedProject()->creatives.at(0).id);
    settle();
    auto *headline = find<QPlainTextEdit>(u"artboardHeadlineEditor"_s);
    ASSERT_TRUE(QTest::qWaitFor([headline] { return headline->isVisible(); }, 2000));
    const QString stored = model().selectedProject()->creatives.at(0).headline;
    ASSERT_NO_FATAL_FAILURE(leaves(headline, u"approveArtboardButton"_s, u"artboardGridView"_s));
    headline->setFocus(Qt::TabFocusReason);
    headline->moveCursor(QTextCursor::Start);
    press(Qt::Key_Tab);
    EXPECT_EQ(focused(), "approveArtboardButton");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "artboardHeadlineEditor");
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(focused(), "artboardGridView");
    EXPECT_EQ(headline->toPlainText(), stored);
    EXPECT_EQ(model().selectedProject()->creatives.at(0).headline, stored);
    model().flushPendingWrites();
    const QString creatives = QString::fromUtf8(
        test::readAll(QDir(model().projectFolderPath(*model().selectedProject())).filePath(u"creatives.json"_s)));
    EXPECT_FALSE(creatives.contains(u"\\t"_s)) << "a tab stored in creatives.json";
}

} // namespace
} // namespace orvane::windowtest
