#include "ide/views/kit/AccessibleFactory.h"
#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/operations/CardGrid.h"

#include <QAbstractItemModel>

namespace orvane::operations {
namespace {

// One painted card: a list item named by its row's display text, pressed as a click on the card.
class CardAccessible final : public PaintedItemAccessible<CardGrid> {
public:
    CardAccessible(CardGrid *grid, int row) : PaintedItemAccessible(grid), m_row(row) { }

    [[nodiscard]] bool isValid() const override
    {
        return list() && list()->model() && m_row < list()->model()->rowCount();
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (kind != QAccessible::Name || !isValid())
            return {};
        return list()->model()->index(m_row, 0).data(Qt::DisplayRole).toString();
    }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect card = list()->cardRect(m_row);
        return QRect(list()->mapToGlobal(card.topLeft()), card.size());
    }
    [[nodiscard]] QAccessible::Role role() const override { return QAccessible::ListItem; }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        state.invisible = !isValid() || !list()->isVisible();
        state.focusable = true;
        state.focused = isValid() && list()->hasFocus() && list()->currentRow() == m_row;
        return state;
    }
    [[nodiscard]] QStringList actionNames() const override { return { pressAction() }; }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid())
            list()->activate(m_row);
    }

private:
    int m_row;
};

// The grid: a list whose children are its cards, made on first use and kept until the grid goes.
class CardGridAccessible final : public RowListAccessible<CardGrid, CardAccessible> {
public:
    explicit CardGridAccessible(CardGrid *grid) : RowListAccessible(grid) { }

    [[nodiscard]] int childCount() const override
    {
        const QAbstractItemModel *model = list()->model();
        return model ? model->rowCount() : 0;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() ? child(list()->currentRow()) : nullptr;
    }
};

} // namespace

void installCardGridAccessibility()
{
    installAccessibleFactoryOnce<accessibleFor<CardGrid, CardGridAccessible>>();
}

} // namespace orvane::operations
