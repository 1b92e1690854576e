#include "WorkspaceWindowFixture.h"

#include "MediaPlanTitleProbe.h"

#include "ide/views/canvas/CompetitorExplorerTabView.h"
#include "ide/views/governance/CampaignLaunchApprovalModal.h"
#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/sheets/QuickActionCardDelegate.h"
#include "ide/views/sheets/RecommendedActionListModel.h"
#include "ide/views/sidebar/SidebarListView.h"
#include "ide/views/sidebar/SidebarNavigationView.h"
#include "ide/views/thread/AgentTabChip.h"
#include "ide/views/thread/AgentThreadPane.h"
#include "ide/views/thread/CampaignThreadWorkbenchView.h"
#include "ide/views/thread/WorkbenchHeaderBar.h"
#include "ide/views/window/DestinationArea.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WindowWidthKeeper.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/workbench/MediaPlanTableDelegate.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/MediaPlanTableView.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QToolTip>

#include <cstring>

namespace orvane::windowtest {
namespace {

enum class Arrangement { plain, splitPane, drawerOpen };

struct Look {
    bool dark;
    Arrangement arrangement;
};

std::string lookName(const testing::TestParamInfo<Look> &info)
{
    static const char *const arrangements[] = { "Plain", "SplitPane", "DrawerOpen" };
    return std::string(info.param.dark ? "Dark" : "Light") + arrangements[int(info.param.arrangement)];
}

// The window as a user finds it at its default size: every destination and every workbench tab,
// whole and in the theme's colours.
class WindowWholenessTest : public WorkspaceWindowTest, public testing::WithParamInterface<Look> {
protected:
    void SetUp() override
    {
        WorkspaceWindowTest::SetUp();
        makeWindow();
        model().setDarkTheme(GetParam().dark);
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        ASSERT_TRUE(QTest::qWaitFor([&] { return workbench() != nullptr; }, 2000));
        if (GetParam().arrangement == Arrangement::splitPane)
            clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
        if (GetParam().arrangement == Arrangement::drawerOpen) {
            click(u"agentButton"_s);
            ASSERT_TRUE(QTest::qWaitFor([&] { return find(u"copilotDrawer"_s)->isVisible(); }, 2000));
        }
        settle();
    }

    [[nodiscard]] CampaignThreadWorkbenchView *workbench() const
    {
        return qobject_cast<CampaignThreadWorkbenchView *>(window->destinationArea()->currentView());
    }
    [[nodiscard]] QString pictureName(const QString &what) const
    {
        return QString::fromStdString(lookName({ GetParam(), 0 })) + u'-' + what + u".png"_s;
    }

    static void expectWithin(QWidget *widget, QWidget *column, const QString &what)
    {
        ASSERT_TRUE(widget->isVisible()) << what.toStdString();
        const QRect inColumn(widget->mapTo(column, QPoint()), widget->size());
        EXPECT_TRUE(column->rect().contains(inColumn)) << what.toStdString() << " is cut by its column";
    }

    // Every column at least as wide as its minimum.
    void expectColumnMinimums(const QString &where) const
    {
        const std::string at = where.toStdString();
        CampaignThreadWorkbenchView *view = workbench();
        if (view && view->isVisible()) {
            EXPECT_GE(view->primaryPane()->width(), CampaignThreadWorkbenchView::primaryMinimumWidth) << at;
            if (view->secondaryPane() && view->secondaryPane()->isVisible()) {
                EXPECT_GE(view->secondaryPane()->width(), CampaignThreadWorkbenchView::secondaryMinimumWidth) << at;
            }
            EXPECT_GE(find(u"workbenchColumn"_s)->width(), CampaignThreadWorkbenchView::workbenchMinimumWidth) << at;
        }
        if (!model().isSidebarCollapsed()) {
            EXPECT_EQ(find(u"sidebar"_s)->width(), 248) << at;
        }
        if (model().agentDrawerOpen()) {
            EXPECT_EQ(find(u"copilotDrawer"_s)->width(), 340) << at;
            EXPECT_LE(find(u"copilotDrawer"_s)->mapTo(window.get(), QPoint()).x() + 340, window->width()) << at;
        }
    }

    // The header's buttons and each of their texts shown whole inside the workbench column.
    void expectWholeHeader(const QString &where) const
    {
        QWidget *column = find(u"workbenchColumn"_s);
        QList<QWidget *> buttons { find(u"saveLocalButton"_s), find(u"approveLaunchButton"_s) };
        for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews())
            buttons.append(find(WorkbenchHeaderBar::tabButtonName(view)));
        for (QWidget *button : buttons) {
            const QString what = where + u' ' + button->objectName();
            expectWithin(button, column, what);
            for (QLabel *label : button->findChildren<QLabel *>()) {
                EXPECT_TRUE(label->isVisible()) << what.toStdString() << " hides " << label->text().toStdString();
                EXPECT_GE(label->width(), label->sizeHint().width()) << what.toStdString();
            }
        }
    }

    // No scroll area inside the widget scrolls sideways.
    static void expectNoSidewaysScrolling(QWidget *surface, const QString &where)
    {
        for (QAbstractScrollArea *area : surface->findChildren<QAbstractScrollArea *>()) {
            if (area->isVisible()) {
                EXPECT_EQ(area->horizontalScrollBar()->maximum(), 0)
                    << where.toStdString() << ' ' << area->objectName().toStdString();
            }
        }
    }

