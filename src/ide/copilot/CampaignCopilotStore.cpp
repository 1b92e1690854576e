#include "ide/copilot/CampaignCopilotStore.h"

namespace orvane {

CampaignCopilotStore::CampaignCopilotStore(ClientProvider clientProvider, QObject *parent)
    : QObject(parent), m_clientProvider(std::move(clientProvider))
{
}

void CampaignCopilotStore::setPresented(bool presented)
{
    if (m_isPresented == presented)
        return;
    m_isPresented = presented;
    Q_EMIT presentedChanged();
}

void CampaignCopilotStore::activate(const CampaignCopilotContext &context)
{
    const std::optional<CampaignCopilotScopeKey> next = context.scopeKey();
    if (next == m_activeScope)
        return;
    const std::optional<CampaignCopilotScopeKey> previous = m_activeScope;

    m_activeRequestID.reset();
    if (m_cancelRun) {
        // Moved out first: the cancellation may re-enter the store.
        const auto cancel = std::exchange(m_cancelRun, {});
        cancel();
    }
    m_isRunning = false;
    m_statusText.reset();
    m_activeScope = next;

    if (previous && next) {
        if (previous->projectID == next->projectID) {
            m_scopeChangeNotice.reset();
        } else {
            const QString name
                = context.projectName.value_or(context.workspaceName.value_or(QStringLiteral("Orvane Workspace")));
            m_scopeChangeNotice = u"Switched agent scope to " + name + u'.';
        }
    } else if (previous) {
        m_scopeChangeNotice = QStringLiteral("Context became unavailable. Agent actions are disabled.");
    } else {
        m_scopeChangeNotice.reset();
    }

    Q_EMIT statusChanged();
    Q_EMIT activeScopeChanged();
    Q_EMIT scopeChangeNoticeChanged();
    Q_EMIT changed();
}

} // namespace orvane
