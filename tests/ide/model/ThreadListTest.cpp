#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceModelFixture.h"

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

using ThreadListTest = WorkspaceModelTest;

// Edits of a tab name the tab; a thread whose body is still on disk has no tabs in memory, so each
// edit reads the body before it looks for the tab.
TEST_F(ThreadListTest, TabEditsOfAThreadNotYetReadReadItsBodyFirst)
{
    auto model = makeModel();
    CampaignIDEThread drafting = model->threads().last();
    drafting.id = QUuid::createUuid();
    model->insertThread(model->threads().size(), drafting);
    const QUuid closing = model->threads().at(1).id;
    model->addAgentTab(std::nullopt, closing);
    const QUuid closedTab = model->thread(closing)->agentTabs.last().id;
    model.reset();

    model = makeModel();
    ThreadList &threads = model->threadList();
    ASSERT_FALSE(threads.hasThreadBody(closing) || threads.hasThreadBody(drafting.id));
    threads.closeAgentTab(closedTab, closing);
    EXPECT_EQ(threads.thread(closing)->agentTabs.size(), 1);
    const QUuid tabID = drafting.activeAgentTabID;
    threads.setThreadDraft(u"Draft kept"_s, drafting.id, tabID);
    ASSERT_TRUE(threads.tab(drafting.id, tabID));
    EXPECT_EQ(threads.tab(drafting.id, tabID)->draftPrompt, u"Draft kept"_s);
}

} // namespace
} // namespace orvane::test
