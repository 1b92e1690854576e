#include "WorkspaceWindowFixture.h"

#include "MediaPlanTitleProbe.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/thread/AgentTabChip.h"
#include "ide/views/thread/AgentThreadPane.h"
#include "ide/views/thread/CampaignThreadWorkbenchView.h"
#include "ide/views/thread/WorkbenchHeaderBar.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/timeline/QuickPromptRow.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineListView.h"
#include "ide/views/window/DestinationArea.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QPropertyAnimation>
#include <QScopeGuard>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QShortcut>
#include <QSplitter>
#include <QTextLayout>

namespace orvane::windowtest {
namespace {

class WindowLayoutTest : public WorkspaceWindowTest {
protected:
    void SetUp() override { makeWindow(); }
    [[nodiscard]] QRect areaGeometry() const { return window->destinationArea()->geometry(); }
    [[nodiscard]] QWidget *toast() const { return window->findChild<QWidget *>(u"statusToast"_s); }
    [[nodiscard]] QString toastText() const { return find<QLabel>(u"toastMessageLabel"_s)->text(); }
    [[nodiscard]] QColor pixel(QPoint at) const { return window->grab().toImage().pixelColor(at); }
};

// The darkest pixel of a widget as drawn: black text on a lime fill shows as (near) black.
int darkestLightness(QWidget *widget)
{
    const QImage image = widget->grab().toImage();
    int darkest = 255;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            darkest = std::min(darkest, image.pixelColor(x, y).lightness());
    }
    return darkest;
}

void expectColor(const QColor &actual, const QColor &expected, const char *what)
{
    EXPECT_NEAR(actual.red(), expected.red(), 2) << what;
    EXPECT_NEAR(actual.green(), expected.green(), 2) << what;
    EXPECT_NEAR(actual.blue(), expected.blue(), 2) << what;
}

TEST_F(WindowLayoutTest, ColumnsAroundTheDestinationAreaFollowTheModelsFlags)
{
    EXPECT_EQ(find(u"topBar"_s)->height(), 46);
    // Sidebar open, drawer closed: sidebar (248) and its divider, then the destination area.
    EXPECT_TRUE(find(u"sidebar"_s)->isVisible());
    EXPECT_FALSE(find(u"copilotDrawer"_s)->isVisible());
    EXPECT_EQ(areaGeometry().left(), 249);
    EXPECT_EQ(areaGeometry().right(), window->width() - 1);
    EXPECT_EQ(areaGeometry().top(), 47); // the bar and its divider

    // Both open: sidebar, divider, area, divider, drawer (340); the window widens when the area's
    // view needs it.
    click(u"agentButton"_s);
    EXPECT_TRUE(model().agentDrawerOpen());
    ASSERT_TRUE(QTest::qWaitFor([&] { return areaGeometry().width() == window->width() - 249 - 341; }, 3000));
    EXPECT_GE(areaGeometry().width(), window->destinationArea()->minimumSizeHint().width());
    EXPECT_EQ(find(u"copilotDrawer"_s)->mapTo(window.get(), QPoint()).x(), window->width() - 340);

    // Both shut: the area spans the window and no divider is left in the row.
    click(u"agentButton"_s);
    click(u"sidebarToggleButton"_s);
    EXPECT_FALSE(model().agentDrawerOpen());
    EXPECT_TRUE(model().isSidebarCollapsed());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return !find(u"sidebarColumn"_s)->isVisible() && !find(u"drawerColumn"_s)->isVisible(); }, 3000));
    QCoreApplication::processEvents();
    EXPECT_EQ(areaGeometry(), QRect(0, 47, window->width(), window->height() - 47));

    // The toggle twice restores the sidebar.
    click(u"sidebarToggleButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return areaGeometry().left() == 249; }, 3000));
    EXPECT_FALSE(model().isSidebarCollapsed());
}

TEST_F(WindowLayoutTest, ColumnsSlideInsteadOfJumping)
{
    auto *column = find<SlidingColumn>(u"sidebarColumn"_s);
    const int open = column->width();
    click(u"sidebarToggleButton"_s);
    // The click starts a slide rather than hiding the column; halfway through it is half open.
    auto *slide = column->findChild<QPropertyAnimation *>();
    ASSERT_NE(slide, nullptr);
    EXPECT_TRUE(column->isVisible());
    slide->setCurrentTime(SlidingColumn::animationMilliseconds / 2);
    EXPECT_GT(column->width(), 0);
    EXPECT_LT(column->width(), open);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !column->isVisible(); }, 3000));
}

