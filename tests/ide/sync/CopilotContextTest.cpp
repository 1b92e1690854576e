#include "ide/model/WorkspaceModelFixture.h"

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class CopilotContextTest : public WorkspaceModelTest {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    // Makes the sample project's artboards approved, all but the last `unapproved`.
    void approveAllBut(int unapproved)
    {
        model->mutateProject(CampaignIDEWorkspaceModel::sampleProjectID, [&](CampaignIDEProject &p) {
            for (qsizetype i = 0; i < p.creatives.size(); ++i)
                p.creatives[i].reviewStatus = i < p.creatives.size() - unapproved ? CreativeReviewStatus::approved
                                                                                  : CreativeReviewStatus::needsReview;
        });
    }

    void reply(const QString &text, const CampaignCopilotContext &context)
    {
        model->copilotStore()->onAgentReplyCompleted()(text, context);
    }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

TEST_F(CopilotContextTest, WithoutAProjectDescribesTheWholeWorkspace)
{
    model->setSelectedProjectID(std::nullopt);
    model->setReports({ ReportArtifact {}, ReportArtifact {} });
    const CampaignCopilotContext context = model->copilotContext();
    EXPECT_EQ(context.surface, CampaignCopilotSurface::projectsHome);
    EXPECT_EQ(utf8(context.artifact.value_or(QString())), "All Projects");
    EXPECT_EQ(context.teamName, u"Paid Media"_s);
    EXPECT_EQ(context.principalID, u"orvane-operator"_s);
    EXPECT_FALSE(context.projectID);
    EXPECT_FALSE(context.selection);
    ASSERT_EQ(context.facts.size(), 3);
    EXPECT_EQ(utf8(context.facts.at(0).value), "Orvane — Local Campaign IDE Launch, Q4 Enterprise Demand Gen");
    EXPECT_EQ(utf8(context.facts.at(1).value), "0 pending");
    EXPECT_EQ(utf8(context.facts.at(2).value), "2 available");
    EXPECT_TRUE(context.blockers.isEmpty());
    EXPECT_EQ(context.capabilities,
        (QList<QString> {
            u"Audit cross-channel spend"_s, u"Create a new campaign plan"_s, u"Review pending approvals"_s }));
    EXPECT_TRUE(context.unavailableData.isEmpty());

    // An unknown project id follows the section, but not the project.
    model->setSelectedProjectID(QUuid::createUuid());
    model->setSelectedSection(CampaignIDESection::approvals);
    const CampaignCopilotContext approvals = model->copilotContext();
    EXPECT_EQ(approvals.surface, CampaignCopilotSurface::approvals);
    EXPECT_EQ(utf8(approvals.artifact.value_or(QString())), "Approval Gates");
    EXPECT_EQ(approvals.facts.size(), 3);
    EXPECT_TRUE(approvals.blockers.isEmpty());
    EXPECT_EQ(approvals.capabilities,
        (QList<QString> { u"Explain risk level & script preview"_s, u"Verify budget guardrails"_s }));

    auto empty = makeModel(QList<CampaignIDEProject> {});
    EXPECT_EQ(utf8(empty->copilotContext().facts.at(0).value), "None");
}

TEST_F(CopilotContextTest, AProjectGivesItsFactsBlockersAndSelection)
{
    model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    approveAllBut(1);
    model->setSelectedSection(CampaignIDESection::creativeStudio);
    const CreativeCanvasArtboard artboard = *model->selectedArtboard();

    CampaignCopilotContext context = model->copilotContext();
    EXPECT_EQ(context.surface, CampaignCopilotSurface::creative);
    EXPECT_EQ(utf8(context.artifact.value_or(QString())), "Creative Studio");
    EXPECT_EQ(context.projectName, model->selectedProject()->name);
    EXPECT_EQ(
        context.selection, artboard.platform + u" · "_s + artboard.format + u" — \""_s + artboard.headline + u'"');
    ASSERT_EQ(context.facts.size(), 5);
    EXPECT_EQ(utf8(context.facts.at(2).value), "Ready");
    EXPECT_EQ(utf8(context.facts.at(3).value), "3/4 approved");
    EXPECT_EQ(utf8(context.facts.at(4).value), "Gated");
    // The sample proposals of this project are pending.
    EXPECT_EQ(
        context.blockers, (QList<QString> { u"Creative approvals incomplete"_s, u"Agent proposal awaiting review"_s }));

    model->mutateProject(CampaignIDEWorkspaceModel::sampleProjectID, [](CampaignIDEProject &p) {
        p.hasPlan = false;
        p.creatives.clear();
    });
    model->setAgentProposals({});
    model->setPlanProposal(std::nullopt);
    context = model->copilotContext();
    EXPECT_EQ(context.blockers, (QList<QString> { u"Campaign plan needs review"_s, u"No creative artboards"_s }));
    EXPECT_FALSE(context.selection);
    EXPECT_EQ(utf8(context.facts.at(2).value), "Draft");
}

TEST_F(CopilotContextTest, AReplyBecomesOneReviewableProposal)
{
    model->openProject(CampaignIDEWorkspaceModel::sampleProjectID);
    model->setSelectedSection(CampaignIDESection::creativeStudio);
    model->setAgentProposals({});
    const CreativeCanvasArtboard artboard = *model->selectedArtboard();
    const CampaignCopilotContext creative = model->copilotContext();

    reply(u"ok\n## 1. Launch governed campaigns <b>faster</b>\nmore"_s, creative);
    ASSERT_EQ(model->agentProposals().size(), 1);
    const CampaignIDEAgentProposal proposal = model->agentProposals().first();
    EXPECT_EQ(utf8(proposal.after), "Launch governed campaigns <b>faster</b>"); // text, not markup
    EXPECT_EQ(proposal.before, artboard.headline);
    EXPECT_EQ(proposal.artboardID, artboard.id);
    EXPECT_EQ(utf8(proposal.title), "Agent copy suggestion");
    EXPECT_EQ(proposal.status, AgentProposalStatus::pending);
    reply(u"## 1. Launch governed campaigns faster today"_s, creative);
    EXPECT_EQ(model->agentProposals().size(), 1); // one pending per artboard

    // Nothing usable: every line too short or too long once cleaned.
    model->setSelectedSection(CampaignIDESection::document);
    const CampaignCopilotContext plan = model->copilotContext();
    model->setPlanProposal(std::nullopt);
    reply(u"- short\n"_s + QString(141, u'x'), plan);
    EXPECT_FALSE(model->planProposal());
    reply(u"> Focus the plan on qualified demos"_s, plan);
    ASSERT_TRUE(model->planProposal());
    EXPECT_EQ(utf8(model->planProposal()->after), "Focus the plan on qualified demos");
    EXPECT_EQ(model->planProposal()->before, model->selectedProject()->objective);
}

} // namespace
} // namespace orvane::test
