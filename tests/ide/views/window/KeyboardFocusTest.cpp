#include "WorkspaceWindowFixture.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/FocusRing.h"
#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/thread/AgentTabChip.h"
#include "ide/views/thread/WorkbenchHeaderBar.h"
#include "ide/views/window/DestinationArea.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QStyleHints>

namespace orvane::windowtest {
namespace {

void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::keyClick(QApplication::focusWidget(), key, modifiers);
}

// The part of its window where a control shows its focus: the control and the ring's reach.
QRect regionAround(const QWidget *control)
{
    const QWidget *top = control->window();
    constexpr int reach = FocusRingController::ringReach + 1;
    return QRect(control->mapTo(top, QPoint()), control->size()).adjusted(-reach, -reach, reach, reach) & top->rect();
}
QImage picture(QWidget *top, const QRect &region)
{
    return top->grab(region).toImage();
}

// The region around the focused control, as it is with the focus and then without it; the
// control has the focus again afterwards.
std::pair<QImage, QImage> withAndWithoutFocus(QWidget *control)
{
    QWidget *top = control->window();
    const QRect region = regionAround(control);
    const QImage focused = picture(top, region);
    control->clearFocus();
    QCoreApplication::processEvents();
    const QImage unfocused = picture(top, region);
    control->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    return { focused, unfocused };
}

// Whether the change from `before` to `after` is one the eye finds: some pixel changes by a
// contrast of 3:1 at least (a ring, a caret), not only by a shade.
bool standsOut(const QImage &before, const QImage &after)
{
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)
                && contrastRatio(before.pixelColor(x, y), after.pixelColor(x, y)) >= 3.0)
                return true;
        }
    }
    return false;
}

// Each pixel of `after` that differs from `before`, in the coordinates of `region`'s window.
QList<QPoint> changedPixels(const QImage &before, const QImage &after, const QRect &region)
{
    QList<QPoint> changed;
    const qreal ratio = after.devicePixelRatio();
    for (int y = 0; y < after.height(); ++y) {
        for (int x = 0; x < after.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y))
                changed.append(region.topLeft() + QPoint(qFloor(x / ratio), qFloor(y / ratio)));
        }
    }
    return changed;
}

