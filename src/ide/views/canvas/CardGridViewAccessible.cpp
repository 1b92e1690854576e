#include "ide/views/canvas/CardGridView.h"
#include "ide/views/kit/AccessibleFactory.h"
#include "ide/views/kit/PaintedListAccessible.h"

namespace orvane {
namespace {

// A card of the grid (control unset) or the control painted on it.
struct CardKey {
    int row = -1;
    bool control = false;
    friend bool operator==(const CardKey &, const CardKey &) = default;
};
size_t qHash(const CardKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.row, key.control);
}

class CardNodeAccessible final : public PaintedItemAccessible<CardGridView> {
public:
    CardNodeAccessible(CardGridView *grid, CardKey key) : PaintedItemAccessible(grid), m_key(key) { }

    [[nodiscard]] bool isValid() const override
    {
        return list() && delegate() && index().isValid() && (!m_key.control || !delegate()->actionIsCard());
    }
    [[nodiscard]] QAccessibleInterface *parent() const override;
    [[nodiscard]] QAccessibleInterface *child(int index) const override;
    [[nodiscard]] int childCount() const override
    {
        return isValid() && !m_key.control && !delegate()->actionIsCard() ? 1 : 0;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override;
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        QAccessibleInterface *control = childCount() > 0 ? child(0) : nullptr;
        return control && control->rect().contains(x, y) ? control : nullptr;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return childCount() > 0 && isCurrent() ? child(0) : nullptr;
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        if (kind == QAccessible::Name)
            return isButton() ? delegate()->actionName(index()) : index().data(Qt::DisplayRole).toString();
        // A control painted on a card is described by its card: the keyboard reaches each card at
        // its control, and every card's control has the same name.
        if (kind == QAccessible::Description)
            return m_key.control ? index().data(Qt::DisplayRole).toString() : delegate()->cardDescription(index());
        return {};
    }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = localRect();
        return QRect(list()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    [[nodiscard]] QAccessible::Role role() const override
    {
        return isButton() ? QAccessible::Button : QAccessible::ListItem;
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid() || !list()->isVisible()) {
            state.invisible = true;
            return state;
        }
        state.focusable = true;
        state.offscreen = !list()->viewport()->rect().intersects(localRect());
        state.focused = isCurrent() && isButton();
        if (!m_key.control && delegate()->isChosen(index())) {
            state.selectable = true;
            state.selected = true;
        }
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface && isButton() ? static_cast<QAccessibleActionInterface *>(this)
                                                                  : nullptr;
    }
    [[nodiscard]] QStringList actionNames() const override { return { pressAction(), setFocusAction() }; }
    void doAction(const QString &name) override
    {
        if (!isValid())
            return;
        if (name == pressAction()) {
            list()->triggerAction(index());
        } else if (name == setFocusAction()) {
            list()->setFocus(Qt::OtherFocusReason);
            list()->setCurrentIndex(index());
        }
    }

    [[nodiscard]] const CardKey &key() const { return m_key; }

private:
    [[nodiscard]] const CardActionDelegate *delegate() const { return list() ? list()->actionDelegate() : nullptr; }
    [[nodiscard]] QModelIndex index() const
    {
        const QAbstractItemModel *model = list() ? list()->model() : nullptr;
        return model && m_key.row >= 0 && m_key.row < model->rowCount(list()->rootIndex())
            ? model->index(m_key.row, 0, list()->rootIndex())
            : QModelIndex();
    }
    // Where it lies in the grid's viewport.
    [[nodiscard]] QRect localRect() const
    {
        return m_key.control ? list()->actionRect(index()) : list()->visualRect(index());
    }
    // The node a press reaches: the card when it is one button, else its control.
    [[nodiscard]] bool isButton() const { return m_key.control || (delegate() && delegate()->actionIsCard()); }
    [[nodiscard]] bool isCurrent() const { return list()->hasFocus() && list()->currentIndex() == index(); }

    CardKey m_key;
};

// The grid: its header (when it has one), then its cards, made on first use and kept until it goes.
class CardGridViewAccessible final : public CachedChildrenAccessible<CardGridView, CardNodeAccessible, CardKey> {
public:
    explicit CardGridViewAccessible(CardGridView *grid) : CachedChildrenAccessible(grid) { }

    [[nodiscard]] int childCount() const override { return headerCount() + cardCount(); }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        if (index < 0 || index >= childCount())
            return nullptr;
        if (index < headerCount())
            return QAccessible::queryAccessibleInterface(list()->header());
        return node({ index - headerCount(), false });
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        if (child && headerCount() > 0 && child->object() == list()->header())
            return 0;
        const auto *card = dynamic_cast<const CardNodeAccessible *>(child);
        return card && !card->key().control ? card->key().row + headerCount() : -1;
    }
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        const QPoint point = list()->viewport()->mapFromGlobal(QPoint(x, y));
        if (QWidget *header = list()->header(); header && header->isVisible() && header->geometry().contains(point))
            return QAccessible::queryAccessibleInterface(header);
        const QModelIndex index = list()->indexAt(point);
        return index.isValid() ? node({ index.row(), false }) : nullptr;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() && list()->currentIndex().isValid() ? node({ list()->currentIndex().row(), false })
                                                                      : nullptr;
    }

    [[nodiscard]] QAccessibleInterface *node(const CardKey &key) const { return cachedChild(key); }

private:
    [[nodiscard]] int headerCount() const { return list()->header() ? 1 : 0; }
    [[nodiscard]] int cardCount() const
    {
        return list()->model() && list()->actionDelegate() ? list()->model()->rowCount(list()->rootIndex()) : 0;
    }
};

CardGridViewAccessible *gridAccessible(CardGridView *grid)
{
    return static_cast<CardGridViewAccessible *>(QAccessible::queryAccessibleInterface(grid));
}

QAccessibleInterface *CardNodeAccessible::parent() const
{
    if (!list())
        return nullptr;
    return m_key.control ? gridAccessible(list())->node({ m_key.row, false }) : gridAccessible(list());
}

QAccessibleInterface *CardNodeAccessible::child(int index) const
{
    return index == 0 && index < childCount() ? gridAccessible(list())->node({ m_key.row, true }) : nullptr;
}

int CardNodeAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *node = dynamic_cast<const CardNodeAccessible *>(child);
    return node && node->key().control && node->key().row == m_key.row && childCount() > 0 ? 0 : -1;
}

} // namespace

void installCardGridViewAccessibility()
{
    installAccessibleFactoryOnce<accessibleFor<CardGridView, CardGridViewAccessible>>();
}

} // namespace orvane
