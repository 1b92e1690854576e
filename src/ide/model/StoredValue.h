#pragma once

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

} // namespace orvane
