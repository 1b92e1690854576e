#pragma once

#include "voice/VoiceAvailability.h"

#include <QCoro/QCoroTask>

#include <functional>
#include <optional>

namespace orvane::voice {

// The one place the voice module meets the recogniser and the audio capture. The transcriber drives it; the
// provider reads its availability.
class SpeechEngine {
public:
    // Both callbacks may be called from any thread and must not block.
    using PartialHandler = std::function<void(const QString &text, bool isFinal)>;
    using ErrorHandler = std::function<void(const EngineError &error)>;

    virtual ~SpeechEngine() = default;

    // The current availability; prompts nobody and never blocks for long. Callable from any thread.
    [[nodiscard]] virtual VoiceAvailability availability() const = 0;
    // Asks for the permissions that are still undecided and readies the recogniser; resumes on the calling thread.
    virtual QCoro::Task<VoiceAvailability> requestPermissions() = 0;
    // Starts a live recognition, tearing down any running one first; the error when it cannot start.
    virtual std::optional<VoiceInputError> start(PartialHandler onPartial, ErrorHandler onError) = 0;
    // Ends the live recognition, if any.
    virtual void stop() = 0;
};

} // namespace orvane::voice