TEST_F(WindowLayoutTest, ANoticeInsertsTheToastRowAndItsClearingRemovesIt)
{
    ASSERT_NE(toast(), nullptr);
    EXPECT_FALSE(toast()->isVisible());
    const int top = areaGeometry().top();

    model().setNoticeDuration(std::chrono::milliseconds(300));
    model().flashNotice(u"Saved campaign-plan.md to ~/Documents/Orvane."_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return areaGeometry().top() > top; }, 2000));
    EXPECT_TRUE(toast()->isVisible());
    EXPECT_EQ(toastText(), u"Saved campaign-plan.md to ~/Documents/Orvane."_s);
    // A full-width row directly under the top bar's divider.
    EXPECT_EQ(toast()->geometry(), QRect(0, top, window->width(), toast()->height()));
    EXPECT_EQ(areaGeometry().top(), top + toast()->height());
    keepPicture(u"workspace-window-toast.png"_s);

    // It goes by itself and the row moves up again.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !toast()->isVisible(); }, 5000));
    EXPECT_FALSE(model().statusNotice().has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return areaGeometry().top() == top; }, 2000));
}

TEST_F(WindowLayoutTest, ToastTextIsReplacedInPlaceWrapsAndClosesAtOnce)
{
    model().flashNotice(u"First"_s);
    QWidget *const banner = toast();
    model().flashNotice(u"<b>Second</b> & more"_s);
    EXPECT_EQ(toast(), banner); // the same row, not a new one
    // Shown as text, never as markup.
    EXPECT_EQ(toastText(), u"<b>Second</b> & more"_s);
    EXPECT_EQ(find<QLabel>(u"toastMessageLabel"_s)->textFormat(), Qt::PlainText);

    // A notice of something that went wrong shows a warning sign instead of the check mark.
    auto *symbol = find<SymbolView>(u"toastSymbol"_s);
    EXPECT_EQ(symbol->symbol(), u"checkmark.circle.fill"_s);
    model().flashNotice(u"Could not save"_s, NoticeKind::warning);
    EXPECT_EQ(symbol->symbol(), u"exclamationmark.triangle.fill"_s);
    model().flashNotice(u"<b>Second</b> & more"_s);
    EXPECT_EQ(symbol->symbol(), u"checkmark.circle.fill"_s);

    click(u"toastCloseButton"_s);
    EXPECT_FALSE(model().statusNotice().has_value());
    EXPECT_FALSE(toast()->isVisible());

    // An empty notice still shows the strip, with its close button.
    model().flashNotice(QString());
    EXPECT_TRUE(toast()->isVisible());
    EXPECT_TRUE(find(u"toastCloseButton"_s)->isVisible());

    // A long notice wraps instead of widening the window.
    model().flashNotice(QString(400, u'x').replace(u"xxxxxxxxx"_s, u"word word"_s));
    // Wrapped over several lines once laid out; the window kept its width meanwhile.
    auto *label = find<QLabel>(u"toastMessageLabel"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return toast()->isVisible() && label->height() > 2 * label->fontMetrics().height(); }, 2000));
    EXPECT_EQ(window->width(), 1440);
    EXPECT_LE(toast()->width(), 1440);
}

// Drags the left button over a widget from one point to another.
void drag(QWidget *widget, QPoint from, QPoint to)
{
    QTest::mousePress(widget, Qt::LeftButton, {}, from);
    QTest::mouseMove(widget, (from + to) / 2);
    QTest::mouseMove(widget, to);
    QTest::mouseRelease(widget, Qt::LeftButton, {}, to);
}

