// What the stores do about failed writes, lost or damaged files and files met from earlier runs,
// each seen across a restart: a model (or store) started again on the same folders.

#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "kit/support/JsonCoding.h"
#include "testsupport/desktop/FileSizeLimit.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <future>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class StoreRecoveryTest : public WorkspaceModelTest {
protected:
    [[nodiscard]] QString bodyFile(const QUuid &id) const
    {
        return threadStoreFolder() + u'/' + id.toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    }

    // A model started on the stores a first run saved: the seeds and the samples, all written.
    std::unique_ptr<CampaignIDEWorkspaceModel> restartedModel()
    {
        {
            const auto first = makeModel();
            first->savePersistedProjects();
            first->savePersistedThreads();
        }
        return startAgain();
    }

    // Quits (the model goes) and starts a new model on the same folders.
    std::unique_ptr<CampaignIDEWorkspaceModel> startAgain(std::unique_ptr<CampaignIDEWorkspaceModel> running = {})
    {
        running.reset();
        notices.clear();
        auto model = makeModel();
        if (model->statusNotice()) // told while it started
            notices.append(*model->statusNotice());
        watchNotices(*model);
        return model;
    }

    void watchNotices(CampaignIDEWorkspaceModel &model)
    {
        QObject::connect(&model, &CampaignIDEWorkspaceModel::statusNoticeChanged, &model, [this, &model] {
            if (!model.statusNotice())
                return;
            notices.append(*model.statusNotice());
            if (model.statusNoticeKind() == NoticeKind::warning)
                warnings.append(*model.statusNotice());
        });
    }

    [[nodiscard]] qsizetype noticesContaining(const QString &text) const
    {
        return std::ranges::count_if(notices, [&](const QString &notice) { return notice.contains(text); });
    }

    // Appends a user entry with the text to the thread's first tab, as a turn does.
    static void addEntry(CampaignIDEWorkspaceModel &model, const QUuid &threadID, const QString &text)
    {
        ASSERT_TRUE(model.mutateThread(threadID, [&](CampaignIDEThread &thread) {
            ASSERT_FALSE(thread.agentTabs.isEmpty());
            thread.agentTabs.first().entries.append(CampaignTimelineEntry {
                .id = QUuid::createUuid(),
                .role = CampaignTimelineEntry::EntryRole::user,
                .authorName = u"You"_s,
                .text = text,
                .timestamp = u"Just now"_s,
                .toolInvocations = {},
                .inlineApproval = std::nullopt,
                .artifactLink = std::nullopt,
            });
        }));
    }

    [[nodiscard]] static bool holdsEntry(const CampaignIDEThread &thread, const QString &text)
    {
        for (const CampaignAgentTab &tab : thread.agentTabs) {
            for (const CampaignTimelineEntry &entry : tab.entries) {
                if (entry.text == text)
                    return true;
            }
        }
        return false;
    }

    [[nodiscard]] std::optional<CampaignIDEThread> storedThread(const QUuid &id) const
    {
        for (const CampaignIDEThread &thread : readStoredThreads()) {
            if (thread.id == id)
                return thread;
        }
        return std::nullopt;
    }

    QStringList notices;
    QStringList warnings; // the notices shown with a warning sign
};

// --- Failed writes ----------------------------------------------------------------------------------

// A write the disk refuses is not forgotten: the thread stays due and lands with the next save once
// there is room, or when the model goes; the user hears of it once per spell of failures.
TEST_F(StoreRecoveryTest, AFailedWriteStaysDueIsToldOnceAndLandsWithTheNextSaveOrAtQuit)
{
    auto model = restartedModel();
    const QUuid unread = model->threads().at(1).id;
    const QUuid other = model->threads().last().id;
    ASSERT_FALSE(model->hasThreadBody(unread));
    {
        const FileSizeLimit full(8);
        addEntry(*model, unread, u"fullA"_s);
        model->flushPendingWrites();
        addEntry(*model, unread, u"fullB"_s);
        model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Renamed"_s; });
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save the thread"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u"Could not save your campaign projects"_s), 1) << utf8(notices.join(u'\n'));
    ASSERT_TRUE(storedThread(unread));
    EXPECT_FALSE(holdsEntry(*storedThread(unread), u"fullA"_s));

    // Room again: a change of another thread writes the one that failed with it.
    model->renameThread(other, u"Later"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(storedThread(unread));
    EXPECT_TRUE(holdsEntry(*storedThread(unread), u"fullB"_s));

    // A second spell is told again, and quitting makes up for it.
    {
        const FileSizeLimit full(8);
        addEntry(*model, unread, u"fullC"_s);
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save the thread"_s), 2);
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projects().first().name, u"Renamed"_s);
    model->openThread(unread);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(unread); }));
    EXPECT_TRUE(holdsEntry(*model->thread(unread), u"fullC"_s));
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// A new thread's body that fails to land keeps the index from naming it: after a crash the list
// is the one before, never a thread that opens empty.
TEST_F(StoreRecoveryTest, AnIndexNeverNamesANewBodyThatFailedToLand)
{
    auto model = restartedModel();
    const QByteArray index = readAll(threadStoreFile());
    {
        // Room for an index, not for a thread's body.
        const FileSizeLimit full(index.size() + 2048);
        model->createNewThread({ .title = u"Fresh"_s });
        model->flushPendingWrites();
    }
    EXPECT_EQ(readAll(threadStoreFile()), index);
    EXPECT_EQ(noticesContaining(u"Could not save the thread “Fresh”"_s), 1) << utf8(notices.join(u'\n'));
}

