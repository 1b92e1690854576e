#include "ide/sync/RemoteProjectMerge.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QRandomGenerator>
#include <QSet>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

Project remote(const QString &id, const QString &name)
{
    Project p;
    p.id = id;
    p.name = name;
    return p;
}

CampaignIDEProject local(const QString &name, std::optional<QString> serverID = std::nullopt)
{
    CampaignIDEProject p = CampaignIDEWorkspaceModel::sampleProjects().at(1);
    p.id = QUuid::createUuid();
    p.name = name;
    p.serverID = std::move(serverID);
    p.status = u"Plan ready"_s;
    p.updated = u"2h ago"_s;
    p.objective = u"Local objective"_s;
    return p;
}

QList<CreativeCanvasArtboard> noArtboards(const QUuid &)
{
    return {};
}

std::string uuidText(const QUuid &id)
{
    return id.toString(QUuid::WithoutBraces).toUpper().toStdString();
}

TEST(DeterministicUUID, KeepsCanonicalIdsAndFoldsEveryOtherText)
{
    EXPECT_EQ(uuidText(RemoteProjectMerge::deterministicUUID(u"e621e1f8-c36c-495a-93fc-0c247a3e6e5f"_s)),
        "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(uuidText(RemoteProjectMerge::deterministicUUID(u"proj_123"_s)), "70E44DA8-DB26-4E33-8000-000000000000");
    EXPECT_EQ(uuidText(RemoteProjectMerge::deterministicUUID(u""_s)), "00000000-0000-4000-8000-000000000000");
    // Only the standard 36-character form is taken as it stands.
    EXPECT_EQ(
        uuidText(RemoteProjectMerge::deterministicUUID(u"{e621e1f8-c36c-495a-93fc-0c247a3e6e5f}"_s)).substr(14, 1),
        "4");
    EXPECT_NE(uuidText(RemoteProjectMerge::deterministicUUID(u"{e621e1f8-c36c-495a-93fc-0c247a3e6e5f}"_s)),
        "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(
        RemoteProjectMerge::deterministicUUID(u"cm9z1abc"_s), RemoteProjectMerge::deterministicUUID(u"cm9z1abc"_s));
    // The fold collides easily.
    EXPECT_EQ(RemoteProjectMerge::deterministicUUID(u"dxxxxxxxxxxxxxxxa"_s),
        RemoteProjectMerge::deterministicUUID(u"axxxxxxxxxxxxxxxb"_s));
}

TEST(RemoteProjectMerge, UpdatesTheFirstLocalMatchByServerIdOrNameIgnoringCase)
{
    // The first project matches by name, the second by server id: the first wins. The third keeps the
    // texts its server project leaves empty.
    const QList<CampaignIDEProject> before { local(u"Spring Launch"_s), local(u"Other"_s, u"srv-1"_s),
        local(u"Autumn"_s, u"srv-2"_s) };
    Project r = remote(u"srv-1"_s, u"SPRING launch"_s);
    r.description = u"Server objective"_s;
    r.updatedAt = u"not a date"_s;
    Project empty = remote(u"srv-2"_s, u"Autumn"_s);
    empty.description = u""_s;

    const QList<CampaignIDEProject> after = RemoteProjectMerge::merge(before, { r, empty }, &noArtboards);
    ASSERT_EQ(after.size(), 3);
    EXPECT_EQ(after.at(0).id, before.at(0).id);
    EXPECT_EQ(after.at(0).serverID, u"srv-1"_s);
    EXPECT_EQ(utf8(after.at(0).name), "SPRING launch");
    EXPECT_EQ(utf8(after.at(0).objective), "Server objective");
    EXPECT_EQ(utf8(after.at(0).updated), "not a date");
    // Everything else of the local project stays.
    EXPECT_EQ(utf8(after.at(0).status), "Plan ready");
    EXPECT_EQ(after.at(0).creatives, before.at(0).creatives);
    EXPECT_EQ(after.at(1), before.at(1));
    EXPECT_EQ(utf8(after.at(2).objective), "Local objective");
    EXPECT_EQ(utf8(after.at(2).updated), "2h ago");
}

TEST(RemoteProjectMerge, AppendsUnmatchedProjectsWithDefaults)
{
    const QList<CampaignIDEProject> before { local(u"Spring"_s) };
    Project bare = remote(u"srv-9"_s, u"Autumn"_s);
    Project planned = remote(u"e621e1f8-c36c-495a-93fc-0c247a3e6e5f"_s, u"Winter"_s);
    planned.description = u"Winter objective"_s;
    planned.updatedAt = u"2001-01-01T00:00:00Z"_s;
    planned.campaignPlanCount = 1;
    Project withItems = remote(u"srv-11"_s, u"Summer"_s);
    withItems.audienceCount = 2;

    QList<QUuid> artboardOwners;
    const auto artboards = [&](const QUuid &id) {
        artboardOwners.append(id);
        return CampaignIDEWorkspaceModel::planDerivedArtboards(id);
    };
    const QList<CampaignIDEProject> after = RemoteProjectMerge::merge(before, { bare, planned, withItems }, artboards);
    ASSERT_EQ(after.size(), 4);
    EXPECT_EQ(after.at(0), before.at(0));

    const CampaignIDEProject &a = after.at(1);
    EXPECT_EQ(a.id, RemoteProjectMerge::deterministicUUID(u"srv-9"_s));
    EXPECT_EQ(a.serverID, u"srv-9"_s);
    EXPECT_EQ(utf8(a.name), "Autumn");
    EXPECT_EQ(utf8(a.status), "Creative review");
    EXPECT_EQ(utf8(a.updated), "Recent");
    EXPECT_EQ(
        utf8(a.objective), "Acquire qualified pipeline across search and social channels with governed execution.");
    EXPECT_EQ(
        utf8(a.audience), "Performance marketing leaders and growth engineers at B2B SaaS and commerce companies.");
    EXPECT_EQ(utf8(a.channelsAndBudget),
        "Google Search + LinkedIn Sponsored Content · $5,000 test flight · optimize for qualified demos.");
    EXPECT_EQ(utf8(a.message),
        "One local & cloud IDE for planning, creative production, governed execution, and lift attribution.");
    EXPECT_EQ(utf8(a.guardrails),
        "Verify conversion tracking and destination URLs. Every external budget or campaign mutation requires "
        "explicit approval.");
    EXPECT_FALSE(a.hasPlan);
    EXPECT_FALSE(a.isLaunched);
    EXPECT_EQ(a.creatives.size(), 4);

    const CampaignIDEProject &w = after.at(2);
    EXPECT_EQ(uuidText(w.id), "E621E1F8-C36C-495A-93FC-0C247A3E6E5F");
    EXPECT_EQ(utf8(w.objective), "Winter objective");
    EXPECT_NE(utf8(w.updated), "Recent");
    EXPECT_NE(utf8(w.updated), "2001-01-01T00:00:00Z"); // shown relative to now
    EXPECT_TRUE(w.hasPlan);
    EXPECT_TRUE(after.at(3).hasPlan);
    EXPECT_EQ(artboardOwners, (QList<QUuid> { a.id, w.id, after.at(3).id }));
}

TEST(RemoteProjectMerge, TwoRemoteProjectsOfOneNameAddOneProject)
{
    const QList<CampaignIDEProject> after = RemoteProjectMerge::merge(
        {}, { remote(u"srv-1"_s, u"Launch"_s), remote(u"srv-2"_s, u"LAUNCH"_s) }, &noArtboards);
    ASSERT_EQ(after.size(), 1);
    EXPECT_EQ(after.at(0).id, RemoteProjectMerge::deterministicUUID(u"srv-1"_s));
    EXPECT_EQ(after.at(0).serverID, u"srv-2"_s);
    EXPECT_EQ(utf8(after.at(0).name), "LAUNCH");
}

// Projects sharing a name: every remote project of that name updates the first of them, which
// carries the server id it took last; the id it gave up matches nothing any more.
TEST(RemoteProjectMerge, DuplicateNamesAllMatchTheFirstOfThem)
{
    const QList<CampaignIDEProject> before { local(u"Launch"_s), local(u"launch"_s, u"srv-9"_s) };
    const QList<CampaignIDEProject> after = RemoteProjectMerge::merge(before,
        { remote(u"srv-1"_s, u"LAUNCH"_s), remote(u"srv-2"_s, u"Launch"_s), remote(u"srv-1"_s, u"Other"_s),
            remote(u"srv-9"_s, u"lAunch"_s) },
        &noArtboards);
    ASSERT_EQ(after.size(), 3);
    // srv-9 names the second project, but the first matches by name ahead of it.
    EXPECT_EQ(after.at(0).serverID, u"srv-9"_s);
    EXPECT_EQ(utf8(after.at(0).name), "lAunch");
    EXPECT_EQ(after.at(1), before.at(1));
    EXPECT_EQ(after.at(2).serverID, u"srv-1"_s);
    EXPECT_EQ(utf8(after.at(2).name), "Other");
}

// The scan the merge is defined by: for each remote project, the first project of the working list
// whose server id or lower-cased name matches.
QList<CampaignIDEProject> mergeByScan(QList<CampaignIDEProject> list, const QList<Project> &remote)
{
    for (const Project &r : remote) {
        auto match = std::find_if(list.begin(), list.end(), [&](const CampaignIDEProject &p) {
            return (p.serverID && *p.serverID == r.id) || p.name.toLower() == r.name.toLower();
        });
        if (match == list.end()) {
            CampaignIDEProject added = RemoteProjectMerge::merge({}, { r }, &noArtboards).constFirst();
            list.append(added);
            continue;
        }
        match->serverID = r.id;
        match->name = r.name;
        if (r.description && !r.description->isEmpty())
            match->objective = *r.description;
    }
    return list;
}

// Random lists over a few names (in several letter cases) and server ids, so that names repeat,
// ids move between projects and projects appended by the merge are matched again.
TEST(RemoteProjectMerge, MatchesAsTheScanOverTheWorkingListDoes)
{
    QRandomGenerator random(20241207);
    const QStringList names { u"alpha"_s, u"Alpha"_s, u"ALPHA"_s, u"beta"_s, u"Beta"_s, u"gamma"_s, u"Straße"_s,
        u"STRASSE"_s, u"strasse"_s };
    const auto serverID = [&]() -> QString { return u"srv-"_s + QString::number(random.bounded(6)); };
    for (int round = 0; round < 300; ++round) {
        QList<CampaignIDEProject> before;
        for (int i = 0, n = random.bounded(6); i < n; ++i) {
            before.append(local(
                names.at(random.bounded(names.size())), random.bounded(2) ? std::optional(serverID()) : std::nullopt));
        }
        QList<Project> incoming;
        for (int i = 0, n = random.bounded(1, 8); i < n; ++i) {
            Project r = remote(serverID(), names.at(random.bounded(names.size())));
            r.description = u"Objective "_s + QString::number(i);
            incoming.append(r);
        }
        QList<CampaignIDEProject> merged = RemoteProjectMerge::merge(before, incoming, &noArtboards);
        QList<CampaignIDEProject> expected = mergeByScan(before, incoming);
        // Appended projects whose derived id was taken get random ids; everything else must agree.
        ASSERT_EQ(merged.size(), expected.size()) << round;
        for (qsizetype i = before.size(); i < merged.size(); ++i)
            merged[i].id = expected[i].id;
        EXPECT_EQ(merged, expected) << round;
    }
}

TEST(RemoteProjectMerge, NeverGivesTwoProjectsOneId)
{
    // The two server ids fold to one UUID; a local project already holds a third derived id.
    CampaignIDEProject taken = local(u"Local"_s);
    taken.id = RemoteProjectMerge::deterministicUUID(u"srv-3"_s);
    const QList<CampaignIDEProject> after = RemoteProjectMerge::merge({ taken },
        { remote(u"dxxxxxxxxxxxxxxxa"_s, u"First"_s), remote(u"axxxxxxxxxxxxxxxb"_s, u"Second"_s),
            remote(u"srv-3"_s, u"Third"_s) },
        &noArtboards);
    ASSERT_EQ(after.size(), 4);
    QSet<QUuid> ids;
    for (const CampaignIDEProject &p : after)
        ids.insert(p.id);
    EXPECT_EQ(ids.size(), 4);
    // The first to claim a derived id keeps it; the later ones get fresh random ids.
    EXPECT_EQ(after.at(1).id, RemoteProjectMerge::deterministicUUID(u"dxxxxxxxxxxxxxxxa"_s));
    EXPECT_NE(after.at(2).id, RemoteProjectMerge::deterministicUUID(u"axxxxxxxxxxxxxxxb"_s));
    EXPECT_EQ(after.at(2).serverID, u"axxxxxxxxxxxxxxxb"_s);
    EXPECT_NE(after.at(3).id, taken.id);
    EXPECT_EQ(after.at(3).id.version(), QUuid::Random);

    // A later merge finds them again by server id and adds nothing.
    const QList<CampaignIDEProject> again = RemoteProjectMerge::merge(after,
        { remote(u"axxxxxxxxxxxxxxxb"_s, u"Second renamed"_s), remote(u"dxxxxxxxxxxxxxxxa"_s, u"First"_s) },
        &noArtboards);
    ASSERT_EQ(again.size(), 4);
    EXPECT_EQ(again.at(2).id, after.at(2).id);
    EXPECT_EQ(utf8(again.at(2).name), "Second renamed");
}

// Through the model: deleting one merged project leaves the one whose server id folds alike.
class MergedProjectIdsTest : public WorkspaceModelTest { };

TEST_F(MergedProjectIdsTest, DeletingOneMergedProjectKeepsTheOther)
{
    auto model = makeModel();
    model->setProjects(RemoteProjectMerge::merge(model->projects(),
        { remote(u"dxxxxxxxxxxxxxxxa"_s, u"First"_s), remote(u"axxxxxxxxxxxxxxxb"_s, u"Second"_s) },
        &CampaignIDEWorkspaceModel::planDerivedArtboards));
    const qsizetype count = model->projects().size();
    const QUuid first = model->projects().at(count - 2).id;
    EXPECT_EQ(model->removeProjects([&](const CampaignIDEProject &p) { return p.id == first; }), 1);
    ASSERT_EQ(model->projects().size(), count - 1);
    EXPECT_EQ(utf8(model->projects().last().name), "Second");
}

} // namespace
} // namespace orvane::test
