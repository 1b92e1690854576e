#pragma once

#include "voice/AudioInput.h"

#include <QString>

#include <atomic>

namespace orvane::voice::test {

struct FileAudioOptions {
    // 1 plays in real time, 2 twice as fast; 0 delivers as fast as the recogniser takes it (only with
    // endAtFileEnd).
    double speed = 1.0;
    bool endAtFileEnd = false;
};

// A capture source that plays a raw 16 kHz mono 16-bit file through the same path the microphone feeds. Like a
// microphone in a quiet room it goes on with silence after the file, unless told to end there.
class FileAudioDevice final : public AudioInputDevice {
public:
    using Options = FileAudioOptions;

    explicit FileAudioDevice(QString path, Options options = {});

    [[nodiscard]] bool isPresent() const override;
    [[nodiscard]] std::unique_ptr<AudioInput> makeInput() override;

    // How many inputs had a tap installed.
    [[nodiscard]] int tapsInstalled() const { return m_taps; }

private:
    const QString m_path;
    const Options m_options;
    std::atomic<int> m_taps = 0;

    friend class FileAudioInput;
};

} // namespace orvane::voice::test
