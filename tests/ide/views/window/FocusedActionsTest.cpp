#include "WorkspaceWindowFixture.h"

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

TEST_F(FocusedActionsTest, ActionsOutlivingTheWindowDoNothing)
{
    makeWindow();
    const CampaignIDEFocusedActions actions = window->focusedActions();
    actions.requestExecution();
    EXPECT_TRUE(model().activeLaunchRequest().has_value());
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
