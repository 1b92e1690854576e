#include "ide/views/window/WorkspaceWindowFixture.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sidebar/SidebarListView.h"
#include "ide/views/sidebar/SidebarNavRow.h"
#include "ide/views/sidebar/SidebarProjectListModel.h"
#include "ide/views/sidebar/SidebarRowDelegates.h"
#include "ide/views/sidebar/SidebarThreadListModel.h"

#include <QAbstractItemModelTester>
#include <QContextMenuEvent>

namespace orvane::windowtest {
namespace {

using Part = SidebarRowDelegate::Part;

class SidebarTest : public WorkspaceWindowTest {
protected:
    void SetUp() override { makeWindow(); }

    [[nodiscard]] SidebarListView *list(const QString &name) const { return find<SidebarListView>(name); }
    [[nodiscard]] SidebarNavRow *navRow(const QString &name) const { return find<SidebarNavRow>(name); }

    [[nodiscard]] QList<QUuid> threadIDs(const QString &listName) const
    {
        QList<QUuid> ids;
        const QAbstractItemModel *rows = list(listName)->model();
        for (int row = 0; row < rows->rowCount(); ++row)
            ids.append(rows->index(row, 0).data(SidebarThreadListModel::ThreadIDRole).toUuid());
        return ids;
    }
    [[nodiscard]] QModelIndex rowIndex(const QString &listName, int row) const
    {
        return list(listName)->model()->index(row, 0);
    }

    void clickRow(const QString &listName, int row, Part part = Part::row)
    {
        SidebarListView *view = list(listName);
        ASSERT_NE(view, nullptr);
        const QRect target = view->partRect(row, part);
        ASSERT_TRUE(target.isValid()) << listName.toStdString() << " row " << row;
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, target.center());
    }

    // Opens a row's menu as a right click does and chooses the entry with that object name.
    void chooseFromMenu(const QString &listName, int row, const QString &menuName, const QString &actionName)
    {
        SidebarListView *view = list(listName);
        ASSERT_NE(view, nullptr);
        const QPoint at = view->visualRect(view->model()->index(row, 0)).center();
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, view->viewport()->mapToGlobal(at));
        QApplication::sendEvent(view->viewport(), &event);
        auto *menu = view->findChild<QMenu *>(menuName);
        ASSERT_NE(menu, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
        auto *action = menu->findChild<QAction *>(actionName);
        ASSERT_NE(action, nullptr) << actionName.toStdString();
        menuTexts = {};
        for (QAction *entry : menu->actions())
            menuTexts.append(entry->isSeparator() ? u"-"_s : entry->text());
        const QPointer<QMenu> closing(menu);
        menu->close();
        action->trigger();
        // The menu deletes itself once closed.
        ASSERT_TRUE(QTest::qWaitFor([&closing] { return closing.isNull(); }, 2000));
    }

    QStringList menuTexts;
};

// --- Navigation -------------------------------------------------------------------------------------

TEST_F(SidebarTest, NavigationRowsCountTheWorkspaceAndHighlightTheDestinationOnly)
{
    EXPECT_EQ(navRow(u"projectsNavButton"_s)->badge(), QString::number(model().projects().size()));
    EXPECT_EQ(navRow(u"agentsNavButton"_s)->badge(), u"6"_s);
    EXPECT_EQ(navRow(u"assetsNavButton"_s)->badge(), QString::number(model().assets().size()));
    EXPECT_EQ(navRow(u"reportsNavButton"_s)->badge(), QString::number(model().reports().size()));
    EXPECT_EQ(navRow(u"connectionsNavButton"_s)->badge(),
        QString::number(model().connectedPlatformCount()) + u'/' + QString::number(model().connections().size()));
    EXPECT_FALSE(navRow(u"settingsNavButton"_s)->badge());

    const QString campaigns = navRow(u"campaignsNavButton"_s)->badge().value_or(QString());
    model().addMediaPlanRow(model().threads().constFirst().id);
    EXPECT_EQ(navRow(u"campaignsNavButton"_s)->badge(), QString::number(campaigns.toInt() + 1));
    model().setConnections({});
    EXPECT_EQ(navRow(u"connectionsNavButton"_s)->badge(), u"0/0"_s);
    model().setAssets({});
    EXPECT_EQ(navRow(u"assetsNavButton"_s)->badge(), u"0"_s);

    const QStringList rows { u"projectsNavButton"_s, u"campaignsNavButton"_s, u"agentsNavButton"_s,
        u"assetsNavButton"_s, u"connectionsNavButton"_s, u"reportsNavButton"_s, u"settingsNavButton"_s };
    const auto activeRows = [&] {
        QStringList active;
        for (const QString &name : rows) {
            if (navRow(name)->isActive())
                active.append(name);
        }
        return active;
    };
    model().openThread(model().threads().constFirst().id);
    EXPECT_TRUE(activeRows().isEmpty()); // a thread is no navigation destination

    click(u"connectionsNavButton"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::connections());
    EXPECT_EQ(activeRows(), QStringList { u"connectionsNavButton"_s });
    // Nor is the thread of the project in focus the open one there.
    for (int row = 0; row < list(u"recentThreadList"_s)->model()->rowCount(); ++row)
        EXPECT_FALSE(rowIndex(u"recentThreadList"_s, row).data(SidebarThreadListModel::SelectedRole).toBool());
    click(u"settingsNavButton"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::settings());
    EXPECT_EQ(activeRows(), QStringList { u"settingsNavButton"_s });
}

TEST_F(SidebarTest, HeaderPlusButtonsStartAThreadAndOpenTheNewProjectSheetEmpty)
{
    const qsizetype before = model().threads().size();
    click(u"recentChatsNewThreadButton"_s);
    ASSERT_EQ(model().threads().size(), before + 1);
    EXPECT_EQ(threadIDs(u"recentThreadList"_s).value(0), model().threads().constFirst().id);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(model().threads().constFirst().id));

