#include "WorkbenchViewFixture.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/workbench/MediaPlanTableDelegate.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/MediaPlanTableView.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>

namespace orvane::workbenchtest {
namespace {

using Column = MediaPlanTableModel::Column;

class MediaPlanTableTest : public WorkbenchViewTest {
protected:
    void SetUp() override
    {
        WorkbenchViewTest::SetUp();
        threadID = openThread({ row(u"LI_Flight"_s, 250, 175, u"Ready"_s), row(u"GS_Flight"_s, 1250, 145.5) });
        view = show<MediaPlanTableView>();
        table = view->table();
        tester = std::make_unique<QAbstractItemModelTester>(
            view->tableModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    void TearDown() override
    {
        tester.reset();
        WorkbenchViewTest::TearDown();
    }
    [[nodiscard]] QString totals() const { return find<QLabel>(u"mediaPlanTotalsLabel"_s)->text(); }
    [[nodiscard]] QString cell(int rowNumber, int column) const
    {
        return view->tableModel()->index(rowNumber, column).data().toString();
    }
    [[nodiscard]] CampaignMediaPlanRow stored(int rowNumber) const
    {
        return thread(threadID).mediaPlanRows.at(rowNumber);
    }
    void step(int rowNumber, int direction)
    {
        const QRect cellRect = table->visualRect(view->tableModel()->index(rowNumber, Column::dailyBudget));
        const QRect stepper = media_plan_layout::stepperRect(cellRect);
        const QPoint at = direction > 0 ? QPoint(stepper.center().x(), stepper.top() + 4)
                                        : QPoint(stepper.center().x(), stepper.bottom() - 4);
        QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    }

    QUuid threadID;
    MediaPlanTableView *view = nullptr;
    QTableView *table = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(MediaPlanTableTest, ShowsTheFlightsWithTheirTotals)
{
    EXPECT_EQ(totals(), u"2 Flights · $1500/day ($45,000/mo) · Blended Target CPA $160"_s);
    ASSERT_EQ(view->tableModel()->rowCount(), 2);
    EXPECT_EQ(cell(1, Column::channel), u"LinkedIn"_s);
    EXPECT_EQ(cell(1, Column::campaignName), u"GS_Flight"_s);
    EXPECT_EQ(cell(1, Column::dailyBudget), u"$1250"_s);
    EXPECT_EQ(cell(1, Column::monthlyBudget), u"$37,500"_s);
    EXPECT_EQ(cell(1, Column::targetCPA), u"$145"_s);
    EXPECT_EQ(cell(0, Column::estimatedConversions), QString::number(stored(0).estimatedConversions) + u"/mo"_s);
    EXPECT_EQ(cell(1, Column::status), u"DRAFT"_s);
    EXPECT_TRUE(view->tableModel()->index(0, Column::status).data(MediaPlanTableModel::StatusReadyRole).toBool());
    EXPECT_FALSE(view->tableModel()->index(1, Column::status).data(MediaPlanTableModel::StatusReadyRole).toBool());
    for (int column = 0; column < MediaPlanTableModel::columnCount_; ++column)
        EXPECT_EQ(view->tableModel()->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString(),
            MediaPlanTableModel::columnTitle(column));
    keepPicture(u"media-plan-table.png"_s);

    // Truncated, never rounded; the readiness test is case-sensitive on the stored text.
    model->mutateThread(threadID, [](CampaignIDEThread &t) {
        t.mediaPlanRows[0].dailyBudget = 249.9;
        t.mediaPlanRows[0].status = u"READY"_s;
        t.mediaPlanRows[1].status = u"Approved & Active"_s;
    });
    EXPECT_EQ(cell(0, Column::dailyBudget), u"$249"_s);
    EXPECT_FALSE(view->tableModel()->index(0, Column::status).data(MediaPlanTableModel::StatusReadyRole).toBool());
    EXPECT_TRUE(view->tableModel()->index(1, Column::status).data(MediaPlanTableModel::StatusReadyRole).toBool());

    // An empty name shows its placeholder: ink in the cell where there was none.
    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.mediaPlanRows[0].campaignName.clear(); });
    const QImage image = table->viewport()->grab().toImage();
    const QRect nameCell = table->visualRect(view->tableModel()->index(0, Column::campaignName)).adjusted(0, 0, 0, -2);
    const QColor ground = image.pixelColor(nameCell.topLeft() * image.devicePixelRatio());
    int inked = 0;
    for (int y = nameCell.top(); y <= nameCell.bottom(); ++y) {
        for (int x = nameCell.left(); x <= nameCell.right(); ++x)
            inked += image.pixelColor(QPoint(x, y) * image.devicePixelRatio()) != ground ? 1 : 0;
    }
    EXPECT_GT(inked, 20);

    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.mediaPlanRows.clear(); });
    EXPECT_EQ(totals(), u"0 Flights · $0/day ($0/mo) · Blended Target CPA $0"_s);
    EXPECT_EQ(view->tableModel()->rowCount(), 0);
}

TEST_F(MediaPlanTableTest, TheStepperMovesTheDailyBudgetByFiftyDownToTwentyFive)
{
    EXPECT_EQ(MediaPlanTableModel::steppedDailyBudget(60, -1), 25);
    EXPECT_EQ(MediaPlanTableModel::steppedDailyBudget(std::numeric_limits<double>::quiet_NaN(), 1), 25);

    step(0, 1);
    EXPECT_EQ(stored(0).dailyBudget, 300);
    EXPECT_EQ(stored(0).monthlyBudget, 9000);
    EXPECT_EQ(cell(0, Column::monthlyBudget), u"$9,000"_s);
    EXPECT_EQ(totals(), u"2 Flights · $1550/day ($46,500/mo) · Blended Target CPA $160"_s);
    for (int i = 0; i < 6; ++i)
        step(0, -1);
    EXPECT_EQ(stored(0).dailyBudget, 25);
    step(0, 1);
    EXPECT_EQ(stored(0).dailyBudget, 75);

    // Quick clicks come from the desktop as press, release, double click, release: each is a step.
    const QRect stepper
        = media_plan_layout::stepperRect(table->visualRect(view->tableModel()->index(0, Column::dailyBudget)));
    const QPoint up(stepper.center().x(), stepper.top() + 4);
    for (const QEvent::Type type : { QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
             QEvent::MouseButtonRelease }) {
        QMouseEvent event(type, up, table->viewport()->mapToGlobal(up), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, {});
        QCoreApplication::sendEvent(table->viewport(), &event);
    }
    EXPECT_EQ(stored(0).dailyBudget, 175);

    // The keyboard steps the current daily cell too.
    table->setFocus();
    table->setCurrentIndex(view->tableModel()->index(1, Column::dailyBudget));
    QTest::keyClick(table, Qt::Key_Minus);
    EXPECT_EQ(stored(1).dailyBudget, 1200);
}

// The name field stays open while every keystroke is stored and the row's derived figures follow.
TEST_F(MediaPlanTableTest, TypingInACellStoresEveryKeystrokeInOneOpenField)
{
    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.mediaPlanRows[0].monthlyBudget = 1000; });
    EXPECT_EQ(cell(0, Column::monthlyBudget), u"$1,000"_s);
    const QModelIndex name = view->tableModel()->index(0, Column::campaignName);
    const QRect nameRect = table->visualRect(name);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, nameRect.center());
    QLineEdit *field = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (field = table->findChild<QLineEdit *>(u"campaignNameCellField"_s)); }, 2000));
    field->selectAll();
    QTest::keyClicks(field, u"X"_s);
    EXPECT_EQ(stored(0).campaignName, u"X"_s);
    EXPECT_EQ(cell(0, Column::monthlyBudget), u"$7,500"_s);
    QTest::keyClicks(field, u"_Flight"_s);
    EXPECT_EQ(stored(0).campaignName, u"X_Flight"_s);
    EXPECT_EQ(table->findChild<QLineEdit *>(u"campaignNameCellField"_s), field);
    EXPECT_EQ(field->text(), u"X_Flight"_s);
    EXPECT_EQ(field->cursorPosition(), 8);
    keepPicture(u"media-plan-table-editing.png"_s);

    // Another row added meanwhile leaves the open field alone.
    model->addMediaPlanRow(threadID);
    EXPECT_EQ(table->findChild<QLineEdit *>(u"campaignNameCellField"_s), field);

    const QModelIndex audience = view->tableModel()->index(1, Column::audience);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(audience).center());
    QLineEdit *audienceField = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (audienceField = table->findChild<QLineEdit *>(u"audienceCellField"_s)); }, 2000));
    audienceField->selectAll();
    QTest::keyClicks(audienceField, u"CFOs"_s);
    EXPECT_EQ(stored(1).audience, u"CFOs"_s);
    EXPECT_EQ(stored(1).funnelStage, u"Prospecting"_s);
}

