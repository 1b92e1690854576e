#include "AppTestSupport.h"

#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/sidebar/SidebarThreadListModel.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTest>

#include <gtest/gtest.h>

#include <tuple>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

QMenu *openMenu()
{
    QMenu *menu = nullptr;
    std::ignore = QTest::qWaitFor(
        [&] { return (menu = qobject_cast<QMenu *>(QApplication::activePopupWidget())) != nullptr; }, 2000);
    return menu;
}

void closeMenu(QMenu *menu)
{
    menu->close();
    EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activePopupWidget() == nullptr; }, 2000));
}

} // namespace

// Shift+F10 opens the menu of what has the keyboard, as the Menu key does: the current row's menu in
// the sidebar's lists, the editing menu in a text field; F10 alone opens none.
TEST(ContextMenuKeyTest, ShiftF10OpensTheMenuOfTheFocusedRowOrField)
{
    // The offscreen platform lets no menu grab the keyboard.
    ExpectQtWarnings offscreenMenus { { u"does not support grabbing the keyboard"_s } };
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->workspace() != nullptr; }));
    CampaignIDEWorkspaceModel &model = *window->rootView()->workspace()->model();

    auto *threads = harness.find<QListView>(u"recentThreadList"_s);
    ASSERT_NE(threads, nullptr);
    ASSERT_GE(threads->model()->rowCount(), 2);
    threads->setFocus(Qt::TabFocusReason);
    threads->setCurrentIndex(threads->model()->index(1, 0));
    const QUuid second = qobject_cast<SidebarThreadListModel *>(threads->model())->threadID(1);
    const bool starred = model.thread(second)->isStarred;
    pressKeys(window, Qt::Key_F10);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    pressKeys(window, Qt::Key_F10, Qt::ShiftModifier);
    QMenu *menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), u"threadContextMenu"_s);
    // The menu is the current row's.
    auto *star = menu->findChild<QAction *>(u"toggleStarThreadAction"_s);
    ASSERT_NE(star, nullptr);
    star->trigger();
    closeMenu(menu);
    EXPECT_NE(model.thread(second)->isStarred, starred);

    auto *projects = harness.find<QListView>(u"projectFolderList"_s);
    projects->setFocus(Qt::TabFocusReason);
    projects->setCurrentIndex(projects->model()->index(0, 0));
    pressKeys(window, Qt::Key_F10, Qt::ShiftModifier);
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->objectName(), u"projectContextMenu"_s);
    closeMenu(menu);

    // A text field gets its editing menu, and nothing is typed.
    auto *draft = harness.find<QLineEdit>(u"draftField"_s);
    ASSERT_NE(draft, nullptr);
    draft->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(draft, u"abc"_s);
    pressKeys(window, Qt::Key_F10, Qt::ShiftModifier);
    menu = openMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_NE(menu->objectName(), u"threadContextMenu"_s);
    EXPECT_GT(menu->actions().size(), 3) << "the field's editing menu";
    closeMenu(menu);
    EXPECT_EQ(draft->text(), u"abc"_s);
}
