#pragma once

#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace orvane::voice {

// What the recogniser is fed: 16 kHz mono, signed 16-bit samples.
inline constexpr int recognizerSampleRate = 16000;

struct AudioFormat {
    double sampleRate = 0;
    int channelCount = 0;
};

// One run of audio capture. It delivers recognizerSampleRate mono samples, converting whatever the source has,
// in buffers of the size the tap asks for, on a thread of its own.
class AudioInput {
public:
    using Tap = std::function<void(const qint16 *samples, qsizetype frames)>;
    // Called once when the audio ends by itself: with a description when capture failed, empty at the end of a
    // finite source. A live microphone never ends by itself.
    using EndHandler = std::function<void(const std::optional<QString> &failure)>;

    virtual ~AudioInput() = default;

    // The format of the delivered audio; a sample rate of 0 or no channels when there is no input to capture.
    [[nodiscard]] virtual AudioFormat outputFormat() const = 0;
    virtual void installTap(qsizetype framesPerBuffer, Tap tap, EndHandler onEnd) = 0;
    // After it returns, the tap is never called again.
    virtual void removeTap() = 0;
    // Starts capturing; a description of the failure when it cannot. Never blocks on the sound server.
    virtual std::optional<QString> start() = 0;
    // Stops capturing without waiting for the capture thread.
    virtual void stop() = 0;
};

// A capture source: the desktop's microphone, or a file in tests.
class AudioInputDevice {
public:
    virtual ~AudioInputDevice() = default;

    // Whether a capture source exists; cheap, callable from any thread.
    [[nodiscard]] virtual bool isPresent() const = 0;
    [[nodiscard]] virtual std::unique_ptr<AudioInput> makeInput() = 0;
};

} // namespace orvane::voice