// The keyboard's focus in the window, in both themes: every Tab stop shows that it has the focus,
// and the ring of a button lies around its label, never over it.
class KeyboardFocusTest : public WorkspaceWindowTest, public testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        WorkspaceWindowTest::SetUp();
        // A caret that blinks would show or not by chance; it stays on.
        m_flashTime = QGuiApplication::styleHints()->cursorFlashTime();
        QGuiApplication::styleHints()->setCursorFlashTime(0);
        makeWindow();
        model().setDarkTheme(GetParam());
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        settle();
    }

    void TearDown() override
    {
        WorkspaceWindowTest::TearDown();
        QGuiApplication::styleHints()->setCursorFlashTime(m_flashTime);
    }

    // Tabs once round the window from its first stop, checking each stop that was not seen yet;
    // returns the names of the stops reached.
    QStringList walkRound(const QString &where, QSet<QWidget *> &seen)
    {
        QWidget *start = find(u"threadSearchField"_s);
        start->setFocus(Qt::TabFocusReason);
        QStringList reached;
        for (int step = 0; step < 200; ++step) {
            QWidget *from = QApplication::focusWidget();
            press(Qt::Key_Tab);
            // A text editor takes Tab as text; Ctrl+Tab leaves it.
            if (QApplication::focusWidget() == from)
                press(Qt::Key_Tab, Qt::ControlModifier);
            QWidget *stop = QApplication::focusWidget();
            if (stop == from) {
                ADD_FAILURE() << where.toStdString() << ": Tab and Ctrl+Tab stay in "
                              << from->objectName().toStdString();
                break;
            }
            if (!stop) {
                ADD_FAILURE() << where.toStdString() << ": Tab left the window";
                break;
            }
            reached.append(stop->objectName());
            if (!seen.contains(stop)) {
                seen.insert(stop);
                const auto [focused, unfocused] = withAndWithoutFocus(stop);
                EXPECT_TRUE(standsOut(unfocused, focused))
                    << where.toStdString() << ": " << stop->metaObject()->className() << ' '
                    << stop->objectName().toStdString() << " shows no focus";
            }
            if (stop == start)
                return reached;
        }
        ADD_FAILURE() << where.toStdString()
                      << ": Tab never came back to where it started: " << reached.join(u' ').toStdString();
        return reached;
    }

    // Focuses the button from the keyboard and checks its ring: drawn on each of its sides, and
    // no pixel of it over any part of the label (texts, symbols).
    void expectRingAroundLabel(ClickableButton *button, const QString &where)
    {
        ASSERT_NE(button, nullptr) << where.toStdString();
        ASSERT_TRUE(button->isVisible()) << where.toStdString();
        const std::string what = where.toStdString() + ' ' + button->objectName().toStdString();
        QWidget *top = button->window();
        button->setFocus(Qt::TabFocusReason);
        // Into view, as Tab brings it.
        for (QWidget *w = button->parentWidget(); w; w = w->parentWidget()) {
            if (auto *area = qobject_cast<QScrollArea *>(w);
                area && area->widget() && area->widget()->isAncestorOf(button))
                area->ensureWidgetVisible(button, 10, 10);
        }
        // What the window does once the focus leaves (a strip scrolls back to its selected chip)
        // is done before the pictures are taken.
        button->clearFocus();
        QCoreApplication::processEvents();
        button->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->hasFocus(); }, 2000)) << what;
        const auto [focused, unfocused] = withAndWithoutFocus(button);
        const QList<QPoint> ring = changedPixels(unfocused, focused, regionAround(button));
        ASSERT_FALSE(ring.isEmpty()) << what << ": no ring";

        const QRect edge(button->mapTo(top, QPoint()), button->size());
        EXPECT_TRUE(std::ranges::any_of(ring, [&](QPoint p) { return p.x() < edge.left(); })) << what << " left";
        EXPECT_TRUE(std::ranges::any_of(ring, [&](QPoint p) { return p.x() > edge.right(); })) << what << " right";
        EXPECT_TRUE(std::ranges::any_of(ring, [&](QPoint p) { return p.y() < edge.top(); })) << what << " top";
        EXPECT_TRUE(std::ranges::any_of(ring, [&](QPoint p) { return p.y() > edge.bottom(); })) << what << " bottom";
        for (const QWidget *part : button->findChildren<QWidget *>()) {
            if (!part->isVisible())
                continue;
            const QRect label(part->mapTo(top, QPoint()), part->size());
            const auto over = std::ranges::find_if(ring, [&](QPoint p) { return label.contains(p); });
            EXPECT_EQ(over, ring.end()) << what << ": the ring covers " << part->metaObject()->className() << ' '
                                        << part->objectName().toStdString() << " at " << over->x() << ',' << over->y();
        }
    }

    int m_flashTime = 0;
};

