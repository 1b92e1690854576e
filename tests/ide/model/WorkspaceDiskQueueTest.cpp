#include "ide/model/WorkspaceDiskQueue.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

using Lane = WorkspaceDiskQueue::Lane;

// Saves never wait behind mirror work that was queued before them.
TEST(WorkspaceDiskQueueTest, TheUserLaneRunsAheadOfTheMirrorLane)
{
    QTemporaryDir dir;
    WorkspaceDiskQueue queue(dir.filePath(u"ledger.json"_s));
    QStringList order; // written by the writer only, read after flush()
    const auto job = [&](const QString &name) { return [&, name](WorkspaceDiskQueue &) { order.append(name); }; };
    std::promise<void> started;
    std::promise<void> release;
    queue.enqueue(
        [&](WorkspaceDiskQueue &) {
            started.set_value();
            release.get_future().wait();
        },
        Lane::mirror);
    started.get_future().wait();
    queue.enqueue(u"project:a"_s, job(u"mirror a"_s), Lane::mirror);
    queue.enqueue(u"project:b"_s, job(u"mirror b"_s), Lane::mirror);
    queue.enqueue(u"state"_s, job(u"state"_s));
    queue.enqueue(u"project:a"_s, job(u"a again"_s), Lane::user); // replaces the pending one
    queue.enqueue(u"threads"_s, job(u"threads"_s));
    release.set_value();
    queue.flush();
    EXPECT_EQ(order, (QStringList { u"state"_s, u"a again"_s, u"threads"_s, u"mirror b"_s }));
}

} // namespace
} // namespace orvane
