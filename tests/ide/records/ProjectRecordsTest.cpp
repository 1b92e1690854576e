#include "ide/records/CampaignExecutionReceipt.h"
#include "ide/records/CampaignIDEAgentProposal.h"
#include "ide/records/CampaignIDEProject.h"
#include "ide/records/RecordTestSupport.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

CreativeCanvasArtboard artboard(CreativeReviewStatus status, bool dirty = false)
{
    return { .id = QUuid::createUuid(),
        .platform = u"LinkedIn"_s,
        .format = u"Single image · 1:1"_s,
        .headline = u"Your growth. Under your control."_s,
        .width = 1200,
        .height = 1200,
        .reviewStatus = status,
        .isDirty = dirty,
        .requiresRereview = false };
}

CampaignIDEProject project()
{
    return { .id = QUuid::createUuid(),
        .serverID = std::nullopt,
        .name = u"Q2 High-Intent Pipeline Launch"_s,
        .status = u"Plan ready"_s,
        .updated = u"2h ago"_s,
        .objective = u"Book 120 qualified demos."_s,
        .audience = u"VP Growth"_s,
        .channelsAndBudget
        = u"Google Search + LinkedIn Sponsored Content · $5,000 test flight · optimize for qualified demos."_s,
        .message = u"One IDE for paid media."_s,
        .guardrails = u"No launch without approval."_s,
        .hasPlan = true,
        .creatives = { artboard(CreativeReviewStatus::approved), artboard(CreativeReviewStatus::rejected) },
        .isLaunched = false };
}

TEST(ProjectRecordCoding, WritesKeysInFieldOrderRoundTripsAndTreatsOnlyServerIdAsOptional)
{
    CampaignIDEProject value = project();
    value.serverID = u"prj_42"_s;
    EXPECT_EQ(encodedKeys(value),
        (std::vector<std::string> { "id", "serverID", "name", "status", "updated", "objective", "audience",
            "channelsAndBudget", "message", "guardrails", "hasPlan", "creatives", "isLaunched" }));
    value.serverID.reset();
    EXPECT_EQ(encodedKeys(value).at(1), "name");

    value = project();
    EXPECT_EQ(roundTrip(value), value);
    value.serverID = u"prj_42"_s;
    EXPECT_EQ(roundTrip(QList<CampaignIDEProject> { value, project() }).first(), value);

    Json json = toJson(value);
    json["serverID"] = nullptr;
    json["addedInAFutureVersion"] = 1;
    json["creatives"][0]["layers"] = Json::array();
    EXPECT_FALSE(fromJson<CampaignIDEProject>(json).serverID.has_value());

    json.erase("guardrails");
    EXPECT_EQ(decodeFailure<QList<CampaignIDEProject>>(Json::array({ toJson(project()), json })),
        "[1].guardrails: missing required key");

    json = toJson(project());
    json["creatives"][1]["reviewStatus"] = "rejected";
    EXPECT_EQ(
        decodeFailure<CampaignIDEProject>(json), "creatives[1].reviewStatus: unknown raw value for the enumeration");
    json["creatives"][1]["reviewStatus"] = "Needs changes";
    EXPECT_EQ(fromJson<CampaignIDEProject>(json).creatives.at(1).reviewStatus, CreativeReviewStatus::rejected);
    json["creatives"][1]["width"] = "1200";
    EXPECT_EQ(decodeFailure<CampaignIDEProject>(json), "creatives[1].width: expected an integer");
    json = toJson(project());
    json["hasPlan"] = 1;
    EXPECT_EQ(decodeFailure<CampaignIDEProject>(json), "hasPlan: expected a boolean");
}

TEST(ArtboardReview, EditingAnApprovedHeadlineDemandsAnotherReview)
{
    CreativeCanvasArtboard board = artboard(CreativeReviewStatus::approved);
    ASSERT_TRUE(board.isApprovedForLaunch());

    board.editHeadline(u"New hook"_s);
    EXPECT_EQ(board.headline, u"New hook"_s);
    EXPECT_EQ(board.reviewStatus, CreativeReviewStatus::needsReview);
    EXPECT_TRUE(board.isDirty);
    EXPECT_TRUE(board.requiresRereview);

    board.editHeadline(u"Newer hook"_s);
    EXPECT_TRUE(board.requiresRereview) << "stays set until a decision";

    board.setReviewStatus(CreativeReviewStatus::approved);
    EXPECT_FALSE(board.isDirty);
    EXPECT_FALSE(board.requiresRereview);
    EXPECT_TRUE(board.isApprovedForLaunch());

    CreativeCanvasArtboard fresh = artboard(CreativeReviewStatus::needsReview);
    fresh.editHeadline(u"x"_s);
    EXPECT_FALSE(fresh.requiresRereview) << "never approved, so nothing to re-review";
}

