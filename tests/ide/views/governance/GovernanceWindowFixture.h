#pragma once

#include "../WidgetProbes.h"
#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/window/DestinationArea.h"

namespace orvane::governancetest {

using namespace Qt::StringLiterals;
using test::child;
using test::clickOn;
using test::colorOf;
using test::textOf;

// The real window, with helpers to open a surface and read what it shows.
class GovernanceWindowTest : public windowtest::WorkspaceWindowTest {
protected:
    // Navigates (in a new window unless there is one) and waits until the destination area shows a
    // view of type View. The window's first refresh from the stand-in service has ended by then, so
    // what it adopts does not arrive in the middle of a test.
    template <typename View> View *open(const IDEPrimaryDestination &destination)
    {
        if (!window)
            makeWindow();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !model().isSyncingServer(); }, 5000));
        model().navigateTo(destination);
        View *view = nullptr;
        EXPECT_TRUE(QTest::qWaitFor(
            [&] {
                view = dynamic_cast<View *>(window->destinationArea()->currentView());
                return view != nullptr;
            },
            2000));
        return view;
    }

    // The notice on screen now, or an empty text.
    [[nodiscard]] QString notice() const { return model().statusNotice().value_or(QString()); }
    [[nodiscard]] bool waitForNotice(const QString &expected) const
    {
        return QTest::qWaitFor([&] { return notice() == expected; }, 3000);
    }
};

} // namespace orvane::governancetest
