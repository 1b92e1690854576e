#include "voice/SphinxSpeechEngine.h"

#include "voice/VoiceWorkers.h"

#include <QCoro/QCoroFuture>
#include <QMutexLocker>
#include <QtConcurrent/QtConcurrentRun>

namespace orvane::voice {
namespace {

constexpr qsizetype tapFrames = 1024;

} // namespace

std::shared_ptr<SphinxSpeechEngine> SphinxSpeechEngine::create(
    const QLocale &locale, std::shared_ptr<AudioInputDevice> device)
{
    std::shared_ptr<SphinxRecognizer> recognizer;
    if (auto model = SphinxModel::forLocale(locale))
        recognizer = std::make_shared<SphinxRecognizer>(std::move(*model));
    return create(std::move(recognizer), std::move(device));
}

std::shared_ptr<SphinxSpeechEngine> SphinxSpeechEngine::create(
    std::shared_ptr<SphinxRecognizer> recognizer, std::shared_ptr<AudioInputDevice> device)
{
    return std::make_shared<SphinxSpeechEngine>(std::move(recognizer), std::move(device));
}

SphinxSpeechEngine::SphinxSpeechEngine(
    std::shared_ptr<SphinxRecognizer> recognizer, std::shared_ptr<AudioInputDevice> device)
    : m_device(std::move(device)), m_recognizer(std::move(recognizer))
{
}

SphinxSpeechEngine::~SphinxSpeechEngine()
{
    stop();
}

VoiceAvailability SphinxSpeechEngine::availability() const
{
    std::shared_ptr<SphinxRecognizer> recognizer;
    {
        QMutexLocker lock(&m_lock);
        recognizer = m_recognizer;
    }
    return availability(recognizer.get(), m_device.get());
}

// Each condition of this desktop lands on the case whose sentence says what to do about it: a
// language without a model reads as on-device recognition missing for the language, missing model
// files as speech recognition off (the sentence names the model package), no sound server as the
// microphone off, and a decoder that would not load as recognition unavailable.
VoiceAvailability SphinxSpeechEngine::availability(const SphinxRecognizer *recognizer, const AudioInputDevice *device)
{
    VoiceAvailability result;
    result.recognizerPresent = !(recognizer && recognizer->loadFailed());
    result.supportsOnDevice = recognizer != nullptr;
    const bool modelsInstalled = (recognizer ? recognizer->model() : SphinxModel::englishUS()).filesPresent();
    result.speech = modelsInstalled ? VoicePermission::granted : VoicePermission::denied;
    result.microphone = device && device->isPresent() ? VoicePermission::granted : VoicePermission::denied;
    return result;
}

QCoro::Task<VoiceAvailability> SphinxSpeechEngine::requestPermissions()
{
    // Nothing here prompts, so both permissions are already decided. What remains is readying the decoder, which
    // is slow enough that it runs on a worker, and outside m_lock, before listening begins.
    const auto self = shared_from_this();
    VoiceAvailability result = availability();
    std::shared_ptr<SphinxRecognizer> recognizer;
    {
        QMutexLocker lock(&m_lock);
        recognizer = m_recognizer;
    }
    if (recognizer && result.isAvailable()) {
        // Named, not a temporary of the co_await: g++ 12 can destroy such temporaries twice.
        const QFuture<void> loading = QtConcurrent::run([recognizer] { recognizer->load(); });
        co_await loading;
        // A decoder that would not load leaves nothing to recognise with.
        result.recognizerPresent = !recognizer->loadFailed();
    }
    co_return result;
}

std::optional<VoiceInputError> SphinxSpeechEngine::start(PartialHandler onPartial, ErrorHandler onError)
{
    std::shared_ptr<RecognitionTask> previous;
    std::optional<VoiceInputError> error;
    {
        QMutexLocker lock(&m_lock);
        error = startLocked(std::move(onPartial), std::move(onError), previous);
    }
    if (previous)
        previous->finish();
    return error;
}

std::optional<VoiceInputError> SphinxSpeechEngine::startLocked(
    PartialHandler onPartial, ErrorHandler onError, std::shared_ptr<RecognitionTask> &previous)
{
    if (!m_recognizer)
        return VoiceInputError::onDeviceUnsupported();
    if (m_recognizer->loadFailed())
        return VoiceInputError::recognizerUnavailable();
    if (!m_recognizer->isAvailable())
        return VoiceInputError::speechDenied();
    previous = tearDownLocked();

    auto request = std::make_shared<RecognitionRequest>();
    std::unique_ptr<AudioInput> input = m_device ? m_device->makeInput() : nullptr;
    const AudioFormat format = input ? input->outputFormat() : AudioFormat {};
    if (!(format.sampleRate > 0) || format.channelCount == 0)
        return VoiceInputError::audioEngineFailed(QStringLiteral("No audio input available."));

    input->installTap(
        tapFrames, [request](const qint16 *samples, qsizetype frames) { request->append(samples, frames); },
        [request](const std::optional<QString> &failure) { request->endAudio(failure); });
    if (const auto failure = input->start()) {
        input->removeTap();
        return VoiceInputError::audioEngineFailed(*failure);
    }

    m_request = request;
    m_audioInput = std::move(input);
    {
        QMutexLocker lock(&m_callbackLock);
        m_liveRequest = request;
    }

    const std::weak_ptr<SphinxSpeechEngine> weakSelf = weak_from_this();
    m_task = m_recognizer->recognitionTask(request,
        [weakSelf, request, onPartial = std::move(onPartial), onError = std::move(onError)](
            const std::optional<SphinxRecognizer::Result> &result, const std::optional<EngineError> &error) {
            const auto self = weakSelf.lock();
            if (!self)
                return;
            {
                // Results of a torn-down recognition are dropped.
                QMutexLocker lock(&self->m_callbackLock);
                if (self->m_liveRequest != request)
                    return;
            }
            if (result)
                onPartial(result->text, result->isFinal);
            if (error)
                onError(*error);
            if (error || (result && result->isFinal)) {
                runVoiceWorker([weakSelf, request] {
                    if (const auto engine = weakSelf.lock())
                        engine->endSession(request);
                });
            }
        });
    return std::nullopt;
}

std::shared_ptr<RecognitionTask> SphinxSpeechEngine::tearDownLocked()
{
    if (m_audioInput) {
        m_audioInput->removeTap();
        m_audioInput->stop();
    }
    if (m_request)
        m_request->endAudio();
    std::shared_ptr<RecognitionTask> task = std::move(m_task);
    m_audioInput.reset();
    m_request.reset();
    m_task.reset();
    {
        QMutexLocker lock(&m_callbackLock);
        m_liveRequest.reset();
    }
    return task;
}

void SphinxSpeechEngine::endSession(const std::shared_ptr<RecognitionRequest> &request)
{
    std::shared_ptr<RecognitionTask> task;
    {
        QMutexLocker lock(&m_lock);
        if (m_request == request)
            task = tearDownLocked();
    }
    if (task)
        task->finish();
}

void SphinxSpeechEngine::stop()
{
    std::shared_ptr<RecognitionTask> task;
    {
        QMutexLocker lock(&m_lock);
        task = tearDownLocked();
    }
    if (task)
        task->finish();
}

bool SphinxSpeechEngine::isRunning() const
{
    QMutexLocker lock(&m_lock);
    return m_audioInput != nullptr;
}

} // namespace orvane::voice
