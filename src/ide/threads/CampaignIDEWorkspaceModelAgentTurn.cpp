// The agent turn of the workspace model: recording a message, the turn's task, the local agent's
// edits and the entry operations of the timeline.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/sync/ServerSync.h"
#include "ide/threads/GraphemeText.h"
#include "ide/threads/ThreadEngine.h"

#include <QStringBuilder>

#include <algorithm>

#include <QCoro/QCoroTimer>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

const QString kJustNow = u"Just now"_s;

CampaignAgentTab *findTab(CampaignIDEThread &thread, const QUuid &tabID)
{
    for (CampaignAgentTab &tab : thread.agentTabs) {
        if (tab.id == tabID)
            return &tab;
    }
    return nullptr;
}

CampaignTimelineEntry *findEntry(CampaignAgentTab &tab, const QUuid &entryID)
{
    for (CampaignTimelineEntry &entry : tab.entries) {
        if (entry.id == entryID)
            return &entry;
    }
    return nullptr;
}

} // namespace

void CampaignIDEWorkspaceModel::rejectInlineAction(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID)
{
    updateTimelineEntry(threadID, tabID, entryID, [](CampaignTimelineEntry &entry) {
        if (entry.inlineApproval)
            entry.inlineApproval->status = CampaignInlineApproval::ApprovalDecision::rejected;
    });
    savePersistedThreads();
    flashNotice(u"Rejected inline execution proposal."_s);
}

// --- sending a message ---------------------------------------------------------------------------

void CampaignIDEWorkspaceModel::sendMessageInThread(
    const QUuid &threadID, const QUuid &givenTabID, const std::optional<QString> &text, SessionStore *session)
{
    // A thread not shown since the start holds only its head until its body is read. A caller that
    // had only that copy could name none of its tabs: its message goes to the thread's active tab.
    const bool headOnly = !m_threadList->hasThreadBody(threadID);
    const CampaignIDEThread *whole = m_threadList->wholeThread(threadID);
    if (!whole)
        return;
    QUuid tabID = givenTabID;
    if (headOnly && !m_threadList->tab(threadID, tabID)) {
        if (const std::optional<CampaignAgentTab> active = whole->activeTab())
            tabID = active->id;
    }
    const CampaignAgentTab *stored = m_threadList->tab(threadID, tabID);
    if (!stored)
        return;
    const QString prompt = text.value_or(stored->draftPrompt).trimmed();
    if (prompt.isEmpty())
        return; // the draft stays as typed

    const ThreadEngine::AgentTurn turn {
        .threadID = threadID,
        .tabID = tabID,
        .agentEntryID = QUuid::createUuid(),
        .prompt = prompt,
        .personaName = stored->personaName,
        .session = session,
    };
    const QUuid userEntryID = QUuid::createUuid();
    mutateThread(threadID, [&](CampaignIDEThread &thread) {
        CampaignAgentTab &tab = *findTab(thread, tabID);
        tab.draftPrompt.clear();
        thread.updatedAt = kJustNow;
        tab.entries.append({
            .id = userEntryID,
            .role = CampaignTimelineEntry::EntryRole::user,
            .authorName = u"You"_s,
            .text = prompt,
            .timestamp = kJustNow,
            .toolInvocations = {},
            .inlineApproval = std::nullopt,
            .artifactLink = std::nullopt,
        });
        tab.isStreaming = true;
        tab.statusText = u"Orvaneing workspace & running tools…"_s;
        tab.entries.append({
            .id = turn.agentEntryID,
            .role = CampaignTimelineEntry::EntryRole::agent,
            .authorName = turn.personaName,
            .text = {},
            .timestamp = kJustNow,
            .toolInvocations = { {
                .id = QUuid::createUuid(),
                .toolName = u"analyze_campaign_workspace"_s,
                .summary = u"Reading local files & campaign state"_s,
                // Copied as typed: the preview is display text, not JSON.
                .inputPreview = u"{\"prompt\": \""_s % graphemePrefix(prompt, 64) % u"\"}"_s,
                .outputPreview = u"Loaded campaign-plan.md, media-plan.csv, creatives.json"_s,
                .status = CampaignToolInvocation::ToolStatus::running,
                .durationMs = 140,
            } },
            .inlineApproval = std::nullopt,
            .artifactLink = std::nullopt,
        });
        ThreadList &list = threadList();
        Q_EMIT list.timelineEntryAppended(threadID, tabID, userEntryID);
        Q_EMIT list.timelineEntryAppended(threadID, tabID, turn.agentEntryID);
        Q_EMIT list.agentTabChanged(threadID, tabID);
    });

    // Not stored and never cancelled: the task ends by itself, and ends early when the model goes.
    (void)ThreadEngine::runAgentTurn(QPointer<CampaignIDEWorkspaceModel>(this), turn, m_agentTurns.begin());
}