    // The scrolling lists of the side columns lie on the sidebar's colour, not the canvas.
    void expectSidebarGround(QWidget *column, const QString &scrollAreaName) const
    {
        auto *area = column->findChild<QScrollArea *>(scrollAreaName);
        ASSERT_NE(area, nullptr) << scrollAreaName.toStdString();
        QWidget *viewport = area->viewport();
        // A point of the list that none of its rows covers.
        const auto covered = [area, viewport](QPoint point) {
            const QList<QWidget *> parts = area->widget()->findChildren<QWidget *>();
            return std::any_of(parts.cbegin(), parts.cend(), [&](QWidget *part) {
                return part->isVisible() && QRect(part->mapTo(viewport, QPoint()), part->size()).contains(point);
            });
        };
        QPoint free(viewport->width() - 2, viewport->height() / 2);
        while (free.x() > 0 && covered(free))
            free.rx() -= 1;
        ASSERT_GT(free.x(), 0) << scrollAreaName.toStdString();
        const QImage image = window->grab().toImage();
        EXPECT_EQ(image.pixelColor(viewport->mapTo(window.get(), free) * image.devicePixelRatio()),
            OrvaneWebTheme(GetParam().dark).sidebarBackground())
            << scrollAreaName.toStdString();
    }

    void expectThemedPopups() const
    {
        const QPalette theme = OrvaneWebTheme(GetParam().dark).palette();
        for (const QString &name : { u"approvalModeMenu"_s, u"addSpecialistMenu"_s, u"mentionMenu"_s }) {
            auto *menu = find<QWidget>(name);
            for (const QPalette::ColorRole role : { QPalette::Window, QPalette::WindowText }) {
                EXPECT_EQ(menu->palette().color(role), theme.color(role)) << name.toStdString();
            }
        }
        EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipBase), theme.color(QPalette::ToolTipBase));
        EXPECT_EQ(QToolTip::palette().color(QPalette::ToolTipText), theme.color(QPalette::ToolTipText));
    }
};

// The texts a person reads first are whole: the project menu's breadcrumb (the centre title gives
// way first), the quick actions' categories and impacts in the drawer, and the selected agent chip
// of every pane inside its strip, not scrolled past its edge.
TEST_P(WindowWholenessTest, BreadcrumbCategoriesAndSelectedChipsAreWhole)
{
    auto *breadcrumb = find<ElidedLabel>(u"breadcrumbLabel"_s);
    EXPECT_FALSE(breadcrumb->text().isEmpty());
    EXPECT_EQ(breadcrumb->drawnText(), breadcrumb->text());
    EXPECT_GE(breadcrumb->width(), breadcrumb->sizeHint().width());
    // A long thread title is cut in the centre, never the breadcrumb.
    model().renameThread(model().activeThread()->id, QString(u"A long campaign thread title "_s).repeated(8));
    settle();
    EXPECT_TRUE(find<ElidedLabel>(u"centreTitleLabel"_s)->drawnText().endsWith(u'…'));
    EXPECT_EQ(breadcrumb->drawnText(), breadcrumb->text());

    QList<AgentThreadPane *> panes { workbench()->primaryPane() };
    if (GetParam().arrangement == Arrangement::splitPane)
        panes.append(workbench()->secondaryPane());
    for (AgentThreadPane *pane : panes) {
        ASSERT_NE(pane, nullptr);
        auto *strip = pane->findChild<QScrollArea *>(u"agentTabScrollArea"_s);
        const QList<AgentTabChip *> chips = pane->chips();
        const auto selected = std::find_if(chips.cbegin(), chips.cend(), [](auto *chip) { return chip->isSelected(); });
        ASSERT_NE(selected, chips.cend()) << pane->objectName().toStdString();
        const auto inStrip = [&] {
            const QRect chip((*selected)->mapTo(strip->viewport(), QPoint()), (*selected)->size());
            return strip->viewport()->rect().contains(chip);
        };
        EXPECT_TRUE(QTest::qWaitFor(inStrip, 2000)) << pane->objectName().toStdString() << " hides its selected chip";
    }

    if (!model().agentDrawerOpen())
        return;
    auto *cards = find<QListView>(u"quickActionList"_s);
    const int width = cards->viewport()->width() - 2 * QuickActionCardDelegate::cardPadding;
    const QFontMetrics metrics(QuickActionCardDelegate::kickerFont());
    ASSERT_GT(cards->model()->rowCount(), 0);
    for (int row = 0; row < cards->model()->rowCount(); ++row) {
        const QModelIndex index = cards->model()->index(row, 0);
        const QString category = index.data(RecommendedActionListModel::CategoryRole).toString();
        const QString impact = index.data(RecommendedActionListModel::ImpactRole).toString();
        const auto kicker = QuickActionCardDelegate::kickerRow(category, impact, width);
        const std::string what = category.toStdString();
        EXPECT_EQ(kicker.categoryLines.join(u' '), category) << what;
        // Each category needs less than half the row: it keeps to one line.
        EXPECT_EQ(kicker.categoryLines.size(), 1) << what;
        EXPECT_EQ(kicker.impactLines.join(u' '), impact) << what;
        for (const QString &line : kicker.categoryLines)
            EXPECT_LE(metrics.horizontalAdvance(line), kicker.categoryRect.width()) << what;
        for (const QString &line : kicker.impactLines)
            EXPECT_LE(metrics.horizontalAdvance(line), kicker.impactRect.width()) << what;
        EXPECT_GE(kicker.categoryRect.left(), 0) << what;
        EXPECT_LT(kicker.categoryRect.right(), kicker.impactRect.left()) << what;
        EXPECT_LE(kicker.impactRect.right(), width) << what;
    }
    keepCloseUp(find(u"copilotDrawer"_s), pictureName(u"DrawerCloseUp"_s));
}

