#include "ide/model/WorkspaceModelFixture.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/sidebar/SidebarProjectListModel.h"
#include "ide/views/sidebar/SidebarThreadListModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

using Scope = SidebarThreadListModel::Scope;

class SidebarListModelsTest : public WorkspaceModelTest {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    [[nodiscard]] static QList<QUuid> ids(const SidebarThreadListModel &list)
    {
        QList<QUuid> shown;
        for (int row = 0; row < list.rowCount(); ++row)
            shown.append(list.threadID(row));
        return shown;
    }
    // What the model's lists say the sidebar should show.
    [[nodiscard]] QList<QUuid> expected(Scope scope) const
    {
        QList<QUuid> wanted;
        for (const CampaignIDEThread &thread :
            scope == Scope::recent ? model->recentThreads() : model->starredThreads())
            wanted.append(thread.id);
        return wanted;
    }
    QUuid newThread(const std::optional<QUuid> &projectID = std::nullopt)
    {
        CampaignIDEWorkspaceModel::NewThread request;
        request.projectID = projectID;
        return model->createNewThread(request);
    }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

TEST_F(SidebarListModelsTest, ThreadListsFollowStarsInsertionsRemovalsAndTheFilterRowByRow)
{
    SidebarThreadListModel recent(*model, Scope::recent);
    SidebarThreadListModel starred(*model, Scope::starred);
    QAbstractItemModelTester recentTester(&recent, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QAbstractItemModelTester starredTester(&starred, QAbstractItemModelTester::FailureReportingMode::Fatal);
    QSignalSpy recentResets(&recent, &QAbstractItemModel::modelReset);
    ASSERT_EQ(ids(recent), expected(Scope::recent));
    ASSERT_EQ(ids(starred), expected(Scope::starred));

    // Starring a thread in the middle of the list puts it in its place among the starred ones.
    const QList<CampaignIDEThread> threads = model->threads();
    for (const CampaignIDEThread &thread : threads) {
        model->toggleStarThread(thread.id);
        EXPECT_EQ(ids(starred), expected(Scope::starred));
    }
    for (const CampaignIDEThread &thread : threads) {
        model->toggleStarThread(thread.id);
        EXPECT_EQ(ids(starred), expected(Scope::starred));
    }

    const QUuid created = newThread();
    EXPECT_EQ(ids(recent).value(0), created);
    model->toggleStarThread(created);
    EXPECT_EQ(ids(starred).value(0), created);
    model->deleteThread(created);
    EXPECT_EQ(ids(recent), expected(Scope::recent));
    EXPECT_EQ(ids(starred), expected(Scope::starred));
    EXPECT_EQ(recentResets.count(), 0);

    // With a project filter only that project's threads are listed, starred or not.
    const QUuid filtered = model->threads().constLast().projectID;
    model->setProjectFilterID(filtered);
    EXPECT_EQ(ids(recent), expected(Scope::recent));
    EXPECT_EQ(ids(starred), expected(Scope::starred));
    for (const CampaignIDEProject &project : model->projects()) {
        const QUuid added = newThread(project.id);
        EXPECT_EQ(ids(recent).contains(added), project.id == filtered);
        EXPECT_EQ(ids(recent), expected(Scope::recent));
    }
    model->setProjectFilterID(std::nullopt);
    EXPECT_EQ(ids(recent), expected(Scope::recent));
}

TEST_F(SidebarListModelsTest, ARowChangesOnlyWhenSomethingItShowsChanges)
{
    SidebarThreadListModel recent(*model, Scope::recent);
    QAbstractItemModelTester tester(&recent, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const CampaignIDEThread thread = model->threads().constFirst();
    QSignalSpy changed(&recent, &QAbstractItemModel::dataChanged);

    model->setThreadDraft(u"half a thought"_s, thread.id, thread.activeAgentTabID);
    EXPECT_EQ(changed.count(), 0);

    model->renameThread(thread.id, u"Q3 Pipeline Push"_s);
    ASSERT_EQ(changed.count(), 1);
    const int row = recent.rowOf(thread.id);
    EXPECT_EQ(recent.index(row).data().toString(), u"Q3 Pipeline Push"_s);
    EXPECT_EQ(recent.index(row).data(SidebarThreadListModel::UpdatedAtRole).toString(), u"Just now"_s);

    model->selectWorkbenchView(IDEWorkbenchView::localFiles, thread.id);
    EXPECT_EQ(recent.index(row).data(SidebarThreadListModel::WorkbenchRole).toString(), u"Local Files"_s);
}

TEST_F(SidebarListModelsTest, ProjectRowsStayConsistentThroughInsertionsChangesAndRemovals)
{
    SidebarProjectListModel projects(model->projectStore());
    QAbstractItemModelTester tester(&projects, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QUuid created = model->createProject(u"Spring Push"_s, std::nullopt, nullptr);
    EXPECT_EQ(projects.projectID(0), created);
    model->mutateProject(created, [](CampaignIDEProject &project) { project.status = u"Live"_s; });
    model->deleteProject(created);
    EXPECT_EQ(projects.rowOf(created), -1);
    EXPECT_EQ(projects.rowCount(), model->projects().size());
}

TEST(SidebarProjectDetail, TheBudgetIsTheFirstDollarFigureElseTheDefault)
{
    const auto detail = [](const QString &channels) {
        CampaignIDEProject project;
        project.channelsAndBudget = channels;
        project.status = u"Plan ready"_s;
        return SidebarProjectListModel::detailLine(project);
    };
    EXPECT_EQ(detail(u"Google Search + LinkedIn + Reddit \u00B7 $45,000/mo"_s), u"$45,000 \u00B7 Plan ready"_s);
    EXPECT_EQ(detail(u"LinkedIn $12k test, then $30,000"_s), u"$12k \u00B7 Plan ready"_s);
    EXPECT_EQ(detail(u"TBD"_s), u"$45,000 \u00B7 Plan ready"_s);
    EXPECT_EQ(detail(u"$ 500"_s), u"$45,000 \u00B7 Plan ready"_s);
    EXPECT_EQ(detail(u"$12K"_s), u"$12 \u00B7 Plan ready"_s);
    EXPECT_EQ(detail(u"$,,"_s), u"$,, \u00B7 Plan ready"_s);
    // A megabyte figure is cut to a label's worth: the row lays its line out each time it is measured.
    const QString megabyte = u'$' + QString(1'000'000, u'1');
    EXPECT_TRUE(detail(megabyte) == labelText(megabyte) + u" \u00B7 Plan ready"_s) << detail(megabyte).size();
}

} // namespace
} // namespace orvane::test
