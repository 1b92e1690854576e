#include "voice/ScriptedSpeechEngine.h"

#include <QCoro/QCoroSignal>

#include <thread>

namespace orvane::voice::test {

QCoro::Task<VoiceAvailability> ScriptedSpeechEngine::requestPermissions()
{
    ++permissionRequests;
    if (holdPermissions) {
        auto opened = qCoro(&gate, &PermissionGate::opened);
        co_await opened;
    }
    ++permissionsSettled;
    co_return afterPrompt.value_or(current);
}

std::optional<VoiceInputError> ScriptedSpeechEngine::start(PartialHandler onPartial, ErrorHandler onError)
{
    ++starts;
    if (startError)
        return startError;
    m_previousOnPartial = std::exchange(m_onPartial, std::move(onPartial));
    m_onError = std::move(onError);
    running = true;
    return std::nullopt;
}

void ScriptedSpeechEngine::stop()
{
    ++stops;
    running = false;
}

void ScriptedSpeechEngine::deliver(const std::function<void()> &callback)
{
    std::thread(callback).join();
}

void ScriptedSpeechEngine::partial(const QString &text, bool isFinal)
{
    deliver([this, text, isFinal] { m_onPartial(text, isFinal); });
}

void ScriptedSpeechEngine::partialFromPrevious(const QString &text)
{
    deliver([this, text] { m_previousOnPartial(text, false); });
}

void ScriptedSpeechEngine::error(const EngineError &engineError)
{
    deliver([this, engineError] { m_onError(engineError); });
}

void ScriptedSpeechEngine::partialAndError(const QString &text, const EngineError &engineError)
{
    deliver([this, text, engineError] {
        m_onPartial(text, false);
        m_onError(engineError);
    });
}

} // namespace orvane::voice::test
