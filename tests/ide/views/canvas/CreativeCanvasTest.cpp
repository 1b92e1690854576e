#include "CanvasViewsFixture.h"

#include "ide/views/canvas/ArtboardCardDelegate.h"
#include "ide/views/canvas/ArtboardGridModel.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CardPainting.h"
#include "ide/views/canvas/CreativeCanvasInspector.h"
#include "ide/views/canvas/CreativeCanvasTabView.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStandardItemModel>

#include <algorithm>

namespace orvane::canvastest {
namespace {

class CreativeCanvasTest : public CanvasViewsTest {
protected:
    void SetUp() override
    {
        CanvasViewsTest::SetUp();
        model().openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        model().setSelectedArtboardID(std::nullopt);
    }

    [[nodiscard]] CardGridView *grid() const { return child<CardGridView>(u"artboardGridView"_s); }
    [[nodiscard]] QList<CreativeCanvasArtboard> artboards() const { return model().selectedProject()->creatives; }
    [[nodiscard]] QString approveAllText() const
    {
        return child<QAbstractButton>(u"approveAllArtboardsButton"_s)->findChild<QLabel *>()->text();
    }
    [[nodiscard]] bool toolHighlighted(CreativeCanvasTool tool) const
    {
        return child<ClickableButton>(CreativeCanvasTabView::toolButtonName(tool))->look().fill
            == ThemeColor::accentLimeFill;
    }
    [[nodiscard]] QWidget *inspector() const { return view->findChild<QWidget *>(u"artboardInspector"_s); }
};

TEST_F(CreativeCanvasTest, ToolsOnlyMoveTheHighlightAndTappingACardReturnsToSelect)
{
    show<CreativeCanvasTabView>();
    EXPECT_TRUE(toolHighlighted(CreativeCanvasTool::select));
    for (const CreativeCanvasTool tool : allCases<CreativeCanvasTool>())
        EXPECT_EQ(child<QWidget>(CreativeCanvasTabView::toolButtonName(tool))->toolTip(),
            CreativeCanvasTabView::toolTipFor(tool));
    EXPECT_EQ(CreativeCanvasTabView::toolTipFor(CreativeCanvasTool::hand), u"Hand"_s);

    const auto before = artboards();
    clickButton(u"canvasToolHandButton"_s);
    EXPECT_EQ(model().canvasTool(), CreativeCanvasTool::hand);
    EXPECT_TRUE(toolHighlighted(CreativeCanvasTool::hand));
    EXPECT_FALSE(toolHighlighted(CreativeCanvasTool::select));
    EXPECT_EQ(artboards(), before);

    clickRow(grid(), 1);
    EXPECT_EQ(model().selectedArtboardID(), before.at(1).id);
    EXPECT_EQ(model().canvasTool(), CreativeCanvasTool::select);
    EXPECT_TRUE(toolHighlighted(CreativeCanvasTool::select));
    EXPECT_TRUE(grid()->model()->index(1, 0).data(ArtboardGridModel::SelectedRole).toBool());
    EXPECT_FALSE(grid()->model()->index(0, 0).data(ArtboardGridModel::SelectedRole).toBool());
}

TEST_F(CreativeCanvasTest, ApproveAllCountsEveryArtboardAndApprovesTheSelectedProject)
{
    model().setArtboardReviewStatus(artboards().at(0).id, CreativeReviewStatus::approved);
    show<CreativeCanvasTabView>();
    EXPECT_EQ(approveAllText(), u"Approve All (%1)"_s.arg(artboards().size()));

    clickButton(u"approveAllArtboardsButton"_s);
    EXPECT_EQ(model().selectedProject()->status, u"Ready to execute"_s);
    EXPECT_TRUE(notices.contains(u"All artboards approved. Campaign is ready for execution review."_s));
    for (int row = 0; row < grid()->model()->rowCount(); ++row)
        EXPECT_EQ(ArtboardCardDelegate::statusLabel(
                      grid()->model()->index(row, 0).data(ArtboardGridModel::ReviewStatusRole).toInt()),
            u"APPROVED"_s);

    // A project without artboards: nothing to approve, the project stays in review, the notice shows.
    model().mutateProject(*model().selectedProjectID(), [](CampaignIDEProject &project) { project.creatives.clear(); });
    EXPECT_EQ(approveAllText(), u"Approve All (0)"_s);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    notices.clear();
    model().setStatusNotice(std::nullopt);
    clickButton(u"approveAllArtboardsButton"_s);
    EXPECT_EQ(model().selectedProject()->status, u"Creative review"_s);
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(CreativeCanvasTest, WithoutASelectedProjectTheGridIsEmptyAndApproveAllOnlyTellsSo)
{
    model().setSelectedProjectID(std::nullopt);
    show<CreativeCanvasTabView>();
    EXPECT_EQ(approveAllText(), u"Approve All (0)"_s);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_FALSE(inspector()->isVisible());
    const auto projects = model().projects();
    clickButton(u"approveAllArtboardsButton"_s);
    EXPECT_EQ(model().projects(), projects);
    EXPECT_TRUE(notices.contains(u"All artboards approved. Campaign is ready for execution review."_s));
}

TEST_F(CreativeCanvasTest, TheInspectorFollowsTheSelectedArtboardOfTheSelectedProject)
{
    show<CreativeCanvasTabView>();
    EXPECT_FALSE(inspector()->isVisible());
    EXPECT_EQ(grid()->width(), child<QSplitter>(u"canvasSplitter"_s)->width());

    model().addArtboard(u"LinkedIn"_s, u"Single image · 1:1"_s, u"Ship faster"_s, 1200, 628);
    clickRow(grid(), int(artboards().size()) - 1);
    ASSERT_TRUE(inspector()->isVisible());
    EXPECT_EQ(inspector()->width(), CreativeCanvasInspector::inspectorWidth);
    EXPECT_EQ(child<WrappingLabel>(u"artboardInspectorTitleLabel"_s)->text(), u"LinkedIn · Single image · 1:1"_s);
    EXPECT_EQ(child<ElidedLabel>(u"artboardInspectorSizeLabel"_s)->text(), u"1200 × 628 px"_s);
    EXPECT_EQ(child<QPlainTextEdit>(u"artboardHeadlineEditor"_s)->toPlainText(), u"Ship faster"_s);

    // However the divider is dragged, the inspector keeps its width and the grid its minimum.
    auto *splitter = child<QSplitter>(u"canvasSplitter"_s);
    splitter->setSizes({ 100, 2000 });
    EXPECT_GE(grid()->width(), CreativeCanvasTabView::gridMinimumWidth);
    EXPECT_EQ(inspector()->width(), CreativeCanvasInspector::inspectorWidth);

    // Another project's selection closes the inspector: the id names none of its artboards.
    const auto other = std::find_if(model().projects().cbegin(), model().projects().cend(),
        [](const CampaignIDEProject &p) { return p.id != CampaignIDEWorkspaceModel::sampleProjectID; });
    ASSERT_NE(other, model().projects().cend());
    const QUuid selected = *model().selectedArtboardID();
    model().setSelectedProjectID(other->id);
    model().setSelectedArtboardID(selected);
    EXPECT_FALSE(inspector()->isVisible());
}

TEST_F(CreativeCanvasTest, TypingAHeadlineWritesEachKeystrokeThroughWithoutReplacingTheEditor)
{
    model().approveAllCreatives();
    show<CreativeCanvasTabView>();
    clickRow(grid(), 0);
    auto *editor = child<QPlainTextEdit>(u"artboardHeadlineEditor"_s);
    ASSERT_NE(editor, nullptr);
    const QString original = artboards().at(0).headline;
    editor->setFocus();
    editor->moveCursor(QTextCursor::End);

    QTest::keyClicks(editor, u"!?"_s);
    EXPECT_EQ(view->findChild<QPlainTextEdit *>(u"artboardHeadlineEditor"_s), editor);
    EXPECT_EQ(editor->toPlainText(), original + u"!?"_s);
    EXPECT_EQ(editor->textCursor().position(), original.size() + 2);
    EXPECT_EQ(artboards().at(0).headline, original + u"!?"_s);
    EXPECT_EQ(grid()->model()->index(0, 0).data(ArtboardGridModel::HeadlineRole).toString(), original + u"!?"_s);

    clickButton(u"approveArtboardButton"_s);
    EXPECT_EQ(artboards().at(0).reviewStatus, CreativeReviewStatus::approved);
    clickButton(u"flagArtboardButton"_s);
    EXPECT_EQ(artboards().at(0).reviewStatus, CreativeReviewStatus::rejected);
    EXPECT_EQ(ArtboardCardDelegate::statusLabel(
                  grid()->model()->index(0, 0).data(ArtboardGridModel::ReviewStatusRole).toInt()),
        u"NEEDS CHANGES"_s);
    EXPECT_EQ(editor->toPlainText(), original + u"!?"_s);
}

// A megabyte headline pasted into the inspector reaches the artboard whole; the editor shows it cut
// with a note, and the card draws a label's worth of it.
TEST_F(CreativeCanvasTest, AMegabyteHeadlineIsKeptWholeAndShownCut)
{
    show<CreativeCanvasTabView>();
    clickRow(grid(), 0);
    auto *editor = child<QPlainTextEdit>(u"artboardHeadlineEditor"_s);
    ASSERT_NE(editor, nullptr);
    const QString word(1'000'000, u'h');
    editor->setFocus();
    editor->selectAll();
    QGuiApplication::clipboard()->setText(word);
    QTest::keySequence(editor, QKeySequence::Paste);
    EXPECT_TRUE(artboards().at(0).headline == word);
    EXPECT_EQ(editor->toPlainText(), word.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(editor->isReadOnly());
    EXPECT_TRUE(child<QWidget>(u"artboardHeadlineCutNoteLabel"_s)->isVisible());
    grid()->viewport()->repaint();
    grab(u"creative-canvas-megabyte-headline.png"_s);

    // Another artboard with the same headline is another record: Ctrl+Z there gives back nothing of
    // the first one's paste.
    ASSERT_GE(artboards().size(), 2);
    model().mutateSelectedProject([&](CampaignIDEProject &project) { project.creatives[1].headline = word; });
    clickRow(grid(), 1);
    QTest::keySequence(editor, QKeySequence::Undo);
    EXPECT_TRUE(artboards().at(1).headline == word);
    EXPECT_TRUE(artboards().at(0).headline == word);
}

TEST_F(CreativeCanvasTest, GenerateAsksTheActiveTabsAgentAndDoesNothingWithoutATab)
{
    const auto thread = model().activeThread();
    ASSERT_TRUE(thread && thread->activeTab());
    const QUuid tabID = thread->activeTab()->id;
    const qsizetype entries = thread->activeTab()->entries.size();
    show<CreativeCanvasTabView>();

    clickButton(u"generateArtboardsButton"_s);
    const auto asked = model().activeThread()->activeTab();
    ASSERT_GT(asked->entries.size(), entries);
    EXPECT_EQ(asked->id, tabID);
    EXPECT_EQ(asked->entries.at(entries).text, CreativeCanvasTabView::generatePrompt);
    ASSERT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 10000));

    model().mutateThread(thread->id, [](CampaignIDEThread &t) { t.agentTabs.clear(); });
    const auto threads = model().threads();
    const auto projects = model().projects();
    clickButton(u"generateArtboardsButton"_s);
    EXPECT_TRUE(model().agentTurns().idle());
    EXPECT_EQ(model().threads(), threads);
    EXPECT_EQ(model().projects(), projects);
}

TEST_F(CreativeCanvasTest, TheGridFitsAsManyColumnsOfAtLeast270AsTheWidthAllows)
{
    EXPECT_EQ(CardGridView::columnsFor(270 + 32, 270, 14, 16), 1);
    EXPECT_EQ(CardGridView::columnsFor(2 * 270 + 14 + 32 - 1, 270, 14, 16), 1);
    EXPECT_EQ(CardGridView::columnsFor(2 * 270 + 14 + 32, 270, 14, 16), 2);
    EXPECT_EQ(CardGridView::columnsFor(100, 270, 14, 16), 1);

    show<CreativeCanvasTabView>(QSize(1180, 760));
    CardGridView *cards = grid();
    ASSERT_GE(cards->model()->rowCount(), 2);
    const int columns = cards->columnCount();
    EXPECT_EQ(columns, CardGridView::columnsFor(cards->viewport()->width(), 270, 14, 16));
    EXPECT_GE(cards->cellWidth(), 270);
    const QRect first = cards->visualRect(cards->model()->index(0, 0));
    EXPECT_EQ(first.topLeft(), QPoint(16, 16));
    if (columns > 1) {
        const QRect second = cards->visualRect(cards->model()->index(1, 0));
        EXPECT_EQ(second.left() - first.right() - 1, 14);
        EXPECT_EQ(second.top(), first.top());
    }
    grab(u"canvas-grid.png"_s);
}

TEST_F(CreativeCanvasTest, CardsKeepTheirPreviewAtLeast120HighAndCutHeadlinesAfterThreeLines)
{
    const ThemeSource &theme = *window->themeSource();
    ArtboardCardDelegate delegate(theme);
    QStandardItemModel items;
    const auto heightFor = [&](const QString &headline) {
        auto *item = new QStandardItem;
        item->setData(headline, ArtboardGridModel::HeadlineRole);
        items.appendRow(item);
        QStyleOptionViewItem option;
        option.rect = QRect(0, 0, 300, 0);
        return delegate.sizeHint(option, items.index(items.rowCount() - 1, 0)).height();
    };
    const int empty = heightFor(QString());
    EXPECT_GE(empty, 12 + ArtboardCardDelegate::previewMinimumHeight + 12);
    const QString word = u"Pipeline "_s;
    const int three = heightFor(word.repeated(9));
    const int many = heightFor(word.repeated(60));
    EXPECT_EQ(many, heightFor(word.repeated(120)));
    EXPECT_GE(many, three);

    EXPECT_EQ(ArtboardCardDelegate::previewKicker(1080, 1080), u"ORVANE AD PREVIEW · 1080×1080"_s);
    EXPECT_EQ(ArtboardCardDelegate::formatLine(u"Single image · 1:1"_s), u"· Single image · 1:1"_s);
    EXPECT_EQ(ArtboardCardDelegate::statusLabel(int(CreativeReviewStatus::needsReview)), u"NEEDS REVIEW"_s);
    EXPECT_EQ(ArtboardCardDelegate::statusLabel(int(CreativeReviewStatus::rejected)), u"NEEDS CHANGES"_s);

    // A chip sized to its own text shows it whole, whatever fraction of a pixel the face adds.
    const QString chip = ArtboardCardDelegate::chipText;
    for (const QFont &font : { themeFont(9, QFont::Bold, true), themeFont(11, QFont::Bold), themeFont(13) })
        EXPECT_EQ(QFontMetrics(font).elidedText(chip, Qt::ElideRight, card_painting::textWidth(chip, font)), chip);
}

// Tab reaches the cards and a ring outside the current card shows where the keyboard is, in either
// theme; the arrows move it, and Return or Space select the card's artboard as a click does.
TEST_F(CreativeCanvasTest, TheKeyboardMovesAmongTheCardsAndSelectsOneWithReturnOrSpace)
{
    for (int extra = 0; extra < 6; ++extra)
        model().addArtboard(u"Reddit"_s, u"Conversation Ad · 16:9"_s, u"Hook %1"_s.arg(extra), 1920, 1080);
    model().setSelectedArtboardID(std::nullopt);
    show<CreativeCanvasTabView>();
    activate();
    CardGridView *cards = grid();
    const auto index = [cards](int row) { return cards->model()->index(row, 0); };
    // The pixel just outside a card's left edge, where the ring is drawn.
    const auto besideCard = [cards, &index](int row) {
        const QRect card = cards->visualRect(index(row));
        return cards->viewport()->grab().toImage().pixelColor(card.left() - 3, card.center().y()).rgb();
    };

    for (const bool dark : { false, true }) {
        SCOPED_TRACE(dark ? "dark" : "light");
        model().setDarkTheme(dark);
        model().setSelectedArtboardID(std::nullopt);
        cards->setCurrentIndex({});
        const OrvaneWebTheme theme = window->themeSource()->theme();
        ASSERT_EQ(theme.isDark(), dark);
        const QRgb ring = focusRingColor(theme, theme.canvasBackground()).rgb();
        const QRgb ground = theme.canvasBackground().rgb();
        ASSERT_NE(ring, ground);

        auto *generate = child<QWidget>(u"generateArtboardsButton"_s);
        generate->setFocus(Qt::TabFocusReason);
        QTest::keyClick(generate, Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), cards);
        EXPECT_EQ(cards->currentIndex(), index(0));
        EXPECT_EQ(besideCard(0), ring);
        EXPECT_EQ(besideCard(1), ground);
        grab(dark ? u"canvas-keyboard-dark.png"_s : u"canvas-keyboard-light.png"_s);

        QTest::keyClick(cards, Qt::Key_Right);
        EXPECT_EQ(cards->currentIndex(), index(1));
        EXPECT_EQ(besideCard(1), ring);
        EXPECT_EQ(besideCard(0), ground);
        QTest::keyClick(cards, Qt::Key_Return);
        EXPECT_EQ(model().selectedArtboardID(), artboards().at(1).id);
        EXPECT_TRUE(inspector()->isVisible());

        // The inspector narrowed the grid: Down goes one row of its columns further.
        const int columns = cards->columnCount();
        QTest::keyClick(cards, Qt::Key_Down);
        EXPECT_EQ(cards->currentIndex(), index(1 + columns));
        QTest::keyClick(cards, Qt::Key_Space);
        EXPECT_EQ(model().selectedArtboardID(), artboards().at(1 + columns).id);
        EXPECT_EQ(besideCard(1 + columns), ring);

        // Without the keyboard there is no ring.
        generate->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(besideCard(1 + columns), ground);
    }
}

// Assistive technology meets each card as one button, named by the artboard's title and pressed to
// select it; the selected one says so.
TEST_F(CreativeCanvasTest, EachCardIsAButtonNamedByItsArtboard)
{
    show<CreativeCanvasTabView>();
    QAccessibleInterface *list = QAccessible::queryAccessibleInterface(grid());
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::List);
    EXPECT_EQ(list->text(QAccessible::Name), u"Artboards"_s);
    ASSERT_EQ(list->childCount(), artboards().size());
    const CreativeCanvasArtboard artboard = artboards().at(1);
    QAccessibleInterface *card = list->child(1);
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(list->indexOfChild(card), 1);
    EXPECT_EQ(card->parent(), list);
    EXPECT_EQ(card->role(), QAccessible::Button);
    EXPECT_EQ(card->text(QAccessible::Name), artboard.platform + u" · "_s + artboard.format);
    EXPECT_TRUE(card->text(QAccessible::Description).startsWith(artboard.headline));
    EXPECT_FALSE(card->state().selected);
    ASSERT_NE(card->actionInterface(), nullptr);
    card->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(model().selectedArtboardID(), artboard.id);
    EXPECT_TRUE(card->state().selected);
    EXPECT_EQ(card->childCount(), 0);
}

