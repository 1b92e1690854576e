#include "../window/WorkspaceWindowFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/FocusRing.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/AgentTabChip.h"
#include "ide/views/thread/AgentThreadPane.h"
#include "ide/views/thread/CampaignThreadWorkbenchView.h"
#include "ide/views/thread/ThreadPaneParts.h"
#include "ide/views/thread/WorkbenchHeaderBar.h"
#include "ide/views/timeline/AgentComposerBar.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/window/DestinationArea.h"

#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QWheelEvent>

namespace orvane::windowtest {
namespace {

// The table tab's view in these tests; the fixture counts how often one is built.
class RecordingTabView final : public QWidget {
public:
    using QWidget::QWidget;
};

class ThreadWorkbenchTest : public WorkspaceWindowTest {
protected:
    // The real window with the real thread workbench on the first thread; the table tab has a
    // recording view, the other tabs their titles.
    void SetUp() override
    {
        CampaignIDEWorkspaceView::Services services;
        services.views.setSurface(
            DestinationSurface::threadWorkbench, [this](const WorkspaceViewContext &context, QWidget *parent) {
                WorkbenchTabRegistry tabs;
                tabs.setTab(IDEWorkbenchView::table, [this](const WorkspaceViewContext &, QWidget *tabParent) {
                    ++tableViewsBuilt;
                    return new RecordingTabView(tabParent);
                });
                return new CampaignThreadWorkbenchView(context, std::move(tabs), parent);
            });
        makeWindow(std::move(services));
        const QUuid first = model().threads().first().id;
        model().openThread(first);
        ASSERT_TRUE(QTest::qWaitFor([&] { return workbench() && workbench()->threadID() == first; }, 2000));
    }

    [[nodiscard]] CampaignThreadWorkbenchView *workbench() const
    {
        return qobject_cast<CampaignThreadWorkbenchView *>(window->destinationArea()->currentView());
    }
    [[nodiscard]] const CampaignIDEThread &shown() const { return *model().thread(workbench()->threadID()); }
    [[nodiscard]] AgentThreadPane *primary() const { return workbench()->primaryPane(); }
    [[nodiscard]] AgentThreadPane *secondary() const { return workbench()->secondaryPane(); }
    void settle() { QCoreApplication::processEvents(); }
    // The texts of the chips of a pane, with a star on the highlighted one.
    [[nodiscard]] QStringList chipTitles(AgentThreadPane *pane) const
    {
        QStringList titles;
        for (AgentTabChip *chip : pane->chips()) {
            QString title;
            for (QLabel *label : chip->findChildren<QLabel *>())
                title += label->text() + u' ';
            titles.append(title.trimmed() + (chip->isSelected() ? u"*"_s : QString()));
        }
        return titles;
    }
    [[nodiscard]] QColor labelColor(QWidget *parent, const QString &text) const
    {
        for (QLabel *label : parent->findChildren<QLabel *>()) {
            if (label->text() == text)
                return label->palette().color(QPalette::WindowText);
        }
        ADD_FAILURE() << text.toStdString();
        return {};
    }
    [[nodiscard]] OrvaneWebTheme theme() const { return OrvaneWebTheme(model().isDarkTheme()); }