// A warning stays long enough to be read (a report of how something went keeps the notice
// duration), and while the pointer rests on it or its text has the keyboard; its text, a path
// included, can be selected by dragging and copied; a click on the row (its text included) or
// Escape dismisses any notice at once.
TEST_F(WindowLayoutTest, AWarningStaysToBeReadItsTextCopiesAndAClickOrEscapeDismissesIt)
{
    auto *label = find<QLabel>(u"toastMessageLabel"_s);
    const QString path
        = u"~/Documents/Orvane/orvane-local-campaign-ide-launch/campaign-plan.unsaved-20261207-193012.md"_s;
    const QString warning = u"Orvane kept the text you had not saved when it last quit: "_s + path + u'.';
    model().setNoticeDuration(std::chrono::milliseconds(300));

    model().flashNotice(warning, NoticeKind::warning);
    ASSERT_TRUE(toast()->isVisible());
    // Past a report's time, the warning still shows.
    std::optional<QString> shownLater;
    bool probed = false;
    QTimer::singleShot(std::chrono::milliseconds(450), window.get(), [&] {
        shownLater = model().statusNotice();
        probed = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 3000));
    EXPECT_EQ(shownLater, warning);

    // A drag over the text selects it rather than dismissing, and gives it the keyboard: Ctrl+C
    // copies what was selected, and with the keys all of it.
    EXPECT_TRUE(label->textInteractionFlags().testFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard));
    const int middle = label->height() / 2;
    drag(label, QPoint(1, middle), QPoint(label->width() - 1, middle));
    EXPECT_EQ(model().statusNotice(), warning);
    EXPECT_TRUE(label->selectedText().contains(path));
    EXPECT_TRUE(label->hasFocus());
    QApplication::clipboard()->clear();
    QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), label->selectedText());
    QTest::keyClick(label, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), warning);
    // Held while its text has the keyboard, long past its time.
    QTest::qWait(1500);
    EXPECT_EQ(model().statusNotice(), warning);
    label->clearFocus();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !toast()->isVisible(); }, 3000));

    // Selected, the text holds the notice only until the user presses elsewhere: a part of the
    // window that takes no focus (as most of its buttons) ends the hold all the same.
    model().flashNotice(warning, NoticeKind::warning);
    drag(label, QPoint(1, middle), QPoint(label->width() / 2, middle));
    ASSERT_TRUE(label->hasFocus());
    QWidget *elsewhere = window->destinationArea();
    ASSERT_FALSE(elsewhere->focusPolicy() & Qt::ClickFocus);
    QTest::mouseClick(elsewhere, Qt::LeftButton, {}, elsewhere->rect().center());
    EXPECT_FALSE(label->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !toast()->isVisible(); }, 3000));

    // A plain click on the text dismisses the notice, and the keyboard stays where it was.
    auto *search = find(u"threadSearchField"_s);
    search->setFocus();
    model().flashNotice(warning, NoticeKind::warning);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(4, middle));
    EXPECT_FALSE(model().statusNotice().has_value());
    EXPECT_FALSE(toast()->isVisible());
    EXPECT_TRUE(search->hasFocus());
    model().flashNotice(u"Added row to Media Plan Table."_s);
    QTest::mouseClick(label, Qt::LeftButton, {}, QPoint(label->width() / 2, middle));
    EXPECT_FALSE(model().statusNotice().has_value());

    // A click on the row dismisses a notice at once, whatever its kind.
    model().flashNotice(warning, NoticeKind::warning);
    QTest::mouseClick(toast(), Qt::LeftButton, {}, QPoint(toast()->width() / 2, 2));
    EXPECT_FALSE(model().statusNotice().has_value());
    EXPECT_FALSE(toast()->isVisible());
    model().flashNotice(u"Added row to Media Plan Table."_s);
    QTest::mouseClick(toast(), Qt::LeftButton, {}, QPoint(toast()->width() / 2, 2));
    EXPECT_FALSE(model().statusNotice().has_value());

    // So does Escape in the window; with no notice, Escape does nothing of the toast's.
    model().flashNotice(warning, NoticeKind::warning);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(model().statusNotice().has_value());
    EXPECT_FALSE(window->findChild<QShortcut *>(u"toastEscapeShortcut"_s)->isEnabled());

    // A path with a file name of 250 bytes widens neither the window nor the row, and copies whole.
    const int narrowest = window->minimumSizeHint().width();
    const QString longPath = u"~/Documents/Orvane/launch/"_s + QString(229, u'a') + u".unsaved-20261207T193012Z.md"_s;
    model().flashNotice(
        u"Orvane kept the text you had not saved when it last quit: "_s + longPath + u'.', NoticeKind::warning);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->minimumSizeHint().width(), narrowest);
    EXPECT_LE(toast()->width(), window->width());
    label->setFocus();
    QTest::keyClick(label, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(label, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains(longPath));
}

