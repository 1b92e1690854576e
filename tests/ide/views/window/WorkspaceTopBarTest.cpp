#include "WorkspaceWindowFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/window/WorkspaceTopBar.h"

namespace orvane::windowtest {
namespace {

class TopBarTest : public WorkspaceWindowTest {
protected:
    void SetUp() override { makeWindow(); }
};

QStringList actionTexts(QMenu *menu)
{
    QStringList texts;
    for (QAction *action : menu->actions())
        texts.append(action->isSeparator() ? u"--"_s : action->text());
    return texts;
}

TEST_F(TopBarTest, TitlesNameTheProjectInFocusAndWhatTheAreaShows)
{
    const QList<CampaignIDEProject> projects = model().projects();
    ASSERT_GE(projects.size(), 2);
    ASSERT_TRUE(model().activeThread().has_value());
    // At start the first thread is open with its project selected.
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), model().selectedProject()->name);
    EXPECT_EQ(labelText(u"centreTitleLabel"_s), model().activeThread()->title);

    // The filter wins over the selection; a filter naming no project falls through to it.
    model().setProjectFilterID(projects.at(1).id);
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), projects.at(1).name);
    model().setProjectFilterID(QUuid::createUuid());
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), model().selectedProject()->name);

    // A thread destination whose thread is gone.
    model().navigateTo(IDEPrimaryDestination::thread(QUuid::createUuid()));
    EXPECT_EQ(labelText(u"centreTitleLabel"_s), u"Campaign Thread"_s);

    model().setProjectFilterID(std::nullopt);
    model().navigateTo(IDEPrimaryDestination::projects());
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), u"All Projects"_s);
    EXPECT_EQ(labelText(u"centreTitleLabel"_s), u"Projects & Operations Home"_s);
    model().navigateTo(IDEPrimaryDestination::connections());
    EXPECT_EQ(labelText(u"centreTitleLabel"_s), u"Ad Platform Connections & MCP"_s);
}

TEST_F(TopBarTest, ALongTitleStaysOnOneLineAndIsCut)
{
    const QUuid id = model().activeThread()->id;
    const QString longTitle = QString(u"Very long campaign thread title "_s).repeated(12);
    model().renameThread(id, longTitle);
    QCoreApplication::processEvents();
    auto *title = find<ElidedLabel>(u"centreTitleLabel"_s);
    EXPECT_EQ(title->text(), longTitle.trimmed());
    EXPECT_TRUE(title->drawnText().endsWith(u'…'));
    EXPECT_EQ(title->height(), title->fontMetrics().height());
    EXPECT_EQ(window->width(), 1440);
}

TEST_F(TopBarTest, ProjectMenuListsProjectsAndFocusesTheChosenOne)
{
    const QList<CampaignIDEProject> projects = model().projects();
    auto *menu = window->topBar()->projectMenu();
    click(u"projectMenuButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000));
    QStringList expected { u"All Projects (%1)"_s.arg(projects.size()), u"--"_s };
    for (const CampaignIDEProject &project : projects)
        expected.append(QString(project.name + u" · "_s + project.budget()).replace(u'&', u"&&"_s));
    expected << u"--"_s << u"New Project…"_s;
    EXPECT_EQ(actionTexts(menu), expected);
    menu->hide();

    // A project entry: the filter first, then the project's thread is opened.
    choose(u"projectMenuButton"_s, u"projectMenu"_s, u"projectAction"_s, 1);
    EXPECT_EQ(model().projectFilterID(), projects.at(1).id);
    EXPECT_EQ(model().selectedProjectID(), projects.at(1).id);
    ASSERT_TRUE(model().primaryDestination().isThread());
    EXPECT_EQ(model().activeThread()->projectID, projects.at(1).id);
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), projects.at(1).name);

    // "All Projects" clears the filter and the selection.
    choose(u"projectMenuButton"_s, u"projectMenu"_s, u"allProjectsAction"_s);
    EXPECT_FALSE(model().projectFilterID().has_value());
    EXPECT_FALSE(model().selectedProjectID().has_value());
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::projects());
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), u"All Projects"_s);

    // "New Project…" opens the sheet with the name typed earlier cleared.
    state().setNewProjectName(u"Half typed"_s);
    choose(u"projectMenuButton"_s, u"projectMenu"_s, u"newProjectAction"_s);
    EXPECT_TRUE(state().showingNewProjectSheet());
    EXPECT_TRUE(state().newProjectName().isEmpty());
    ASSERT_NE(window->sheets()->sheet(WorkspaceSheet::newProject), nullptr);
}