// The drawer and the split pane widen the window only while they need the room: closed, the window
// has the width it had before, with every column still at least its minimum.
TEST_P(WindowWholenessTest, TheWindowGetsItsWidthBackWhenTheColumnsClose)
{
    switch (GetParam().arrangement) {
    case Arrangement::plain:
        click(u"agentButton"_s);
        settle();
        EXPECT_GT(window->width(), 1440);
        expectColumnMinimums(u"drawer opened"_s);
        click(u"agentButton"_s);
        break;
    case Arrangement::splitPane:
        EXPECT_GT(window->width(), 1440);
        clickOn(workbench()->primaryPane(), u"splitToggleButton"_s);
        break;
    case Arrangement::drawerOpen:
        EXPECT_GT(window->width(), 1440);
        click(u"copilotDrawerCloseButton"_s);
        break;
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->width() == 1440; }, 3000)) << window->width();
    settle();
    EXPECT_EQ(window->width(), 1440);
    expectColumnMinimums(u"closed again"_s);
    EXPECT_FALSE(window->widthKeeper()->widthToRestore().has_value());

    // A width the user picks while the drawer is open is the one kept when it closes.
    if (GetParam().arrangement != Arrangement::plain)
        return;
    click(u"agentButton"_s);
    settle();
    window->resize(1600, 900);
    click(u"agentButton"_s);
    settle();
    EXPECT_EQ(window->width(), 1600);
    window->resize(1440, 900);
}

TEST_P(WindowWholenessTest, EveryTabAndDestinationIsWholeInTheTheme)
{
    expectThemedPopups();
    expectSidebarGround(window.get(), u"sidebarScrollArea"_s);
    expectSidebarGround(workbench()->primaryPane(), u"agentTabScrollArea"_s);
    if (model().agentDrawerOpen())
        expectSidebarGround(window.get(), u"copilotDrawerScrollArea"_s);
    for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
        click(WorkbenchHeaderBar::tabButtonName(view));
        ASSERT_TRUE(QTest::qWaitFor([&] { return workbench()->currentSurface()->isVisible(); }, 2000));
        settle();
        const QString where = rawValue(view);
        expectColumnMinimums(where);
        expectWholeHeader(where);
        if (view != IDEWorkbenchView::table && view != IDEWorkbenchView::localFiles)
            expectNoSidewaysScrolling(workbench()->currentSurface(), where);
        keepPicture(pictureName(QString(rawValue(view)).remove(u' ')));
    }

    // The smallest window still holds every column at its minimum.
    window->resize(window->minimumSizeHint());
    settle();
    expectColumnMinimums(u"minimum size"_s);
    expectWholeHeader(u"minimum size"_s);
    keepPicture(pictureName(u"Minimum"_s));
    window->resize(1440, 900);
    settle();

    for (const QString &destination : { u"projectsNavButton"_s, u"campaignsNavButton"_s, u"agentsNavButton"_s,
             u"assetsNavButton"_s, u"connectionsNavButton"_s, u"reportsNavButton"_s, u"settingsNavButton"_s }) {
        click(destination);
        settle();
        expectColumnMinimums(destination);
        expectNoSidewaysScrolling(window->destinationArea(), destination);
        keepPicture(pictureName(destination));
    }
}

// --- Menu dividers ----------------------------------------------------------------------------------

