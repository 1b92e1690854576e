// What a user does after a restart with a thread that was not shown: until it is read, such a
// thread holds its head only, and no operation, look-up or file write may take that for the thread.

#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTest>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class UnreadThreadAfterRestartTest : public WorkspaceModelTest {
protected:
    const QString demandGen = u"q4-enterprise-demand-gen"_s;

    // The seeds stored by a first run that ran long enough to write every folder, then a restart:
    // the model shows the first seed thread; the second one (project 2's) is not read.
    void startWithSavedSeeds()
    {
        model = makeModel();
        model->savePersistedThreads();
        ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
        restart(model);
        ASSERT_EQ(model->threads().size(), 2);
        ASSERT_NO_FATAL_FAILURE(readStoredThread(1, unread));
        ASSERT_FALSE(model->hasThreadBody(unread.id));
        ASSERT_FALSE(unread.agentTabs.isEmpty());
        ASSERT_FALSE(unread.mediaPlanRows.isEmpty());
    }

    // The stored thread at row, read whole. A fatal failure when the store does not hold it readable,
    // so that nothing reads past an empty list.
    void readStoredThread(qsizetype row, CampaignIDEThread &thread) const
    {
        const QList<CampaignIDEThread> stored = readStoredThreads();
        ASSERT_GT(stored.size(), row) << "every thread is stored and readable";
        thread = stored.at(row);
    }

    // Waits for the start-up pass over the thread files, then for what it wrote.
    void waitForThreadFiles()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !model->isSyncingStoredThreadFiles(); }, 10000));
        model->flushPendingWrites();
    }

    // The two thread files in a project folder hold exactly this thread.
    void expectThreadFiles(const QString &folder, const CampaignIDEThread &thread)
    {
        EXPECT_EQ(
            readAll(projectFile(folder, u"media-plan.csv"_s)), WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows));
        EXPECT_EQ(
            readAll(projectFile(folder, u"thread-transcript.json"_s)), WorkspaceFiles::threadTranscriptJson(thread));
    }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    CampaignIDEThread unread;
};

TEST_F(UnreadThreadAfterRestartTest, ATurnSentToAThreadNotShownIsRecordedAnsweredAndKept)
{
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    const CampaignAgentTab &tab = unread.agentTabs.last();

    model->sendMessageInThread(unread.id, tab.id, u"Run a teardown of acme.io."_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));

    const CampaignIDEThread *sent = model->thread(unread.id);
    ASSERT_NE(sent, nullptr);
    EXPECT_EQ(sent->competitorDomain, u"acme.io"_s);
    const auto sentTab = std::ranges::find(sent->agentTabs, tab.id, &CampaignAgentTab::id);
    ASSERT_NE(sentTab, sent->agentTabs.cend());
    // The stored timeline stays, with the message and the answer after it.
    ASSERT_EQ(sentTab->entries.size(), tab.entries.size() + 2);
    EXPECT_EQ(sentTab->entries.mid(0, tab.entries.size()), tab.entries);
    EXPECT_EQ(sentTab->entries.at(tab.entries.size()).text, u"Run a teardown of acme.io."_s);
    EXPECT_FALSE(sentTab->entries.last().text.isEmpty());
    EXPECT_EQ(sent->mediaPlanRows, unread.mediaPlanRows);

    restart(model);
    CampaignIDEThread stored;
    ASSERT_NO_FATAL_FAILURE(readStoredThread(1, stored));
    EXPECT_EQ(stored.competitorDomain, u"acme.io"_s);
    const auto storedTab = std::ranges::find(stored.agentTabs, tab.id, &CampaignAgentTab::id);
    ASSERT_NE(storedTab, stored.agentTabs.cend());
    EXPECT_EQ(storedTab->entries.size(), tab.entries.size() + 2);
}