// Only a warning waits for its reader: a report of how something went keeps its time with the
// pointer resting on it, where a warning stays.
TEST_F(WindowLayoutTest, ThePointerRestingOnTheToastHoldsAWarningButNotAReport)
{
    // The pointer leaves the toast when done, so that it rests on nothing of a later case.
    const auto moveAway
        = qScopeGuard([&] { QCursor::setPos(window->mapToGlobal(QPoint(window->width() / 2, window->height() - 2))); });
    model().setNoticeDuration(std::chrono::milliseconds(300));
    const QString warning = u"The monthly budget must be an amount such as $5,000 or $12k."_s;
    model().flashNotice(warning, NoticeKind::warning);
    QTest::mouseMove(toast(), QPoint(toast()->width() / 2, 2));
    ASSERT_TRUE(QTest::qWaitFor([&] { return toast()->underMouse(); }, 2000));
    std::optional<QString> shownLater;
    bool probed = false;
    QTimer::singleShot(
        model().noticeTime(warning, NoticeKind::warning) + std::chrono::milliseconds(300), window.get(), [&] {
            shownLater = model().statusNotice();
            probed = true;
        });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 5000));
    EXPECT_EQ(shownLater, warning);

    model().flashNotice(u"Added row to Media Plan Table."_s);
    ASSERT_TRUE(toast()->underMouse());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model().statusNotice(); }, 3000));
}

