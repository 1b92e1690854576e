#include "ide/views/sheets/FittedListView.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace orvane {
namespace {

// One row of a list whose rows are tab stops: a button named by its row, pressed as a click on it;
// a row that cannot be pressed (a header) is a text.
class FittedRowAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    FittedRowAccessible(FittedListView *list, int row) : m_list(list), m_row(row) { }

    [[nodiscard]] bool isValid() const override
    {
        return m_list && m_list->model() && m_row < m_list->model()->rowCount(m_list->rootIndex());
    }
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
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        switch (kind) {
        case QAccessible::Name:
            return index().data(Qt::AccessibleTextRole).toString();
        case QAccessible::Description:
            return index().data(Qt::AccessibleDescriptionRole).toString();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString &) override { }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = m_list->visualRect(index());
        return QRect(m_list->viewport()->mapToGlobal(row.topLeft()), row.size());
    }
    [[nodiscard]] QAccessible::Role role() const override
    {
        return isValid() && m_list->isTabStop(index()) ? QAccessible::Button : QAccessible::StaticText;
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QRect row = m_list->visualRect(index());
        state.invisible = !m_list->isVisible();
        state.offscreen = !m_list->viewport()->rect().intersects(row);
        state.focusable = m_list->isTabStop(index());
        state.focused = state.focusable && m_list->hasFocus() && m_list->currentIndex() == index();
        state.pressed = m_list->pressedIndex() == index();
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    [[nodiscard]] QStringList actionNames() const override
    {
        return isValid() && m_list->isTabStop(index()) ? QStringList { pressAction() } : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && m_list->isTabStop(index()))
            m_list->pressRow(index());
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    [[nodiscard]] QModelIndex index() const { return m_list->model()->index(m_row, 0, m_list->rootIndex()); }

    QPointer<FittedListView> m_list;
    int m_row;
};

// The list: its children are its rows, made on first use and kept until the list goes.
class FittedListAccessible final : public QAccessibleWidget {
public:
    explicit FittedListAccessible(FittedListView *list) : QAccessibleWidget(list, QAccessible::List) { }
    ~FittedListAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_rows))
            QAccessible::deleteAccessibleInterface(id);
    }

    [[nodiscard]] int childCount() const override
    {
        const QAbstractItemModel *model = list()->model();
        return model ? model->rowCount(list()->rootIndex()) : 0;
    }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto found = m_rows.constFind(index);
        if (found == m_rows.constEnd())
            found = m_rows.insert(
                index, QAccessible::registerAccessibleInterface(new FittedRowAccessible(list(), index)));
        return QAccessible::accessibleInterface(*found);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
        return m_rows.key(id, -1);
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() && list()->currentIndex().isValid() ? child(list()->currentIndex().row()) : nullptr;
    }

private:
    [[nodiscard]] FittedListView *list() const { return static_cast<FittedListView *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_rows;
};

// Lists whose rows are not tab stops keep the toolkit's own list interface.
QAccessibleInterface *fittedListAccessible(const QString &className, QObject *object)
{
    if (className != QLatin1StringView(FittedListView::staticMetaObject.className()) || !object->isWidgetType())
        return nullptr;
    auto *list = static_cast<FittedListView *>(object);
    return list->rowsAreTabStops() ? new FittedListAccessible(list) : nullptr;
}

} // namespace

void installFittedListAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(fittedListAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace orvane