TEST_F(UnreadThreadAfterRestartTest, LookUpsThatFeedAnOperationReadTheThreadWhole)
{
    // The project's thread handed to the caller.
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    EXPECT_EQ(model->ensureThread(unread.projectID), unread);
    EXPECT_EQ(model->threads().size(), 2); // found, not made

    // A media-plan row edited in the table of a thread not read yet.
    restart(model);
    CampaignMediaPlanRow row = unread.mediaPlanRows.first();
    row.dailyBudget = 400;
    ASSERT_TRUE(model->updateMediaPlanRow(row, unread.id));
    ASSERT_FALSE(model->thread(unread.id)->mediaPlanRows.isEmpty());
    EXPECT_EQ(model->thread(unread.id)->mediaPlanRows.first().monthlyBudget, 12000);
    EXPECT_EQ(model->thread(unread.id)->agentTabs, unread.agentTabs);

    // The launch confirmation states the budget of the project's thread: read before it opens.
    restart(model);
    model->setSelectedProjectID(unread.projectID);
    model->requestExecution();
    ASSERT_EQ(model->launchConfirmationProjectID(), unread.projectID);
    EXPECT_TRUE(model->hasThreadBody(unread.id));
    CampaignIDEThread stored;
    ASSERT_NO_FATAL_FAILURE(readStoredThread(1, stored));
    EXPECT_EQ(model->thread(unread.id)->mediaPlanRows, stored.mediaPlanRows);

    // "Save Local" of a thread not read yet writes the thread, not its head.
    restart(model);
    ASSERT_TRUE(QFile::remove(projectFile(demandGen, u"media-plan.csv"_s)));
    ASSERT_TRUE(QFile::remove(projectFile(demandGen, u"thread-transcript.json"_s)));
    model->saveThreadToLocalWorkspace(unread.id);
    model->flushPendingWrites();
    ASSERT_NO_FATAL_FAILURE(readStoredThread(1, stored));
    expectThreadFiles(demandGen, stored);
    EXPECT_EQ(model->statusNotice().value_or(QString()).startsWith(u"Saved campaign-plan.md"_s), true);
}

TEST_F(UnreadThreadAfterRestartTest, ARenameMovesTheThreadFilesAndNeverWritesAHeadOnlyThread)
{
    // Project 2 with two threads, neither of them shown after the restart.
    model = makeModel();
    const CampaignIDEProject demandGenProject = model->projects().at(1);
    QList<CampaignIDEThread> threads = model->threads();
    CampaignIDEThread second = threads.at(1);
    second.id = QUuid::createUuid();
    second.title = u"Second demand gen thread"_s;
    second.mediaPlanRows.removeLast();
    threads.append(second);
    model->setThreads(threads);
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    restart(model);
    ASSERT_FALSE(model->hasThreadBody(threads.at(1).id));
    ASSERT_FALSE(model->hasThreadBody(second.id));

    // A head-only copy handed over for writing writes nothing.
    const CampaignIDEThread &written = threads.at(1); // written by the first run, which had it read
    model->syncThreadArtifactsToDisk(*model->thread(second.id));
    model->flushPendingWrites();
    expectThreadFiles(demandGen, written);

    model->setSelectedProjectID(demandGenProject.id);
    model->updateSelectedProjectName(u"Q4 Enterprise Pipeline"_s);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(workspaceRoot() + u'/' + demandGen));
    expectThreadFiles(u"q4-enterprise-pipeline"_s, written); // moved as they were

    // The start-up pass then gives the folder the project's last thread, read whole.
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    EXPECT_FALSE(QFileInfo::exists(workspaceRoot() + u'/' + demandGen));
    expectThreadFiles(u"q4-enterprise-pipeline"_s, second);
    EXPECT_FALSE(model->hasThreadBody(written.id));
}