QCoro::Task<> CampaignIDEWorkspaceModel::ThreadEngine::runAgentTurn(
    QPointer<CampaignIDEWorkspaceModel> model, AgentTurn turn, InFlightTasks::Token /*running*/)
{
    co_await QCoro::sleepFor(thinkingPause);
    if (!model)
        co_return;

    const LocalAgentExecutionOutcome outcome
        = applyLocalAgentTools(*model, turn.prompt, turn.threadID, turn.personaName);
    if (turn.session && turn.session->account())
        keepLocalReply(*model, turn, outcome);
    QString reply = outcome.reply;
    // Signed in, the service's streamed reply takes the place of `reply` (src/ide/sync).
    auto streamed = ServerSync::streamReply(model, turn.session,
        { .threadID = turn.threadID,
            .tabID = turn.tabID,
            .agentEntryID = turn.agentEntryID,
            .prompt = turn.prompt,
            .localTools = outcome.tools });
    const std::optional<QString> remote = co_await streamed;
    if (!model)
        co_return;
    if (remote)
        reply = *remote;

    completeAgentTurn(*model, turn, outcome, reply);
}

void CampaignIDEWorkspaceModel::ThreadEngine::keepLocalReply(
    CampaignIDEWorkspaceModel &model, const AgentTurn &turn, const LocalAgentExecutionOutcome &outcome)
{
    // Saved with the local agent's edits: the store never holds them without the answer that made
    // them. Nothing shows the kept answer, so no entry is republished.
    model.mutateThread(turn.threadID, [&](CampaignIDEThread &thread) {
        CampaignAgentTab *tab = findTab(thread, turn.tabID);
        if (CampaignTimelineEntry *entry = tab ? findEntry(*tab, turn.agentEntryID) : nullptr)
            entry->localReply = CampaignLocalReply {
                .text = outcome.reply,
                .toolInvocations = outcome.tools,
                .inlineApproval = outcome.inlineApproval,
                .artifactLink = outcome.targetWorkbench,
            };
    });
}

void CampaignIDEWorkspaceModel::ThreadEngine::completeAgentTurn(CampaignIDEWorkspaceModel &model, const AgentTurn &turn,
    const LocalAgentExecutionOutcome &outcome, const QString &reply)
{
    // The thread or its tab may have gone while the turn waited; the list is saved and the files
    // listed all the same.
    if (model.threadList().tab(turn.threadID, turn.tabID)) {
        // One change of the thread: the answer, the tab's idle state and the workbench switch.
        model.mutateThread(
            turn.threadID,
            [&](CampaignIDEThread &thread) {
                CampaignAgentTab &tab = *findTab(thread, turn.tabID);
                if (CampaignTimelineEntry *entry = findEntry(tab, turn.agentEntryID)) {
                    entry->text = reply;
                    entry->toolInvocations = outcome.tools;
                    entry->inlineApproval = outcome.inlineApproval;
                    entry->artifactLink = outcome.targetWorkbench;
                    entry->localReply.reset(); // the reply is final now
                    Q_EMIT model.threadList().timelineEntryChanged(turn.threadID, turn.tabID, turn.agentEntryID);
                }
                tab.isStreaming = false;
                tab.statusText.reset();
                Q_EMIT model.threadList().agentTabChanged(turn.threadID, turn.tabID);
                if (outcome.targetWorkbench)
                    thread.workbenchView = *outcome.targetWorkbench;
            },
            Save::no);
        if (outcome.targetWorkbench)
            model.syncSectionFromWorkbench(*outcome.targetWorkbench);
        if (const CampaignIDEThread *thread = model.thread(turn.threadID))
            model.syncThreadArtifactsToDisk(*thread);
    }
    model.savePersistedThreads();
    model.reloadLocalFilesForSelectedProject();
}

// --- the local agent's edits ---------------------------------------------------------------------

LocalAgentExecutionOutcome CampaignIDEWorkspaceModel::ThreadEngine::applyLocalAgentTools(
    CampaignIDEWorkspaceModel &model, const QString &prompt, const QUuid &threadID, const QString &personaName)
{
    Q_UNUSED(personaName) // every persona runs the same local tools
    const CampaignIDEThread *stored = model.threadList().wholeThread(threadID);
    if (!stored)
        return LocalAgent::missingThreadOutcome();

    // The agent works on copies, which are then stored through the mutation API in one step each.
    CampaignIDEThread thread = *stored;
    std::optional<CampaignIDEProject> project;
    if (const CampaignIDEProject *owner = model.project(thread.projectID))
        project = *owner;
    const std::optional<CampaignIDEProject> selected = model.selectedProject();
    const LocalAgent::Context context {
        .selectedProjectSlug = selected ? selected->slug() : u"campaign"_s,
        .promptDomain = CampaignIDEWorkspaceModel::extractDomain(prompt),
        .shownRoot = model.shownWorkspaceRoot(),
    };

    LocalAgent::Result result = LocalAgent::run(prompt, thread, project ? &*project : nullptr, context);

    if (thread != *stored)
        model.mutateThread(
            threadID, [&thread](CampaignIDEThread &target) { target = thread; }, Save::no);
    if (result.effects.projectChanged && project)
        model.mutateProject(project->id, [&project](CampaignIDEProject &target) { target = *project; });
    if (result.effects.selectArtboard)
        model.setSelectedArtboardID(result.effects.selectArtboard);
    return std::move(result.outcome);
}

} // namespace orvane
