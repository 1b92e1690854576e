// The streamed reply of an agent turn: the service's text shown in the agent entry as it arrives.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/ServerSync.h"
#include "kit/networking/OrvaneAPIError.h"

#include <QElapsedTimer>
#include <QTimer>

#include <memory>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// Publishes the growing text into the turn's agent entry: the first text at once, later ones at
// most once per interval, the latest text always (a pending publication catches up by timer).
// A fast stream thus costs a bounded number of entry updates and redraws, not one per delta.
class EntryPublisher final : public std::enable_shared_from_this<EntryPublisher> {
public:
    using Publish = std::function<void(const QString &text)>;

    EntryPublisher(QObject *timerContext, Publish publish) : m_timerContext(timerContext), m_publish(std::move(publish))
    {
    }

    void offer(const QString &text)
    {
        m_text = text;
        m_dirty = true;
        if (m_timerPending)
            return;
        const qint64 interval = CampaignIDEWorkspaceModel::streamedReplyPublishInterval.count();
        const qint64 elapsed = m_clock.isValid() ? m_clock.elapsed() : interval;
        if (elapsed >= interval) {
            publish();
            return;
        }
        m_timerPending = true;
        const std::chrono::milliseconds wait(interval - elapsed);
        // Held weakly: once the stream has ended, a pending publication has nothing left to do.
        QTimer::singleShot(wait, m_timerContext, [weak = weak_from_this()] {
            if (const auto self = weak.lock()) {
                self->m_timerPending = false;
                if (self->m_dirty)
                    self->publish();
            }
        });
    }

private:
    void publish()
    {
        m_dirty = false;
        m_clock.start();
        m_publish(m_text);
    }

    QObject *m_timerContext;
    Publish m_publish;
    QString m_text;
    bool m_dirty = false;
    bool m_timerPending = false;
    QElapsedTimer m_clock;
};

} // namespace

QCoro::Task<std::optional<QString>> CampaignIDEWorkspaceModel::ServerSync::streamReply(
    QPointer<CampaignIDEWorkspaceModel> model, QPointer<SessionStore> session, StreamedTurn turn)
{
    if (!model || !session || !session->account())
        co_return std::nullopt;

    // The project of the current selection, not necessarily the thread's own.
    const std::optional<CampaignIDEProject> selected = model->selectedProject();
    const std::optional<QString> projectID = selected ? selected->serverID : std::nullopt;
    // Destroying the model aborts the transfer.
    const OrvaneAPIClient client = clientFor(*model, *session, model.data());
    const qsizetype maxBytes = model->streamedReplyMaxBytes();

    const auto publisher = std::make_shared<EntryPublisher>(model.data(), [model, turn](const QString &text) {
        if (!model)
            return;
        // The first publication replaces the running placeholder tool with the local agent's tools.
        model->updateTimelineEntry(turn.threadID, turn.tabID, turn.agentEntryID, [&](CampaignTimelineEntry &entry) {
            entry.text = text;
            entry.toolInvocations = turn.localTools;
        });
    });

    using End = ServerSyncState::StreamedReplyEnd;
    QString received;
    End end = End::answered;
    try {
        auto stream = client.chat(turn.prompt, {}, turn.threadID.toString(QUuid::WithoutBraces).toUpper(), projectID);
        auto begin = stream.begin();
        auto it = co_await begin;
        while (it != stream.end()) {
            if (!model)
                co_return std::nullopt; // dropping the stream aborts the transfer
            const AgentChatEvent &event = *it;
            // Every delta is shown, an empty one too: the service has begun its answer, so the
            // running placeholder gives way to the local agent's tools.
            if (event.kind() == AgentChatEvent::Kind::textDelta) {
                // A service that never stops sending text must not fill memory: past the bound the
                // reply fails like any broken stream, and dropping the stream stops the transfer.
                if ((received.size() + event.text().size()) * qsizetype(sizeof(QChar)) > maxBytes) {
                    end = End::failed;
                    break;
                }
                received += event.text();
                publisher->offer(received);
            }
            auto next = ++it;
            co_await next;
        }
    } catch (const OrvaneAPIError &error) {
        end = error.kind() == OrvaneAPIError::Kind::unauthorized ? End::refused : End::failed;
    } catch (...) {
        end = End::failed;
    }
    if (!model)
        co_return std::nullopt;
    // Any failure keeps the local reply, also after deltas were shown, and the session stays signed
    // in; the user is told, at every such turn, that the reply is the local agent's, and why.
    if (end != End::answered)
        model->flashNotice(ServerSyncState::streamedReplyNotice(end), NoticeKind::warning);
    if (end != End::answered || received.trimmed().isEmpty())
        co_return std::nullopt;
    co_return received;
}

} // namespace orvane