TEST_F(WindowLayoutTest, TheDarkFlagRecoloursTheWholeWindowAtOnce)
{
    model().flashNotice(u"Synced"_s);
    QCoreApplication::processEvents();
    const QPoint barBackground(window->width() / 2 - 300, 2);
    const QPoint toastFill(window->width() / 2, toast()->geometry().bottom() - 2);

    const OrvaneWebTheme dark(true);
    ASSERT_TRUE(model().isDarkTheme());
    const auto faded
        = [&] { return QTest::qWaitFor([&] { return !window->findChild<QWidget *>(u"themeCrossFade"_s); }, 2000); };
    expectColor(pixel(barBackground), dark.sidebarBackground(), "dark top bar");
    expectColor(pixel(toastFill), dark.elevatedBackground(), "dark toast");
    expectColor(window->palette().color(QPalette::Window), dark.canvasBackground(), "dark canvas");
    keepCloseUp(find(u"topBar"_s), u"top-bar-dark.png"_s);
    // The lime buttons keep their black text in the dark theme.
    EXPECT_LT(darkestLightness(find(u"newThreadButton"_s)), 40);
    EXPECT_LT(darkestLightness(find(u"sidebarNewThreadButton"_s)), 40);

    model().setDarkTheme(false);
    // The old colours fade out over the new ones, then the fade goes.
    EXPECT_NE(window->findChild<QWidget *>(u"themeCrossFade"_s), nullptr);
    ASSERT_TRUE(faded());
    const OrvaneWebTheme light(false);
    expectColor(pixel(barBackground), light.sidebarBackground(), "light top bar");
    expectColor(pixel(toastFill), light.elevatedBackground(), "light toast");
    expectColor(window->palette().color(QPalette::Window), light.canvasBackground(), "light canvas");
    keepCloseUp(find(u"topBar"_s), u"top-bar-light.png"_s);
    click(u"agentButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return find(u"copilotDrawer"_s)->isVisible(); }, 2000));
    keepCloseUp(find(u"topBar"_s), u"top-bar-light-agent-open.png"_s);
}

// A screen narrower than the drawer, two agent panes and the workbench column need side by side:
// the window takes the screen's width and no more, stays on it, and every column is whole inside it.
class NarrowScreenTest : public WorkspaceWindowTest {
protected:
    void SetUp() override { standOn({ 0, 0, 1280, 800 }); }

    // The window on a screen of that size.
    void standOn(const QRect &area)
    {
        screen = area;
        CampaignIDEWorkspaceView::Services services;
        services.screenArea = [this](const QWidget *) { return screen; };
        makeWindow(std::move(services));
        // The whole window, frame included, as wide as the screen.
        const QSize frame = window->frameGeometry().size() - window->size();
        window->resize(screen.size() - frame);
        window->move(screen.topLeft());
        width = window->width();
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        ASSERT_TRUE(QTest::qWaitFor([&] { return workbench() != nullptr; }, 2000));
    }
    // Opens the split pane and the copilot drawer and waits for the drawer to take its width.
    void openSplitAndDrawer()
    {
        clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
        click(u"agentButton"_s);
        ASSERT_TRUE(QTest::qWaitFor([&] { return find(u"drawerColumn"_s)->width() == 341; }, 3000));
        QCoreApplication::processEvents();
    }
    [[nodiscard]] CampaignThreadWorkbenchView *workbench() const
    {
        return qobject_cast<CampaignThreadWorkbenchView *>(window->destinationArea()->currentView());
    }
    QRect screen;
    int width = 0;

    // Every tab of the shown thread holds the first tab's cards (the user's, the agents' with their
    // links, tool runs and a gate waiting for its decision) and a text too long to show whole.
    void fillTimelines() const
    {
        model().mutateThread(workbench()->threadID(), [](CampaignIDEThread &thread) {
            QList<CampaignTimelineEntry> entries = thread.agentTabs.constFirst().entries;
            CampaignTimelineEntry cut = entries.constLast();
            cut.id = QUuid::createUuid();
            cut.text = u"forty-two "_s.repeated(2100);
            cut.inlineApproval.reset();
            cut.artifactLink = IDEWorkbenchView::localFiles;
            entries.append(cut);
            for (CampaignAgentTab &tab : thread.agentTabs)
                tab.entries = entries;
        });
        QCoreApplication::processEvents();
    }

    // Every control that a card of the pane's timeline paints lies inside the timeline's viewport
    // (so inside the pane, clear of its scroll bar), and the gate's texts break only at spaces.
    static void expectTimelineControlsInside(AgentThreadPane *pane, const QString &where)
    {
        const std::string at = where.toStdString() + ' ' + pane->objectName().toStdString();
        TimelineListView *list = pane->timeline()->listView();
        list->doItemsLayout();
        const TimelineEntryDelegate *delegate = list->entryDelegate();
        const auto *entries = qobject_cast<const TimelineEntryListModel *>(list->model());
        QSet<TimelineCardLayout::HitKind> kinds;
        for (int row = 0; row < entries->entryCount(); ++row) {
            const QModelIndex index = entries->index(row);
            const TimelineCardLayout &card = delegate->cardLayout(index);
            for (const int hit : card.controlHits()) {
                const TimelineCardLayout::Hit &control = card.hits.at(hit);
                kinds.insert(control.kind);
                const QRect rect = delegate->controlRect(index, control.kind, control.id).value_or(QRect());
                EXPECT_TRUE(rect.left() >= 0 && rect.right() < list->viewport()->width())
                    << at << " \"" << control.label.toStdString() << "\" spans " << rect.left() << ".." << rect.right()
                    << " in a viewport " << list->viewport()->width() << " wide";
            }
            // The gate's title, figures and button label.
            const auto &gate = entries->entryAt(row).inlineApproval;
            for (const TimelineCardLayout::Piece &piece : card.pieces) {
                if (!gate || !piece.wrapped
                    || !QStringList { gate->title, gate->beforeSummary, gate->afterSummary, u"Approve & Execute"_s }
                            .contains(piece.text))
                    continue;
                // At spaces; inside a word only when it is wider than the line, and never in a figure.
                for (int line = 1; line < piece.wrapped->lineCount(); ++line) {
                    const int start = piece.wrapped->lineAt(line).textStart();
                    const QChar before = piece.text.at(start - 1);
                    if (before.isSpace())
                        continue;
                    const qsizetype from = piece.text.lastIndexOf(u' ', start) + 1;
                    const QString word = piece.text.mid(from, piece.text.indexOf(u' ', start) - from);
                    EXPECT_GT(QFontMetricsF(piece.font).horizontalAdvance(word), piece.rect.width()) << at;
                    EXPECT_FALSE(before.isDigit() && piece.text.at(start).isDigit())
                        << at << " \"" << piece.text.toStdString() << "\" broken at " << start;
                }
            }
        }
        EXPECT_EQ(kinds.size(), 6) << at << ": links, tool runs, the gate's buttons and the cut text's two";
    }

    void expectWhole(QWidget *column, const char *what) const
    {
        ASSERT_TRUE(column->isVisible()) << what;
        const QRect inWindow(column->mapTo(window.get(), QPoint()), column->size());
        EXPECT_TRUE(window->rect().contains(inWindow)) << what << " is cut by the window";
    }
};

TEST_F(NarrowScreenTest, ColumnsGiveWayInsteadOfTheWindowLeavingTheScreen)
{
    ASSERT_NO_FATAL_FAILURE(openSplitAndDrawer());
    EXPECT_LE(window->width(), width);
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << "the window stays on its screen: " << frame.x() << ',' << frame.y() << ' '
                                        << frame.width() << 'x' << frame.height();
    expectWhole(find(u"sidebar"_s), "sidebar");
    expectWhole(workbench()->primaryPane(), "primary pane");
    expectWhole(workbench()->secondaryPane(), "secondary pane");
    expectWhole(find(u"workbenchColumn"_s), "workbench column");
    expectWhole(find(u"copilotDrawer"_s), "drawer");
    // The panes give way down to the least their rows need, then the workbench column: the header's
    // titles end in an ellipsis rather than being cut.
    expectNoTextCut(workbench()->headerBar(), u"narrow screen"_s);
    expectNoTextCut(workbench()->primaryPane(), u"narrow screen"_s);
    expectNoTextCut(workbench()->secondaryPane(), u"narrow screen"_s);
    keepPicture(u"narrow-screen-split-drawer.png"_s);

    // Closed again, the columns have their usual minimums back.
    click(u"agentButton"_s);
    clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !find(u"drawerColumn"_s)->isVisible(); }, 3000));
    QCoreApplication::processEvents();
    EXPECT_EQ(window->width(), width);
    EXPECT_GE(workbench()->primaryPane()->width(), CampaignThreadWorkbenchView::primaryMinimumWidth);
    EXPECT_GE(find(u"workbenchColumn"_s)->width(), CampaignThreadWorkbenchView::workbenchMinimumWidth);
}

