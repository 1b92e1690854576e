#pragma once

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QString>

namespace orvane {

// A list model whose rows carry a stable key. applyRows() moves the shown rows to a freshly
// computed list with the finest signals that describe the step: rows whose key disappeared are
// removed, new keys inserted and changed rows reported, so views keep their scroll position and
// the rows that stayed. When the rows that stay have changed their order it resets instead.
// Row must have a QString `key` and compare with ==.
class KeyedRowsModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

protected:
    template <typename Row> void applyRows(QList<Row> &shown, const QList<Row> &next);
};

template <typename Row> void KeyedRowsModel::applyRows(QList<Row> &shown, const QList<Row> &next)
{
    QHash<QString, qsizetype> nextRows;
    for (qsizetype row = 0; row < next.size(); ++row)
        nextRows.insert(next.at(row).key, row);
    QHash<QString, qsizetype> shownRows;
    for (qsizetype row = 0; row < shown.size(); ++row)
        shownRows.insert(shown.at(row).key, row);

    // The keys on both sides must keep their relative order for removals and insertions to get
    // from one list to the other.
    QList<QString> keptBefore;
    for (const Row &row : shown) {
        if (nextRows.contains(row.key))
            keptBefore.append(row.key);
    }
    QList<QString> keptAfter;
    for (const Row &row : next) {
        if (shownRows.contains(row.key))
            keptAfter.append(row.key);
    }
    if (keptBefore != keptAfter || nextRows.size() != next.size() || shownRows.size() != shown.size()) {
        beginResetModel();
        shown = next;
        endResetModel();
        return;
    }

    for (qsizetype row = shown.size() - 1; row >= 0; --row) {
        if (nextRows.contains(shown.at(row).key))
            continue;
        beginRemoveRows({}, int(row), int(row));
        shown.removeAt(row);
        endRemoveRows();
    }
    for (qsizetype row = 0; row < next.size(); ++row) {
        if (row < shown.size() && shown.at(row).key == next.at(row).key)
            continue;
        beginInsertRows({}, int(row), int(row));
        shown.insert(row, next.at(row));
        endInsertRows();
    }
    for (qsizetype row = 0; row < next.size(); ++row) {
        if (shown.at(row) == next.at(row))
            continue;
        shown[row] = next.at(row);
        const QModelIndex changed = index(int(row));
        Q_EMIT dataChanged(changed, changed);
    }
}

} // namespace orvane
