#include "ide/operations/OperationsTestSupport.h"

#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

using Role = CampaignTimelineEntry::EntryRole;
using ToolStatus = CampaignToolInvocation::ToolStatus;

namespace {

class AgentTurnTest : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        threadID = firstThread().id;
        tabID = firstThread().agentTabs.first().id;
        slug = model->selectedProject()->slug();
    }

    const CampaignAgentTab &tab() const { return thread(threadID)->agentTabs.first(); }
    const CampaignTimelineEntry &lastEntry() const { return tab().entries.last(); }

    QUuid threadID;
    QUuid tabID;
    QString slug;
};

TEST_F(AgentTurnTest, RecordsTheMessageAndAStreamingPlaceholderAtOnce)
{
    model->setThreadDraft(u"old draft"_s, threadID, tabID);
    const qsizetype entries = tab().entries.size();
    QSignalSpy appended(model.get(), &CampaignIDEWorkspaceModel::timelineEntryAppended);
    QSignalSpy tabChanged(model.get(), &CampaignIDEWorkspaceModel::agentTabChanged);
    QSignalSpy threadChanged(model.get(), &CampaignIDEWorkspaceModel::threadChanged);

    model->sendMessageInThread(threadID, tabID, u"  Show the ROAS dashboard \n"_s, nullptr);

    const CampaignIDEThread &t = *thread(threadID);
    EXPECT_EQ(utf8(t.updatedAt), "Just now");
    const CampaignAgentTab &sending = t.agentTabs.first();
    EXPECT_TRUE(sending.draftPrompt.isEmpty());
    EXPECT_TRUE(sending.isStreaming);
    EXPECT_EQ(utf8(*sending.statusText), "Orvaneing workspace & running tools\u2026");
    ASSERT_EQ(sending.entries.size(), entries + 2);

    const CampaignTimelineEntry &user = sending.entries.at(entries);
    EXPECT_EQ(user,
        (CampaignTimelineEntry { .id = user.id,
            .role = Role::user,
            .authorName = u"You"_s,
            .text = u"Show the ROAS dashboard"_s,
            .timestamp = u"Just now"_s }));
    const CampaignTimelineEntry &agent = sending.entries.at(entries + 1);
    ASSERT_EQ(agent.toolInvocations.size(), 1);
    const CampaignToolInvocation &tool = agent.toolInvocations.first();
    EXPECT_FALSE(tool.id.isNull());
    EXPECT_EQ(agent,
        (CampaignTimelineEntry { .id = agent.id,
            .role = Role::agent,
            .authorName = sending.personaName,
            .timestamp = u"Just now"_s,
            .toolInvocations = { { .id = tool.id,
                .toolName = u"analyze_campaign_workspace"_s,
                .summary = u"Reading local files & campaign state"_s,
                .inputPreview = u"{\"prompt\": \"Show the ROAS dashboard\"}"_s,
                .outputPreview = u"Loaded campaign-plan.md, media-plan.csv, creatives.json"_s,
                .status = ToolStatus::running,
                .durationMs = 140 } } }));

    // One change of the thread, described entry by entry for a view.
    ASSERT_EQ(appended.count(), 2);
    EXPECT_EQ(appended.at(0).at(2).value<QUuid>(), user.id);
    EXPECT_EQ(appended.at(1).at(2).value<QUuid>(), agent.id);
    EXPECT_EQ(appended.at(1).at(0).value<QUuid>(), threadID);
    EXPECT_EQ(appended.at(1).at(1).value<QUuid>(), tabID);
    EXPECT_EQ(tabChanged.count(), 1);
    EXPECT_EQ(threadChanged.count(), 1);

    // Saved with the placeholder before the agent answers.
    const QList<CampaignIDEThread> stored = storedThreads();
    EXPECT_TRUE(stored.first().agentTabs.first().isStreaming);
    EXPECT_EQ(stored.first().agentTabs.first().entries.last().id, agent.id);
    finishTurns();
}

