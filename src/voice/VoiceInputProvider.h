#pragma once

#include "voice/SpeechEngine.h"
#include "voice/SpeechTranscriber.h"

#include <QCoro/QCoroAsyncGenerator>
#include <QMutex>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

namespace orvane::voice {

// Voice input as the window holds it. The members may be called from any thread.
//
// transcribe() returns at once. Its stream yields "" once listening has begun, then the whole transcript so far
// (as the recogniser formats it) whenever it is not blank. It ends normally after the silence time-out, at a final
// result after speech, on stop(), when a newer transcribe() begins, or at once when overtaken or stopped before it
// began; it ends with a VoiceInputError when dictation cannot start, when nothing was said within the no-speech
// time-out, or when recognition fails. Letting go of the stream stops its session.
class VoiceInputProvider {
public:
    virtual ~VoiceInputProvider() = default;

    [[nodiscard]] virtual bool isAvailable() const = 0;
    // The user-facing sentence saying why voice input cannot start, or nothing when it can.
    [[nodiscard]] virtual std::optional<QString> unavailableReason() const = 0;
    // Whether starting a transcription will show a system permission prompt.
    [[nodiscard]] virtual bool willPromptForPermission() const { return false; }
    virtual QCoro::AsyncGenerator<QString> transcribe() = 0;
    // Ends the current transcription; returns at once.
    virtual void stop() = 0;
};

// On-device dictation: availability comes from the engine, sessions from the transcriber. Create and destroy it
// on the thread whose event loop runs the sessions (the main thread).
class SpeechVoiceProvider final : public VoiceInputProvider {
public:
    SpeechVoiceProvider(std::shared_ptr<SpeechEngine> engine, std::chrono::milliseconds noSpeechTimeout,
        std::chrono::milliseconds silenceTimeout);
    ~SpeechVoiceProvider() override;

    [[nodiscard]] bool isAvailable() const override;
    [[nodiscard]] std::optional<QString> unavailableReason() const override;
    [[nodiscard]] bool willPromptForPermission() const override;
    QCoro::AsyncGenerator<QString> transcribe() override;
    void stop() override;

    // The token of the last transcription handed out; never cleared.
    [[nodiscard]] std::optional<SessionToken> latest() const;

private:
    const std::shared_ptr<SpeechEngine> m_engine;
    const std::unique_ptr<SpeechTranscriber> m_transcriber;
    mutable QMutex m_lock; // guards m_latest
    std::optional<SessionToken> m_latest;
};

// A provider that is never available.
class UnavailableVoiceProvider final : public VoiceInputProvider {
public:
    [[nodiscard]] bool isAvailable() const override { return false; }
    [[nodiscard]] std::optional<QString> unavailableReason() const override;
    QCoro::AsyncGenerator<QString> transcribe() override;
    void stop() override { }
};

struct VoiceProviders {
    VoiceProviders() = delete;

    // Dictation on this device through the desktop's microphone, in the language of the user's locale, with a
    // no-speech time-out of 8 seconds and a silence time-out of 2 seconds.
    static std::shared_ptr<VoiceInputProvider> onDevice();
};

} // namespace orvane::voice
