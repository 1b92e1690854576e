#pragma once

#include "voice/SessionStream.h"
#include "voice/SpeechEngine.h"

#include <QCoro/QCoroAsyncGenerator>
#include <QCoro/QCoroTask>
#include <QHashFunctions>
#include <QMutex>
#include <QObject>
#include <QSet>
#include <QTimer>

#include <chrono>
#include <compare>
#include <memory>
#include <optional>

namespace orvane::voice {

// Orders dictation sessions: a smaller sequence is an older session.
struct SessionToken {
    quint64 sequence = 0;

    friend auto operator<=>(const SessionToken &, const SessionToken &) = default;
};

inline size_t qHash(SessionToken token, size_t seed = 0) noexcept
{
    return ::qHash(token.sequence, seed);
}

// Owns the dictation sessions: at most one runs over the engine at a time; it ends by a no-speech or a silence
// time-out, a final result, an error, a stop or a newer session, and hands its caller the growing transcript.
//
// The transcriber is confined to the thread it was created on (the main thread in the application): all session
// bookkeeping, timers and engine calls run there, one at a time, through its event loop. That work is short; the
// slow parts (decoder loading, capture, decoding) run on worker threads inside the engine. issueToken(),
// transcribe() and requestStop() may be called from any thread and never wait for that thread.
class SpeechTranscriber final : public QObject {
    Q_OBJECT

public:
    SpeechTranscriber(std::shared_ptr<SpeechEngine> engine, std::chrono::milliseconds noSpeechTimeout,
        std::chrono::milliseconds silenceTimeout, QObject *parent = nullptr);
    // Ends a running session normally and stops the engine.
    ~SpeechTranscriber() override;

    // The next token; the first is 1. Any thread.
    SessionToken issueToken();
    // The session of the token as a stream of texts: "" once listening has begun, then the whole transcript so far
    // each time it changes and is not blank. It ends normally, or with a VoiceInputError. Letting go of the stream
    // stops the session. Any thread; iterate it on a thread with a running Qt event loop.
    QCoro::AsyncGenerator<QString> transcribe(SessionToken token);
    // Schedules stop(token) on the transcriber's thread. Any thread.
    void requestStop(SessionToken token);

    // On the transcriber's thread: ends the running session normally.
    void stop();
    // On the transcriber's thread: stops the token's session, whether it is running or has not begun yet.
    void stop(SessionToken token);

private:
    class Mailbox;

    void begin(const detail::SessionProducer &producer, SessionToken token);
    void supersede(SessionToken token);
    [[nodiscard]] bool isCurrent(SessionToken token) const;
    QCoro::Task<> requestPermissionsThenStart(SessionToken token);
    void startEngine(const VoiceAvailability &availability, SessionToken token);
    void handlePartial(quint64 feed, SessionToken token, const QString &text, bool isFinal);
    void handleError(quint64 feed, SessionToken token, const EngineError &error);
    void receive(const QString &text, bool isFinal, SessionToken token);
    void fail(const EngineError &error);
    void timerFired();
    void finishSession();
    void restartTimer(std::chrono::milliseconds after, SessionToken token);
    void finish(const std::optional<VoiceInputError> &error);

    const std::shared_ptr<SpeechEngine> m_engine;
    const std::chrono::milliseconds m_noSpeechTimeout;
    const std::chrono::milliseconds m_silenceTimeout;
    const std::shared_ptr<Mailbox> m_mailbox;

    QMutex m_tokenLock; // guards m_nextSequence only
    quint64 m_nextSequence = 0;

    // Set together when a session begins, cleared together when it finishes.
    std::optional<SessionToken> m_current;
    detail::SessionProducer m_continuation;
    // The newest token that began or was stopped before it began; never decreases.
    std::optional<SessionToken> m_lastBegun;
    QSet<SessionToken> m_abandoned;
    bool m_heardSpeech = false;

    QTimer m_timer;
    SessionToken m_timerToken;
    // The running session's engine feed; events of any other feed are dropped. 0 when none runs.
    quint64 m_feed = 0;
    quint64 m_lastFeed = 0;
};

} // namespace orvane::voice
