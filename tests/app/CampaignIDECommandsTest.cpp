#include "AppTestSupport.h"

#include "app/CampaignIDECommands.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QTest>

#include <gtest/gtest.h>

#include <map>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;
using Item = CampaignIDECommands::Item;

namespace {

constexpr Item allItems[]
    = { Item::newProject, Item::showPlan, Item::showCreativeStudio, Item::showReports, Item::showApprovals,
          Item::showLocalFiles, Item::showDashboard, Item::toggleWorkspaceAgent, Item::reviewAndExecute };

// A record whose actions count their calls.
struct CountingActions {
    std::map<Item, int> calls;

    CampaignIDEFocusedActions record(bool hasOpenProject, bool canExecute, bool canOpenDashboard)
    {
        CampaignIDEFocusedActions actions;
        actions.hasOpenProject = hasOpenProject;
        actions.canExecute = canExecute;
        actions.canOpenDashboard = canOpenDashboard;
        actions.createProject = [this] { ++calls[Item::newProject]; };
        actions.showPlan = [this] { ++calls[Item::showPlan]; };
        actions.showCreativeStudio = [this] { ++calls[Item::showCreativeStudio]; };
        actions.showReports = [this] { ++calls[Item::showReports]; };
        actions.showApprovals = [this] { ++calls[Item::showApprovals]; };
        actions.showLocalFiles = [this] { ++calls[Item::showLocalFiles]; };
        actions.showDashboard = [this] { ++calls[Item::showDashboard]; };
        actions.toggleWorkspaceAgent = [this] { ++calls[Item::toggleWorkspaceAgent]; };
        actions.requestExecution = [this] { ++calls[Item::reviewAndExecute]; };
        return actions;
    }
};

// One flag per item, in menu order.
QString enabledStates(const CampaignIDECommands &commands)
{
    QString flags;
    for (const Item item : allItems)
        flags += commands.action(item)->isEnabled() ? u'1' : u'0';
    return flags;
}

class CommandsTest : public testing::Test {
protected:
    QMainWindow window;
    CampaignIDECommands commands { window.menuBar() };
    CountingActions counting;
};

} // namespace

TEST_F(CommandsTest, MenuHoldsTheItemsInOrderWithTheirShortcuts)
{
    QMenu *menu = commands.menu();
    EXPECT_EQ(menu->title(), u"Campaign"_s);
    EXPECT_EQ(window.menuBar()->actions().size(), 1);

    QStringList titles;
    for (QAction *action : menu->actions())
        titles << (action->isSeparator() ? u"-"_s : action->text());
    EXPECT_EQ(titles,
        QStringList({ u"New Project"_s, u"-"_s, u"Show Campaign Plan"_s, u"Show Creative Studio"_s,
            u"Show Reports && Lift"_s, u"Show Approval Gates"_s, u"Show Local Workspace Files"_s, u"Show Dashboard"_s,
            u"-"_s, u"Toggle Workspace Agent"_s, u"-"_s, u"Review and Execute\u2026"_s }));
    // "&" is shown as an ampersand, not taken as a mnemonic.
    EXPECT_EQ(commands.action(Item::showReports)->iconText(), u"Show Reports & Lift"_s);
}

TEST_F(CommandsTest, FlagsEnableTheirItemsAndNothingElse)
{
    commands.setActions(counting.record(false, false, false));
    EXPECT_EQ(enabledStates(commands), u"100000010"_s);

    // No open project: the dashboard follows its own flag, the review its own.
    commands.setActions(counting.record(false, false, true));
    EXPECT_EQ(enabledStates(commands), u"100000110"_s);
    commands.setActions(counting.record(false, true, false));
    EXPECT_EQ(enabledStates(commands), u"100000011"_s);

    commands.setActions(counting.record(true, false, false));
    EXPECT_EQ(enabledStates(commands), u"111111010"_s);
    commands.setActions(counting.record(true, true, true));
    EXPECT_EQ(enabledStates(commands), u"111111111"_s);

    // Losing the record disables them again; the two left enabled then do nothing.
    commands.setActions(std::nullopt);
    EXPECT_EQ(enabledStates(commands), u"100000010"_s);
    commands.action(Item::newProject)->trigger();
    commands.action(Item::toggleWorkspaceAgent)->trigger();
    EXPECT_TRUE(counting.calls.empty());
}

