#include "kit/networking/AgentChatEvent.h"

#include "kit/support/JsonCoding.h"

#include <initializer_list>
#include <string_view>

namespace orvane {

AgentChatEvent AgentChatEvent::textDelta(QString text)
{
    return { Kind::textDelta, std::move(text) };
}

AgentChatEvent AgentChatEvent::toolStarted(QString name)
{
    return { Kind::toolStarted, std::move(name) };
}

AgentChatEvent AgentChatEvent::toolEnded(QString name)
{
    return { Kind::toolEnded, std::move(name) };
}

AgentChatEvent AgentChatEvent::toolResult(QString name, std::optional<QString> summary)
{
    return { Kind::toolResult, std::move(name), std::move(summary) };
}

AgentChatEvent AgentChatEvent::error(QString message)
{
    return { Kind::error, std::move(message) };
}

AgentChatEvent AgentChatEvent::unknown(QString event)
{
    return { Kind::unknown, std::move(event) };
}

AgentChatEvent AgentChatEvent::compactedHistory()
{
    return { Kind::compactedHistory, {} };
}

AgentChatEvent AgentChatEvent::done()
{
    return { Kind::done, {} };
}

namespace {

// The value of the first of `keys` present in the object: its text when it is a string, else
// nothing. A present key decides even when its value is not a string.
std::optional<QString> firstPresentString(const Json &object, std::initializer_list<std::string_view> keys)
{
    for (const std::string_view key : keys) {
        const auto it = object.find(key);
        if (it == object.end())
            continue;
        if (!it->is_string())
            return std::nullopt;
        const auto &text = it->get_ref<const std::string &>();
        return QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    return std::nullopt;
}

} // namespace

AgentChatEvent AgentChatEvent::fromFrame(const SSEFrame &frame)
{
    const QString &event = frame.event;
    if (event == u"compacted_history")
        return compactedHistory();
    if (event == u"done")
        return done();
    const bool known = event == u"text_delta" || event == u"tool_started" || event == u"tool_ended"
        || event == u"tool_result" || event == u"error";
    if (!known)
        return unknown(event);

    Json object = Json::object();
    try {
        Json parsed = parseJson(frame.data.toUtf8());
        if (parsed.is_object())
            object = std::move(parsed);
    } catch (const DecodingError &) {
        // Not JSON: read as an empty object.
    }
    if (event == u"text_delta")
        return textDelta(firstPresentString(object, { "text", "delta", "content" }).value_or(QString()));
    if (event == u"error") {
        return error(
            firstPresentString(object, { "message", "error" }).value_or(QStringLiteral("Something went wrong.")));
    }
    QString name = firstPresentString(object, { "name", "tool", "toolName" }).value_or(QString());
    if (event == u"tool_started")
        return toolStarted(std::move(name));
    if (event == u"tool_ended")
        return toolEnded(std::move(name));
    return toolResult(std::move(name), firstPresentString(object, { "summary" }));
}

void PrintTo(const AgentChatEvent &event, std::ostream *os)
{
    static const char *const names[]
        = { "textDelta", "toolStarted", "toolEnded", "toolResult", "error", "unknown", "compactedHistory", "done" };
    *os << names[int(event.kind())] << "(\"" << event.text().toStdString() << "\"";
    if (event.summary())
        *os << ", \"" << event.summary()->toStdString() << "\"";
    *os << ")";
}

} // namespace orvane
