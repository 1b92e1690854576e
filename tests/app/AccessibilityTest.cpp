#include "AppTestSupport.h"

#include "app/CampaignIDECommands.h"
#include "app/RootView.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

// Assistive technology reads the window through its accessibility tree: every control a person can
// click or reach with the keyboard needs a name there, and every button must be reachable with Tab.

namespace {

using Role = QAccessible::Role;
constexpr Role pressable[] = { Role::Button, Role::PushButton, Role::CheckBox, Role::RadioButton, Role::ComboBox };
constexpr Role otherControls[] = { Role::PageTab, Role::MenuItem, Role::Link, Role::SpinBox, Role::Slider,
    Role::ButtonMenu, Role::ButtonDropDown, Role::EditableText, Role::ListItem };
// Named even where the keyboard does not reach them: a screen reader's review says what each holds.
constexpr Role lists[] = { Role::List, Role::Table, Role::Tree };

// Returns how many of the controls it saw are painted (no widget of their own), such as a card's.
int collectFaults(QAccessibleInterface *node, QStringList &faults)
{
    if (!node || !node->isValid() || node->state().invisible)
        return 0;
    const auto *widget = qobject_cast<const QWidget *>(node->object());
    if (widget && !widget->isVisible())
        return 0;
    const auto is = [node](const auto &roles) { return std::ranges::find(roles, node->role()) != std::end(roles); };
    const QString what = widget ? QString::fromLatin1(widget->metaObject()->className()) + u' ' + widget->objectName()
                                : u"role %1 in %2"_s.arg(int(node->role()))
                                      .arg(node->parent() ? node->parent()->text(QAccessible::Name) : QString());
    if ((is(pressable) || is(otherControls) || is(lists) || node->state().focusable)
        && node->text(QAccessible::Name).trimmed().isEmpty())
        faults.append(what + u": no name"_s);
    if (widget && is(pressable) && widget->isEnabled() && !(widget->focusPolicy() & Qt::TabFocus))
        faults.append(what + u": not reachable with Tab"_s);
    const bool pressed = node->actionInterface()
        && node->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction());
    if (pressed && !is(pressable) && !is(otherControls))
        faults.append(what + u": pressed, but no control's role"_s);
    int painted = pressed && !widget ? 1 : 0;
    for (int i = 0; i < node->childCount(); ++i)
        painted += collectFaults(node->child(i), faults);
    return painted;
}

int expectEveryControlNamed(QWidget *window, const QString &where)
{
    QStringList faults;
    const int painted = collectFaults(QAccessible::queryAccessibleInterface(window), faults);
    faults.removeDuplicates();
    EXPECT_TRUE(faults.isEmpty()) << qPrintable(where) << ":\n" << qPrintable(faults.join(u'\n'));
    return painted;
}

} // namespace

TEST(AccessibilityTest, EveryControlIsNamedOnEverySurfaceAndTabAndOnTheSignInScreen)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->workspace() != nullptr; }));
    EXPECT_GT(expectEveryControlNamed(window, u"thread"_s), 0) << "the timeline cards' controls are walked";
    using Item = CampaignIDECommands::Item;
    for (const Item item : { Item::showPlan, Item::showCreativeStudio, Item::showReports, Item::showApprovals,
             Item::showLocalFiles, Item::showDashboard }) {
        window->commands()->action(item)->trigger();
        expectEveryControlNamed(window, window->commands()->action(item)->text());
    }
    CampaignIDEWorkspaceModel &model = *window->rootView()->workspace()->model();
    using D = IDEPrimaryDestination;
    for (const D &destination :
        { D::projects(), D::campaigns(), D::agents(), D::assets(), D::connections(), D::reports(), D::settings() }) {
        model.setPrimaryDestination(destination);
        expectEveryControlNamed(window, u"destination %1"_s.arg(int(destination.kind())));
    }
    CampaignIDEWorkspaceView *workspace = window->rootView()->workspace();
    WorkspaceWindowState &state = *workspace->viewState();
    state.setAgentDrawerOpen(true);
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const QWidget *list = harness.find<QWidget>(u"quickActionList"_s);
        return list && list->isVisible();
    }));
    expectEveryControlNamed(window, u"copilot drawer"_s);
    state.setAgentDrawerOpen(false);

    // The sheets and the palette, each field named by its label.
    const auto expectSheetNamed = [&](WorkspaceSheet which, const QString &where, const auto &close) {
        WorkspaceSheetFrame *sheet = nullptr;
        ASSERT_TRUE(QTest::qWaitFor([&] { return (sheet = workspace->sheets()->sheet(which)) && sheet->isVisible(); }));
        expectEveryControlNamed(sheet, where);
        close();
    };
    workspace->controller()->openNewProjectSheet(true);
    expectSheetNamed(WorkspaceSheet::newProject, u"new project"_s, [&] { state.setShowingNewProjectSheet(false); });
    workspace->controller()->openNewThreadSheet(true, true);
    expectSheetNamed(WorkspaceSheet::newThread, u"new thread"_s, [&] { state.setShowingNewThreadSheet(false); });
    state.setRenamingThread(model.threads().constFirst());
    expectSheetNamed(WorkspaceSheet::renameThread, u"rename"_s, [&] { state.setRenamingThread(std::nullopt); });
    workspace->controller()->openCommandPalette();
    expectSheetNamed(WorkspaceSheet::commandPalette, u"palette"_s, [&] { state.setShowingCommandPalette(false); });

    window->rootView()->requestCloudSignIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->screen() == RootView::Screen::signIn; }));
    expectEveryControlNamed(window, u"sign-in"_s);
}

