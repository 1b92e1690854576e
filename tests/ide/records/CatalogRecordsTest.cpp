#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/records/CampaignPlatformConnection.h"
#include "ide/records/CampaignRecommendedNextAction.h"
#include "ide/records/IDEPrimaryDestination.h"
#include "ide/records/LocalWorkspaceFile.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/records/RecordTestSupport.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

using Mode = CampaignPlatformConnection::ConnectionMode;

TEST(PlatformConnections, DeriveTheirLabelsFromTheModeAndCodeAnyTextAsId)
{
    CampaignPlatformConnection connection = OrvaneWebParitySeeds::defaultConnections().first();
    connection.mode = Mode::localSandbox;
    EXPECT_TRUE(connection.isConnected());
    EXPECT_EQ(connection.monthlySpend(), u"$14,500/mo"_s);
    connection.mode = Mode::cloudConnected;
    EXPECT_EQ(connection.monthlySpend(), u"$14,500/mo"_s);
    connection.mode = Mode::disconnected;
    EXPECT_FALSE(connection.isConnected());
    EXPECT_EQ(connection.monthlySpend(), u"$0/mo"_s);

    EXPECT_EQ(connection.accountLabel(), u"Orvane Growth — US Search (492-881-2041)"_s);
    connection.accountName.clear();
    connection.accountID.clear();
    EXPECT_EQ(connection.accountLabel(), u" ()"_s);

    // Their ids are any text.
    connection.id = u"any text at all, not a uuid"_s;
    EXPECT_EQ(roundTrip(connection), connection);

    Json json = toJson(connection);
    json["mode"] = "Cloud OAuth";
    EXPECT_EQ(fromJson<CampaignPlatformConnection>(json).mode, Mode::cloudConnected);
    json["mode"] = "cloudConnected";
    EXPECT_EQ(decodeFailure<CampaignPlatformConnection>(json), "mode: unknown raw value for the enumeration");
}

TEST(AssetLibraryItems, LeaveOutAnAbsentProject)
{
    CampaignAssetLibraryItem item = OrvaneWebParitySeeds::defaultAssets(QUuid::createUuid()).first();
    EXPECT_EQ(roundTrip(item), item);
    item.projectID.reset();
    EXPECT_EQ(encodedKeys(item).back(), "updatedAt");
    EXPECT_EQ(roundTrip(item), item);

    Json json = toJson(item);
    json["projectID"] = nullptr;
    EXPECT_FALSE(fromJson<CampaignAssetLibraryItem>(json).projectID.has_value());
    json["kind"] = "landingPage";
    EXPECT_EQ(decodeFailure<CampaignAssetLibraryItem>(json), "kind: unknown raw value for the enumeration");
    json["kind"] = "Email Asset";
    EXPECT_EQ(fromJson<CampaignAssetLibraryItem>(json).kind, CampaignAssetLibraryItem::AssetKind::email);
    json["projectID"] = "8000000-0000-0000-0000-000000000001";
    EXPECT_EQ(decodeFailure<CampaignAssetLibraryItem>(json), "projectID: expected a UUID in canonical form");
}

TEST(RecommendedActions, CodeTheTargetWorkbenchAsItsLabel)
{
    const CampaignRecommendedNextAction action = OrvaneWebParitySeeds::defaultRecommendedActions().first();
    EXPECT_EQ(roundTrip(action), action);
    // What the home cards draw.
    EXPECT_EQ(action.impactLabel(), action.impactEstimate);
    EXPECT_EQ(action.detail(), action.rationale);

    Json json = toJson(action);
    json["targetWorkbench"] = "Local Files";
    EXPECT_EQ(fromJson<CampaignRecommendedNextAction>(json).targetWorkbench, IDEWorkbenchView::localFiles);
    json["targetWorkbench"] = "table";
    EXPECT_EQ(
        decodeFailure<CampaignRecommendedNextAction>(json), "targetWorkbench: unknown raw value for the enumeration");
}