// Tab goes round the whole window over every workbench tab and every surface; each stop looks
// different while it has the focus (a ring, a row drawn as focused, a field's caret), plainly
// enough to be seen in either theme.
TEST_P(KeyboardFocusTest, EveryTabStopShowsTheFocusOnEveryTabAndSurface)
{
    QSet<QWidget *> seen;
    QSet<QString> reached;
    for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
        click(WorkbenchHeaderBar::tabButtonName(view));
        settle();
        const QStringList walked = walkRound(rawValue(view), seen);
        for (const QString &name : walked)
            reached.insert(name);
        // The explorer's domain chips lie above its cards and come before them.
        if (view == IDEWorkbenchView::explore) {
            const qsizetype chip = walked.indexOf(u"competitorChip0Button"_s);
            EXPECT_GE(chip, 0);
            EXPECT_LT(chip, walked.indexOf(u"competitorAdGridView"_s)) << walked.join(u' ').toStdString();
        }
    }
    for (const QString &destination : { u"projectsNavButton"_s, u"campaignsNavButton"_s, u"agentsNavButton"_s,
             u"assetsNavButton"_s, u"connectionsNavButton"_s, u"reportsNavButton"_s, u"settingsNavButton"_s }) {
        click(destination);
        settle();
        for (const QString &name : walkRound(destination, seen))
            reached.insert(name);
    }
    // The stops that showed nothing before are among those walked.
    for (const QString &name : { u"projectsNavButton"_s, u"settingsNavButton"_s, u"localFilesListView"_s,
             u"planDocumentScrollArea"_s, u"surfaceScrollArea"_s, u"revealProjectFolderButton"_s }) {
        EXPECT_TRUE(reached.contains(name)) << name.toStdString();
    }
}

// The report list is a stop only while it has a card to show the focus on: Tab passes it by while
// there is no report, and stops on it, ringed, once one is generated; emptied again, it is passed
// by again.
TEST_P(KeyboardFocusTest, TheReportListIsATabStopOnlyWithAReport)
{
    // After the first refresh, which brings the service's reports.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model().isSyncingServer(); }, 5000));
    model().setReports({});
    click(u"reportsNavButton"_s);
    settle();
    auto *list = find<QAbstractItemView>(u"reportListView"_s);
    ASSERT_NE(list, nullptr);
    QSet<QWidget *> seen;
    EXPECT_FALSE(walkRound(u"no reports"_s, seen).contains(u"reportListView"_s));

    click(u"generateReportButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 1 && list->height() > 0; }, 2000));
    seen.clear();
    EXPECT_TRUE(walkRound(u"one report"_s, seen).contains(u"reportListView"_s));

    model().setReports({});
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->model()->rowCount() == 0; }, 2000));
    settle();
    seen.clear();
    EXPECT_FALSE(walkRound(u"reports gone"_s, seen).contains(u"reportListView"_s));
}

// Tab walks the quick prompts and scrolls their strip along; once the focus leaves the strip, by Tab
// or by a click elsewhere, the strip shows its start again.
TEST_P(KeyboardFocusTest, TheQuickPromptStripShowsItsStartOnceTabHasLeftIt)
{
    auto *strip = find<QScrollArea>(u"quickPromptScrollArea"_s);
    ASSERT_NE(strip, nullptr);
    QScrollBar *bar = strip->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0) << "the prompts overflow the pane at the window's default width";
    ASSERT_EQ(bar->value(), 0);
    const auto inStrip = [&] { return strip->isAncestorOf(QApplication::focusWidget()); };

    for (const bool byTab : { true, false }) {
        const std::string way = byTab ? "Tab" : "a click";
        strip->findChild<QWidget *>(u"quickPromptChip1Button"_s)->setFocus(Qt::TabFocusReason);
        bool scrolled = false;
        for (int step = 0; step < 3; ++step) {
            press(Qt::Key_Tab);
            QCoreApplication::processEvents();
            scrolled = scrolled || (inStrip() && bar->value() > 0);
        }
        ASSERT_EQ(QApplication::focusWidget()->objectName(), u"quickPromptChip4Button"_s) << way;
        ASSERT_TRUE(scrolled) << way << " scrolled the strip to the prompts it passed";
        if (byTab)
            press(Qt::Key_Tab);
        else
            clickOn(find<QWidget>(u"draftField"_s));
        ASSERT_FALSE(inStrip()) << way;
        EXPECT_TRUE(QTest::qWaitFor([&] { return bar->value() == 0; }, 2000)) << way;
    }
}

