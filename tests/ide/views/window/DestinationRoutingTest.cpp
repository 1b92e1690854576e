#include "WorkspaceWindowFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/canvas/CreativeCanvasTabView.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/window/DestinationArea.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/window/WorkspaceSidebar.h"

#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace orvane::windowtest {
namespace {

// A stand-in surface of a known kind, with a button that navigates away from it.
class RecordingSurface final : public DestinationView {
public:
    RecordingSurface(DestinationSurface surface, const WorkspaceViewContext &context, QWidget *parent)
        : DestinationView(parent), kind(surface), model(context.model)
    {
        setObjectName(u"recordingSurface"_s);
        auto *leave = new QPushButton(u"Go to campaigns"_s, this);
        leave->setObjectName(u"leaveButton"_s);
        connect(leave, &QPushButton::clicked, this, [this] {
            // Navigating from a view's own click replaces that view: it must survive its handler.
            model->navigateTo(IDEPrimaryDestination::campaigns());
            handlerFinished = true;
        });
    }
    void showDestination(const IDEPrimaryDestination &) override { }

    DestinationSurface kind;
    CampaignIDEWorkspaceModel *model;
    bool handlerFinished = false;
};

void growPastTheBackgroundReadSize(CampaignAgentTab &tab);

class DestinationRoutingTest : public WorkspaceWindowTest {
protected:
    // Stores the sample threads with the last one too long to read on the main thread (its first
    // tab active, showing `view` when given), builds the window and opens that thread before its
    // body's read has answered. `stored` is the thread as stored.
    void openALongThreadBeforeItsBodyIsRead(CampaignIDEThread &stored, std::optional<IDEWorkbenchView> view = {})
    {
        QList<CampaignIDEThread> threads
            = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
        CampaignIDEThread &longThread = threads.last();
        CampaignAgentTab &tab = longThread.agentTabs.first();
        longThread.activeAgentTabID = tab.id;
        if (view)
            longThread.workbenchView = *view;
        growPastTheBackgroundReadSize(tab);
        stored = longThread;
        ASSERT_TRUE(test::writeAll(legacyThreadStoreFile(), encodeJson(threads)));
        makeModel().reset(); // the move into the thread store

        makeWindow();
        ASSERT_FALSE(model().hasThreadBody(stored.id));
        model().openThread(stored.id);
        // The workbench shows the thread on the destination's next turn; the body's read answers
        // another object, later.
        QCoreApplication::sendPostedEvents(window->findChild<DestinationArea *>(), QEvent::MetaCall);
    }

    void makeRoutedWindow()
    {
        CampaignIDEWorkspaceView::Services services;
        services.views = WorkspaceViewRegistry(); // only the stand-ins below; the rest show their title
        for (DestinationSurface surface : { DestinationSurface::threadWorkbench, DestinationSurface::agents }) {
            services.views.setSurface(surface, [this, surface](const WorkspaceViewContext &context, QWidget *parent) {
                ++built;
                return new RecordingSurface(surface, context, parent);
            });
        }
        makeWindow(std::move(services));
    }

    [[nodiscard]] DestinationArea &area() const { return *window->destinationArea(); }
    [[nodiscard]] RecordingSurface *recording() const { return dynamic_cast<RecordingSurface *>(area().currentView()); }
    void settle() { QCoreApplication::processEvents(); }