// Tab walks the window by region (sidebar, top bar, agent pane, workbench, then the drawer when
// open) and comes back to where it started; Shift+Tab walks the same stops backwards.
TEST(AccessibilityTest, TabVisitsTheWindowRegionByRegion)
{
    AppHarness harness;
    OrvaneMainWindow *window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->rootView()->workspace() != nullptr; }));
    const auto walk = [&](Qt::Key key, int limit) {
        QStringList names { QApplication::focusWidget()->objectName() };
        for (int step = 0; step < limit; ++step) {
            pressKeys(window, key, key == Qt::Key_Backtab ? Qt::ShiftModifier : Qt::NoModifier);
            names.append(QApplication::focusWidget()->objectName());
            if (names.constLast() == names.constFirst())
                break;
        }
        return names.join(u' ').toStdString();
    };
    const QString expected = (u"threadSearchField sidebarNewThreadButton customThreadButton "
                              u"projectsNavButton campaignsNavButton agentsNavButton assetsNavButton "
                              u"connectionsNavButton reportsNavButton starredThreadList recentChatsNewThreadButton "
                              u"recentThreadList newProjectFolderButton projectFolderList settingsNavButton "
                              u"themeSwitchButton "
                              u"sidebarToggleButton workspaceMenuButton projectMenuButton folderBadgeButton "
                              u"searchButton newThreadButton connectCloudButton agentButton "
                              u"agentTabSelectButton agentTabCloseButton agentTabSelectButton agentTabCloseButton "
                              u"addSpecialistMenuButton splitToggleButton dryRunBadgeButton approvalModeMenuButton "
                              u"timelineListView quickPromptChip1Button quickPromptChip2Button "
                              u"quickPromptChip3Button quickPromptChip4Button mentionMenuButton "
                              u"slashCommandMenuButton draftField sendButton "
                              u"documentWorkbenchTabButton tableWorkbenchTabButton canvasWorkbenchTabButton "
                              u"dashboardWorkbenchTabButton exploreWorkbenchTabButton localFilesWorkbenchTabButton "
                              u"saveLocalButton approveLaunchButton planDocumentScrollArea rawMarkdownToggleButton "
                              u"campaignNameField monthlyBudgetField objectiveEditor audienceEditor "
                              u"openMediaPlanTableButton threadSearchField"_s);
    EXPECT_EQ(walk(Qt::Key_Tab, 100), expected.toStdString());
    QStringList backwards = expected.split(u' ');
    std::ranges::reverse(backwards);
    EXPECT_EQ(walk(Qt::Key_Backtab, 100), backwards.join(u' ').toStdString());

    // The open drawer comes after the workbench.
    window->rootView()->workspace()->model()->setAgentDrawerOpen(true);
    auto *drawer = harness.find(u"copilotDrawer"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return drawer->isVisible(); }));
    harness.find(u"openMediaPlanTableButton"_s)->setFocus();
    pressKeys(window, Qt::Key_Tab);
    EXPECT_TRUE(drawer->isAncestorOf(QApplication::focusWidget()))
        << qPrintable(QApplication::focusWidget()->objectName());
}
