#include "ide/views/kit/AccessibleFactory.h"
#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineListView.h"

namespace orvane {
namespace {

using HitKind = TimelineCardLayout::HitKind;

// One row of the list (hit kind unset) or one control a card paints, found again by its kind and
// tool run each time: the card's layout changes under it (a gate decided loses its buttons).
struct NodeKey {
    int row = -1;
    std::optional<HitKind> kind;
    QUuid id;
    friend bool operator==(const NodeKey &, const NodeKey &) = default;
};
size_t qHash(const NodeKey &key, size_t seed = 0)
{
    return qHashMulti(seed, key.row, key.kind ? int(*key.kind) : -1, key.id);
}

class TimelineNodeAccessible final : public PaintedItemAccessible<TimelineListView> {
public:
    TimelineNodeAccessible(TimelineListView *list, NodeKey key) : PaintedItemAccessible(list), m_key(key) { }

    [[nodiscard]] bool isValid() const override
    {
        return list() && list()->entryDelegate() && index().isValid() && (!m_key.kind || hit() >= 0);
    }
    [[nodiscard]] QAccessibleInterface *parent() const override;
    [[nodiscard]] QAccessibleInterface *child(int index) const override;
    [[nodiscard]] int childCount() const override
    {
        return isValid() && !m_key.kind ? int(layout().controlHits().size()) : 0;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override;
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        for (int i = 0; i < childCount(); ++i) {
            if (QAccessibleInterface *control = child(i); control->rect().contains(x, y))
                return control;
        }
        return nullptr;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        if (m_key.kind || !isValid() || !list()->hasFocus() || list()->currentIndex() != index())
            return nullptr;
        const int control = int(layout().controlHits().indexOf(list()->currentControl()));
        return control >= 0 ? child(control) : nullptr;
    }
    [[nodiscard]] QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        const auto *entries = qobject_cast<const TimelineEntryListModel *>(list()->model());
        const int row = m_key.row;
        const bool entry = entries && row < entries->entryCount();
        if (m_key.kind)
            return kind == QAccessible::Name ? layout().hits.at(hit()).label : QString();
        if (kind == QAccessible::Name) {
            const QString text = index().data(Qt::DisplayRole).toString();
            return text.isEmpty() && entry ? entries->entryAt(row).authorName : timelineDisplayText(text);
        }
        if (kind == QAccessible::Description && entry)
            return entries->entryAt(row).authorName + u", " + entries->entryAt(row).timestamp;
        return {};
    }
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect local = m_key.kind
            ? list()->entryDelegate()->controlRect(index(), *m_key.kind, m_key.id).value_or(QRect())
            : list()->visualRect(index());
        return QRect(list()->viewport()->mapToGlobal(local.topLeft()), local.size());
    }
    [[nodiscard]] QAccessible::Role role() const override
    {
        if (!m_key.kind)
            return QAccessible::ListItem;
        return *m_key.kind == HitKind::artifactLink ? QAccessible::Link : QAccessible::Button;
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid() || !list()->isVisible()) {
            state.invisible = true;
            return state;
        }
        state.focusable = true;
        state.offscreen = !list()->viewport()->rect().intersects(list()->visualRect(index()));
        const bool current = list()->hasFocus() && list()->currentIndex() == index();
        state.focused = current && (m_key.kind ? list()->currentControl() == hit() : list()->currentControl() < 0);
        if (m_key.kind == HitKind::toolRow) {
            state.expandable = true;
            state.expanded = list()->entryDelegate()->isToolExpanded(m_key.id);
            state.collapsed = !state.expanded;
        }
        return state;
    }
    void *interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface && m_key.kind ? static_cast<QAccessibleActionInterface *>(this)
                                                                  : nullptr;
    }
    [[nodiscard]] QStringList actionNames() const override { return { pressAction(), setFocusAction() }; }
    void doAction(const QString &name) override
    {
        if (!isValid())
            return;
        if (name == pressAction()) {
            list()->pressControl(index(), hit());
        } else if (name == setFocusAction()) {
            list()->setFocus(Qt::OtherFocusReason);
            list()->setCurrentControl(index(), hit());
        }
    }

    [[nodiscard]] const NodeKey &key() const { return m_key; }

private:
    [[nodiscard]] QModelIndex index() const
    {
        const QAbstractItemModel *model = list() ? list()->model() : nullptr;
        return model && m_key.row < model->rowCount() ? model->index(m_key.row, 0) : QModelIndex();
    }
    [[nodiscard]] const TimelineCardLayout &layout() const { return list()->entryDelegate()->cardLayout(index()); }
    [[nodiscard]] int hit() const { return m_key.kind ? layout().findControl(*m_key.kind, m_key.id) : -1; }

    NodeKey m_key;
};

// The list: its rows and their controls are made on first use and kept until the list goes.
class TimelineListAccessible final
    : public CachedChildrenAccessible<TimelineListView, TimelineNodeAccessible, NodeKey> {
public:
    explicit TimelineListAccessible(TimelineListView *list) : CachedChildrenAccessible(list) { }

    [[nodiscard]] int childCount() const override { return list()->model() ? list()->model()->rowCount() : 0; }
    [[nodiscard]] QAccessibleInterface *child(int index) const override
    {
        return index >= 0 && index < childCount() ? node({ index, std::nullopt, {} }) : nullptr;
    }
    [[nodiscard]] int indexOfChild(const QAccessibleInterface *child) const override
    {
        const auto *node = dynamic_cast<const TimelineNodeAccessible *>(child);
        return node && !node->key().kind ? node->key().row : -1;
    }
    [[nodiscard]] QAccessibleInterface *childAt(int x, int y) const override
    {
        const QModelIndex index = list()->indexAt(list()->viewport()->mapFromGlobal(QPoint(x, y)));
        return index.isValid() ? child(index.row()) : nullptr;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() && list()->currentIndex().isValid() ? child(list()->currentIndex().row()) : nullptr;
    }

    [[nodiscard]] QAccessibleInterface *node(const NodeKey &key) const { return cachedChild(key); }
};

TimelineListAccessible *listAccessible(TimelineListView *list)
{
    return static_cast<TimelineListAccessible *>(QAccessible::queryAccessibleInterface(list));
}

QAccessibleInterface *TimelineNodeAccessible::parent() const
{
    if (!list())
        return nullptr;
    return m_key.kind ? listAccessible(list())->node({ m_key.row, std::nullopt, {} }) : listAccessible(list());
}

QAccessibleInterface *TimelineNodeAccessible::child(int index) const
{
    if (m_key.kind || index < 0 || index >= childCount())
        return nullptr;
    const TimelineCardLayout::Hit &control = layout().hits.at(layout().controlHits().at(index));
    return listAccessible(list())->node({ m_key.row, control.kind, control.id });
}

int TimelineNodeAccessible::indexOfChild(const QAccessibleInterface *child) const
{
    const auto *node = dynamic_cast<const TimelineNodeAccessible *>(child);
    if (m_key.kind || !node || !node->key().kind || node->key().row != m_key.row)
        return -1;
    return int(layout().controlHits().indexOf(layout().findControl(*node->key().kind, node->key().id)));
}

} // namespace

void installTimelineAccessibility()
{
    installAccessibleFactoryOnce<accessibleFor<TimelineListView, TimelineListAccessible>>();
}

} // namespace orvane
