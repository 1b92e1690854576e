#include "voice/StreamCollector.h"

#include <QTest>

#include <algorithm>
#include <vector>

namespace orvane::voice::test {
namespace {

std::vector<std::weak_ptr<StreamRecord>> &collected()
{
    static std::vector<std::weak_ptr<StreamRecord>> records;
    return records;
}

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
    collected().push_back(m_record);
    static_cast<void>(collect(std::move(stream), m_record));
}

bool StreamCollector::waitForAllToEnd(int milliseconds)
{
    const bool ended = QTest::qWaitFor(
        [] {
            return std::all_of(collected().begin(), collected().end(), [](const std::weak_ptr<StreamRecord> &weak) {
                const auto record = weak.lock();
                return !record || record->ended;
            });
        },
        milliseconds);
    collected().clear();
    return ended;
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
