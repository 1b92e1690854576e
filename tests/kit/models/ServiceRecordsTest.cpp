#include "kit/models/ServiceRecords.h"

#include <gtest/gtest.h>

using namespace orvane;

namespace {

template <typename T> std::string decodeError(const char *json)
{
    try {
        (void)decodeJson<T>(QByteArrayView(json));
        return "ok";
    } catch (const DecodingError &error) {
        return error.message().toStdString();
    }
}

Project project(const char *json)
{
    return decodeJson<Project>(QByteArrayView(json));
}

TEST(ProjectRecord, TakesCountsFromFlatKeysFirstAndDefaultsForNullButFailsOnWrongTypes)
{
    EXPECT_EQ(project(R"({"id":"p","name":"n","artifact_count":2,"_count":{"artifacts":9}})").artifactCount, 2);
    const Project nested = project(R"({"id":"p","name":"n","_count":{"artifacts":4,"campaign_documents":1}})");
    EXPECT_EQ(nested.artifactCount, 4);
    EXPECT_EQ(nested.documentCount, 1);
    EXPECT_EQ(nested.landingPageCount, 0);
    EXPECT_EQ(nested.connectionCount, 0);
    EXPECT_EQ(nested.itemCount(), 5);
    EXPECT_EQ(project(R"({"id":"p","name":"n","_count":{"artifacts":null}})").artifactCount, 0);
    EXPECT_EQ(project(R"({"id":"p","name":"n","_count":null})").artifactCount, 0);
    const Project all
        = project(R"({"id":"p","name":"n","_count":{"artifacts":1,"campaign_documents":2,)"
                  R"("landing_pages":3,"audience_sync_tasks":4,"campaign_plans":5,"platform_connections":6}})");
    EXPECT_EQ(all.itemCount(), 15);
    EXPECT_EQ(all.connectionCount, 6);
    EXPECT_EQ(project(R"({"id":"p","name":"n","connection_count":7})").itemCount(), 0);

    EXPECT_FALSE(project(R"({"id":"p","name":"n","is_own":false})").isOwn);
    EXPECT_TRUE(project(R"({"id":"p","name":"n","is_own":null})").isOwn);
    EXPECT_FALSE(project(R"({"id":"p","name":"n","is_starred":null})").isStarred);
    EXPECT_EQ(decodeError<Project>(R"({"id":"p","name":"n","is_starred":"yes"})"), "is_starred: expected a boolean");
    EXPECT_EQ(decodeError<Project>(R"({"id":"p","name":"n","_count":{"artifacts":"3"}})"),
        "_count.artifacts: expected an integer");
    EXPECT_EQ(decodeError<Project>(R"({"id":"p","name":"n","_count":[]})"), "_count: expected an object");
    EXPECT_EQ(decodeError<Project>(R"({"id":"p","name":"n","created_by":{"id":1}})"),
        "created_by.email: missing required key");
    EXPECT_EQ(decodeError<ProjectsResponse>(R"({"projects":[{"id":"p","name":"n"},{"id":"q"}]})"),
        "projects[1].name: missing required key");
}

TEST(ProjectRecord, SaturatesTheItemCountInsteadOfOverflowing)
{
    const Project p = project(R"({"id":"p","name":"n","artifact_count":9223372036854775807,"document_count":5})");
    EXPECT_EQ(p.itemCount(), std::numeric_limits<qint64>::max());
    const Project negative
        = project(R"({"id":"p","name":"n","artifact_count":-9223372036854775808,"document_count":-5})");
    EXPECT_EQ(negative.itemCount(), std::numeric_limits<qint64>::min());
}

TEST(ProjectRecord, EncodesFlatCountsAndNeverTheCountsObject)
{
    const Project p = project(R"({"id":"p","name":"n","_count":{"artifacts":4,"campaign_documents":1}})");
    EXPECT_EQ(encodeJson(p),
        QByteArray(R"({"id":"p","name":"n","is_starred":false,"created_at":"","updated_at":"",)"
                   R"("artifact_count":4,"document_count":1,"landing_page_count":0,)"
                   R"("audience_count":0,"campaign_plan_count":0,"connection_count":0,"is_own":true})"));
    const Project full = project(R"({"id":"p","name":"n","description":"d","color":"#fff","icon":"i",)"
                                 R"("user_role":"owner","is_creator":false,"created_by":{"id":3,"email":"e@x.io"}})");
    const QByteArray text = encodeJson(full);
    EXPECT_TRUE(text.startsWith(R"({"id":"p","name":"n","description":"d","color":"#fff","icon":"i",)"));
    EXPECT_TRUE(text.endsWith(
        R"("is_own":true,"user_role":"owner","is_creator":false,"created_by":{"id":3,"email":"e@x.io"}})"));
    EXPECT_EQ(decodeJson<Project>(text), full);
}

TEST(ReportArtifactRecord, RequiresItsKeysAndMapsWebsiteReportsToTheirHtmlPath)
{
    EXPECT_EQ(decodeError<ReportsResponse>(R"({"artifacts":[{"id":"r","kind":"k","title":"t","url":"/u"}]})"),
        "artifacts[0].created_at: missing required key");
    const auto report = [](const char *kind, const char *url) {
        return ReportArtifact { QStringLiteral("r"), QString::fromUtf8(kind), QStringLiteral("t"), std::nullopt,
            QString::fromUtf8(url), QStringLiteral("c"), std::nullopt };
    };
    const ReportArtifact decoded = decodeJson<ReportArtifact>(
        QByteArrayView(R"({"id":"r","kind":"k","title":"t","url":"/u","created_at":"c"})"));
    EXPECT_FALSE(decoded.domain);
    EXPECT_FALSE(decoded.updatedAt);
    EXPECT_EQ(report("website_report", "/r/abc").nativeContentPath(), QStringLiteral("/api/reports/abc/html"));
    EXPECT_EQ(report("website_report", "/r/").nativeContentPath(), QStringLiteral("/api/reports//html"));
    EXPECT_EQ(report("pdf", "/r/abc").nativeContentPath(), QStringLiteral("/r/abc"));
    EXPECT_EQ(report("website_report", "https://x.io/r/abc").nativeContentPath(), QStringLiteral("https://x.io/r/abc"));
    EXPECT_EQ(encodeJson(decoded), QByteArray(R"({"id":"r","kind":"k","title":"t","url":"/u","created_at":"c"})"));
}

TEST(PendingActionRecord, DecodesDefaultsAndBuildsHeadlines)
{
    const PendingAction bare = decodeJson<PendingAction>(QByteArrayView(R"({"id":"a1"})"));
    EXPECT_EQ(bare.status, QStringLiteral("pending"));
    EXPECT_EQ(bare.riskLevel, QStringLiteral("medium"));
    EXPECT_TRUE(bare.headline().isEmpty());
    EXPECT_EQ(encodeJson(bare),
        QByteArray(R"({"id":"a1","status":"pending","platform":"","actionType":"",)"
                   R"("riskLevel":"medium","createdAt":""})"));
    EXPECT_EQ(decodeError<PendingAction>(R"({"id":"a1","riskLevel":3})"), "riskLevel: expected a string");

    PendingAction action = bare;
    action.actionType = QStringLiteral("pause_campaign");
    action.platform = QStringLiteral("google_ads");
    action.targetName = QStringLiteral("ignored");
    EXPECT_EQ(action.headline(), QStringLiteral("Google Ads · Pause Campaign"));
    action.platform.clear();
    EXPECT_EQ(action.headline(), QStringLiteral("Pause Campaign"));
    action.actionType = QStringLiteral("INCREASE_BUDGET");
    EXPECT_EQ(action.headline(), QStringLiteral("Increase Budget"));
    action.actionType.clear();
    action.platform = QStringLiteral("meta");
    EXPECT_EQ(action.headline(), QStringLiteral("Meta Ads · "));
}

TEST(ResponseWrappers, RequireTheirKeys)
{
    EXPECT_EQ(decodeError<DeleteProjectResponse>(R"({"message":"gone"})"), "success: missing required key");
    EXPECT_EQ(decodeError<ApprovalDecision>(R"({"success":"true"})"), "success: expected a boolean");
    EXPECT_EQ(decodeError<ApprovalsResponse>(R"({"actions":null})"), "actions: missing required key");
    EXPECT_EQ(decodeError<ProjectResponse>(R"([])"), "expected an object");
    const ProjectsResponse withWarnings
        = decodeJson<ProjectsResponse>(QByteArrayView(R"({"projects":[],"warnings":["w"]})"));
    EXPECT_EQ(withWarnings.warnings, QList<QString> { QStringLiteral("w") });
    EXPECT_FALSE(decodeJson<ProjectsResponse>(QByteArrayView(R"({"projects":[]})")).warnings);
}

// The request body's encoding is checked on the wire by the chat stream's cases.
TEST(ChatRequestBodyRecord, TurnsRequireTheirContent)
{
    EXPECT_EQ(decodeError<ChatTurn>(R"({"role":"user"})"), "content: missing required key");
}

} // namespace
