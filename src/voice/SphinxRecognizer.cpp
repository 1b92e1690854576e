#include "voice/SphinxRecognizer.h"

#include "voice/VoiceLibraries.h"
#include "voice/VoiceWorkers.h"

#include <QFileInfo>
#include <QMutexLocker>

#include <mutex>

namespace orvane::voice {
namespace {

constexpr qint64 modelLoadFailed = 1;
constexpr qint64 utteranceFailed = 2;
constexpr qint64 processingFailed = 3;

void silenceDecoderLog()
{
    // The decoder logs every setting and every utterance to stderr; the application writes no log of its own.
    static std::once_flag once;
    std::call_once(once, [] { sphinxFunctions()->setLogFile(nullptr); });
}

} // namespace

SphinxModel SphinxModel::englishUS()
{
    const QString root = QStringLiteral(ORVANE_SPHINX_MODEL_DIR "/en-us");
    return { root + QStringLiteral("/en-us"), root + QStringLiteral("/cmudict-en-us.dict"),
        root + QStringLiteral("/en-us.lm.bin"), {} };
}

std::optional<SphinxModel> SphinxModel::forLocale(const QLocale &locale)
{
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return englishUS();
    return std::nullopt;
}

bool SphinxModel::filesPresent() const
{
    const QString search = grammar.isEmpty() ? languageModel : grammar;
    return QFileInfo::exists(acousticModel + QStringLiteral("/mdef")) && QFileInfo::exists(dictionary)
        && !search.isEmpty() && QFileInfo::exists(search);
}

void RecognitionRequest::append(const qint16 *samples, qsizetype frames)
{
    QMutexLocker lock(&m_mutex);
    if (m_ended || m_cancelled)
        return;
    m_queue.emplace_back(samples, samples + frames);
    m_changed.wakeAll();
}

void RecognitionRequest::endAudio(const std::optional<QString> &failure)
{
    QMutexLocker lock(&m_mutex);
    if (m_ended)
        return;
    m_ended = true;
    m_failure = failure;
    m_changed.wakeAll();
}

void RecognitionRequest::cancel()
{
    QMutexLocker lock(&m_mutex);
    m_cancelled = true;
    m_queue.clear();
    m_changed.wakeAll();
}

RecognitionRequest::Next RecognitionRequest::waitNext(std::vector<qint16> &samples)
{
    QMutexLocker lock(&m_mutex);
    while (!m_cancelled && m_queue.empty() && !m_ended)
        m_changed.wait(&m_mutex);
    if (m_cancelled)
        return Next::cancelled;
    if (m_queue.empty())
        return Next::ended;
    samples = std::move(m_queue.front());
    m_queue.pop_front();
    return Next::audio;
}

std::optional<QString> RecognitionRequest::captureFailure() const
{
    QMutexLocker lock(&m_mutex);
    return m_failure;
}

SphinxRecognizer::SphinxRecognizer(SphinxModel model) : m_model(std::move(model))
{
}

SphinxRecognizer::~SphinxRecognizer()
{
    if (m_decoder)
        sphinxFunctions()->free(m_decoder);
}

bool SphinxRecognizer::isAvailable() const
{
    return !m_loadFailed && m_model.filesPresent();
}

bool SphinxRecognizer::load()
{
    QMutexLocker lock(&m_loadMutex);
    if (m_decoder)
        return true;
    if (m_loadFailed || !m_model.filesPresent())
        return false;
    const SphinxFunctions *sphinx = sphinxFunctions();
    if (!sphinx) {
        m_loadFailed = true;
        return false;
    }
    silenceDecoderLog();
    const QByteArray acoustic = m_model.acousticModel.toLocal8Bit();
    const QByteArray dictionary = m_model.dictionary.toLocal8Bit();
    const bool useGrammar = !m_model.grammar.isEmpty();
    const QByteArray search = (useGrammar ? m_model.grammar : m_model.languageModel).toLocal8Bit();
    cmd_ln_t *config = sphinx->configInit(nullptr, sphinx->args(), TRUE, "-hmm", acoustic.constData(), "-dict",
        dictionary.constData(), useGrammar ? "-jsgf" : "-lm", search.constData(), static_cast<const char *>(nullptr));
    if (config) {
        m_decoder = sphinx->init(config);
        sphinx->configFree(config);
    }
    m_loadFailed = m_decoder == nullptr;
    return m_decoder != nullptr;
}

std::shared_ptr<RecognitionTask> SphinxRecognizer::recognitionTask(
    std::shared_ptr<RecognitionRequest> request, ResultHandler handler)
{
    auto task = std::make_shared<RecognitionTask>(request);
    runVoiceWorker([self = shared_from_this(), request = std::move(request), handler = std::move(handler)] {
        self->decode(*request, handler);
    });
    return task;
}

void SphinxRecognizer::decode(RecognitionRequest &request, const ResultHandler &handler)
{
    // Loading here too covers a start without the warm-up; it runs on this worker, outside the engine's locks.
    if (!load()) {
        handler(std::nullopt,
            SpeechError { errorDomain, modelLoadFailed, QStringLiteral("The speech model could not be loaded.") });
        return;
    }
    QMutexLocker decoding(&m_decodeMutex);
    const auto hypothesis = [this] {
        const char *text = sphinxFunctions()->hypothesis(m_decoder, nullptr);
        return text ? QString::fromUtf8(text) : QString();
    };
    if (sphinxFunctions()->startUtterance(m_decoder) < 0) {
        handler(std::nullopt,
            SpeechError { errorDomain, utteranceFailed, QStringLiteral("The recognizer could not start.") });
        return;
    }
    // A pause the decoder's voice activity detector hears closes the utterance: its hypothesis is then settled
    // (partial hypotheses within an utterance can fall back to a shorter path) and the next one starts afresh.
    QString settled;
    const auto transcript = [&settled](const QString &current) -> QString {
        if (settled.isEmpty() || current.isEmpty())
            return settled.isEmpty() ? current : settled;
        return settled + u' ' + current;
    };
    bool inSpeech = false;
    QString last;
    std::vector<qint16> samples;
    for (;;) {
        const RecognitionRequest::Next next = request.waitNext(samples);
        if (next == RecognitionRequest::Next::cancelled) {
            sphinxFunctions()->endUtterance(m_decoder);
            return;
        }
        if (next == RecognitionRequest::Next::ended)
            break;
        if (sphinxFunctions()->processRaw(m_decoder, samples.data(), samples.size(), FALSE, FALSE) < 0) {
            sphinxFunctions()->endUtterance(m_decoder);
            handler(std::nullopt,
                SpeechError {
                    errorDomain, processingFailed, QStringLiteral("The recognizer could not process the audio.") });
            return;
        }
        const bool speaking = sphinxFunctions()->inSpeech(m_decoder) != 0;
        QString text;
        if (inSpeech && !speaking) {
            sphinxFunctions()->endUtterance(m_decoder);
            settled = transcript(hypothesis());
            text = settled;
            if (sphinxFunctions()->startUtterance(m_decoder) < 0) {
                handler(std::nullopt,
                    SpeechError { errorDomain, utteranceFailed, QStringLiteral("The recognizer could not start.") });
                return;
            }
        } else {
            text = transcript(hypothesis());
        }
        inSpeech = speaking;
        // The decoder repeats its hypothesis through pauses; passing repeats on would keep a silence timer from
        // ever running out.
        if (text != last) {
            last = text;
            handler(Result { std::move(text), false }, std::nullopt);
        }
    }
    sphinxFunctions()->endUtterance(m_decoder);
    if (const auto failure = request.captureFailure()) {
        handler(std::nullopt, VoiceInputError::audioEngineFailed(*failure));
        return;
    }
    handler(Result { transcript(hypothesis()), true }, std::nullopt);
}

} // namespace orvane::voice
