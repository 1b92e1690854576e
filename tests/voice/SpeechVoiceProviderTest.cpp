#include "voice/ScriptedSpeechEngine.h"
#include "voice/StreamCollector.h"
#include "voice/VoiceInputProvider.h"

#include <QTest>

#include <gtest/gtest.h>

namespace orvane::voice {
namespace {

using namespace std::chrono_literals;
using test::ScriptedSpeechEngine;
using test::StreamCollector;

class SpeechVoiceProviderTest : public testing::Test {
protected:
    std::shared_ptr<ScriptedSpeechEngine> engine = std::make_shared<ScriptedSpeechEngine>();
    std::unique_ptr<SpeechVoiceProvider> voice = std::make_unique<SpeechVoiceProvider>(engine, 400ms, 250ms);

    void TearDown() override
    {
        voice.reset();
        EXPECT_TRUE(StreamCollector::waitForAllToEnd());
    }
};

TEST_F(SpeechVoiceProviderTest, EachTranscriptionTakesTheNextToken)
{
    // No timer may end the second session while the test checks that it runs.
    voice = std::make_unique<SpeechVoiceProvider>(engine, 1h, 1h);
    EXPECT_FALSE(voice->latest());
    StreamCollector first(voice->transcribe());
    EXPECT_EQ(voice->latest(), SessionToken { 1 });
    StreamCollector second(voice->transcribe());
    EXPECT_EQ(voice->latest(), SessionToken { 2 });

    // The first was overtaken before it listened; the second runs.
    ASSERT_TRUE(first.waitForEnd());
    EXPECT_FALSE(first.record().error);
    EXPECT_TRUE(first.record().texts.isEmpty());
    ASSERT_TRUE(second.waitForTexts(1));
    EXPECT_FALSE(second.record().ended);
}

TEST_F(SpeechVoiceProviderTest, StopEndsTheSessionNormallyBeforeItBegan)
{
    voice->stop(); // nothing handed out yet: nothing happens

    StreamCollector early(voice->transcribe());
    voice->stop();
    ASSERT_TRUE(early.waitForEnd());
    EXPECT_FALSE(early.record().error);
    EXPECT_EQ(engine->starts, 0);
}

TEST_F(SpeechVoiceProviderTest, AvailabilityIsReadFreshFromTheEngine)
{
    EXPECT_TRUE(voice->isAvailable());
    EXPECT_FALSE(voice->unavailableReason());
    EXPECT_FALSE(voice->willPromptForPermission());

    engine->current = { false, false, VoicePermission::notDetermined, VoicePermission::notDetermined };
    EXPECT_FALSE(voice->isAvailable());
    EXPECT_FALSE(voice->willPromptForPermission());
    EXPECT_EQ(
        voice->unavailableReason(), QStringLiteral("Speech recognition isn't available right now. Type your request."));

    engine->current = { true, true, VoicePermission::granted, VoicePermission::notDetermined };
    EXPECT_TRUE(voice->isAvailable());
    EXPECT_TRUE(voice->willPromptForPermission());
}

TEST(UnavailableVoiceProviderTest, NeverAvailableAndItsStreamEndsEmpty)
{
    UnavailableVoiceProvider provider;
    EXPECT_FALSE(provider.isAvailable());
    EXPECT_FALSE(provider.willPromptForPermission());
    EXPECT_EQ(provider.unavailableReason(),
        QStringLiteral("Voice input is not available in this version. Type your request."));
    StreamCollector session(provider.transcribe());
    ASSERT_TRUE(session.waitForEnd());
    EXPECT_TRUE(session.record().texts.isEmpty());
    EXPECT_FALSE(session.record().error);
    provider.stop();
    provider.stop();
}

} // namespace
} // namespace orvane::voice
