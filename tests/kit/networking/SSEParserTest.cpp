#include "kit/networking/SSEParser.h"
#include "kit/networking/AgentChatEvent.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

SSEFrame frame(const char *event, const char *data)
{
    return { QString::fromUtf8(event), QString::fromUtf8(data) };
}

// Feeds the whole text at once and finishes.
QList<SSEFrame> parseAll(QByteArrayView text)
{
    SSEParser parser;
    QList<SSEFrame> frames = parser.feed(text);
    if (auto last = parser.finish())
        frames.append(*last);
    return frames;
}

// Feeds the text in pieces of `size` bytes.
QList<SSEFrame> parseInPieces(QByteArrayView text, qsizetype size)
{
    SSEParser parser;
    QList<SSEFrame> frames;
    for (qsizetype at = 0; at < text.size(); at += size)
        frames += parser.feed(text.sliced(at, std::min(size, text.size() - at)));
    if (auto last = parser.finish())
        frames.append(*last);
    return frames;
}

TEST(SSEParser, CutsBlocksAtBlankLinesWithLfOrCrLf)
{
    EXPECT_EQ(parseAll("data: a\n\n"), QList { frame("message", "a") });
    EXPECT_EQ(parseAll("data: a\r\n\r\n"), QList { frame("message", "a") });
    EXPECT_EQ(parseAll("event: text_delta\r\ndata: x\r\n\r\nevent: done\ndata: {}\n\n"),
        (QList { frame("text_delta", "x"), frame("done", "{}") }));
}

TEST(SSEParser, KeepsALoneCrAsText)
{
    SSEParser parser;
    EXPECT_TRUE(parser.feed("data: a\r\r").isEmpty());
    EXPECT_EQ(parser.finish(), frame("message", "a\r\r"));
    EXPECT_EQ(parseAll("data: a\rb\n\n"), QList { frame("message", "a\rb") });
}

TEST(SSEParser, ReadsFieldValues)
{
    EXPECT_EQ(parseAll("data:a\n\n"), QList { frame("message", "a") });
    EXPECT_EQ(parseAll("data:  a\n\n"), QList { frame("message", " a") });
    EXPECT_EQ(parseAll("data: a:b\n\n"), QList { frame("message", "a:b") });
    EXPECT_EQ(parseAll("data: a\ndata: b\n\n"), QList { frame("message", "a\nb") });
    EXPECT_EQ(parseAll("data: \n\n"), QList { frame("message", "") });
    EXPECT_EQ(parseAll("data: \ndata: \n\n"), QList { frame("message", "\n") });
    EXPECT_EQ(parseAll("data: a\t \n\n"), QList { frame("message", "a\t ") });
    EXPECT_EQ(parseAll("event: a\nevent: done\ndata: {}\n\n"), QList { frame("done", "{}") });
    EXPECT_EQ(parseAll("event:\ndata: x\n\n"), QList { frame("", "x") });
    EXPECT_EQ(parseAll("id: 7\nretry: 100\ndata: x\n\n"), QList { frame("message", "x") });
    EXPECT_EQ(parseAll("Data: x\nEVENT: done\ndata: y\n\n"), QList { frame("message", "y") });
}

TEST(SSEParser, DropsBlocksWithoutData)
{
    EXPECT_TRUE(parseAll("event: done\n\n").isEmpty());
    EXPECT_TRUE(parseAll(": keep-alive\n\n").isEmpty());
    EXPECT_TRUE(parseAll("data\n\n").isEmpty());
    EXPECT_TRUE(parseAll("\n\n\n\n").isEmpty());
    EXPECT_EQ(parseAll(": comment\ndata: a\n: another\n\n"), QList { frame("message", "a") });
    EXPECT_EQ(parseAll("data: a\n\n\ndata: b\n\n"), (QList { frame("message", "a"), frame("message", "b") }));
}

TEST(SSEParser, CompletesTheLastBlockAtTheEnd)
{
    SSEParser tail;
    EXPECT_TRUE(tail.feed("data: last").isEmpty());
    EXPECT_EQ(tail.finish(), frame("message", "last"));
    EXPECT_FALSE(tail.finish());

    SSEParser oneLf;
    EXPECT_TRUE(oneLf.feed("data: x\n").isEmpty());
    EXPECT_EQ(oneLf.finish(), frame("message", "x"));
}

TEST(SSEParser, GivesTheSameFramesWhateverTheChunkBoundaries)
{
    const QByteArray text = "event: text_delta\r\ndata: {\"text\":\"h\xc3\xa9\"}\r\n\r\n: ping\n\nid: 1\ndata: a\n"
                            "data: b\r\n\r\nevent: done\ndata: {}\n\ndata: tail";
    const QList<SSEFrame> expected = parseAll(text);
    ASSERT_EQ(expected.size(), 4);
    EXPECT_EQ(expected[0], frame("text_delta", "{\"text\":\"hé\"}"));
    EXPECT_EQ(expected[3], frame("message", "tail"));
    for (qsizetype size = 1; size <= 8; ++size)
        EXPECT_EQ(parseInPieces(text, size), expected) << "pieces of " << size;
}