// The ring of a button lies outside its label, with room to spare, on every kind of button: text
// only without padding (the agent tab's title, "File Manager ↗", the sheets' "Cancel", the
// palette's "ESC"), filled (the workbench tabs, the lime buttons), outlined, symbol only, and the
// sidebar's rows.
TEST_P(KeyboardFocusTest, TheRingLiesAroundTheLabelOfEveryButton)
{
    QTest::keyClick(window.get(), Qt::Key_Tab); // the keyboard is in use
    for (const IDEWorkbenchView view : WorkbenchHeaderBar::allViews()) {
        click(WorkbenchHeaderBar::tabButtonName(view));
        settle();
        const QList<ClickableButton *> found = window->findChildren<ClickableButton *>();
        const QList<QPointer<ClickableButton>> buttons(found.begin(), found.end());
        for (const QPointer<ClickableButton> &button : buttons) {
            if (!button || !button->isVisible() || !(button->focusPolicy() & Qt::TabFocus))
                continue;
            // A chip's buttons are looked at with their chip selected: the strip shows the selected
            // chip again once the focus leaves it, and would move under the picture otherwise.
            if (auto *chip = qobject_cast<AgentTabChip *>(button->parentWidget()); chip && !chip->isSelected()) {
                chip->selectButton()->click();
                settle();
                if (!button || !button->isVisible())
                    continue;
            }
            expectRingAroundLabel(button, rawValue(view));
        }
    }

    const auto inSheet = [&](WorkspaceSheet which, const QStringList &names) {
        WorkspaceSheetFrame *sheet = shownSheet(which);
        ASSERT_NE(sheet, nullptr);
        ASSERT_TRUE(QTest::qWaitFor([&] { return sheet->isAncestorOf(QApplication::focusWidget()); }, 2000));
        press(Qt::Key_Tab); // the keyboard is in use in the sheet too
        for (const QString &name : names)
            expectRingAroundLabel(sheet->findChild<ClickableButton *>(name), sheet->objectName());
        sheet->reject();
        ASSERT_TRUE(sheetGone(which));
    };
    state().setShowingNewProjectSheet(true);
    inSheet(WorkspaceSheet::newProject, { u"sheetCancelButton"_s });
    state().setShowingNewThreadSheet(true);
    inSheet(WorkspaceSheet::newThread, { u"sheetCancelButton"_s });
    state().setRenamingThread(model().threads().first());
    inSheet(WorkspaceSheet::renameThread, { u"sheetCancelButton"_s });
    model().setShowingCommandPalette(true);
    inSheet(WorkspaceSheet::commandPalette, { u"commandPaletteEscButton"_s });
}

// The ring follows its button when the page under it scrolls, and a list that scrolls the button
// out of view cuts the ring with it.
TEST_P(KeyboardFocusTest, TheRingFollowsItsButtonAndIsCutWithIt)
{
    // A short window, whose document scrolls far.
    window->resize(1440, 560);
    settle();
    QTest::keyClick(window.get(), Qt::Key_Tab);
    FocusRingController *rings = window->focusRing();
    auto *button = find<ClickableButton>(u"openMediaPlanTableButton"_s);
    button->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return rings->ringedControl() == button; }, 2000));
    const auto around = [&] {
        constexpr int reach = FocusRingController::ringReach;
        return QRect(button->mapTo(window.get(), QPoint()), button->size()).adjusted(-reach, -reach, reach, reach);
    };
    EXPECT_EQ(rings->shownRing(), around() & window->rect());

    // Scrolled a little, the ring moves with the button.
    auto *page = find<QScrollArea>(u"planDocumentScrollArea"_s);
    page->ensureWidgetVisible(button, 0, 100);
    const QRect before = rings->shownRing();
    const QPoint at = button->mapTo(window.get(), QPoint());
    QScrollBar *bar = page->verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    bar->setValue(bar->value() + (bar->value() + 20 <= bar->maximum() ? 20 : -20));
    QCoreApplication::processEvents();
    ASSERT_NE(button->mapTo(window.get(), QPoint()), at);
    EXPECT_EQ(rings->shownRing(), before.translated(button->mapTo(window.get(), QPoint()) - at));

    // Half scrolled out of the page, the ring is cut at the page's edge; wholly out, it is gone.
    const QRect shown(page->viewport()->mapTo(window.get(), QPoint()), page->viewport()->size());
    const int middle = button->mapTo(page->viewport(), QPoint()).y() + button->height() / 2;
    const bool outAtTop = bar->value() + middle <= bar->maximum();
    bar->setValue(bar->value() + (outAtTop ? middle : middle - shown.height()));
    QCoreApplication::processEvents();
    ASSERT_EQ(button->mapTo(page->viewport(), QPoint()).y() + button->height() / 2, outAtTop ? 0 : shown.height());
    if (outAtTop) {
        EXPECT_EQ(rings->shownRing().top(), shown.top());
        EXPECT_EQ(rings->shownRing().bottom(), around().bottom());
    } else {
        EXPECT_EQ(rings->shownRing().top(), around().top());
        EXPECT_EQ(rings->shownRing().bottom(), shown.bottom());
    }
    bar->setValue(bar->value() + (outAtTop ? button->height() : -button->height()));
    QCoreApplication::processEvents();
    EXPECT_TRUE(rings->shownRing().isNull());

    // The mouse takes the ring away with the focus.
    clickOn(find<QWidget>(u"campaignNameField"_s));
    EXPECT_TRUE(rings->shownRing().isNull());
}

