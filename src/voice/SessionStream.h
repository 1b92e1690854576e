#pragma once

#include "voice/VoiceAvailability.h"

#include <QMutex>
#include <QObject>
#include <QString>

#include <coroutine>
#include <deque>
#include <memory>
#include <optional>

namespace orvane::voice::detail {

class SessionStreamState;

// The producer end of a session's stream of texts, used on the transcriber's thread. Copies share one end; when
// the last copy goes away unfinished, the stream ends normally.
class SessionProducer {
public:
    SessionProducer() = default;
    explicit SessionProducer(std::shared_ptr<SessionStreamState> state);

    explicit operator bool() const { return m_end != nullptr; }
    void yield(const QString &text) const;
    // Ends the stream, with the error when one is given; later calls do nothing.
    void finish(const std::optional<VoiceInputError> &error = std::nullopt) const;

private:
    struct End;
    std::shared_ptr<End> m_end;
};

// The consumer end. next() is awaited on a thread with a running Qt event loop; a producer on another thread
// wakes it through that loop, never by resuming it on the producer's stack.
class SessionConsumer {
public:
    class NextAwaiter {
    public:
        explicit NextAwaiter(std::shared_ptr<SessionStreamState> state);
        NextAwaiter(NextAwaiter &&) = delete;
        ~NextAwaiter();

        bool await_ready();
        bool await_suspend(std::coroutine_handle<> waiting);
        // The next text, or nothing at the end; throws the VoiceInputError that ended the stream.
        std::optional<QString> await_resume();

    private:
        friend class SessionStreamState;
        std::shared_ptr<SessionStreamState> m_state;
        std::unique_ptr<QObject> m_context; // lives on the waiting thread; wakes are delivered to it
        std::coroutine_handle<> m_waiting;
    };

    explicit SessionConsumer(std::shared_ptr<SessionStreamState> state) : m_state(std::move(state)) { }
    [[nodiscard]] NextAwaiter next() const { return NextAwaiter(m_state); }

private:
    std::shared_ptr<SessionStreamState> m_state;
};

// A new unbounded stream: its producer and consumer ends.
std::pair<SessionProducer, SessionConsumer> makeSessionStream();

} // namespace orvane::voice::detail
