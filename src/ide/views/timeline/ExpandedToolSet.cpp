#include "ide/views/timeline/ExpandedToolSet.h"

namespace orvane {

void ExpandedToolSet::toggle(const QUuid &toolID)
{
    if (!m_ids.remove(toolID))
        m_ids.insert(toolID);
    Q_EMIT changed(toolID);
}

void ExpandedToolSet::clear()
{
    if (m_ids.isEmpty())
        return;
    m_ids.clear();
    Q_EMIT changed(QUuid());
}

} // namespace orvane
