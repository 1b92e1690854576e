#pragma once

#include <QList>
#include <QObject>

namespace orvane {

// Whether a store's change schedules the store's save now or leaves it to a later one.
enum class Save { yes, no };

// Sets a stored value and announces it through the owner's signal only when it changes.
template <typename Owner, typename T, typename Signal>
bool assignAndNotify(Owner *owner, T &field, const T &value, Signal changed)
{
    if (field == value)
        return false;
    field = value;
    Q_EMIT(owner->*changed)();
    return true;
}

// Removes every element the predicate matches, from the end so that the rows still ahead keep
// their numbers, and hands each removed row and element to `removed`. Returns how many went.
template <typename T, typename Predicate, typename Removed>
qsizetype removeMatching(QList<T> &list, const Predicate &predicate, const Removed &removed)
{
    qsizetype count = 0;
    for (qsizetype i = list.size() - 1; i >= 0; --i) {
        if (!predicate(list.at(i)))
            continue;
        const T element = list.takeAt(i);
        ++count;
        removed(i, element);
    }
    return count;
}

} // namespace orvane