// With the panes at their narrowest, the timeline's cards keep every control inside their pane.
TEST_F(NarrowScreenTest, TimelineControlsStayInsideThePanesAtTheirNarrowest)
{
    ASSERT_NO_FATAL_FAILURE(openSplitAndDrawer());
    ASSERT_NO_FATAL_FAILURE(fillTimelines());
    for (AgentThreadPane *pane : { workbench()->primaryPane(), workbench()->secondaryPane() }) {
        EXPECT_LE(pane->width(), pane->minimumSizeHint().width() + 2) << "at its narrowest";
        expectTimelineControlsInside(pane, u"narrow screen"_s);
    }
    keepPicture(u"narrow-screen-timeline-controls.png"_s);
}

// With the split and the drawer open on that screen, the media-plan table keeps its pinned columns
// beside its rows and shows each title once, at both ends of its sideways scroll.
TEST_F(NarrowScreenTest, MediaPlanTitlesShowOnceBesideThePinnedColumns)
{
    ASSERT_NO_FATAL_FAILURE(openSplitAndDrawer());
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    auto *view = find<MediaPlanTableView>(u"mediaPlanTableView"_s);
    ASSERT_NE(view, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->pinnedColumns()->isVisible(); }, 2000));
    QCoreApplication::processEvents();
    expectMediaPlanTitlesWholeBesideThePin(
        view, [&](const QString &scrolled) { keepPicture(u"narrow-screen-table-"_s + scrolled + u".png"_s); });
}

// --- The common 1440 x 900 screen, and a wider one -------------------------------------------------

// On a 1440 x 900 screen the window cannot grow: with the drawer, and with the drawer and the split,
// the workbench column keeps its 520 and the agent panes give way. No text of the header bar or the
// panes is cut mid-glyph (a one-line text without room ends in "…"), and the plan document fits its
// column.
class CommonScreenTest : public NarrowScreenTest {
protected:
    void SetUp() override { standOn({ 0, 0, 1440, 900 }); }