TEST_F(MediaPlanTableTest, AddAndDeleteRowsThroughTheModel)
{
    click(u"addFlightRowButton"_s);
    ASSERT_EQ(thread(threadID).mediaPlanRows.size(), 3);
    EXPECT_EQ(cell(2, Column::campaignName), u"LI_NA_New_Flight_3"_s);
    EXPECT_EQ(notice(), u"Added row to Media Plan Table."_s);
    EXPECT_EQ(totals(), u"3 Flights · $1750/day ($52,500/mo) · Blended Target CPA $165"_s);

    const QUuid middle = stored(1).id;
    const QRect actions = table->visualRect(view->tableModel()->index(1, Column::actions));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, media_plan_layout::deleteRect(actions).center());
    ASSERT_TRUE(QTest::qWaitFor([&] { return thread(threadID).mediaPlanRows.size() == 2; }, 2000));
    EXPECT_NE(stored(0).id, middle);
    EXPECT_NE(stored(1).id, middle);
    EXPECT_EQ(view->tableModel()->rowCount(), 2);
    EXPECT_EQ(cell(1, Column::campaignName), u"LI_NA_New_Flight_3"_s);
}

// Another thread in front replaces the rows; a thread without agent tabs ignores the optimizer.
TEST_F(MediaPlanTableTest, FollowsTheActiveThreadAndItsAgentTab)
{
    const CampaignIDEThread other = model->threads().at(1);
    model->openThread(other.id);
    EXPECT_EQ(view->tableModel()->rowCount(), other.mediaPlanRows.size());

    model->openThread(threadID);
    EXPECT_EQ(view->tableModel()->rowCount(), 2);
    const CampaignAgentTab tab = thread(threadID).activeAgentTab();
    click(u"aiOptimizeTableButton"_s);
    const auto entries = [&] { return thread(threadID).activeAgentTab().entries; };
    ASSERT_TRUE(QTest::qWaitFor([&] { return entries().size() > tab.entries.size(); }, 2000));
    EXPECT_EQ(entries().at(tab.entries.size()).text, MediaPlanTableView::optimizePrompt);
    ASSERT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));

    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.agentTabs.clear(); });
    const CampaignIDEThread before = thread(threadID);
    click(u"aiOptimizeTableButton"_s);
    EXPECT_TRUE(model->agentTurns().idle());
    EXPECT_EQ(thread(threadID), before);
}

