#include "ide/views/kit/AccessibleFactory.h"
#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/sheets/FittedListView.h"

namespace orvane {
namespace {

// One row of a list whose rows are tab stops: a button named by its row, pressed as a click on it;
// a row that cannot be pressed (a header) is a text.
class FittedRowAccessible final : public PaintedItemAccessible<FittedListView> {
public:
    FittedRowAccessible(FittedListView *list, int row) : PaintedItemAccessible(list), m_row(row) { }

    [[nodiscard]] bool isValid() const override
    {
        return list() && list()->model() && m_row < list()->model()->rowCount(list()->rootIndex());
    }
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
    [[nodiscard]] QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect row = list()->visualRect(index());
        return QRect(list()->viewport()->mapToGlobal(row.topLeft()), row.size());
    }
    [[nodiscard]] QAccessible::Role role() const override
    {
        return isValid() && list()->isTabStop(index()) ? QAccessible::Button : QAccessible::StaticText;
    }
    [[nodiscard]] QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const QRect row = list()->visualRect(index());
        state.invisible = !list()->isVisible();
        state.offscreen = !list()->viewport()->rect().intersects(row);
        state.focusable = list()->isTabStop(index());
        state.focused = state.focusable && list()->hasFocus() && list()->currentIndex() == index();
        state.pressed = list()->pressedIndex() == index();
        return state;
    }
    [[nodiscard]] QStringList actionNames() const override
    {
        return isValid() && list()->isTabStop(index()) ? QStringList { pressAction() } : QStringList();
    }
    void doAction(const QString &name) override
    {
        if (name == pressAction() && isValid() && list()->isTabStop(index()))
            list()->pressRow(index());
    }

private:
    [[nodiscard]] QModelIndex index() const { return list()->model()->index(m_row, 0, list()->rootIndex()); }

    int m_row;
};

// The list: its children are its rows, made on first use and kept until the list goes.
class FittedListAccessible final : public RowListAccessible<FittedListView, FittedRowAccessible> {
public:
    explicit FittedListAccessible(FittedListView *list) : RowListAccessible(list) { }

    [[nodiscard]] int childCount() const override
    {
        const QAbstractItemModel *model = list()->model();
        return model ? model->rowCount(list()->rootIndex()) : 0;
    }
    [[nodiscard]] QAccessibleInterface *focusChild() const override
    {
        return list()->hasFocus() && list()->currentIndex().isValid() ? child(list()->currentIndex().row()) : nullptr;
    }
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
    installAccessibleFactoryOnce<fittedListAccessible>();
}

} // namespace orvane
