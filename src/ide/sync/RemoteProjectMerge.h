#pragma once

#include "ide/records/CampaignIDEProject.h"
#include "kit/models/ServiceRecords.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>

// Bringing the service's projects into the local list, which stays the master copy.
namespace orvane::RemoteProjectMerge {

// The local id of a project first seen on the service: the server id itself when it is a UUID in
// the standard 36-character form (either case), else a fold of its UTF-8 bytes into a version-4
// layout. The same id gives the same UUID on every device and run.
[[nodiscard]] QUuid deterministicUUID(const QString &serverID);

// Makes the artboards of a project appended by the merge, from the new project's id.
using ArtboardFactory = std::function<QList<CreativeCanvasArtboard>(const QUuid &projectID)>;

// The local list with the remote projects merged in, in the order received. A local project (also
// one appended by this merge) matches a remote one when its server id equals the remote id or its
// name equals the remote name ignoring case; the first match in list order wins and takes the
// remote id, name, non-empty description and non-empty update time. An unmatched remote project is
// appended with defaults. Nothing is removed, and no two projects ever share an id: when the
// derived id is taken the appended project gets a fresh random one. Matches are found through
// hashes of the server ids and lower-cased names, so a long list costs O(n log n), not a scan per
// remote project.
[[nodiscard]] QList<CampaignIDEProject> merge(
    QList<CampaignIDEProject> local, const QList<Project> &remote, const ArtboardFactory &artboards);

} // namespace orvane::RemoteProjectMerge