TEST_F(TopBarTest, ChoosingAProjectWithoutAThreadCreatesAndOpensIt)
{
    const QUuid projectID = model().createProject(u"Fresh & New"_s, std::nullopt, static_cast<SessionStore *>(nullptr));
    model().removeThreads([&](const CampaignIDEThread &thread) { return thread.projectID == projectID; });
    const qsizetype threads = model().threads().size();
    const auto found = std::find_if(model().projects().cbegin(), model().projects().cend(),
        [&](const CampaignIDEProject &project) { return project.id == projectID; });
    ASSERT_NE(found, model().projects().cend());
    const qsizetype row = found - model().projects().cbegin();
    choose(u"projectMenuButton"_s, u"projectMenu"_s, u"projectAction"_s, int(row));
    EXPECT_EQ(model().threads().size(), threads + 1);
    EXPECT_EQ(model().activeThread()->projectID, projectID);
}

TEST_F(TopBarTest, WorkspaceMenuGoesHomeRevealsAndSyncs)
{
    const QUuid filter = model().projects().at(1).id;
    model().setProjectFilterID(filter);
    choose(u"workspaceMenuButton"_s, u"workspaceMenu"_s, u"workspaceHomeAction"_s);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::projects());
    EXPECT_EQ(model().projectFilterID(), filter); // only the destination changes

    choose(u"workspaceMenuButton"_s, u"workspaceMenu"_s, u"revealWorkspaceAction"_s);
    EXPECT_EQ(revealed, QStringList { model().localWorkspaceRoot() });

    choose(u"workspaceMenuButton"_s, u"workspaceMenu"_s, u"forceSyncAction"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return model().statusNotice() == u"Synced all campaign projects and threads to ~/Documents/Orvane."_s;
    }));

    // The folder badge reveals the same folder.
    click(u"folderBadgeButton"_s);
    EXPECT_EQ(revealed.size(), 2);
    EXPECT_EQ(revealed.last(), model().localWorkspaceRoot());
}

TEST_F(TopBarTest, CtrlKOpensThePaletteAndEscapeClosesIt)
{
    QTest::keyClick(window.get(), Qt::Key_K, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().showingCommandPalette(); }, 2000));
    WorkspaceSheetFrame *palette = shownSheet(WorkspaceSheet::commandPalette);
    ASSERT_NE(palette, nullptr);

    // Escape closes it and writes the flag back.
    QTest::keyClick(palette, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model().showingCommandPalette(); }, 2000));
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));
}

TEST_F(TopBarTest, CtrlTAndTheButtonStartAQuickThreadEachTime)
{
    const qsizetype before = model().threads().size();
    const QUuid project = *model().selectedProjectID();
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().threads().size() == before + 1; }, 2000));
    QTest::keyClick(window.get(), Qt::Key_T, Qt::ControlModifier);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().threads().size() == before + 2; }, 2000));

    const CampaignIDEThread first = model().threads().at(0);
    EXPECT_NE(first.id, model().threads().at(1).id);
    EXPECT_EQ(first.projectID, project);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first.id));
    EXPECT_EQ(labelText(u"centreTitleLabel"_s), first.title);

    // Without a selection the button starts it in the first project.
    model().navigateTo(IDEPrimaryDestination::projects());
    ASSERT_FALSE(model().selectedProjectID().has_value());
    click(u"newThreadButton"_s);
    EXPECT_EQ(model().threads().at(0).projectID, model().projects().at(0).id);
    EXPECT_EQ(model().selectedProjectID(), model().projects().at(0).id);
}

