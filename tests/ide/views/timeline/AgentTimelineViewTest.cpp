#include "TimelineViewsFixture.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineHeightCache.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QBackingStore>
#include <QClipboard>
#include <QListView>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSignalSpy>

namespace orvane::timelinetest {
namespace {

using HitKind = TimelineCardLayout::HitKind;

class AgentTimelineViewTest : public TimelineViewsTest {
protected:
    AgentTimelineView *makeTimeline()
    {
        auto *view = new AgentTimelineView(context(), threadID, tabID);
        show(view, { 460, 640 });
        return view;
    }

    // The card's control, clicked in the list's viewport.
    static void click(AgentTimelineView *view, int row, HitKind kind, const QUuid &toolID = {})
    {
        view->listView()->doItemsLayout();
        const auto rect = view->delegate()->controlRect(view->entryModel()->index(row), kind, toolID);
        ASSERT_TRUE(rect.has_value());
        QTest::mouseClick(view->listView()->viewport(), Qt::LeftButton, {}, rect->center());
    }

    static CampaignTimelineEntry gatedEntry()
    {
        CampaignTimelineEntry gated = entry(u"Raising the conquest bid needs a decision."_s);
        gated.artifactLink = IDEWorkbenchView::localFiles;
        gated.toolInvocations = {
            { .id = QUuid::createUuid(),
                .toolName = u"write_media_plan"_s,
                .summary = u"Updating rows"_s,
                .inputPreview = u"{\"rows\": 4}"_s,
                .outputPreview = u"media-plan.csv written"_s,
                .status = CampaignToolInvocation::ToolStatus::completed,
                .durationMs = 850 },
            { .id = QUuid::createUuid(),
                .toolName = u"queue_launch"_s,
                .summary = {},
                .inputPreview = u"x"_s,
                .outputPreview = u"y"_s,
                .status = CampaignToolInvocation::ToolStatus::requiresApproval,
                .durationMs = 0 },
        };
        gated.inlineApproval = CampaignInlineApproval { .id = QUuid::createUuid(),
            .title = u"Raise bids"_s,
            .platform = u"google Ads"_s,
            .beforeSummary = u"$120/day"_s,
            .afterSummary = u"$350/day"_s,
            .budgetDelta = u"+$230/day"_s,
            .status = CampaignInlineApproval::ApprovalDecision::pending };
        return gated;
    }
};

// What the window's backing store holds: what stays on screen until something is painted again.
QImage onScreen(QWidget *widget)
{
    QBackingStore *store = widget->window()->backingStore();
    const auto *image = store ? dynamic_cast<const QImage *>(store->paintDevice()) : nullptr;
    return image ? image->copy() : QImage();
}

// The rows follow a whole agent turn: two appended entries and the status row, the reply filled in
// place, the status row gone; a closed tab empties the list. The tester checks every step.
TEST_F(AgentTimelineViewTest, RowsFollowAnAgentTurnInPlace)
{
    auto *view = makeTimeline();
    TimelineEntryListModel *rows = view->entryModel();
    QAbstractItemModelTester tester(rows, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const int before = int(tab().entries.size());
    ASSERT_EQ(rows->rowCount(), before);
    QSignalSpy resets(rows, &QAbstractItemModel::modelReset);
    QSignalSpy inserts(rows, &QAbstractItemModel::rowsInserted);

    model->sendMessageInThread(threadID, tabID, u"Plan a search test"_s, nullptr);
    EXPECT_EQ(rows->entryCount(), before + 2);
    EXPECT_TRUE(rows->isStreaming());
    EXPECT_EQ(rows->rowCount(), before + 3);
    EXPECT_EQ(rows->index(before + 2).data().toString(), u"Orvaneing workspace & running tools…"_s);
    EXPECT_EQ(rows->index(before).data().toString(), u"Plan a search test"_s);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !tab().isStreaming; }, 5000));
    EXPECT_FALSE(rows->isStreaming());
    EXPECT_EQ(rows->rowCount(), int(tab().entries.size()));
    for (int row = 0; row < rows->entryCount(); ++row)
        EXPECT_EQ(rows->entryAt(row), tab().entries.at(row)) << row;
    EXPECT_EQ(resets.count(), 0) << "a turn never resets the list";
    EXPECT_GE(inserts.count(), 2); // the entries, then the status row