TEST_F(UnreadThreadAfterRestartTest, UnsavedLocalFileEditsMoveWithARenamedProjectsFolder)
{
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    model->openThread(unread.id);
    model->flushPendingWrites();
    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    model->updateSelectedLocalFileContent(u"# Plan nobody saved yet\n"_s);

    model->updateSelectedProjectName(u"Q4 Enterprise Pipeline"_s);
    model->flushPendingWrites();
    const QString moved = projectFile(u"q4-enterprise-pipeline"_s, u"campaign-plan.md"_s);
    ASSERT_TRUE(model->selectedLocalFile().has_value());
    EXPECT_EQ(model->selectedLocalFile()->id(), moved);
    EXPECT_EQ(model->localFileEditorContent(), u"# Plan nobody saved yet\n"_s);
    EXPECT_TRUE(model->hasUnsavedLocalFiles());

    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(readAll(moved), "# Plan nobody saved yet\n");
    EXPECT_FALSE(model->hasUnsavedLocalFiles());

    // A save still on its way when the folder moves counts for the file at its new path.
    model->updateSelectedLocalFileContent(u"# Saved as the folder moved\n"_s);
    model->saveSelectedLocalFile();
    model->updateSelectedProjectName(u"Q4 Enterprise Pipeline Two"_s);
    model->flushPendingWrites();
    EXPECT_EQ(model->selectedLocalFile()->id(), projectFile(u"q4-enterprise-pipeline-two"_s, u"campaign-plan.md"_s));
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
}

TEST_F(UnreadThreadAfterRestartTest, StartUpAndForceSyncWriteMissingThreadFilesOfThreadsNotShown)
{
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    CampaignIDEThread shown;
    ASSERT_NO_FATAL_FAILURE(readStoredThread(0, shown));
    const QString shownSlug = model->projectFolderName(*model->project(shown.projectID));
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    const QString missing[]
        = { projectFile(demandGen, u"media-plan.csv"_s), projectFile(demandGen, u"thread-transcript.json"_s) };
    for (const QString &path : missing)
        ASSERT_TRUE(QFile::remove(path));
    // A file that is already right is not written again: it keeps its time.
    const QDateTime old(QDate(2001, 1, 1), QTime(0, 0), Qt::UTC);
    QFile untouched(projectFile(shownSlug, u"thread-transcript.json"_s));
    ASSERT_TRUE(untouched.open(QIODevice::ReadWrite));
    ASSERT_TRUE(untouched.setFileTime(old, QFileDevice::FileModificationTime));
    untouched.close();

    restart(model);
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    expectThreadFiles(demandGen, unread);
    EXPECT_FALSE(model->hasThreadBody(unread.id)); // read for its files, not kept
    EXPECT_EQ(QFileInfo(untouched.fileName()).lastModified().toUTC(), old);

    // "Force Sync Local Files" writes them too, also while the start-up pass still runs.
    for (const bool duringStartUp : { false, true }) {
        for (const QString &path : missing)
            ASSERT_TRUE(QFile::remove(path));
        if (duringStartUp)
            restart(model);
        model->forceSyncLocalFiles(u"Synced projects and threads."_s);
        ASSERT_TRUE(QTest::qWaitFor(
            [this] {
                model->flushPendingWrites();
                return model->statusNotice() == u"Synced projects and threads."_s;
            },
            10000));
        expectThreadFiles(demandGen, unread);
    }
}

// --- Bodies the start-up pass cannot read ------------------------------------------------------------

