#pragma once

#include "testsupport/Pictures.h"

#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/sheets/FittedListView.h"
#include "ide/views/window/WorkspaceSheets.h"

#include <QLineEdit>

namespace orvane::sheetstest {

using namespace Qt::StringLiterals;

// The real window, with helpers for its sheets and lists.
class SheetsWindowTest : public windowtest::WorkspaceWindowTest {
protected:
    // The window, shown, once its first refresh has brought what the service holds.
    void SetUp() override
    {
        makeWindow();
        ASSERT_TRUE(QTest::qWaitFor([this] { return !model().isSyncingServer(); }, 5000));
    }
    void TearDown() override
    {
        // Turns started by a sheet (a first prompt, a persona's starter task) end before the window.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window || window->model()->agentTurns().idle(); }, 10000));
        WorkspaceWindowTest::TearDown();
    }

    void typeInto(const QString &fieldName, const QString &text, bool replace = true)
    {
        auto *field = find<QLineEdit>(fieldName);
        ASSERT_NE(field, nullptr);
        if (replace) {
            field->selectAll();
            QTest::keyClick(field, Qt::Key_Backspace);
        }
        QTest::keyClicks(field, text);
    }

    static void clickRow(FittedListView *list, int row)
    {
        ASSERT_NE(list, nullptr);
        const QModelIndex index = list->model()->index(row, 0);
        ASSERT_TRUE(index.isValid());
        list->scrollTo(index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualRect(index).center());
    }

    // Where this folder's pictures go: ORVANE_GRAB_DIR, when set.
    static void keepWidget(QWidget *widget, const QString &name) { test::keepPicture(widget, name); }
};

} // namespace orvane::sheetstest
