#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/records/CampaignIDEAgentProposal.h"
#include "ide/records/CampaignIDESection.h"
#include "ide/records/CampaignPlatformConnection.h"
#include "ide/records/CampaignTimelineEntry.h"
#include "ide/records/CreativeCanvasArtboard.h"
#include "ide/records/IDEWorkbenchView.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// Every case encodes as the bare JSON string of its raw value and decodes back to itself.
template <typename E> void expectRawValues(const QList<QString> &expected)
{
    const QList<E> cases = allCases<E>();
    ASSERT_EQ(cases.size(), expected.size());
    for (qsizetype i = 0; i < cases.size(); ++i) {
        EXPECT_EQ(rawValue(cases[i]), expected[i]);
        EXPECT_EQ(QString::fromUtf8(encodeJson(cases[i])), u'"' + expected[i] + u'"');
        EXPECT_EQ(decodeJson<E>(encodeJson(cases[i])), cases[i]);
        EXPECT_EQ(fromRawValue<E>(expected[i]), cases[i]);
        const QString shouted = expected[i].toUpper();
        if (shouted != expected[i]) {
            EXPECT_FALSE(fromRawValue<E>(shouted).has_value()) << "raw values are case-sensitive";
        }
    }
}

template <typename E> bool decodes(const char *json)
{
    try {
        (void)decodeJson<E>(QByteArrayView(json));
        return true;
    } catch (const DecodingError &) {
        return false;
    }
}

TEST(IDEEnumerations, HaveTheirRawValuesInDeclarationOrder)
{
    expectRawValues<IDEWorkbenchView>(
        { u"Document"_s, u"Table"_s, u"Canvas"_s, u"Dashboard"_s, u"Explore"_s, u"Local Files"_s });
    expectRawValues<ThreadApprovalMode>({ u"Require Approval"_s, u"Auto-Run Reads"_s, u"Autonomous (Local)"_s });
    expectRawValues<CampaignToolInvocation::ToolStatus>({ u"running"_s, u"completed"_s, u"requiresApproval"_s });
    expectRawValues<CampaignInlineApproval::ApprovalDecision>({ u"pending"_s, u"approved"_s, u"rejected"_s });
    expectRawValues<CampaignTimelineEntry::EntryRole>({ u"user"_s, u"agent"_s, u"system"_s });
    expectRawValues<CampaignPlatformConnection::ConnectionMode>(
        { u"Local Sandbox"_s, u"Cloud OAuth"_s, u"Not Connected"_s });
    expectRawValues<CampaignAssetLibraryItem::AssetKind>(
        { u"Ad Creative"_s, u"Image"_s, u"Landing Page"_s, u"Email Asset"_s, u"Audience"_s });
    expectRawValues<CreativeReviewStatus>({ u"Needs review"_s, u"Approved"_s, u"Needs changes"_s });
    expectRawValues<AgentProposalStatus>({ u"pending"_s, u"applied"_s, u"rejected"_s });
    expectRawValues<CampaignIDESection>({ u"document"_s, u"creativeStudio"_s, u"reports"_s, u"approvals"_s,
        u"localFiles"_s, u"dashboard"_s, u"settings"_s });
    expectRawValues<CreativeCanvasTool>({ u"select"_s, u"frame"_s, u"rectangle"_s, u"ellipse"_s, u"text"_s, u"image"_s,
        u"hand"_s, u"comment"_s, u"snap"_s });
}

TEST(IDEEnumerations, RefuseCaseNamesAndOtherSpellings)
{
    EXPECT_TRUE(decodes<IDEWorkbenchView>(R"("Local Files")"));
    EXPECT_FALSE(decodes<IDEWorkbenchView>(R"("localFiles")"));
    EXPECT_FALSE(decodes<IDEWorkbenchView>(R"("document")"));
    EXPECT_FALSE(decodes<IDEWorkbenchView>(R"("DOCUMENT")"));
    EXPECT_FALSE(decodes<IDEWorkbenchView>(R"(" Document")"));
    EXPECT_FALSE(decodes<IDEWorkbenchView>("0"));
    EXPECT_TRUE(decodes<ThreadApprovalMode>(R"x("Autonomous (Local)")x"));
    EXPECT_FALSE(decodes<ThreadApprovalMode>(R"("autonomous")"));
    EXPECT_TRUE(decodes<CampaignToolInvocation::ToolStatus>(R"("requiresApproval")"));
    EXPECT_FALSE(decodes<CampaignToolInvocation::ToolStatus>(R"("requires_approval")"));
    EXPECT_FALSE(decodes<CampaignToolInvocation::ToolStatus>(R"("RequiresApproval")"));
    EXPECT_FALSE(decodes<CampaignAssetLibraryItem::AssetKind>(R"("Email")"));
    EXPECT_FALSE(fromRawValue<CampaignIDESection>(u"Campaign Plan"_s).has_value());
    EXPECT_EQ(fromRawValue<CampaignIDESection>(u"document"_s), CampaignIDESection::document);
}

TEST(IDEEnumerations, GiveTheirIconsAndTitles)
{
    QList<QString> icons;
    for (IDEWorkbenchView view : allCases<IDEWorkbenchView>())
        icons.append(icon(view));
    EXPECT_EQ(icons,
        (QList<QString> { u"doc.text"_s, u"tablecells"_s, u"rectangle.3.group"_s, u"chart.bar.xaxis"_s, u"safari"_s,
            u"folder.badge.gearshape"_s }));

    QList<QString> titles;
    for (CampaignIDESection section : allCases<CampaignIDESection>())
        titles.append(title(section));
    EXPECT_EQ(titles,
        (QList<QString> { u"Campaign Plan"_s, u"Creative Studio"_s, u"Reports & Lift"_s, u"Approval Gates"_s,
            u"Local Files"_s, u"Dashboard"_s, u"Settings"_s }));

    QList<QString> toolIcons;
    for (CreativeCanvasTool tool : allCases<CreativeCanvasTool>())
        toolIcons.append(icon(tool));
    EXPECT_EQ(toolIcons,
        (QList<QString> { u"arrow.up.left"_s, u"square.dashed"_s, u"rectangle"_s, u"circle"_s, u"textformat"_s,
            u"photo.badge.plus"_s, u"hand.raised"_s, u"bubble.left"_s, u"grid"_s }));
}

} // namespace
