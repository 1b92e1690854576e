#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

namespace orvane {

// A person's decision on an agent's proposal; only pending ones count as open approvals.
enum class AgentProposalStatus { pending, applied, rejected };

// New copy an agent suggests for one artboard.
struct CampaignIDEAgentProposal {
    QUuid id = {};
    QUuid projectID = {};
    QUuid artboardID = {};
    QString title = {};
    QString rationale = {};
    QString before = {};
    QString after = {};
    AgentProposalStatus status = AgentProposalStatus::pending;

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignIDEAgentProposal decode(const JsonObjectReader &reader);

    bool operator==(const CampaignIDEAgentProposal &) const = default;
};

// A new objective an agent suggests for a project's plan.
struct CampaignIDEPlanProposal {
    QUuid id = {};
    QUuid projectID = {};
    QString title = {};
    QString rationale = {};
    QString before = {};
    QString after = {};
    AgentProposalStatus status = AgentProposalStatus::pending;

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CampaignIDEPlanProposal decode(const JsonObjectReader &reader);

    bool operator==(const CampaignIDEPlanProposal &) const = default;
};

} // namespace orvane

ORVANE_JSON_ENUM(orvane::AgentProposalStatus, { orvane::AgentProposalStatus::pending, "pending" },
    { orvane::AgentProposalStatus::applied, "applied" }, { orvane::AgentProposalStatus::rejected, "rejected" })
