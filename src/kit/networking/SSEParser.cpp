#include "kit/networking/SSEParser.h"

#include <cstring>
#include <utility>

namespace orvane {

namespace {

constexpr char kTooLarge[] = "Orvane's reply stream sent a line or an event that is too large.";

} // namespace

QString EventStreamError::message() const
{
    return QString::fromUtf8(kTooLarge);
}

const char *EventStreamError::what() const noexcept
{
    return kTooLarge;
}

QList<SSEFrame> SSEParser::feed(QByteArrayView bytes)
{
    QList<SSEFrame> frames;
    feed(bytes, frames);
    return frames;
}

void SSEParser::feed(QByteArrayView bytes, QList<SSEFrame> &frames)
{
    const char *data = bytes.data();
    qsizetype pos = 0;
    const qsizetype size = bytes.size();
    while (pos < size) {
        const void *found = std::memchr(data + pos, '\n', std::size_t(size - pos));
        if (!found) {
            if (m_partialLine.size() + (size - pos) > kMaxLineBytes)
                throw EventStreamError();
            m_partialLine.append(data + pos, size - pos);
            break;
        }
        const qsizetype lf = static_cast<const char *>(found) - data;
        if (m_partialLine.isEmpty()) {
            takeLine(QByteArrayView(data + pos, lf - pos), true, frames);
        } else {
            if (m_partialLine.size() + (lf - pos) > kMaxLineBytes)
                throw EventStreamError();
            m_partialLine.append(data + pos, lf - pos);
            takeLine(m_partialLine, true, frames);
            m_partialLine.clear();
        }
        pos = lf + 1;
    }
}

void SSEParser::takeLine(QByteArrayView line, bool endedByLF, QList<SSEFrame> &frames)
{
    // A CR just before the LF is part of the line break; any other CR is text.
    if (endedByLF && line.endsWith('\r'))
        line.chop(1);
    if (line.size() > kMaxLineBytes)
        throw EventStreamError();
    if (line.isEmpty()) {
        if (auto frame = closeEvent())
            frames.append(std::move(*frame));
        return;
    }
    if (line.front() == ':')
        return; // a comment
    const qsizetype colon = line.indexOf(':');
    if (colon < 0)
        return;
    const QByteArrayView name = line.first(colon);
    QByteArrayView value = line.sliced(colon + 1);
    if (value.startsWith(' '))
        value = value.sliced(1);
    if (name == "event") {
        m_event = value.toByteArray();
        m_hasEvent = true;
    } else if (name == "data") {
        if (m_hasData)
            m_data += '\n';
        m_data += value;
        m_hasData = true;
    } else {
        return; // id, retry and unknown fields
    }
    if (m_event.size() + m_data.size() > kMaxEventBytes)
        throw EventStreamError();
}

std::optional<SSEFrame> SSEParser::closeEvent()
{
    std::optional<SSEFrame> frame;
    if (m_hasData) {
        frame = SSEFrame { m_hasEvent ? QString::fromUtf8(m_event) : QStringLiteral("message"),
            QString::fromUtf8(m_data) };
    }
    m_event.clear();
    m_hasEvent = false;
    m_data.clear();
    m_hasData = false;
    return frame;
}

std::optional<SSEFrame> SSEParser::finish()
{
    if (!m_partialLine.isEmpty()) {
        const QByteArray line = std::exchange(m_partialLine, QByteArray());
        QList<SSEFrame> none; // a line without LF closes no event
        takeLine(line, false, none);
    }
    return closeEvent();
}

} // namespace orvane
