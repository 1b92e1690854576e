#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/records/CampaignIDEAgentProposal.h"
#include "ide/records/CampaignIDESection.h"
#include "ide/records/CampaignPlatformConnection.h"
#include "ide/records/CampaignTimelineEntry.h"
#include "ide/records/CreativeCanvasArtboard.h"
#include "ide/records/IDEWorkbenchView.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// Every case encodes as the bare JSON string of its raw value, decodes back to itself and refuses
// the upper-cased spelling; the raw values, in declaration order, go to the golden document.
template <typename E> void addRawValues(Json &document, const char *name)
{
    Json values = Json::array();
    for (const E value : allCases<E>()) {
        const QString raw = rawValue(value);
        EXPECT_EQ(QString::fromUtf8(encodeJson(value)), u'"' + raw + u'"');
        EXPECT_EQ(decodeJson<E>(encodeJson(value)), value);
        if (raw.toUpper() != raw) {
            EXPECT_FALSE(fromRawValue<E>(raw.toUpper()).has_value()) << "raw values are case-sensitive";
        }
        values.push_back(raw.toStdString());
    }
    document[name] = values;
}

template <typename E> Json labels(QString (*label)(E))
{
    Json values = Json::array();
    for (const E value : allCases<E>())
        values.push_back(label(value).toStdString());
    return values;
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

TEST(IDEEnumerations, MatchTheGoldenRawValuesIconsAndTitlesAndRefuseOtherSpellings)
{
    Json document = Json::object();
    addRawValues<IDEWorkbenchView>(document, "IDEWorkbenchView");
    addRawValues<ThreadApprovalMode>(document, "ThreadApprovalMode");
    addRawValues<CampaignToolInvocation::ToolStatus>(document, "ToolStatus");
    addRawValues<CampaignInlineApproval::ApprovalDecision>(document, "ApprovalDecision");
    addRawValues<CampaignTimelineEntry::EntryRole>(document, "EntryRole");
    addRawValues<CampaignPlatformConnection::ConnectionMode>(document, "ConnectionMode");
    addRawValues<CampaignAssetLibraryItem::AssetKind>(document, "AssetKind");
    addRawValues<CreativeReviewStatus>(document, "CreativeReviewStatus");
    addRawValues<AgentProposalStatus>(document, "AgentProposalStatus");
    addRawValues<CampaignIDESection>(document, "CampaignIDESection");
    addRawValues<CreativeCanvasTool>(document, "CreativeCanvasTool");
    document["workbenchIcons"] = labels<IDEWorkbenchView>(&icon);
    document["sectionTitles"] = labels<CampaignIDESection>(&title);
    document["canvasToolIcons"] = labels<CreativeCanvasTool>(&icon);
    EXPECT_TRUE(test::matchesGolden("ide/records/golden/enumerations.json", document));

    EXPECT_TRUE(decodes<IDEWorkbenchView>(R"("Local Files")"));
    for (const char *json : { R"("localFiles")", R"("document")", R"(" Document")", "0" })
        EXPECT_FALSE(decodes<IDEWorkbenchView>(json)) << json;
    EXPECT_FALSE(decodes<CampaignToolInvocation::ToolStatus>(R"("requires_approval")"));
}

} // namespace
