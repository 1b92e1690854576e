#include "voice/SphinxSpeechEngine.h"
#include "voice/FileAudioInput.h"
#include "voice/SpeechSamples.h"
#include "voice/VoiceInputProvider.h"

#include <QCoro/QCoroTask>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <atomic>

namespace orvane::voice {
namespace {

using test::FileAudioDevice;

TEST(SphinxSpeechEngineTest, EnglishAndTheCLocaleHaveARecognizerOtherLanguagesNone)
{
    for (const QLocale &locale :
        { QLocale(QLocale::C), QLocale(QStringLiteral("en_GB")), QLocale(QStringLiteral("en_US")) }) {
        const auto engine = SphinxSpeechEngine::create(locale, nullptr);
        EXPECT_TRUE(engine->availability().recognizerPresent) << locale.name().toStdString();
        EXPECT_TRUE(engine->availability().supportsOnDevice);
        EXPECT_EQ(engine->availability().speech, VoicePermission::granted);
    }
    const auto german = SphinxSpeechEngine::create(
        QLocale(QStringLiteral("de_DE")), std::make_shared<FileAudioDevice>(QStringLiteral("/nonexistent")));
    const VoiceAvailability availability = german->availability();
    EXPECT_FALSE(availability.supportsOnDevice);
    EXPECT_EQ(availability.blockingError(), VoiceInputError::onDeviceUnsupported());
    EXPECT_EQ(german->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::onDeviceUnsupported());
}

TEST(SphinxSpeechEngineTest, MissingModelFilesDenySpeechAndMissingSourceDeniesTheMicrophone)
{
    SphinxModel missing = SphinxModel::englishUS();
    missing.languageModel = QStringLiteral("/nonexistent/en-us.lm.bin");
    const auto engine = SphinxSpeechEngine::create(
        std::make_shared<SphinxRecognizer>(missing), std::make_shared<FileAudioDevice>(QStringLiteral("/nonexistent")));
    const VoiceAvailability availability = engine->availability();
    EXPECT_EQ(availability.speech, VoicePermission::denied);
    EXPECT_EQ(availability.microphone, VoicePermission::denied);
    EXPECT_EQ(availability.blockingError(), VoiceInputError::speechDenied());
    EXPECT_EQ(engine->start([](const QString &, bool) {}, [](const EngineError &) {}), VoiceInputError::speechDenied());

    // With the model present, an input without audio fails to start and gets no tap.
    const auto device = std::make_shared<FileAudioDevice>(QStringLiteral("/nonexistent"));
    const auto withModel = SphinxSpeechEngine::create(QLocale(QLocale::C), device);
    EXPECT_EQ(withModel->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::audioEngineFailed(QStringLiteral("No audio input available.")));
    EXPECT_EQ(device->tapsInstalled(), 0);
    EXPECT_FALSE(withModel->isRunning());
    withModel->stop();
}

// What a user reads for each way this desktop can lack dictation: the sentence says what to do, and the one
// that names the model package is the one for missing model files.
TEST(SphinxSpeechEngineTest, EachDesktopConditionGivesTheSentenceThatSaysWhatToDo)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString source = folder.filePath(QStringLiteral("source.raw"));
    {
        QFile file(source);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    const auto microphone = std::make_shared<FileAudioDevice>(source);
    const auto noSoundServer = std::make_shared<FileAudioDevice>(folder.filePath(QStringLiteral("absent")));
    SphinxModel withoutModelFiles = SphinxModel::englishUS();
    withoutModelFiles.acousticModel = folder.filePath(QStringLiteral("en-us"));

    const auto reason = [](const std::shared_ptr<SphinxSpeechEngine> &engine) {
        return SpeechVoiceProvider(engine, std::chrono::seconds(5), std::chrono::seconds(2))
            .unavailableReason()
            .value_or(QString());
    };
    EXPECT_EQ(reason(SphinxSpeechEngine::create(std::make_shared<SphinxRecognizer>(withoutModelFiles), microphone)),
        QStringLiteral("Speech recognition is off. Check that the speech model (pocketsphinx-en-us) is installed, or "
                       "type your request."));
    EXPECT_EQ(reason(SphinxSpeechEngine::create(QLocale(QLocale::C), noSoundServer)),
        QStringLiteral("Microphone access is off. Check that a microphone is connected and the sound server is "
                       "running, or type your request."));
    EXPECT_EQ(reason(SphinxSpeechEngine::create(QLocale(QStringLiteral("de_DE")), microphone)),
        QStringLiteral("On-device speech recognition isn't available for your language on this device. Type your "
                       "request."));
    EXPECT_EQ(reason(SphinxSpeechEngine::create(QLocale(QLocale::C), microphone)), QString());
    EXPECT_EQ(SphinxSpeechEngine::create(std::make_shared<SphinxRecognizer>(withoutModelFiles), microphone)
                  ->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::speechDenied());
}

TEST(SphinxSpeechEngineTest, DecodesAFiniteSourceToAFinalResultAndTearsDown)
{
    test::SpeechSamples samples;
    const QString phrase = QStringLiteral("show the dashboard");
    const QString audio = samples.sentence(phrase);
    ASSERT_FALSE(audio.isEmpty()) << samples.lastError().toStdString();
    SphinxModel model = SphinxModel::englishUS();
    model.grammar = samples.grammar({ phrase, QStringLiteral("approve the budget") });
    const auto engine = SphinxSpeechEngine::create(std::make_shared<SphinxRecognizer>(model),
        std::make_shared<FileAudioDevice>(audio, test::FileAudioOptions { 0, true }));

    struct Seen {
        QMutex mutex;
        QStringList partials;
        QString final;
        std::atomic<bool> done = false;
    };
    auto seen = std::make_shared<Seen>();
    const auto error = engine->start(
        [seen](const QString &text, bool isFinal) {
            QMutexLocker lock(&seen->mutex);
            if (isFinal) {
                seen->final = text;
                seen->done = true;
            } else {
                seen->partials.append(text);
            }
        },
        [seen](const EngineError &failure) {
            QMutexLocker lock(&seen->mutex);
            seen->partials.append(QStringLiteral("error: ") + VoiceInputError::map(failure).detail());
            seen->done = true;
        });
    ASSERT_FALSE(error);
    EXPECT_TRUE(engine->isRunning());
    ASSERT_TRUE(QTest::qWaitFor([&] { return seen->done.load(); }, 20000));
    QMutexLocker lock(&seen->mutex);
    EXPECT_EQ(seen->final, phrase) << seen->partials.join(u'|').toStdString();
    EXPECT_FALSE(seen->partials.isEmpty());
    // Only changed partials are passed on.
    for (qsizetype i = 1; i < seen->partials.size(); ++i)
        EXPECT_NE(seen->partials[i], seen->partials[i - 1]);
    // The final result tears the recognition down on its own.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !engine->isRunning(); }));
}

} // namespace
} // namespace orvane::voice
