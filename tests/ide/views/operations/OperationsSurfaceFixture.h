#pragma once

#include "ide/views/window/WorkspaceWindowFixture.h"

#include "ide/views/operations/CardGrid.h"
#include "ide/views/window/DestinationArea.h"

#include <QScrollArea>

namespace orvane::operationstest {

using namespace Qt::StringLiterals;

// The real window showing one of the operations surfaces, with a helper that clicks the painted
// parts of a card grid.
class OperationsSurfaceTest : public windowtest::WorkspaceWindowTest {
protected:
    void TearDown() override
    {
        // Threads started from a surface send their first message; let those turns end here.
        EXPECT_TRUE(QTest::qWaitFor([this] { return !window || window->model()->agentTurns().idle(); }, 5000));
        WorkspaceWindowTest::TearDown();
    }

    void show(const IDEPrimaryDestination &destination)
    {
        if (!window)
            makeWindow();
        model().navigateTo(destination);
        window->destinationArea()->sync();
        QCoreApplication::processEvents();
    }

    [[nodiscard]] DestinationView *surface() const { return window->destinationArea()->currentView(); }

    [[nodiscard]] operations::CardGrid *grid(const QString &name) const { return find<operations::CardGrid>(name); }

    // Scrolls the part into view and clicks its middle.
    void clickPart(const QString &gridName, int row, int part)
    {
        operations::CardGrid *cards = grid(gridName);
        ASSERT_NE(cards, nullptr);
        QCoreApplication::processEvents();
        const QRect rect = cards->partRect(row, part);
        ASSERT_FALSE(rect.isEmpty()) << gridName.toStdString() << " row " << row;
        if (auto *scroll = surface()->findChild<QScrollArea *>(u"surfaceScrollArea"_s))
            scroll->ensureVisible(0, cards->mapTo(scroll->widget(), rect.center()).y(), 0, rect.height());
        QTest::mouseClick(cards, Qt::LeftButton, {}, rect.center());
        QCoreApplication::processEvents();
    }

    // Waits until the destination area shows the surface.
    [[nodiscard]] bool showsSurface(DestinationSurface expected)
    {
        return QTest::qWaitFor([&] { return window->destinationArea()->surface() == expected; }, 2000);
    }
};

} // namespace orvane::operationstest