    int built = 0;
};

// The view of a thread stays for the next thread (the thread workbench's own cases show it); another
// surface replaces it.
TEST_F(DestinationRoutingTest, AnotherSurfaceReplacesTheView)
{
    makeRoutedWindow();
    model().openThread(model().threads().at(0).id);
    settle();
    QPointer<RecordingSurface> workbench = recording();
    ASSERT_NE(workbench, nullptr);
    EXPECT_EQ(workbench->kind, DestinationSurface::threadWorkbench);
    EXPECT_EQ(area().surface(), DestinationSurface::threadWorkbench);

    model().navigateTo(IDEPrimaryDestination::agents());
    settle();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(workbench.isNull());
    ASSERT_NE(recording(), nullptr);
    EXPECT_EQ(recording()->kind, DestinationSurface::agents);
    EXPECT_EQ(built, 2);
}

TEST_F(DestinationRoutingTest, SurfacesNotBuiltYetShowTheirTitle)
{
    makeRoutedWindow();
    const std::pair<IDEPrimaryDestination, QString> titles[] = {
        { IDEPrimaryDestination::projects(), u"Projects & Operations Home"_s },
        { IDEPrimaryDestination::campaigns(), u"Campaigns & Multi-Channel Pacing"_s },
        { IDEPrimaryDestination::assets(), u"Creative Asset Library"_s },
        { IDEPrimaryDestination::connections(), u"Ad Platform Connections & MCP"_s },
        { IDEPrimaryDestination::reports(), u"Attribution Reports & Lift"_s },
        { IDEPrimaryDestination::settings(), u"Workspace & Local Mode Settings"_s },
    };
    for (const auto &[destination, title] : titles) {
        model().navigateTo(destination);
        settle();
        auto *placeholder = dynamic_cast<DestinationPlaceholder *>(area().currentView());
        ASSERT_NE(placeholder, nullptr) << title.toStdString();
        EXPECT_EQ(placeholder->title(), title);
        EXPECT_EQ(find<QLabel>(u"destinationTitleLabel"_s)->textFormat(), Qt::PlainText);
    }
}

TEST_F(DestinationRoutingTest, AThreadThatIsGoneShowsTheOperationsHome)
{
    makeRoutedWindow();
    const QUuid open = model().activeThread()->id;
    model().openThread(open);
    settle();
    // The thread goes while it is on screen: the destination stays, the home is shown.
    model().removeThreads([&](const CampaignIDEThread &thread) { return thread.id == open; });
    settle();
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(open));
    EXPECT_EQ(area().surface(), DestinationSurface::operationsHome);
    auto *placeholder = dynamic_cast<DestinationPlaceholder *>(area().currentView());
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->title(), u"Projects & Operations Home"_s);

    // There the home's actions keep what was typed; on the projects destination they clear it.
    state().setNewProjectName(u"Kept"_s);
    state().setNewThreadTitle(u"Kept title"_s);
    state().setNewThreadPersona(OrvaneWebParitySeeds::personas().at(3));
    window->controller()->homeNewProject();
    window->controller()->homeNewThread();
    EXPECT_EQ(state().newProjectName(), u"Kept"_s);
    EXPECT_EQ(state().newThreadTitle(), u"Kept title"_s);
    EXPECT_TRUE(state().showingNewProjectSheet());
    EXPECT_TRUE(state().showingNewThreadSheet());
    state().setShowingNewProjectSheet(false);
    state().setShowingNewThreadSheet(false);

    model().navigateTo(IDEPrimaryDestination::projects());
    window->controller()->homeNewProject();
    window->controller()->homeNewThread();
    EXPECT_TRUE(state().newProjectName().isEmpty());
    EXPECT_TRUE(state().newThreadTitle().isEmpty());
    EXPECT_EQ(state().newThreadPersona(), OrvaneWebParitySeeds::personas().at(3));
}

TEST_F(DestinationRoutingTest, AViewNavigatingAwayFromItsOwnClickOutlivesItsHandler)
{
    makeRoutedWindow();
    model().openThread(model().activeThread()->id);
    settle();
    QPointer<RecordingSurface> workbench = recording();
    ASSERT_NE(workbench, nullptr);
    QTest::mouseClick(workbench->findChild<QPushButton *>(u"leaveButton"_s), Qt::LeftButton);
    ASSERT_FALSE(workbench.isNull());
    EXPECT_TRUE(workbench->handlerFinished);
    EXPECT_TRUE(QTest::qWaitFor([&] { return workbench.isNull(); }, 2000));
    EXPECT_EQ(area().surface(), DestinationSurface::campaigns);
}

TEST_F(DestinationRoutingTest, RegisteredSheetContentAndRegionsAreUsed)
{
    CampaignIDEWorkspaceView::Services services;
    services.views.setSheet(WorkspaceSheet::renameThread, [](const WorkspaceViewContext &context, QWidget *parent) {
        auto *label = new QLabel(context.state->renamingThread()->title, parent);
        label->setObjectName(u"renameContent"_s);
        return label;
    });
    services.views.setRegion(WorkspaceRegion::sidebarNavigation, [](const WorkspaceViewContext &, QWidget *parent) {
        auto *list = new QLabel(u"rows"_s, parent);
        list->setObjectName(u"navigationContent"_s);
        return list;
    });
    makeWindow(std::move(services));
    EXPECT_EQ(find<QScrollArea>(u"sidebarScrollArea"_s)->widget(), find(u"navigationContent"_s));

    const CampaignIDEThread thread = *model().activeThread();
    state().setRenamingThread(thread);
    WorkspaceSheetFrame *sheet = shownSheet(WorkspaceSheet::renameThread);
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->content()->objectName(), u"renameContent"_s);
    EXPECT_EQ(qobject_cast<QLabel *>(sheet->content())->text(), thread.title);

    // Clearing the item closes the sheet.
    state().setRenamingThread(std::nullopt);
    EXPECT_TRUE(sheetGone(WorkspaceSheet::renameThread));
}

