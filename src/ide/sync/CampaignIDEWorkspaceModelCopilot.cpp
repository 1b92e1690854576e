// The copilot's side of the workspace model: what the user works on, and what the copilot's
// replies leave behind in the workspace.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/ServerSyncState.h"

#include "ide/copilot/CampaignCopilotStore.h"

#include <QRegularExpression>

#include <algorithm>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

// The copilot's surface for a section of the selected project.
CampaignCopilotSurface copilotSurface(CampaignIDESection section)
{
    switch (section) {
    case CampaignIDESection::document:
        return CampaignCopilotSurface::plan;
    case CampaignIDESection::creativeStudio:
        return CampaignCopilotSurface::creative;
    case CampaignIDESection::reports:
        return CampaignCopilotSurface::reports;
    case CampaignIDESection::approvals:
        return CampaignCopilotSurface::approvals;
    case CampaignIDESection::localFiles:
        return CampaignCopilotSurface::localFiles;
    case CampaignIDESection::dashboard:
        return CampaignCopilotSurface::dashboard;
    case CampaignIDESection::settings:
        return CampaignCopilotSurface::settings;
    }
    return CampaignCopilotSurface::plan;
}

} // namespace

// --- Copilot --------------------------------------------------------------------------------------

CampaignCopilotContext CampaignIDEWorkspaceModel::copilotContext() const
{
    const auto project = selectedProject();
    CampaignCopilotContext context;
    context.principalID = identity().principalID;
    context.accountName = identity().accountName;
    context.workspaceID = identity().workspaceID;
    context.workspaceName = identity().workspaceName;
    context.teamName = u"Paid Media"_s;
    context.projectID = selectedProjectID();
    if (project) {
        context.remoteProjectID = project->serverID;
        context.projectName = project->name;
    }
    context.surface = selectedProjectID() ? copilotSurface(m_selectedSection) : CampaignCopilotSurface::projectsHome;
    context.artifact = selectedProjectID() ? title(m_selectedSection) : u"All Projects"_s;
    if (m_selectedSection == CampaignIDESection::creativeStudio) {
        if (const auto artboard = selectedArtboard())
            context.selection
                = artboard->platform + u" · "_s + artboard->format + u" — \""_s + artboard->headline + u'"';
    } else if (m_selectedSection == CampaignIDESection::localFiles) {
        if (const auto file = selectedLocalFile())
            context.selection = file->name;
    }

    if (project) {
        context.facts = {
            { u"Objective"_s, project->objective },
            { u"Channels"_s, project->channelsAndBudget },
            { u"Plan"_s, project->hasPlan ? u"Ready"_s : u"Draft"_s },
            { u"Creatives"_s,
                QString::number(project->approvedCreativeCount()) + u'/' + QString::number(project->creatives.size())
                    + u" approved"_s },
            { u"Launch"_s, launchStateLabel() },
        };
        if (!project->hasPlan)
            context.blockers.append(u"Campaign plan needs review"_s);
        if (project->creatives.isEmpty())
            context.blockers.append(u"No creative artboards"_s);
        else if (project->approvedCreativeCount() != project->creatives.size())
            context.blockers.append(u"Creative approvals incomplete"_s);
        const bool pendingProposal
            = std::any_of(m_agentProposals.cbegin(), m_agentProposals.cend(),
                  [&](const CampaignIDEAgentProposal &p) {
                      return p.projectID == project->id && p.status == AgentProposalStatus::pending;
                  })
            || (m_planProposal && m_planProposal->projectID == project->id
                && m_planProposal->status == AgentProposalStatus::pending);
        if (pendingProposal)
            context.blockers.append(u"Agent proposal awaiting review"_s);
    } else {
        QList<QString> names;
        for (const CampaignIDEProject &p : projects())
            names.append(p.name);
        context.facts = {
            { u"Projects"_s, names.isEmpty() ? u"None"_s : names.join(u", "_s) },
            { u"Approvals"_s, QString::number(m_pendingActions.size()) + u" pending"_s },
            { u"Reports"_s, QString::number(reports().size()) + u" available"_s },
        };
    }

    if (!selectedProjectID()) {
        context.capabilities
            = { u"Audit cross-channel spend"_s, u"Create a new campaign plan"_s, u"Review pending approvals"_s };
    } else {
        switch (m_selectedSection) {
        case CampaignIDESection::document:
            context.capabilities = { u"Refine objective & audience"_s, u"Propose channel & budget allocation"_s,
                u"Generate creative brief"_s };
            break;
        case CampaignIDESection::creativeStudio:
            context.capabilities = { u"Write high-converting headline variants"_s, u"Check platform character limits"_s,
                u"Propose artboard diff"_s };
            break;
        case CampaignIDESection::reports:
            context.capabilities
                = { u"Summarize lift & ROAS"_s, u"Generate executive HTML report"_s, u"Identify wasted ad spend"_s };
            break;
        case CampaignIDESection::approvals:
            context.capabilities = { u"Explain risk level & script preview"_s, u"Verify budget guardrails"_s };
            break;
        case CampaignIDESection::localFiles:
            context.capabilities = { u"Inspect local Markdown & JSON files"_s, u"Sync campaign brief to disk"_s };
            break;
        case CampaignIDESection::dashboard:
            context.capabilities = { u"Summarize post-launch delivery"_s, u"Recommend bid or budget adjustments"_s };
            break;
        case CampaignIDESection::settings:
            context.capabilities = { u"Review campaign governance rules"_s, u"Verify connected ad accounts"_s };
            break;
        }
    }
    context.isFresh = identity().contextIsFresh;
    return context;
}

void CampaignIDEWorkspaceModel::handleAgentReply(const QString &reply, const CampaignCopilotContext &context)
{
    if (!context.projectID)
        return;
    const CampaignIDEProject *project = this->project(*context.projectID);
    if (!project)
        return;
    static const QRegularExpression leadingMarks(u"^[#*\\->0-9.\\s]+"_s);
    std::optional<QString> chosen;
    for (const QString &line : reply.split(u'\n')) {
        QString cleaned = line;
        cleaned.remove(leadingMarks);
        cleaned = cleaned.trimmed();
        if (cleaned.size() >= 18 && cleaned.size() <= 140) {
            chosen = cleaned;
            break;
        }
    }
    if (!chosen)
        return;
    if (context.surface == CampaignCopilotSurface::plan) {
        if (m_planProposal && m_planProposal->projectID == *context.projectID
            && m_planProposal->status == AgentProposalStatus::pending)
            return;
        setPlanProposal(CampaignIDEPlanProposal { QUuid::createUuid(), *context.projectID,
            u"Agent objective refinement"_s, u"Proposed from your Workspace Agent conversation."_s, project->objective,
            *chosen, AgentProposalStatus::pending });
    } else if (context.surface == CampaignCopilotSurface::creative) {
        const auto artboard = selectedArtboard();
        if (!artboard)
            return;
        const bool pending
            = std::any_of(m_agentProposals.cbegin(), m_agentProposals.cend(), [&](const CampaignIDEAgentProposal &p) {
                  return p.projectID == *context.projectID && p.artboardID == artboard->id
                      && p.status == AgentProposalStatus::pending;
              });
        if (pending)
            return;
        QList<CampaignIDEAgentProposal> proposals = m_agentProposals;
        proposals.prepend(CampaignIDEAgentProposal { QUuid::createUuid(), *context.projectID, artboard->id,
            u"Agent copy suggestion"_s, u"Extracted from your latest Workspace Agent turn."_s, artboard->headline,
            *chosen, AgentProposalStatus::pending });
        setAgentProposals(proposals);
    }
}

} // namespace orvane