// A body write that replaces one still waiting keeps that one's place ahead of the index: a
// process killed right after the index landed leaves every body the index names.
TEST_F(StoreRecoveryTest, ABodyRewrittenBeforeTheWriterGotToItStillLandsBeforeTheIndex)
{
    const QString folder = home.path() + u"/threads"_s;
    const QString killed = home.path() + u"/killed"_s;
    QList<CampaignIDEThread> threads
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    CampaignIDEThread fresh = threads.first();
    {
        WorkspaceDiskQueue disk(home.path() + u"/ledger.json"_s);
        ThreadStore store(folder, folder + u".legacy.json"_s, disk);
        ASSERT_FALSE(store.load());
        for (const CampaignIDEThread &thread : std::as_const(threads))
            store.addNew(thread.id);
        store.save(threads);
        disk.flush();

        // The writer is busy while a thread is made and then changed in its body only.
        std::promise<void> release;
        disk.enqueue([gate = release.get_future().share()](WorkspaceDiskQueue &) { gate.wait(); });
        fresh.id = QUuid::createUuid();
        fresh.title = u"Fresh"_s;
        store.addNew(fresh.id);
        threads.prepend(fresh);
        store.save(threads);
        threads.first().dryRunEnabled = !fresh.dryRunEnabled;
        store.save(threads);

        // The files as the index lands are what a kill right then leaves.
        disk.setJobFinishedHook([&](const QString &key) {
            if (key != u"threads:index"_s)
                return;
            QDir().mkpath(killed);
            for (const QString &name : QDir(folder).entryList(QDir::Files))
                QFile::copy(folder + u'/' + name, killed + u'/' + name);
        });
        release.set_value();
        disk.flush();
    }

    WorkspaceDiskQueue disk(home.path() + u"/ledger.json"_s);
    ThreadStore store(killed, killed + u".legacy.json"_s, disk);
    const auto heads = store.load();
    ASSERT_TRUE(heads);
    ASSERT_EQ(heads->size(), threads.size());
    EXPECT_EQ(heads->first().id, fresh.id);
    const auto body = store.readStoredBody(fresh.id);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->agentTabs, fresh.agentTabs);
}

// --- Lost and damaged bodies ------------------------------------------------------------------------

// A body that is damaged or gone is never replaced by an empty shell: the damaged file is kept
// aside, one notice says where, and the thread opens with a tab the user can go on in.
TEST_F(StoreRecoveryTest, ALostOrDamagedBodyIsKeptAsideAndTheThreadGetsAUsableTab)
{
    auto model = restartedModel();
    model->createNewThread({ .title = u"Shown first"_s });
    model = startAgain(std::move(model));
    ASSERT_EQ(model->threads().size(), 3);
    const CampaignIDEThread damaged = model->threads().at(1);
    const CampaignIDEThread missing = model->threads().at(2);
    ASSERT_TRUE(writeAll(bodyFile(damaged.id), "{\"id\":"));
    ASSERT_TRUE(QFile::remove(bodyFile(missing.id)));
    model = startAgain(std::move(model));

    model->openThread(damaged.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged.id); }));
    const CampaignIDEThread *opened = model->thread(damaged.id);
    ASSERT_EQ(opened->agentTabs.size(), 1);
    EXPECT_EQ(opened->activeAgentTabID, opened->agentTabs.first().id);
    EXPECT_EQ(opened->title, damaged.title);
    model->flushPendingWrites();
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), "{\"id\":");
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(kept.first())) << utf8(notices.first());

    // The composer of its tab sends, and what it sent is there after a restart.
    const QUuid tab = opened->agentTabs.first().id;
    model->sendMessageInThread(damaged.id, tab, u"Plan a search test"_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->agentTurns().idle(); }, 5000));

    model->openThread(missing.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(missing.id); }));
    EXPECT_EQ(model->thread(missing.id)->agentTabs.size(), 1);
    model->flushPendingWrites();
    EXPECT_EQ(noticesContaining(u"“"_s + missing.title + u"” could not be read"_s), 1) << utf8(notices.join(u'\n'));

    model = startAgain(std::move(model));
    model->openThread(damaged.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged.id); }));
    EXPECT_TRUE(holdsEntry(*model->thread(damaged.id), u"Plan a search test"_s));
    model->openThread(missing.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(missing.id); }));
    EXPECT_EQ(model->thread(missing.id)->agentTabs.size(), 1);
    model->flushPendingWrites();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// A body lost on disk that the start-up pass meets while the disk refuses writes: the pass ends, the
