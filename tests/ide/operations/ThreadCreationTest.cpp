#include "ide/operations/OperationsTestSupport.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "testsupport/Golden.h"

#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

using ThreadCreationTest = OperationsTest;

TEST_F(ThreadCreationTest, ANewThreadIsSeededPutFirstOpenedAndWrittenToItsProjectFolder)
{
    const QUuid projectID = otherProjectThread().projectID;
    QSignalSpy inserted(model.get(), &CampaignIDEWorkspaceModel::threadInserted);

    const QUuid id = model->createNewThread({ .title = u"  Q3 Search push \n"_s, .projectID = projectID });

    ASSERT_EQ(model->threads().first().id, id);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.first().first().value<qsizetype>(), 0);
    const CampaignIDEThread &created = model->threads().first();
    EXPECT_EQ(created.projectID, projectID);
    EXPECT_EQ(created.activeAgentTabID, created.agentTabs.value(0).id);
    // The whole record (its random campaign tag is checked below) against the golden file, the seed
    // rows and ads (pinned by the seeds' own test) under fresh ids.
    Json document = toJson(created);
    document["utmCampaign"] = "<tag>";
    document["projectID"] = "<project>";
    const auto withoutIDs = [](Json records) {
        for (Json &record : records)
            record.erase("id");
        return records;
    };
    EXPECT_EQ(withoutIDs(document["mediaPlanRows"]), withoutIDs(toJson(OrvaneWebParitySeeds::defaultMediaPlanRows())));
    EXPECT_EQ(withoutIDs(document["competitorAds"]),
        withoutIDs(toJson(OrvaneWebParitySeeds::defaultCompetitorAds(created.competitorDomain))));
    document["mediaPlanRows"] = "the seed rows";
    document["competitorAds"] = "the seed ads";
    EXPECT_TRUE(matchesGolden("ide/operations/golden/new-thread.json", document));

    // Opened with its project context, saved, and its files written.
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(id));
    EXPECT_EQ(model->selectedProjectID(), projectID);
    const QList<CampaignIDEThread> stored = storedThreads();
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored.first(), created);
    const QString transcript
        = QString::fromUtf8(readAll(projectFile(project(projectID)->slug(), u"thread-transcript.json"_s)));
    EXPECT_TRUE(transcript.contains(u"Q3 Search push"_s));
}

TEST_F(ThreadCreationTest, WithoutProjectsAProjectIsCreatedFirstAndTheThreadIsTitledFromThePersona)
{
    startModel(QList<CampaignIDEProject> {});

    const QUuid id = model->createNewThread({});

    ASSERT_EQ(model->projects().size(), 1);
    const CampaignIDEProject &created = model->projects().first();
    EXPECT_EQ(created.name, u"New Growth Campaign"_s);
    const CampaignIDEThread *made = thread(id);
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(made->projectID, created.id);
    EXPECT_EQ(made->title, u"Campaign Thread · Orvane Native Operator"_s);
    EXPECT_EQ(model->threads().first().id, id);
    // Opening the new project gave it its launch thread before this thread was added.
    ASSERT_GE(model->threads().size(), 2);
    EXPECT_EQ(model->threads().at(1).projectID, created.id);
    EXPECT_TRUE(model->threads().at(1).title.endsWith(u" — Launch Thread"_s));
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(id));

    // A title of spaces titles the thread from the persona too, but names the new project as given.
    startModel(QList<CampaignIDEProject> {});
    const QUuid spaced = model->createNewThread({ .title = u"   "_s });
    EXPECT_EQ(model->projects().first().name, u"   "_s);
    EXPECT_EQ(model->projects().first().slug(), u"campaign"_s);
    EXPECT_EQ(thread(spaced)->title, u"Campaign Thread · Orvane Native Operator"_s);
}

TEST_F(ThreadCreationTest, AnUnknownProjectFallsBackToTheSelectedThenTheFirstProject)
{
    const QUuid gone = model->createProject(u"Short-lived"_s, std::nullopt, nullptr);
    model->deleteProject(gone);
    const QUuid second = model->projects().at(1).id;
    model->setSelectedProjectID(second);

    EXPECT_EQ(thread(model->createNewThread({ .projectID = gone }))->projectID, second);

    model->setSelectedProjectID(std::nullopt);
    EXPECT_EQ(thread(model->createNewThread({ .projectID = gone }))->projectID, model->projects().first().id);
    EXPECT_NE(model->projects().first().id, second);
}

