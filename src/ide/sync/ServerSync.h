#pragma once

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/ServerSyncState.h"
#include "kit/networking/OrvaneAPIClient.h"
#include "kit/session/SessionStore.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QUuid>

#include <QCoro/QCoroTask>

#include <optional>

namespace orvane {

// The model's service-facing machinery: the streamed reply of an agent turn and what a server
// refresh applies. Coroutines here hold the model only through a guard and find everything again by id
// after each suspension. Only the sources of src/ide/sync and the agent turn include this header.
class CampaignIDEWorkspaceModel::ServerSync final {
public:
    // The ids and texts of the turn the streamed reply belongs to.
    struct StreamedTurn {
        QUuid threadID;
        QUuid tabID;
        QUuid agentEntryID;
        QString prompt; // trimmed
        QList<CampaignToolInvocation> localTools; // replace the placeholder tool with the first delta
    };

    // The streamed reply step of an agent turn. Signed in (the session still exists and holds an
    // account), it opens the service's chat stream and shows the text deltas in the turn's agent
    // entry as they arrive (coalesced to one publication per streamedReplyPublishInterval, the
    // first at once). Gives the received text when the stream ends with some text that is not
    // blank; none when signed out, on any failure (deltas shown are then dropped), or when the
    // model went away. Saves nothing.
    static QCoro::Task<std::optional<QString>> streamReply(
        QPointer<CampaignIDEWorkspaceModel> model, QPointer<SessionStore> session, StreamedTurn turn);

    // A client for the model's transfers: the session's client with the model's transfer timeout,
    // its transfers aborted when `lifetime` goes.
    static OrvaneAPIClient clientFor(
        const CampaignIDEWorkspaceModel &model, SessionStore &session, const QObject *lifetime);

    using Fetched = ServerSyncState::Fetched;
    // Applies a refresh's results in one go, saves the projects and re-mirrors every folder. The
    // remote projects are merged on a worker thread (a long list would hold the window); nothing is
    // applied when the model went away or `isCurrent` turned false meanwhile.
    static QCoro::Task<> apply(
        QPointer<CampaignIDEWorkspaceModel> model, Fetched fetched, ServerSyncState::IsCurrent isCurrent);
};

} // namespace orvane