// Whatever the read of a body not shown meets, the pass hears back and ends. The thread starts again
// with a first tab that is stored whole; the folder keeps the files of its last good body, and
// gets new ones only where they are missing.
TEST_F(UnreadThreadAfterRestartTest, TheStartUpPassEndsAndKeepsTheFolderWhenABodyIsLost)
{
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    const QString body = threadStoreFolder() + u'/' + unread.id.toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    enum class Fault { damaged, missing, notAFile };
    for (const Fault fault : { Fault::damaged, Fault::missing, Fault::notAFile }) {
        SCOPED_TRACE(int(fault));
        model.reset();
        switch (fault) {
        case Fault::damaged:
            ASSERT_TRUE(writeAll(body, "{\"agentTabs\": [{"));
            break;
        case Fault::missing:
            ASSERT_TRUE(QFile::remove(body));
            break;
        case Fault::notAFile:
            ASSERT_TRUE(QFile::remove(body));
            ASSERT_TRUE(QDir().mkdir(body));
            break;
        }
        model = makeModel();
        ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());

        ASSERT_TRUE(model->hasThreadBody(unread.id));
        const CampaignIDEThread restarted = *model->thread(unread.id);
        ASSERT_EQ(restarted.agentTabs.size(), 1);
        EXPECT_EQ(restarted.activeAgentTabID, restarted.agentTabs.first().id);
        EXPECT_EQ(restarted.title, unread.title);
        const QList<CampaignIDEThread> stored = readStoredThreads();
        ASSERT_EQ(stored.size(), 2) << "every body is stored and readable";
        EXPECT_EQ(stored.at(1).agentTabs, restarted.agentTabs);
        expectThreadFiles(demandGen, unread);
    }
    // What could not be read is kept: the damaged file and the folder in the body's place.
    EXPECT_EQ(QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s }, QDir::AllEntries).size(), 2);

    // With the folder's files gone, those written are the thread's as it starts again.
    model.reset();
    ASSERT_TRUE(writeAll(body, "not json"));
    ASSERT_TRUE(QFile::remove(projectFile(demandGen, u"thread-transcript.json"_s)));
    model = makeModel();
    ASSERT_NO_FATAL_FAILURE(waitForThreadFiles());
    ASSERT_TRUE(model->hasThreadBody(unread.id));
    EXPECT_EQ(readAll(projectFile(demandGen, u"thread-transcript.json"_s)),
        WorkspaceFiles::threadTranscriptJson(*model->thread(unread.id)));
    EXPECT_EQ(readAll(projectFile(demandGen, u"media-plan.csv"_s)), WorkspaceFiles::mediaPlanCsv(unread.mediaPlanRows));
}

// --- Sending from a copy without tabs ------------------------------------------------------------------

// A view showing a thread whose body is still being read has no tab of it: what it sends with the
// tab id it made up goes to the thread's active tab. Once the body is in, an unknown tab takes nothing.
TEST_F(UnreadThreadAfterRestartTest, ASendNamingNoTabOfAnUnreadThreadGoesToItsActiveTab)
{
    ASSERT_NO_FATAL_FAILURE(startWithSavedSeeds());
    const CampaignAgentTab active = *unread.activeTab();
    const CampaignIDEThread *head = model->thread(unread.id);
    ASSERT_TRUE(head->agentTabs.isEmpty());

    model->sendMessageInThread(unread.id, QUuid::createUuid(), u"Run a teardown of acme.io."_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));
    const CampaignIDEThread *sent = model->thread(unread.id);
    ASSERT_EQ(sent->agentTabs.size(), unread.agentTabs.size());
    const auto sentTab = std::ranges::find(sent->agentTabs, active.id, &CampaignAgentTab::id);
    ASSERT_NE(sentTab, sent->agentTabs.cend());
    ASSERT_EQ(sentTab->entries.size(), active.entries.size() + 2);
    EXPECT_EQ(sentTab->entries.at(active.entries.size()).text, u"Run a teardown of acme.io."_s);
    EXPECT_EQ(sent->competitorDomain, u"acme.io"_s);

    const CampaignIDEThread before = *sent;
    model->sendMessageInThread(unread.id, QUuid::createUuid(), u"Lost on purpose"_s, nullptr);
    EXPECT_EQ(*model->thread(unread.id), before);

    restart(model);
    CampaignIDEThread stored;
    ASSERT_NO_FATAL_FAILURE(readStoredThread(1, stored));
    const auto storedTab = std::ranges::find(stored.agentTabs, active.id, &CampaignAgentTab::id);
    ASSERT_NE(storedTab, stored.agentTabs.cend());
    EXPECT_EQ(storedTab->entries.size(), active.entries.size() + 2);
}

} // namespace
} // namespace orvane::test