TEST_F(ThreadCreationTest, TheWorkbenchArgumentWinsOverThePersonasDefault)
{
    const OrvaneAgentPersona &canvasPersona
        = *std::find_if(OrvaneWebParitySeeds::personas().cbegin(), OrvaneWebParitySeeds::personas().cend(),
            [](const OrvaneAgentPersona &p) { return p.defaultWorkbench != IDEWorkbenchView::document; });

    const QUuid own = model->createNewThread({ .persona = canvasPersona });
    EXPECT_EQ(thread(own)->workbenchView, canvasPersona.defaultWorkbench);
    EXPECT_EQ(thread(own)->agentTabs.first().entries.first().artifactLink, canvasPersona.defaultWorkbench);
    EXPECT_EQ(thread(own)->title, u"Campaign Thread · "_s + canvasPersona.name);

    const QUuid given = model->createNewThread({ .persona = canvasPersona, .workbench = IDEWorkbenchView::explore });
    EXPECT_EQ(thread(given)->workbenchView, IDEWorkbenchView::explore);
    EXPECT_EQ(thread(given)->agentTabs.first().entries.first().artifactLink, IDEWorkbenchView::explore);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::reports); // the explorer's section
}

TEST_F(ThreadCreationTest, ASecondThreadOfAProjectComesFirstAndEveryCampaignTagHasThreeDigits)
{
    const QRegularExpression tag(u"^orvane_campaign_[1-9][0-9]{2}$"_s);
    QUuid previous;
    for (int i = 0; i < 12; ++i) {
        const QUuid id = model->createNewThread({});
        EXPECT_EQ(model->threads().first().id, id);
        if (!previous.isNull()) {
            EXPECT_EQ(model->threads().at(1).id, previous);
        }
        EXPECT_TRUE(tag.match(thread(id)->utmCampaign).hasMatch()) << utf8(thread(id)->utmCampaign);
        previous = id;
    }
}

TEST_F(ThreadCreationTest, ABlankPromptNeitherSendsNorDraftsAndAParkedPromptKeepsItsSpaces)
{
    const QUuid blank = model->createNewThread({ .initialPrompt = u" \n\t"_s, .autoSend = true });
    EXPECT_EQ(thread(blank)->agentTabs.first().entries.size(), 1);
    EXPECT_TRUE(thread(blank)->agentTabs.first().draftPrompt.isEmpty());

    const QUuid parked = model->createNewThread({ .initialPrompt = u"  plan a flight  "_s, .autoSend = false });
    EXPECT_EQ(thread(parked)->agentTabs.first().draftPrompt, u"  plan a flight  "_s);
    EXPECT_EQ(thread(parked)->agentTabs.first().entries.size(), 1);
}

TEST_F(ThreadCreationTest, ARecommendedActionIsCompletedAndItsPromptSentOnItsWorkbench)
{
    // One outside the list still starts its thread, and completes nothing.
    CampaignRecommendedNextAction outside = model->recommendedActions().first();
    outside.id = QUuid::createUuid();
    outside.title = u"Audit branded search"_s;
    const auto before = model->recommendedActions();
    model->startRecommendedAction(outside);
    EXPECT_EQ(model->recommendedActions(), before);
    EXPECT_EQ(model->threads().first().title, u"Audit branded search"_s);
    EXPECT_EQ(model->threads().first().agentTabs.first().entries.size(), 3);
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(model->threads().first().id));

    const CampaignRecommendedNextAction action = model->recommendedActions().first();
    ASSERT_FALSE(action.isCompleted);
    QSignalSpy actions(model.get(), &CampaignIDEWorkspaceModel::recommendedActionsChanged);

    model->startRecommendedAction(action);

    EXPECT_TRUE(model->recommendedActions().first().isCompleted);
    EXPECT_EQ(actions.count(), 1);
    const CampaignIDEThread &started = model->threads().first();
    EXPECT_EQ(started.title, action.title.trimmed());
    EXPECT_EQ(started.workbenchView, action.targetWorkbench);
    EXPECT_EQ(started.projectID, *model->selectedProjectID());
    const CampaignAgentTab &tab = started.agentTabs.first();
    EXPECT_TRUE(tab.isStreaming);
    ASSERT_EQ(tab.entries.size(), 3); // welcome, the prompt, the agent's placeholder
    EXPECT_EQ(tab.entries.at(1).text, action.prompt.trimmed());
}

} // namespace
} // namespace orvane::test
