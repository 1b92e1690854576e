#include "ide/records/IDEPrimaryDestination.h"

#include <QHashFunctions>

namespace orvane {

size_t qHash(const IDEPrimaryDestination &destination, size_t seed)
{
    const int position = int(destination.kind());
    if (destination.isThread())
        return qHashMulti(seed, position, *destination.threadID());
    return qHashMulti(seed, position);
}

} // namespace orvane