    // A streaming tab without a status text falls back to the fixed text.
    model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
        thread.agentTabs[0].isStreaming = true;
        thread.agentTabs[0].statusText.reset();
    });
    EXPECT_EQ(rows->index(rows->statusRow()).data().toString(), u"Orvaneing campaign artifacts…"_s);

    // The tab goes away: nothing left to show.
    model->addAgentTab(std::nullopt, threadID);
    model->closeAgentTab(tabID, threadID);
    EXPECT_EQ(rows->rowCount(), 0);
    EXPECT_EQ(resets.count(), 1);
}

TEST_F(AgentTimelineViewTest, EmptyTabShowsNothingAndAStreamingOneOnlyTheStatusRow)
{
    setEntries({});
    auto *view = makeTimeline();
    QAbstractItemModelTester tester(view->entryModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(view->entryModel()->rowCount(), 0);
    model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
        thread.agentTabs[0].isStreaming = true;
        thread.agentTabs[0].statusText = u"Drafting the plan"_s;
    });
    ASSERT_EQ(view->entryModel()->rowCount(), 1);
    EXPECT_EQ(view->entryModel()->index(0).data().toString(), u"Drafting the plan"_s);
    keepPicture(u"timeline-status-only.png"_s);
}

// A new entry brings the newest card's bottom to the bottom edge; a change inside an entry leaves the
// list where the reader has it, at the bottom or scrolled up.
TEST_F(AgentTimelineViewTest, FollowsNewEntriesAndOnlyThem)
{
    QList<CampaignTimelineEntry> many;
    for (int i = 0; i < 60; ++i)
        many.append(entry(u"Entry %1 with a line of text that wraps in a narrow pane for sure."_s.arg(i)));
    setEntries(many);
    auto *view = makeTimeline();
    QScrollBar *bar = view->listView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), 0) << "the first build does not scroll";

    const auto lastCardBottom = [&] {
        const auto *rows = view->entryModel();
        return view->listView()->visualRect(rows->index(rows->entryCount() - 1)).bottom();
    };
    const int viewportHeight = view->listView()->viewport()->height();
    model->sendMessageInThread(threadID, tabID, u"Another prompt"_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isFollowing(); }, 3000));
    EXPECT_NEAR(lastCardBottom() + 1 + TimelineEntryDelegate::spacing, viewportHeight, 2);
    const int followed = bar->value();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !tab().isStreaming; }, 5000));
    EXPECT_EQ(bar->value(), followed) << "the filled-in reply grows below the view; the list stays";
    EXPECT_GE(lastCardBottom() + 1 + TimelineEntryDelegate::spacing, viewportHeight);

    // Scrolled up: a growing entry does not move the list.
    bar->setValue(100);
    const auto grow = [&](const QString &text) {
        const QUuid last = tab().entries.constLast().id;
        model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
            thread.agentTabs[0].entries.last().text += text;
            Q_EMIT model->timelineEntryChanged(threadID, tabID, last);
        });
    };
    grow(u"\nmore streamed text\nand more\nand more"_s);
    EXPECT_EQ(bar->value(), 100);
    EXPECT_FALSE(view->isFollowing());
}