    void expectWholeWorkbench(const QString &where) const
    {
        const std::string at = where.toStdString();
        EXPECT_LE(window->width(), width) << at;
        EXPECT_TRUE(screen.contains(window->frameGeometry())) << at;
        QWidget *column = find(u"workbenchColumn"_s);
        EXPECT_GE(column->width(), CampaignThreadWorkbenchView::workbenchMinimumWidth) << at;
        expectWhole(column, "workbench column");
        expectWhole(find(u"copilotDrawer"_s), "drawer");
        expectNoTextCut(workbench()->headerBar(), where);
        expectNoTextCut(workbench()->primaryPane(), where);
        if (AgentThreadPane *secondary = workbench()->secondaryPane(); secondary && secondary->isVisible())
            expectNoTextCut(secondary, where);
        // Nothing of the plan lies past the column's edge.
        auto *plan = find<QAbstractScrollArea>(u"planDocumentScrollArea"_s);
        ASSERT_TRUE(plan->isVisible()) << at;
        EXPECT_EQ(plan->horizontalScrollBar()->maximum(), 0) << at;
        const QRect planRect(plan->mapTo(column, QPoint()), plan->size());
        EXPECT_TRUE(column->rect().contains(planRect)) << at;
        expectSelectedChipWhole(workbench()->primaryPane(), where);
        if (AgentThreadPane *secondary = workbench()->secondaryPane(); secondary && secondary->isVisible())
            expectSelectedChipWhole(secondary, where);
    }

    // The pane's selected chip lies whole inside its strip, its close button too; a chip wider than
    // the strip shortens its title (and handle) with "…" rather than be cut by the strip's edge.
    static void expectSelectedChipWhole(AgentThreadPane *pane, const QString &where)
    {
        const std::string at = where.toStdString() + ' ' + pane->objectName().toStdString();
        auto *strip = pane->findChild<QScrollArea *>(u"agentTabScrollArea"_s);
        const QList<AgentTabChip *> chips = pane->chips();
        const auto selected = std::ranges::find_if(chips, [](auto *chip) { return chip->isSelected(); });
        ASSERT_NE(selected, chips.cend()) << at;
        AgentTabChip *chip = *selected;
        const auto inStrip = [&] {
            const QRect rect(chip->mapTo(strip->viewport(), QPoint()), chip->size());
            return strip->viewport()->rect().contains(rect);
        };
        EXPECT_TRUE(QTest::qWaitFor(inStrip, 2000))
            << at << " chip " << chip->width() << " wide in a strip of " << strip->viewport()->width();
        for (const QString &name : { u"agentTabHandleLabel"_s, u"agentTabTitleLabel"_s }) {
            auto *label = chip->findChild<ElidedLabel *>(name);
            ASSERT_NE(label, nullptr) << at;
            const QString drawn = label->drawnText();
            EXPECT_TRUE(drawn == label->text() || drawn.endsWith(u'\u2026'))
                << at << " \"" << label->text().toStdString() << "\" drawn as \"" << drawn.toStdString() << '"';
            EXPECT_TRUE(chip->rect().contains(QRect(label->mapTo(chip, QPoint()), label->size()))) << at;
        }
        if (chips.size() > 1) {
            QWidget *close = chip->closeButton();
            EXPECT_TRUE(close->isVisible()) << at;
            EXPECT_TRUE(chip->rect().contains(QRect(close->mapTo(chip, QPoint()), close->size()))) << at;
        }
    }
};

TEST_F(CommonScreenTest, TheWorkbenchKeepsItsWidthAndNoTextIsCut)
{
    for (const bool dark : { true, false }) {
        model().setDarkTheme(dark);
        const QString theme = dark ? u"dark"_s : u"light"_s;
        click(u"agentButton"_s);
        settle();
        expectWholeWorkbench(theme + u" drawer"_s);
        keepPicture(u"screen-1440-drawer-"_s + theme + u".png"_s);

        clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return workbench()->secondaryPane() && workbench()->secondaryPane()->isVisible(); }, 2000));
        settle();
        expectWholeWorkbench(theme + u" drawer and split"_s);
        keepPicture(u"screen-1440-drawer-split-"_s + theme + u".png"_s);

        clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
        click(u"agentButton"_s);
        settle();
        EXPECT_EQ(window->width(), width);
    }
}

