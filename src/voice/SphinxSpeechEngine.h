#pragma once

#include "voice/AudioInput.h"
#include "voice/SpeechEngine.h"
#include "voice/SphinxRecognizer.h"

#include <QLocale>
#include <QMutex>

#include <memory>

namespace orvane::voice {

// The speech engine over pocketsphinx and an audio input device. On this desktop nobody is asked for
// permissions: speech recognition counts as granted when the model files are installed (denied otherwise),
// the microphone as granted when a capture source exists (denied otherwise); the locale's language needs a
// model for on-device recognition, and a decoder that failed to load leaves no recognizer. Always held by
// std::shared_ptr.
class SphinxSpeechEngine final : public SpeechEngine, public std::enable_shared_from_this<SphinxSpeechEngine> {
public:
    // The recogniser for the locale, or none when the locale's language has no model.
    static std::shared_ptr<SphinxSpeechEngine> create(const QLocale &locale, std::shared_ptr<AudioInputDevice> device);
    // A given recogniser (a grammar, a shared decoder); none means no recogniser.
    static std::shared_ptr<SphinxSpeechEngine> create(
        std::shared_ptr<SphinxRecognizer> recognizer, std::shared_ptr<AudioInputDevice> device);

    SphinxSpeechEngine(std::shared_ptr<SphinxRecognizer> recognizer, std::shared_ptr<AudioInputDevice> device);
    ~SphinxSpeechEngine() override;
    SphinxSpeechEngine(const SphinxSpeechEngine &) = delete;
    SphinxSpeechEngine &operator=(const SphinxSpeechEngine &) = delete;

    [[nodiscard]] VoiceAvailability availability() const override;
    // The snapshot for a recognizer (none: the language has no model) and a capture device.
    [[nodiscard]] static VoiceAvailability availability(
        const SphinxRecognizer *recognizer, const AudioInputDevice *device);
    QCoro::Task<VoiceAvailability> requestPermissions() override;
    std::optional<VoiceInputError> start(PartialHandler onPartial, ErrorHandler onError) override;
    void stop() override;

    // Whether a recognition is running (its audio input is open).
    [[nodiscard]] bool isRunning() const;

private:
    std::optional<VoiceInputError> startLocked(
        PartialHandler onPartial, ErrorHandler onError, std::shared_ptr<RecognitionTask> &previous);
    [[nodiscard]] std::shared_ptr<RecognitionTask> tearDownLocked();
    void endSession(const std::shared_ptr<RecognitionRequest> &request);

    const std::shared_ptr<AudioInputDevice> m_device;

    // Held for a whole start, stop or teardown, and while availability() reads the recogniser.
    mutable QMutex m_lock;
    std::shared_ptr<SphinxRecognizer> m_recognizer;
    std::unique_ptr<AudioInput> m_audioInput;
    std::shared_ptr<RecognitionRequest> m_request;
    std::shared_ptr<RecognitionTask> m_task;

    // Taken after m_lock when both are needed, never the other way round.
    mutable QMutex m_callbackLock;
    std::shared_ptr<RecognitionRequest> m_liveRequest;
};

} // namespace orvane::voice
