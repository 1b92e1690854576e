#pragma once

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace orvane {

// Tells assistive technology where the keyboard is inside a focused list that paints its items (a
// card, a row, a control drawn on one), down to the deepest focus child, so that a screen reader
// says each item as the keyboard reaches it.
inline void announceKeyboardItem(QWidget *list)
{
    if (!list->hasFocus() || !QAccessible::isActive())
        return;
    QAccessibleInterface *focused = QAccessible::queryAccessibleInterface(list);
    for (QAccessibleInterface *child = focused ? focused->focusChild() : nullptr; child; child = child->focusChild())
        focused = child;
    if (focused) {
        QAccessibleEvent event(focused, QAccessible::Focus);
        QAccessible::updateAccessibility(&event);
    }
}

// Something a list paints rather than a widget of its own (a row, a card, a control drawn on a card):
// it has no object, sits in the list's window under the list's interface, has no children and offers
// its actions. Subclasses give its name, place, role, state and actions.
template <typename List> class PaintedItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    [[nodiscard]] QObject *object() const override { return nullptr; }
    [[nodiscard]] QWindow *window() const override { return m_list ? m_list->window()->windowHandle() : nullptr; }
    [[nodiscard]] QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_list.data());
    }
    [[nodiscard]] QAccessibleInterface *child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    [[nodiscard]] QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString &) override { }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override { return {}; }

protected:
    explicit PaintedItemAccessible(List *list) : m_list(list) { }

    // Null once the list is gone: the toolkit may still hold this interface until the list's own goes.
    [[nodiscard]] List *list() const { return m_list.data(); }

private:
    QPointer<List> m_list;
};

// A list whose children are interfaces it makes on first use, cached by key so each keeps one id,
// and deleted with the list. `Child` is made as `Child(list, key)`.
template <typename List, typename Child, typename Key> class CachedChildrenAccessible : public QAccessibleWidget {
public:
    ~CachedChildrenAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_children))
            QAccessible::deleteAccessibleInterface(id);
    }
    CachedChildrenAccessible(const CachedChildrenAccessible &) = delete;
    CachedChildrenAccessible &operator=(const CachedChildrenAccessible &) = delete;

protected:
    explicit CachedChildrenAccessible(List *list) : QAccessibleWidget(list, QAccessible::List) { }

    [[nodiscard]] List *list() const { return static_cast<List *>(widget()); }
    [[nodiscard]] QAccessibleInterface *cachedChild(const Key &key) const
    {
        auto found = m_children.constFind(key);
        if (found == m_children.constEnd())
            found = m_children.insert(key, QAccessible::registerAccessibleInterface(new Child(list(), key)));
        return QAccessible::accessibleInterface(*found);
    }
    [[nodiscard]] Key keyOf(const QAccessibleInterface *child, const Key &absent) const
    {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
        return m_children.key(id, absent);
    }

private:
    mutable QHash<Key, QAccessible::Id> m_children;
};

// A list whose children are its rows, one `Row(list, row)` per model row. Subclasses say how many
// rows there are and which has focus.
template <typename List, typename Row> class RowListAccessible : public CachedChildrenAccessible<List, Row, int> {
public:
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        return index >= 0 && index < this->childCount() ? this->cachedChild(index) : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override { return this->keyOf(child, -1); }

protected:
    using CachedChildrenAccessible<List, Row, int>::CachedChildrenAccessible;
};

} // namespace orvane