// user hears of the loss and of the failed save once each, and "Force Sync Local Files" leaves the
// folder's files of the last good body alone and stores the new first tab.
TEST_F(StoreRecoveryTest, ALostBodyMetByTheStartUpPassOnAFullDiskIsStoredOnceThereIsRoom)
{
    auto model = restartedModel();
    const CampaignIDEThread lost = *storedThread(model->threads().at(1).id);
    ASSERT_FALSE(model->hasThreadBody(lost.id));
    const QString folder = model->projectFolderName(*model->project(lost.projectID));
    const QString transcript = projectFile(folder, u"thread-transcript.json"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
    model->flushPendingWrites();
    ASSERT_EQ(readAll(transcript), WorkspaceFiles::threadTranscriptJson(lost));
    ASSERT_TRUE(writeAll(bodyFile(lost.id), "{\"id\":"));

    CampaignIDEThread restarted;
    {
        const FileSizeLimit full(8);
        model = startAgain(std::move(model));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
        model->flushPendingWrites();
        ASSERT_TRUE(model->hasThreadBody(lost.id));
        restarted = *model->thread(lost.id);
    }
    ASSERT_EQ(restarted.agentTabs.size(), 1);
    EXPECT_EQ(noticesContaining(u"kept its file as"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u"Could not save the thread “"_s + lost.title), 1) << utf8(notices.join(u'\n'));
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), "{\"id\":");

    // Room again, the thread's write still due: a force sync keeps the last good body's files, and
    // tries the write again.
    model->forceSyncLocalFiles(u"Synced projects and threads."_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            model->flushPendingWrites();
            return model->statusNotice() == u"Synced projects and threads."_s;
        },
        10000));
    EXPECT_EQ(readAll(transcript), WorkspaceFiles::threadTranscriptJson(lost));
    ASSERT_TRUE(storedThread(lost.id));
    EXPECT_EQ(storedThread(lost.id)->agentTabs, restarted.agentTabs);

    // The next start reads the new first tab and has nothing to say.
    model = startAgain(std::move(model));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
    model->openThread(lost.id);
    model->flushPendingWrites();
    EXPECT_EQ(model->thread(lost.id)->agentTabs, restarted.agentTabs);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    EXPECT_EQ(QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s }).size(), 1);
}

