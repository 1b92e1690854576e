#include "ide/model/CampaignIDEWorkspaceModel.h"

// Weak stand-ins for thread operations the model calls, so that the library links while the thread
// engine is being written. A definition in src/ide/threads replaces each of them at link time.

namespace orvane {

[[gnu::weak]] CampaignIDEThread CampaignIDEWorkspaceModel::ensureThread(const QUuid &projectID)
{
    for (const CampaignIDEThread &thread : threads()) {
        if (thread.projectID == projectID)
            return thread;
    }
    CampaignIDEThread thread;
    thread.id = QUuid::createUuid();
    thread.projectID = projectID;
    insertThread(0, thread);
    syncThreadArtifactsToDisk(thread);
    return thread;
}

} // namespace orvane
