#include "voice/SpeechTranscriber.h"

#include <QMetaObject>
#include <QMutexLocker>
#include <QPointer>
#include <QThread>

namespace orvane::voice {

// Carries work onto the transcriber's thread from any thread; once closed (the transcriber is going away),
// posted work is dropped.
class SpeechTranscriber::Mailbox {
public:
    explicit Mailbox(SpeechTranscriber *actor) : m_actor(actor) { }

    template <typename Work> void post(Work work)
    {
        QMutexLocker lock(&m_mutex);
        if (!m_actor)
            return;
        // The actor is the context object: Qt drops the call if the actor is deleted before it runs.
        QMetaObject::invokeMethod(
            m_actor, [actor = m_actor, work = std::move(work)] { work(*actor); }, Qt::QueuedConnection);
    }

    void close()
    {
        QMutexLocker lock(&m_mutex);
        m_actor = nullptr;
    }

private:
    QMutex m_mutex;
    SpeechTranscriber *m_actor;
};

namespace {

// Holds the caller's end of a session stream; when the caller lets go of the stream, release stops the session.
class SessionLease {
public:
    SessionLease(detail::SessionConsumer consumer, std::function<void()> release)
        : m_consumer(std::move(consumer)), m_release(std::move(release))
    {
    }
    SessionLease(const SessionLease &) = delete;
    SessionLease &operator=(const SessionLease &) = delete;
    ~SessionLease() { m_release(); }

    [[nodiscard]] detail::SessionConsumer::NextAwaiter next() const { return m_consumer.next(); }

private:
    detail::SessionConsumer m_consumer;
    std::function<void()> m_release;
};

QCoro::AsyncGenerator<QString> leasedStream(std::unique_ptr<SessionLease> lease)
{
    for (;;) {
        // Named, not a temporary of the co_await: g++ 12 can destroy such temporaries twice.
        detail::SessionConsumer::NextAwaiter next = lease->next();
        std::optional<QString> text = co_await next;
        if (!text)
            co_return;
        co_yield *text;
    }
}

} // namespace

SpeechTranscriber::SpeechTranscriber(std::shared_ptr<SpeechEngine> engine, std::chrono::milliseconds noSpeechTimeout,
    std::chrono::milliseconds silenceTimeout, QObject *parent)
    : QObject(parent),
      m_engine(std::move(engine)),
      m_noSpeechTimeout(noSpeechTimeout),
      m_silenceTimeout(silenceTimeout),
      m_mailbox(std::make_shared<Mailbox>(this))
{
    m_timer.setSingleShot(true);
    m_timer.setTimerType(Qt::PreciseTimer);
    connect(&m_timer, &QTimer::timeout, this, &SpeechTranscriber::timerFired);
}

SpeechTranscriber::~SpeechTranscriber()
{
    m_mailbox->close();
    if (m_continuation) {
        m_engine->stop();
        finish(std::nullopt);
    }
}

SessionToken SpeechTranscriber::issueToken()
{
    QMutexLocker lock(&m_tokenLock);
    return SessionToken { ++m_nextSequence };
}

QCoro::AsyncGenerator<QString> SpeechTranscriber::transcribe(SessionToken token)
{
    auto [producer, consumer] = detail::makeSessionStream();
    m_mailbox->post(
        [producer = std::move(producer), token](SpeechTranscriber &actor) { actor.begin(producer, token); });
    auto lease = std::make_unique<SessionLease>(std::move(consumer),
        [mailbox = m_mailbox, token] { mailbox->post([token](SpeechTranscriber &actor) { actor.stop(token); }); });
    return leasedStream(std::move(lease));
}

void SpeechTranscriber::requestStop(SessionToken token)
{
    m_mailbox->post([token](SpeechTranscriber &actor) { actor.stop(token); });
}

void SpeechTranscriber::stop()
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (!m_continuation)
        return;
    m_engine->stop();
    finish(std::nullopt);
}

void SpeechTranscriber::stop(SessionToken token)
{
    Q_ASSERT(QThread::currentThread() == thread());
    if (isCurrent(token)) {
        stop();
        return;
    }
    // Already begun and ended, or a newer token has begun.
    if (m_lastBegun && *m_lastBegun >= token)
        return;
    m_abandoned.insert(token);
    supersede(token);
}