// Every chord is pressed on the real window below; here the keypad's Enter, and the chords of
// disabled items.
TEST_F(CommandsTest, ShortcutsReachOnlyEnabledItemsWhileTheWindowIsActive)
{
    ExpectQtWarnings expected({ u"propagateSizeHints"_s, u"does not support raise()"_s });
    window.resize(400, 300);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    commands.setActions(counting.record(true, true, true));
    pressKeys(&window, Qt::Key_Enter, Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier);
    EXPECT_EQ(counting.calls[Item::reviewAndExecute], 1);

    // A disabled item's shortcut does nothing; the two unconditional ones still reach the window.
    commands.setActions(counting.record(false, false, false));
    pressKeys(&window, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    pressKeys(&window, Qt::Key_1, Qt::ControlModifier);
    pressKeys(&window, Qt::Key_6, Qt::ControlModifier);
    pressKeys(&window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    pressKeys(&window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(counting.calls[Item::reviewAndExecute], 1);
    EXPECT_EQ(counting.calls[Item::showPlan], 0);
    EXPECT_EQ(counting.calls[Item::showDashboard], 0);
    EXPECT_EQ(counting.calls[Item::newProject], 1);
    EXPECT_EQ(counting.calls[Item::toggleWorkspaceAgent], 1);
}

// --- the menu on the real window ------------------------------------------------------------------

// The workspace publishes its actions: each chord drives it, and the review follows the selected
// project. The sign-in screen publishes none.
TEST(CampaignMenuOnTheWindowTest, ShortcutsDriveTheWorkspace)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    CampaignIDEWorkspaceView *workspace = window->rootView()->workspace();
    CampaignIDEWorkspaceModel *model = workspace->model();
    CampaignIDECommands *commands = window->commands();
    ASSERT_TRUE(commands->actions().has_value());
    // The workspace starts with the sample project selected.
    EXPECT_EQ(enabledStates(*commands), u"111111111"_s);
    ASSERT_TRUE(model->activeThread().has_value());

    const bool drawer = model->agentDrawerOpen();
    pressKeys(window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(model->agentDrawerOpen(), !drawer);
    pressKeys(window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(model->agentDrawerOpen(), drawer);

    const QUuid thread = model->activeThread()->id;
    pressKeys(window, Qt::Key_6, Qt::ControlModifier);
    EXPECT_EQ(model->activeThread()->workbenchView, IDEWorkbenchView::dashboard);
    pressKeys(window, Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(model->activeThread()->workbenchView, IDEWorkbenchView::canvas);
    pressKeys(window, Qt::Key_4, Qt::ControlModifier);
    EXPECT_EQ(model->activeThread()->workbenchView, IDEWorkbenchView::table);
    pressKeys(window, Qt::Key_5, Qt::ControlModifier);
    EXPECT_EQ(model->activeThread()->workbenchView, IDEWorkbenchView::localFiles);
    pressKeys(window, Qt::Key_1, Qt::ControlModifier);
    EXPECT_EQ(model->activeThread()->workbenchView, IDEWorkbenchView::document);
    EXPECT_EQ(model->activeThread()->id, thread);

    pressKeys(window, Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::reports());
    workspace->viewState()->setNewProjectName(u"typed earlier"_s);
    pressKeys(window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(workspace->viewState()->showingNewProjectSheet());
    EXPECT_EQ(workspace->viewState()->newProjectName(), QString());
    workspace->viewState()->setShowingNewProjectSheet(false);

    ASSERT_TRUE(model->selectedProjectID().has_value());
    model->setSelectedProjectID(std::nullopt);
    EXPECT_EQ(enabledStates(*commands), u"100000110"_s);
    pressKeys(window, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_FALSE(model->launchConfirmationProjectID().has_value());
    model->setSelectedProjectID(model->projects().first().id);
    ASSERT_TRUE(commands->action(Item::reviewAndExecute)->isEnabled());
    pressKeys(window, Qt::Key_Return, Qt::ControlModifier | Qt::ShiftModifier);
    // The review approves the project's artboards and asks for the launch confirmation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->launchConfirmationProjectID().has_value(); }));

    window->rootView()->requestCloudSignIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    EXPECT_FALSE(commands->actions().has_value());
    EXPECT_EQ(enabledStates(*commands), u"100000010"_s);
    // Nothing happens, and nothing breaks, when they are chosen on the sign-in screen.
    pressKeys(window, Qt::Key_N, Qt::ControlModifier | Qt::ShiftModifier);
    pressKeys(window, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(window->rootView()->screen(), RootView::Screen::signIn);

    window->rootView()->openLocalWorkspace();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::workspace; }));
    EXPECT_TRUE(commands->actions().has_value());
}