TEST_F(AgentTurnTest, PreviewsTakeSixtyFourCharactersVerbatimOfTheTextOrDraft)
{
    const QString prompt = QString(100, u'x');
    model->sendMessageInThread(threadID, tabID, prompt, nullptr);
    EXPECT_EQ(lastEntry().toolInvocations.first().inputPreview, u"{\"prompt\": \""_s + QString(64, u'x') + u"\"}"_s);

    // Not JSON: a quotation mark or backslash of the prompt is copied as it is.
    model->sendMessageInThread(threadID, tabID, u"say \"hi\" \\ ok"_s, nullptr);
    EXPECT_EQ(utf8(lastEntry().toolInvocations.first().inputPreview), R"({"prompt": "say "hi" \ ok"})");

    // Without text the draft is sent.
    model->setThreadDraft(u"Refine the plan tone"_s, threadID, tabID);
    model->sendMessageInThread(threadID, tabID, std::nullopt, nullptr);
    EXPECT_TRUE(tab().draftPrompt.isEmpty());
    EXPECT_EQ(utf8(tab().entries.at(tab().entries.size() - 2).text), "Refine the plan tone");
    finishTurns();
}

TEST_F(AgentTurnTest, CompletesWithTheLocalAgentsOutcome)
{
    QSignalSpy entryChanged(model.get(), &CampaignIDEWorkspaceModel::timelineEntryChanged);
    model->sendMessageInThread(threadID, tabID, u"Shift budget into LinkedIn"_s, nullptr);
    const QUuid agentID = lastEntry().id;
    ASSERT_TRUE(entryChanged.wait(5000));
    finishTurns();

    const CampaignTimelineEntry &agent = lastEntry();
    EXPECT_EQ(agent.id, agentID);
    EXPECT_TRUE(agent.text.startsWith(u"I updated the **Media Plan & Trafficking Table** with "
                                      u"**LI_NA_Exec_ABM_High_Intent**"_s));
    ASSERT_EQ(agent.toolInvocations.size(), 2);
    EXPECT_EQ(utf8(agent.toolInvocations.at(0).toolName), "upsert_media_plan_table");
    EXPECT_TRUE(agent.inlineApproval);
    EXPECT_EQ(agent.artifactLink, IDEWorkbenchView::table);
    EXPECT_EQ(entryChanged.first().at(2).value<QUuid>(), agentID);

    EXPECT_FALSE(tab().isStreaming);
    EXPECT_FALSE(tab().statusText);
    EXPECT_EQ(thread(threadID)->workbenchView, IDEWorkbenchView::table);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::document);
    EXPECT_EQ(utf8(thread(threadID)->mediaPlanRows.first().campaignName), "LI_NA_Exec_ABM_High_Intent");

    // Saved, the spreadsheet and transcript written, the file list reloaded.
    EXPECT_EQ(storedThreads(), model->threads());
    const QByteArray csv = readAll(projectFile(slug, u"media-plan.csv"_s));
    EXPECT_TRUE(csv.contains("\n\"LinkedIn\",\"LI_NA_Exec_ABM_High_Intent\",\"High-Intent Capture\",\"VP Demand Gen & "
                             "CMO (Series B+ SaaS)\",\"Thought Leader + 1:1 Card\",350,10500,\"Target CPA ($155)\","
                             "155,68,\"Ready\"\n"));
    const QByteArray transcript = readAll(projectFile(slug, u"thread-transcript.json"_s));
    EXPECT_TRUE(transcript.contains("LI_NA_Exec_ABM_High_Intent"));
    bool listed = false;
    for (const LocalWorkspaceFile &file : model->localFiles()) {
        if (file.name == u"media-plan.csv"_s)
            listed = file.content.toUtf8() == csv;
    }
    EXPECT_TRUE(listed);
}

TEST_F(AgentTurnTest, CreativeTurnsAddArtboardsToTheThreadsProject)
{
    const qsizetype before = model->selectedProject()->creatives.size();
    model->sendMessageInThread(threadID, tabID, u"Generate new ad creative"_s, nullptr);
    finishTurns();

    const CampaignIDEProject project = *model->selectedProject();
    ASSERT_EQ(project.creatives.size(), before + 2);
    EXPECT_EQ(utf8(project.creatives.first().headline), " Built with Orvane: new ad creative");
    EXPECT_EQ(utf8(project.status), "Creative review");
    EXPECT_EQ(model->selectedArtboardID(), project.creatives.first().id);
    EXPECT_EQ(thread(threadID)->workbenchView, IDEWorkbenchView::canvas);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::creativeStudio);
    EXPECT_EQ(utf8(lastEntry().toolInvocations.at(1).outputPreview),
        "Saved " + std::to_string(before + 2) + " artboards to disk");
    // The project is saved and its creatives mirrored.
    EXPECT_TRUE(readAll(projectFile(slug, u"creatives.json"_s)).contains("Built with Orvane: new ad creative"));
    EXPECT_TRUE(
        readAll(home.dataHome() + u"/Orvane/campaign-ide-state.json"_s).contains("Built with Orvane: new ad creative"));
}

