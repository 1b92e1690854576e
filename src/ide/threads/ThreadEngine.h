#pragma once

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/threads/LocalAgent.h"
#include "kit/session/SessionStore.h"

#include <QPointer>
#include <QString>
#include <QUuid>

#include <QCoro/QCoroTask>

#include <chrono>
#include <functional>
#include <optional>

namespace orvane {

// The thread operations' private machinery: it reaches into the model's state through the
// mutation API and publishes the fine-grained thread signals. Only the thread engine's sources
// include this header.
class CampaignIDEWorkspaceModel::ThreadEngine final {
public:
    // How long the agent "reads" the workspace before it answers.
    static constexpr std::chrono::milliseconds thinkingPause { 280 };

    // The working values of one agent turn, captured when the message is sent. Only ids and
    // values: everything is found again by id after each suspension.
    struct AgentTurn {
        QUuid threadID;
        QUuid tabID;
        QUuid agentEntryID;
        QString prompt; // trimmed
        QString personaName;
        // The caller's session, none when signed out; guarded like the model, since the caller
        // may drop it while the turn waits. Read only by the service's streamed reply.
        QPointer<SessionStore> session;
    };

    // The turn after the message was recorded: the pause, the local agent, completion. Holds the
    // model only through a guard, so a model destroyed meanwhile ends the turn without effect.
    static QCoro::Task<> runAgentTurn(
        QPointer<CampaignIDEWorkspaceModel> model, AgentTurn turn, InFlightTasks::Token running);

    // The local agent's edits for one turn, applied to the model (thread, its project, the artboard
    // selection) and persisted as the routes require; the thread list itself is not saved here.
    static LocalAgentExecutionOutcome applyLocalAgentTools(
        CampaignIDEWorkspaceModel &model, const QString &prompt, const QUuid &threadID, const QString &personaName);

    // Before a streamed reply: keeps the local outcome in the turn's agent entry, which the entry
    // takes should the turn never complete (the model's end, or a start after a kill), and saves.
    static void keepLocalReply(
        CampaignIDEWorkspaceModel &model, const AgentTurn &turn, const LocalAgentExecutionOutcome &outcome);

    // Writes the outcome into the turn's agent entry, ends the tab's streaming, switches the
    // workbench, writes the thread's files, saves and reloads the local files.
    static void completeAgentTurn(CampaignIDEWorkspaceModel &model, const AgentTurn &turn,
        const LocalAgentExecutionOutcome &outcome, const QString &reply);
};

} // namespace orvane
