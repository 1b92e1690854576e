#include "voice/StreamCollector.h"

#include <QTest>

namespace orvane::voice::test {
namespace {

QCoro::Task<> collect(QCoro::AsyncGenerator<QString> stream, std::shared_ptr<StreamRecord> record)
{
    try {
        auto it = co_await stream.begin();
        while (it != stream.end()) {
            record->texts.append(*it);
            co_await ++it;
        }
    } catch (const VoiceInputError &error) {
        record->error = error;
    }
    record->ended = true;
}

} // namespace

StreamCollector::StreamCollector(QCoro::AsyncGenerator<QString> stream)
{
    static_cast<void>(collect(std::move(stream), m_record));
}

bool StreamCollector::waitForEnd(int milliseconds) const
{
    return QTest::qWaitFor([this] { return m_record->ended; }, milliseconds);
}

bool StreamCollector::waitForTexts(qsizetype count, int milliseconds) const
{
    return QTest::qWaitFor([this, count] { return m_record->texts.size() >= count || m_record->ended; }, milliseconds)
        && m_record->texts.size() >= count;
}

} // namespace orvane::voice::test
