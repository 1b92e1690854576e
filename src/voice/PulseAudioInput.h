#pragma once

#include "voice/AudioInput.h"

namespace orvane::voice {

// The desktop's microphone through its sound server (PulseAudio, or PipeWire's PulseAudio service). The server
// converts the default source to what the recogniser needs.
class PulseAudioInputDevice final : public AudioInputDevice {
public:
    [[nodiscard]] bool isPresent() const override;
    [[nodiscard]] std::unique_ptr<AudioInput> makeInput() override;
};

} // namespace orvane::voice
