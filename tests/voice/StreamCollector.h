#pragma once

#include "voice/VoiceAvailability.h"

#include <QCoro/QCoroAsyncGenerator>
#include <QCoro/QCoroTask>
#include <QStringList>

#include <memory>
#include <optional>
#include <ostream>

// Readable QStrings in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

namespace orvane::voice::test {

// What a caller saw of a transcript stream.
struct StreamRecord {
    QStringList texts;
    bool ended = false;
    std::optional<VoiceInputError> error;

    // The last text, the transcript a caller would keep.
    [[nodiscard]] QString transcript() const { return texts.isEmpty() ? QString() : texts.constLast(); }
};

// Iterates a stream on this thread's event loop, the way a view would, and records what it yields.
class StreamCollector {
public:
    explicit StreamCollector(QCoro::AsyncGenerator<QString> stream);

    [[nodiscard]] const StreamRecord &record() const { return *m_record; }
    // Waits (processing events) until the stream ended; false on time-out.
    bool waitForEnd(int milliseconds = 10000) const;
    // Waits until at least count texts arrived.
    bool waitForTexts(qsizetype count, int milliseconds = 10000) const;

    // Waits until every stream any collector iterates has ended, so no iteration outlives its test. Call it after
    // the sessions' owners are gone.
    static bool waitForAllToEnd(int milliseconds = 10000);

private:
    std::shared_ptr<StreamRecord> m_record = std::make_shared<StreamRecord>();
};

} // namespace orvane::voice::test