// In both themes, with the drawer and the split, the panes' cards keep their controls inside, and
// the quick-prompt strips of the two panes stop short of the rule between them: a chip scrolled
// under a strip's edge never runs into the chips of the pane beside it.
TEST_F(CommonScreenTest, NarrowPanesKeepTheirCardsAndQuickPromptsApart)
{
    click(u"agentButton"_s);
    clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return workbench()->secondaryPane() && workbench()->secondaryPane()->isVisible(); }, 2000));
    settle();
    ASSERT_NO_FATAL_FAILURE(fillTimelines());
    AgentThreadPane *primary = workbench()->primaryPane();
    AgentThreadPane *secondary = workbench()->secondaryPane();
    for (const bool dark : { true, false }) {
        model().setDarkTheme(dark);
        settle();
        const QString theme = dark ? u"dark"_s : u"light"_s;
        expectTimelineControlsInside(primary, theme);
        expectTimelineControlsInside(secondary, theme);

        // The left strip cut at its right edge, the right one scrolled so a chip is cut at its left.
        auto *left = primary->findChild<QScrollArea *>(u"quickPromptScrollArea"_s);
        auto *right = secondary->findChild<QScrollArea *>(u"quickPromptScrollArea"_s);
        ASSERT_GT(left->widget()->width(), left->viewport()->width());
        left->horizontalScrollBar()->setValue(0);
        right->horizontalScrollBar()->setValue(30);
        QCoreApplication::processEvents();
        const QImage picture = window->grab().toImage();
        QWidget *rule = workbench()->splitter()->handle(1);
        const QRect ruleRect(rule->mapTo(window.get(), QPoint()), rule->size());
        const QWidget *row = primary->findChild<QWidget *>(u"quickPromptRow"_s);
        const QRect rowRect(row->mapTo(window.get(), QPoint()), row->size());
        const QColor background = OrvaneWebTheme(dark).sidebarBackground();
        int chipPixels = 0;
        for (int y = rowRect.top(); y <= rowRect.bottom(); ++y) {
            for (int dx = 1; dx <= 4; ++dx) {
                chipPixels += picture.pixelColor(ruleRect.left() - dx, y) != background;
                chipPixels += picture.pixelColor(ruleRect.right() + dx, y) != background;
            }
        }
        EXPECT_EQ(chipPixels, 0) << theme.toStdString() << ": chips within 4 pixels of the rule";
        keepCloseUp(workbench(), u"screen-1440-narrow-panes-"_s + theme + u".png"_s);
    }
}

// On a wider screen the split and the drawer take their full widths: the window grows to the sum of
// the columns' minimums (sidebar 248, primary pane 360, split pane 320, workbench 520, drawer 340 and
// the four rules between them, 1792 in all) and stays on its screen; closed, it goes back.
class WideScreenTest : public NarrowScreenTest {
protected:
    void SetUp() override
    {
        standOn({ 0, 0, 1920, 1080 });
        // At its default size in the middle of the screen, as a desktop places it.
        window->resize(1440, 900);
        window->move((screen.width() - window->frameGeometry().width()) / 2, 60);
        QCoreApplication::processEvents();
    }
};

TEST_F(WideScreenTest, SplitAndDrawerGrowTheWindowOnItsScreen)
{
    const QPoint place = window->pos();
    ASSERT_NO_FATAL_FAILURE(openSplitAndDrawer());
    EXPECT_EQ(window->width(), 1792);
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(screen.contains(frame)) << frame.x() << ',' << frame.y() << ' ' << frame.width() << 'x'
                                        << frame.height();
    EXPECT_GE(workbench()->primaryPane()->width(), CampaignThreadWorkbenchView::primaryMinimumWidth);
    EXPECT_GE(workbench()->secondaryPane()->width(), CampaignThreadWorkbenchView::secondaryMinimumWidth);
    EXPECT_GE(find(u"workbenchColumn"_s)->width(), CampaignThreadWorkbenchView::workbenchMinimumWidth);
    expectNoTextCut(workbench()->headerBar(), u"wide screen"_s);
    expectNoTextCut(workbench()->primaryPane(), u"wide screen"_s);
    expectNoTextCut(workbench()->secondaryPane(), u"wide screen"_s);
    keepPicture(u"screen-1920-drawer-split.png"_s);

    click(u"agentButton"_s);
    clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->width() == 1440; }, 3000)) << window->width();
    EXPECT_EQ(window->pos(), place);
}

} // namespace
} // namespace orvane::windowtest