// A turn shows the workbench view of its answer (the answers themselves are in the local agent's
// golden file); a competitor turn takes the domain from the prompt, a plan turn refines the project.
TEST_F(AgentTurnTest, TurnsSwitchToTheirAnswersViewAndSection)
{
    const QList<CampaignIDEProject> projects = model->projects();
    model->selectWorkbenchView(IDEWorkbenchView::canvas, threadID);
    const std::vector<std::tuple<QString, IDEWorkbenchView, CampaignIDESection>> cases {
        { u"Attribution please"_s, IDEWorkbenchView::dashboard, CampaignIDESection::dashboard },
        { u"Tear down Acme.io."_s, IDEWorkbenchView::explore, CampaignIDESection::reports },
        { u"Make the tone warmer"_s, IDEWorkbenchView::document, CampaignIDESection::document },
    };
    for (const auto &[prompt, view, section] : cases) {
        EXPECT_EQ(model->projects(), projects); // the turns before changed no project
        model->sendMessageInThread(threadID, tabID, prompt, nullptr);
        finishTurns();
        EXPECT_EQ(thread(threadID)->workbenchView, view) << utf8(prompt);
        EXPECT_EQ(model->selectedSection(), section) << utf8(prompt);
    }
    EXPECT_EQ(utf8(thread(threadID)->competitorAds.first().competitorDomain), "acme.io");
    EXPECT_TRUE(lastEntry().text.contains(u"`~/Documents/Orvane/"_s + slug + u"/campaign-plan.md`"_s));
    EXPECT_TRUE(readAll(projectFile(slug, u"campaign-plan.md"_s))
                    .contains(QStringLiteral("• Agent refinement: Make the tone warmer").toUtf8()));
}

TEST_F(AgentTurnTest, TurnsDoNotWaitForEachOther)
{
    model->sendMessageInThread(threadID, tabID, u"first"_s, nullptr);
    model->sendMessageInThread(threadID, tabID, u"second"_s, nullptr);
    EXPECT_EQ(turns->count(), 2);
    finishTurns();
    const QList<CampaignTimelineEntry> &entries = tab().entries;
    ASSERT_GE(entries.size(), 4);
    const qsizetype n = entries.size();
    EXPECT_EQ(utf8(entries.at(n - 4).text), "first");
    EXPECT_EQ(utf8(entries.at(n - 2).text), "second");
    EXPECT_FALSE(entries.at(n - 3).text.isEmpty());
    EXPECT_FALSE(entries.at(n - 1).text.isEmpty());
    EXPECT_FALSE(tab().isStreaming);
}

TEST_F(AgentTurnTest, AThreadDeletedDuringThePauseStaysDeleted)
{
    model->sendMessageInThread(threadID, tabID, u"Build a creative"_s, nullptr);
    const qsizetype creatives = model->selectedProject()->creatives.size();
    model->removeThreads([this](const CampaignIDEThread &t) { return t.id == threadID; });
    QSignalSpy listed(model.get(), &CampaignIDEWorkspaceModel::localFilesChanged);
    finishTurns();

    EXPECT_FALSE(model->thread(threadID));
    EXPECT_EQ(model->selectedProject()->creatives.size(), creatives);
    EXPECT_EQ(storedThreads(), model->threads());
    EXPECT_GE(listed.count(), 1); // the file list is still reloaded
}

TEST_F(AgentTurnTest, ATabClosedDuringThePauseIsNotRevived)
{
    const CampaignAgentTab second = thread(threadID)->agentTabs.at(1);
    const IDEWorkbenchView view = thread(threadID)->workbenchView;
    model->sendMessageInThread(threadID, second.id, u"Shift budget"_s, nullptr);
    model->closeAgentTab(second.id, threadID);
    finishTurns();

    EXPECT_EQ(thread(threadID)->agentTabs.size(), 1);
    EXPECT_EQ(thread(threadID)->workbenchView, view);
    // The local agent's edits of the thread still happened, and were saved.
    EXPECT_EQ(thread(threadID)->mediaPlanRows.size(), 5);
    EXPECT_EQ(storedThreads(), model->threads());
}