    int tableViewsBuilt = 0;
};

TEST_F(ThreadWorkbenchTest, LaysOutTheAgentPaneBesideTheWorkbenchColumn)
{
    EXPECT_TRUE(primary()->isVisible());
    EXPECT_EQ(secondary(), nullptr) << "the split pane is built when a split is first shown";
    EXPECT_GE(primary()->width(), CampaignThreadWorkbenchView::primaryMinimumWidth);
    EXPECT_LE(primary()->width(), CampaignThreadWorkbenchView::primaryMaximumWidth);
    auto *column = find<QWidget>(u"workbenchColumn"_s);
    EXPECT_GE(column->width(), CampaignThreadWorkbenchView::workbenchMinimumWidth);
    EXPECT_GT(column->width(), primary()->width()); // the column takes the remaining width

    // All six tabs, in order, exactly one of them selected.
    QStringList titles;
    int selected = 0;
    for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
        auto *button = find<ClickableButton>(WorkbenchHeaderBar::tabButtonName(view));
        titles.append(button->accessibleName());
        selected += button->property("selected").toBool() ? 1 : 0;
    }
    EXPECT_EQ(titles,
        (QStringList { u"Document"_s, u"Table"_s, u"Canvas"_s, u"Dashboard"_s, u"Explore"_s, u"Local Files"_s }));
    EXPECT_EQ(selected, 1);
    EXPECT_TRUE(workbench()->headerBar()->tabButton(shown().workbenchView)->property("selected").toBool());
    keepCloseUp(workbench()->headerBar(), u"thread-header.png"_s);
    keepCloseUp(primary(), u"thread-pane.png"_s);
}

TEST_F(ThreadWorkbenchTest, TabsSwitchTheThreadsSurfaceThroughTheModel)
{
    const QUuid id = shown().id;
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    EXPECT_EQ(shown().workbenchView, IDEWorkbenchView::table);
    ASSERT_TRUE(QTest::qWaitFor([&] { return dynamic_cast<RecordingTabView *>(workbench()->currentSurface()); }, 2000));
    EXPECT_TRUE(workbench()->headerBar()->tabButton(IDEWorkbenchView::table)->property("selected").toBool());
    EXPECT_EQ(labelColor(workbench()->headerBar(), u"Table"_s), QColor(Qt::black));

    // A tab without a view of its own shows its title.
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::localFiles));
    auto *placeholder = qobject_cast<WorkbenchTabPlaceholder *>(workbench()->currentSurface());
    ASSERT_NE(placeholder, nullptr);
    EXPECT_EQ(placeholder->title(), u"Local Files"_s);
    EXPECT_TRUE(placeholder->isVisible());

    // Clicking the selected tab again keeps it selected and builds nothing new.
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    EXPECT_EQ(shown().workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(tableViewsBuilt, 1);
    EXPECT_EQ(shown().id, id);
    keepCloseUp(workbench()->headerBar(), u"thread-header-table.png"_s);
}

// Moving to another thread hands the same workbench, panes, composer and tab views the new thread.
TEST_F(ThreadWorkbenchTest, AnotherThreadKeepsTheWidgetsAndTheDraftBeingTyped)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    CampaignThreadWorkbenchView *before = workbench();
    AgentComposerBar *composer = primary()->composer();
    QWidget *surface = workbench()->currentSurface();
    const QUuid first = shown().id;

    auto *draft = child<QLineEdit>(composer, u"draftField"_s);
    ASSERT_NE(draft, nullptr);
    draft->setFocus();
    QTest::keyClicks(draft, u"Plan the Q3 push"_s);
    // Changes of the thread while typing update the pane in place.
    model().toggleThreadDryRun(first);
    settle();
    EXPECT_EQ(primary()->composer(), composer);
    EXPECT_EQ(child<QLineEdit>(composer, u"draftField"_s), draft);
    EXPECT_TRUE(draft->text().endsWith(u"Plan the Q3 push"_s));

    QUuid second;
    for (const CampaignIDEThread &thread : model().threads()) {
        if (thread.id != first)
            second = thread.id;
    }
    ASSERT_FALSE(second.isNull());
    model().openThread(second, IDEWorkbenchView::table);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workbench()->threadID() == second; }, 2000));
    EXPECT_EQ(workbench(), before);
    EXPECT_EQ(primary()->composer(), composer);
    EXPECT_EQ(composer->threadID(), second);
    EXPECT_EQ(workbench()->currentSurface(), surface);
    EXPECT_EQ(tableViewsBuilt, 1);
}

TEST_F(ThreadWorkbenchTest, HeaderSavesLocallyAndAsksForTheLaunch)
{
    model().setSelectedProjectID(shown().projectID);
    click(u"saveLocalButton"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            model().flushPendingWrites();
            return model().statusNotice().has_value();
        },
        5000));
    EXPECT_EQ(*model().statusNotice(),
        u"Saved campaign-plan.md, media-plan.csv, and creatives.json to ~/Documents/Orvane."_s);

    click(u"approveLaunchButton"_s);
    EXPECT_TRUE(model().launchConfirmationProjectID().has_value());
}

