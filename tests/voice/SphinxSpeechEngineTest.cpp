#include "voice/SphinxSpeechEngine.h"
#include "voice/FileAudioInput.h"
#include "voice/SpeechSamples.h"

#include <QCoro/QCoroTask>
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
    EXPECT_FALSE(availability.recognizerPresent);
    EXPECT_FALSE(availability.supportsOnDevice);
    EXPECT_EQ(availability.blockingError(), VoiceInputError::recognizerUnavailable());
    EXPECT_EQ(german->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::recognizerUnavailable());
}

TEST(SphinxSpeechEngineTest, MissingModelFilesRestrictSpeechAndMissingSourceDeniesTheMicrophone)
{
    SphinxModel missing = SphinxModel::englishUS();
    missing.languageModel = QStringLiteral("/nonexistent/en-us.lm.bin");
    const auto engine = SphinxSpeechEngine::create(
        std::make_shared<SphinxRecognizer>(missing), std::make_shared<FileAudioDevice>(QStringLiteral("/nonexistent")));
    const VoiceAvailability availability = engine->availability();
    EXPECT_EQ(availability.speech, VoicePermission::restricted);
    EXPECT_EQ(availability.microphone, VoicePermission::denied);
    EXPECT_EQ(availability.blockingError(), VoiceInputError::speechRestricted());
    EXPECT_EQ(engine->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::recognizerUnavailable());

    // With the model present, an input without audio fails to start and gets no tap.
    const auto device = std::make_shared<FileAudioDevice>(QStringLiteral("/nonexistent"));
    const auto withModel = SphinxSpeechEngine::create(QLocale(QLocale::C), device);
    EXPECT_EQ(withModel->start([](const QString &, bool) {}, [](const EngineError &) {}),
        VoiceInputError::audioEngineFailed(QStringLiteral("No audio input available.")));
    EXPECT_EQ(device->tapsInstalled(), 0);
    EXPECT_FALSE(withModel->isRunning());
    withModel->stop();
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
