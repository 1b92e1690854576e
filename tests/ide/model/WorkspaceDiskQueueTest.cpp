#include "ide/model/WorkspaceDiskQueue.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <future>
#include <mutex>
#include <stdexcept>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

using Lane = WorkspaceDiskQueue::Lane;

class WorkspaceDiskQueueTest : public testing::Test {
protected:
    QTemporaryDir dir;
    QString ledger() const { return dir.filePath(u"ledger.json"_s); }
    QString file(const QString &name) const { return dir.filePath(name); }

    // Records which jobs ran, in order, from the writer's thread.
    std::mutex mutex;
    QStringList ran;
    WorkspaceDiskQueue::Job record(const QString &name)
    {
        return [this, name](WorkspaceDiskQueue &) {
            const std::lock_guard lock(mutex);
            ran.append(name);
        };
    }
};

QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Saves never wait behind mirror work that was queued before them.
TEST_F(WorkspaceDiskQueueTest, TheUserLaneRunsAheadOfTheMirrorLane)
{
    WorkspaceDiskQueue queue(ledger());
    std::promise<void> started;
    std::promise<void> release;
    queue.enqueue(
        [&](WorkspaceDiskQueue &) {
            started.set_value();
            release.get_future().wait();
        },
        Lane::mirror);
    started.get_future().wait();
    queue.enqueue(u"project:a"_s, record(u"mirror a"_s), Lane::mirror);
    queue.enqueue(u"project:b"_s, record(u"mirror b"_s), Lane::mirror);
    queue.enqueue(u"state"_s, record(u"state"_s));
    queue.enqueue(u"project:a"_s, record(u"a again"_s), Lane::user); // replaces the pending one
    queue.enqueue(u"threads"_s, record(u"threads"_s));
    release.set_value();
    queue.flush();
    EXPECT_EQ(ran, (QStringList { u"state"_s, u"a again"_s, u"threads"_s, u"mirror b"_s }));
}

TEST_F(WorkspaceDiskQueueTest, ShutdownRunsWhatIsPendingAndDropsLaterJobs)
{
    {
        WorkspaceDiskQueue queue(ledger());
        queue.enqueue([](WorkspaceDiskQueue &) { throw std::runtime_error("disk full"); });
        for (int i = 0; i < 20; ++i)
            queue.enqueue(record(QString::number(i)));
        queue.shutdown();
        EXPECT_EQ(ran.size(), 20); // a failing job does not stop the writer
        queue.enqueue(record(u"late"_s));
        queue.flush(); // returns at once on a stopped queue
    }
    EXPECT_FALSE(ran.contains(u"late"_s));
}

TEST_F(WorkspaceDiskQueueTest, TheLedgerSurvivesARestart)
{
    const QString path = file(u"brief.md"_s);
    auto write = [&](WorkspaceDiskQueue &queue, const QByteArray &bytes) {
        bool wrote = false;
        queue.enqueue([&](WorkspaceDiskQueue &q) { wrote = q.writeGenerated(path, bytes); }, Lane::mirror);
        queue.flush();
        return wrote;
    };
    {
        WorkspaceDiskQueue queue(ledger());
        EXPECT_TRUE(write(queue, "one"));
        EXPECT_FALSE(write(queue, "one"));
        EXPECT_TRUE(write(queue, "two"));
    }
    // Had the ledger been lost, the mirror would take "two" for someone else's edit and keep a copy.
    WorkspaceDiskQueue restarted(ledger());
    EXPECT_TRUE(write(restarted, "three"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), (QStringList { u"brief.md"_s, u"ledger.json"_s }));
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(write(restarted, "three")); // a file deleted by hand comes back
    EXPECT_EQ(contents(path), "three");
}

TEST_F(WorkspaceDiskQueueTest, AnUnreadableStoreIsSetAsideOnceWhenItIsWritten)
{
    const QString store = file(u"state.json"_s);
    QFile original(store);
    ASSERT_TRUE(original.open(QIODevice::WriteOnly));
    original.write("garbage");
    original.close();

    WorkspaceDiskQueue queue(ledger());
    queue.markUnreadable(store);
    int writes = 0;
    auto save = [&](WorkspaceDiskQueue &q) {
        q.writeStore(store, [&] {
            ++writes;
            return platform::writeFileAtomically(store, "[]");
        });
    };
    queue.enqueue(save);
    queue.enqueue(save);
    queue.flush();
    EXPECT_EQ(writes, 2);
    EXPECT_EQ(contents(store), "[]");
    const QStringList asides = QDir(dir.path()).entryList({ u"state.json.unreadable-*"_s }, QDir::Files);
    ASSERT_EQ(asides.size(), 1);
    EXPECT_EQ(contents(dir.filePath(asides.first())), "garbage");
}

} // namespace
} // namespace orvane