// A text the viewport's edge cuts shows its end after "…" there, or nothing where not even "…" fits.
TEST_F(MediaPlanTableTest, ATextCutByTheViewportEndsInAnEllipsisOrShowsNothing)
{
    const QFontMetrics metrics(MediaPlanHeaderView::titleFont());
    const QRect cell(0, 0, 200, 30);
    for (const QString &text : { u"X"_s, u"GOOGLE SEARCH"_s }) {
        for (int cut = 1; cut < metrics.horizontalAdvance(text); ++cut) {
            const media_plan_layout::FittedText fitted
                = media_plan_layout::fitText(text, metrics, cell, QRect(cut, 0, 400, 30));
            EXPECT_LE(metrics.horizontalAdvance(fitted.text), fitted.rect.width()) << text.toStdString() << cut;
            EXPECT_TRUE(fitted.text.isEmpty() || fitted.text.startsWith(u'…')) << text.toStdString() << cut;
        }
    }
}

// Tab into the table rings its current cell, in either theme; the arrows move the ring from cell to
// cell, past the name and audience without opening their fields; typing or a click on the current
// cell opens its field.
TEST_F(MediaPlanTableTest, TheArrowsMoveARingedCellWithoutOpeningFields)
{
    QWidget *add = find(u"addFlightRowButton"_s);
    const auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };
    // Whether the ring shows around a cell, as the window shows it (the platform's grab reads what
    // was painted and not painted over since): all four sides, or not its top, bottom and left (its right
    // side is where the next cell's ring has its left one, in the gap between them).
    const auto ringed = [&](int column) -> std::optional<bool> {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        const QImage screen = host->screen()->grabWindow(host->winId()).toImage();
        const QColor ring = focusRingColor(theme->theme(), theme->theme().panelBackground());
        const QRect around
            = media_plan_layout::focusRect(table->visualRect(view->tableModel()->index(0, column)), column)
                  .translated(table->viewport()->mapTo(host.get(), QPoint()));
        const QPoint middle = around.center();
        const auto inked = [&](QPoint at) { return screen.pixelColor(at * screen.devicePixelRatio()) == ring; };
        const bool top = inked(QPoint(middle.x(), around.top() + 1));
        const bool bottom = inked(QPoint(middle.x(), around.bottom() - 1));
        if (top && bottom && inked(QPoint(around.left() + 1, middle.y()))
            && inked(QPoint(around.right() - 1, middle.y())))
            return true;
        if (!top && !bottom && !inked(QPoint(around.left() + 1, middle.y())))
            return false;
        return std::nullopt;
    };
    for (const bool dark : { true, false }) {
        const std::string themeName = dark ? "dark" : "light";
        theme->setDark(dark);
        add->setFocus(Qt::TabFocusReason);
        table->setCurrentIndex({});
        EXPECT_EQ(ringed(Column::channel), false) << themeName;
        table->setFocus(Qt::TabFocusReason);
        ASSERT_EQ(table->currentIndex(), view->tableModel()->index(0, Column::channel)) << themeName;
        EXPECT_EQ(ringed(Column::channel), true) << themeName;
        EXPECT_NE(focusRingColor(theme->theme(), theme->theme().panelBackground()), theme->theme().panelBackground());

        for (const int column : { Column::campaignName, Column::audience, Column::dailyBudget }) {
            press(Qt::Key_Right);
            ASSERT_EQ(table->currentIndex().column(), column) << themeName;
            EXPECT_EQ(QApplication::focusWidget(), table) << themeName << ": a field opened at column " << column;
            EXPECT_EQ(ringed(column), true) << themeName << " column " << column;
            EXPECT_EQ(ringed(column - 1), false) << themeName << ": the ring stays at column " << column - 1;
        }
        keepPicture(QString::fromStdString("media-plan-table-keyboard-" + themeName + ".png"));
        add->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(ringed(Column::dailyBudget), false) << themeName;
    }

    // Typing on the current name opens its field with what was typed.
    table->setFocus(Qt::TabFocusReason);
    table->setCurrentIndex(view->tableModel()->index(0, Column::campaignName));
    QTest::keyClicks(table, u"Q"_s);
    QLineEdit *field = nullptr;
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return (field = table->findChild<QLineEdit *>(u"campaignNameCellField"_s)); }, 2000));
    EXPECT_EQ(stored(0).campaignName, u"Q"_s);
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == table; }, 2000));
    // A click on the cell the keyboard is on opens it too.
    const QModelIndex audience = view->tableModel()->index(0, Column::audience);
    table->setCurrentIndex(audience);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(audience).center());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return table->findChild<QLineEdit *>(u"audienceCellField"_s) != nullptr; }, 2000));
}

