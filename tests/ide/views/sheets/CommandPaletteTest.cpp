#include "SheetsWindowFixture.h"

#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/sheets/CommandPaletteResultsModel.h"
#include "ide/views/sheets/CommandPaletteSheet.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QApplication>
#include <QRegularExpression>
#include <QScrollBar>

namespace orvane::sheetstest {
namespace {

using Kind = CommandPaletteResultsModel::Kind;

class CommandPaletteTest : public SheetsWindowTest {
protected:
    // The rows as "kind:text", for compact comparisons.
    static QStringList rows(const QAbstractItemModel &results)
    {
        QStringList texts;
        for (int row = 0; row < results.rowCount(); ++row) {
            const QModelIndex index = results.index(row, 0);
            const Kind kind = index.data(CommandPaletteResultsModel::KindRole).value<Kind>();
            const QString prefix = kind == Kind::thread ? u"T:"_s : kind == Kind::persona ? u"P:"_s : u"H:"_s;
            texts.append(prefix + index.data().toString());
        }
        return texts;
    }
    static QStringList threadRows(const QAbstractItemModel &results)
    {
        return rows(results).filter(QRegularExpression(u"^T:"_s));
    }

    QUuid addThread(const QString &title)
    {
        CampaignIDEWorkspaceModel::NewThread request;
        request.title = title;
        return model().createNewThread(request, nullptr);
    }

    CommandPaletteSheet *openPalette()
    {
        window->controller()->openCommandPalette();
        if (!shownSheet(WorkspaceSheet::commandPalette))
            return nullptr;
        return window->findChild<CommandPaletteSheet *>();
    }
};

TEST_F(CommandPaletteTest, ResultsFilterTitlesNamesAndHandlesAsTypedAndFollowTheModelInPlace)
{
    CommandPaletteResultsModel results(model().threadList());
    QAbstractItemModelTester tester(&results, QAbstractItemModelTester::FailureReportingMode::Fatal);

    // Empty: every thread of every project, then all six personas, each list under its header.
    QStringList expected { u"H:THREADS"_s };
    for (const CampaignIDEThread &thread : model().threads())
        expected.append(u"T:"_s + thread.title);
    expected.append(u"H:SPECIALIST AGENTS (START NEW THREAD)"_s);
    for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas())
        expected.append(u"P:"_s + persona.name + u" ("_s + persona.handle + u')');
    EXPECT_EQ(rows(results), expected);
    const QModelIndex personaRow = results.index(int(expected.size()) - 1, 0);
    EXPECT_EQ(personaRow.data(CommandPaletteResultsModel::SymbolRole).toString(), u"safari"_s);
    EXPECT_EQ(personaRow.data(CommandPaletteResultsModel::TrailingTextRole).toString(), u"Run Sample Task →"_s);
    EXPECT_EQ(results.flags(results.index(0, 0)) & Qt::ItemIsEnabled, Qt::NoItemFlags);

    const QUuid alpha = addThread(u"Alpha Session"_s);
    addThread(u"Canvas refresh"_s);
    EXPECT_EQ(threadRows(results).constFirst(), u"T:Canvas refresh"_s);

    // Case does not matter; the query is not trimmed.
    results.setQuery(u"SESSION"_s);
    EXPECT_EQ(threadRows(results), QStringList { u"T:Alpha Session"_s });
    results.setQuery(u" session"_s);
    EXPECT_EQ(threadRows(results), QStringList { u"T:Alpha Session"_s });
    results.setQuery(u" alpha"_s);
    EXPECT_TRUE(threadRows(results).isEmpty());

    // Only titles are searched: "Document" is a workbench name, not in any title.
    results.setQuery(u"Document"_s);
    EXPECT_TRUE(threadRows(results).isEmpty());
    results.setQuery(u"canvas"_s);
    EXPECT_EQ(threadRows(results), QStringList { u"T:Canvas refresh"_s });

    // Personas match by name or handle.
    results.setQuery(u"@SPY"_s);
    EXPECT_EQ(rows(results),
        (QStringList {
            u"H:THREADS"_s, u"H:SPECIALIST AGENTS (START NEW THREAD)"_s, u"P:Competitor Intelligence Spy (@spy)"_s }));
    results.setQuery(u"zzz-nothing"_s);
    EXPECT_EQ(rows(results), (QStringList { u"H:THREADS"_s, u"H:SPECIALIST AGENTS (START NEW THREAD)"_s }));