// The count alone moves the list: at the bottom, an entry that grows (and the status row coming and
// going) leaves it where it is; an appended entry brings the newest card to the bottom edge.
TEST_F(AgentTimelineViewTest, AtTheBottomAGrowingEntryStaysAndANewOneScrolls)
{
    QList<CampaignTimelineEntry> many;
    for (int i = 0; i < 30; ++i)
        many.append(entry(u"Entry %1 with a line of text that wraps in a narrow pane for sure."_s.arg(i)));
    setEntries(many);
    auto *view = makeTimeline();
    QScrollBar *bar = view->listView()->verticalScrollBar();
    bar->setValue(bar->maximum());
    const int bottom = bar->value();
    ASSERT_GT(bottom, 0);

    const QUuid last = tab().entries.constLast().id;
    model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
        thread.agentTabs[0].entries.last().text += u"\nstreamed\nand more\nand more\nand more"_s;
        thread.agentTabs[0].isStreaming = true;
        Q_EMIT model->timelineEntryChanged(threadID, tabID, last);
    });
    QCoreApplication::processEvents();
    EXPECT_GT(bar->maximum(), bottom) << "the entry grew";
    EXPECT_EQ(bar->value(), bottom);
    EXPECT_FALSE(view->isFollowing());

    model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
        thread.agentTabs[0].isStreaming = false;
        thread.agentTabs[0].entries.append(entry(u"A new reply"_s));
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isFollowing(); }, 3000));
    const auto *rows = view->entryModel();
    const QRect newest = view->listView()->visualRect(rows->index(rows->entryCount() - 1));
    EXPECT_NEAR(newest.bottom() + 1 + TimelineEntryDelegate::spacing, view->listView()->viewport()->height(), 2);
    EXPECT_GT(bar->value(), bottom);
}

TEST_F(AgentTimelineViewTest, CardControlsCallTheModelAndToolRowsExpandTogether)
{
    CampaignTimelineEntry gated = gatedEntry();
    CampaignTimelineEntry twin = entry(u"Same run, shown twice"_s);
    twin.toolInvocations = { gated.toolInvocations.first() };
    // Its input quotes a megabyte the user typed (a domain in a draft).
    twin.toolInvocations.first().inputPreview = QString(1'000'000, u'd');
    setEntries({ entry(u"Hello **there**"_s, CampaignTimelineEntry::EntryRole::user), gated, twin });
    auto *view = makeTimeline();
    ExpandedToolSet shared;
    view->setExpandedToolSet(&shared);
    const QUuid tool = gated.toolInvocations.first().id;
    const auto heightOf = [&](int row) { return view->delegate()->cardLayout(view->entryModel()->index(row)).height; };
    const qreal collapsed = heightOf(1);
    const qreal twinCollapsed = heightOf(2);

    click(view, 1, HitKind::toolRow, tool);
    EXPECT_TRUE(shared.contains(tool));
    EXPECT_GT(heightOf(1), collapsed);
    EXPECT_GT(heightOf(2), twinCollapsed) << "the same run in another entry expands too";
    const auto twinPieces = view->delegate()->cardLayout(view->entryModel()->index(2)).pieces;
    const auto input = std::find_if(
        twinPieces.cbegin(), twinPieces.cend(), [](const auto &piece) { return piece.text.startsWith(u"INPUT: "_s); });
    ASSERT_NE(input, twinPieces.cend());
    EXPECT_EQ(input->text.size(), shownLabelLimit + 1) << "a label's worth is laid out";
    keepPicture(u"timeline-expanded-dark.png"_s);
    theme->setDark(false);
    keepPicture(u"timeline-expanded-light.png"_s);
    click(view, 2, HitKind::toolRow, tool);
    EXPECT_FALSE(shared.contains(tool));
    EXPECT_EQ(heightOf(1), collapsed);

    click(view, 1, HitKind::artifactLink);
    EXPECT_EQ(model->threads().constFirst().workbenchView, IDEWorkbenchView::localFiles);

    click(view, 1, HitKind::reject);
    EXPECT_EQ(tab().entries.at(1).inlineApproval->status, CampaignInlineApproval::ApprovalDecision::rejected);
    EXPECT_EQ(model->statusNotice(), u"Rejected inline execution proposal."_s);
    const auto plan = model->threads().constFirst().mediaPlanRows;
    for (const auto &row : plan)
        EXPECT_NE(row.status, u"Approved & Active"_s);
}

