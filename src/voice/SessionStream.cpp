#include "voice/SessionStream.h"

#include <QMetaObject>
#include <QMutexLocker>

namespace orvane::voice::detail {

class SessionStreamState {
public:
    void yield(const QString &text)
    {
        QMutexLocker lock(&m_mutex);
        if (m_finished)
            return;
        m_items.push_back(text);
        wakeLocked();
    }

    void finish(const std::optional<VoiceInputError> &error)
    {
        QMutexLocker lock(&m_mutex);
        if (m_finished)
            return;
        m_finished = true;
        m_error = error;
        wakeLocked();
    }

    bool ready()
    {
        QMutexLocker lock(&m_mutex);
        return readyLocked();
    }

    bool suspend(SessionConsumer::NextAwaiter *awaiter, std::coroutine_handle<> waiting)
    {
        QMutexLocker lock(&m_mutex);
        if (readyLocked())
            return false;
        awaiter->m_context = std::make_unique<QObject>();
        awaiter->m_waiting = waiting;
        m_waiter = awaiter;
        return true;
    }

    std::optional<QString> take(SessionConsumer::NextAwaiter *awaiter)
    {
        QMutexLocker lock(&m_mutex);
        if (m_waiter == awaiter)
            m_waiter = nullptr;
        if (!m_items.empty()) {
            QString text = std::move(m_items.front());
            m_items.pop_front();
            return text;
        }
        if (m_error) {
            // Delivered once; iterating again after the error sees a plain end.
            const VoiceInputError error = *m_error;
            m_error.reset();
            throw error;
        }
        return std::nullopt;
    }

    void forget(SessionConsumer::NextAwaiter *awaiter)
    {
        QMutexLocker lock(&m_mutex);
        if (m_waiter == awaiter)
            m_waiter = nullptr;
    }

private:
    bool readyLocked() const { return !m_items.empty() || m_finished; }

    void wakeLocked()
    {
        if (!m_waiter)
            return;
        // The context object lives on the waiting thread; if the waiting coroutine is destroyed first, the context
        // goes with it and Qt drops the queued wake.
        QMetaObject::invokeMethod(
            m_waiter->m_context.get(), [waiting = m_waiter->m_waiting] { waiting.resume(); }, Qt::QueuedConnection);
        m_waiter = nullptr;
    }

    QMutex m_mutex;
    std::deque<QString> m_items;
    bool m_finished = false;
    std::optional<VoiceInputError> m_error;
    SessionConsumer::NextAwaiter *m_waiter = nullptr;
};

struct SessionProducer::End {
    explicit End(std::shared_ptr<SessionStreamState> stream) : state(std::move(stream)) { }
    End(const End &) = delete;
    End &operator=(const End &) = delete;
    ~End() { state->finish(std::nullopt); }

    std::shared_ptr<SessionStreamState> state;
};

SessionProducer::SessionProducer(std::shared_ptr<SessionStreamState> state)
    : m_end(std::make_shared<End>(std::move(state)))
{
}

void SessionProducer::yield(const QString &text) const
{
    if (m_end)
        m_end->state->yield(text);
}

void SessionProducer::finish(const std::optional<VoiceInputError> &error) const
{
    if (m_end)
        m_end->state->finish(error);
}

SessionConsumer::NextAwaiter::NextAwaiter(std::shared_ptr<SessionStreamState> state) : m_state(std::move(state))
{
}

SessionConsumer::NextAwaiter::~NextAwaiter()
{
    m_state->forget(this);
}

bool SessionConsumer::NextAwaiter::await_ready()
{
    return m_state->ready();
}

bool SessionConsumer::NextAwaiter::await_suspend(std::coroutine_handle<> waiting)
{
    return m_state->suspend(this, waiting);
}

std::optional<QString> SessionConsumer::NextAwaiter::await_resume()
{
    return m_state->take(this);
}

std::pair<SessionProducer, SessionConsumer> makeSessionStream()
{
    auto state = std::make_shared<SessionStreamState>();
    return { SessionProducer(state), SessionConsumer(state) };
}

} // namespace orvane::voice::detail
