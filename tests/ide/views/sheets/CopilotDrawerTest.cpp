#include "SheetsWindowFixture.h"

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/sheets/CopilotDrawer.h"
#include "ide/views/sheets/QuickActionCardDelegate.h"
#include "ide/views/sheets/RecommendedActionListModel.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QLabel>
#include <QScrollArea>
#include <QSignalSpy>

namespace orvane::sheetstest {
namespace {

class CopilotDrawerTest : public SheetsWindowTest {
protected:
    void openDrawer()
    {
        model().setAgentDrawerOpen(true);
        auto *column = find<SlidingColumn>(u"drawerColumn"_s);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return column->isVisible() && column->width() == CampaignIDEWorkspaceView::drawerWidth + 1; }, 2000));
    }
};

TEST_F(CopilotDrawerTest, QuickActionsFollowTheRecommendedActionsInPlace)
{
    RecommendedActionListModel actions(model());
    QAbstractItemModelTester tester(&actions, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QList<CampaignRecommendedNextAction> list = model().recommendedActions();
    ASSERT_GE(list.size(), 2);
    ASSERT_EQ(actions.rowCount(), list.size());

    // Shown as stored, except the category, which is upper-cased.
    list[0].category = u"Paid Search"_s;
    list[0].impactEstimate = u"+18% qualified demos"_s;
    model().setRecommendedActions(list);
    EXPECT_EQ(actions.index(0, 0).data(RecommendedActionListModel::CategoryRole).toString(), u"PAID SEARCH"_s);
    EXPECT_EQ(actions.index(0, 0).data(RecommendedActionListModel::ImpactRole).toString(), u"+18% qualified demos"_s);

    // Starting one marks it completed and keeps it where it was.
    QSignalSpy removed(&actions, &QAbstractItemModel::rowsRemoved);
    QSignalSpy reset(&actions, &QAbstractItemModel::modelReset);
    model().startRecommendedAction(list.at(1), nullptr);
    EXPECT_EQ(actions.rowCount(), list.size());
    EXPECT_TRUE(actions.action(1)->isCompleted);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(reset.count(), 0);

    // Rows come and go; the same id twice is two rows.
    CampaignRecommendedNextAction extra = list.at(0);
    extra.id = QUuid::createUuid();
    extra.title = u"Extra"_s;
    list = model().recommendedActions();
    list.insert(1, extra);
    list.append(list.at(0));
    model().setRecommendedActions(list);
    EXPECT_EQ(actions.rowCount(), list.size());
    EXPECT_EQ(actions.index(1, 0).data(RecommendedActionListModel::TitleRole).toString(), u"Extra"_s);
    std::reverse(list.begin(), list.end());
    model().setRecommendedActions(list);
    EXPECT_EQ(actions.action(0)->id, list.at(0).id);
    model().setRecommendedActions({});
    EXPECT_EQ(actions.rowCount(), 0);
}

TEST_F(CopilotDrawerTest, ACardStartsItsActionsThreadAndTheDrawerStaysOpenUntilClosed)
{
    openDrawer();
    EXPECT_EQ(find<QLabel>(u"copilotDrawerTitleLabel"_s)->text(), u"WORKSPACE COPILOT"_s);
    EXPECT_EQ(find<QLabel>(u"copilotDrawerSubtitleLabel"_s)->text(), u"Global Campaign & File Assistant"_s);
    EXPECT_EQ(find<QLabel>(u"quickActionsLabel"_s)->text(), u"Quick Actions"_s);
    auto *cards = find<FittedListView>(u"quickActionList"_s);
    const QList<CampaignRecommendedNextAction> actions = model().recommendedActions();
    ASSERT_EQ(cards->model()->rowCount(), actions.size());
    keepWidget(find(u"copilotDrawer"_s), u"copilot-drawer-dark.png"_s);

    // Two clicks on the same card: two threads of its title, the action completed.
    const qsizetype before = model().threads().size();
    for (int click = 1; click <= 2; ++click) {
        clickRow(cards, 0);
        ASSERT_EQ(model().threads().size(), before + click);
        const CampaignIDEThread thread = model().threads().constFirst();
        EXPECT_EQ(thread.title, actions.at(0).title.trimmed());
        EXPECT_EQ(thread.workbenchView, actions.at(0).targetWorkbench);
        EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(thread.id));
        EXPECT_TRUE(model().recommendedActions().at(0).isCompleted);
        EXPECT_TRUE(model().agentDrawerOpen());
        EXPECT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 10000));
    }
    EXPECT_EQ(cards->model()->rowCount(), actions.size());

    // The close button takes the drawer away at once, without the slide.
    click(u"copilotDrawerCloseButton"_s);
    EXPECT_FALSE(model().agentDrawerOpen());
    EXPECT_FALSE(find<SlidingColumn>(u"drawerColumn"_s)->isVisible());
    EXPECT_EQ(find<SlidingColumn>(u"drawerColumn"_s)->revealedWidth(), 0);
    // The toggle brings it back with its slide.
    window->controller()->toggleAgentDrawer();
    EXPECT_TRUE(model().agentDrawerOpen());
    EXPECT_LT(find<SlidingColumn>(u"drawerColumn"_s)->revealedWidth(), CampaignIDEWorkspaceView::drawerWidth + 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return find<SlidingColumn>(u"drawerColumn"_s)->revealedWidth() == CampaignIDEWorkspaceView::drawerWidth + 1;
        },
        2000));
}

