#include "voice/VoiceWorkers.h"

#include <QThreadPool>

namespace orvane::voice {
namespace {

QThreadPool *makePool()
{
    auto *pool = new QThreadPool;
    // Each session holds a capture and a decoding thread; a session being torn down can overlap the next one.
    pool->setMaxThreadCount(16);
    pool->setObjectName(QStringLiteral("voiceWorkers"));
    return pool;
}

struct PoolHolder {
    QThreadPool *pool = makePool();
    ~PoolHolder()
    {
        pool->waitForDone();
        delete pool;
    }
};

} // namespace

void runVoiceWorker(std::function<void()> job)
{
    static PoolHolder holder;
    holder.pool->start(std::move(job));
}

} // namespace orvane::voice
