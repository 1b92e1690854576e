#include "CanvasViewsFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CompetitorAdCardDelegate.h"
#include "ide/views/canvas/CompetitorAdListModel.h"
#include "ide/views/canvas/CompetitorExplorerTabView.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeSource.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>

namespace orvane::canvastest {
namespace {

class CompetitorExplorerTest : public CanvasViewsTest {
protected:
    void SetUp() override
    {
        CanvasViewsTest::SetUp();
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        threadID = model().activeThread()->id;
    }

    [[nodiscard]] CampaignIDEThread thread() const { return *model().activeThread(); }
    [[nodiscard]] CardGridView *grid() const { return child<CardGridView>(u"competitorAdGridView"_s); }
    [[nodiscard]] QString headline() const { return child<WrappingLabel>(u"competitorHeadlineLabel"_s)->text(); }
    [[nodiscard]] QList<int> highlightedChips() const
    {
        QList<int> highlighted;
        for (int i = 0; i < CompetitorExplorerTabView::competitorDomains.size(); ++i) {
            if (child<ClickableButton>(u"competitorChip%1Button"_s.arg(i))->look().fill == ThemeColor::accentLimeFill)
                highlighted.append(i);
        }
        return highlighted;
    }
    void setDomain(const QString &domain)
    {
        model().mutateThread(threadID, [&domain](CampaignIDEThread &t) { t.competitorDomain = domain; });
    }

    QUuid threadID;
};

TEST_F(CompetitorExplorerTest, TheHeadlineAndTheHighlightFollowTheThreadsDomainExactly)
{
    setDomain(CompetitorExplorerTabView::competitorDomains.at(1));
    show<CompetitorExplorerTabView>();
    EXPECT_EQ(headline(),
        u"Active Competitor Hooks & Paid Keywords for "_s + CompetitorExplorerTabView::competitorDomains.at(1));
    EXPECT_EQ(highlightedChips(), QList<int> { 1 });
    EXPECT_EQ(grid()->model()->rowCount(), thread().competitorAds.size());
    grab(u"explore.png"_s);

    setDomain(QString());
    EXPECT_EQ(headline(), u"Active Competitor Hooks & Paid Keywords for "_s);
    EXPECT_TRUE(highlightedChips().isEmpty());

    // A domain that differs from a chip only in case highlights none; the chip stores it in lower case.
    setDomain(CompetitorExplorerTabView::competitorDomains.at(2).toUpper());
    EXPECT_TRUE(highlightedChips().isEmpty());
    clickButton(u"competitorChip2Button"_s);
    EXPECT_EQ(thread().competitorDomain, CompetitorExplorerTabView::competitorDomains.at(2));
    EXPECT_EQ(highlightedChips(), QList<int> { 2 });
}

TEST_F(CompetitorExplorerTest, AChipLoadsAFreshSampleSetEvenForTheDomainAlreadyShown)
{
    show<CompetitorExplorerTabView>();
    const QString domain = CompetitorExplorerTabView::competitorDomains.at(3);
    clickButton(u"competitorChip3Button"_s);
    const auto first = thread().competitorAds;
    ASSERT_FALSE(first.isEmpty());
    EXPECT_EQ(first.at(0).competitorDomain, domain);
    EXPECT_EQ(grid()->model()->index(0, 0).data(CompetitorAdListModel::IdRole).toUuid(), first.at(0).id);
    EXPECT_EQ(headline(), CompetitorExplorerTabView::headlineFor(domain));

    notices.clear();
    model().setStatusNotice(std::nullopt);
    clickButton(u"competitorChip3Button"_s);
    EXPECT_NE(thread().competitorAds.at(0).id, first.at(0).id);
    EXPECT_EQ(
        grid()->model()->index(0, 0).data(CompetitorAdListModel::IdRole).toUuid(), thread().competitorAds.at(0).id);
    EXPECT_EQ(notices, QStringList { u"Loaded competitor intelligence for "_s + domain + u'.' });
}

TEST_F(CompetitorExplorerTest, CloningAHookAddsAnArtboardAndShowsTheCanvas)
{
    model().mutateThread(threadID, [](CampaignIDEThread &t) {
        t.competitorAds = OrvaneWebParitySeeds::defaultCompetitorAds(u"taskvane.io"_s);
        t.competitorAds[0].channel = u"LinkedIn"_s;
        t.workbenchView = IDEWorkbenchView::explore;
    });
    show<CompetitorExplorerTabView>();
    const qsizetype artboards = model().selectedProject()->creatives.size();
    const CampaignCompetitorAd ad = thread().competitorAds.at(0);

    // A click on the card outside its button does nothing.
    const QRect card = grid()->visualRect(grid()->model()->index(0, 0));
    clickRow(grid(), 0, card.topLeft() + QPoint(20, 20));
    EXPECT_EQ(model().selectedProject()->creatives.size(), artboards);

    clickRow(grid(), 0, CompetitorAdCardDelegate::cloneButtonRect(card).center());
    const auto creatives = model().selectedProject()->creatives;
    ASSERT_EQ(creatives.size(), artboards + 1);
    EXPECT_EQ(creatives.last().platform, u"LinkedIn"_s);
    EXPECT_EQ(creatives.last().headline, u"Switch from "_s + ad.competitorDomain + u": "_s + ad.headline);
    EXPECT_EQ(model().selectedArtboardID(), creatives.last().id);
    EXPECT_EQ(thread().workbenchView, IDEWorkbenchView::canvas);
    EXPECT_TRUE(notices.contains(u"Cloned counter-positioning artboard to Creative Canvas."_s));
}

// The keyboard reaches each card's clone button: a ring around it shows where the keyboard is, in
// either theme, the arrows move between the cards, and Return or Space clone the hook as a click does.
TEST_F(CompetitorExplorerTest, TheKeyboardClonesAHookWithReturnOrSpace)
{
    show<CompetitorExplorerTabView>();
    activate();
    CardGridView *cards = grid();
    ASSERT_GE(cards->model()->rowCount(), 2);
    const auto index = [cards](int row) { return cards->model()->index(row, 0); };
    // The pixel just outside a clone button's left edge, where the ring is drawn.
    const auto besideButton = [cards, &index](int row) {
        const QRect button = CompetitorAdCardDelegate::cloneButtonRect(cards->visualRect(index(row)));
        return cards->viewport()->grab().toImage().pixelColor(button.left() - 3, button.center().y()).rgb();
    };
    const auto cloned = [this] { return model().selectedProject()->creatives.last(); };

    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        model().setDarkTheme(dark);
        cards->setCurrentIndex({});
        const OrvaneWebTheme theme = window->themeSource()->theme();
        ASSERT_EQ(theme.isDark(), dark);
        const QRgb ring = focusRingColor(theme, theme.panelBackground()).rgb();
        const QRgb ground = theme.panelBackground().rgb();
        ASSERT_NE(ring, ground);

        auto *lastChip = child<QWidget>(u"competitorChip3Button"_s);
        lastChip->setFocus(Qt::TabFocusReason);
        QTest::keyClick(lastChip, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), cards);
        EXPECT_EQ(cards->currentIndex(), index(0));
        EXPECT_EQ(besideButton(0), ring);
        EXPECT_EQ(besideButton(1), ground);
        grab(dark ? u"explore-keyboard-dark.png"_s : u"explore-keyboard-light.png"_s);

