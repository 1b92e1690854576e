#include "ide/operations/OperationsTestSupport.h"

#include <QFileInfo>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

using Destination = IDEPrimaryDestination;

// --- navigateTo -----------------------------------------------------------------------------------

TEST_F(OperationsTest, NavigatingToProjectsClearsTheSelectionAndFilterEvenWithAThreadOpen)
{
    ASSERT_TRUE(model->primaryDestination().isThread());
    model->notificationCenter()->setProjectFilter(firstThread().projectID);
    QSignalSpy selection(model.get(), &CampaignIDEWorkspaceModel::selectedProjectIDChanged);

    model->navigateTo(Destination::projects());

    EXPECT_EQ(model->primaryDestination(), Destination::projects());
    EXPECT_FALSE(model->selectedProjectID());
    EXPECT_FALSE(model->notificationCenter()->projectFilter());
    EXPECT_EQ(selection.count(), 1);
    ASSERT_TRUE(model->copilotStore()->activeScope());
    EXPECT_FALSE(model->copilotStore()->activeScope()->projectID); // the projects home's scope
}

TEST_F(OperationsTest, NavigatingToReportsOrSettingsKeepsTheProjectAndOnlyChangesTheSection)
{
    const auto selected = model->selectedProjectID();
    ASSERT_TRUE(selected);

    model->navigateTo(Destination::reports());
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::reports);
    EXPECT_EQ(model->selectedProjectID(), selected);

    model->navigateTo(Destination::settings());
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::settings);
    EXPECT_EQ(model->selectedProjectID(), selected);
    EXPECT_EQ(model->primaryDestination(), Destination::settings());

    const CampaignIDESection before = model->selectedSection();
    for (const Destination &surface :
        { Destination::campaigns(), Destination::agents(), Destination::assets(), Destination::connections() }) {
        model->navigateTo(surface);
        EXPECT_EQ(model->primaryDestination(), surface);
        EXPECT_EQ(model->selectedSection(), before);
        EXPECT_EQ(model->selectedProjectID(), selected);
    }
}

TEST_F(OperationsTest, NavigatingToAnUnknownThreadSetsTheDestinationAndStillActivatesTheCopilot)
{
    const QUuid other = otherProjectThread().projectID;
    model->setSelectedProjectID(other); // a setter alone does not re-scope the copilot
    ASSERT_FALSE(model->copilotStore()->activeScope()); // nothing activated it yet
    const QUuid unknown = QUuid::createUuid();

    model->navigateTo(Destination::thread(unknown));

    EXPECT_EQ(model->primaryDestination(), Destination::thread(unknown));
    EXPECT_EQ(model->selectedProjectID(), other);
    ASSERT_TRUE(model->copilotStore()->activeScope());
    EXPECT_EQ(model->copilotStore()->activeScope()->projectID, other);
}

TEST_F(OperationsTest, NavigatingToAThreadAppliesItsProjectContext)
{
    const CampaignIDEThread target = otherProjectThread(); // a table thread of the second project
    ASSERT_EQ(target.workbenchView, IDEWorkbenchView::table);
    model->setSelectedArtboardID(std::nullopt);

    model->navigateTo(Destination::thread(target.id));

    EXPECT_EQ(model->selectedProjectID(), target.projectID);
    EXPECT_EQ(model->notificationCenter()->projectFilter(), target.projectID);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::document); // the table maps to the plan
    EXPECT_EQ(model->selectedArtboardID(), project(target.projectID)->creatives.first().id);
    ASSERT_TRUE(model->copilotStore()->activeScope());
    EXPECT_EQ(model->copilotStore()->activeScope()->projectID, target.projectID);
    model->flushPendingWrites();
    EXPECT_TRUE(model->revealFolderPath().endsWith(u'/' + project(target.projectID)->slug()));
}

// --- openThread -----------------------------------------------------------------------------------

TEST_F(OperationsTest, OpeningAThreadWithAWorkbenchStoresItBeforeTheSectionFollows)
{
    const CampaignIDEThread target = otherProjectThread();
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);

    model->openThread(target.id, IDEWorkbenchView::canvas);

    EXPECT_EQ(thread(target.id)->workbenchView, IDEWorkbenchView::canvas);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::creativeStudio);
    EXPECT_EQ(model->primaryDestination(), Destination::thread(target.id));
    EXPECT_EQ(model->selectedProjectID(), target.projectID);
    EXPECT_EQ(model->notificationCenter()->projectFilter(), target.projectID);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().value<QUuid>(), target.id);
    // The whole list is saved with the new view.
    const QList<CampaignIDEThread> stored = storedThreads();
    ASSERT_EQ(stored.size(), model->threads().size());
    EXPECT_EQ(stored, model->threads());
}

TEST_F(OperationsTest, OpeningAThreadWithoutAWorkbenchFollowsItsStoredViewAndKeepsTheCopilotScope)
{
    model->navigateTo(Destination::thread(firstThread().id));
    const auto scopeBefore = model->copilotStore()->activeScope();
    ASSERT_TRUE(scopeBefore);
    const CampaignIDEThread target = otherProjectThread();

    model->openThread(target.id);

    EXPECT_EQ(thread(target.id)->workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::document);
    EXPECT_EQ(model->copilotStore()->activeScope(), scopeBefore); // opening does not re-scope
}