TEST_F(ThreadWorkbenchTest, ChipsAddCloseAndSelectAgentTabs)
{
    const QUuid id = shown().id;
    while (shown().agentTabs.size() > 1)
        model().closeAgentTab(shown().agentTabs.last().id, id);
    settle();
    ASSERT_EQ(primary()->chips().size(), 1);
    EXPECT_FALSE(primary()->chips().first()->closeButton()->isVisibleTo(primary()));
    EXPECT_EQ(textOf(primary(), u"messageCountLabel"_s),
        QString::number(shown().agentTabs.first().entries.size()) + u" msgs"_s);

    // The add-specialist menu lists the catalog and adds a tab that becomes the active one.
    QMenu *menu = primary()->addSpecialistMenu();
    ASSERT_EQ(menu->actions().size(), 6);
    EXPECT_EQ(menu->actions().at(1)->text(), u"Paid Media Strategist (@strategist)"_s);
    menu->actions().at(1)->trigger();
    settle();
    ASSERT_EQ(shown().agentTabs.size(), 2);
    EXPECT_EQ(chipTitles(primary()).size(), 2);
    EXPECT_TRUE(primary()->chips().at(1)->isSelected());
    EXPECT_EQ(primary()->tabID(), shown().agentTabs.at(1).id);
    for (AgentTabChip *chip : primary()->chips())
        EXPECT_TRUE(chip->closeButton()->isVisibleTo(primary()));

    // Selecting a chip changes the active tab; the timeline follows it in place.
    AgentTimelineView *timeline = primary()->timeline();
    QTest::mouseClick(primary()->chips().at(0)->selectButton(), Qt::LeftButton);
    EXPECT_EQ(shown().activeAgentTabID, shown().agentTabs.at(0).id);
    EXPECT_EQ(primary()->timeline(), timeline);
    EXPECT_EQ(timeline->tabID(), shown().agentTabs.at(0).id);

    // Closing a chip from its own button: the chip goes away after its handler.
    const QUuid closing = shown().agentTabs.at(1).id;
    QTest::mouseClick(primary()->chips().at(1)->closeButton(), Qt::LeftButton);
    settle();
    ASSERT_EQ(shown().agentTabs.size(), 1);
    EXPECT_NE(shown().agentTabs.first().id, closing);
    EXPECT_EQ(primary()->chips().size(), 1);
}

TEST_F(ThreadWorkbenchTest, SplitShowsASecondPaneWhoseChipsMoveOnlyTheSplit)
{
    clickOn(primary(), u"splitToggleButton"_s);
    ASSERT_TRUE(shown().splitAgentTabID.has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return secondary() && secondary()->isVisible(); }, 2000));
    EXPECT_EQ(secondary()->tabID(), *shown().splitAgentTabID);
    EXPECT_LE(secondary()->width(), CampaignThreadWorkbenchView::secondaryMaximumWidth);

    // A chip of the secondary pane moves the split only, and the choice is stored.
    const QUuid active = shown().activeAgentTabID;
    AgentTabChip *activeChip = nullptr;
    for (AgentTabChip *chip : secondary()->chips()) {
        if (chip->tabID() == active)
            activeChip = chip;
    }
    ASSERT_NE(activeChip, nullptr);
    QTest::mouseClick(activeChip->selectButton(), Qt::LeftButton);
    EXPECT_EQ(shown().splitAgentTabID, active);
    EXPECT_EQ(shown().activeAgentTabID, active);
    EXPECT_EQ(secondary()->tabID(), active);
    EXPECT_EQ(primary()->tabID(), active); // both panes show the same tab
    EXPECT_TRUE(activeChip->isSelected());

    // The thread-wide controls act on the one thread from either pane.
    clickOn(secondary(), u"dryRunBadgeButton"_s);
    EXPECT_EQ(textOf(primary(), u"messageCountLabel"_s), textOf(secondary(), u"messageCountLabel"_s));
    const QString badge = shown().dryRunEnabled ? AgentThreadPane::dryRunText() : AgentThreadPane::liveText();
    EXPECT_EQ(labelColor(primary(), badge), labelColor(secondary(), badge));

    // Toggling again closes the split.
    clickOn(primary(), u"splitToggleButton"_s);
    EXPECT_FALSE(shown().splitAgentTabID.has_value());
    EXPECT_FALSE(secondary()->isVisible());
}