TEST_F(CopilotDrawerTest, CardsWrapTheTitleCutTheRationaleAfterTwoLinesAndFollowTheTheme)
{
    // The text rule itself.
    const QString longText = u"Shift budget from broad match to exact match on the twelve highest converting terms "
                             "and cap frequency on retargeting to protect efficiency across every region."_s;
    const QStringList cut = QuickActionCardDelegate::wrappedLines(longText, themeFont(11), 200, 2);
    ASSERT_EQ(cut.size(), 2);
    EXPECT_TRUE(cut.last().endsWith(u'…'));
    EXPECT_GT(QuickActionCardDelegate::wrappedLines(longText, themeFont(12, QFont::Bold), 200).size(), 2);
    EXPECT_EQ(QuickActionCardDelegate::wrappedLines(u"Short"_s, themeFont(11), 200, 2), QStringList { u"Short"_s });

    QList<CampaignRecommendedNextAction> actions = model().recommendedActions();
    ASSERT_FALSE(actions.isEmpty());
    actions[0].title = longText;
    actions[0].rationale = longText;
    model().setRecommendedActions(actions);
    openDrawer();
    auto *cards = find<FittedListView>(u"quickActionList"_s);
    const QModelIndex first = cards->model()->index(0, 0);
    const QModelIndex second = cards->model()->index(1, 0);
    // The long title makes the first card the taller one; the list is as tall as its cards.
    EXPECT_TRUE(QTest::qWaitFor([&] { return cards->height() == cards->contentHeight(); }, 2000));
    EXPECT_GT(
        cards->visualRect(first).height(), cards->visualRect(second).height() - QuickActionCardDelegate::cardSpacing);

    // Dark: the title lime, the cards on #0F172A; light: olive and white.
    EXPECT_EQ(test::colorOf(window.get(), u"copilotDrawerTitleLabel"_s), QColor(0xCC, 0xFF, 0x00));
    const QPoint inside = cards->visualRect(second).topLeft() + QPoint(3, QuickActionCardDelegate::cardSpacing + 3);
    EXPECT_EQ(cards->viewport()->grab().toImage().pixelColor(inside), QColor(0x0F, 0x17, 0x2A));
    keepWidget(find(u"copilotDrawer"_s), u"copilot-drawer-long.png"_s);
    model().setDarkTheme(false);
    EXPECT_EQ(test::colorOf(window.get(), u"copilotDrawerTitleLabel"_s), QColor(0x4D, 0x7C, 0x0F));
    EXPECT_EQ(cards->viewport()->grab().toImage().pixelColor(inside), QColor(Qt::white));
    keepWidget(find(u"copilotDrawer"_s), u"copilot-drawer-light.png"_s);
}