// Repeats the tab's first entry until its thread is read off the main thread.
void growPastTheBackgroundReadSize(CampaignAgentTab &tab)
{
    const CampaignTimelineEntry sample = tab.entries.first();
    while (tab.entries.size() * encodeJson(sample).size() < ThreadStore::backgroundReadSize) {
        CampaignTimelineEntry entry = sample;
        entry.id = QUuid::createUuid();
        tab.entries.append(entry);
    }
}

// A thread too long to read on the main thread opens at once and shows its timeline when read.
TEST_F(DestinationRoutingTest, ALongThreadShowsItsTimelineOnceItsBodyIsRead)
{
    QList<CampaignIDEThread> threads
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    CampaignAgentTab &tab = threads.first().agentTabs.first();
    growPastTheBackgroundReadSize(tab);
    ASSERT_TRUE(test::writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    makeModel().reset(); // the move into the thread store

    makeWindow();
    // The primary pane's timeline; the split pane has one too.
    const auto shown = [&] {
        const auto lists = window->findChildren<QListView *>(u"timelineListView"_s);
        return std::any_of(lists.cbegin(), lists.cend(),
            [&](QListView *list) { return list->isVisible() && list->model()->rowCount() == tab.entries.size(); });
    };
    EXPECT_TRUE(QTest::qWaitFor(shown));
    EXPECT_EQ(model().activeThread(), threads.first());
    keepPicture(u"long-thread.png"_s);
}

// The composer of a long thread opened before its body is read takes nothing until the body is in;
// then what the user types and sends lands in the thread's active tab.
TEST_F(DestinationRoutingTest, TheComposerOfALongThreadSendsOnceItsBodyIsRead)
{
    CampaignIDEThread longThread;
    ASSERT_NO_FATAL_FAILURE(openALongThreadBeforeItsBodyIsRead(longThread));
    const CampaignAgentTab &tab = longThread.agentTabs.first();
    const auto visible = [&](const QString &name) -> QWidget * {
        for (QWidget *widget : window->findChildren<QWidget *>(name)) {
            if (widget->isVisible())
                return widget;
        }
        return nullptr;
    };
    QWidget *field = visible(u"draftField"_s);
    ASSERT_NE(field, nullptr);
    ASSERT_FALSE(model().hasThreadBody(longThread.id)); // its read answers on a later turn of the loop
    EXPECT_FALSE(field->isEnabled());
    EXPECT_FALSE(visible(u"sendButton"_s)->isEnabled());
    keepPicture(u"long-thread-reading.png"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().hasThreadBody(longThread.id); }, 5000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->isEnabled(); }));

    field->setFocus();
    QTest::keyClicks(field, u"Run a teardown of acme.io."_s);
    QTest::keyClick(field, Qt::Key_Return);
    const auto sentTab = [&] { return *model().thread(longThread.id)->activeTab(); };
    ASSERT_TRUE(QTest::qWaitFor([&] { return sentTab().entries.size() == tab.entries.size() + 2; }, 5000));
    EXPECT_EQ(sentTab().id, tab.id);
    EXPECT_EQ(sentTab().entries.at(tab.entries.size()).text, u"Run a teardown of acme.io."_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model().agentTurns().idle(); }, 5000));
}

// The canvas's generate button, pressed on a long thread before its body's read has answered, asks
// the thread's own active tab once the body is in: the copy on show holds no tabs to ask.
TEST_F(DestinationRoutingTest, TheCanvasOfALongThreadGeneratesOnceItsBodyIsIn)
{
    CampaignIDEThread longThread;
    ASSERT_NO_FATAL_FAILURE(openALongThreadBeforeItsBodyIsRead(longThread, IDEWorkbenchView::canvas));
    const CampaignAgentTab &tab = longThread.agentTabs.first();
    QAbstractButton *generate = nullptr;
    for (auto *button : window->findChildren<QAbstractButton *>(u"generateArtboardsButton"_s)) {
        if (button->isVisible())
            generate = button;
    }
    ASSERT_NE(generate, nullptr);
    ASSERT_FALSE(model().hasThreadBody(longThread.id));
    ASSERT_TRUE(model().activeThread()->agentTabs.isEmpty()); // the copy on show
    clickOn(generate);

    const auto sentTab = [&] { return *model().thread(longThread.id)->activeTab(); };
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return model().hasThreadBody(longThread.id) && sentTab().entries.size() == tab.entries.size() + 2; },
        5000));
    EXPECT_EQ(sentTab().id, tab.id);
    EXPECT_EQ(sentTab().entries.at(tab.entries.size()).text, CreativeCanvasTabView::generatePrompt);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model().agentTurns().idle(); }, 5000));
}

} // namespace
} // namespace orvane::windowtest