// The dividers of the row menus and the top bar's project menu stand out from the menu's own
// background in the theme's border colour.
TEST_P(WindowWholenessTest, MenuDividersShowOnTheMenu)
{
    const auto expectVisibleDividers = [this](QMenu *menu, const QString &what) {
        ASSERT_NE(menu, nullptr) << what.toStdString();
        ASSERT_TRUE(QTest::qWaitFor([menu] { return menu->isVisible(); }, 2000)) << what.toStdString();
        const QImage image = menu->grab().toImage();
        keepCloseUp(menu, pictureName(what));
        int dividers = 0;
        for (QAction *action : menu->actions()) {
            if (!action->isSeparator())
                continue;
            ++dividers;
            const QRect rect = menu->actionGeometry(action);
            const int x = rect.center().x();
            const QColor ground = image.pixelColor(QPoint(x, rect.top()) * image.devicePixelRatio());
            int strongest = 0;
            for (int y = rect.top(); y <= rect.bottom(); ++y) {
                const QColor pixel = image.pixelColor(QPoint(x, y) * image.devicePixelRatio());
                strongest = std::max({ strongest, std::abs(pixel.red() - ground.red()),
                    std::abs(pixel.green() - ground.green()), std::abs(pixel.blue() - ground.blue()) });
            }
            EXPECT_GE(strongest, 32) << what.toStdString() << " divider " << dividers << " on "
                                     << ground.name().toStdString();
        }
        EXPECT_GT(dividers, 0) << what.toStdString();
        menu->close();
    };

    auto *sidebar = window->findChild<SidebarNavigationView *>();
    ASSERT_NE(sidebar, nullptr);
    auto *threads = find<SidebarListView>(u"recentThreadList"_s);
    expectVisibleDividers(
        sidebar->popUpThreadMenu(threads, 0, threads->mapToGlobal(QPoint(20, 10))), u"ThreadRowMenu"_s);
    expectVisibleDividers(sidebar->popUpProjectMenu(0, threads->mapToGlobal(QPoint(20, 10))), u"ProjectRowMenu"_s);
    click(u"projectMenuButton"_s);
    expectVisibleDividers(find<QMenu>(u"projectMenu"_s), u"ProjectMenu"_s);

    // The other theme recolours a menu in place.
    model().setDarkTheme(!GetParam().dark);
    settle();
    expectVisibleDividers(
        sidebar->popUpThreadMenu(threads, 0, threads->mapToGlobal(QPoint(20, 10))), u"ThreadRowMenuSwitched"_s);
    click(u"projectMenuButton"_s);
    expectVisibleDividers(find<QMenu>(u"projectMenu"_s), u"ProjectMenuSwitched"_s);
}

INSTANTIATE_TEST_SUITE_P(AtTheDefaultSize, WindowWholenessTest,
    testing::Values(Look { true, Arrangement::plain }, Look { true, Arrangement::splitPane },
        Look { true, Arrangement::drawerOpen }, Look { false, Arrangement::plain },
        Look { false, Arrangement::splitPane }, Look { false, Arrangement::drawerOpen }),
    lookName);

// --- Workbench tabs and the launch gate at the default size ------------------------------------

// Where a user finds the row's status and delete button: in the pinned columns while the table
// scrolls sideways, else in the table itself; the cell rectangle in the table's coordinates.
QRect shownCell(MediaPlanTableView *view, int row, int column)
{
    QTableView *pinned = view->pinnedColumns();
    QTableView *sheet = pinned->isVisible() ? pinned : view->table();
    const QRect cell = sheet->visualRect(sheet->model()->index(row, column));
    return QRect(sheet->viewport()->mapTo(view->table(), cell.topLeft()), cell.size());
}

TEST_P(WindowWholenessTest, MediaPlanRowsKeepTheirStatusAndDeleteButtonInView)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    settle();
    auto *view = find<MediaPlanTableView>(u"mediaPlanTableView"_s);
    ASSERT_NE(view, nullptr);
    const int rows = view->tableModel()->rowCount();
    ASSERT_GT(rows, 0);
    const auto expectStatusAndDeleteInView = [&](const QString &where) {
        // The rows in view and the pinned columns beside them.
        QRect viewport = view->table()->viewport()->geometry();
        if (view->pinnedColumns()->isVisible())
            viewport = viewport.united(view->pinnedColumns()->geometry());
        ASSERT_EQ(view->table()->horizontalScrollBar()->value(), 0);
        for (int row = 0; row < rows; ++row) {
            const QRect status = shownCell(view, row, MediaPlanTableModel::status);
            const QRect remove = media_plan_layout::deleteRect(shownCell(view, row, MediaPlanTableModel::actions));
            // Sideways: rows below the fold are a vertical scroll away.
            const auto across = [&viewport](const QRect &rect) {
                return rect.left() >= viewport.left() && rect.right() <= viewport.right();
            };
            EXPECT_TRUE(across(status)) << where.toStdString() << ": status of row " << row;
            EXPECT_TRUE(across(remove)) << where.toStdString() << ": delete button of row " << row;
        }
        // The pinned columns show whole: the gap before the status, the status and the button.
        if (view->pinnedColumns()->isVisible()) {
            EXPECT_EQ(view->pinnedColumns()->horizontalHeader()->length(), view->pinnedColumns()->viewport()->width())
                << where.toStdString();
        }
        // The text columns give way, no further than their minimum.
        for (const int column : { MediaPlanTableModel::campaignName, MediaPlanTableModel::audience }) {
            EXPECT_GE(view->table()->columnWidth(column), media_plan_layout::minimumTextWidth) << where.toStdString();
        }
    };
    window->resize(window->minimumSizeHint());
    settle();
    expectStatusAndDeleteInView(u"minimum size"_s);
    keepPicture(pictureName(u"TableMinimum"_s));
    window->resize(1440, 900);
    settle();
    expectStatusAndDeleteInView(u"1440 x 900"_s);
    keepPicture(pictureName(u"TablePinned"_s));

    // The button where the user sees it deletes its row, without any sideways scrolling.
    QTableView *pinned = view->pinnedColumns();
    QTableView *sheet = pinned->isVisible() ? pinned : view->table();
    const QRect remove
        = media_plan_layout::deleteRect(sheet->visualRect(sheet->model()->index(0, MediaPlanTableModel::actions)));
    const QUuid first = view->tableModel()->rows().first().id;
    QTest::mouseClick(sheet->viewport(), Qt::LeftButton, {}, remove.center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->tableModel()->rowCount() == rows - 1; }, 2000));
    EXPECT_NE(view->tableModel()->rows().first().id, first);
    EXPECT_EQ(view->table()->horizontalScrollBar()->value(), 0);
}

