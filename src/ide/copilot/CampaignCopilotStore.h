#pragma once

#include "ide/copilot/CampaignCopilotContext.h"
#include "kit/networking/OrvaneAPIClient.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace orvane {

// The workspace copilot's state: the scope it works in, a notice when the scope changes, and per
// scope a draft and a transcript (in memory only). Main thread only. It sends nothing itself.
class CampaignCopilotStore final : public QObject {
    Q_OBJECT

public:
    using ClientProvider = std::function<OrvaneAPIClient()>;
    using ReplyHandler = std::function<void(const QString &reply, const CampaignCopilotContext &context)>;

    explicit CampaignCopilotStore(ClientProvider clientProvider = {}, QObject *parent = nullptr);

    [[nodiscard]] bool isPresented() const { return m_isPresented; }
    void setPresented(bool presented);
    [[nodiscard]] const std::optional<CampaignCopilotScopeKey> &activeScope() const { return m_activeScope; }
    [[nodiscard]] const std::optional<QString> &scopeChangeNotice() const { return m_scopeChangeNotice; }
    [[nodiscard]] const std::optional<QString> &statusText() const { return m_statusText; }
    [[nodiscard]] bool isRunning() const { return m_isRunning; }
    [[nodiscard]] const std::optional<QUuid> &activeRequestID() const { return m_activeRequestID; }

    [[nodiscard]] QString draft(const CampaignCopilotScopeKey &scope) const { return m_drafts.value(scope); }
    void setDraft(const CampaignCopilotScopeKey &scope, const QString &text) { m_drafts.insert(scope, text); }
    [[nodiscard]] QList<CampaignCopilotMessage> transcript(const CampaignCopilotScopeKey &scope) const
    {
        return m_transcripts.value(scope);
    }

    // The running copilot task, as a way to cancel it; activate() cancels and forgets it.
    void setRunCancellation(std::function<void()> cancel) { m_cancelRun = std::move(cancel); }
    [[nodiscard]] bool hasRunTask() const { return bool(m_cancelRun); }

    [[nodiscard]] const ClientProvider &clientProvider() const { return m_clientProvider; }
    void setClientProvider(ClientProvider provider) { m_clientProvider = std::move(provider); }
    [[nodiscard]] const ReplyHandler &onAgentReplyCompleted() const { return m_onAgentReplyCompleted; }
    void setOnAgentReplyCompleted(ReplyHandler handler) { m_onAgentReplyCompleted = std::move(handler); }

    // Switches to the context's scope; nothing happens when the scope is the current one.
    void activate(const CampaignCopilotContext &context);

Q_SIGNALS:
    void presentedChanged();
    void activeScopeChanged();
    void scopeChangeNoticeChanged();
    void statusChanged(); // statusText, isRunning
    // Once after an effective activate(), after all its assignments.
    void changed();

private:
    bool m_isPresented = false;
    std::optional<CampaignCopilotScopeKey> m_activeScope;
    std::optional<QString> m_scopeChangeNotice;
    std::optional<QString> m_statusText;
    bool m_isRunning = false;
    QHash<CampaignCopilotScopeKey, QString> m_drafts;
    QHash<CampaignCopilotScopeKey, QList<CampaignCopilotMessage>> m_transcripts;
    std::function<void()> m_cancelRun;
    std::optional<QUuid> m_activeRequestID;
    ClientProvider m_clientProvider;
    ReplyHandler m_onAgentReplyCompleted;
};

} // namespace orvane
