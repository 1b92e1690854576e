#include "OperationsTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class CanvasInspectorOperationsTest : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
        model->setSelectedArtboardID(std::nullopt);
        ASSERT_GE(model->selectedProject()->creatives.size(), 2);
    }
    [[nodiscard]] CreativeCanvasArtboard artboard(qsizetype row) const
    {
        return model->selectedProject()->creatives.at(row);
    }
};

// The inspector acts on an artboard by id: it selects it, then edits it as the selected one (how an
// edit or decision settles the project is checked with the selected-artboard operations).
TEST_F(CanvasInspectorOperationsTest, AReviewDecisionOrHeadlineEditSelectsItsArtboard)
{
    model->approveAllCreatives();
    const QUuid second = artboard(1).id;
    model->setArtboardReviewStatus(second, CreativeReviewStatus::rejected);
    EXPECT_EQ(model->selectedArtboardID(), second);
    EXPECT_EQ(artboard(1).reviewStatus, CreativeReviewStatus::rejected);
    EXPECT_EQ(model->selectedProject()->status, u"Creative review"_s);

    const QUuid first = artboard(0).id;
    model->updateArtboardHeadline(first, u"New hook"_s);
    EXPECT_EQ(model->selectedArtboardID(), first);
    EXPECT_EQ(artboard(0).headline, u"New hook"_s);
    EXPECT_TRUE(artboard(0).requiresRereview);
    EXPECT_EQ(storedProjects().first().creatives.at(0).headline, u"New hook"_s);
}

TEST_F(CanvasInspectorOperationsTest, AnArtboardTheSelectedProjectDoesNotHoldChangesNothing)
{
    model->selectArtboard(artboard(0).id);
    const auto before = *model->selectedProject();
    QSignalSpy projectChanges(model.get(), &CampaignIDEWorkspaceModel::projectChanged);

    const QUuid stranger = QUuid::createUuid();
    model->setArtboardReviewStatus(stranger, CreativeReviewStatus::approved);
    model->updateArtboardHeadline(stranger, u"Lost"_s);

    EXPECT_EQ(model->selectedArtboardID(), before.creatives.first().id);
    EXPECT_EQ(*model->selectedProject(), before);
    EXPECT_TRUE(projectChanges.isEmpty());
}

} // namespace
} // namespace orvane::test
