#include "ide/views/operations/CardGrid.h"

#include <QAbstractItemModel>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

namespace orvane::operations {
namespace {

// One painted card: a list item named by its row's display text, pressed as a click on the card.
class CardAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    CardAccessible(CardGrid *grid, int row) : m_grid(grid), m_row(row) { }

    [[nodiscard]] bool isValid() const override
    {
        return m_grid && m_grid->model() && m_row < m_grid->model()->rowCount();
    }
    [[nodiscard]] QObject *object() const override { return nullptr; }
    [[nodiscard]] QWindow *window() const override { return m_grid ? m_grid->window()->windowHandle() : nullptr; }
    [[nodiscard]] QAccessibleInterface *parent() const override
    {
        return QAccessible::queryAccessibleInterface(m_grid.data());
    }
    [[nodiscard]] QAccessibleInterface *child(int) const override { return nullptr; }
    [[nodiscard]] int childCount() const override { return 0; }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    [[nodiscard]] QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    [[nodiscard]] QAccessibleInterface *focusChild() const override { return nullptr; }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return m_grid->model()->index(m_row, 0).data(Qt::DisplayRole).toString();
    }
    void setText(QAccessible::Text, const QString &) override { }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect card = m_grid->cardRect(m_row);
        return QRect(m_grid->mapToGlobal(card.topLeft()), card.size());
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::ListItem; }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid() || !m_grid->isVisible();
        state.focusable = true;
        state.focused = isValid() && m_grid->hasFocus() && m_grid->currentRow() == m_row;
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface *>(this) : nullptr;
    }
    [[nodiscard]] QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            m_grid->activate(m_row);
    }
    [[nodiscard]] QStringList keyBindingsForAction(const QString &) const override { return {}; }

private:
    QPointer<CardGrid> m_grid;
    int m_row;
};

// The grid: a list whose children are its cards, made on first use and kept until the grid goes.
class CardGridAccessible final : public QAccessibleWidget {
public:
    explicit CardGridAccessible(CardGrid *grid) : QAccessibleWidget(grid, QAccessible::List) { }
    ~CardGridAccessible() override
    {
        for (const QAccessible::Id id : std::as_const(m_cards))
            QAccessible::deleteAccessibleInterface(id);
    }

    [[nodiscard]] int childCount() const override
    {
        const QAbstractItemModel *model = grid()->model();
        return model ? model->rowCount() : 0;
    }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        auto found = m_cards.constFind(index);
        if (found == m_cards.constEnd())
            found = m_cards.insert(index, QAccessible::registerAccessibleInterface(new CardAccessible(grid(), index)));
        return QAccessible::accessibleInterface(*found);
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface *>(child));
        return m_cards.key(id, -1);
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return grid()->hasFocus() ? child(grid()->currentRow()) : nullptr;
    }

private:
    [[nodiscard]] CardGrid *grid() const { return static_cast<CardGrid *>(widget()); }

    mutable QHash<int, QAccessible::Id> m_cards;
};

QAccessibleInterface *cardGridAccessible(const QString &className, QObject *object)
{
    if (className == QLatin1StringView(CardGrid::staticMetaObject.className()) && object->isWidgetType())
        return new CardGridAccessible(static_cast<CardGrid *>(object));
    return nullptr;
}

} // namespace

void installCardGridAccessibility()
{
    static const bool installed = [] {
        QAccessible::installFactory(cardGridAccessible);
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace orvane::operations
