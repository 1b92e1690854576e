#include "ide/model/WorkspaceDiskQueue.h"

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

TEST_F(WorkspaceDiskQueueTest, AKeyedJobReplacesItsPendingTwinAndRunsAfterEverythingBefore)
{
    WorkspaceDiskQueue queue(ledger());
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    queue.enqueue([released](WorkspaceDiskQueue &) { released.wait(); }); // holds the writer
    queue.enqueue(u"state"_s, record(u"state 1"_s));
    queue.enqueue(u"threads"_s, record(u"threads"_s));
    queue.enqueue(record(u"unkeyed"_s));
    queue.enqueue(u"state"_s, record(u"state 2"_s));
    release.set_value();
    queue.flush();
    EXPECT_EQ(ran, (QStringList { u"threads"_s, u"unkeyed"_s, u"state 2"_s }));
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

TEST_F(WorkspaceDiskQueueTest, TheLedgerSkipsUnchangedFilesAcrossRestarts)
{
    const QString path = file(u"brief.md"_s);
    auto write = [&](WorkspaceDiskQueue &queue, const QByteArray &bytes) {
        bool wrote = false;
        queue.enqueue([&](WorkspaceDiskQueue &q) { wrote = q.writeGenerated(path, bytes); });
        queue.flush();
        return wrote;
    };
    {
        WorkspaceDiskQueue queue(ledger());
        EXPECT_TRUE(write(queue, "one"));
        EXPECT_FALSE(write(queue, "one"));
        EXPECT_TRUE(write(queue, "two"));
    }
    WorkspaceDiskQueue restarted(ledger());
    EXPECT_FALSE(write(restarted, "two")); // the ledger was saved when the writer went idle
    ASSERT_TRUE(QFile::remove(path));
    EXPECT_TRUE(write(restarted, "two")); // a file deleted by hand comes back
    EXPECT_EQ(contents(path), "two");
    restarted.shutdown();

    QFile damaged(ledger());
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
    damaged.write("{not json");
    damaged.close();
    WorkspaceDiskQueue afterDamage(ledger());
    EXPECT_TRUE(write(afterDamage, "two")); // a damaged ledger only costs one more write
}

TEST_F(WorkspaceDiskQueueTest, AnUnreadableStoreIsSetAsideOnceBeforeItIsWritten)
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
            QFile out(store);
            return out.open(QIODevice::WriteOnly | QIODevice::Truncate) && out.write("[]") == 2;
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