TEST(AgentPersonas, CompareAndHashEveryField)
{
    const OrvaneAgentPersona persona = OrvaneWebParitySeeds::personas().first();
    OrvaneAgentPersona other = persona;
    EXPECT_EQ(other, persona);
    EXPECT_EQ(qHash(other), qHash(persona));
    other.accentHex = u"#CCFF01"_s;
    EXPECT_NE(other, persona);
    EXPECT_NE(qHash(other), qHash(persona));
    other = persona;
    other.defaultWorkbench = IDEWorkbenchView::table;
    EXPECT_NE(other, persona);
    EXPECT_EQ(
        QSet<OrvaneAgentPersona>(OrvaneWebParitySeeds::personas().cbegin(), OrvaneWebParitySeeds::personas().cend())
            .size(),
        6);
}

TEST(PrimaryDestinations, AreEqualByCaseAndThreadId)
{
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();
    EXPECT_EQ(IDEPrimaryDestination::thread(a), IDEPrimaryDestination::thread(a));
    EXPECT_NE(IDEPrimaryDestination::thread(a), IDEPrimaryDestination::thread(b));
    EXPECT_NE(IDEPrimaryDestination::thread(a), IDEPrimaryDestination::projects());
    EXPECT_NE(IDEPrimaryDestination::thread(QUuid()), IDEPrimaryDestination::projects());
    EXPECT_EQ(IDEPrimaryDestination(), IDEPrimaryDestination::projects());
    EXPECT_EQ(IDEPrimaryDestination::thread(a).threadID(), a);
    EXPECT_FALSE(IDEPrimaryDestination::settings().threadID().has_value());

    QSet<IDEPrimaryDestination> set;
    for (int i = 0; i < 3; ++i) {
        set.insert(IDEPrimaryDestination::projects());
        set.insert(IDEPrimaryDestination::thread(a));
    }
    set.insert(IDEPrimaryDestination::thread(b));
    set.insert(IDEPrimaryDestination::reports());
    EXPECT_EQ(set.size(), 4);
}

TEST(LocalWorkspaceFiles, AreIdentifiedByPathAndSortedByExactName)
{
    const auto file = [](const QString &name, const QString &content = {}) {
        return LocalWorkspaceFile { .name = name,
            .url = QUrl::fromLocalFile(u"/home/u/Documents/Orvane/q2 launch/"_s + name),
            .content = content,
            .isModified = false };
    };
    const LocalWorkspaceFile plan = file(u"campaign-plan.md"_s, u"# Plan"_s);
    LocalWorkspaceFile edited = plan;
    edited.content = u"# Plan, edited"_s;
    edited.isModified = true;
    EXPECT_EQ(edited.id(), plan.id());
    EXPECT_EQ(plan.id(), u"/home/u/Documents/Orvane/q2 launch/campaign-plan.md"_s);
    EXPECT_NE(edited, plan);
    EXPECT_EQ(edited.modifiedLabel(), u"Modified"_s);
    EXPECT_EQ(plan.modifiedLabel(), u"Synced"_s);
    EXPECT_EQ(file(u"a"_s, u"héllo ✓"_s).sizeBytes(), 10);

    // "Zeta" before "alpha"; the decomposed "é" sorts as the composed one; equal names keep order.
    const QString decomposed = u"e\u0301tude.md"_s;
    QList<LocalWorkspaceFile> files { file(u"media-plan.csv"_s), file(u"alpha.md"_s, u"first"_s), file(decomposed),
        file(u"Zeta.md"_s), file(u"\U0001F600.txt"_s), file(u"\uFF21.md"_s), file(u"alpha.md"_s, u"second"_s) };
    LocalWorkspaceFile::sortByName(files);
    QList<QString> names;
    for (const LocalWorkspaceFile &f : files)
        names.append(f.name);
    EXPECT_EQ(names,
        (QList<QString> { u"Zeta.md"_s, u"alpha.md"_s, u"alpha.md"_s, u"media-plan.csv"_s, decomposed, u"\uFF21.md"_s,
            u"\U0001F600.txt"_s }));
    EXPECT_EQ(files.at(1).content, u"first"_s);
}

} // namespace
