// The agent chat: one POST answered with a text/event-stream body, read as it arrives.

#include "kit/networking/OrvaneAPIClient.h"

namespace orvane {

namespace {

QCoro::AsyncGenerator<AgentChatEvent> failedStream(std::exception_ptr error)
{
    std::rethrow_exception(error);
    co_return;
}

bool isRedirect(int status)
{
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

QCoro::AsyncGenerator<AgentChatEvent> OrvaneAPIClient::chat(const QString &message, const QList<ChatTurn> &history,
    const std::optional<QString> &threadID, const std::optional<QString> &projectID) const
{
    // The request starts now, before the caller begins to iterate; the reply buffers what arrives
    // until then.
    try {
        if (m_hasLifetime && !m_lifetime)
            throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
        const QByteArray body = encodeJson(ChatRequestBody { message, history, threadID, projectID });
        QNetworkRequest request = makeRequest(QStringLiteral("/api/agent/chat"), "text/event-stream", {}, true);
        http::setLimits(request, TransferLimits { m_limits.idleTimeout, m_streamDeadline, m_limits.maxBodyBytes });
        http::ReplyHandle reply = http::start(m_network.data(), request, "POST", body);
        http::abortWhenDestroyed(reply.get(), m_lifetime.data());
        return streamEvents(std::move(reply));
    } catch (...) {
        return failedStream(std::current_exception());
    }
}

QCoro::AsyncGenerator<AgentChatEvent> OrvaneAPIClient::streamEvents(http::ReplyHandle reply)
{
    // Leaving this frame for any reason (done, an error, the consumer dropping the generator)
    // destroys `reply`, which aborts the transfer.
    SSEParser parser;
    bool headChecked = false;
    for (;;) {
        QNetworkReply *current = reply.get();
        if (!current)
            throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);

        if (!headChecked) {
            // A redirect that was refused (another origin) still carries its status: the refusal is
            // the failure, as for the JSON endpoints.
            if (current->isFinished() && http::isTransportError(current->error()))
                throw http::networkError(current->error(), reply.abortedByUs());
            const std::optional<int> status = http::statusCode(*current);
            // The head of a redirect that is being followed is not the answer; the final one is.
            const bool following = status && isRedirect(*status) && !current->isFinished();
            if (status && !following) {
                // Checked on the head alone: an error status ends the stream before any event.
                check(HttpResponse { true, *status, {} });
                // An answer that names another type is not the agent's reply, even when it holds
                // "event:" lines (a portal, a proxy's error page); one that names no type is read as
                // the stream that was asked for.
                const bool namesAType = !current->rawHeader("Content-Type").trimmed().isEmpty();
                if (namesAType && !http::hasMediaType(*current, "text/event-stream"))
                    throw OrvaneAPIError::invalidResponse();
                headChecked = true;
            } else if (current->isFinished()) {
                if (current->error() != QNetworkReply::NoError)
                    throw http::networkError(current->error(), reply.abortedByUs());
                throw OrvaneAPIError::invalidResponse();
            }
        }

        if (headChecked) {
            // A reply that failed or was aborted is closed; reading it would only warn.
            const QByteArray bytes = current->isOpen() ? current->readAll() : QByteArray();
            if (!bytes.isEmpty()) {
                http::noteHeldBytes(parser.heldBytes() + bytes.size() + current->bytesAvailable());
                QList<SSEFrame> frames;
                std::exception_ptr failure;
                try {
                    parser.feed(bytes, frames);
                } catch (const EventStreamError &) {
                    // Nothing more may pile up in the reply while the failure travels to the end of
                    // the stream; the events completed before it are still delivered.
                    http::stopReading(current);
                    failure = std::current_exception();
                }
                for (const SSEFrame &frame : std::as_const(frames)) {
                    AgentChatEvent event = AgentChatEvent::fromFrame(frame);
                    const bool done = event.kind() == AgentChatEvent::Kind::done;
                    co_yield event;
                    if (done)
                        co_return; // later frames are dropped and the transfer is aborted
                }
                if (failure)
                    std::rethrow_exception(failure);
                continue;
            }
            if (current->isFinished()) {
                if (current->error() != QNetworkReply::NoError)
                    throw http::networkError(current->error(), reply.abortedByUs());
                if (std::optional<SSEFrame> last = parser.finish()) {
                    AgentChatEvent event = AgentChatEvent::fromFrame(*last);
                    co_yield event;
                }
                co_return;
            }
        }
        co_await http::ReplyProgress(current);
    }
}

} // namespace orvane