    state().setNewProjectName(u"left over"_s);
    click(u"newProjectFolderButton"_s);
    EXPECT_TRUE(state().showingNewProjectSheet());
    EXPECT_TRUE(state().newProjectName().isEmpty());
    EXPECT_EQ(find<QWidget>(u"newProjectFolderButton"_s)->toolTip(), u"Create New Local Project Folder"_s);
    EXPECT_EQ(find<QWidget>(u"recentChatsNewThreadButton"_s)->toolTip(), u"Create New Campaign Thread"_s);
}

// --- Thread rows ------------------------------------------------------------------------------------

TEST_F(SidebarTest, StarredListsAStarredThreadTwiceAndDisappearsWithTheLastStar)
{
    for (const CampaignIDEThread &thread : model().threads()) {
        if (thread.isStarred)
            model().toggleStarThread(thread.id);
    }
    EXPECT_FALSE(find<QWidget>(u"starredSection"_s)->isVisible());

    const QUuid id = model().threads().constLast().id;
    const int recentRow = int(threadIDs(u"recentThreadList"_s).indexOf(id));
    clickRow(u"recentThreadList"_s, recentRow, Part::star);
    EXPECT_TRUE(model().threads().constLast().isStarred);
    EXPECT_TRUE(find<QWidget>(u"starredSection"_s)->isVisible());
    EXPECT_EQ(threadIDs(u"starredThreadList"_s), QList<QUuid> { id });

    // Both rows show the open thread.
    clickRow(u"starredThreadList"_s, 0);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(id));
    EXPECT_TRUE(rowIndex(u"starredThreadList"_s, 0).data(SidebarThreadListModel::SelectedRole).toBool());
    EXPECT_TRUE(rowIndex(u"recentThreadList"_s, recentRow).data(SidebarThreadListModel::SelectedRole).toBool());

    const auto *delegate = list(u"starredThreadList"_s)->rowDelegate();
    EXPECT_EQ(delegate->toolTip(rowIndex(u"starredThreadList"_s, 0), Part::star), u"Remove from Starred"_s);
    EXPECT_EQ(delegate->toolTip(rowIndex(u"recentThreadList"_s, 0), Part::row), QString());

    clickRow(u"starredThreadList"_s, 0, Part::star);
    EXPECT_FALSE(model().threads().constLast().isStarred);
    EXPECT_FALSE(find<QWidget>(u"starredSection"_s)->isVisible());
    EXPECT_EQ(delegate->toolTip(rowIndex(u"recentThreadList"_s, recentRow), Part::star), u"Star Thread"_s);
}