        QTest::keyClick(cards, Qt::Key_Right);
        EXPECT_EQ(besideButton(1), ring);
        EXPECT_EQ(besideButton(0), ground);
        const qsizetype before = model().selectedProject()->creatives.size();
        QTest::keyClick(cards, Qt::Key_Return);
        ASSERT_EQ(model().selectedProject()->creatives.size(), before + 1);
        EXPECT_EQ(cloned().headline,
            u"Switch from "_s + thread().competitorAds.at(1).competitorDomain + u": "_s
                + thread().competitorAds.at(1).headline);
        EXPECT_EQ(thread().workbenchView, IDEWorkbenchView::canvas);

        QTest::keyClick(cards, Qt::Key_Left);
        QTest::keyClick(cards, Qt::Key_Space);
        ASSERT_EQ(model().selectedProject()->creatives.size(), before + 2);
        EXPECT_TRUE(cloned().headline.endsWith(thread().competitorAds.at(0).headline));

        // Without the keyboard there is no ring.
        lastChip->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(besideButton(0), ground);
    }
    EXPECT_TRUE(notices.contains(u"Cloned counter-positioning artboard to Creative Canvas."_s));
}

// Assistive technology meets the header, then each card as a list item named by its headline whose
// one control is the button named by what it does, "Clone Hook to Canvas", and described by the card.
TEST_F(CompetitorExplorerTest, EachCardOffersItsCloneButtonByName)
{
    show<CompetitorExplorerTabView>();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->text(QAccessible::Name), u"Competitor Ads"_s);
    ASSERT_EQ(list->childCount(), 1 + thread().competitorAds.size());
    EXPECT_EQ(list->child(0)->object(), child<QWidget>(u"competitorHeaderRow"_s));
    EXPECT_EQ(list->indexOfChild(list->child(0)), 0);

    const CampaignCompetitorAd ad = thread().competitorAds.at(1);
    QAccessibleInterface *card = list->child(2);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(list->indexOfChild(card), 2);
    EXPECT_EQ(card->role(), QAccessible::ListItem);
    EXPECT_EQ(card->text(QAccessible::Name), ad.headline);
    EXPECT_EQ(card->actionInterface(), nullptr);
    ASSERT_EQ(card->childCount(), 1);
    QAccessibleInterface *clone = card->child(0);
    EXPECT_EQ(clone->parent(), card);
    EXPECT_EQ(card->indexOfChild(clone), 0);
    EXPECT_EQ(clone->role(), QAccessible::Button);
    EXPECT_EQ(clone->text(QAccessible::Name), u"Clone Hook to Canvas"_s);
    // Every card's button has that name: its card's headline tells them apart.
    EXPECT_EQ(clone->text(QAccessible::Description), ad.headline);
    const QRect button = CompetitorAdCardDelegate::cloneButtonRect(grid()->visualRect(grid()->model()->index(1, 0)));
    EXPECT_EQ(clone->rect(), QRect(grid()->viewport()->mapToGlobal(button.topLeft()), button.size()));

    const qsizetype before = model().selectedProject()->creatives.size();
    ASSERT_NE(clone->actionInterface(), nullptr);
    clone->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    ASSERT_EQ(model().selectedProject()->creatives.size(), before + 1);
    EXPECT_TRUE(model().selectedProject()->creatives.last().headline.endsWith(ad.headline));
}

