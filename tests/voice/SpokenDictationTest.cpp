#include "voice/FileAudioInput.h"
#include "voice/SpeechSamples.h"
#include "voice/SphinxSpeechEngine.h"
#include "voice/StreamCollector.h"
#include "voice/VoiceInputProvider.h"

#include <QTest>

#include <gtest/gtest.h>

#include <iostream>

// Spoken sentences go through the same engine path as the microphone: the file device stands in for the sound
// server and delivers the audio in real time (or faster) in buffers of 1024 frames.
namespace orvane::voice {
namespace {

using namespace std::chrono_literals;
using test::FileAudioDevice;
using test::FileAudioOptions;
using test::StreamCollector;

// The synthesiser says "campaign" in a way the acoustic model never matches, so the phrases avoid it.
const QStringList commands { QStringLiteral("open the media plan"), QStringLiteral("show the dashboard"),
    QStringLiteral("approve the budget"), QStringLiteral("start a new project") };

class SpokenDictationTest : public testing::Test {
protected:
    static void SetUpTestSuite()
    {
        s_samples = new test::SpeechSamples;
        SphinxModel grammar = SphinxModel::englishUS();
        grammar.grammar = s_samples->grammar(commands);
        s_grammar = std::make_shared<SphinxRecognizer>(grammar);
        s_open = std::make_shared<SphinxRecognizer>(SphinxModel::englishUS());
    }
    static void TearDownTestSuite()
    {
        s_grammar.reset();
        s_open.reset();
        delete s_samples;
        s_samples = nullptr;
    }

    void TearDown() override { EXPECT_TRUE(StreamCollector::waitForAllToEnd()); }

    QString sentence(const QString &text)
    {
        const QString path = s_samples->sentence(text);
        EXPECT_FALSE(path.isEmpty()) << s_samples->lastError().toStdString();
        return path;
    }

    static std::unique_ptr<SpeechVoiceProvider> provider(std::shared_ptr<SphinxRecognizer> recognizer,
        const QString &audio, std::chrono::milliseconds noSpeech, std::chrono::milliseconds silence,
        FileAudioOptions options = {})
    {
        auto engine
            = SphinxSpeechEngine::create(std::move(recognizer), std::make_shared<FileAudioDevice>(audio, options));
        return std::make_unique<SpeechVoiceProvider>(std::move(engine), noSpeech, silence);
    }

    static inline test::SpeechSamples *s_samples = nullptr;
    static inline std::shared_ptr<SphinxRecognizer> s_grammar;
    static inline std::shared_ptr<SphinxRecognizer> s_open;
};

TEST_F(SpokenDictationTest, GrammarGivesTheExactSentence)
{
    for (const QString &command : commands) {
        const auto voice = provider(s_grammar, sentence(command), 5s, 700ms, { 2.0, false });
        ASSERT_TRUE(voice->isAvailable()) << voice->unavailableReason().value_or(QString()).toStdString();
        StreamCollector session(voice->transcribe());
        ASSERT_TRUE(session.waitForEnd(20000));
        EXPECT_FALSE(session.record().error) << command.toStdString();
        ASSERT_FALSE(session.record().texts.isEmpty());
        EXPECT_EQ(session.record().texts.constFirst(), QString());
        EXPECT_EQ(session.record().transcript(), command) << session.record().texts.join(u'|').toStdString();
    }
}

TEST_F(SpokenDictationTest, OpenModelHearsSomethingAndEndsAfterSilence)
{
    const auto voice = provider(s_open, sentence(QStringLiteral("show me the media plan for next week")), 5s, 700ms);
    StreamCollector session(voice->transcribe());
    ASSERT_TRUE(session.waitForEnd(20000));
    EXPECT_FALSE(session.record().error);
    EXPECT_FALSE(session.record().transcript().trimmed().isEmpty());
    std::cout << "open model heard: " << session.record().transcript().toStdString() << '\n';
}

TEST_F(SpokenDictationTest, SilenceGivesNoSpeechDetected)
{
    const auto voice = provider(s_open, s_samples->silence(1.0), 800ms, 500ms);
    StreamCollector session(voice->transcribe());
    ASSERT_TRUE(session.waitForEnd(20000));
    EXPECT_EQ(session.record().texts, QStringList { QString() });
    EXPECT_EQ(session.record().error, VoiceInputError::noSpeechDetected());
}

TEST_F(SpokenDictationTest, StopEndsAtOnceAndANewerSessionEndsTheOlder)
{
    const auto voice = provider(s_grammar, sentence(commands[1]), 5s, 700ms);
    StreamCollector first(voice->transcribe());
    ASSERT_TRUE(first.waitForTexts(1, 20000));
    StreamCollector second(voice->transcribe());
    ASSERT_TRUE(first.waitForEnd());
    EXPECT_FALSE(first.record().error);

    ASSERT_TRUE(second.waitForTexts(2, 20000));
    voice->stop();
    ASSERT_TRUE(second.waitForEnd());
    EXPECT_FALSE(second.record().error);
}

} // namespace
} // namespace orvane::voice