// Every keystroke in a cell's field is in the model as it is typed; Escape gives back the text the
// field opened with, to the model and the thread's media-plan.csv alike. Return, Tab and a click
// elsewhere keep what was typed. A megabyte pasted into a cell is kept whole and shown cut.
TEST_F(MediaPlanTableTest, EscapeInACellGivesBackWhatItsFieldOpenedWith)
{
    const CampaignIDEProject *project = model->project(thread(threadID).projectID);
    ASSERT_NE(project, nullptr);
    const QString csvPath = projectFile(model->projectFolderName(*project), u"media-plan.csv"_s);
    const auto csv = [&] {
        model->flushPendingWrites();
        return QString::fromUtf8(test::readAll(csvPath));
    };
    const auto openField = [&](const QString &name) {
        QLineEdit *field = nullptr;
        EXPECT_TRUE(QTest::qWaitFor([&] { return (field = table->findChild<QLineEdit *>(name)); }, 2000))
            << name.toStdString();
        return field;
    };
    const auto closed = [&] { return !table->findChild<QLineEdit *>(); };
    const auto press = [&](Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); };

    // A cell clicked, Escape, Down, Right: the second row's name; a letter typed, then Escape.
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
        table->visualRect(view->tableModel()->index(0, Column::channel)).center());
    press(Qt::Key_Escape);
    press(Qt::Key_Down);
    press(Qt::Key_Right);
    ASSERT_EQ(table->currentIndex(), view->tableModel()->index(1, Column::campaignName));
    QTest::keyClicks(table, u"W"_s);
    QLineEdit *field = openField(u"campaignNameCellField"_s);
    ASSERT_NE(field, nullptr);
    // A screen reader names the field by its column.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), u"CAMPAIGN / FLIGHT NAME"_s);
    EXPECT_EQ(stored(1).campaignName, u"W"_s);
    EXPECT_TRUE(csv().contains(u"\"LinkedIn\",\"W\","_s));
    press(Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    EXPECT_EQ(stored(1).campaignName, u"GS_Flight"_s);
    EXPECT_EQ(cell(1, Column::campaignName), u"GS_Flight"_s);
    EXPECT_TRUE(csv().contains(u"\"LinkedIn\",\"GS_Flight\","_s));
    EXPECT_FALSE(csv().contains(u"\"W\""_s));

    // The audience, opened by a click, several keystrokes: all of them go.
    const QModelIndex audience = view->tableModel()->index(0, Column::audience);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(audience).center());
    field = openField(u"audienceCellField"_s);
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(QAccessible::queryAccessibleInterface(field)->text(QAccessible::Name), u"AUDIENCE / KEYWORDS"_s);
    field->end(false);
    QTest::keyClicks(field, u" and CFOs"_s);
    EXPECT_EQ(stored(0).audience, u"Ops leaders and CFOs"_s);
    QTest::keyClick(field, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    EXPECT_EQ(stored(0).audience, u"Ops leaders"_s);
    EXPECT_FALSE(csv().contains(u"CFOs"_s));

    // Return, Tab and a click elsewhere keep what was typed.
    table->setFocus(Qt::TabFocusReason);
    table->setCurrentIndex(view->tableModel()->index(0, Column::campaignName));
    QTest::keyClicks(table, u"R"_s);
    QTest::keyClick(openField(u"campaignNameCellField"_s), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(audience).center());
    QTest::keyClicks(openField(u"audienceCellField"_s), u"T"_s);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    const QModelIndex otherName = view->tableModel()->index(1, Column::campaignName);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(otherName).center());
    field = openField(u"campaignNameCellField"_s);
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QTest::keyClicks(field, u"C"_s);
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {},
        table->visualRect(view->tableModel()->index(0, Column::channel)).center());
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    EXPECT_EQ(stored(0).campaignName, u"R"_s);
    EXPECT_EQ(stored(0).audience, u"T"_s);
    EXPECT_EQ(stored(1).campaignName, u"C"_s);
    EXPECT_TRUE(csv().contains(u"\"LinkedIn\",\"C\","_s));

    // A megabyte pasted into a cell goes to the row whole, and the field shows it cut; Escape
    // gives back the name the field opened with.
    const QString word(1'000'000, u'p');
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, table->visualRect(otherName).center());
    field = openField(u"campaignNameCellField"_s);
    ASSERT_NE(field, nullptr);
    field->selectAll();
    QGuiApplication::clipboard()->setText(word);
    QTest::keySequence(field, QKeySequence::Paste);
    EXPECT_TRUE(stored(1).campaignName == word) << stored(1).campaignName.size();
    EXPECT_EQ(field->text(), word.left(shownLineLimit) + u"…"_s);
    EXPECT_TRUE(field->isReadOnly());
    // Ctrl+Z gives back the name from before the paste, to the row and the file too.
    QTest::keySequence(field, QKeySequence::Undo);
    EXPECT_EQ(field->text(), u"C"_s);
    EXPECT_FALSE(field->isReadOnly());
    EXPECT_EQ(stored(1).campaignName, u"C"_s);
    EXPECT_TRUE(csv().contains(u"\"LinkedIn\",\"C\","_s));
    field->selectAll();
    QTest::keySequence(field, QKeySequence::Paste);
    EXPECT_TRUE(stored(1).campaignName == word) << stored(1).campaignName.size();
    QTest::keyClick(field, Qt::Key_Escape);
    ASSERT_TRUE(QTest::qWaitFor(closed, 2000));
    EXPECT_EQ(stored(1).campaignName, u"C"_s);
}