// Assistive technology sees a card's painted controls, named, and presses them; the keyboard walks
// the same controls and presses them as a click does.
TEST_F(AgentTimelineViewTest, CardControlsAreReachedByKeyboardAndAssistiveTechnology)
{
    const CampaignTimelineEntry gated = gatedEntry();
    setEntries({ entry(u"Hello"_s, CampaignTimelineEntry::EntryRole::user), gated });
    auto *view = new AgentTimelineView(context(), threadID, tabID);
    show(view, { 460, 180 }); // the gated card is taller than the list
    TimelineListView *list = view->listView();
    const QUuid tool = gated.toolInvocations.first().id;

    QAccessibleInterface *card = QAccessible::queryAccessibleInterface(list)->child(1);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->role(), QAccessible::ListItem);
    EXPECT_EQ(card->text(QAccessible::Name), gated.text);
    ASSERT_EQ(card->childCount(), 5) << "link, two tool rows, approve, reject";
    for (int i = 0; i < card->childCount(); ++i) {
        EXPECT_FALSE(card->child(i)->text(QAccessible::Name).isEmpty()) << i;
        EXPECT_TRUE(
            card->child(i)->actionInterface()->actionNames().contains(QAccessibleActionInterface::pressAction()));
        EXPECT_EQ(card->child(i)->parent(), card);
    }
    card->child(1)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_TRUE(view->expandedToolSet()->contains(tool));
    EXPECT_TRUE(card->child(1)->state().expanded);

    list->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(list->currentIndex().row(), 1) << "the keyboard starts on the lowest card in view";
    QTest::keyClick(list, Qt::Key_Right);
    QTest::keyClick(list, Qt::Key_Right);
    EXPECT_EQ(card->focusChild(), card->child(1)) << "assistive technology follows the keyboard";
    keepPicture(u"timeline-keyboard-dark.png"_s);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_FALSE(view->expandedToolSet()->contains(tool));
    for (int step = 0; step < 2; ++step)
        QTest::keyClick(list, Qt::Key_Right);
    const auto approve = view->delegate()->controlRect(list->currentIndex(), HitKind::approve);
    ASSERT_TRUE(approve && list->viewport()->rect().contains(*approve)) << "the focused control comes into view";
    QTest::keyClick(list, Qt::Key_Space);
    EXPECT_EQ(tab().entries.at(1).inlineApproval->status, CampaignInlineApproval::ApprovalDecision::approved);
    EXPECT_EQ(card->childCount(), 3) << "a decided gate has no buttons";
    EXPECT_EQ(list->currentControl(), -1) << "the keyboard falls back to the card";
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(list->currentIndex().row(), 0);
    theme->setDark(false);
    keepPicture(u"timeline-keyboard-light.png"_s);
}

TEST_F(AgentTimelineViewTest, ApproveMarksThePlanActiveAndTextOpensForSelectionAsPlainText)
{
    CampaignTimelineEntry markup = entry(u"<b>not bold</b> **kept**"_s);
    setEntries({ gatedEntry(), markup });
    auto *view = makeTimeline();
    view->listView()->doItemsLayout();
    const auto body = view->delegate()->controlRect(view->entryModel()->index(1), HitKind::bodyText);
    ASSERT_TRUE(body.has_value());
    // The press, release and double click of a real double click, straight to the list.
    QWidget *viewport = view->listView()->viewport();
    const QPointF at = body->center();
    for (const auto type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
             QEvent::MouseButtonRelease }) {
        QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &event);
    }
    auto *selectable = view->findChild<QPlainTextEdit *>(u"timelineTextSelectionEdit"_s);
    ASSERT_NE(selectable, nullptr);
    EXPECT_TRUE(selectable->isReadOnly());
    EXPECT_EQ(selectable->toPlainText(), markup.text) << "markup and tags are shown as typed";
    click(view, 0, HitKind::approve);
    EXPECT_EQ(tab().entries.at(0).inlineApproval->status, CampaignInlineApproval::ApprovalDecision::approved);
    EXPECT_EQ(model->statusNotice(), u"Approved inline execution gate & updated media-plan.csv."_s);
    for (const auto &row : model->threads().constFirst().mediaPlanRows)
        EXPECT_EQ(row.status, u"Approved & Active"_s);
}

