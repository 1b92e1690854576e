#pragma once

#include "voice/VoiceAvailability.h"

#include <QLocale>
#include <QMutex>
#include <QString>
#include <QWaitCondition>

#include <atomic>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

struct ps_decoder_s;

namespace orvane::voice {

// The files of one pocketsphinx model. Either a statistical language model (open dictation) or a JSGF grammar
// (a fixed set of phrases) is used.
struct SphinxModel {
    QString acousticModel;
    QString dictionary;
    QString languageModel;
    QString grammar;

    // The installed US English model with its open language model.
    static SphinxModel englishUS();
    // The model for a locale: English and the C/POSIX locale use US English; other languages have none.
    static std::optional<SphinxModel> forLocale(const QLocale &locale);

    [[nodiscard]] bool filesPresent() const;
};

// The audio of one recognition: filled by the capture thread, drained by the decoding thread.
class RecognitionRequest {
public:
    enum class Next { audio, ended, cancelled };

    void append(const qint16 *samples, qsizetype frames);
    // No more audio will come; failure describes why capture broke off, if it did.
    void endAudio(const std::optional<QString> &failure = std::nullopt);
    // Stop taking audio; queued audio is dropped.
    void cancel();

    // Blocks until audio is queued, the audio ended (after the queue drained) or the request was cancelled.
    Next waitNext(std::vector<qint16> &samples);
    [[nodiscard]] std::optional<QString> captureFailure() const;

private:
    mutable QMutex m_mutex;
    QWaitCondition m_changed;
    std::deque<std::vector<qint16>> m_queue;
    bool m_ended = false;
    bool m_cancelled = false;
    std::optional<QString> m_failure;
};

// A running recognition over one request.
class RecognitionTask {
public:
    explicit RecognitionTask(std::shared_ptr<RecognitionRequest> request) : m_request(std::move(request)) { }
    // Stop taking audio and end the recognition.
    void finish() { m_request->cancel(); }

private:
    std::shared_ptr<RecognitionRequest> m_request;
};

// One pocketsphinx decoder over a model, loaded on first use and kept for later sessions. Thread-safe: one
// recognition decodes at a time. Always held by std::shared_ptr (make it with std::make_shared).
class SphinxRecognizer : public std::enable_shared_from_this<SphinxRecognizer> {
public:
    struct Result {
        QString text;
        bool isFinal = false;
    };
    // Called on the decoding thread with a result, an error, or both.
    using ResultHandler = std::function<void(const std::optional<Result> &, const std::optional<EngineError> &)>;

    static inline const QString errorDomain = QStringLiteral("pocketsphinx");

    explicit SphinxRecognizer(SphinxModel model);
    ~SphinxRecognizer();
    SphinxRecognizer(const SphinxRecognizer &) = delete;
    SphinxRecognizer &operator=(const SphinxRecognizer &) = delete;

    [[nodiscard]] const SphinxModel &model() const { return m_model; }
    // The model files are there and the decoder did not fail to load.
    [[nodiscard]] bool isAvailable() const;
    // The decoder could not be made (its library is missing, or the model files would not load).
    [[nodiscard]] bool loadFailed() const { return m_loadFailed; }
    // Loads the decoder (a third of a second, ~100 MB). Blocking: never on the main thread, never under a lock of
    // the engine. Returns whether a decoder is ready.
    bool load();

    // Starts decoding the request's audio on a worker thread. Partial results are passed on only when their
    // text changed; the audio's own end gives a final result.
    [[nodiscard]] std::shared_ptr<RecognitionTask> recognitionTask(
        std::shared_ptr<RecognitionRequest> request, ResultHandler handler);

private:
    void decode(RecognitionRequest &request, const ResultHandler &handler);

    const SphinxModel m_model;
    QMutex m_loadMutex; // guards m_decoder creation and m_loadFailed
    ps_decoder_s *m_decoder = nullptr;
    std::atomic<bool> m_loadFailed = false;
    QMutex m_decodeMutex; // one utterance at a time
};

} // namespace orvane::voice
