#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

CampaignCopilotContext context(std::optional<QUuid> project, std::optional<QString> projectName = std::nullopt)
{
    CampaignCopilotContext c;
    c.principalID = u"orvane-operator"_s;
    c.workspaceID = u"orvane-workspace"_s;
    c.workspaceName = u"Team Space"_s;
    c.projectID = project;
    c.projectName = projectName;
    c.isFresh = true;
    return c;
}

TEST(CampaignCopilotStoreTest, ScopeChangesAnnounceOnlyANewProjectOrALostScope)
{
    CampaignCopilotStore store;
    QSignalSpy changed(&store, &CampaignCopilotStore::changed);
    const QUuid a = QUuid::createUuid();
    const QUuid b = QUuid::createUuid();

    store.activate(context(a, u"A"_s));
    EXPECT_EQ(store.activeScope()->projectID, a);
    EXPECT_FALSE(store.scopeChangeNotice());

    // An equal key changes nothing, even with other facts.
    auto same = context(a, u"Renamed"_s);
    same.facts = { { u"x"_s, u"y"_s } };
    store.activate(same);
    EXPECT_EQ(changed.count(), 1);

    store.activate(context(b, u"B"_s));
    EXPECT_EQ(store.scopeChangeNotice(), u"Switched agent scope to B."_s);
    store.activate(context(std::nullopt));
    EXPECT_EQ(store.scopeChangeNotice(), u"Switched agent scope to Team Space."_s);
    auto noNames = context(a);
    noNames.workspaceName.reset();
    store.activate(noNames);
    EXPECT_EQ(store.scopeChangeNotice(), u"Switched agent scope to Orvane Workspace."_s);

    // A new principal on the same project switches silently.
    auto other = context(a);
    other.principalID = u"someone-else"_s;
    store.activate(other);
    EXPECT_FALSE(store.scopeChangeNotice());

    auto stale = context(a);
    stale.isFresh = false;
    store.activate(stale);
    EXPECT_FALSE(store.activeScope());
    EXPECT_EQ(store.scopeChangeNotice(), u"Context became unavailable. Agent actions are disabled."_s);
    // From no scope, a keyless context changes nothing.
    auto empty = context(a);
    empty.workspaceID = QString();
    const int before = int(changed.count());
    store.activate(empty);
    EXPECT_EQ(changed.count(), before);
}

TEST(CampaignCopilotStoreTest, SwitchingCancelsTheRunAndKeepsDraftsPerScope)
{
    CampaignCopilotStore store;
    const QUuid a = QUuid::createUuid();
    store.activate(context(a));
    const CampaignCopilotScopeKey keyA = *store.activeScope();
    store.setDraft(keyA, u"draft A"_s);
    bool cancelled = false;
    store.setRunCancellation([&] { cancelled = true; });
    store.activate(context(QUuid::createUuid()));
    EXPECT_TRUE(cancelled);
    EXPECT_FALSE(store.hasRunTask());
    EXPECT_FALSE(store.isRunning());
    store.activate(context(a));
    EXPECT_EQ(store.draft(keyA), u"draft A"_s);
}

TEST_F(WorkspaceModelTest, CopilotContextDescribesTheSelectedProject)
{
    const auto model = makeModel();
    CampaignCopilotContext c = model->copilotContext();
    EXPECT_EQ(c.surface, CampaignCopilotSurface::plan);
    EXPECT_EQ(c.artifact, u"Campaign Plan"_s);
    ASSERT_EQ(c.facts.size(), 5);
    EXPECT_EQ(c.facts.at(3).value, u"0/4 approved"_s);
    EXPECT_EQ(c.facts.at(4).value, u"Gated"_s);
    EXPECT_EQ(c.blockers, (QList<QString> { u"Creative approvals incomplete"_s, u"Agent proposal awaiting review"_s }));
    EXPECT_EQ(c.teamName, u"Paid Media"_s);

    model->setSelectedSection(CampaignIDESection::creativeStudio);
    c = model->copilotContext();
    EXPECT_EQ(c.surface, CampaignCopilotSurface::creative);
    EXPECT_EQ(c.selection, u"Google Search · Responsive search ad — \"Your agents plan. Orvane executes.\""_s);

    model->setSelectedProjectID(std::nullopt);
    c = model->copilotContext();
    EXPECT_EQ(c.surface, CampaignCopilotSurface::projectsHome);
    EXPECT_EQ(c.artifact, u"All Projects"_s);
    ASSERT_EQ(c.facts.size(), 3);
    EXPECT_EQ(c.facts.at(1).value, u"0 pending"_s);
    EXPECT_TRUE(c.blockers.isEmpty());
    EXPECT_EQ(c.capabilities.size(), 3);
}

TEST_F(WorkspaceModelTest, TheCopilotReplyHookProposesCopyForTheSelectedArtboard)
{
    auto model = makeModel();
    model->setSelectedSection(CampaignIDESection::creativeStudio);
    // The sample proposal already waits on the first artboard; the second has none.
    model->setSelectedArtboardID(model->projects().first().creatives.at(1).id);
    const auto &hook = model->copilotStore()->onAgentReplyCompleted();
    ASSERT_TRUE(hook);
    const QString reply = u"## 1. Ship governed campaigns from one desk\nshort"_s;
    hook(reply, model->copilotContext());
    ASSERT_EQ(model->agentProposals().size(), 2);
    EXPECT_EQ(model->agentProposals().first().after, u"Ship governed campaigns from one desk"_s);
    hook(reply, model->copilotContext());
    EXPECT_EQ(model->agentProposals().size(), 2);

    // Once the model is gone the hook does nothing.
    auto *store = model->copilotStore();
    store->setParent(nullptr);
    const auto keep = std::unique_ptr<CampaignCopilotStore>(store);
    const CampaignCopilotContext last = model->copilotContext();
    model.reset();
    keep->onAgentReplyCompleted()(reply, last);
}

} // namespace
} // namespace orvane::test
