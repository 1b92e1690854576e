#include "kit/networking/OrvaneAPIClient.h"

#include "testsupport/service/AwaitTask.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace std::chrono_literals;

namespace {

struct Collected {
    QList<AgentChatEvent> events;
};

// Iterates the stream, keeping every event; stops after `limit` events, dropping the generator.
QCoro::Task<> collect(QCoro::AsyncGenerator<AgentChatEvent> stream, std::shared_ptr<Collected> into, int limit)
{
    auto it = co_await stream.begin();
    while (it != stream.end()) {
        into->events.append(*it);
        if (into->events.size() >= limit)
            co_return;
        co_await ++it;
    }
}

AgentChatEvent text(const char *t)
{
    return AgentChatEvent::textDelta(QString::fromUtf8(t));
}

class ChatStreamTest : public testing::Test {
protected:
    ChatStreamTest() : client(service.baseURL(), QStringLiteral("orv_key"), &network) { }

    struct Result {
        QList<AgentChatEvent> events;
        TaskOutcome<void> outcome;
    };

    Result run(const OrvaneAPIClient &c, int limit = std::numeric_limits<int>::max())
    {
        auto collected = std::make_shared<Collected>();
        TaskOutcome<void> outcome
            = awaitTask(collect(c.chat(QStringLiteral("hi"), {}, std::nullopt, std::nullopt), collected, limit));
        EXPECT_TRUE(outcome.finished);
        return { collected->events, outcome };
    }
    Result run(int limit = std::numeric_limits<int>::max()) { return run(client, limit); }

    void script(QList<StreamStep> steps, CannedResponse::Ending ending = CannedResponse::Ending::complete)
    {
        service.setResponse("POST", QStringLiteral("/api/agent/chat"),
            CannedResponse::eventStream(std::move(steps)).endingWith(ending));
    }

    QNetworkAccessManager network;
    StandInService service;
    OrvaneAPIClient client;
};

TEST_F(ChatStreamTest, PostsTheMessageAndYieldsEventsUntilDone)
{
    const QList<ChatTurn> history { { QStringLiteral("user"), QStringLiteral("earlier") } };
    auto collected = std::make_shared<Collected>();
    const auto outcome = awaitTask(collect(
        client.chat(QStringLiteral("hi"), history, QStringLiteral("t1"), QStringLiteral("p1")), collected, 100));
    EXPECT_FALSE(outcome.error);
    EXPECT_EQ(collected->events, (QList { text("Hel"), text("lo"), AgentChatEvent::done() }));
    const RecordedRequest &request = service.requests().last();
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.target, "/api/agent/chat");
    EXPECT_EQ(request.header("accept"), "text/event-stream");
    EXPECT_EQ(request.header("content-type"), "application/json");
    EXPECT_EQ(request.header("user-agent"), "orvane-apple/1.0");
    EXPECT_EQ(request.header("authorization"), "Bearer orv_key");
    EXPECT_EQ(request.body,
        R"({"message":"hi","history":[{"role":"user","content":"earlier"}],"threadId":"t1","projectId":"p1"})");

    run();
    EXPECT_EQ(service.requests().last().body, R"({"message":"hi","history":[]})");
}