TEST_F(SidebarTest, ThreadMenuOpensInAWorkbenchStarsRenamesAndDeletes)
{
    const QUuid id = threadIDs(u"recentThreadList"_s).constLast();
    const int row = int(threadIDs(u"recentThreadList"_s).size()) - 1;
    model().navigateTo(IDEPrimaryDestination::projects());

    chooseFromMenu(u"recentThreadList"_s, row, u"threadContextMenu"_s, u"openInTableAction"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(id));
    EXPECT_EQ(rowIndex(u"recentThreadList"_s, row).data(SidebarThreadListModel::WorkbenchRole), u"Table"_s);
    const bool starred = rowIndex(u"recentThreadList"_s, row).data(SidebarThreadListModel::StarredRole).toBool();
    EXPECT_EQ(menuTexts,
        (QStringList { u"Open Thread"_s, u"Open Directly in Workbench"_s, u"-"_s,
            starred ? u"Unstar Thread"_s : u"Star Thread"_s, u"Rename Thread\u2026"_s, u"-"_s, u"Delete Thread"_s }));

    chooseFromMenu(u"recentThreadList"_s, row, u"threadContextMenu"_s, u"toggleStarThreadAction"_s);
    EXPECT_EQ(rowIndex(u"recentThreadList"_s, row).data(SidebarThreadListModel::StarredRole).toBool(), !starred);

    const QString title = rowIndex(u"recentThreadList"_s, row).data().toString();
    chooseFromMenu(u"recentThreadList"_s, row, u"threadContextMenu"_s, u"renameThreadAction"_s);
    ASSERT_TRUE(state().renamingThread());
    EXPECT_EQ(state().renamingThread()->id, id);
    EXPECT_EQ(state().renameThreadText(), title);
    EXPECT_EQ(rowIndex(u"recentThreadList"_s, row).data().toString(), title); // only the sheet renames
    state().setRenamingThread(std::nullopt);

    // Deleting the open thread opens the first remaining one.
    chooseFromMenu(u"recentThreadList"_s, row, u"threadContextMenu"_s, u"deleteThreadAction"_s);
    EXPECT_FALSE(threadIDs(u"recentThreadList"_s).contains(id));
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(model().threads().constFirst().id));
    EXPECT_TRUE(rowIndex(u"recentThreadList"_s, 0).data(SidebarThreadListModel::SelectedRole).toBool());
}

// --- Project rows -----------------------------------------------------------------------------------

TEST_F(SidebarTest, TheKeyboardReachesAThreadListAndOpensItsCurrentRow)
{
    SidebarListView *recent = list(u"recentThreadList"_s);
    ASSERT_GE(recent->model()->rowCount(), 2);
    model().navigateTo(IDEPrimaryDestination::projects());
    recent->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return recent->hasFocus(); }));
    EXPECT_EQ(recent->currentIndex().row(), 0);
    QTest::keyClick(recent, Qt::Key_Down);
    QTest::keyClick(recent, Qt::Key_Return);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(threadIDs(u"recentThreadList"_s).at(1)));
}

TEST_F(SidebarTest, ProjectRowOpensItsThreadAndItsMenuStartsRevealsAndDeletes)
{
    SidebarProjectListModel *projects = qobject_cast<SidebarProjectListModel *>(list(u"projectFolderList"_s)->model());
    ASSERT_NE(projects, nullptr);
    QAbstractItemModelTester tester(projects, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QUuid projectID = model().createProject(u"Spring Push"_s, std::nullopt, nullptr);
    const int row = projects->rowOf(projectID);
    ASSERT_EQ(row, 0);
    EXPECT_EQ(rowIndex(u"projectFolderList"_s, row).data().toString(), u"Spring Push"_s);
    EXPECT_TRUE(rowIndex(u"projectFolderList"_s, row).data(SidebarProjectListModel::SelectedRole).toBool());
    // The detail line follows the project in place.
    model().mutateProject(projectID, [](CampaignIDEProject &project) { project.status = u"Live"_s; });
    EXPECT_TRUE(
        rowIndex(u"projectFolderList"_s, row).data(SidebarProjectListModel::DetailRole).toString().endsWith(u"Live"_s));
    model().navigateTo(IDEPrimaryDestination::projects());
    ASSERT_EQ(model().selectedProjectID(), std::nullopt);
    EXPECT_FALSE(rowIndex(u"projectFolderList"_s, row).data(SidebarProjectListModel::SelectedRole).toBool());

    clickRow(u"projectFolderList"_s, row);
    const CampaignIDEThread launch = model().threads().constFirst();
    EXPECT_EQ(launch.projectID, projectID);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(launch.id));
    EXPECT_TRUE(rowIndex(u"projectFolderList"_s, row).data(SidebarProjectListModel::SelectedRole).toBool());

    chooseFromMenu(u"projectFolderList"_s, row, u"projectContextMenu"_s, u"newThreadInProjectAction"_s);
    chooseFromMenu(u"projectFolderList"_s, row, u"projectContextMenu"_s, u"newThreadInProjectAction"_s);
    EXPECT_EQ(menuTexts,
        (QStringList { u"Open Campaign Thread"_s, u"New Thread in Spring Push"_s, u"Reveal Folder in File Manager"_s,
            u"-"_s, u"Delete Project"_s }));
    const CampaignIDEThread second = model().threads().at(0);
    const CampaignIDEThread first = model().threads().at(1);
    EXPECT_NE(first.id, second.id);
    EXPECT_EQ(first.title, u"Spring Push \u2014 Strategy Thread"_s);
    EXPECT_EQ(second.title, first.title);
    EXPECT_EQ(second.projectID, projectID);
    EXPECT_EQ(second.workbenchView, IDEWorkbenchView::document);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(second.id));

    model().navigateTo(IDEPrimaryDestination::agents());
    chooseFromMenu(u"projectFolderList"_s, row, u"projectContextMenu"_s, u"revealProjectFolderAction"_s);
    EXPECT_EQ(model().selectedProjectID(), projectID);
    EXPECT_TRUE(model().primaryDestination().isThread());
    ASSERT_EQ(revealed.size(), 1);
    EXPECT_TRUE(revealed.constFirst().endsWith(u"/spring-push"_s)) << revealed.constFirst().toStdString();

    // A megabyte name is cut to a menu row's worth in the entry that names the project.
    const QString longName(1'000'000, u'n');
    model().mutateProject(projectID, [&](CampaignIDEProject &project) { project.name = longName; });
    chooseFromMenu(u"projectFolderList"_s, row, u"projectContextMenu"_s, u"deleteProjectAction"_s);
    EXPECT_TRUE(menuTexts.value(1) == u"New Thread in "_s + orvane::labelText(longName, menuTextLimit));
    EXPECT_EQ(projects->rowOf(projectID), -1);
    for (const QUuid &id : threadIDs(u"recentThreadList"_s))
        EXPECT_NE(id, second.id);
    EXPECT_EQ(navRow(u"projectsNavButton"_s)->badge(), QString::number(model().projects().size()));
}

