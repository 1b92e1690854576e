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
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.first().first().value<QUuid>(), target.id);
    // The whole list is saved with the new view.
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(OperationsTest, OpeningAThreadWithoutAWorkbenchFollowsItsStoredViewAndKeepsScopeAndArtboard)
{
    model->navigateTo(Destination::thread(firstThread().id));
    const auto scopeBefore = model->copilotStore()->activeScope();
    ASSERT_TRUE(scopeBefore);
    const QUuid firstProjectArtboard = *model->selectedArtboardID();
    const CampaignIDEThread target = otherProjectThread();

    model->openThread(target.id);

    EXPECT_EQ(thread(target.id)->workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::document);
    EXPECT_EQ(model->copilotStore()->activeScope(), scopeBefore); // opening does not re-scope
    EXPECT_EQ(model->selectedArtboardID(), firstProjectArtboard); // though of another project
}

// --- openProjectThread ----------------------------------------------------------------------------

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

// --- deleteThread ---------------------------------------------------------------------------------

TEST_F(OperationsTest, DeletingAThreadThatIsNotOpenLeavesNavigationAlone)
{
    const QUuid open = *model->primaryDestination().threadID();
    const CampaignIDEThread other = otherProjectThread();
    QSignalSpy removed(model.get(), &CampaignIDEWorkspaceModel::threadRemoved);
    // Nothing is saved at start-up; deleting an unknown thread saves the list unchanged.
    ASSERT_FALSE(hasStoredThreads());
    const auto threadsBefore = model->threads();
    model->deleteThread(QUuid::createUuid());
    EXPECT_EQ(storedThreads(), threadsBefore);

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

TEST_F(OperationsTest, DeletingTheOpenThreadOpensTheFirstRemainingOneAndTheLastTheProjects)
{
    const CampaignIDEThread remaining = otherProjectThread();
    model->deleteThread(*model->primaryDestination().threadID());
    ASSERT_EQ(model->threads().size(), 1);
    EXPECT_EQ(model->primaryDestination(), Destination::thread(remaining.id));
    EXPECT_EQ(model->selectedProjectID(), remaining.projectID);

    model->deleteThread(remaining.id);

    EXPECT_TRUE(model->threads().isEmpty());
    EXPECT_EQ(model->primaryDestination(), Destination::projects());
    EXPECT_FALSE(model->selectedProjectID());
    EXPECT_TRUE(storedThreads().isEmpty());
    EXPECT_TRUE(QFileInfo::exists(threadStoreFile())); // an empty list was stored
}

// Among three, deleting the open one opens the first of the two left (the list's order), not the
// last.
TEST_F(OperationsTest, DeletingTheOpenThreadAmongThreeOpensTheFirstRemainingOne)
{
    const QUuid created = model->createNewThread({ .projectID = otherProjectThread().projectID });
    ASSERT_EQ(model->threads().size(), 3);
    ASSERT_EQ(model->threads().first().id, created); // new threads go first
    const CampaignIDEThread second = model->threads().at(1);
    const CampaignIDEThread last = model->threads().last();
    ASSERT_NE(second.projectID, last.projectID);

    model->deleteThread(created);

    ASSERT_EQ(model->threads().size(), 2);
    EXPECT_EQ(model->primaryDestination(), Destination::thread(second.id));
    EXPECT_EQ(model->selectedProjectID(), second.projectID);
}

// --- Lists and counts -----------------------------------------------------------------------------

TEST_F(OperationsTest, StarredThreadsFollowTheProjectFilterInListOrderAndEveryRowIsATrackedCampaign)
{
    qsizetype rows = 0;
    for (const CampaignIDEThread &t : model->threads())
        rows += t.mediaPlanRows.size();
    EXPECT_EQ(model->totalTrackedCampaignsCount(), rows);

    const CampaignIDEThread other = otherProjectThread();
    const QUuid extra = model->createNewThread({ .projectID = other.projectID });
    model->toggleStarThread(extra);
    model->addMediaPlanRow(extra);
    EXPECT_EQ(model->totalTrackedCampaignsCount(), rows + thread(extra)->mediaPlanRows.size());

    const auto starred = [this] {
        QList<QUuid> ids;
        for (const CampaignIDEThread &t : model->starredThreads())
            ids.append(t.id);
        return ids;
    };
    ASSERT_EQ(starred().size(), 3);
    EXPECT_EQ(starred().first(), extra); // new threads come first in the list

    model->setProjectFilterID(other.projectID);
    EXPECT_EQ(starred(), (QList<QUuid> { extra, other.id }));

    model->toggleStarThread(extra);
    EXPECT_EQ(model->starredThreads().size(), 1);
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

    // A decided gate counts as nothing: the first seed thread's second entry carries the pending one.
    const CampaignAgentTab &gateTab = firstThread().agentTabs.first();
    ASSERT_TRUE(gateTab.entries.at(1).inlineApproval);
    model->rejectInlineAction(firstThread().id, gateTab.id, gateTab.entries.at(1).id);
    EXPECT_EQ(model->totalPendingApprovalsCount(), 3);

    QList<CampaignIDEAgentProposal> proposals = model->agentProposals();
    proposals.first().status = AgentProposalStatus::applied;
    model->setAgentProposals(proposals);
    EXPECT_EQ(model->totalPendingApprovalsCount(), 2);
}

} // namespace
} // namespace orvane::test