TEST_F(OperationsTest, OpeningAThreadKeepsAnArtboardOfAnotherProjectSelected)
{
    const QUuid firstProjectArtboard = *model->selectedArtboardID();
    model->openThread(otherProjectThread().id);
    EXPECT_EQ(model->selectedArtboardID(), firstProjectArtboard);
}

// --- deleteThread ---------------------------------------------------------------------------------

TEST_F(OperationsTest, DeletingAThreadThatIsNotOpenLeavesNavigationAlone)
{
    const QUuid open = *model->primaryDestination().threadID();
    const CampaignIDEThread other = otherProjectThread();
    QSignalSpy removed(model.get(), &CampaignIDEWorkspaceModel::threadRemoved);

    model->deleteThread(other.id);

    EXPECT_EQ(thread(other.id), nullptr);
    EXPECT_EQ(model->primaryDestination(), Destination::thread(open));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.first().at(1).value<QUuid>(), other.id);
    EXPECT_EQ(storedThreads(), model->threads());
    // The thread's project and its folder stay.
    EXPECT_NE(project(other.projectID), nullptr);
    EXPECT_TRUE(QFileInfo::exists(projectFile(project(other.projectID)->slug(), u"media-plan.csv"_s)));
}

TEST_F(OperationsTest, DeletingTheOpenThreadOpensTheFirstRemainingOne)
{
    const QUuid open = *model->primaryDestination().threadID();
    const CampaignIDEThread remaining = otherProjectThread();

    model->deleteThread(open);

    EXPECT_EQ(model->primaryDestination(), Destination::thread(remaining.id));
    EXPECT_EQ(model->selectedProjectID(), remaining.projectID);
}

TEST_F(OperationsTest, DeletingTheOnlyOpenThreadNavigatesToTheProjects)
{
    model->deleteThread(otherProjectThread().id);
    ASSERT_EQ(model->threads().size(), 1);

    model->deleteThread(firstThread().id);

    EXPECT_TRUE(model->threads().isEmpty());
    EXPECT_EQ(model->primaryDestination(), Destination::projects());
    EXPECT_FALSE(model->selectedProjectID());
    EXPECT_TRUE(storedThreads().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(threadStoreFile())); // an empty list was stored
}

TEST_F(OperationsTest, DeletingAnUnknownThreadStillSaves)
{
    ASSERT_FALSE(QFileInfo::exists(threadStoreFile())); // nothing is saved at start-up
    const auto threadsBefore = model->threads();
    model->deleteThread(QUuid::createUuid());
    EXPECT_EQ(model->threads(), threadsBefore);
    EXPECT_EQ(storedThreads(), threadsBefore);
}

// --- Lists and counts -----------------------------------------------------------------------------

TEST_F(OperationsTest, StarredThreadsFollowTheProjectFilterInListOrder)
{
    const CampaignIDEThread other = otherProjectThread();
    const QUuid extra = model->createNewThread({ .projectID = other.projectID });
    model->toggleStarThread(extra);

    QList<QUuid> all;
    for (const CampaignIDEThread &t : model->starredThreads())
        all.append(t.id);
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all.first(), extra); // new threads come first in the list

    model->setProjectFilterID(other.projectID);
    QList<QUuid> filtered;
    for (const CampaignIDEThread &t : model->starredThreads())
        filtered.append(t.id);
    EXPECT_EQ(filtered, (QList<QUuid> { extra, other.id }));

    model->toggleStarThread(extra);
    EXPECT_EQ(model->starredThreads().size(), 1);
}

TEST_F(OperationsTest, TrackedCampaignsCountEveryMediaPlanRow)
{
    qsizetype rows = 0;
    for (const CampaignIDEThread &t : model->threads())
        rows += t.mediaPlanRows.size();
    EXPECT_EQ(model->totalTrackedCampaignsCount(), rows);
    model->addMediaPlanRow(firstThread().id);
    EXPECT_EQ(model->totalTrackedCampaignsCount(), rows + 1);
}

TEST_F(OperationsTest, PendingApprovalsCountPendingGatesEveryServiceActionAndPendingProposals)
{
    // The seeds hold one pending gate; the samples one pending artboard proposal.
    ASSERT_EQ(model->totalPendingApprovalsCount(), 2);

    PendingAction approved;
    approved.id = u"a1"_s;
    approved.status = u"approved"_s;
    PendingAction pending;
    pending.id = u"a2"_s;
    model->setPendingActions({ approved, pending });
    EXPECT_EQ(model->totalPendingApprovalsCount(), 4); // the service's, whatever their status

    // A decided gate counts as nothing.
    const CampaignIDEThread &seed = firstThread();
    const CampaignAgentTab *gateTab = nullptr;
    const CampaignTimelineEntry *gate = nullptr;
    for (const CampaignAgentTab &tab : seed.agentTabs) {
        for (const CampaignTimelineEntry &entry : tab.entries) {
            if (entry.inlineApproval) {
                gateTab = &tab;
                gate = &entry;
            }
        }
    }
    ASSERT_NE(gate, nullptr);
    model->rejectInlineAction(seed.id, gateTab->id, gate->id);
    EXPECT_EQ(model->totalPendingApprovalsCount(), 3);

    QList<CampaignIDEAgentProposal> proposals = model->agentProposals();
    proposals.first().status = AgentProposalStatus::applied;
    model->setAgentProposals(proposals);
    EXPECT_EQ(model->totalPendingApprovalsCount(), 2);
}

} // namespace
} // namespace orvane::test
