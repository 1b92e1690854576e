#pragma once

// The text/event-stream format of the agent chat, cut into frames.
//
// The parser works on the raw bytes as they arrive: it cuts lines at LF (a CR right before the LF
// belongs to the line break; a lone CR is text), keeps only the unfinished line and the fields of
// the open event, and parses every line exactly once, so the work is linear in the bytes received.
// A line or an event beyond 1 MiB fails the stream instead of growing without end.

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <exception>
#include <optional>

namespace orvane {

// One event as received: its name ("message" when the block named none) and its data lines joined
// with LF.
struct SSEFrame {
    QString event;
    QString data;

    bool operator==(const SSEFrame &) const = default;
};

// An event stream that broke the parser's bounds.
class EventStreamError final : public std::exception {
public:
    [[nodiscard]] QString message() const;
    [[nodiscard]] const char *what() const noexcept override;
};

class SSEParser final {
public:
    static constexpr qsizetype kMaxLineBytes = 1024 * 1024;
    static constexpr qsizetype kMaxEventBytes = 1024 * 1024;

    // Takes the next bytes of the stream and returns the frames they completed, in stream order.
    // Throws EventStreamError when a line or an event grows beyond its bound.
    QList<SSEFrame> feed(QByteArrayView bytes);
    // The same, appending to `frames`; when it throws, `frames` holds the frames completed before
    // the offending line.
    void feed(QByteArrayView bytes, QList<SSEFrame> &frames);

    // The bytes held for the unfinished line and the open event.
    [[nodiscard]] qsizetype heldBytes() const { return m_partialLine.size() + m_event.size() + m_data.size(); }

    // At the end of the stream: the unfinished line and the open event, if they make a frame.
    // Empties the parser.
    std::optional<SSEFrame> finish();

private:
    void takeLine(QByteArrayView line, bool endedByLF, QList<SSEFrame> &frames);
    std::optional<SSEFrame> closeEvent();

    QByteArray m_partialLine;
    QByteArray m_event;
    bool m_hasEvent = false;
    QByteArray m_data;
    bool m_hasData = false;
};

} // namespace orvane
