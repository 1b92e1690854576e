#include "SheetsWindowFixture.h"

#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/sheets/CopilotDrawer.h"
#include "ide/views/sheets/QuickActionCardDelegate.h"
#include "ide/views/sheets/RecommendedActionListModel.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QAbstractItemModelTester>
#include <QLabel>
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

} // namespace
} // namespace orvane::sheetstest