TEST_F(CreativeCanvasTest, TheArtboardListStaysAConsistentItemModelThroughEveryChange)
{
    ArtboardGridModel artboardModel(&model().projectStore());
    QAbstractItemModelTester tester(&artboardModel, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy inserted(&artboardModel, &QAbstractItemModel::rowsInserted);
    QSignalSpy reset(&artboardModel, &QAbstractItemModel::modelReset);

    const int rows = artboardModel.rowCount();
    model().addArtboard(u"Reddit"_s, u"Conversation Ad · 16:9"_s, u"Hook"_s, 1920, 1080);
    EXPECT_EQ(artboardModel.rowCount(), rows + 1);
    EXPECT_EQ(inserted.size(), 1);
    EXPECT_TRUE(artboardModel.index(rows, 0).data(ArtboardGridModel::SelectedRole).toBool());

    model().updateArtboardHeadline(artboards().at(0).id, u"Edited"_s);
    EXPECT_EQ(artboardModel.index(0, 0).data().toString(), u"Edited"_s);
    model().selectArtboard(artboards().at(1).id);
    EXPECT_TRUE(artboardModel.index(1, 0).data(ArtboardGridModel::SelectedRole).toBool());
    EXPECT_EQ(reset.size(), 0);

    model().mutateProject(*model().selectedProjectID(), [](CampaignIDEProject &p) { p.creatives.removeFirst(); });
    EXPECT_EQ(artboardModel.rowCount(), rows);
    model().setSelectedProjectID(std::nullopt);
    EXPECT_EQ(artboardModel.rowCount(), 0);
    model().setSelectedProjectID(CampaignIDEWorkspaceModel::sampleProjectID);
    EXPECT_EQ(artboardModel.rowCount(), rows);
}

} // namespace
} // namespace orvane::canvastest