TEST_F(AgentTurnTest, ATurnWhoseProjectIsGoneStillAnswers)
{
    const QUuid projectID = thread(threadID)->projectID;
    model->removeProjects([&](const CampaignIDEProject &p) { return p.id == projectID; });
    model->sendMessageInThread(threadID, tabID, u"more image ads"_s, nullptr);
    finishTurns();
    EXPECT_EQ(utf8(lastEntry().toolInvocations.at(1).outputPreview), "Saved 6 artboards to disk");
    EXPECT_EQ(thread(threadID)->workbenchView, IDEWorkbenchView::canvas);
    EXPECT_FALSE(tab().isStreaming);
}

TEST_F(AgentTurnTest, DestroyingTheModelDuringThePauseEndsTheTurnQuietly)
{
    const QList<CampaignTimelineEntry> before = tab().entries;
    model->sendMessageInThread(threadID, tabID, u"Shift budget into LinkedIn"_s, nullptr);
    ASSERT_EQ(turns->count(), 1);
    const QUuid agentEntryID = lastEntry().id;
    const QString csvPath = projectFile(slug, u"media-plan.csv"_s);
    // What a kill now would leave: the message and its placeholder, saved at once.
    model->flushPendingWrites();
    const QString body = threadStoreFolder() + u'/' + threadID.toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    const QByteArray killed = readAll(body);
    model.reset(); // a quit: the turn ends as interrupted, and that is written before the model goes
    const QByteArray csv = readAll(csvPath);
    const QList<CampaignIDEThread> stored = readStoredThreads();

    finishTurns();

    // Nothing was written after the model went, and the local agent never ran.
    EXPECT_EQ(readAll(csvPath), csv);
    EXPECT_FALSE(csv.contains("LI_NA_Exec_ABM_High_Intent"));
    EXPECT_EQ(readStoredThreads(), stored);
    // The turn says it was cut short instead of running for good; what came before is untouched.
    const auto expectInterrupted = [&](const CampaignAgentTab &ended) {
        EXPECT_FALSE(ended.isStreaming);
        EXPECT_FALSE(ended.statusText);
        ASSERT_EQ(ended.entries.size(), before.size() + 2);
        EXPECT_EQ(ended.entries.mid(0, before.size()), before);
        EXPECT_EQ(ended.entries.at(before.size()).text, u"Shift budget into LinkedIn"_s);
        const CampaignTimelineEntry &agent = ended.entries.last();
        EXPECT_EQ(agent.id, agentEntryID);
        EXPECT_EQ(agent.text, u"Orvane quit before this reply finished; send it again to retry."_s);
        EXPECT_TRUE(agent.toolInvocations.isEmpty());
        EXPECT_FALSE(agent.inlineApproval);
    };
    ASSERT_FALSE(stored.isEmpty());
    expectInterrupted(stored.first().agentTabs.first());

    // A kill during the pause: the next start settles the stored placeholder the same way.
    ASSERT_TRUE(writeAll(body, killed));
    startModel();
    expectInterrupted(tab());
}

class InlineActionTest : public OperationsTest { };

TEST_F(InlineActionTest, RejectingMarksAGateAndAlwaysSavesAndNotices)
{
    // The first seed thread's second entry carries a pending gate.
    const CampaignIDEThread seed = firstThread();
    const CampaignAgentTab seedTab = seed.agentTabs.first();
    const CampaignTimelineEntry gated = seedTab.entries.at(1);
    ASSERT_TRUE(gated.inlineApproval);
    QSignalSpy entryChanged(model.get(), &CampaignIDEWorkspaceModel::timelineEntryChanged);

    model->rejectInlineAction(seed.id, seedTab.id, gated.id);

    CampaignTimelineEntry expected = gated;
    expected.inlineApproval->status = CampaignInlineApproval::ApprovalDecision::rejected;
    EXPECT_EQ(thread(seed.id)->agentTabs.first().entries.at(1), expected);
    EXPECT_EQ(entryChanged.count(), 1);
    EXPECT_EQ(utf8(model->statusNotice().value_or(QString())), "Rejected inline execution proposal.");
    EXPECT_EQ(storedThreads(), model->threads());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 5000));

    // Without a gate, or for an unknown entry, nothing changes; the notice still shows.
    ASSERT_FALSE(seedTab.entries.at(0).inlineApproval);
    const QList<CampaignIDEThread> before = model->threads();
    model->rejectInlineAction(seed.id, seedTab.id, seedTab.entries.at(0).id);
    model->rejectInlineAction(seed.id, seedTab.id, QUuid::createUuid());
    EXPECT_EQ(model->threads(), before);
    EXPECT_EQ(utf8(model->statusNotice().value_or(QString())), "Rejected inline execution proposal.");
    EXPECT_EQ(storedThreads(), before);
}

} // namespace