// Scrolled to either end, every title of the table shows once, nothing of the table lies under its
// pinned columns, and a title that an edge of the table cuts ends in "…" there; scrolling across,
// each title reads whole somewhere.
TEST_P(WindowWholenessTest, MediaPlanColumnTitlesShowOnceAndWholeAtBothScrollEnds)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    settle();
    auto *view = find<MediaPlanTableView>(u"mediaPlanTableView"_s);
    ASSERT_NE(view, nullptr);
    expectMediaPlanTitlesWholeBesideThePin(
        view, [&](const QString &scrolled) { test::keepPicture(view, pictureName(u"Table"_s + scrolled)); });
}

// What stays on screen after the table scrolls sideways by its arrows, a page and a drag of its
// handle is what a fresh paint of the rows and titles shows.
TEST_P(WindowWholenessTest, MediaPlanTableScrolledSidewaysShowsWhatAFreshPaintShows)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    settle();
    QTableView *table = find<MediaPlanTableView>(u"mediaPlanTableView"_s)->table();
    QScrollBar *sideways = table->horizontalScrollBar();
    ASSERT_GT(sideways->maximum(), 0) << "the columns are wider than the table";
    const auto expectOnScreenAsPainted = [&](const std::string &where) {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        // The platform's grab reads the window's backing store; a widget's grab() paints afresh.
        const QImage screen = window->screen()->grabWindow(window->winId()).toImage();
        for (QWidget *part : { table->viewport(), table->horizontalHeader()->viewport() }) {
            const QRect at(part->mapTo(window.get(), QPoint()) * screen.devicePixelRatio(),
                part->size() * screen.devicePixelRatio());
            const QImage shown = screen.copy(at).convertToFormat(QImage::Format_RGB32);
            const QImage fresh = part->grab().toImage().convertToFormat(QImage::Format_RGB32);
            ASSERT_EQ(shown.size(), fresh.size()) << where;
            int differing = 0;
            for (int y = 0; y < shown.height(); ++y)
                differing += std::memcmp(shown.constScanLine(y), fresh.constScanLine(y), shown.bytesPerLine()) ? 1 : 0;
            EXPECT_EQ(differing, 0) << where << ": lines of " << part->parentWidget()->metaObject()->className();
        }
    };
    for (int step = 1; step <= 12 && sideways->value() < sideways->maximum(); ++step) {
        sideways->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        expectOnScreenAsPainted(std::to_string(step) + " steps right");
    }
    sideways->triggerAction(QAbstractSlider::SliderPageStepAdd);
    expectOnScreenAsPainted("a page right");
    for (const int value : { sideways->maximum() / 2, 7 }) {
        sideways->setSliderPosition(value);
        expectOnScreenAsPainted("dragged to " + std::to_string(value));
    }
}

// Tab, Shift+Tab and Ctrl+Tab leave the table for the regions around it (the drawer when open, else
// the sidebar; back, the optimize button), from a cell or a cell's open field; the arrow keys move
// between cells, and Return opens a cell's field.
TEST_P(WindowWholenessTest, TabLeavesTheMediaPlanTable)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::table));
    settle();
    auto *view = find<MediaPlanTableView>(u"mediaPlanTableView"_s);
    QTableView *table = view->table();
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::keyClick(QApplication::focusWidget(), key, modifiers);
    };
    const auto leavesBy = [&](const std::string &how, bool onward) {
        QWidget *at = QApplication::focusWidget();
        EXPECT_TRUE(at && at != table && !table->isAncestorOf(at)) << how;
        const bool drawer = model().agentDrawerOpen() && find(u"copilotDrawer"_s)->isAncestorOf(at);
        const QString name = at ? at->objectName() : QString();
        EXPECT_TRUE(onward ? drawer || name == u"threadSearchField"_s : name == u"aiOptimizeTableButton"_s)
            << how << " reached " << name.toStdString();
    };
    table->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab);
    leavesBy("Tab", true);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), table);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    leavesBy("Shift+Tab", false);
    table->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Tab, Qt::ControlModifier);
    leavesBy("Ctrl+Tab", true);

    // The arrows move from cell to cell past the name and audience without opening their fields;
    // F2 opens one, and what is typed there stays as Tab leaves.
    table->setFocus(Qt::TabFocusReason);
    table->setCurrentIndex(view->tableModel()->index(0, MediaPlanTableModel::channel));
    const auto fieldOpen = [&] { return qobject_cast<QLineEdit *>(QApplication::focusWidget()) != nullptr; };
    for (const int column :
        { MediaPlanTableModel::campaignName, MediaPlanTableModel::audience, MediaPlanTableModel::dailyBudget }) {
        press(Qt::Key_Right);
        EXPECT_EQ(table->currentIndex().column(), column);
        EXPECT_EQ(QApplication::focusWidget(), table) << "a field opened at column " << column;
    }
    press(Qt::Key_Down);
    press(Qt::Key_Left);
    press(Qt::Key_Up);
    press(Qt::Key_Left);
    EXPECT_EQ(table->currentIndex(), view->tableModel()->index(0, MediaPlanTableModel::campaignName));
    EXPECT_EQ(QApplication::focusWidget(), table);
    press(Qt::Key_F2);
    ASSERT_TRUE(QTest::qWaitFor(fieldOpen));
    press(Qt::Key_End);
    press(Qt::Key_X);
    press(Qt::Key_Tab);
    leavesBy("Tab in a field", true);
    EXPECT_TRUE(view->tableModel()->rows().at(0).campaignName.endsWith(u'x'));
    // Escape closes the field, Return opens it again.
    table->setFocus(Qt::TabFocusReason);
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(fieldOpen));
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == table; }));
    press(Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(fieldOpen));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    leavesBy("Shift+Tab in a field", false);
}

