#include "kit/models/ServiceRecords.h"

#include "kit/models/APIKey.h"

#include <QStringBuilder>

namespace orvane {

void ProjectCreator::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id).field("name", name).field("email", email);
}

ProjectCreator ProjectCreator::decode(const JsonObjectReader &reader)
{
    return { reader.required<qint64>("id"), reader.optional<QString>("name"), reader.required<QString>("email") };
}

ResourceCounts ResourceCounts::decode(const JsonObjectReader &reader)
{
    return { reader.optional<qint64>("artifacts"), reader.optional<qint64>("campaign_documents"),
        reader.optional<qint64>("landing_pages"), reader.optional<qint64>("audience_sync_tasks"),
        reader.optional<qint64>("campaign_plans"), reader.optional<qint64>("platform_connections") };
}

qint64 Project::itemCount() const
{
    qint64 total = 0;
    for (const qint64 count : { artifactCount, documentCount, landingPageCount, audienceCount, campaignPlanCount })
        total = saturatingAdd(total, count);
    return total;
}

void Project::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("name", name)
        .field("description", description)
        .field("color", color)
        .field("icon", icon)
        .field("is_starred", isStarred)
        .field("created_at", createdAt)
        .field("updated_at", updatedAt)
        .field("artifact_count", artifactCount)
        .field("document_count", documentCount)
        .field("landing_page_count", landingPageCount)
        .field("audience_count", audienceCount)
        .field("campaign_plan_count", campaignPlanCount)
        .field("connection_count", connectionCount)
        .field("is_own", isOwn)
        .field("user_role", userRole)
        .field("is_creator", isCreator)
        .field("created_by", createdBy);
}

Project Project::decode(const JsonObjectReader &reader)
{
    Project project;
    project.id = reader.required<QString>("id");
    project.name = reader.required<QString>("name");
    project.description = reader.optional<QString>("description");
    project.color = reader.optional<QString>("color");
    project.icon = reader.optional<QString>("icon");
    project.isStarred = reader.optional<bool>("is_starred").value_or(false);
    project.createdAt = reader.optional<QString>("created_at").value_or(QString());
    project.updatedAt = reader.optional<QString>("updated_at").value_or(QString());

    ResourceCounts counts;
    if (const Json *nested = reader.find("_count"); nested && !nested->is_null()) {
        const JsonPath path = reader.path().key("_count");
        counts = ResourceCounts::decode(JsonObjectReader(*nested, path));
    }
    // A flat count that is present wins over the counts object, even when they disagree.
    const auto count = [&](std::string_view flatKey, const std::optional<qint64> &nested) {
        return reader.optional<qint64>(flatKey).value_or(nested.value_or(0));
    };
    project.artifactCount = count("artifact_count", counts.artifacts);
    project.documentCount = count("document_count", counts.campaignDocuments);
    project.landingPageCount = count("landing_page_count", counts.landingPages);
    project.audienceCount = count("audience_count", counts.audienceSyncTasks);
    project.campaignPlanCount = count("campaign_plan_count", counts.campaignPlans);
    project.connectionCount = count("connection_count", counts.platformConnections);

    project.isOwn = reader.optional<bool>("is_own").value_or(true);
    project.userRole = reader.optional<QString>("user_role");
    project.isCreator = reader.optional<bool>("is_creator");
    project.createdBy = reader.optional<ProjectCreator>("created_by");
    return project;
}

QString ReportArtifact::nativeContentPath() const
{
    if (kind == u"website_report" && url.startsWith(u"/r/"))
        return u"/api/reports/" % QStringView(url).mid(3) % u"/html";
    return url;
}

void ReportArtifact::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("kind", kind)
        .field("title", title)
        .field("domain", domain)
        .field("url", url)
        .field("created_at", createdAt)
        .field("updated_at", updatedAt);
}