TEST_F(CompetitorExplorerTest, AnEmptyAdListShowsTheHeaderOverAnEmptyGrid)
{
    model().mutateThread(threadID, [](CampaignIDEThread &t) { t.competitorAds.clear(); });
    show<CompetitorExplorerTabView>();
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(headline().startsWith(u"Active Competitor Hooks & Paid Keywords for "_s));
}

TEST_F(CompetitorExplorerTest, TheAdListFollowsTheActiveThreadAsAConsistentItemModel)
{
    CompetitorAdListModel ads(&model());
    QAbstractItemModelTester tester(&ads, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(ads.threadID(), threadID);
    EXPECT_EQ(ads.rowCount(), thread().competitorAds.size());
    // A card shows its ad's own copy, call to action, spend and age.
    const CampaignCompetitorAd ad = thread().competitorAds.first();
    const QModelIndex card = ads.index(0, 0);
    EXPECT_EQ(card.data(CompetitorAdListModel::BodyRole).toString(), ad.bodyCopy);
    EXPECT_EQ(card.data(CompetitorAdListModel::CTARole).toString(), ad.cta);
    EXPECT_EQ(card.data(CompetitorAdListModel::EstimatedSpendRole).toString(), ad.estimatedMonthlySpend);
    EXPECT_EQ(card.data(CompetitorAdListModel::RunningDaysRole).toLongLong(), ad.activeDays);
    EXPECT_EQ(CompetitorAdCardDelegate::runningText(21), u"Running 21d"_s);

    model().mutateThread(threadID, [](CampaignIDEThread &t) { t.competitorAds[0].headline = u"Edited hook"_s; });
    EXPECT_EQ(ads.index(0, 0).data().toString(), u"Edited hook"_s);
    model().runCompetitorLookup(u"  Plannly.DEV "_s, threadID);
    EXPECT_EQ(ads.competitorDomain(), u"plannly.dev"_s);
    EXPECT_EQ(ads.index(0, 0).data(CompetitorAdListModel::IdRole).toUuid(), thread().competitorAds.at(0).id);

    const auto other = std::find_if(model().threads().cbegin(), model().threads().cend(),
        [this](const CampaignIDEThread &t) { return t.id != threadID; });
    ASSERT_NE(other, model().threads().cend());
    model().openThread(other->id);
    EXPECT_EQ(ads.threadID(), other->id);
    EXPECT_EQ(ads.rowCount(), other->competitorAds.size());
}

} // namespace
} // namespace orvane::canvastest