// --- Another thread or a new project opens at its top --------------------------------------------

// The scroll areas of a surface that a user sees, with the names the messages give them.
QList<QAbstractScrollArea *> shownScrollAreas(QWidget *surface)
{
    QList<QAbstractScrollArea *> areas;
    for (QAbstractScrollArea *area : surface->findChildren<QAbstractScrollArea *>()) {
        if (area->isVisible())
            areas.append(area);
    }
    return areas;
}

// The document, table, dashboard, canvas, explorer and local files of the next thread shown start
// at their top, whatever the last thread's were scrolled to; so does a new project's document,
// its title in view.
TEST_P(WindowWholenessTest, AnotherThreadOrANewProjectOpensEverySurfaceAtItsTop)
{
    // Enough flights, ads and artboards in both threads to scroll each surface.
    ASSERT_GE(model().threads().size(), 2);
    for (const CampaignIDEThread &thread : model().threads()) {
        model().mutateThread(thread.id, [](CampaignIDEThread &grown) {
            const CampaignIDEThread seed = grown;
            for (int i = 0; i < 4; ++i) {
                for (CampaignMediaPlanRow row : seed.mediaPlanRows) {
                    row.id = QUuid::createUuid();
                    grown.mediaPlanRows.append(row);
                }
                for (CampaignCompetitorAd ad : seed.competitorAds) {
                    ad.id = QUuid::createUuid();
                    grown.competitorAds.append(ad);
                }
            }
        });
        model().mutateProject(thread.projectID, [](CampaignIDEProject &project) {
            const QList<CreativeCanvasArtboard> seed = project.creatives;
            for (int i = 0; i < 4; ++i) {
                for (CreativeCanvasArtboard artboard : seed) {
                    artboard.id = QUuid::createUuid();
                    project.creatives.append(artboard);
                }
            }
        });
    }
    // A long note in every project's folder gives Local Files (which wraps its lines) something to
    // scroll.
    QString note;
    for (int i = 0; i < 300; ++i)
        note += u"Line "_s + QString::number(i) + u" of the team's notes.\n"_s;
    for (const CampaignIDEProject &project : model().projects()) {
        QFile file(model().projectFolderPath(project) + u"/a-notes.md"_s);
        if (QFileInfo(file).dir().exists()) {
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(note.toUtf8()) > 0);
        }
    }
    const QUuid first = model().activeThread()->id;
    const QUuid second = model().threads().at(model().threads().at(0).id == first ? 1 : 0).id;
    settle();

    const auto scrollToTheEnd = [&] {
        for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
            click(WorkbenchHeaderBar::tabButtonName(view));
            settle();
            if (view == IDEWorkbenchView::localFiles) {
                ASSERT_TRUE(QTest::qWaitFor(
                    [&] {
                        for (const LocalWorkspaceFile &file : model().localFiles()) {
                            if (file.name == u"a-notes.md"_s) {
                                model().selectLocalFile(file.id());
                                return true;
                            }
                        }
                        return false;
                    },
                    3000));
                settle();
            }
            bool scrolled = false;
            for (QAbstractScrollArea *area : shownScrollAreas(workbench()->currentSurface())) {
                for (QScrollBar *bar : { area->verticalScrollBar(), area->horizontalScrollBar() }) {
                    bar->setValue(bar->maximum());
                    scrolled = scrolled || bar->value() > bar->minimum();
                }
            }
            EXPECT_TRUE(scrolled) << rawValue(view).toStdString() << " has nothing to scroll";
        }
    };
    const auto expectAtTheTop = [&](const QString &where) {
        for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
            click(WorkbenchHeaderBar::tabButtonName(view));
            settle();
            for (QAbstractScrollArea *area : shownScrollAreas(workbench()->currentSurface())) {
                const std::string what = where.toStdString() + ": " + rawValue(view).toStdString() + ' '
                    + area->objectName().toStdString();
                EXPECT_EQ(area->verticalScrollBar()->value(), area->verticalScrollBar()->minimum()) << what;
                EXPECT_EQ(area->horizontalScrollBar()->value(), area->horizontalScrollBar()->minimum()) << what;
            }
        }
    };
    scrollToTheEnd();
    model().openThread(second);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workbench() && workbench()->threadID() == second; }, 2000));
    settle();
    expectAtTheTop(u"another project's thread"_s);

    // A new thread of the same project: the same artboards and local files, at their top.
    scrollToTheEnd();
    click(u"newThreadButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return workbench() && workbench()->threadID() != second; }, 2000));
    settle();
    ASSERT_EQ(model().activeThread()->projectID, model().thread(second)->projectID);
    expectAtTheTop(u"a new thread"_s);

    // A new project opens its document with the title in view.
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::document));
    settle();
    auto *document = find<QAbstractScrollArea>(u"planDocumentScrollArea"_s);
    document->verticalScrollBar()->setValue(document->verticalScrollBar()->maximum());
    ASSERT_GT(document->verticalScrollBar()->value(), 0);
    state().setShowingNewProjectSheet(true);
    WorkspaceSheetFrame *sheet = shownSheet(WorkspaceSheet::newProject);
    ASSERT_NE(sheet, nullptr);
    QTest::keyClicks(find<QLineEdit>(u"newProjectNameField"_s), u"Q3 Retargeting Sprint"_s);
    const QUuid quick = workbench()->threadID();
    click(u"createProjectButton"_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return workbench() && workbench()->threadID() != quick && workbench()->threadID() != second
                && workbench()->threadID() != first;
        },
        2000));
    ASSERT_TRUE(sheetGone(WorkspaceSheet::newProject));
    settle();
    ASSERT_EQ(model().activeThread()->workbenchView, IDEWorkbenchView::document);
    document = find<QAbstractScrollArea>(u"planDocumentScrollArea"_s);
    EXPECT_EQ(document->verticalScrollBar()->value(), 0);
    auto *title = find<WrappingLabel>(u"planTitleLabel"_s);
    EXPECT_EQ(title->text(), u"Q3 Retargeting Sprint"_s);
    const QRect titleInView(title->mapTo(document->viewport(), QPoint()), title->size());
    EXPECT_TRUE(document->viewport()->rect().contains(titleInView)) << "the new project's title is out of view";
    keepPicture(pictureName(u"NewProjectDocument"_s));
    expectAtTheTop(u"a new project"_s);
}

