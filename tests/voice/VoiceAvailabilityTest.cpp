#include "voice/VoiceAvailability.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

namespace orvane::voice {
namespace {

using P = VoicePermission;

VoiceAvailability availability(bool recognizer, bool onDevice, P speech, P microphone)
{
    return { recognizer, onDevice, speech, microphone };
}

TEST(VoiceAvailabilityTest, GrantedOrUndecidedPermissionsBlockNothing)
{
    EXPECT_FALSE(VoiceAvailability::granted.blockingError());
    EXPECT_TRUE(VoiceAvailability::granted.isAvailable());
    EXPECT_FALSE(VoiceAvailability::granted.unavailableReason());
    EXPECT_TRUE(availability(true, true, P::notDetermined, P::notDetermined).isAvailable());
}

TEST(VoiceAvailabilityTest, FirstBlockingConditionWinsInOrder)
{
    EXPECT_EQ(
        availability(false, false, P::denied, P::granted).blockingError(), VoiceInputError::recognizerUnavailable());
    EXPECT_EQ(availability(true, false, P::granted, P::denied).blockingError(), VoiceInputError::onDeviceUnsupported());
    EXPECT_EQ(availability(true, true, P::denied, P::restricted).blockingError(), VoiceInputError::speechDenied());
    EXPECT_EQ(availability(true, true, P::restricted, P::denied).blockingError(), VoiceInputError::speechRestricted());
    EXPECT_EQ(availability(true, true, P::granted, P::denied).blockingError(), VoiceInputError::microphoneDenied());
}

TEST(VoiceAvailabilityTest, RestrictedMicrophoneGivesItsSentence)
{
    const auto blocked = availability(true, true, P::granted, P::restricted);
    EXPECT_EQ(blocked.blockingError(), VoiceInputError::microphoneRestricted());
    EXPECT_EQ(blocked.unavailableReason(), VoiceInputError::microphoneRestricted().userMessage());
}

TEST(VoiceInputErrorTest, MapKeepsOurErrorsAndRecognisesOnlyTheExactNoSpeechError)
{
    const auto failed = VoiceInputError::audioEngineFailed(QStringLiteral("device busy"));
    EXPECT_EQ(VoiceInputError::map(failed), failed);
    EXPECT_EQ(VoiceInputError::map(failed).detail(), QStringLiteral("device busy"));
    EXPECT_EQ(VoiceInputError::map(EngineError(failed)), failed);

    EXPECT_EQ(
        VoiceInputError::map(SpeechError { QStringLiteral("kAFAssistantErrorDomain"), 1110, QStringLiteral("x") }),
        VoiceInputError::noSpeechDetected());
    EXPECT_EQ(
        VoiceInputError::map(SpeechError { QStringLiteral("kAFAssistantErrorDomain"), 1101, QStringLiteral("a") }),
        VoiceInputError::recognitionFailed(QStringLiteral("a")));
    EXPECT_EQ(
        VoiceInputError::map(EngineError(SpeechError { QStringLiteral("pocketsphinx"), 1110, QStringLiteral("b") })),
        VoiceInputError::recognitionFailed(QStringLiteral("b")));
}

// Every case's sentence, against the golden file; the detail distinguishes values but never shows.
TEST(VoiceInputErrorTest, EveryCaseHasItsSentence)
{
    const auto first = VoiceInputError::recognitionFailed(QStringLiteral("one"));
    const auto second = VoiceInputError::recognitionFailed(QStringLiteral("two"));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.userMessage(), second.userMessage());
    nlohmann::ordered_json sentences;
    for (const auto &[name, error] : std::initializer_list<std::pair<const char *, VoiceInputError>> {
             { "audioEngineFailed", VoiceInputError::audioEngineFailed({}) },
             { "microphoneDenied", VoiceInputError::microphoneDenied() },
             { "microphoneRestricted", VoiceInputError::microphoneRestricted() },
             { "speechDenied", VoiceInputError::speechDenied() },
             { "speechRestricted", VoiceInputError::speechRestricted() },
             { "recognizerUnavailable", VoiceInputError::recognizerUnavailable() },
             { "onDeviceUnsupported", VoiceInputError::onDeviceUnsupported() },
             { "noSpeechDetected", VoiceInputError::noSpeechDetected() }, { "recognitionFailed", first } })
        sentences[name] = error.userMessage().toStdString();
    EXPECT_TRUE(test::matchesGolden("voice/golden/voice-error-sentences.json", sentences));
}

} // namespace
} // namespace orvane::voice