// The disk still refuses the stores' writes as the model ends with nobody to ask (a termination
// signal): what they were to write goes to a rescue copy where it can be written, and the next start
// brings it back and says so. While the disk still refuses it, the stores read the copy's files; the
// copy goes once they have landed. A failed save is told with a warning sign.
TEST_F(StoreRecoveryTest, WhatTheDiskStillRefusesAtTheEndIsRescuedAndBroughtBackAtTheNextStart)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QUuid other = model->threads().last().id;
    const QUuid project = model->projects().first().id;
    ASSERT_TRUE(model->hasThreadBody(shown));
    {
        const FileSizeLimit full(8);
        addEntry(*model, shown, u"told"_s);
        model->flushPendingWrites();
    }
    ASSERT_EQ(warnings.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(warnings.first().startsWith(u"Could not save the thread"_s)) << utf8(warnings.first());

    // The stores' folders refuse every write; the cache folder takes the copy.
    const QString dataFolder = QFileInfo(stateFile()).path();
    const auto refuse = [](const QString &folder) {
        ASSERT_TRUE(QDir().rename(folder, folder + u".away"_s));
        ASSERT_TRUE(writeAll(folder, "not a folder"));
    };
    const auto allow = [](const QString &folder) {
        ASSERT_TRUE(QFile::remove(folder));
        ASSERT_TRUE(QDir().rename(folder + u".away"_s, folder));
    };
    refuse(threadStoreFolder());
    refuse(dataFolder);
    addEntry(*model, shown, u"rescued message"_s);
    model->mutateProject(project, [](CampaignIDEProject &p) { p.name = u"Rescued Name"_s; });
    model->flushPendingWrites();
    model.reset();
    const QString copy = home.path() + u"/.cache/Orvane/rescue.json"_s;
    ASSERT_TRUE(QFileInfo::exists(copy));
    allow(threadStoreFolder());
    allow(dataFolder);
    ASSERT_TRUE(storedThread(shown));
    EXPECT_FALSE(holdsEntry(*storedThread(shown), u"rescued message"_s));

    // Started while the disk still refuses them: the copy's files are what the stores hold, and the
    // copy stays.
    {
        const FileSizeLimit full(8);
        model = startAgain();
        EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
        model->flushPendingWrites();
        EXPECT_EQ(model->project(project)->name, u"Rescued Name"_s);
        ASSERT_TRUE(model->hasThreadBody(shown));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"told"_s));
        ASSERT_FALSE(notices.isEmpty());
        EXPECT_TRUE(notices.first().startsWith(u"Orvane brought back what it could not save when it last quit: "_s))
            << utf8(notices.first());
        EXPECT_TRUE(notices.first().contains(u"your campaign projects"_s)) << utf8(notices.first());
        EXPECT_TRUE(QFileInfo::exists(copy));
    }
    // Room again: the next change that lands takes the copy's files with it, and the copy goes.
    model->renameThread(other, u"Later"_s);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_TRUE(storedThread(shown));
    EXPECT_TRUE(holdsEntry(*storedThread(shown), u"rescued message"_s));

    model = startAgain(std::move(model));
    EXPECT_EQ(model->project(project)->name, u"Rescued Name"_s);
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // Room at the first start after: the copy lands at once and goes.
    refuse(dataFolder);
    model->mutateProject(project, [](CampaignIDEProject &p) { p.name = u"Renamed Again"_s; });
    model->flushPendingWrites();
    model.reset();
    allow(dataFolder);
    ASSERT_TRUE(QFileInfo::exists(copy));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Renamed Again"_s);
    EXPECT_EQ(noticesContaining(u"brought back"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(readAll(stateFile()).contains("Renamed Again"));
}

// --- Stored forms met later -------------------------------------------------------------------------

// The single file of an earlier version, written again after the move (that version was run since),
// is kept under a name of its own, the first move's backup stays, and its new threads come in.
TEST_F(StoreRecoveryTest, AnEarlierVersionsFileMetAfterTheMoveIsKeptAndItsNewThreadsComeIn)
{
    QList<CampaignIDEThread> earlier
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    const QByteArray moved = encodeJson(earlier);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), moved));
    auto model = startAgain();
    model->flushPendingWrites();
    ASSERT_EQ(readAll(legacyThreadStoreFile() + u".backup"_s), moved);

    // The earlier version renamed a thread and made one of its own.
    CampaignIDEThread made = earlier.first();
    made.id = QUuid::createUuid();
    made.title = u"Made by the earlier version"_s;
    earlier.last().title = u"Renamed there"_s;
    earlier.prepend(made);
    const QByteArray later = encodeJson(earlier);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), later));

    model = startAgain(std::move(model));
    ASSERT_EQ(model->threads().size(), earlier.size());
    EXPECT_EQ(model->threads().first().id, made.id);
    EXPECT_NE(model->threads().last().title, u"Renamed there"_s); // the store's own copy stands
    model->flushPendingWrites();
    EXPECT_EQ(noticesContaining(u"Made by the earlier version"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(legacyThreadStoreFile()));
    EXPECT_EQ(readAll(legacyThreadStoreFile() + u".backup"_s), moved);
    const QStringList kept = QFileInfo(legacyThreadStoreFile())
                                 .dir()
                                 .entryList({ u"com.orvane.app.macos.ide.threads.v2.backup-*.json"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(legacyThreadStoreFile()).absolutePath() + u'/' + kept.first()), later);

    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), earlier.size());
    EXPECT_EQ(storedThread(made.id), made);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// --- Small store faults -----------------------------------------------------------------------------

