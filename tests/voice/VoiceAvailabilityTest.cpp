#include "voice/VoiceAvailability.h"

#include <gtest/gtest.h>

namespace orvane::voice {
namespace {

using P = VoicePermission;

VoiceAvailability availability(bool recognizer, bool onDevice, P speech, P microphone)
{
    return { recognizer, onDevice, speech, microphone };
}

TEST(VoiceAvailabilityTest, GrantedBlocksNothing)
{
    EXPECT_FALSE(VoiceAvailability::granted.blockingError());
    EXPECT_TRUE(VoiceAvailability::granted.isAvailable());
    EXPECT_FALSE(VoiceAvailability::granted.unavailableReason());
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

TEST(VoiceAvailabilityTest, UndecidedPermissionsDoNotBlock)
{
    EXPECT_TRUE(availability(true, true, P::notDetermined, P::notDetermined).isAvailable());
}

TEST(VoiceAvailabilityTest, RestrictedMicrophoneGivesItsSentence)
{
    const auto blocked = availability(true, true, P::granted, P::restricted);
    EXPECT_EQ(blocked.blockingError(), VoiceInputError::microphoneRestricted());
    EXPECT_EQ(blocked.unavailableReason(),
        QStringLiteral("Microphone access is restricted on this device, so voice input is off. Type your request."));
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

TEST(VoiceInputErrorTest, TextsDistinguishValuesButNotTheirMessage)
{
    const auto first = VoiceInputError::recognitionFailed(QStringLiteral("one"));
    const auto second = VoiceInputError::recognitionFailed(QStringLiteral("two"));
    EXPECT_NE(first, second);
    EXPECT_EQ(first.userMessage(), second.userMessage());
    EXPECT_EQ(first.userMessage(),
        QStringLiteral("Speech recognition stopped. Tap the mic to try again, or type your request."));
}

TEST(VoiceInputErrorTest, EveryCaseHasItsSentence)
{
    EXPECT_EQ(VoiceInputError::audioEngineFailed({}).userMessage(),
        QStringLiteral("The microphone couldn't start. Try again, or type your request."));
    EXPECT_EQ(VoiceInputError::microphoneDenied().userMessage(),
        QStringLiteral("Microphone access is off. Check that a microphone is connected and not muted, or type "
                       "your request."));
    EXPECT_EQ(VoiceInputError::speechDenied().userMessage(),
        QStringLiteral("Speech recognition is off. Check that the speech model (pocketsphinx-en-us) is "
                       "installed, or type your request."));
    EXPECT_EQ(VoiceInputError::speechRestricted().userMessage(),
        QStringLiteral("Speech recognition is restricted on this device. Type your request."));
    EXPECT_EQ(VoiceInputError::recognizerUnavailable().userMessage(),
        QStringLiteral("Speech recognition isn't available right now. Type your request."));
    EXPECT_EQ(VoiceInputError::onDeviceUnsupported().userMessage(),
        QStringLiteral("On-device speech recognition isn't available for your language on this device. Type "
                       "your request."));
    EXPECT_EQ(VoiceInputError::noSpeechDetected().userMessage(),
        QStringLiteral("Didn't catch that. Tap the mic and try again, or type your request."));
}

} // namespace
} // namespace orvane::voice
