#pragma once

// The records of the service's HTTP API. Keys are the service's own (snake_case for projects and
// report artifacts, camelCase elsewhere). Decoding is lenient in one way only: a field with a
// default takes it when the key is absent or null. A present value of the wrong type still fails
// the whole body, and so does a missing required key.

#include "kit/support/JsonCoding.h"

#include <QList>
#include <QString>

#include <optional>

namespace orvane {

struct ProjectCreator {
    qint64 id = 0;
    std::optional<QString> name;
    QString email;

    void encode(JsonObjectWriter &writer) const;
    static ProjectCreator decode(const JsonObjectReader &reader);
    bool operator==(const ProjectCreator &) const = default;
};

// The optional "_count" object of a project; read only, never written.
struct ResourceCounts {
    std::optional<qint64> artifacts;
    std::optional<qint64> campaignDocuments;
    std::optional<qint64> landingPages;
    std::optional<qint64> audienceSyncTasks;
    std::optional<qint64> campaignPlans;
    std::optional<qint64> platformConnections;

    static ResourceCounts decode(const JsonObjectReader &reader);
};

struct Project {
    QString id;
    QString name;
    std::optional<QString> description;
    std::optional<QString> color;
    std::optional<QString> icon;
    bool isStarred = false;
    QString createdAt;
    QString updatedAt;
    qint64 artifactCount = 0;
    qint64 documentCount = 0;
    qint64 landingPageCount = 0;
    qint64 audienceCount = 0;
    qint64 campaignPlanCount = 0;
    qint64 connectionCount = 0;
    bool isOwn = true;
    std::optional<QString> userRole;
    std::optional<bool> isCreator;
    std::optional<ProjectCreator> createdBy;

    // Artifacts, documents, landing pages, audiences and campaign plans (not connections);
    // saturates at the 64-bit bounds.
    [[nodiscard]] qint64 itemCount() const;

    void encode(JsonObjectWriter &writer) const;
    static Project decode(const JsonObjectReader &reader);
    bool operator==(const Project &) const = default;
};

struct ReportArtifact {
    QString id;
    QString kind;
    QString title;
    std::optional<QString> domain;
    QString url;
    QString createdAt;
    std::optional<QString> updatedAt;

    // For a website report at "/r/<rest>", the service path of its HTML ("/api/reports/<rest>/html");
    // otherwise the url unchanged.
    [[nodiscard]] QString nativeContentPath() const;

    void encode(JsonObjectWriter &writer) const;
    static ReportArtifact decode(const JsonObjectReader &reader);
    bool operator==(const ReportArtifact &) const = default;
};

struct PendingAction {
    QString id;
    QString status = QStringLiteral("pending");
    QString platform;
    QString actionType;
    std::optional<QString> targetName;
    QString riskLevel = QStringLiteral("medium");
    std::optional<QString> aiReasoning;
    QString createdAt;
    std::optional<QString> scriptPreview;

    // "<Platform display name> · <Action Type>", or the action text alone without a platform.
    [[nodiscard]] QString headline() const;

    void encode(JsonObjectWriter &writer) const;
    static PendingAction decode(const JsonObjectReader &reader);
    bool operator==(const PendingAction &) const = default;
};

struct ProjectsResponse {
    QList<Project> projects;
    std::optional<QList<QString>> warnings;

    void encode(JsonObjectWriter &writer) const;
    static ProjectsResponse decode(const JsonObjectReader &reader);
};

struct ProjectResponse {
    Project project;

    void encode(JsonObjectWriter &writer) const;
    static ProjectResponse decode(const JsonObjectReader &reader);
};

struct DeleteProjectResponse {
    bool success = false;
    std::optional<QString> message;

    void encode(JsonObjectWriter &writer) const;
    static DeleteProjectResponse decode(const JsonObjectReader &reader);
};

struct ReportsResponse {
    QList<ReportArtifact> artifacts;

    void encode(JsonObjectWriter &writer) const;
    static ReportsResponse decode(const JsonObjectReader &reader);
};

struct ApprovalsResponse {
    QList<PendingAction> actions;

    void encode(JsonObjectWriter &writer) const;
    static ApprovalsResponse decode(const JsonObjectReader &reader);
};

struct ApprovalDecision {
    bool success = false;
    std::optional<QString> message;

    void encode(JsonObjectWriter &writer) const;
    static ApprovalDecision decode(const JsonObjectReader &reader);
};

// One earlier message of a conversation, sent as chat history. The client fixes no role values.
struct ChatTurn {
    QString role;
    QString content;

    void encode(JsonObjectWriter &writer) const;
    static ChatTurn decode(const JsonObjectReader &reader);
    bool operator==(const ChatTurn &) const = default;
};

// The body of the chat request; the identifiers are left out when absent, never written as null.
struct ChatRequestBody {
    QString message;
    QList<ChatTurn> history;
    std::optional<QString> threadId;
    std::optional<QString> projectId;

    void encode(JsonObjectWriter &writer) const;
    static ChatRequestBody decode(const JsonObjectReader &reader);
    bool operator==(const ChatRequestBody &) const = default;
};

} // namespace orvane