TEST_F(StoreRecoveryTest, AnIndexListingAThreadTwiceLoadsItOnce)
{
    auto model = restartedModel();
    const QList<CampaignIDEThread> threads = model->threads();
    auto index = decodeJsonList<CampaignThreadSummary>(readAll(threadStoreFile()));
    index.append(index);
    ASSERT_TRUE(writeAll(threadStoreFile(), encodeJson(index)));

    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), threads.size());
    model->renameThread(threads.last().id, u"Edited"_s);
    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), threads.size());
    EXPECT_EQ(decodeJsonList<CampaignThreadSummary>(readAll(threadStoreFile())).size(), threads.size());
}

// A damaged index is rebuilt in the user's order (the index before it), not by when each thread
// was last written; threads newer than that index come first.
TEST_F(StoreRecoveryTest, ADamagedIndexIsRebuiltInTheUsersOrder)
{
    auto model = restartedModel();
    const QUuid made = model->createNewThread({ .title = u"Made last"_s });
    QList<QUuid> order;
    for (const CampaignIDEThread &thread : model->threads())
        order.append(thread.id);
    // Written most recently of all, so by time it would come first.
    model->renameThread(order.last(), u"Edited last"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(writeAll(threadStoreFile(), "[{\"id\": 12}"));

    model = startAgain(std::move(model));
    QList<QUuid> rebuilt;
    for (const CampaignIDEThread &thread : model->threads())
        rebuilt.append(thread.id);
    EXPECT_EQ(rebuilt, order);
    EXPECT_EQ(rebuilt.first(), made);
    EXPECT_EQ(model->threads().last().title, u"Edited last"_s);
}

// Temporary files that killed writes left beside their targets go at the next start; the user's
// own hidden files and a write under way elsewhere stay.
TEST_F(StoreRecoveryTest, StaleTemporariesOfKilledWritesAreRemovedAtStart)
{
    auto model = restartedModel();
    const QString project = model->projectFolderPath(model->projects().first());
    const QDateTime killedAt = QDateTime::currentDateTimeUtc().addSecs(-600);
    const auto leave = [&](const QString &path, const QDateTime &time) {
        EXPECT_TRUE(writeAll(path, "partial"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    const QStringList stale { threadStoreFolder() + u"/.index.json.3k9x0q2m1z"_s,
        threadStoreFolder() + u"/.0A4E6C2B-0000-0000-0000-000000000001.json.0123456789ab"_s,
        QFileInfo(stateFile()).absolutePath() + u"/.campaign-ide-state.json.zzzzzzzzzzzz"_s,
        project + u"/.campaign-plan.md.a1b2c3d4e5f6g"_s, project + u"/.notes.txt.0000000000"_s };
    const QStringList kept { project + u"/.campaign-plan.md.bak"_s, project + u"/.envrc.abcdefghijkl"_s,
        threadStoreFolder() + u"/.index.json.9999999999"_s };
    for (const QString &path : stale)
        leave(path, killedAt);
    leave(kept.at(0), killedAt);
    leave(kept.at(1), killedAt);
    leave(kept.at(2), QDateTime::currentDateTimeUtc().addSecs(60)); // a write under way

    model = startAgain(std::move(model));
    model->flushPendingWrites();
    for (const QString &path : stale)
        EXPECT_FALSE(QFileInfo::exists(path)) << utf8(path);
    for (const QString &path : kept)
        EXPECT_TRUE(QFileInfo::exists(path)) << utf8(path);
}

// A state file above the old 64 MiB bound, as earlier versions wrote and loaded, loads and is saved.
TEST_F(StoreRecoveryTest, AStateFileOfAnySizeTheApplicationWroteLoadsAndSaves)
{
    QList<CampaignIDEProject> projects = CampaignIDEWorkspaceModel::sampleProjects();
    projects.last().guardrails = QString(65 * 1024 * 1024, u'g');
    ASSERT_TRUE(writeAll(stateFile(), encodeJson(projects)));
    ASSERT_GT(QFileInfo(stateFile()).size(), 64 * 1024 * 1024);

    auto model = startAgain();
    ASSERT_EQ(model->projects().size(), 2);
    EXPECT_EQ(model->projects().last().guardrails.size(), projects.last().guardrails.size());
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Grown"_s; });
    model->flushPendingWrites();
    EXPECT_TRUE(notices.filter(u"Could not save"_s).isEmpty()) << utf8(notices.join(u'\n'));
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projects().first().name, u"Grown"_s);
}

} // namespace
} // namespace orvane::test
