#include "voice/SpeechTranscriber.h"
#include "voice/ScriptedSpeechEngine.h"
#include "voice/StreamCollector.h"

#include <QTest>

#include <gtest/gtest.h>

namespace orvane::voice {
namespace {

using namespace std::chrono_literals;
using test::ScriptedSpeechEngine;
using test::StreamCollector;

const QStringList listening { QString() };

class SpeechTranscriberTest : public testing::Test {
protected:
    std::shared_ptr<ScriptedSpeechEngine> engine = std::make_shared<ScriptedSpeechEngine>();
    // The no-speech timer cannot fire unless a case asks for it: a case that delivers speech would
    // otherwise race it on a slow machine. The silence timer ends a session once speech was heard.
    std::unique_ptr<SpeechTranscriber> transcriber = std::make_unique<SpeechTranscriber>(engine, 1h, 250ms);

    // Timers that cannot fire while a test checks that a session is still running.
    void withoutTimeouts() { transcriber = std::make_unique<SpeechTranscriber>(engine, 1h, 1h); }

    void TearDown() override
    {
        transcriber.reset();
        EXPECT_TRUE(StreamCollector::waitForAllToEnd());
    }

    // Starts a session and waits until it listens.
    std::unique_ptr<StreamCollector> listen(SessionToken token)
    {
        auto collector = std::make_unique<StreamCollector>(transcriber->transcribe(token));
        EXPECT_TRUE(collector->waitForTexts(1));
        return collector;
    }
};

TEST_F(SpeechTranscriberTest, YieldsTheGrowingTranscriptAndEndsAfterSilence)
{
    auto session = listen(transcriber->issueToken());
    engine->partial(QStringLiteral("hello"));
    engine->partial(QStringLiteral("hello there"));
    ASSERT_TRUE(session->waitForEnd());
    EXPECT_EQ(
        session->record().texts, (QStringList { QString(), QStringLiteral("hello"), QStringLiteral("hello there") }));
    EXPECT_FALSE(session->record().error);
    EXPECT_FALSE(engine->running);
}

TEST_F(SpeechTranscriberTest, BlankPartialsAreNotSpeech)
{
    transcriber = std::make_unique<SpeechTranscriber>(engine, 400ms, 250ms);
    auto session = listen(transcriber->issueToken());
    engine->partial(QStringLiteral("  "));
    engine->partial(QStringLiteral("\n"));
    ASSERT_TRUE(session->waitForEnd());
    EXPECT_EQ(session->record().texts, listening);
    EXPECT_EQ(session->record().error, VoiceInputError::noSpeechDetected());
    EXPECT_FALSE(engine->running);
}

TEST_F(SpeechTranscriberTest, FinalResultEndsTheSession)
{
    auto heard = listen(transcriber->issueToken());
    engine->partial(QStringLiteral("launch"));
    engine->partial(QStringLiteral("  "), true);
    ASSERT_TRUE(heard->waitForEnd());
    EXPECT_FALSE(heard->record().error);
    EXPECT_EQ(heard->record().transcript(), QStringLiteral("launch"));

    auto spoken = listen(transcriber->issueToken());
    engine->partial(QStringLiteral("launch now"), true);
    ASSERT_TRUE(spoken->waitForEnd());
    EXPECT_EQ(spoken->record().texts, (QStringList { QString(), QStringLiteral("launch now") }));
    EXPECT_FALSE(spoken->record().error);

    auto silent = listen(transcriber->issueToken());
    engine->partial(QString(), true);
    ASSERT_TRUE(silent->waitForEnd());
    EXPECT_EQ(silent->record().error, VoiceInputError::noSpeechDetected());
}

TEST_F(SpeechTranscriberTest, RecognitionErrorsEndTheStreamMapped)
{
    auto noSpeech = listen(transcriber->issueToken());
    engine->error(SpeechError { VoiceInputError::noSpeechErrorDomain, VoiceInputError::noSpeechErrorCode, {} });
    ASSERT_TRUE(noSpeech->waitForEnd());
    EXPECT_EQ(noSpeech->record().error, VoiceInputError::noSpeechDetected());

    auto failed = listen(transcriber->issueToken());
    engine->partialAndError(
        QStringLiteral("show the"), SpeechError { QStringLiteral("pocketsphinx"), 3, QStringLiteral("broken") });
    ASSERT_TRUE(failed->waitForEnd());
    EXPECT_EQ(failed->record().texts, (QStringList { QString(), QStringLiteral("show the") }));
    EXPECT_EQ(failed->record().error, VoiceInputError::recognitionFailed(QStringLiteral("broken")));
    EXPECT_FALSE(engine->running);
}

// A session that cannot listen ends with the reason before it yields anything: a permission refused
// at the prompt never starts the engine, an engine that fails to start is stopped again.
TEST_F(SpeechTranscriberTest, ASessionThatCannotListenEndsWithTheReason)
{
    engine->current.speech = VoicePermission::notDetermined;
    engine->afterPrompt = engine->current;
    engine->afterPrompt->speech = VoicePermission::denied;
    StreamCollector refused(transcriber->transcribe(transcriber->issueToken()));
    ASSERT_TRUE(refused.waitForEnd());
    EXPECT_TRUE(refused.record().texts.isEmpty());
    EXPECT_EQ(refused.record().error, VoiceInputError::speechDenied());
    EXPECT_EQ(engine->starts, 0);
    EXPECT_EQ(engine->stops, 0);

    engine->afterPrompt = VoiceAvailability::granted;
    engine->startError = VoiceInputError::audioEngineFailed(QStringLiteral("No audio input available."));
    StreamCollector failed(transcriber->transcribe(transcriber->issueToken()));
    ASSERT_TRUE(failed.waitForEnd());
    EXPECT_TRUE(failed.record().texts.isEmpty());
    EXPECT_EQ(failed.record().error, engine->startError);
    EXPECT_EQ(engine->stops, 1);
}

// An older token neither begins after a newer one nor stops it; destroying the transcriber ends the
// running session normally and stops the engine.
TEST_F(SpeechTranscriberTest, AnOlderTokenNeitherBeginsNorStopsANewerSession)
{
    withoutTimeouts();
    const SessionToken first = transcriber->issueToken();
    const SessionToken second = transcriber->issueToken();
    StreamCollector newer(transcriber->transcribe(second));
    StreamCollector older(transcriber->transcribe(first));
    ASSERT_TRUE(older.waitForEnd());
    EXPECT_TRUE(older.record().texts.isEmpty());
    EXPECT_FALSE(older.record().error);
    ASSERT_TRUE(newer.waitForTexts(1));

    transcriber->stop(first);
    engine->partial(QStringLiteral("budget"));
    ASSERT_TRUE(newer.waitForTexts(2));
    EXPECT_FALSE(newer.record().ended);
    EXPECT_TRUE(engine->running);

    transcriber.reset();
    ASSERT_TRUE(newer.waitForEnd());
    EXPECT_FALSE(newer.record().error);
    EXPECT_FALSE(engine->running);
}

TEST_F(SpeechTranscriberTest, StopBeforeBeginAbandonsTheToken)
{
    auto running = listen(transcriber->issueToken());
    transcriber->issueToken();
    const SessionToken third = transcriber->issueToken();
    transcriber->stop(third);
    ASSERT_TRUE(running->waitForEnd());
    EXPECT_FALSE(running->record().error);

    StreamCollector abandoned(transcriber->transcribe(third));
    ASSERT_TRUE(abandoned.waitForEnd());
    EXPECT_TRUE(abandoned.record().texts.isEmpty());
    EXPECT_FALSE(abandoned.record().error);
    EXPECT_EQ(engine->permissionRequests, 1);
}

TEST_F(SpeechTranscriberTest, StopWhileAwaitingPermissionsNeverStartsTheEngine)
{
    engine->holdPermissions = true;
    const SessionToken token = transcriber->issueToken();
    StreamCollector session(transcriber->transcribe(token));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->permissionRequests == 1; }));
    transcriber->stop(token);
    ASSERT_TRUE(session.waitForEnd());
    emit engine->gate.opened();
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->permissionsSettled == 1; }));
    EXPECT_EQ(engine->starts, 0);
    EXPECT_TRUE(session.record().texts.isEmpty());
    EXPECT_FALSE(session.record().error);
}

TEST_F(SpeechTranscriberTest, LettingGoOfTheStreamStopsItsSession)
{
    static_cast<void>(transcriber->transcribe(transcriber->issueToken()));
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine->permissionsSettled == 1; }));
    EXPECT_EQ(engine->starts, 0);

    {
        // A session runs whether or not its stream is iterated; letting go of the stream ends it.
        auto stream = transcriber->transcribe(transcriber->issueToken());
        ASSERT_TRUE(QTest::qWaitFor([&] { return engine->running; }));
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return !engine->running; }));
    EXPECT_EQ(engine->starts, 1);
}

TEST_F(SpeechTranscriberTest, EventsOfAnEndedSessionAreDropped)
{
    auto first = listen(transcriber->issueToken());
    transcriber->stop();
    ASSERT_TRUE(first->waitForEnd());
    auto second = listen(transcriber->issueToken());
    engine->partialFromPrevious(QStringLiteral("stale"));
    engine->partial(QStringLiteral("plan"));
    ASSERT_TRUE(second->waitForTexts(2));
    EXPECT_EQ(second->record().texts, (QStringList { QString(), QStringLiteral("plan") }));
    EXPECT_EQ(first->record().texts, listening);
}

} // namespace
} // namespace orvane::voice
