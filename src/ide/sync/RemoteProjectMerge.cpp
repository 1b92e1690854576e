#include "ide/sync/RemoteProjectMerge.h"

#include "kit/support/RelativeDate.h"

#include <QRegularExpression>
#include <QSet>

#include <array>

namespace orvane::RemoteProjectMerge {

using namespace Qt::StringLiterals;

namespace {

bool isCanonicalUUIDText(const QString &text)
{
    static const QRegularExpression canonical(
        u"\\A[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\z"_s);
    return canonical.match(text).hasMatch();
}

CampaignIDEProject newProject(const QUuid &id, const Project &remote, const ArtboardFactory &artboards)
{
    const bool hasDescription = remote.description && !remote.description->isEmpty();
    return CampaignIDEProject {
        .id = id,
        .serverID = remote.id,
        .name = remote.name,
        .status = u"Creative review"_s,
        .updated = remote.updatedAt.isEmpty() ? u"Recent"_s : relativeDate(remote.updatedAt),
        .objective = hasDescription
            ? *remote.description
            : u"Acquire qualified pipeline across search and social channels with governed execution."_s,
        .audience = u"Performance marketing leaders and growth engineers at B2B SaaS and commerce companies."_s,
        .channelsAndBudget
        = u"Google Search + LinkedIn Sponsored Content · $5,000 test flight · optimize for qualified demos."_s,
        .message
        = u"One local & cloud IDE for planning, creative production, governed execution, and lift attribution."_s,
        .guardrails = u"Verify conversion tracking and destination URLs. Every external budget or campaign mutation "
                      u"requires explicit approval."_s,
        .hasPlan = remote.campaignPlanCount >= 1 || remote.itemCount() > 0,
        .creatives = artboards ? artboards(id) : QList<CreativeCanvasArtboard> {},
        .isLaunched = false,
    };
}

void update(CampaignIDEProject &local, const Project &remote)
{
    local.serverID = remote.id;
    local.name = remote.name;
    if (!remote.updatedAt.isEmpty())
        local.updated = relativeDate(remote.updatedAt);
    if (remote.description && !remote.description->isEmpty())
        local.objective = *remote.description;
}

} // namespace

QUuid deterministicUUID(const QString &serverID)
{
    if (isCanonicalUUIDText(serverID))
        return QUuid::fromString(serverID);
    std::array<quint8, 16> bytes {};
    const QByteArray utf8 = serverID.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        const auto u = quint8(utf8.at(i));
        quint8 &b = bytes[std::size_t(i % 16)];
        b = quint8((b + u * ((i % 7) + 1)) % 256);
    }
    bytes[6] = quint8((bytes[6] & 0x0F) | 0x40);
    bytes[8] = quint8((bytes[8] & 0x3F) | 0x80);
    return QUuid::fromRfc4122(QByteArrayView(bytes.data(), qsizetype(bytes.size())));
}

QList<CampaignIDEProject> merge(
    QList<CampaignIDEProject> local, const QList<Project> &remote, const ArtboardFactory &artboards)
{
    QSet<QUuid> ids;
    ids.reserve(local.size() + remote.size());
    // Lower-cased names, kept beside the list so that each remote project costs one pass of
    // comparisons and no case folding of the local names.
    QList<QString> lowerNames;
    lowerNames.reserve(local.size() + remote.size());
    for (const CampaignIDEProject &project : std::as_const(local)) {
        ids.insert(project.id);
        lowerNames.append(project.name.toLower());
    }

    for (const Project &r : remote) {
        const QString lowerName = r.name.toLower();
        qsizetype match = -1;
        for (qsizetype i = 0; i < local.size(); ++i) {
            const CampaignIDEProject &candidate = local.at(i);
            if ((candidate.serverID && *candidate.serverID == r.id) || lowerNames.at(i) == lowerName) {
                match = i;
                break;
            }
        }
        if (match >= 0) {
            update(local[match], r);
            lowerNames[match] = lowerName;
            continue;
        }
        QUuid id = deterministicUUID(r.id);
        // Folding collides easily; a taken id would make two projects one for every operation by id.
        while (ids.contains(id) || id.isNull())
            id = QUuid::createUuid();
        ids.insert(id);
        local.append(newProject(id, r, artboards));
        lowerNames.append(lowerName);
    }
    return local;
}

} // namespace orvane::RemoteProjectMerge
