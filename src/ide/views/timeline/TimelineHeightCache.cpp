#include "ide/views/timeline/TimelineHeightCache.h"

namespace orvane {

std::optional<TimelineHeightCache::Height> TimelineHeightCache::find(
    const QUuid &entryID, int width, size_t fingerprint) const
{
    const auto found = m_heights.constFind({ entryID, width });
    if (found == m_heights.cend() || found->fingerprint != fingerprint)
        return std::nullopt;
    return found->height;
}

void TimelineHeightCache::store(const QUuid &entryID, int width, size_t fingerprint, Height height)
{
    if (m_heights.size() >= capacity) {
        m_heights.clear();
        m_measured = 0;
    }
    Slot &slot = m_heights[{ entryID, width }];
    const bool wasMeasured = slot.height.measured && slot.fingerprint == fingerprint;
    if (wasMeasured && !height.measured)
        return;
    m_measured += (height.measured ? 1 : 0) - (slot.height.measured ? 1 : 0);
    slot = { fingerprint, height };
}

} // namespace orvane
