#include "ide/views/timeline/QuickPromptRow.h"

namespace orvane {

QuickPromptRow::QuickPromptRow(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent), m_context(context), m_threadID(threadID), m_tabID(tabID)
{
    setObjectName(QStringLiteral("quickPromptRow"));
}

void QuickPromptRow::setTab(const QUuid &threadID, const QUuid &tabID)
{
    m_threadID = threadID;
    m_tabID = tabID;
}

QStringList QuickPromptRow::quickPrompts()
{
    return {};
}

} // namespace orvane
