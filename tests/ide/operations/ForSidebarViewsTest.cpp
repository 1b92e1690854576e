#include "ide/operations/OperationsTestSupport.h"

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

TEST_F(OperationsTest, OpeningAProjectThreadMakesTheLaunchThreadOnceThenReopensIt)
{
    const QUuid projectID = model->createProject(u"Spring Push"_s, std::nullopt, nullptr);
    model->navigateTo(IDEPrimaryDestination::projects());
    model->removeThreads([&](const CampaignIDEThread &t) { return t.projectID == projectID; });
    const qsizetype before = model->threads().size();

    const auto opened = model->openProjectThread(projectID);

    ASSERT_TRUE(opened);
    ASSERT_EQ(model->threads().size(), before + 1);
    EXPECT_EQ(model->threads().first().id, *opened);
    EXPECT_EQ(model->threads().first().title, u"Spring Push \u2014 Launch Thread"_s);
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(*opened));
    EXPECT_EQ(model->selectedProjectID(), projectID);

    model->navigateTo(IDEPrimaryDestination::agents());
    EXPECT_EQ(model->openProjectThread(projectID), opened);
    EXPECT_EQ(model->threads().size(), before + 1);
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(*opened));
}

TEST_F(OperationsTest, OpeningAProjectThreadOpensTheFirstThreadInListOrderWithItsWorkbench)
{
    const QUuid projectID = firstThread().projectID;
    const QUuid older = firstThread().id;
    model->selectWorkbenchView(IDEWorkbenchView::table, older);
    CampaignIDEWorkspaceModel::NewThread request;
    request.projectID = projectID;
    const QUuid newer = model->createNewThread(request);
    model->navigateTo(IDEPrimaryDestination::projects());

    EXPECT_EQ(model->openProjectThread(projectID), newer); // new threads go first
    model->removeThreads([&](const CampaignIDEThread &t) { return t.id == newer; });
    EXPECT_EQ(model->openProjectThread(projectID), older);
    ASSERT_NE(thread(older), nullptr);
    EXPECT_EQ(thread(older)->workbenchView, IDEWorkbenchView::table);
}

} // namespace
} // namespace orvane::test