TEST_F(SidebarTest, AProjectFilterNarrowsTheThreadListsButNotTheProjects)
{
    const QUuid projectID = model().createProject(u"Filtered"_s, std::nullopt, nullptr);
    model().setProjectFilterID(projectID);
    EXPECT_EQ(threadIDs(u"recentThreadList"_s), QList<QUuid> { model().threads().constFirst().id });
    EXPECT_EQ(list(u"projectFolderList"_s)->model()->rowCount(), model().projects().size());
    EXPECT_EQ(navRow(u"projectsNavButton"_s)->badge(), QString::number(model().projects().size()));
}

// --- Footer -----------------------------------------------------------------------------------------

TEST_F(SidebarTest, FooterShowsTheModeAndTheThemeSwitchFlipsTheWholeWindow)
{
    EXPECT_EQ(labelText(u"footerModeLabel"_s), u"Local Operator Mode"_s);
    EXPECT_EQ(labelText(u"footerPathLabel"_s), u"~/Documents/Orvane"_s);
    keepCloseUp(find<QWidget>(u"sidebar"_s), u"sidebar-dark-closeup.png"_s);

    auto *themeSwitch = find<QAbstractButton>(u"themeSwitchButton"_s);
    const auto symbol = [&] { return themeSwitch->findChild<SymbolView *>(); };
    ASSERT_TRUE(model().isDarkTheme());
    EXPECT_EQ(symbol()->symbol(), u"sun.max.fill"_s);
    EXPECT_EQ(symbol()->drawnColor(), OrvaneWebTheme(true).accentAmber());
    EXPECT_EQ(themeSwitch->toolTip(), u"Switch to Daylight Theme"_s);

    click(u"themeSwitchButton"_s);
    EXPECT_FALSE(model().isDarkTheme());
    EXPECT_FALSE(window->themeSource()->theme().isDark());
    EXPECT_EQ(symbol()->symbol(), u"moon.fill"_s);
    EXPECT_EQ(symbol()->drawnColor(), OrvaneWebTheme(false).textSecondary());
    EXPECT_EQ(themeSwitch->toolTip(), u"Switch to Tactical Carbon Dark Theme"_s);
    model().openThread(model().threads().constFirst().id);
    keepCloseUp(find<QWidget>(u"sidebar"_s), u"sidebar-light-closeup.png"_s);

    click(u"themeSwitchButton"_s);
    EXPECT_TRUE(model().isDarkTheme());
    EXPECT_EQ(symbol()->symbol(), u"sun.max.fill"_s);
}

class SignedInSidebarTest : public WorkspaceWindowTest { };

TEST_F(SignedInSidebarTest, FooterFollowsTheSessionsAccount)
{
    makeSession(account());
    makeWindow();
    EXPECT_EQ(labelText(u"footerModeLabel"_s), u"Orvane Cloud + Local"_s);
    session->signOut();
    EXPECT_TRUE(QTest::qWaitFor([&] { return labelText(u"footerModeLabel"_s) == u"Local Operator Mode"_s; }, 5000));
}

} // namespace
} // namespace orvane::windowtest