void SpeechTranscriber::begin(const detail::SessionProducer &producer, SessionToken token)
{
    if (m_lastBegun && token < *m_lastBegun) {
        // Overtaken by a newer session before it began.
        m_abandoned.remove(token);
        producer.finish();
        return;
    }
    if (m_abandoned.remove(token)) {
        // Stopped before it began.
        supersede(token);
        producer.finish();
        return;
    }
    supersede(token);
    m_continuation = producer;
    m_current = token;
    m_heardSpeech = false;
    // Like any task it runs after this operation, so a stop or a newer session already queued comes first.
    m_mailbox->post([token](SpeechTranscriber &actor) { static_cast<void>(actor.requestPermissionsThenStart(token)); });
}

void SpeechTranscriber::supersede(SessionToken token)
{
    if (m_continuation)
        stop();
    m_lastBegun = token;
}

bool SpeechTranscriber::isCurrent(SessionToken token) const
{
    return m_continuation && m_current == token;
}

QCoro::Task<> SpeechTranscriber::requestPermissionsThenStart(SessionToken token)
{
    const QPointer<SpeechTranscriber> self(this);
    const std::shared_ptr<SpeechEngine> engine = m_engine;
    const QCoro::Task<VoiceAvailability> permissions = engine->requestPermissions();
    const VoiceAvailability availability = co_await permissions;
    if (self)
        self->startEngine(availability, token);
}

void SpeechTranscriber::startEngine(const VoiceAvailability &availability, SessionToken token)
{
    // The session may have been stopped or overtaken while the permissions were settled.
    if (!isCurrent(token))
        return;
    if (const auto blocking = availability.blockingError()) {
        finish(blocking);
        return;
    }
    const quint64 feed = ++m_lastFeed;
    m_feed = feed;
    // The callbacks run on engine threads: they only post onto this thread, never wait for it.
    const auto error = m_engine->start(
        [mailbox = m_mailbox, feed, token](const QString &text, bool isFinal) {
            mailbox->post([feed, token, text, isFinal](
                              SpeechTranscriber &actor) { actor.handlePartial(feed, token, text, isFinal); });
        },
        [mailbox = m_mailbox, feed, token](const EngineError &engineError) {
            mailbox->post(
                [feed, token, engineError](SpeechTranscriber &actor) { actor.handleError(feed, token, engineError); });
        });
    if (error) {
        m_engine->stop();
        finish(VoiceInputError::map(*error));
        return;
    }
    m_continuation.yield(QString());
    restartTimer(m_noSpeechTimeout, token);
}

void SpeechTranscriber::handlePartial(quint64 feed, SessionToken token, const QString &text, bool isFinal)
{
    if (feed != m_feed || !isCurrent(token))
        return;
    receive(text, isFinal, token);
}

void SpeechTranscriber::handleError(quint64 feed, SessionToken token, const EngineError &error)
{
    if (feed != m_feed || !isCurrent(token))
        return;
    fail(error);
}

void SpeechTranscriber::receive(const QString &text, bool isFinal, SessionToken token)
{
    if (!text.trimmed().isEmpty()) {
        m_heardSpeech = true;
        m_continuation.yield(text);
        if (!isFinal) {
            restartTimer(m_silenceTimeout, token);
            return;
        }
    } else if (!isFinal) {
        // Blank partials change nothing, not even the pending timer.
        return;
    }
    finishSession();
}

void SpeechTranscriber::fail(const EngineError &error)
{
    if (!m_continuation)
        return;
    m_engine->stop();
    finish(VoiceInputError::map(error));
}

void SpeechTranscriber::timerFired()
{
    if (isCurrent(m_timerToken))
        finishSession();
}

void SpeechTranscriber::finishSession()
{
    m_engine->stop();
    finish(m_heardSpeech ? std::nullopt : std::optional(VoiceInputError::noSpeechDetected()));
}

void SpeechTranscriber::restartTimer(std::chrono::milliseconds after, SessionToken token)
{
    m_timerToken = token;
    m_timer.start(after);
}

void SpeechTranscriber::finish(const std::optional<VoiceInputError> &error)
{
    m_timer.stop();
    m_feed = 0;
    const detail::SessionProducer producer = std::exchange(m_continuation, {});
    m_current.reset();
    if (producer)
        producer.finish(error);
}

} // namespace orvane::voice