// A mouse wheel turned over a strip that only scrolls sideways moves it sideways: the agent chips
// and the quick prompts of a pane too narrow to show them all.
TEST_F(ThreadWorkbenchTest, AVerticalWheelScrollsTheChipStripAndTheQuickPromptsSideways)
{
    clickOn(primary(), u"splitToggleButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return secondary() && secondary()->isVisible(); }, 2000));
    // Sent to the strip's viewport, where a wheel turned over one of its controls arrives unused (a
    // synthesized wheel event does not travel up to its parents).
    const auto turnWheel = [](QWidget *over, int notches) {
        const QPointF at(over->width() / 2.0, over->height() / 2.0);
        QWheelEvent wheel(at, over->mapToGlobal(at), QPoint(), QPoint(0, notches * QWheelEvent::DefaultDeltasPerStep),
            Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(over, &wheel);
    };

    auto *strip = primary()->findChild<QScrollArea *>(u"agentTabScrollArea"_s);
    QScrollBar *chipBar = strip->horizontalScrollBar();
    ASSERT_GT(chipBar->maximum(), 0) << "the chips overflow the pane at its default width";
    QCoreApplication::processEvents();
    chipBar->setValue(0);
    turnWheel(strip->viewport(), -1); // away from the user: on to the right
    EXPECT_GT(chipBar->value(), 0);
    turnWheel(strip->viewport(), 1);
    EXPECT_EQ(chipBar->value(), 0);

    auto *prompts = primary()->findChild<QScrollArea *>(u"quickPromptScrollArea"_s);
    QScrollBar *promptBar = prompts->horizontalScrollBar();
    ASSERT_GT(promptBar->maximum(), 0);
    EXPECT_EQ(promptBar->value(), 0);
    turnWheel(prompts->viewport(), -1);
    EXPECT_GT(promptBar->value(), 0);
    EXPECT_EQ(prompts->verticalScrollBar()->value(), 0);
    // Nothing was sent: the wheel only scrolls.
    EXPECT_EQ(shown().agentTabs.constLast().entries.size(), 1);
}

// The chip strip stays where the user scrolled it while the thread changes around it (a keystroke
// in the composer, a toggle of the toolbar); a change of the selected chip brings that chip into
// view.
TEST_F(ThreadWorkbenchTest, TheChipStripKeepsItsSidewaysScrollUntilTheSelectionChanges)
{
    const QUuid id = shown().id;
    for (int added = 0; added < 7; ++added)
        model().addAgentTab(OrvaneWebParitySeeds::personas().at(added % 5 + 1), id);
    model().selectAgentTab(shown().agentTabs.first().id, id);
    auto *strip = primary()->findChild<QScrollArea *>(u"agentTabScrollArea"_s);
    QScrollBar *bar = strip->horizontalScrollBar();
    // Laid out: every chip shown and the content as wide as they ask.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            const QList<AgentTabChip *> chips = primary()->chips();
            return chips.size() == shown().agentTabs.size()
                && std::ranges::all_of(chips, [](auto *chip) { return chip->isVisible(); })
                && strip->widget()->width() >= strip->widget()->sizeHint().width() && bar->value() == 0;
        },
        2000));
    ASSERT_GT(bar->maximum(), 0) << "the chips overflow the pane";
    const auto inView = [&](int chip) {
        AgentTabChip *widget = primary()->chips().at(chip);
        const QRect rect(widget->mapTo(strip->viewport(), QPoint()), widget->size());
        return strip->viewport()->rect().contains(rect);
    };

    // The user scrolls to the end: the selected chip goes out of view and stays out.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    bar->setValue(bar->maximum());
    const int scrolled = bar->value();
    ASSERT_FALSE(inView(0));
    ASSERT_FALSE(inView(1)) << "the second chip lies out of view too";
    auto *draft = primary()->composer()->findChild<QLineEdit *>(u"draftField"_s);
    ASSERT_NE(draft, nullptr);
    QTest::keyClicks(draft, u"abc"_s);
    clickOn(primary(), u"dryRunBadgeButton"_s);
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
    EXPECT_EQ(shown().agentTabs.first().draftPrompt, u"abc"_s);
    EXPECT_EQ(bar->value(), scrolled) << "a change of the thread left the user's scroll alone";

    // Another chip selected: the strip brings it into view.
    model().selectAgentTab(shown().agentTabs.at(1).id, id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return inView(1); }, 2000));
    EXPECT_LT(bar->value(), scrolled);
}

