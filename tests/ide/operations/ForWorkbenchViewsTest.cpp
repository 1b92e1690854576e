#include "ide/operations/OperationsTestSupport.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class PlanDocumentOperationsTest : public OperationsTest {
protected:
    [[nodiscard]] const CampaignIDEProject &first() const { return model->projects().first(); }
};

// The objective and audience edits reach the same project as the name and budget edits: the
// selected one, else the first one while nothing is selected.
TEST_F(PlanDocumentOperationsTest, ObjectiveAndAudienceEditTheProjectTheNameFieldEdits)
{
    model->setSelectedProjectID(std::nullopt);
    ASSERT_EQ(model->planEditTargetProjectID(), first().id);
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::projectChanged);

    model->updateSelectedProjectObjective(u"Pipeline\nfirst"_s);
    model->updateSelectedProjectAudience(u" RevOps leaders "_s);

    EXPECT_EQ(first().objective, u"Pipeline\nfirst"_s);
    EXPECT_EQ(first().audience, u" RevOps leaders "_s);
    EXPECT_EQ(first().updated, u"Now"_s);
    EXPECT_EQ(changed.count(), 2);
    const QList<CampaignIDEProject> stored = storedProjects();
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored.first().audience, u" RevOps leaders "_s);

    const CampaignIDEProject &second = model->projects().at(1);
    model->setSelectedProjectID(second.id);
    model->updateSelectedProjectAudience(u"Second"_s);
    EXPECT_EQ(project(second.id)->audience, u"Second"_s);
    EXPECT_EQ(first().audience, u" RevOps leaders "_s);
}

// The raw plan editor saves campaign-plan.md even while the local files view has another file
// selected; that other file keeps its unsaved edit.
TEST_F(PlanDocumentOperationsTest, SavingThePlanFileSelectsAndWritesCampaignPlan)
{
    model->openProject(first().id);
    model->flushPendingWrites();
    model->setSelectedLocalFileName(u"media-plan.csv"_s);
    model->updateSelectedLocalFileContent(u"edited,csv\n"_s);
    model->setSelectedLocalFileName(u"campaign-plan.md"_s);
    model->updateSelectedLocalFileContent(u"# Plan typed by hand\n"_s);
    model->setSelectedLocalFileName(u"media-plan.csv"_s);

    model->saveCampaignPlanFile();
    model->flushPendingWrites();

    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_EQ(model->selectedLocalFile()->name, u"campaign-plan.md"_s);
    EXPECT_FALSE(model->selectedLocalFile()->isModified);
    EXPECT_EQ(readAll(projectFile(first().slug(), u"campaign-plan.md"_s)), "# Plan typed by hand\n");
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice() == u"Saved campaign-plan.md to disk."_s; }, 2000));
    for (const LocalWorkspaceFile &file : model->localFiles()) {
        if (file.name == u"media-plan.csv"_s) {
            EXPECT_TRUE(file.isModified);
        }
    }
}

} // namespace
} // namespace orvane::test