TEST_P(WindowWholenessTest, InspectorButtonsShareOneRowEightApart)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::canvas));
    settle();
    const std::optional<CampaignIDEProject> project = model().selectedProject();
    ASSERT_TRUE(project && !project->creatives.isEmpty());
    model().selectArtboard(project->creatives.first().id);
    auto *inspector = find(u"artboardInspector"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return inspector->isVisible(); }, 2000));
    settle();
    const auto expectOneRow = [&](const QString &where) {
        const std::string at = where.toStdString();
        // Beside the grid the inspector is 280 wide; a column too narrow for both puts it under the grid.
        if (auto *splitter = qobject_cast<QSplitter *>(inspector->parentWidget());
            splitter && splitter->orientation() == Qt::Horizontal) {
            EXPECT_EQ(inspector->width(), 280) << at;
        }
        QWidget *approve = find(u"approveArtboardButton"_s);
        QWidget *flag = find(u"flagArtboardButton"_s);
        const QRect approveRect(approve->mapTo(inspector, QPoint()), approve->size());
        const QRect flagRect(flag->mapTo(inspector, QPoint()), flag->size());
        EXPECT_EQ(approveRect.top(), flagRect.top()) << at;
        EXPECT_EQ(flagRect.left() - approveRect.right() - 1, 8) << at;
        EXPECT_TRUE(inspector->rect().contains(approveRect.united(flagRect))) << at;
        for (QWidget *button : { approve, flag }) {
            for (QLabel *label : button->findChildren<QLabel *>())
                EXPECT_GE(label->width(), label->sizeHint().width()) << at << ' ' << label->text().toStdString();
        }
    };
    expectOneRow(u"1440 x 900"_s);
    keepPicture(pictureName(u"CanvasInspector"_s));
    window->resize(window->minimumSizeHint());
    settle();
    expectOneRow(u"minimum size"_s);
    keepPicture(pictureName(u"CanvasInspectorMinimum"_s));
}

TEST_P(WindowWholenessTest, ExplorerHeaderScrollsWithTheGrid)
{
    // Enough ads to scroll, whatever the column's width.
    model().mutateThread(model().activeThread()->id, [](CampaignIDEThread &thread) {
        const QList<CampaignCompetitorAd> ads = thread.competitorAds;
        for (int i = 0; i < 4; ++i) {
            for (CampaignCompetitorAd ad : ads) {
                ad.id = QUuid::createUuid();
                thread.competitorAds.append(ad);
            }
        }
    });
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::explore));
    settle();
    auto *grid = find<QAbstractScrollArea>(u"competitorAdGridView"_s);
    QWidget *header = find(u"competitorHeaderRow"_s);
    ASSERT_EQ(header->parentWidget(), grid->viewport());
    const int top = header->y();
    ASSERT_GT(grid->verticalScrollBar()->maximum(), 0);
    grid->verticalScrollBar()->setValue(40);
    EXPECT_EQ(header->y(), top - 40);
    grid->verticalScrollBar()->setValue(0);
    EXPECT_EQ(header->y(), top);
    // A chip that takes the keyboard while scrolled away comes back into view.
    grid->verticalScrollBar()->setValue(grid->verticalScrollBar()->maximum());
    ASSERT_LT(header->y() + header->height(), 0);
    find(u"competitorChip1Button"_s)->setFocus(Qt::TabFocusReason);
    EXPECT_GE(find(u"competitorChip1Button"_s)->mapTo(grid->viewport(), QPoint()).y(), 0);
    keepPicture(pictureName(u"Explorer"_s));
    window->resize(window->minimumSizeHint());
    settle();
    EXPECT_EQ(header->width(), grid->viewport()->width() - 2 * CompetitorExplorerTabView::padding);
    keepPicture(pictureName(u"ExplorerMinimum"_s));
}