TEST_F(AgentTimelineViewTest, TabSwitchInPlaceScrollsOnlyWhenTheCountDiffers)
{
    QList<CampaignTimelineEntry> many;
    for (int i = 0; i < 40; ++i)
        many.append(entry(u"Entry %1, long enough to take a few lines in the pane's width."_s.arg(i)));
    setEntries(many);
    // Built without a tab, as a pane builds it, then given its tab: that is its first showing.
    auto *view = new AgentTimelineView(context(), {}, {});
    show(view, { 460, 640 });
    view->setTab(threadID, tabID);
    QScrollBar *bar = view->listView()->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_FALSE(view->isFollowing());
    EXPECT_EQ(bar->value(), 0);
    QPointer<QListView> list = view->listView();
    model->addAgentTab(std::nullopt, threadID);
    const QUuid other = model->threads().constFirst().agentTabs.constLast().id;
    view->setTab(threadID, other);
    EXPECT_EQ(view->entryModel()->entryCount(), 1);
    EXPECT_EQ(bar->maximum(), 0);
    EXPECT_EQ(view->listView(), list.data()) << "the list is reused";
    view->setTab(threadID, tabID);
    EXPECT_EQ(view->entryModel()->entryCount(), int(tab().entries.size()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isFollowing(); }, 3000));
    EXPECT_EQ(bar->value(), bar->maximum()) << "another count: the newest card comes into view";
}

// A long history measures only the cards near the viewport; every card on screen has its measured
// height at the width shown, also after the pane widens and after a jump to the end.
TEST_F(AgentTimelineViewTest, LongTimelineMeasuresCardsInViewAtTheWidthShown)
{
    QList<CampaignTimelineEntry> many;
    for (int i = 0; i < 300; ++i)
        many.append(
            entry(u"Entry %1: "_s.arg(i) + u"shift budget to search and report the lift. "_s.repeated(1 + i % 7)));
    setEntries(many);
    TimelineHeightCache heights;
    WorkspaceViewContext withCache = context();
    withCache.timelineHeights = &heights;
    auto *view = new AgentTimelineView(withCache, {}, {});
    show(view, { 360, 640 });
    view->setTab(threadID, tabID);
    QListView *list = view->listView();
    const auto expectVisibleCardsMeasured = [&](const char *when) {
        int seen = 0;
        for (int row = 1; row + 1 < view->entryModel()->entryCount(); ++row) {
            const QRect rect = list->visualRect(view->entryModel()->index(row));
            if (rect.bottom() < 0 || rect.top() > list->viewport()->height())
                continue;
            ++seen;
            EXPECT_EQ(rect.height(), view->delegate()->measuredHeight(view->entryModel()->index(row)))
                << when << ", row " << row;
        }
        EXPECT_GT(seen, 0) << when;
    };
    expectVisibleCardsMeasured("opened");
    EXPECT_LT(heights.measuredCount(), 60) << "cards far from the viewport are not shaped";
    host->resize(720, 640);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->viewport()->width() > 600; }));
    expectVisibleCardsMeasured("widened");
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    expectVisibleCardsMeasured("at the end");
    EXPECT_EQ(list->verticalScrollBar()->value(), list->verticalScrollBar()->maximum());
}