TEST(SSEParser, ReplacesInvalidUtf8)
{
    EXPECT_EQ(parseAll("data: a\xff"
                       "b\n\n"),
        QList { frame("message", "a\uFFFDb") });
}

TEST(SSEParser, FailsInsteadOfGrowingBeyondItsBounds)
{
    const QByteArray big(SSEParser::kMaxLineBytes, 'x');
    {
        SSEParser parser;
        EXPECT_NO_THROW(parser.feed("data: "));
        EXPECT_NO_THROW(parser.feed(QByteArray(SSEParser::kMaxLineBytes - 7, 'x')));
        EXPECT_THROW(parser.feed(big), EventStreamError);
    }
    {
        SSEParser parser;
        EXPECT_THROW(parser.feed(QByteArray("data: " + big + "\n")), EventStreamError);
    }
    {
        // Many small data lines of one event add up.
        SSEParser parser;
        const QByteArray line = "data: " + QByteArray(1000, 'y') + "\n";
        EXPECT_THROW(
            {
                for (int i = 0; i < 2000; ++i)
                    parser.feed(line);
            },
            EventStreamError);
    }
    {
        // Comments and closed events do not accumulate.
        SSEParser parser;
        const QByteArray block = ": " + QByteArray(1000, 'c') + "\ndata: " + QByteArray(1000, 'd') + "\n\n";
        qsizetype frames = 0;
        for (int i = 0; i < 3000; ++i)
            frames += parser.feed(block).size();
        EXPECT_EQ(frames, 3000);
    }
    EXPECT_FALSE(EventStreamError().message().isEmpty());
}

AgentChatEvent event(const char *name, const char *data)
{
    return AgentChatEvent::fromFrame(frame(name, data));
}

TEST(AgentChatEvent, MapsTextDeltasByTheFirstPresentKey)
{
    EXPECT_EQ(event("text_delta", R"({"text":"hi","delta":"x"})"), AgentChatEvent::textDelta(QStringLiteral("hi")));
    EXPECT_EQ(event("text_delta", R"({"delta":"x"})"), AgentChatEvent::textDelta(QStringLiteral("x")));
    EXPECT_EQ(event("text_delta", R"({"content":"y"})"), AgentChatEvent::textDelta(QStringLiteral("y")));
    EXPECT_EQ(event("text_delta", R"({"text":null,"delta":"x"})"), AgentChatEvent::textDelta(QString()));
    EXPECT_EQ(event("text_delta", R"({"text":5})"), AgentChatEvent::textDelta(QString()));
    EXPECT_EQ(event("text_delta", "not json"), AgentChatEvent::textDelta(QString()));
    EXPECT_EQ(event("text_delta", R"("just a string")"), AgentChatEvent::textDelta(QString()));
}

TEST(AgentChatEvent, MapsToolEventsAndTheirNames)
{
    EXPECT_EQ(event("tool_started", R"({"tool":"search"})"), AgentChatEvent::toolStarted(QStringLiteral("search")));
    EXPECT_EQ(event("tool_started", R"({"name":42,"tool":"search"})"), AgentChatEvent::toolStarted(QString()));
    EXPECT_EQ(event("tool_ended", R"({"toolName":"t"})"), AgentChatEvent::toolEnded(QStringLiteral("t")));
    EXPECT_EQ(event("tool_ended", "{}"), AgentChatEvent::toolEnded(QString()));
    EXPECT_EQ(event("tool_result", R"({"name":"n","summary":"s"})"),
        AgentChatEvent::toolResult(QStringLiteral("n"), QStringLiteral("s")));
    EXPECT_EQ(event("tool_result", R"({"name":"n","summary":3})"),
        AgentChatEvent::toolResult(QStringLiteral("n"), std::nullopt));
    EXPECT_EQ(event("tool_result", R"({"name":"n"})"), AgentChatEvent::toolResult(QStringLiteral("n"), std::nullopt));
}

TEST(AgentChatEvent, MapsErrorsDoneAndUnknownNames)
{
    EXPECT_EQ(event("error", R"({"error":"boom"})"), AgentChatEvent::error(QStringLiteral("boom")));
    EXPECT_EQ(event("error", R"({"message":"m","error":"e"})"), AgentChatEvent::error(QStringLiteral("m")));
    EXPECT_EQ(event("error", "[1,2]"), AgentChatEvent::error(QStringLiteral("Something went wrong.")));
    EXPECT_EQ(event("error", ""), AgentChatEvent::error(QStringLiteral("Something went wrong.")));
    EXPECT_EQ(event("done", "garbage"), AgentChatEvent::done());
    EXPECT_EQ(event("compacted_history", "{}"), AgentChatEvent::compactedHistory());
    EXPECT_EQ(event("DONE", "{}"), AgentChatEvent::unknown(QStringLiteral("DONE")));
    EXPECT_EQ(event("Done", "{}"), AgentChatEvent::unknown(QStringLiteral("Done")));
    EXPECT_EQ(event("message", "x"), AgentChatEvent::unknown(QStringLiteral("message")));
    EXPECT_EQ(event("", "x"), AgentChatEvent::unknown(QString()));
    EXPECT_NE(AgentChatEvent::toolStarted(QStringLiteral("a")), AgentChatEvent::toolEnded(QStringLiteral("a")));
}

} // namespace