TEST_P(WindowWholenessTest, LaunchGateNamesTheProjectWhoseFiguresItShows)
{
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::document));
    settle();
    const QString plannedSpend = find<SummaryStatTile>(u"plannedSpendTile"_s)->value();
    window->resize(window->minimumSizeHint());
    settle();
    keepPicture(pictureName(u"PlanMinimum"_s));
    model().requestExecution();
    ASSERT_TRUE(model().activeLaunchRequest().has_value());
    const CampaignIDEProject project = *model().selectedProject();
    auto *headline = find<QLabel>(u"launchHeadlineLabel"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return headline->isVisible(); }, 2000));
    settle();
    const QString detail = find<QLabel>(u"launchDetailLabel"_s)->text();
    EXPECT_EQ(headline->text(), u"Approve & Launch "_s + project.name);
    // The detail speaks of that same project, with the spend its plan's tile shows.
    EXPECT_EQ(detail, CampaignLaunchApprovalModal::detailLine(model(), *model().activeLaunchRequest()));
    EXPECT_TRUE(detail.startsWith(u"Budget: "_s + plannedSpend + u"/mo · "_s)) << detail.toStdString();
    EXPECT_TRUE(detail.endsWith(u"Approved Creatives: "_s + QString::number(project.approvedCreativeCount()) + u'/'
        + QString::number(project.creatives.size())))
        << detail.toStdString();
    keepPicture(pictureName(u"LaunchGateWindow"_s));
    keepCloseUp(window->sheets()->sheet(WorkspaceSheet::launchApproval), pictureName(u"LaunchGate"_s));
    EXPECT_LE(headline->mapTo(headline->window(), QPoint(headline->width(), 0)).x(), headline->window()->width());
}

// --- The top bar at the narrowest window ------------------------------------------------------------

// Near the window's minimum width the top bar is short of room: a project name up to 420 points
// wide stays whole in the breadcrumb and the centre title gives way first; no text of the bar is
// cut mid-glyph.
TEST_P(WindowWholenessTest, TheBreadcrumbStaysWholeAtTheMinimumWidth)
{
    auto *breadcrumb = find<ElidedLabel>(u"breadcrumbLabel"_s);
    auto *centre = find<ElidedLabel>(u"centreTitleLabel"_s);
    // A name just under the width kept whole.
    QString name = u"Northwind Enterprise Pipeline Acceleration"_s;
    const QFontMetrics metrics(breadcrumb->font());
    while (metrics.horizontalAdvance(name + u" Program"_s) < 410)
        name += u" Program"_s;
    model().updateSelectedProjectName(name);
    ASSERT_EQ(breadcrumb->text(), name);
    // The bar is laid out again for the new name, and the window's minimum follows.
    ASSERT_TRUE(QTest::qWaitFor([&] { return breadcrumb->width() >= breadcrumb->sizeHint().width(); }, 2000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->minimumWidth() == window->minimumSizeHint().width(); }, 2000));
    window->resize(window->minimumWidth(), 900);
    settle();
    keepPicture(pictureName(u"TopBarMinimum"_s));
    EXPECT_EQ(window->width(), window->minimumSizeHint().width());
    EXPECT_EQ(breadcrumb->drawnText(), name);
    EXPECT_GE(breadcrumb->width(), breadcrumb->sizeHint().width());
    EXPECT_TRUE(centre->drawnText().endsWith(u'\u2026')) << centre->drawnText().toStdString();
    expectNoTextCut(find(u"topBar"_s), u"minimum width"_s);
    window->resize(1440, 900);
    settle();

    // A name too long for any window is cut: it widens the window's minimum only as far as the
    // 420 points kept whole.
    const int minimum = window->minimumWidth() + 420 - breadcrumb->sizeHint().width();
    model().updateSelectedProjectName(QString(u"Northwind Enterprise Pipeline Acceleration "_s).repeated(3).trimmed());
    ASSERT_TRUE(QTest::qWaitFor([&] { return breadcrumb->text().endsWith(u"Acceleration"_s); }, 2000));
    settle();
    QTest::qWait(50);
    EXPECT_LE(window->minimumWidth(), minimum);
    window->resize(window->minimumWidth(), 900);
    settle();
    EXPECT_TRUE(breadcrumb->drawnText().endsWith(u'\u2026')) << breadcrumb->drawnText().toStdString();
    EXPECT_GE(breadcrumb->width(), 420);
    expectNoTextCut(find(u"topBar"_s), u"long name"_s);
    window->resize(1440, 900);
    settle();
}

} // namespace
} // namespace orvane::windowtest
