#include "ide/model/WorkspaceModelFixture.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

TEST_F(WorkspaceModelTest, ANoticeClearsItselfUnlessAnotherReplacedIt)
{
    const auto model = makeModel();
    model->setNoticeDuration(std::chrono::milliseconds(10));
    model->flashNotice(u"A"_s);
    model->setNoticeDuration(std::chrono::milliseconds(300));
    model->flashNotice(u"B"_s);
    EXPECT_EQ(model->statusNotice(), u"B"_s);
    // Timers fire in the order of their deadlines, however late the loop runs: a probe due between
    // the two countdowns sees what A's left behind and B's has not touched yet.
    std::optional<QString> afterA;
    bool probed = false;
    QTimer::singleShot(std::chrono::milliseconds(50), model.get(), [&] {
        afterA = model->statusNotice();
        probed = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 2000));
    EXPECT_EQ(afterA, u"B"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 2000));
}

// A report of how something went stays the notice duration; a warning stays long enough to be read:
// the duration and a ninth of it more a word (3 s and a third of a second a word), and a held
// notice stays until let go, then the notice duration more.
TEST_F(WorkspaceModelTest, AWarningStaysLongEnoughToBeReadAndWhileHeld)
{
    using std::chrono::milliseconds;
    const auto model = makeModel();
    model->setNoticeDuration(milliseconds(3000));
    const QString twentyWords = u"Orvane could not reach the cloud, so this reply is the local agent's; "_s
                                u"the service said the request timed out."_s;
    EXPECT_EQ(model->noticeTime(u"Added row to Media Plan Table."_s, NoticeKind::info), milliseconds(3000));
    EXPECT_EQ(model->noticeTime(twentyWords, NoticeKind::info), milliseconds(3000));
    EXPECT_EQ(model->noticeTime(twentyWords, NoticeKind::warning), milliseconds(3000 + 20 * 3000 / 9));
    EXPECT_EQ(model->noticeTime(u"  Failed \n to   save "_s, NoticeKind::warning), milliseconds(4000));
    // A path counts by its length, six characters a word: 10 words for 60 characters.
    const QString path = u"~/Documents/Orvane/orvane-local-campaign-ide-launch/notes.md"_s;
    ASSERT_EQ(path.size(), 60);
    EXPECT_EQ(model->noticeTime(u"Failed to save "_s + path + u" and "_s + path, NoticeKind::warning),
        milliseconds(3000 + (3 + 10 + 1 + 10) * 3000 / 9));

    // Scaled down: a 9-word warning stays twice as long as a report.
    model->setNoticeDuration(milliseconds(150));
    const QString nineWords = u"one two three four five six seven eight nine"_s;
    model->flashNotice(nineWords, NoticeKind::warning);
    std::optional<QString> afterReportTime;
    bool probed = false;
    QTimer::singleShot(milliseconds(200), model.get(), [&] {
        afterReportTime = model->statusNotice();
        probed = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 2000));
    EXPECT_EQ(afterReportTime, nineWords);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 2000));

    // Held past its time, it stays; let go, it stays the notice duration more.
    model->flashNotice(u"held"_s, NoticeKind::warning);
    model->holdNotice(true);
    QTest::qWait(500);
    EXPECT_EQ(model->statusNotice(), u"held"_s);
    model->holdNotice(false);
    EXPECT_EQ(model->statusNotice(), u"held"_s);
    // A probe due a third of the notice duration after the let-go runs before the countdown the
    // let-go started, and finds the notice still there.
    std::optional<QString> afterLetGo;
    probed = false;
    QTimer::singleShot(milliseconds(50), model.get(), [&] {
        afterLetGo = model->statusNotice();
        probed = true;
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 2000));
    EXPECT_EQ(afterLetGo, u"held"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 2000));

    // A notice replaced while held is left to its own time.
    model->flashNotice(u"first"_s, NoticeKind::warning);
    model->holdNotice(true);
    QTest::qWait(400);
    model->flashNotice(u"second"_s);
    model->holdNotice(false);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 2000));
}