    // Renames, new threads and deletions re-filter in place.
    results.setQuery(u"session"_s);
    model().renameThread(alpha, u"Alpha Launch"_s);
    EXPECT_TRUE(threadRows(results).isEmpty());
    addThread(u"Beta Session"_s);
    model().renameThread(alpha, u"Alpha Session"_s);
    EXPECT_EQ(threadRows(results), (QStringList { u"T:Beta Session"_s, u"T:Alpha Session"_s }));
    model().deleteThread(alpha);
    EXPECT_EQ(threadRows(results), QStringList { u"T:Beta Session"_s });
    model().setThreads({});
    EXPECT_TRUE(threadRows(results).isEmpty());
}

TEST_F(CommandPaletteTest, TypingFiltersWithoutRebuildingTheFieldAndAThreadRowOpensItsThread)
{
    const QUuid target = addThread(u"Q2 Competitor Search Conquest"_s);
    model().openThread(model().threads().at(1).id);
    state().setCommandQuery(u"left over"_s);
    CommandPaletteSheet *palette = openPalette();
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(window->sheets()->sheet(WorkspaceSheet::commandPalette)->width(), 560);
    auto *field = find<QLineEdit>(u"commandQueryField"_s);
    EXPECT_TRUE(field->text().isEmpty());
    keepWidget(window->sheets()->sheet(WorkspaceSheet::commandPalette), u"command-palette.png"_s);

    QTest::keyClicks(field, u"competitor"_s);
    EXPECT_EQ(state().commandQuery(), u"competitor"_s);
    EXPECT_EQ(find<QLineEdit>(u"commandQueryField"_s), field);
    EXPECT_EQ(field->cursorPosition(), 10);
    // The sheet lists what the query leaves, the new thread first.
    EXPECT_EQ(rows(*palette->results()).value(1), u"T:Q2 Competitor Search Conquest"_s);
    keepWidget(window->sheets()->sheet(WorkspaceSheet::commandPalette), u"command-palette-filtered.png"_s);

    // Return picks nothing, even with one thread left.
    const IDEPrimaryDestination before = model().primaryDestination();
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(model().showingCommandPalette());
    EXPECT_EQ(model().primaryDestination(), before);

    clickRow(find<FittedListView>(u"commandPaletteResultList"_s), 1);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(target));
    EXPECT_FALSE(model().showingCommandPalette());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));
    // The query stays until an opener clears it.
    EXPECT_EQ(state().commandQuery(), u"competitor"_s);

    ASSERT_NE(openPalette(), nullptr);
    EXPECT_TRUE(find<QLineEdit>(u"commandQueryField"_s)->text().isEmpty());
    click(u"commandPaletteEscButton"_s);
    EXPECT_FALSE(model().showingCommandPalette());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));
}

