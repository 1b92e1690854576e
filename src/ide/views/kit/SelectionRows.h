#pragma once

#include <QAbstractListModel>

#include <optional>

namespace orvane {

// Tells the views of a list model that its one selected row moved from `previous` to `current`:
// the rows of both (where `rowOf` still finds them, -1 otherwise) change `selectedRole`.
template <typename Id, typename RowOf>
void markSelectionMoved(QAbstractListModel &model, const std::optional<Id> &previous, const std::optional<Id> &current,
    RowOf rowOf, int selectedRole)
{
    if (previous == current)
        return;
    for (const std::optional<Id> *id : { &previous, &current }) {
        const int row = *id ? rowOf(**id) : -1;
        if (row >= 0)
            Q_EMIT model.dataChanged(model.index(row), model.index(row), { selectedRole });
    }
}

} // namespace orvane