ReportArtifact ReportArtifact::decode(const JsonObjectReader &reader)
{
    return { reader.required<QString>("id"), reader.required<QString>("kind"), reader.required<QString>("title"),
        reader.optional<QString>("domain"), reader.required<QString>("url"), reader.required<QString>("created_at"),
        reader.optional<QString>("updated_at") };
}

QString PendingAction::headline() const
{
    QString action = actionType;
    action.replace(u'_', u' ');
    action = capitalizedWords(action);
    if (platform.isEmpty())
        return action;
    return PlatformName::display(platform) % u" · " % action;
}

void PendingAction::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("status", status)
        .field("platform", platform)
        .field("actionType", actionType)
        .field("targetName", targetName)
        .field("riskLevel", riskLevel)
        .field("aiReasoning", aiReasoning)
        .field("createdAt", createdAt)
        .field("scriptPreview", scriptPreview);
}

PendingAction PendingAction::decode(const JsonObjectReader &reader)
{
    PendingAction action;
    action.id = reader.required<QString>("id");
    action.status = reader.optional<QString>("status").value_or(QStringLiteral("pending"));
    action.platform = reader.optional<QString>("platform").value_or(QString());
    action.actionType = reader.optional<QString>("actionType").value_or(QString());
    action.targetName = reader.optional<QString>("targetName");
    action.riskLevel = reader.optional<QString>("riskLevel").value_or(QStringLiteral("medium"));
    action.aiReasoning = reader.optional<QString>("aiReasoning");
    action.createdAt = reader.optional<QString>("createdAt").value_or(QString());
    action.scriptPreview = reader.optional<QString>("scriptPreview");
    return action;
}

void ProjectsResponse::encode(JsonObjectWriter &writer) const
{
    writer.field("projects", projects).field("warnings", warnings);
}

ProjectsResponse ProjectsResponse::decode(const JsonObjectReader &reader)
{
    return { reader.required<QList<Project>>("projects"), reader.optional<QList<QString>>("warnings") };
}

void ProjectResponse::encode(JsonObjectWriter &writer) const
{
    writer.field("project", project);
}

ProjectResponse ProjectResponse::decode(const JsonObjectReader &reader)
{
    return { reader.required<Project>("project") };
}

void DeleteProjectResponse::encode(JsonObjectWriter &writer) const
{
    writer.field("success", success).field("message", message);
}

DeleteProjectResponse DeleteProjectResponse::decode(const JsonObjectReader &reader)
{
    return { reader.required<bool>("success"), reader.optional<QString>("message") };
}

void ReportsResponse::encode(JsonObjectWriter &writer) const
{
    writer.field("artifacts", artifacts);
}

ReportsResponse ReportsResponse::decode(const JsonObjectReader &reader)
{
    return { reader.required<QList<ReportArtifact>>("artifacts") };
}

void ApprovalsResponse::encode(JsonObjectWriter &writer) const
{
    writer.field("actions", actions);
}

ApprovalsResponse ApprovalsResponse::decode(const JsonObjectReader &reader)
{
    return { reader.required<QList<PendingAction>>("actions") };
}

void ApprovalDecision::encode(JsonObjectWriter &writer) const
{
    writer.field("success", success).field("message", message);
}

ApprovalDecision ApprovalDecision::decode(const JsonObjectReader &reader)
{
    return { reader.required<bool>("success"), reader.optional<QString>("message") };
}

void ChatTurn::encode(JsonObjectWriter &writer) const
{
    writer.field("role", role).field("content", content);
}

ChatTurn ChatTurn::decode(const JsonObjectReader &reader)
{
    return { reader.required<QString>("role"), reader.required<QString>("content") };
}

void ChatRequestBody::encode(JsonObjectWriter &writer) const
{
    writer.field("message", message)
        .field("history", history)
        .field("threadId", threadId)
        .field("projectId", projectId);
}

ChatRequestBody ChatRequestBody::decode(const JsonObjectReader &reader)
{
    return { reader.required<QString>("message"), reader.required<QList<ChatTurn>>("history"),
        reader.optional<QString>("threadId"), reader.optional<QString>("projectId") };
}

} // namespace orvane