// A double click on a New Thread button starts one thread, as the window receives it from the
// desktop (press, release, second press, release); two clicks start two.
TEST_F(TopBarTest, ADoubleClickOnNewThreadStartsOneThread)
{
    QWindow *handle = window->windowHandle();
    ASSERT_NE(handle, nullptr);
    for (const QString &name : { u"newThreadButton"_s, u"sidebarNewThreadButton"_s, u"recentChatsNewThreadButton"_s }) {
        SCOPED_TRACE(name.toStdString());
        auto *button = find<QAbstractButton>(name);
        ASSERT_NE(button, nullptr);
        const QPoint centre = button->mapTo(window.get(), button->rect().center());
        const qsizetype before = model().threads().size();
        QTest::mouseDClick(handle, Qt::LeftButton, {}, centre);
        QCoreApplication::processEvents();
        EXPECT_EQ(model().threads().size(), before + 1);
        settle();
        click(name);
        click(name);
        EXPECT_EQ(model().threads().size(), before + 3);
        settle();
    }
}

TEST_F(TopBarTest, CloudControlFollowsTheSessionAndAsksForSignIn)
{
    EXPECT_TRUE(find(u"connectCloudButton"_s)->isVisible());
    EXPECT_FALSE(find(u"cloudSyncedMarker"_s)->isVisible());
    click(u"connectCloudButton"_s);
    EXPECT_EQ(signInRequests, 1);

    // A window given no way to sign in does nothing.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isSyncingServer() && model().projectMirrors().idle(); }, 5000));
    window = std::make_unique<CampaignIDEWorkspaceView>(session.get(), nullptr);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    click(u"connectCloudButton"_s);
    EXPECT_EQ(signInRequests, 1);
}

TEST_F(TopBarTest, AgentButtonFlipsTheDrawerAndFollowsItsState)
{
    auto *agent = find<ClickableButton>(u"agentButton"_s);
    EXPECT_EQ(agent->look().fill, ThemeColor::elevatedBackground);
    click(u"agentButton"_s);
    EXPECT_TRUE(model().agentDrawerOpen());
    EXPECT_EQ(agent->look().fill, ThemeColor::accentLimeFill);
    // Opened or closed by other means (the menu's action), the look follows.
    window->focusedActions().toggleWorkspaceAgent();
    EXPECT_FALSE(model().agentDrawerOpen());
    EXPECT_EQ(agent->look().fill, ThemeColor::elevatedBackground);
}

TEST_F(TopBarTest, SidebarSearchAndNewThreadButtons)
{
    state().setCommandQuery(u"left over"_s);
    click(u"threadSearchField"_s);
    EXPECT_TRUE(model().showingCommandPalette());
    EXPECT_TRUE(state().commandQuery().isEmpty());
    model().setShowingCommandPalette(false);

    const qsizetype before = model().threads().size();
    click(u"sidebarNewThreadButton"_s);
    EXPECT_EQ(model().threads().size(), before + 1);

    // The persona button starts the sheet afresh with the operator persona.
    state().setNewThreadTitle(u"Typed"_s);
    state().setNewThreadPrompt(u"Prompt"_s);
    state().setNewThreadPersona(OrvaneWebParitySeeds::personas().at(2));
    click(u"customThreadButton"_s);
    EXPECT_TRUE(state().showingNewThreadSheet());
    EXPECT_TRUE(state().newThreadTitle().isEmpty());
    EXPECT_TRUE(state().newThreadPrompt().isEmpty());
    EXPECT_EQ(state().newThreadPersona().id, u"orvane-operator"_s);
    EXPECT_NE(window->sheets()->sheet(WorkspaceSheet::newThread), nullptr);
}

} // namespace
} // namespace orvane::windowtest
