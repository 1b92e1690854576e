#pragma once

#include "../window/WorkspaceWindowFixture.h"

#include "ide/views/window/DestinationArea.h"

#include <QLabel>

namespace orvane::governancetest {

using namespace Qt::StringLiterals;

// The real window, with helpers to open a surface and read what it shows.
class GovernanceWindowTest : public windowtest::WorkspaceWindowTest {
protected:
    // Navigates and waits until the destination area shows a view of type View.
    // The window's first refresh from the stand-in service has ended by then, so what it adopts
    // does not arrive in the middle of a test.
    template <typename View> View *open(const IDEPrimaryDestination &destination)
    {
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

    template <typename T = QWidget> [[nodiscard]] static T *child(QWidget *parent, const QString &name)
    {
        T *found = parent ? parent->findChild<T *>(name) : nullptr;
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    [[nodiscard]] static QString text(QWidget *parent, const QString &name)
    {
        auto *label = child<QLabel>(parent, name);
        return label ? label->text() : QString();
    }

    [[nodiscard]] static QColor textColor(QWidget *parent, const QString &name)
    {
        auto *label = child<QLabel>(parent, name);
        return label ? label->palette().color(QPalette::WindowText) : QColor();
    }

    static void clickWidget(QWidget *widget, QPoint at = {})
    {
        ASSERT_NE(widget, nullptr);
        ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }

    // The notice on screen now, or an empty text.
    [[nodiscard]] QString notice() const { return model().statusNotice().value_or(QString()); }
    [[nodiscard]] bool waitForNotice(const QString &expected) const
    {
        return QTest::qWaitFor([&] { return notice() == expected; }, 3000);
    }
};

} // namespace orvane::governancetest
