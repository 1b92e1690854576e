#include "voice/VoiceAvailability.h"

namespace orvane::voice {

VoiceInputError VoiceInputError::map(const SpeechError &error)
{
    if (error.domain == noSpeechErrorDomain && error.code == noSpeechErrorCode)
        return noSpeechDetected();
    return recognitionFailed(error.localizedDescription);
}

VoiceInputError VoiceInputError::map(const std::variant<VoiceInputError, SpeechError> &error)
{
    return std::visit([](const auto &value) { return map(value); }, error);
}

QString VoiceInputError::userMessage() const
{
    switch (m_kind) {
    case Kind::audioEngineFailed:
        return QStringLiteral("The microphone couldn't start. Try again, or type your request.");
    case Kind::recognitionFailed:
        return QStringLiteral("Speech recognition stopped. Tap the mic to try again, or type your request.");
    case Kind::microphoneDenied:
        return QStringLiteral("Microphone access is off. Check that a microphone is connected and the sound server "
                              "is running, or type your request.");
    case Kind::microphoneRestricted:
        return QStringLiteral("Microphone access is restricted on this device, so voice input is off. Type your "
                              "request.");
    case Kind::speechDenied:
        return QStringLiteral("Speech recognition is off. Check that the speech model (pocketsphinx-en-us) is "
                              "installed, or type your request.");
    case Kind::speechRestricted:
        return QStringLiteral("Speech recognition is restricted on this device. Type your request.");
    case Kind::recognizerUnavailable:
        return QStringLiteral("Speech recognition isn't available right now. Type your request.");
    case Kind::onDeviceUnsupported:
        return QStringLiteral("On-device speech recognition isn't available for your language on this device. Type "
                              "your request.");
    case Kind::noSpeechDetected:
        return QStringLiteral("Didn't catch that. Tap the mic and try again, or type your request.");
    }
    return {};
}

const char *VoiceInputError::what() const noexcept
{
    switch (m_kind) {
    case Kind::audioEngineFailed:
        return "voice input: audio engine failed";
    case Kind::recognitionFailed:
        return "voice input: recognition failed";
    case Kind::microphoneDenied:
        return "voice input: microphone denied";
    case Kind::microphoneRestricted:
        return "voice input: microphone restricted";
    case Kind::speechDenied:
        return "voice input: speech recognition denied";
    case Kind::speechRestricted:
        return "voice input: speech recognition restricted";
    case Kind::recognizerUnavailable:
        return "voice input: recognizer unavailable";
    case Kind::onDeviceUnsupported:
        return "voice input: on-device recognition unsupported";
    case Kind::noSpeechDetected:
        return "voice input: no speech detected";
    }
    return "voice input error";
}

std::optional<VoiceInputError> VoiceAvailability::blockingError() const
{
    if (!recognizerPresent)
        return VoiceInputError::recognizerUnavailable();
    if (!supportsOnDevice)
        return VoiceInputError::onDeviceUnsupported();
    if (speech == VoicePermission::denied)
        return VoiceInputError::speechDenied();
    if (speech == VoicePermission::restricted)
        return VoiceInputError::speechRestricted();
    if (microphone == VoicePermission::denied)
        return VoiceInputError::microphoneDenied();
    if (microphone == VoicePermission::restricted)
        return VoiceInputError::microphoneRestricted();
    return std::nullopt;
}

std::optional<QString> VoiceAvailability::unavailableReason() const
{
    if (const auto error = blockingError())
        return error->userMessage();
    return std::nullopt;
}

} // namespace orvane::voice
