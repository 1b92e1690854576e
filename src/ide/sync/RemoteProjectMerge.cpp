#include "ide/sync/RemoteProjectMerge.h"

#include "kit/support/RelativeDate.h"

#include <QHash>
#include <QHashFunctions>
#include <QRegularExpression>
#include <QSet>
#include <QVarLengthArray>

#include <algorithm>
#include <array>
#include <cstring>
#include <functional>

namespace orvane::RemoteProjectMerge {

using namespace Qt::StringLiterals;

namespace {

bool isCanonicalUUIDText(const QString &text)
{
    static const QRegularExpression canonical(
        u"\\A[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{12}\\z"_s);
    return canonical.match(text).hasMatch();
}

CampaignIDEProject newProject(
    const QUuid &id, const Project &remote, const ArtboardFactory &artboards, const QDateTime &now)
{
    const bool hasDescription = remote.description && !remote.description->isEmpty();
    return CampaignIDEProject {
        .id = id,
        .serverID = remote.id,
        .name = remote.name,
        .status = u"Creative review"_s,
        .updated = remote.updatedAt.isEmpty() ? u"Recent"_s : relativeDate(remote.updatedAt, now),
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

void update(CampaignIDEProject &local, const Project &remote, const QDateTime &now)
{
    local.serverID = remote.id;
    local.name = remote.name;
    if (!remote.updatedAt.isEmpty())
        local.updated = relativeDate(remote.updatedAt, now);
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

namespace {

// Qt's hash of a UUID leaves out some of its bytes, and ids folded from short server ids differ in
// few bytes, so a long list of them would land in a handful of buckets; this key hashes every byte.
struct ProjectID {
    QUuid id;
    bool operator==(const ProjectID &) const = default;
};

size_t qHash(const ProjectID &key, size_t seed = 0) noexcept
{
    quint64 tail = 0;
    std::memcpy(&tail, key.id.data4, sizeof tail);
    return qHashMulti(seed, key.id.data1, key.id.data2, key.id.data3, tail);
}

// Where each key (a server id, a lower-cased name) is found in the working list: per key, a
// min-heap of the positions of the projects that carried it, so the first of them is the match. A
// remote project that updates a project can change its keys; the position it leaves stays in the
// old key's heap until a lookup finds that the project there no longer carries the key and drops
// it. Each update adds at most one entry per index, so the heaps stay as long as the lists.
class KeyIndex final {
public:
    void reserve(qsizetype size) { m_positions.reserve(size); }
    void add(const QString &key, qsizetype position)
    {
        Positions &heap = m_positions[key];
        heap.append(position);
        std::push_heap(heap.begin(), heap.end(), std::greater<>());
    }
    // The first position whose project still carries the key (`carries(position)`); `none` when
    // there is none.
    template <typename Carries> [[nodiscard]] qsizetype first(const QString &key, qsizetype none, Carries carries)
    {
        const auto found = m_positions.find(key);
        if (found == m_positions.end())
            return none;
        Positions &heap = *found;
        while (!heap.isEmpty() && !carries(heap.front())) {
            std::pop_heap(heap.begin(), heap.end(), std::greater<>());
            heap.removeLast();
        }
        if (heap.isEmpty()) {
            m_positions.erase(found);
            return none;
        }
        return heap.front();
    }

private:
    using Positions = QVarLengthArray<qsizetype, 1>;
    QHash<QString, Positions> m_positions;
};

} // namespace

QList<CampaignIDEProject> merge(
    QList<CampaignIDEProject> local, const QList<Project> &remote, const ArtboardFactory &artboards)
{
    // One clock for the whole merge: every update time is measured from the same moment.
    const QDateTime now = relativeDateNow();
    QSet<ProjectID> ids;
    ids.reserve(local.size() + remote.size());
    // Lower-cased names, kept beside the list so that each project's name is folded once.
    QList<QString> lowerNames;
    lowerNames.reserve(local.size() + remote.size());
    KeyIndex byServerID;
    KeyIndex byName;
    byServerID.reserve(local.size() + remote.size());
    byName.reserve(local.size() + remote.size());
    for (qsizetype i = 0; i < local.size(); ++i) {
        const CampaignIDEProject &project = local.at(i);
        ids.insert({ project.id });
        lowerNames.append(project.name.toLower());
        if (project.serverID)
            byServerID.add(*project.serverID, i);
        byName.add(lowerNames.last(), i);
    }

    for (const Project &r : remote) {
        const QString lowerName = r.name.toLower();
        // The first project in list order that passes either test: a name match earlier in the
        // list beats a server-id match later in it.
        const qsizetype none = local.size();
        const qsizetype byID
            = byServerID.first(r.id, none, [&](qsizetype at) { return local.at(at).serverID == r.id; });
        const qsizetype byLowerName
            = byName.first(lowerName, none, [&](qsizetype at) { return lowerNames.at(at) == lowerName; });
        const qsizetype match = std::min(byID, byLowerName);
        if (match < none) {
            CampaignIDEProject &project = local[match];
            if (project.serverID != r.id)
                byServerID.add(r.id, match);
            if (lowerNames.at(match) != lowerName) {
                byName.add(lowerName, match);
                lowerNames[match] = lowerName;
            }
            update(project, r, now);
            continue;
        }
        // Appended at position `none`, where later remote projects find it.
        QUuid id = deterministicUUID(r.id);
        // Folding collides easily; a taken id would make two projects one for every operation by id.
        while (ids.contains({ id }) || id.isNull())
            id = QUuid::createUuid();
        ids.insert({ id });
        local.append(newProject(id, r, artboards, now));
        lowerNames.append(lowerName);
        byServerID.add(r.id, none);
        byName.add(lowerName, none);
    }
    return local;
}

} // namespace orvane::RemoteProjectMerge
