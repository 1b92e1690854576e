#include "ide/model/WorkspaceModelFixture.h"

#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

TEST_F(WorkspaceModelTest, ANoticeClearsItselfUnlessAnotherReplacedIt)
{
    const auto model = makeModel();
    model->setNoticeDuration(std::chrono::milliseconds(400));
    model->flashNotice(u"A"_s);
    QTest::qWait(200); // half of A's time
    model->flashNotice(u"B"_s);
    EXPECT_EQ(model->statusNotice(), u"B"_s);
    // A's countdown ends first and leaves B alone; B's own countdown clears it.
    QTest::qWait(250);
    EXPECT_EQ(model->statusNotice(), u"B"_s);
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
    QTest::qWait(100); // the notice's and the writer's callbacks would have run by now
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
