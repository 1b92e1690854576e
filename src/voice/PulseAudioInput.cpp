#include "voice/PulseAudioInput.h"

#include "voice/VoiceLibraries.h"
#include "voice/VoiceWorkers.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMutex>
#include <QMutexLocker>

#include <atomic>
#include <vector>

namespace orvane::voice {
namespace {

// Shared by the input object and its capture thread, which may outlive it by one read.
struct CaptureState {
    QMutex mutex;
    AudioInput::Tap tap;
    AudioInput::EndHandler onEnd;
    qsizetype framesPerBuffer = 1024;
    std::atomic<bool> stopRequested = false;

    void deliver(const std::vector<qint16> &samples)
    {
        QMutexLocker lock(&mutex);
        if (tap && !stopRequested)
            tap(samples.data(), static_cast<qsizetype>(samples.size()));
    }

    void end(const QString &failure)
    {
        QMutexLocker lock(&mutex);
        if (onEnd && !stopRequested)
            onEnd(failure);
    }
};

void capture(const std::shared_ptr<CaptureState> &state, const QByteArray &applicationName)
{
    const pa_sample_spec spec { PA_SAMPLE_S16LE, static_cast<uint32_t>(recognizerSampleRate), 1 };
    const auto bytes = static_cast<size_t>(state->framesPerBuffer) * sizeof(qint16);
    pa_buffer_attr attributes {};
    attributes.maxlength = static_cast<uint32_t>(-1);
    attributes.tlength = static_cast<uint32_t>(-1);
    attributes.prebuf = static_cast<uint32_t>(-1);
    attributes.minreq = static_cast<uint32_t>(-1);
    attributes.fragsize = static_cast<uint32_t>(bytes);

    const PulseFunctions *pulse = pulseFunctions();
    if (!pulse) {
        state->end(QStringLiteral("The sound server's client library is not installed."));
        return;
    }
    int error = 0;
    pa_simple *stream = pulse->open(nullptr, applicationName.constData(), PA_STREAM_RECORD, nullptr, "Dictation", &spec,
        nullptr, &attributes, &error);
    if (!stream) {
        state->end(QString::fromUtf8(pulse->errorText(error)));
        return;
    }
    std::vector<qint16> buffer(static_cast<size_t>(state->framesPerBuffer));
    while (!state->stopRequested) {
        if (pulse->read(stream, buffer.data(), bytes, &error) < 0) {
            state->end(QString::fromUtf8(pulse->errorText(error)));
            break;
        }
        state->deliver(buffer);
    }
    pulse->free(stream);
}

class PulseAudioInput final : public AudioInput {
public:
    ~PulseAudioInput() override { stop(); }

    [[nodiscard]] AudioFormat outputFormat() const override { return { recognizerSampleRate, 1 }; }

    void installTap(qsizetype framesPerBuffer, Tap tap, EndHandler onEnd) override
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->framesPerBuffer = framesPerBuffer;
        m_state->tap = std::move(tap);
        m_state->onEnd = std::move(onEnd);
    }

    void removeTap() override
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->tap = nullptr;
        m_state->onEnd = nullptr;
    }

    std::optional<QString> start() override
    {
        if (m_started)
            return std::nullopt;
        m_started = true;
        // Connecting to the server can take a while (or hang with a wedged server), so the capture thread does it
        // and reports a failure through the end handler.
        runVoiceWorker(
            [state = m_state, name = QCoreApplication::applicationName().toUtf8()] { capture(state, name); });
        return std::nullopt;
    }

    void stop() override { m_state->stopRequested = true; }

private:
    std::shared_ptr<CaptureState> m_state = std::make_shared<CaptureState>();
    bool m_started = false;
};

} // namespace

bool PulseAudioInputDevice::isPresent() const
{
    // Every sink of the server has a monitor source, so a reachable server always has something to capture; the
    // question is whether a server is there, answered without connecting.
    if (!qEnvironmentVariableIsEmpty("PULSE_SERVER"))
        return true;
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo::exists(runtime + QStringLiteral("/pulse/native")))
        return true;
    return QFileInfo::exists(QStringLiteral("/run/pulse/native"));
}

std::unique_ptr<AudioInput> PulseAudioInputDevice::makeInput()
{
    return std::make_unique<PulseAudioInput>();
}

} // namespace orvane::voice