INSTANTIATE_TEST_SUITE_P(Themes, KeyboardFocusTest, testing::Values(false, true),
    [](const testing::TestParamInfo<bool> &theme) { return std::string(theme.param ? "Dark" : "Light"); });

// The ring of a list's row shows on all four sides, also where the row is laid out wider than
// the list shows (a long title).
class RowRingTest : public WorkspaceWindowTest { };

TEST_F(RowRingTest, ARowsRingShowsWhole)
{
    // As the window first shows, before anything opened lays the lists out again.
    makeWindow();
    QTest::keyClick(window.get(), Qt::Key_Tab);
    const auto expectWhole = [&](const QString &name) {
        auto *list = find<QAbstractItemView>(name);
        ASSERT_NE(list, nullptr) << name.toStdString();
        list->setFocus(Qt::TabFocusReason);
        const QRect shown(list->viewport()->mapTo(window.get(), QPoint()), list->viewport()->size());
        // The list has the keyboard on a row, also where its rows are read again meanwhile (the
        // pictures are taken again when that happened between them).
        QList<QPoint> ring;
        int middle = 0;
        for (int attempt = 0; attempt < 5 && ring.isEmpty(); ++attempt) {
            ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus() && list->currentIndex().isValid(); }, 2000))
                << name.toStdString();
            const QModelIndex row = list->currentIndex();
            const auto [focused, unfocused] = withAndWithoutFocus(list);
            if (list->currentIndex() != row)
                continue;
            ring = changedPixels(unfocused, focused, regionAround(list));
            // The ring's sides: changed pixels near the list's edges, halfway down the current row.
            middle = list->viewport()->mapTo(window.get(), list->visualRect(row).center()).y();
        }
        ASSERT_FALSE(ring.isEmpty()) << name.toStdString();
        const auto side = [&](int from, int to) {
            return std::ranges::any_of(ring, [&](QPoint p) { return p.y() == middle && p.x() >= from && p.x() <= to; });
        };
        EXPECT_TRUE(side(shown.left(), shown.left() + 3)) << name.toStdString() << " left";
        EXPECT_TRUE(side(shown.right() - 3, shown.right())) << name.toStdString() << " right";
    };
    for (const QString &name : { u"starredThreadList"_s, u"recentThreadList"_s, u"projectFolderList"_s })
        expectWhole(name);
    model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    click(WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView::localFiles));
    settle();
    expectWhole(u"localFilesListView"_s);
}

} // namespace
} // namespace orvane::windowtest
