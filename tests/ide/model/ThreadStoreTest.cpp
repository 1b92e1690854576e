#include "ide/model/WorkspaceModelFixture.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "kit/support/JsonCoding.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QSignalSpy>
#include <QStringBuilder>
#include <QTest>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class ThreadStoreTest : public WorkspaceModelTest {
protected:
    [[nodiscard]] QString bodyFile(const QUuid &id) const
    {
        return threadStoreFolder() + u'/' + id.toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    }

    // Every file of the store with the inode it has now: an atomic write gives a file a new one.
    [[nodiscard]] QMap<QString, ino_t> storeFiles() const
    {
        QMap<QString, ino_t> files;
        for (const QString &name : QDir(threadStoreFolder()).entryList(QDir::Files)) {
            struct stat info { };
            if (::stat(QFile::encodeName(threadStoreFolder() + u'/' + name).constData(), &info) == 0)
                files.insert(name, info.st_ino);
        }
        return files;
    }

    // The seeds, and after them `large` threads whose bodies are read in the background.
    [[nodiscard]] static QList<CampaignIDEThread> threadsWithLargeOnes(int large)
    {
        QList<CampaignIDEThread> threads
            = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
        for (int t = 0; t < large; ++t) {
            CampaignIDEThread thread = threads.first();
            thread.id = QUuid::createUuid();
            thread.title = u"Long thread "_s % QString::number(t);
            CampaignAgentTab &tab = thread.agentTabs.first();
            const CampaignTimelineEntry sample = tab.entries.first();
            const qsizetype count = ThreadStore::backgroundReadSize / encodeJson(sample).size() + 1;
            for (qsizetype e = 0; e < count; ++e) {
                CampaignTimelineEntry entry = sample;
                entry.id = QUuid::createUuid();
                tab.entries.append(entry);
            }
            threads.append(thread);
        }
        return threads;
    }
};

TEST_F(ThreadStoreTest, TheEarlierSingleFileMovesOnceIntoBodiesOfTheSameBytesAndStaysAsABackup)
{
    const QList<CampaignIDEThread> threads = threadsWithLargeOnes(1);
    const QByteArray legacy = encodeJson(threads);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), legacy));

    auto model = makeModel();
    EXPECT_EQ(model->threads(), threads);
    EXPECT_FALSE(QFileInfo::exists(legacyThreadStoreFile()));
    EXPECT_EQ(readAll(legacyThreadStoreFile() + u".backup"_s), legacy);
    // Each body is the very text the single file held for that thread.
    QByteArray joined = "[";
    for (const CampaignIDEThread &thread : threads)
        joined += readAll(bodyFile(thread.id)) + ',';
    joined.back() = ']';
    EXPECT_EQ(joined, legacy);

    // The next start reads the new form: heads only, but the body of the thread it shows.
    model.reset();
    model = makeModel();
    ASSERT_EQ(model->threads().size(), threads.size());
    EXPECT_EQ(model->threads().first(), threads.first());
    EXPECT_FALSE(model->hasThreadBody(threads.last().id));
    EXPECT_EQ(model->threads().last().title, threads.last().title);
    EXPECT_EQ(model->threadSummary(model->threads().last()), CampaignThreadSummary::of(threads.last()));
    EXPECT_EQ(readStoredThreads(), threads);
}

TEST_F(ThreadStoreTest, AMoveCutShortStartsOverBeforeTheIndexAndFinishesAfterIt)
{
    QList<CampaignIDEThread> threads = threadsWithLargeOnes(0);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    // Cut before the index: a body is on disk, but nothing names it yet.
    ASSERT_TRUE(writeAll(bodyFile(threads.first().id), "{\"partial\":"));
    makeModel().reset();
    EXPECT_EQ(readStoredThreads(), threads);

    // Cut after the index: the old file is back (as if never renamed), but the index wins.
    threads.first().title = u"Renamed before the cut"_s;
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    const auto model = makeModel();
    EXPECT_NE(model->threads().first().title, threads.first().title);
    EXPECT_FALSE(QFileInfo::exists(legacyThreadStoreFile()));
    EXPECT_TRUE(QFileInfo::exists(legacyThreadStoreFile() + u".backup"_s));
}

// A move cut short after every body landed, before the index: the index is rebuilt in the earlier
// file's order, not in the order the bodies were written.
TEST_F(ThreadStoreTest, AMoveCutShortBeforeItsIndexKeepsTheEarlierFilesOrder)
{
    QList<CampaignIDEThread> threads = threadsWithLargeOnes(0);
    while (threads.size() < 4) {
        CampaignIDEThread thread = threads.first();
        thread.id = QUuid::createUuid();
        thread.title = u"Copy "_s % QString::number(threads.size());
        threads.append(thread);
    }
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    // The file's first thread written first: listed by time, the bodies come in reverse.
    const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (qsizetype t = 0; t < threads.size(); ++t) {
        ASSERT_TRUE(writeAll(bodyFile(threads.at(t).id), encodeJson(threads.at(t))));
        QFile body(bodyFile(threads.at(t).id));
        ASSERT_TRUE(body.open(QIODevice::ReadWrite));
        ASSERT_TRUE(body.setFileTime(written.addSecs(t * 60), QFileDevice::FileModificationTime));
    }
    QList<QUuid> order;
    for (const CampaignIDEThread &thread : std::as_const(threads))
        order.append(thread.id);

    const auto model = makeModel();
    QList<QUuid> listed;
    for (const CampaignIDEThread &thread : model->threads())
        listed.append(thread.id);
    EXPECT_EQ(listed, order);
    QList<QUuid> stored;
    for (const CampaignIDEThread &thread : readStoredThreads())
        stored.append(thread.id);
    EXPECT_EQ(stored, order);
}