// However wide the table, where its rows start each title in view reads whole: a column that the
// edge would cut too short for its title goes out of view, the name and audience taking its room.
TEST_F(MediaPlanTableTest, WhereTheRowsStartEveryTitleInViewIsWhole)
{
    auto *header = qobject_cast<MediaPlanHeaderView *>(table->horizontalHeader());
    int pinned = 0;
    for (int width = 560; width <= 960; width += 2) {
        host->resize(width, 640);
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
        table->horizontalScrollBar()->setValue(0);
        QCoreApplication::processEvents();
        if (!view->pinnedColumns()->isVisible())
            continue;
        ++pinned;
        for (int column = Column::channel; column < Column::status; ++column) {
            const QString title = MediaPlanTableModel::columnTitle(column);
            const QString drawn = header->drawnTitle(column).text;
            EXPECT_TRUE(drawn.isEmpty() || drawn == title)
                << width << " wide: " << title.toStdString() << " drawn as " << drawn.toStdString();
        }
        EXPECT_GE(table->columnWidth(Column::campaignName), media_plan_layout::minimumTextWidth);
    }
    EXPECT_GT(pinned, 50);
}

// The table model on its own, checked by the item model tester while rows come, change, move and go.
TEST_F(MediaPlanTableTest, TheTableModelStaysConsistentThroughEveryKindOfChange)
{
    WorkbenchThreadBinding binding(*model);
    MediaPlanTableModel rows(binding);
    QAbstractItemModelTester check(&rows, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy resets(&rows, &QAbstractItemModel::modelReset);
    QSignalSpy inserted(&rows, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&rows, &QAbstractItemModel::rowsRemoved);

    model->addMediaPlanRow(threadID);
    model->addMediaPlanRow(threadID);
    EXPECT_EQ(inserted.count(), 2);
    model->deleteMediaPlanRow(stored(0).id, threadID);
    EXPECT_EQ(removed.count(), 1);
    EXPECT_EQ(resets.count(), 0);
    model->mutateThread(threadID, [](CampaignIDEThread &t) {
        t.mediaPlanRows.insert(1, row(u"Inserted"_s, 100, 100));
        t.mediaPlanRows.removeLast();
        t.mediaPlanRows[0].campaignName = u"Changed"_s;
    });
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(rows.index(0, Column::campaignName).data().toString(), u"Changed"_s);
    EXPECT_EQ(rows.index(1, Column::campaignName).data().toString(), u"Inserted"_s);
    model->mutateThread(
        threadID, [](CampaignIDEThread &t) { std::reverse(t.mediaPlanRows.begin(), t.mediaPlanRows.end()); });
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(rows.rows(), thread(threadID).mediaPlanRows);

    EXPECT_FALSE(rows.setData(rows.index(0, Column::monthlyBudget), 5));
    EXPECT_TRUE(rows.setData(rows.index(0, Column::dailyBudget), -400));
    EXPECT_EQ(stored(0).dailyBudget, 25);
    EXPECT_FALSE(rows.setData(rows.index(0, Column::dailyBudget), 5e12)); // refused by the model
    EXPECT_EQ(stored(0).dailyBudget, 25);

    model->openThread(model->threads().at(1).id);
    EXPECT_EQ(resets.count(), 2);
    EXPECT_EQ(rows.rows(), model->threads().at(1).mediaPlanRows);
}

} // namespace
} // namespace orvane::workbenchtest
