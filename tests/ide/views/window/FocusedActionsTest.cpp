#include "WorkspaceWindowFixture.h"

#include "ide/views/window/WorkspaceSheets.h"

#include <QSignalSpy>

namespace orvane::windowtest {
namespace {

using FocusedActionsTest = WorkspaceWindowTest;

TEST_F(FocusedActionsTest, FlagsFollowTheSelectedProject)
{
    makeWindow();
    QSignalSpy changed(window.get(), &CampaignIDEWorkspaceView::focusedActionsChanged);
    ASSERT_TRUE(model().selectedProject().has_value());
    CampaignIDEFocusedActions actions = window->focusedActions();
    EXPECT_TRUE(actions.hasOpenProject);
    EXPECT_TRUE(actions.canExecute);
    EXPECT_TRUE(actions.canOpenDashboard);

    model().navigateTo(IDEPrimaryDestination::projects());
    EXPECT_GE(changed.size(), 1);
    actions = window->focusedActions();
    EXPECT_FALSE(actions.hasOpenProject);
    // The selection test, not the model's launch gate.
    EXPECT_FALSE(actions.canExecute);
    EXPECT_TRUE(actions.canOpenDashboard);

    // A selected id that names no project is no open project.
    model().setSelectedProjectID(QUuid::createUuid());
    EXPECT_FALSE(window->focusedActions().hasOpenProject);

    // With a project that cannot launch yet, the review is still offered.
    model().openProject(model().projects().at(1).id);
    actions = window->focusedActions();
    EXPECT_TRUE(actions.hasOpenProject);
    EXPECT_TRUE(actions.canExecute);
}

TEST_F(FocusedActionsTest, WithoutAThreadOnlyThePlanJumpGoesSomewhere)
{
    makeWindow();
    model().removeThreads([](const CampaignIDEThread &) { return true; });
    model().navigateTo(IDEPrimaryDestination::settings());
    ASSERT_FALSE(model().activeThread().has_value());
    const CampaignIDEFocusedActions actions = window->focusedActions();
    for (const auto &jump :
        { actions.showCreativeStudio, actions.showApprovals, actions.showLocalFiles, actions.showDashboard }) {
        jump();
        EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::settings());
    }
    actions.showPlan();
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::projects());
}

TEST_F(FocusedActionsTest, NewProjectClearsTheNameAndTheAgentToggleFlips)
{
    makeWindow();
    state().setNewProjectName(u"Typed before"_s);
    const CampaignIDEFocusedActions actions = window->focusedActions();
    actions.createProject();
    EXPECT_TRUE(state().showingNewProjectSheet());
    EXPECT_TRUE(state().newProjectName().isEmpty());
    auto *sheet = window->sheets()->sheet(WorkspaceSheet::newProject);
    ASSERT_NE(sheet, nullptr);
    EXPECT_TRUE(QTest::qWaitFor([sheet] { return sheet->isVisible(); }, 2000));
    EXPECT_EQ(sheet->width(), 460);
    // Sheets lie on panelBackground: #0F172A dark, white light.
    EXPECT_EQ(sheet->grab().toImage().pixelColor(2, 2), QColor(0x0F, 0x17, 0x2A));
    keepCloseUp(sheet, u"new-project-sheet-dark.png"_s);
    model().setDarkTheme(false);
    EXPECT_EQ(sheet->grab().toImage().pixelColor(2, 2), QColor(Qt::white));
    model().setDarkTheme(true);
    // Closing keeps the sheet's flag in step.
    click(u"sheetCancelButton"_s);
    EXPECT_FALSE(state().showingNewProjectSheet());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->sheets()->sheet(WorkspaceSheet::newProject) == nullptr; }, 2000));

    actions.toggleWorkspaceAgent();
    EXPECT_TRUE(model().agentDrawerOpen());
    actions.toggleWorkspaceAgent();
    EXPECT_FALSE(model().agentDrawerOpen());
}

TEST_F(FocusedActionsTest, ReviewAndExecuteOpensTheLaunchSheetAndDismissingClosesTheConfirmation)
{
    makeWindow();
    ASSERT_TRUE(model().selectedProject()->hasPlan);
    window->focusedActions().requestExecution();
    ASSERT_TRUE(model().activeLaunchRequest().has_value());
    auto *sheet = window->sheets()->sheet(WorkspaceSheet::launchApproval);
    ASSERT_NE(sheet, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([sheet] { return sheet->isVisible(); }, 2000));
    QTest::keyClick(sheet, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model().launchConfirmationProjectID().has_value(); }, 2000));
    EXPECT_FALSE(model().activeLaunchRequest().has_value());
}

TEST_F(FocusedActionsTest, ActionsOutlivingTheWindowDoNothing)
{
    makeWindow();
    const CampaignIDEFocusedActions actions = window->focusedActions();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isSyncingServer(); }, 5000));
    window.reset();
    actions.createProject();
    actions.showPlan();
    actions.toggleWorkspaceAgent();
    actions.requestExecution();
    const CampaignIDEFocusedActions none;
    EXPECT_FALSE(none.hasOpenProject || none.canExecute || none.canOpenDashboard);
    none.showDashboard();
}

} // namespace
} // namespace orvane::windowtest