// Tab walks the chips and scrolls the strip along; once the focus leaves the strip, either way, the
// strip shows the selected chip again.
TEST_F(ThreadWorkbenchTest, TabThroughTheChipStripLeavesItOnTheSelectedChip)
{
    const QUuid id = shown().id;
    for (int added = 0; added < 7; ++added)
        model().addAgentTab(OrvaneWebParitySeeds::personas().at(added % 5 + 1), id);
    auto *strip = primary()->findChild<QScrollArea *>(u"agentTabScrollArea"_s);
    QScrollBar *bar = strip->horizontalScrollBar();
    const auto inView = [&](qsizetype chip) {
        AgentTabChip *widget = primary()->chips().at(chip);
        const QRect rect(widget->mapTo(strip->viewport(), QPoint()), widget->size());
        return strip->viewport()->rect().contains(rect);
    };
    const auto inStrip = [&] { return strip->isAncestorOf(QApplication::focusWidget()); };

    for (const bool onward : { true, false }) {
        const std::string way = onward ? "Tab" : "Shift+Tab";
        // The selected chip lies at the end the walk starts from: the walk takes it out of view.
        const qsizetype selected = onward ? 0 : shown().agentTabs.size() - 1;
        model().selectAgentTab(shown().agentTabs.at(selected).id, id);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return primary()->chips().size() == shown().agentTabs.size() && bar->maximum() > 0 && inView(selected);
            },
            2000))
            << way;
        if (onward) {
            primary()->chips().constFirst()->selectButton()->setFocus(Qt::TabFocusReason);
        } else {
            primary()->findChild<QWidget *>(u"addSpecialistMenuButton"_s)->setFocus(Qt::BacktabFocusReason);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        }
        ASSERT_TRUE(inStrip()) << way;
        bool passedOutOfView = false;
        for (int press = 0; press < 40 && inStrip(); ++press) {
            QTest::keyClick(QApplication::focusWidget(), onward ? Qt::Key_Tab : Qt::Key_Backtab,
                onward ? Qt::NoModifier : Qt::ShiftModifier);
            // As between two key presses, the window handles what they left to do.
            for (int i = 0; i < 3; ++i)
                QCoreApplication::processEvents();
            passedOutOfView = passedOutOfView || (inStrip() && !inView(selected));
        }
        ASSERT_FALSE(inStrip()) << way << " left the strip";
        EXPECT_TRUE(passedOutOfView) << way << " scrolled the strip to the chips it passed";
        EXPECT_TRUE(QTest::qWaitFor([&] { return inView(selected); }, 2000)) << way;
    }
}

TEST_F(ThreadWorkbenchTest, ToolbarShowsDryRunApprovalModeAndCountInTheTheme)
{
    const bool wasDry = shown().dryRunEnabled;
    clickOn(primary(), u"dryRunBadgeButton"_s);
    EXPECT_EQ(shown().dryRunEnabled, !wasDry);
    const QString badge = shown().dryRunEnabled ? u"DRY-RUN SIMULATION"_s : u"LIVE WORKSPACE"_s;
    EXPECT_EQ(labelColor(primary(), badge), shown().dryRunEnabled ? theme().accentAmber() : theme().accentEmerald());
    clickOn(primary(), u"dryRunBadgeButton"_s);
    EXPECT_EQ(shown().dryRunEnabled, wasDry);

    QMenu *menu = primary()->approvalModeMenu();
    ASSERT_EQ(menu->actions().size(), 3);
    menu->actions().at(1)->trigger();
    EXPECT_EQ(shown().approvalMode, ThreadApprovalMode::safeReads);
    EXPECT_EQ(labelColor(primary(), u"Auto-Run Reads"_s), theme().textSecondary());
    QStringList symbols;
    for (QAction *item : menu->actions())
        symbols.append(item->property("symbol").toString());
    EXPECT_EQ(symbols, (QStringList { u"shield"_s, u"checkmark"_s, u"shield"_s }));

    // The count follows the pane's own tab as entries arrive.
    const CampaignAgentTab tab = *shown().activeTab();
    model().sendMessageInThread(shown().id, tab.id, u"Build 30d attribution dashboard"_s, nullptr);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return textOf(primary(), u"messageCountLabel"_s) == QString::number(tab.entries.size() + 2) + u" msgs"_s;
        },
        2000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 5000));

    // The theme recolours the toolbar in place.
    model().setDarkTheme(!model().isDarkTheme());
    settle();
    EXPECT_EQ(labelColor(primary(), textOf(primary(), u"messageCountLabel"_s)), theme().textMuted());
}