// Every card is a button of the keyboard, as the palette's rows are: Tab reaches the first card
// after the close button and walks the cards, each ringed and brought into view in its turn; Return
// or Space starts the card's action; assistive technology reads each card as a button.
TEST_F(CopilotDrawerTest, TabReachesEveryCardAndReturnOrSpaceStartsIt)
{
    // More cards than the drawer shows at once.
    QList<CampaignRecommendedNextAction> actions = model().recommendedActions();
    ASSERT_FALSE(actions.isEmpty());
    const QList<CampaignRecommendedNextAction> seed = actions;
    for (int copy = 0; copy < 4; ++copy) {
        for (CampaignRecommendedNextAction action : seed) {
            action.id = QUuid::createUuid();
            actions.append(action);
        }
    }
    model().setRecommendedActions(actions);
    openDrawer();
    auto *cards = find<FittedListView>(u"quickActionList"_s);
    auto *page = find<QScrollArea>(u"copilotDrawerScrollArea"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return cards->height() == cards->contentHeight(); }, 2000));
    ASSERT_GT(cards->height(), page->viewport()->height());

    // The card the keyboard is on shows the window's ring inside its outline: the card's fill is
    // broken there (the padding left of the texts holds nothing else).
    const auto ringed = [cards](int row) {
        const QImage image = cards->viewport()->grab().toImage();
        QRect card = cards->visualRect(cards->model()->index(row, 0));
        card.setTop(card.top() + (row == 0 ? 0 : QuickActionCardDelegate::cardSpacing));
        for (int y = card.top() + 1; y < card.bottom(); ++y) {
            for (int x = card.left() + 1; x < card.left() + 4; ++x) {
                if (image.pixelColor(QPoint(x, y) * image.devicePixelRatio()) != OrvaneWebTheme(true).panelBackground())
                    return true;
            }
        }
        return false;
    };
    const auto inView = [&](int row) {
        const QRect rect = cards->visualRect(cards->model()->index(row, 0));
        return page->viewport()->rect().contains(
            QRect(cards->viewport()->mapTo(page->viewport(), rect.topLeft()), rect.size()));
    };

    QWidget *close = find(u"copilotDrawerCloseButton"_s);
    close->setFocus(Qt::TabFocusReason);
    for (int step = 0; step < 3 && QApplication::focusWidget() != cards; ++step)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), cards);
    EXPECT_EQ(cards->currentIndex().row(), 0);
    EXPECT_TRUE(ringed(0));
    EXPECT_FALSE(ringed(1));
    keepWidget(find(u"copilotDrawer"_s), u"copilot-drawer-keyboard-card.png"_s);
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(cards)->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->role(), QAccessible::Button);
    EXPECT_EQ(focused->text(QAccessible::Name), actions.at(0).title);
    EXPECT_EQ(focused->text(QAccessible::Description), actions.at(0).rationale);

    // Down to the last card, each one in view when the keyboard reaches it.
    const int last = int(actions.size()) - 1;
    for (int row = 1; row <= last; ++row) {
        QTest::keyClick(cards, Qt::Key_Tab);
        ASSERT_EQ(cards->currentIndex().row(), row);
        EXPECT_TRUE(inView(row)) << "card " << row;
    }
    EXPECT_TRUE(ringed(last));

    // Return starts the card's action, as a click does; so does Space.
    const qsizetype before = model().threads().size();
    QTest::keyClick(cards, Qt::Key_Return);
    ASSERT_EQ(model().threads().size(), before + 1);
    EXPECT_EQ(model().threads().constFirst().title, actions.at(last).title.trimmed());
    EXPECT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 10000));
    close->setFocus(Qt::TabFocusReason);
    cards->setFocus(Qt::TabFocusReason);
    QTest::keyClick(cards, Qt::Key_Space);
    ASSERT_EQ(model().threads().size(), before + 2);
    EXPECT_EQ(model().threads().constFirst().title, actions.at(0).title.trimmed());
}

} // namespace
} // namespace orvane::sheetstest
