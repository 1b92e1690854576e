#pragma once

#include "kit/networking/SSEParser.h"

#include <QString>

#include <optional>
#include <ostream>

namespace orvane {

// The meaning of one frame of the agent chat.
class AgentChatEvent final {
public:
    enum class Kind { textDelta, toolStarted, toolEnded, toolResult, error, unknown, compactedHistory, done };

    static AgentChatEvent textDelta(QString text);
    static AgentChatEvent toolStarted(QString name);
    static AgentChatEvent toolEnded(QString name);
    static AgentChatEvent toolResult(QString name, std::optional<QString> summary);
    static AgentChatEvent error(QString message);
    static AgentChatEvent unknown(QString event);
    static AgentChatEvent compactedHistory();
    static AgentChatEvent done();

    // Never fails: data that is not a JSON object reads as an empty object, which gives the
    // defaults (empty text or name, "Something went wrong." for errors).
    static AgentChatEvent fromFrame(const SSEFrame &frame);

    [[nodiscard]] Kind kind() const { return m_kind; }
    // textDelta: the text.
    [[nodiscard]] const QString &text() const { return m_text; }
    // toolStarted, toolEnded, toolResult: the tool's name.
    [[nodiscard]] const QString &name() const { return m_text; }
    // error: the message.
    [[nodiscard]] const QString &message() const { return m_text; }
    // unknown: the frame's event name as received.
    [[nodiscard]] const QString &event() const { return m_text; }
    // toolResult: the summary, when the service sent one.
    [[nodiscard]] const std::optional<QString> &summary() const { return m_summary; }

    bool operator==(const AgentChatEvent &) const = default;

private:
    AgentChatEvent(Kind kind, QString text, std::optional<QString> summary = std::nullopt)
        : m_kind(kind), m_text(std::move(text)), m_summary(std::move(summary))
    {
    }

    Kind m_kind;
    QString m_text;
    std::optional<QString> m_summary;
};

// For test failure output.
void PrintTo(const AgentChatEvent &event, std::ostream *os);

} // namespace orvane