TEST(ProjectDerivedValues, SlugBudgetAndReadiness)
{
    CampaignIDEProject value = project();
    EXPECT_EQ(value.slug(), u"q2-high-intent-pipeline-launch"_s);
    value.name = u"  --Café: Launch!! 2026 / ../etc  "_s;
    EXPECT_EQ(value.slug(), u"caf-launch-2026-etc"_s);
    value.name = u"¿¡ ✓ !?"_s;
    EXPECT_EQ(value.slug(), u"campaign"_s);
    value.name = QString();
    EXPECT_EQ(value.slug(), u"campaign"_s);

    EXPECT_EQ(value.budget(), u"$5,000"_s);
    value.channelsAndBudget = u"Meta $ only, then $12k per month and $3,000 more"_s;
    EXPECT_EQ(value.budget(), u"$12k"_s);
    value.channelsAndBudget = u"No figures yet $"_s;
    EXPECT_EQ(value.budget(), u"$45,000"_s);

    value = project();
    EXPECT_EQ(value.approvedCreativeCount(), 1);
    EXPECT_FALSE(value.canExecute());
    value.creatives.last().setReviewStatus(CreativeReviewStatus::approved);
    EXPECT_TRUE(value.canExecute());
    value.creatives.last().isDirty = true;
    EXPECT_EQ(value.approvedCreativeCount(), 1) << "an edited artboard does not count as approved";
    EXPECT_FALSE(value.canExecute());
    value.creatives.removeLast();
    value.isLaunched = true;
    EXPECT_FALSE(value.canExecute());
    value.isLaunched = false;
    value.hasPlan = false;
    EXPECT_FALSE(value.canExecute());
    value.hasPlan = true;
    value.creatives.clear();
    EXPECT_FALSE(value.canExecute());
}

TEST(ProposalRecords, CodeTheirKeysAndStatusExactly)
{
    const CampaignIDEAgentProposal copy { .id = QUuid::createUuid(),
        .projectID = QUuid::createUuid(),
        .artboardID = QUuid::createUuid(),
        .title = u"Agent copy suggestion"_s,
        .rationale = u"Extracted from your latest Workspace Agent turn."_s,
        .before = u"Old"_s,
        .after = u"New"_s,
        .status = AgentProposalStatus::pending };
    EXPECT_EQ(encodedKeys(copy),
        (std::vector<std::string> {
            "id", "projectID", "artboardID", "title", "rationale", "before", "after", "status" }));
    EXPECT_EQ(roundTrip(copy), copy);
    CampaignIDEAgentProposal applied = copy;
    applied.status = AgentProposalStatus::applied;
    EXPECT_NE(applied, copy);

    Json json = toJson(copy);
    json["status"] = "Pending";
    EXPECT_EQ(decodeFailure<CampaignIDEAgentProposal>(json), "status: unknown raw value for the enumeration");
    json["status"] = "rejected";
    EXPECT_EQ(fromJson<CampaignIDEAgentProposal>(json).status, AgentProposalStatus::rejected);

    const CampaignIDEPlanProposal plan { .id = QUuid::createUuid(),
        .projectID = QUuid::createUuid(),
        .title = u"Agent objective refinement"_s,
        .rationale = u"Proposed from your Workspace Agent conversation."_s,
        .before = u"A"_s,
        .after = u"B"_s,
        .status = AgentProposalStatus::pending };
    EXPECT_EQ(encodedKeys(plan),
        (std::vector<std::string> { "id", "projectID", "title", "rationale", "before", "after", "status" }));
    EXPECT_EQ(roundTrip(plan), plan);
    json = toJson(plan);
    json.erase("before");
    EXPECT_EQ(decodeFailure<CampaignIDEPlanProposal>(json), "before: missing required key");
}

TEST(ExecutionReceipts, AreNumberedAfterTheirRequest)
{
    const CampaignLaunchRequest request { .id = QUuid::fromString(u"3f2a9c1d-0000-4000-8000-000000000000"_s),
        .projectID = QUuid::createUuid() };
    EXPECT_EQ(CampaignExecutionReceipt::receiptNumber(request.id), u"orvane-exec-3f2a9c1d"_s);

    const CampaignExecutionReceipt receipt = CampaignExecutionReceipt::forRequest(request, u"Just now"_s);
    EXPECT_EQ(receipt.id.size(), 20);
    EXPECT_EQ(receipt.requestID, request.id);
    EXPECT_EQ(receipt.projectID, request.projectID);
    EXPECT_EQ(encodedKeys(receipt), (std::vector<std::string> { "id", "requestID", "projectID", "receivedAt" }));
    EXPECT_EQ(toJson(receipt)["requestID"], "3F2A9C1D-0000-4000-8000-000000000000");
    EXPECT_EQ(roundTrip(receipt), receipt);

    EXPECT_NE(request, (CampaignLaunchRequest { .id = request.id, .projectID = QUuid::createUuid() }));
    EXPECT_EQ(request.channels(), (QList<QString> { u"LinkedIn"_s, u"Google Search"_s, u"Reddit"_s }));
    EXPECT_EQ(request.budget(), u"$45,000/mo"_s);
}

} // namespace
