#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QTest>

#include <gtest/gtest.h>

namespace orvane::test {

// Reading and clicking the named parts of a widget tree, as the view tests drive them.

// The child of `parent` with that object name; a failure when there is none.
template <typename T = QWidget> [[nodiscard]] T *child(const QObject *parent, const QString &name)
{
    T *found = parent ? parent->findChild<T *>(name) : nullptr;
    EXPECT_NE(found, nullptr) << name.toStdString();
    return found;
}

// The text of the named label, or an empty text when there is none.
[[nodiscard]] inline QString textOf(const QObject *parent, const QString &name)
{
    auto *label = child<QLabel>(parent, name);
    return label ? label->text() : QString();
}

// The colour the named label draws its text in.
[[nodiscard]] inline QColor colorOf(const QObject *parent, const QString &name)
{
    auto *label = child<QLabel>(parent, name);
    return label ? label->palette().color(QPalette::WindowText) : QColor();
}

// Clicks a widget on screen at its middle (or at `at`), as the mouse does.
inline void clickOn(QWidget *widget, QPoint at = {})
{
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
    QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
}

// Clicks the named button inside `parent`.
inline void clickOn(const QObject *parent, const QString &name)
{
    clickOn(child<QAbstractButton>(parent, name));
}

} // namespace orvane::test