// Every row is a button of the keyboard: Tab goes from the field to "ESC" and on from row to row
// (past the headers) and back to the field; Space or Return presses the row it is on. Nothing is
// current or ringed before Tab reaches a row, and Return in the field still picks nothing.
TEST_F(CommandPaletteTest, TabReachesEveryRowAndSpaceOrReturnPressesIt)
{
    const QUuid first = addThread(u"Keyboard Target"_s);
    const QUuid second = model().threads().at(1).id;
    CommandPaletteSheet *palette = openPalette();
    ASSERT_NE(palette, nullptr);
    auto *field = find<QLineEdit>(u"commandQueryField"_s);
    auto *list = find<FittedListView>(u"commandPaletteResultList"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
    const auto press = [](Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClick(focus, key, modifiers);
    };
    const auto focusName
        = [] { return QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString(); };
    // A row shows the keyboard's ring: the theme's accent dots down its left edge.
    const auto ringed = [list](int row) {
        const QImage image = list->viewport()->grab().toImage();
        const QRect rect = list->visualRect(list->model()->index(row, 0)) & list->viewport()->rect();
        const QColor accent = OrvaneWebTheme(true).accentCyan();
        for (int y = rect.top(); y <= rect.bottom(); ++y) {
            for (int x = rect.left(); x < rect.left() + 4; ++x) {
                if (image.pixelColor(QPoint(x, y) * image.devicePixelRatio()) == accent)
                    return true;
            }
        }
        return false;
    };
    const int rows = palette->results()->rowCount();
    const auto noRingAnywhere = [&] {
        for (int row = 0; row < rows; ++row) {
            if (ringed(row))
                return false;
        }
        return true;
    };

    // Opened: the field has the keyboard, no row is current or ringed, Return picks nothing.
    EXPECT_FALSE(list->currentIndex().isValid());
    EXPECT_TRUE(noRingAnywhere());
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_TRUE(model().showingCommandPalette());
    EXPECT_FALSE(list->currentIndex().isValid());

    press(Qt::Key_Tab);
    EXPECT_EQ(focusName(), u"commandPaletteEscButton"_s);
    press(Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), list);
    ASSERT_EQ(list->currentIndex().row(), 1) << "the first thread, past the header";
    EXPECT_EQ(list->currentIndex().data(CommandPaletteResultsModel::ThreadIDRole).toUuid(), first);
    EXPECT_TRUE(ringed(1));
    EXPECT_FALSE(ringed(2));
    keepWidget(window->sheets()->sheet(WorkspaceSheet::commandPalette), u"command-palette-keyboard-row.png"_s);

    // Assistive technology reads the row as a focused button named by its title.
    QAccessibleInterface *listAccess = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(listAccess, nullptr);
    QAccessibleInterface *focused = listAccess->focusChild();
    ASSERT_NE(focused, nullptr);
    EXPECT_EQ(focused->role(), QAccessible::Button);
    EXPECT_EQ(focused->text(QAccessible::Name), u"Keyboard Target"_s);
    EXPECT_EQ(focused->text(QAccessible::Description), u"Document"_s);
    EXPECT_TRUE(focused->state().focused);
    EXPECT_EQ(listAccess->child(0)->role(), QAccessible::StaticText);
    EXPECT_TRUE(listAccess->child(0)->actionInterface()->actionNames().isEmpty());

    // Tab walks every row (the personas' header is passed over) and then leaves for the field;
    // Shift+Tab comes back to the last row.
    QList<int> visited { 1 };
    for (int step = 0; step < rows && QApplication::focusWidget() == list; ++step) {
        press(Qt::Key_Tab);
        if (QApplication::focusWidget() == list)
            visited.append(list->currentIndex().row());
    }
    QList<int> expected;
    for (int row = 0; row < rows; ++row) {
        if (palette->results()->index(row, 0).flags() & Qt::ItemIsEnabled)
            expected.append(row);
    }
    EXPECT_EQ(visited, expected);
    EXPECT_EQ(focusName(), u"commandQueryField"_s);
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentIndex().row(), rows - 1);
    EXPECT_TRUE(ringed(rows - 1));
    press(Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(list->currentIndex().row(), rows - 2);

    // Arrows and letters are no keys of a button: the row stays.
    press(Qt::Key_Up);
    press(Qt::Key_A);
    EXPECT_EQ(list->currentIndex().row(), rows - 2);
    EXPECT_TRUE(model().showingCommandPalette());

    // Back to the first thread row; Space opens it and closes the palette.
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(list->currentIndex().row(), 1);
    QTest::keyPress(list, Qt::Key_Space);
    EXPECT_EQ(list->pressedIndex(), list->currentIndex()) << "held down, as a button";
    EXPECT_TRUE(model().showingCommandPalette());
    QTest::keyRelease(list, Qt::Key_Space);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_FALSE(model().showingCommandPalette());
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));

    // Opened again: nothing current; Return on the second thread row opens that one.
    palette = openPalette();
    ASSERT_NE(palette, nullptr);
    list = find<FittedListView>(u"commandPaletteResultList"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return find<QLineEdit>(u"commandQueryField"_s)->hasFocus(); }, 2000));
    EXPECT_FALSE(list->currentIndex().isValid());
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(list->currentIndex().row(), 2);
    EXPECT_EQ(list->currentIndex().data(CommandPaletteResultsModel::ThreadIDRole).toUuid(), second);
    press(Qt::Key_Return);
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(second));
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));

    // The row's accessible press does what a click does.
    palette = openPalette();
    ASSERT_NE(palette, nullptr);
    list = find<FittedListView>(u"commandPaletteResultList"_s);
    QAccessibleInterface *row = QAccessible::queryAccessibleInterface(list)->child(1);
    ASSERT_NE(row, nullptr);
    ASSERT_NE(row->actionInterface(), nullptr);
    row->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(first));
    EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));
}

// Shift+Tab into the list comes in at its last row, whichever row was current before: from the
// field of a palette just opened (nothing current), and after the first thread row was current.
TEST_F(CommandPaletteTest, ShiftTabIntoTheListLandsOnItsLastRow)
{
    CommandPaletteSheet *palette = openPalette();
    ASSERT_NE(palette, nullptr);
    auto *field = find<QLineEdit>(u"commandQueryField"_s);
    auto *list = find<FittedListView>(u"commandPaletteResultList"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); }, 2000));
    const int last = palette->results()->rowCount() - 1;
    ASSERT_TRUE(palette->results()->index(last, 0).flags() & Qt::ItemIsEnabled);

    QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentIndex().row(), last);

    // With the first thread row current and the keyboard back on the field, Shift+Tab still comes
    // in at the last row.
    field->setFocus(Qt::TabFocusReason);
    list->setFocus(Qt::TabFocusReason);
    ASSERT_EQ(list->currentIndex().row(), 1);
    field->setFocus(Qt::BacktabFocusReason);
    ASSERT_TRUE(field->hasFocus());
    QTest::keyClick(field, Qt::Key_Backtab, Qt::ShiftModifier);
    ASSERT_EQ(QApplication::focusWidget(), list);
    EXPECT_EQ(list->currentIndex().row(), last);
}

