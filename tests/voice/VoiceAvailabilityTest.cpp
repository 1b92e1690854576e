#include "voice/VoiceAvailability.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

namespace orvane::voice {
namespace {

using P = VoicePermission;

// Undecided permissions block nothing; otherwise the first blocking condition wins, in order:
// recogniser, on-device support, speech, microphone. The reason shown is the error's sentence.
TEST(VoiceAvailabilityTest, FirstBlockingConditionWinsInOrder)
{
    const std::pair<VoiceAvailability, std::optional<VoiceInputError>> cases[] = {
        { VoiceAvailability::granted, std::nullopt },
        { { true, true, P::notDetermined, P::notDetermined }, std::nullopt },
        { { false, false, P::denied, P::granted }, VoiceInputError::recognizerUnavailable() },
        { { true, false, P::granted, P::denied }, VoiceInputError::onDeviceUnsupported() },
        { { true, true, P::denied, P::restricted }, VoiceInputError::speechDenied() },
        { { true, true, P::restricted, P::denied }, VoiceInputError::speechRestricted() },
        { { true, true, P::granted, P::denied }, VoiceInputError::microphoneDenied() },
        { { true, true, P::granted, P::restricted }, VoiceInputError::microphoneRestricted() },
    };
    for (const auto &[availability, expected] : cases) {
        EXPECT_EQ(availability.blockingError(), expected);
        EXPECT_EQ(availability.isAvailable(), !expected);
        EXPECT_EQ(availability.unavailableReason(),
            expected ? std::optional(expected->userMessage()) : std::optional<QString>());
    }
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
