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

// What a reply proposes is checked with the copilot context; here, the hook outlives its model.
TEST_F(WorkspaceModelTest, TheCopilotReplyHookDoesNothingOnceTheModelIsGone)
{
    auto model = makeModel();
    auto *store = model->copilotStore();
    store->setParent(nullptr);
    const auto keep = std::unique_ptr<CampaignCopilotStore>(store);
    const CampaignCopilotContext last = model->copilotContext();
    model.reset();
    ASSERT_TRUE(keep->onAgentReplyCompleted());
    keep->onAgentReplyCompleted()(u"## 1. Ship governed campaigns from one desk\nshort"_s, last);
}

} // namespace
} // namespace orvane::test
