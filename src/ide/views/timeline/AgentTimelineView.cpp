#include "ide/views/timeline/AgentTimelineView.h"

#include "ide/views/timeline/ExpandedToolSet.h"

#include <QListView>
#include <QVBoxLayout>

namespace orvane {

AgentTimelineView::AgentTimelineView(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_model(context.model),
      m_threadID(threadID),
      m_tabID(tabID),
      m_list(new QListView(this)),
      m_ownToolSet(new ExpandedToolSet(this)),
      m_toolSet(m_ownToolSet)
{
    setObjectName(QStringLiteral("agentTimelineView"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_list->setObjectName(QStringLiteral("timelineListView"));
    layout->addWidget(m_list);
}

AgentTimelineView::~AgentTimelineView() = default;

void AgentTimelineView::setTab(const QUuid &threadID, const QUuid &tabID)
{
    m_threadID = threadID;
    m_tabID = tabID;
    reload();
}

void AgentTimelineView::setExpandedToolSet(ExpandedToolSet *set)
{
    m_toolSet = set ? set : m_ownToolSet;
}

ExpandedToolSet *AgentTimelineView::expandedToolSet() const
{
    return m_toolSet;
}

void AgentTimelineView::reload()
{
}
void AgentTimelineView::followNewestEntry(bool)
{
}
void AgentTimelineView::keepPinned()
{
}

} // namespace orvane