TEST_F(ThreadWorkbenchTest, AThreadWithoutTabsShowsTheStandInTabAndStoresNothing)
{
    const QUuid id = shown().id;
    model().mutateThread(id, [](CampaignIDEThread &thread) {
        thread.agentTabs.clear();
        thread.splitAgentTabID.reset();
    });
    settle();
    EXPECT_TRUE(primary()->chips().isEmpty());
    EXPECT_EQ(textOf(primary(), u"messageCountLabel"_s), u"0 msgs"_s);
    EXPECT_FALSE(primary()->tabID().isNull());
    const QUuid standIn = primary()->tabID();
    model().toggleThreadDryRun(id);
    settle();
    EXPECT_EQ(primary()->tabID(), standIn); // the composer keeps its tab while the thread changes
    EXPECT_TRUE(shown().agentTabs.isEmpty());

    // An active tab id that names no tab: the first tab is shown, no chip is highlighted.
    model().addAgentTab(std::nullopt, id);
    model().mutateThread(id, [](CampaignIDEThread &thread) { thread.activeAgentTabID = QUuid::createUuid(); });
    settle();
    EXPECT_EQ(primary()->tabID(), shown().agentTabs.first().id);
    ASSERT_EQ(primary()->chips().size(), 1);
    EXPECT_FALSE(primary()->chips().first()->isSelected());
}

// The keyboard's ring stands out around every lime button, in both themes: a ring that the eye
// finds (a contrast of 3:1 at least against the ground it lies on, between it and the lime), not a
// dotted hairline, and the lime of the button untouched.
TEST_F(ThreadWorkbenchTest, TheKeyboardsRingStandsOutOnLimeButtons)
{
    const QStringList lime { WorkbenchHeaderBar::tabButtonName(shown().workbenchView), u"newThreadButton"_s,
        u"sidebarNewThreadButton"_s, u"sendButton"_s, u"approveLaunchButton"_s };
    constexpr int reach = FocusRingController::ringReach;
    for (const bool dark : { true, false }) {
        model().setDarkTheme(dark);
        settle();
        for (const QString &name : lime) {
            auto *button = find<ClickableButton>(name);
            ASSERT_NE(button, nullptr) << name.toStdString();
            ASSERT_EQ(button->look().fill, ThemeColor::accentLimeFill) << name.toStdString();
            // Where Tab would bring the focus.
            window->setAttribute(Qt::WA_KeyboardFocusChange);
            button->setFocus(Qt::TabFocusReason);
            ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, 2000)) << name.toStdString();
            const QRect edge(button->mapTo(window.get(), QPoint()), button->size());
            const QImage picture = window->grab(edge.adjusted(-reach, -reach, reach, reach)).toImage();
            // In the picture's pixels: the button starts at (reach, reach).
            const auto at = [&](int x, int y) { return picture.pixelColor(QPoint(x, y) * picture.devicePixelRatio()); };
            const QColor fill = OrvaneWebTheme::accentLimeFill();
            const int midX = reach + edge.width() / 2;
            const int midY = reach + edge.height() / 2;
            const int right = reach + edge.width() - 1;
            const int bottom = reach + edge.height() - 1;
            EXPECT_EQ(at(midX, reach), fill) << name.toStdString();
            EXPECT_EQ(at(reach, midY), fill) << name.toStdString();
            // Both pixels of the ring's width (the outermost two) on each side, against the pixel
            // between ring and button.
            static_assert(FocusRingController::ringWidth == 2);
            struct Side {
                QPoint ring[2];
                QPoint between;
            };
            const Side sides[] = {
                { { QPoint(midX, 0), QPoint(midX, 1) }, QPoint(midX, reach - 1) },
                { { QPoint(midX, bottom + reach - 1), QPoint(midX, bottom + reach) }, QPoint(midX, bottom + 1) },
                { { QPoint(0, midY), QPoint(1, midY) }, QPoint(reach - 1, midY) },
                { { QPoint(right + reach - 1, midY), QPoint(right + reach, midY) }, QPoint(right + 1, midY) },
            };
            for (const Side &side : sides) {
                for (const QPoint ring : side.ring) {
                    EXPECT_GE(contrastRatio(at(ring.x(), ring.y()), at(side.between.x(), side.between.y())), 3.0)
                        << name.toStdString() << (dark ? " dark " : " light ") << ring.x() << ',' << ring.y();
                }
            }
        }
    }
}

} // namespace
} // namespace orvane::windowtest