TEST_F(ThreadStoreTest, ADamagedIndexIsRebuiltFromTheBodiesAndKeptAside)
{
    const QList<CampaignIDEThread> threads = threadsWithLargeOnes(0).mid(0, 2);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    makeModel().reset();
    ASSERT_TRUE(writeAll(threadStoreFile(), "[{\"id\": 12}"));
    const auto byID = [](QList<CampaignIDEThread> list) {
        std::ranges::sort(list, {}, [](const CampaignIDEThread &t) { return t.id.toString(); });
        return list;
    };

    auto model = makeModel();
    ASSERT_EQ(model->threads().size(), 2);
    model->renameThread(threads.last().id, u"Edited"_s);
    model->flushPendingWrites();
    EXPECT_EQ(QDir(threadStoreFolder()).entryList({ u"index.json.unreadable-*"_s }).size(), 1);
    model.reset();
    model = makeModel();
    EXPECT_EQ(model->threads().size(), 2);
    QList<CampaignIDEThread> expected = threads;
    expected.last().title = u"Edited"_s;
    expected.last().updatedAt
        = std::ranges::find(model->threads(), threads.last().id, &CampaignIDEThread::id)->updatedAt;
    EXPECT_EQ(byID(readStoredThreads()), byID(expected));
}

TEST_F(ThreadStoreTest, OpeningAThreadWritesNothingAndAnEditWritesOnlyThatThreadAndTheIndex)
{
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threadsWithLargeOnes(1))));
    makeModel().reset();
    const auto model = makeModel();
    const QList<CampaignIDEThread> threads = model->threads();
    const QMap<QString, ino_t> before = storeFiles();
    ASSERT_EQ(before.size(), threads.size() + 1);

    model->openThread(threads.at(1).id);
    model->openThread(threads.first().id);
    model->flushPendingWrites();
    EXPECT_EQ(storeFiles(), before);

    model->renameThread(threads.at(1).id, u"Edited"_s);
    model->flushPendingWrites();
    const QMap<QString, ino_t> after = storeFiles();
    for (auto it = before.cbegin(); it != before.cend(); ++it) {
        const bool rewritten
            = it.key() == u"index.json"_s || it.key() == QFileInfo(bodyFile(threads.at(1).id)).fileName();
        EXPECT_EQ(after.value(it.key()) != it.value(), rewritten) << utf8(it.key());
    }

    // A removed thread's body goes with it.
    model->deleteThread(threads.at(1).id);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(bodyFile(threads.at(1).id)));
    EXPECT_EQ(readStoredThreads().size(), threads.size() - 1);
}

TEST_F(ThreadStoreTest, LargeBodiesAreReadInTheBackgroundAndAChangeBeforeThatKeepsThem)
{
    const QList<CampaignIDEThread> threads = threadsWithLargeOnes(2);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    makeModel().reset();
    const auto model = makeModel();
    const CampaignIDEThread &opened = threads.at(threads.size() - 2);
    const CampaignIDEThread &changed = threads.last();

    QSignalSpy spy(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    model->openThread(opened.id);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(opened.id); }));
    EXPECT_TRUE(spy.contains({ QVariant::fromValue(opened.id) }));
    EXPECT_EQ(model->activeThread(), opened);

    // A change to a thread not read yet reads it first: its timeline is kept, not written over.
    model->renameThread(changed.id, u"Renamed"_s);
    CampaignIDEThread expected = changed;
    expected.title = u"Renamed"_s;
    expected.updatedAt = model->threads().last().updatedAt;
    model->flushPendingWrites();
    const QList<CampaignIDEThread> stored = readStoredThreads();
    ASSERT_EQ(stored.size(), threads.size());
    EXPECT_EQ(stored.last(), expected);
}

// The workbench view chosen when a thread is opened is kept in the index; the body read after it
// (still on disk when the thread was opened) does not bring the stored view back.
TEST_F(ThreadStoreTest, AViewChosenBeforeTheBodyIsReadSurvivesTheRead)
{
    const QList<CampaignIDEThread> threads = threadsWithLargeOnes(1);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), encodeJson(threads)));
    makeModel().reset();
    const auto model = makeModel();
    const CampaignIDEThread &large = threads.last();
    const IDEWorkbenchView chosen
        = large.workbenchView == IDEWorkbenchView::canvas ? IDEWorkbenchView::explore : IDEWorkbenchView::canvas;
    ASSERT_FALSE(model->hasThreadBody(large.id));

    model->openThread(large.id, chosen);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(large.id); }));
    ASSERT_TRUE(model->activeThread());
    EXPECT_EQ(model->activeThread()->workbenchView, chosen);
    EXPECT_EQ(model->activeThread()->agentTabs, large.agentTabs); // the body was read
    model->flushPendingWrites();
    const QList<CampaignIDEThread> stored = readStoredThreads();
    ASSERT_EQ(stored.size(), threads.size());
    EXPECT_EQ(stored.last().workbenchView, chosen);
}

} // namespace
} // namespace orvane::test