TEST_F(CommandPaletteTest, APersonaRowStartsItsSessionInTheSelectedProjectWithTheStarterPromptSent)
{
    const CampaignIDEProject second = model().projects().at(1);
    model().openProject(second.id);
    const OrvaneAgentPersona creative = OrvaneWebParitySeeds::personas().at(2);

    for (int pick = 0; pick < 2; ++pick) {
        CommandPaletteSheet *palette = openPalette();
        ASSERT_NE(palette, nullptr);
        QTest::keyClicks(find<QLineEdit>(u"commandQueryField"_s), u"@creative"_s);
        ASSERT_EQ(rows(*palette->results()).last(), u"P:Creative Studio Director (@creative)"_s);
        clickRow(find<FittedListView>(u"commandPaletteResultList"_s), palette->results()->rowCount() - 1);
        EXPECT_TRUE(sheetGone(WorkspaceSheet::commandPalette));

        const CampaignIDEThread thread = model().threads().constFirst();
        EXPECT_EQ(thread.title, u"Creative Studio Director Session"_s);
        EXPECT_EQ(thread.projectID, second.id);
        EXPECT_EQ(thread.workbenchView, IDEWorkbenchView::canvas);
        EXPECT_EQ(model().primaryDestination(), IDEPrimaryDestination::thread(thread.id));
        const QList<CampaignTimelineEntry> &entries = thread.agentTabs.constFirst().entries;
        ASSERT_GE(entries.size(), 2);
        EXPECT_EQ(entries.at(1).text, creative.starterPrompt.trimmed());
        EXPECT_TRUE(QTest::qWaitFor([this] { return model().agentTurns().idle(); }, 10000));
    }
    // Picked twice: two threads of the same title.
    EXPECT_EQ(model().threads().at(0).title, model().threads().at(1).title);
    EXPECT_NE(model().threads().at(0).id, model().threads().at(1).id);
}

TEST_F(CommandPaletteTest, ALongListScrollsInsideItsMaximumHeightWhileTheSearchRowStays)
{
    CommandPaletteSheet *palette = openPalette();
    ASSERT_NE(palette, nullptr);
    auto *list = find<FittedListView>(u"commandPaletteResultList"_s);
    const int shortHeight = list->height();
    EXPECT_LT(shortHeight, CommandPaletteSheet::maximumListHeight + 1);
    EXPECT_EQ(list->height(), std::min(list->contentHeight(), CommandPaletteSheet::maximumListHeight));

    for (int index = 0; index < 20; ++index)
        addThread(u"Thread %1"_s.arg(index));
    auto *sheet = window->sheets()->sheet(WorkspaceSheet::commandPalette);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->height() == CommandPaletteSheet::maximumListHeight; }, 2000));
    EXPECT_GT(list->contentHeight(), CommandPaletteSheet::maximumListHeight);
    EXPECT_TRUE(list->verticalScrollBar()->maximum() > 0);
    // The sheet grows with the list; the search row stays at the top.
    EXPECT_TRUE(QTest::qWaitFor([&] { return sheet->height() >= sheet->sizeHint().height(); }, 2000));
    const int searchTop = find(u"commandPaletteSearchRow"_s)->y();
    list->verticalScrollBar()->setValue(list->verticalScrollBar()->maximum());
    EXPECT_EQ(find(u"commandPaletteSearchRow"_s)->y(), searchTop);
    keepWidget(sheet, u"command-palette-long.png"_s);

    // A query that leaves one row: the sheet shrinks back round it and the search row keeps its height.
    QWidget *searchRow = find(u"commandPaletteSearchRow"_s);
    const int searchHeight = searchRow->height();
    const int tallSheet = sheet->height();
    QTest::keyClicks(find(u"commandQueryField"_s), u"Thread 19"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->height() < shortHeight; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sheet->height() <= sheet->sizeHint().height(); }, 2000))
        << sheet->height() << " of " << tallSheet;
    EXPECT_EQ(searchRow->height(), searchHeight);

    // Light theme.
    model().setDarkTheme(false);
    keepWidget(sheet, u"command-palette-light.png"_s);
}

} // namespace
} // namespace orvane::sheetstest
