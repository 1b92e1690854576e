#include "ide/operations/OperationsTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class ThreadViewOperationsTest : public OperationsTest {
protected:
    // A thread with two tabs, neither of them split.
    QUuid twoTabThread()
    {
        const QUuid id = firstThread().id;
        model->addAgentTab(std::nullopt, id);
        model->flushPendingWrites();
        return id;
    }
    [[nodiscard]] QString folderOf(const CampaignIDEThread &thread) const
    {
        return workspaceRoot() + u'/' + project(thread.projectID)->slug();
    }
    bool waitForNotice()
    {
        return QTest::qWaitFor(
            [this] {
                model->flushPendingWrites();
                return !notice().isEmpty();
            },
            5000);
    }
};

// The secondary pane's chip points the split at a tab, never at the active tab, and saves.
TEST_F(ThreadViewOperationsTest, SplitChipChangesOnlyTheSplitTabAndSaves)
{
    const QUuid id = twoTabThread();
    const QUuid active = thread(id)->activeAgentTabID;
    const QUuid first = thread(id)->agentTabs.first().id;
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);

    model->showAgentTabInSplit(first, id);
    EXPECT_EQ(thread(id)->splitAgentTabID, first);
    EXPECT_EQ(thread(id)->activeAgentTabID, active);
    EXPECT_EQ(changed.count(), 1);
    for (const CampaignIDEThread &stored : storedThreads()) {
        if (stored.id == id) {
            EXPECT_EQ(stored.splitAgentTabID, first);
        }
    }

    // The active tab may be shown in the split too: both panes then show it.
    model->showAgentTabInSplit(active, id);
    EXPECT_EQ(thread(id)->splitAgentTabID, active);
}

TEST_F(ThreadViewOperationsTest, SaveLocalWritesTheThreadAndTheSelectedProjectThenSaysSo)
{
    const CampaignIDEThread shown = firstThread();
    model->setSelectedProjectID(shown.projectID);
    const QString folder = folderOf(shown);
    QFile::remove(folder + u"/media-plan.csv"_s);
    QFile::remove(folder + u"/thread-transcript.json"_s);
    QFile::remove(folder + u"/campaign-plan.md"_s);

    model->saveThreadToLocalWorkspace(shown.id);
    ASSERT_TRUE(waitForNotice());
    EXPECT_EQ(notice(), u"Saved campaign-plan.md, media-plan.csv, and creatives.json to ~/Documents/Orvane."_s);
    for (const QString &name :
        { u"media-plan.csv"_s, u"thread-transcript.json"_s, u"campaign-plan.md"_s, u"creatives.json"_s })
        EXPECT_TRUE(QFile::exists(folder + u'/' + name)) << name.toStdString();
}

// A write that fails, or a thread whose project is gone, is named in the notice instead of being
// reported as saved.
TEST_F(ThreadViewOperationsTest, SaveLocalReportsWhatCouldNotBeSaved)
{
    const CampaignIDEThread shown = firstThread();
    model->setSelectedProjectID(std::nullopt);
    const QString folder = folderOf(shown);
    QFile::remove(folder + u"/media-plan.csv"_s);
    ASSERT_TRUE(QDir().mkpath(folder + u"/media-plan.csv"_s)); // a folder where the file goes
    model->mutateThread(
        shown.id, [](CampaignIDEThread &thread) { thread.mediaPlanRows.removeLast(); },
        CampaignIDEWorkspaceModel::Save::no);

    model->saveThreadToLocalWorkspace(shown.id);
    ASSERT_TRUE(waitForNotice());
    EXPECT_TRUE(notice().startsWith(u"Could not save to ~/Documents/Orvane: "_s)) << notice().toStdString();

    model->setStatusNotice(std::nullopt);
    model->mutateThread(shown.id, [](CampaignIDEThread &thread) { thread.projectID = QUuid::createUuid(); });
    model->saveThreadToLocalWorkspace(shown.id);
    ASSERT_TRUE(waitForNotice());
    EXPECT_EQ(notice(), u"Could not save to ~/Documents/Orvane: this thread's campaign project no longer exists"_s);
}

} // namespace
} // namespace orvane::test
