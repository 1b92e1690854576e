#include "ide/views/timeline/AgentComposerBar.h"

namespace orvane {

AgentComposerBar::AgentComposerBar(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent), m_context(context), m_threadID(threadID), m_tabID(tabID)
{
    setObjectName(QStringLiteral("agentComposerBar"));
}

void AgentComposerBar::setTab(const QUuid &threadID, const QUuid &tabID)
{
    m_threadID = threadID;
    m_tabID = tabID;
}

QList<QPair<QString, QString>> AgentComposerBar::slashCommands()
{
    return {};
}
QString AgentComposerBar::competitorDomain()
{
    return QStringLiteral("taskvane.io");
}
void AgentComposerBar::send()
{
}
void AgentComposerBar::mentionPersona(const QString &)
{
}
void AgentComposerBar::syncFromModel()
{
}
void AgentComposerBar::updateSyncPath()
{
}

} // namespace orvane