// A huge text is shown cut, says so, and stays whole in the model, on the clipboard and nowhere laid out.
TEST_F(AgentTimelineViewTest, HugeTextIsCutForDisplayAndCopiedWhole)
{
    const QString huge = u"forty-two "_s.repeated(20000);
    setEntries({ entry(huge) });
    auto *view = makeTimeline();
    const TimelineCardLayout &card = view->delegate()->cardLayout(view->entryModel()->index(0));
    const auto shown = std::find_if(card.pieces.cbegin(), card.pieces.cend(),
        [](const TimelineCardLayout::Piece &p) { return p.kind == TimelineCardLayout::Piece::Kind::wrappedText; });
    ASSERT_NE(shown, card.pieces.cend());
    EXPECT_EQ(shown->text.size(), timelineTextDisplayLimit);
    EXPECT_TRUE(std::any_of(card.pieces.cbegin(), card.pieces.cend(),
        [&](const TimelineCardLayout::Piece &p) { return p.text == timelineTruncationNotice(huge.size()); }));
    click(view, 0, HitKind::copyFullText);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), huge);
    click(view, 0, HitKind::openFullText);
    EXPECT_EQ(model->threads().constFirst().workbenchView, IDEWorkbenchView::localFiles);
    EXPECT_EQ(tab().entries.constFirst().text, huge);
    // The local files open on the file that holds the text whole, once the listing has it.
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::ranges::any_of(model->localFiles(),
                [](const LocalWorkspaceFile &file) { return file.name == u"thread-transcript.json"_s; });
        },
        5000));
    EXPECT_EQ(model->selectedLocalFileName(), u"thread-transcript.json"_s);
    EXPECT_TRUE(model->localFileEditorContent().contains(u"forty-two forty-two"_s));
}

// The keyboard's ring around a card lies outside the card's row; when the keyboard moves into the
// card's controls, or on to another card, nothing of it stays on screen.
TEST_F(AgentTimelineViewTest, TheCardsRingLeavesNoLineOnScreenWhenTheKeyboardMoves)
{
    setEntries({ entry(u"Hello"_s, CampaignTimelineEntry::EntryRole::user), gatedEntry(), entry(u"Last one"_s) });
    auto *view = makeTimeline();
    TimelineListView *list = view->listView();
    QWidget *viewport = list->viewport();
    const QColor ring = theme->theme().accentCyan();
    list->setFocus(Qt::TabFocusReason);
    list->setCurrentIndex(view->entryModel()->index(1));
    const QRect card = list->visualRect(list->currentIndex());
    // The ring's top line, just above the card, in the window.
    const QPoint ringTop = viewport->mapTo(host.get(), QPoint(card.center().x(), card.top() - 3));
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(host.get()).pixelColor(ringTop) == ring; }, 2000));

    const auto expectAsFreshlyPainted = [&](const char *when) {
        const QRect band = QRect(viewport->mapTo(host.get(), QPoint()), viewport->size());
        const QImage shown = onScreen(host.get()).copy(band);
        const QImage fresh = host->grab(band).toImage().convertToFormat(shown.format());
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x)
                differing += shown.pixel(x, y) != fresh.pixel(x, y);
        }
        EXPECT_EQ(differing, 0) << when;
    };
    QTest::keyClick(list, Qt::Key_Right);
    const auto link = view->delegate()->controlRect(list->currentIndex(), HitKind::artifactLink);
    ASSERT_TRUE(link.has_value());
    const QPoint linkRing = viewport->mapTo(host.get(), QPoint(link->center().x(), link->top() - 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(host.get()).pixelColor(linkRing) == ring; }, 2000));
    EXPECT_NE(onScreen(host.get()).pixelColor(ringTop), ring) << "the card's ring went with the keyboard";
    expectAsFreshlyPainted("on the card's link");

    QTest::keyClick(list, Qt::Key_Left);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(host.get()).pixelColor(ringTop) == ring; }, 2000));
    QTest::keyClick(list, Qt::Key_Down);
    ASSERT_TRUE(QTest::qWaitFor([&] { return onScreen(host.get()).pixelColor(ringTop) != ring; }, 2000));
    expectAsFreshlyPainted("on the next card");
}

} // namespace
} // namespace orvane::timelinetest