// Destroying the model while a notice counts down and writes are pending neither crashes nor
// writes afterwards: pending writes land before the destructor returns, and nothing comes later.
TEST_F(WorkspaceModelTest, DestructionFlushesPendingWritesAndNothingRunsAfterIt)
{
    auto model = makeModel();
    model->setNoticeDuration(std::chrono::milliseconds(30));
    for (int i = 0; i < 50; ++i) {
        model->mutateProject(model->projects().first().id,
            [i](CampaignIDEProject &p) { p.objective = u"Objective "_s + QString::number(i); });
        model->mutateThread(
            model->threads().first().id, [i](CampaignIDEThread &t) { t.title = u"Title "_s + QString::number(i); });
    }
    model->flashNotice(u"counting down"_s);
    model->reloadLocalFilesForSelectedProject();
    model->saveSelectedLocalFile();
    model.reset();

    const QByteArray state = readAll(stateFile());
    const auto projects = decodeJson<QList<CampaignIDEProject>>(state);
    EXPECT_EQ(utf8(projects.first().objective), "Objective 49"); // the newest snapshot won
    const auto threads = readStoredThreads();
    ASSERT_FALSE(threads.isEmpty());
    EXPECT_EQ(utf8(threads.first().title), "Title 49");

    const QDateTime stateTime = QFileInfo(stateFile()).lastModified();
    // Due after the notice's countdown, so once it fired, that countdown and whatever the writer
    // posted back would have run.
    bool probed = false;
    const QObject probeContext;
    QTimer::singleShot(std::chrono::milliseconds(60), &probeContext, [&probed] { probed = true; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return probed; }, 2000));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(QFileInfo(stateFile()).lastModified(), stateTime);
    EXPECT_EQ(readAll(stateFile()), state);
}

TEST_F(WorkspaceModelTest, QuittingTheApplicationFlushesPendingWrites)
{
    const auto model = makeModel();
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Quit"_s; });
    // What the application does as its event loop ends.
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    EXPECT_EQ(decodeJson<QList<CampaignIDEProject>>(readAll(stateFile())).first().name, u"Quit"_s);
}

// A draft is not saved at each keystroke, but what the model holds is written when it goes and
// when the application quits, and a restart shows it; a model that changed nothing writes nothing.
TEST_F(WorkspaceModelTest, DraftsAreStoredWhenTheModelEndsAndWhenTheApplicationQuits)
{
    auto model = makeModel();
    const QUuid threadID = model->threads().first().id;
    const QUuid tabID = model->threads().first().agentTabs.first().id;
    model.reset();
    EXPECT_FALSE(QFileInfo::exists(threadStoreFile()));

    model = makeModel();
    model->setThreadDraft(u"Half a thought"_s, threadID, tabID);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(threadStoreFile())); // not at each keystroke
    restart(model);
    EXPECT_EQ(model->threads().first().agentTabs.first().draftPrompt, u"Half a thought"_s);

    model->setThreadDraft(u"Typed before the quit"_s, threadID, tabID);
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    const QList<CampaignIDEThread> stored = readStoredThreads();
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored.first().agentTabs.first().draftPrompt, u"Typed before the quit"_s);
}

TEST_F(WorkspaceModelTest, MutationsPublishFineGrainedSignals)
{
    const auto model = makeModel();
    QSignalSpy threadChanged(model.get(), &CampaignIDEWorkspaceModel::threadChanged);
    QSignalSpy threadsChanged(model.get(), &CampaignIDEWorkspaceModel::threadsChanged);
    QSignalSpy inserted(model.get(), &CampaignIDEWorkspaceModel::threadInserted);
    QSignalSpy removed(model.get(), &CampaignIDEWorkspaceModel::threadRemoved);
    const QUuid id = model->threads().first().id;
    EXPECT_TRUE(model->mutateThread(id, [](CampaignIDEThread &t) { t.isStarred = !t.isStarred; }));
    EXPECT_FALSE(model->mutateThread(QUuid::createUuid(), [](CampaignIDEThread &) {}));
    ASSERT_EQ(threadChanged.count(), 1);
    EXPECT_EQ(threadChanged.first().first().value<QUuid>(), id);
    EXPECT_EQ(threadsChanged.count(), 0);

    CampaignIDEThread extra = model->threads().first();
    extra.id = QUuid::createUuid();
    model->insertThread(0, extra);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.first().first().value<qsizetype>(), 0);
    EXPECT_EQ(model->removeThreads([&](const CampaignIDEThread &t) { return t.id == extra.id; }), 1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.first().at(1).value<QUuid>(), extra.id);

    QSignalSpy projectChanged(model.get(), &CampaignIDEWorkspaceModel::projectChanged);
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.updated = u"Now"_s; });
    EXPECT_EQ(projectChanged.count(), 1);

    // Setting a value that is already stored announces nothing.
    QSignalSpy section(model.get(), &CampaignIDEWorkspaceModel::selectedSectionChanged);
    model->setSelectedSection(model->selectedSection());
    EXPECT_EQ(section.count(), 0);
}

} // namespace
} // namespace orvane::test
