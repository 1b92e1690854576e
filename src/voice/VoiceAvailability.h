#pragma once

#include <QString>

#include <exception>
#include <optional>
#include <variant>

namespace orvane::voice {

// The state of one permission that dictation needs.
enum class VoicePermission { notDetermined, granted, denied, restricted };

// An error object as the recogniser or the audio layer reports it: a domain, a code and a sentence.
struct SpeechError {
    QString domain;
    qint64 code = 0;
    QString localizedDescription;

    friend bool operator==(const SpeechError &, const SpeechError &) = default;
};

// Every way a dictation session can fail, each with the sentence shown to the user.
class VoiceInputError final : public std::exception {
public:
    enum class Kind {
        audioEngineFailed,
        recognitionFailed,
        microphoneDenied,
        microphoneRestricted,
        speechDenied,
        speechRestricted,
        recognizerUnavailable,
        onDeviceUnsupported,
        noSpeechDetected,
    };

    // The recogniser's own "nothing was said" error; it maps to noSpeechDetected.
    static inline const QString noSpeechErrorDomain = QStringLiteral("kAFAssistantErrorDomain");
    static constexpr qint64 noSpeechErrorCode = 1110;

    static VoiceInputError audioEngineFailed(QString detail) { return { Kind::audioEngineFailed, std::move(detail) }; }
    static VoiceInputError recognitionFailed(QString detail) { return { Kind::recognitionFailed, std::move(detail) }; }
    static VoiceInputError microphoneDenied() { return { Kind::microphoneDenied, {} }; }
    static VoiceInputError microphoneRestricted() { return { Kind::microphoneRestricted, {} }; }
    static VoiceInputError speechDenied() { return { Kind::speechDenied, {} }; }
    static VoiceInputError speechRestricted() { return { Kind::speechRestricted, {} }; }
    static VoiceInputError recognizerUnavailable() { return { Kind::recognizerUnavailable, {} }; }
    static VoiceInputError onDeviceUnsupported() { return { Kind::onDeviceUnsupported, {} }; }
    static VoiceInputError noSpeechDetected() { return { Kind::noSpeechDetected, {} }; }

    // Any error to one of ours: ours pass unchanged, the recogniser's no-speech error becomes noSpeechDetected
    // (domain and code must both match), everything else becomes recognitionFailed with its description.
    static VoiceInputError map(const VoiceInputError &error) { return error; }
    static VoiceInputError map(const SpeechError &error);
    static VoiceInputError map(const std::variant<VoiceInputError, SpeechError> &error);

    [[nodiscard]] Kind kind() const { return m_kind; }
    // The technical text of audioEngineFailed and recognitionFailed; never shown to the user.
    [[nodiscard]] const QString &detail() const { return m_detail; }
    [[nodiscard]] QString userMessage() const;
    [[nodiscard]] const char *what() const noexcept override;

    friend bool operator==(const VoiceInputError &a, const VoiceInputError &b)
    {
        return a.m_kind == b.m_kind && a.m_detail == b.m_detail;
    }

private:
    VoiceInputError(Kind kind, QString detail) : m_kind(kind), m_detail(std::move(detail)) { }

    Kind m_kind;
    QString m_detail;
};

// What an engine reports through its error callback: one of ours, or the recogniser's own error object.
using EngineError = std::variant<VoiceInputError, SpeechError>;

// A snapshot of everything that decides whether dictation can start.
struct VoiceAvailability {
    bool recognizerPresent = false;
    bool supportsOnDevice = false;
    VoicePermission speech = VoicePermission::notDetermined;
    VoicePermission microphone = VoicePermission::notDetermined;

    static const VoiceAvailability granted;

    // The first condition that blocks a start: recogniser, on-device support, speech, then microphone.
    // A permission still undecided does not block; it is asked for when a session starts.
    [[nodiscard]] std::optional<VoiceInputError> blockingError() const;
    [[nodiscard]] bool isAvailable() const { return !blockingError(); }
    [[nodiscard]] std::optional<QString> unavailableReason() const;

    friend bool operator==(const VoiceAvailability &, const VoiceAvailability &) = default;
};

inline const VoiceAvailability VoiceAvailability::granted { true, true, VoicePermission::granted,
    VoicePermission::granted };

} // namespace orvane::voice