TEST_F(ChatStreamTest, NeverYieldsWhatFollowsDoneAndStopsTheTransfer)
{
    script({ { 0ms,
                 sseBlock("text_delta", R"({"text":"a"})") + sseBlock("done", "{}")
                     + sseBlock("text_delta", R"({"text":"b"})") },
               { 50ms, sseBlock("text_delta", R"({"text":"c"})") } },
        CannedResponse::Ending::stall);
    const Result result = run();
    EXPECT_FALSE(result.outcome.error);
    EXPECT_EQ(result.events, (QList { text("a"), AgentChatEvent::done() }));
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

TEST_F(ChatStreamTest, FramesEventsAcrossChunkBoundariesAndCrLf)
{
    const QByteArray body = "event: text_delta\r\ndata: {\"text\":\"H\xc3\xa9\"}\r\n\r\n: keep-alive\r\n\r\n"
                            "event: tool_started\ndata: {\"name\":\"search\"}\n\n"
                            "event: error\ndata: {\"message\":\"m\"}\n\n"
                            "event: mystery\ndata: 1\n\n"
                            "data: a\xff\n\n"
                            "event: tool_result\ndata: {\"name\":\"search\",\n"
                            "data: \"summary\":\"3 hits\"}\n\n"
                            "event: text_delta\ndata: {\"text\":\"end\"}\n\n";
    QList<StreamStep> steps;
    for (qsizetype at = 0; at < body.size(); at += 7)
        steps.append({ at % 35 == 0 ? 5ms : 0ms, body.mid(at, 7) });
    script(steps);
    const Result result = run();
    EXPECT_FALSE(result.outcome.error);
    EXPECT_EQ(result.events,
        (QList { text("Hé"), AgentChatEvent::toolStarted(QStringLiteral("search")),
            AgentChatEvent::error(QStringLiteral("m")), AgentChatEvent::unknown(QStringLiteral("mystery")),
            AgentChatEvent::unknown(QStringLiteral("message")),
            AgentChatEvent::toolResult(QStringLiteral("search"), QStringLiteral("3 hits")), text("end") }));
}

TEST_F(ChatStreamTest, YieldsTheLastEventOfABodyWithoutABlankLine)
{
    script({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") }, { 10ms, "data: x" } });
    EXPECT_EQ(run().events, (QList { text("a"), AgentChatEvent::unknown(QStringLiteral("message")) }));
    script({});
    const Result empty = run();
    EXPECT_TRUE(empty.events.isEmpty());
    EXPECT_FALSE(empty.outcome.error);
}

TEST_F(ChatStreamTest, EndsWithTheStatusBeforeAnyEvent)
{
    service.setResponse("POST", QStringLiteral("/api/agent/chat"), CannedResponse::json(500, R"({"error":"boom"})"));
    Result result = run();
    EXPECT_TRUE(result.events.isEmpty());
    EXPECT_EQ(result.outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::http(500, QString()));

    service.setResponse("POST", QStringLiteral("/api/agent/chat"),
        CannedResponse::eventStream({ { 0ms, sseBlock("text_delta", R"({"text":"no"})") } }, 401));
    result = run();
    EXPECT_TRUE(result.events.isEmpty());
    EXPECT_EQ(result.outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::unauthorized());
}

// An answer that names another type than an event stream is refused, whatever the body holds; one
// that names no type is read as the stream; the error statuses still win.
TEST_F(ChatStreamTest, FailsOnAnyContentTypeButAnEventStream)
{
    const QByteArray events = sseBlock("text_delta", R"({"text":"page"})") + sseBlock("done", "{}");
    for (const QByteArray type : { "text/html", "text/html; charset=utf-8", "application/json", "text/plain",
             "text/event-streams", "text/event-stream-x" }) {
        service.clearRequests();
        service.setResponse(
            "POST", QStringLiteral("/api/agent/chat"), CannedResponse::text(200, events).withContentType(type));
        Result result = run();
        EXPECT_TRUE(result.events.isEmpty()) << type.constData();
        EXPECT_EQ(result.outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::invalidResponse()) << type.constData();
        // Refused on the head: a page that never ends is not waited for.
        service.setResponse("POST", QStringLiteral("/api/agent/chat"),
            CannedResponse::eventStream({ { 0ms, events } })
                .withContentType(type)
                .endingWith(CannedResponse::Ending::stall));
        result = run();
        EXPECT_TRUE(result.events.isEmpty()) << type.constData();
        EXPECT_EQ(result.outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::invalidResponse()) << type.constData();
        EXPECT_TRUE(service.waitForNoOpenConnections());
    }

    for (const QByteArray type :
        { "text/event-stream; charset=utf-8", "Text/Event-Stream", " text/event-stream ;charset=UTF-8" }) {
        service.setResponse("POST", QStringLiteral("/api/agent/chat"),
            CannedResponse::eventStream({ { 0ms, events } }).withContentType(type));
        const Result result = run();
        EXPECT_FALSE(result.outcome.error) << type.constData();
        EXPECT_EQ(result.events, (QList { text("page"), AgentChatEvent::done() })) << type.constData();
    }

    // No Content-Type at all: the body is read as events, arriving in pieces or whole.
    service.setResponse("POST", QStringLiteral("/api/agent/chat"),
        CannedResponse::eventStream({ { 0ms, events.left(20) }, { 20ms, events.mid(20) } }).withContentType({}));
    Result untyped = run();
    EXPECT_FALSE(untyped.outcome.error);
    EXPECT_EQ(untyped.events, (QList { text("page"), AgentChatEvent::done() }));
    service.setResponse(
        "POST", QStringLiteral("/api/agent/chat"), CannedResponse::text(200, events).withContentType({}));
    untyped = run();
    EXPECT_FALSE(untyped.outcome.error);
    EXPECT_EQ(untyped.events, (QList { text("page"), AgentChatEvent::done() }));

    service.setResponse("POST", QStringLiteral("/api/agent/chat"), CannedResponse::text(500, events, "text/html"));
    EXPECT_EQ(run().outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::http(500, QString()));
    service.setResponse("POST", QStringLiteral("/api/agent/chat"), CannedResponse::text(403, events, "text/html"));
    EXPECT_EQ(run().outcome.errorAs<OrvaneAPIError>(), OrvaneAPIError::unauthorized());
}

// A dropped connection fails as a transport error and a stall as a timeout, after the events before it.
TEST_F(ChatStreamTest, DeliversEventsBeforeADroppedOrStalledConnectionThenItsError)
{
    OrvaneAPIClient impatient = client;
    impatient.setTransferTimeout(300ms);
    for (const auto &[ending, kind] : { std::pair { CannedResponse::Ending::drop, NetworkError::Kind::transport },
             std::pair { CannedResponse::Ending::stall, NetworkError::Kind::timedOut } }) {
        script({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") },
                   { 0ms, sseBlock("text_delta", R"({"text":"b"})") + "data: half" } },
            ending);
        const Result result = run(impatient);
        EXPECT_EQ(result.events, (QList { text("a"), text("b") }));
        ASSERT_TRUE(result.outcome.errorAs<NetworkError>());
        EXPECT_EQ(result.outcome.errorAs<NetworkError>()->kind(), kind);
    }
}

// Past the line or event bound the stream fails and stops reading at once: what a server keeps
// sending is not buffered while the failure travels.
TEST_F(ChatStreamTest, FailsOnAnOversizedEventOrLineAfterTheEventsBeforeIt)
{
    const QByteArray line = "data: " + QByteArray(256 * 1024, 'x') + "\n";
    const QByteArray first = sseBlock("text_delta", R"({"text":"a"})");
    const QList<CannedResponse> streams {
        CannedResponse::eventStream(
            { { 0ms, first }, { 0ms, line }, { 0ms, line }, { 0ms, line }, { 0ms, line }, { 0ms, line } })
            .endingWith(CannedResponse::Ending::stall),
        CannedResponse::eventStream({ { 0ms, first + "data: " } }).repeating(QByteArray(4 * 1024 * 1024, 'x')),
    };
    for (const CannedResponse &stream : streams) {
        service.setResponse("POST", QStringLiteral("/api/agent/chat"), stream);
        http::resetPeakHeldBytes();
        const Result result = run();
        EXPECT_EQ(result.events, QList { text("a") });
        EXPECT_TRUE(result.outcome.errorAs<EventStreamError>());
        EXPECT_LE(http::peakHeldBytes(), SSEParser::kMaxLineBytes + 2 * replyReadBufferBytes);
        EXPECT_TRUE(service.waitForNoOpenConnections());
    }
}

// The shorter request deadline does not cut a stream short; keep-alives trickling in beat the pause
// timeout but not the stream's own deadline. Neither half depends on how soon the stand-in answers.
TEST_F(ChatStreamTest, EndsATricklingStreamAtItsOwnDeadline)
{
    OrvaneAPIClient bounded = client;
    bounded.setLimits(TransferLimits { .idleTimeout = 5s, .deadline = 50ms });
    script({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") }, { 100ms, sseBlock("done", "{}") } });
    EXPECT_EQ(run(bounded).events, (QList { text("a"), AgentChatEvent::done() }));

    bounded.setStreamDeadline(300ms);
    service.setResponse("POST", QStringLiteral("/api/agent/chat"),
        CannedResponse::eventStream({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") } }).repeating(": k\n", 20ms));
    const Result result = run(bounded);
    EXPECT_EQ(result.events, QList { text("a") });
    ASSERT_TRUE(result.outcome.errorAs<NetworkError>());
    EXPECT_EQ(result.outcome.errorAs<NetworkError>()->kind(), NetworkError::Kind::timedOut);
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

// A same-origin redirect in front of the chat is followed with the key and the body, and the final
// answer's status decides; another origin is refused before anything reaches it.
TEST_F(ChatStreamTest, FollowsSameOriginRedirectsAndChecksTheFinalHead)
{
    const auto redirectTo = [&](const StandInService &to, int status) {
        service.setResponse("POST", QStringLiteral("/api/agent/chat"),
            CannedResponse::redirect(to.baseURL().resolved(QUrl(QStringLiteral("/v2/chat"))), status));
    };
    service.setResponse(
        "POST", QStringLiteral("/v2/chat"), CannedResponse::eventStream({ { 0ms, sseBlock("done", "{}") } }));
    for (const int status : { 307, 308 }) {
        service.clearRequests();
        redirectTo(service, status);
        const Result result = run();
        EXPECT_EQ(result.events, QList { AgentChatEvent::done() }) << status;
        ASSERT_EQ(service.requestCount(), 2);
        EXPECT_EQ(service.requests().last().header("authorization"), "Bearer orv_key");
        EXPECT_EQ(service.requests().last().body, service.requests().first().body);
    }
    StandInService other;
    redirectTo(other, 307);
    const Result refused = run();
    ASSERT_TRUE(refused.outcome.errorAs<NetworkError>());
    EXPECT_EQ(refused.outcome.errorAs<NetworkError>()->kind(), NetworkError::Kind::redirectRefused);
    EXPECT_EQ(other.requestCount(), 0);
}

TEST_F(ChatStreamTest, DroppingTheStreamStopsTheTransfer)
{
    script({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") }, { 30ms, sseBlock("text_delta", R"({"text":"b"})") } },
        CannedResponse::Ending::stall);
    const Result result = run(1);
    EXPECT_FALSE(result.outcome.error);
    EXPECT_EQ(result.events, QList { text("a") });
    EXPECT_TRUE(service.waitForNoOpenConnections());

    // Dropped before it was ever iterated: the request went out at the call all the same.
    {
        auto stream = client.chat(QStringLiteral("hi"), {}, std::nullopt, std::nullopt);
        ASSERT_TRUE(service.waitForRequests(2));
    }
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

TEST_F(ChatStreamTest, EndsWhenTheOwnerOrTheNetworkGoesAway)
{
    script({ { 0ms, sseBlock("text_delta", R"({"text":"a"})") } }, CannedResponse::Ending::stall);
    auto owner = std::make_unique<QObject>();
    OrvaneAPIClient owned = client;
    owned.setLifetime(owner.get());
    auto collected = std::make_shared<Collected>();
    auto outcome = startTask(collect(owned.chat(QStringLiteral("hi"), {}, std::nullopt, std::nullopt), collected, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return collected->events.size() == 1; }));
    owner.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return outcome->finished; }));
    EXPECT_EQ(outcome->errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled);

    auto manager = std::make_unique<QNetworkAccessManager>();
    const OrvaneAPIClient transient(service.baseURL(), std::nullopt, manager.get());
    auto second = std::make_shared<Collected>();
    auto secondOutcome
        = startTask(collect(transient.chat(QStringLiteral("hi"), {}, std::nullopt, std::nullopt), second, 100));
    ASSERT_TRUE(QTest::qWaitFor([&] { return second->events.size() == 1; }));
    manager.reset();
    ASSERT_TRUE(QTest::qWaitFor([&] { return secondOutcome->finished; }));
    EXPECT_EQ(secondOutcome->errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled);

    // A client without a manager fails on the first iteration, never at the call.
    const OrvaneAPIClient none(service.baseURL(), std::nullopt, nullptr);
    const Result result = run(none);
    EXPECT_EQ(result.outcome.errorAs<NetworkError>()->kind(), NetworkError::Kind::cancelled);
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

} // namespace
