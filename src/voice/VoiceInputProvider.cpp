#include "voice/VoiceInputProvider.h"

#include "voice/PulseAudioInput.h"
#include "voice/SphinxSpeechEngine.h"

#include <QLocale>
#include <QMutexLocker>

namespace orvane::voice {

using namespace std::chrono_literals;

SpeechVoiceProvider::SpeechVoiceProvider(std::shared_ptr<SpeechEngine> engine,
    std::chrono::milliseconds noSpeechTimeout, std::chrono::milliseconds silenceTimeout)
    : m_engine(std::move(engine)),
      m_transcriber(std::make_unique<SpeechTranscriber>(m_engine, noSpeechTimeout, silenceTimeout))
{
}

SpeechVoiceProvider::~SpeechVoiceProvider() = default;

bool SpeechVoiceProvider::isAvailable() const
{
    return m_engine->availability().isAvailable();
}

std::optional<QString> SpeechVoiceProvider::unavailableReason() const
{
    return m_engine->availability().unavailableReason();
}

bool SpeechVoiceProvider::willPromptForPermission() const
{
    const VoiceAvailability availability = m_engine->availability();
    if (availability.blockingError())
        return false;
    return availability.speech == VoicePermission::notDetermined
        || availability.microphone == VoicePermission::notDetermined;
}

QCoro::AsyncGenerator<QString> SpeechVoiceProvider::transcribe()
{
    SessionToken token;
    {
        QMutexLocker lock(&m_lock);
        token = m_transcriber->issueToken();
        m_latest = token;
    }
    return m_transcriber->transcribe(token);
}

void SpeechVoiceProvider::stop()
{
    std::optional<SessionToken> token;
    {
        QMutexLocker lock(&m_lock);
        token = m_latest;
    }
    if (token)
        m_transcriber->requestStop(*token);
}

std::optional<SessionToken> SpeechVoiceProvider::latest() const
{
    QMutexLocker lock(&m_lock);
    return m_latest;
}

std::optional<QString> UnavailableVoiceProvider::unavailableReason() const
{
    return QStringLiteral("Voice input is not available in this version. Type your request.");
}

QCoro::AsyncGenerator<QString> UnavailableVoiceProvider::transcribe()
{
    co_return;
}

std::shared_ptr<VoiceInputProvider> VoiceProviders::onDevice()
{
    auto engine = SphinxSpeechEngine::create(QLocale::system(), std::make_shared<PulseAudioInputDevice>());
    return std::make_shared<SpeechVoiceProvider>(std::move(engine), 8s, 2s);
}

} // namespace orvane::voice
