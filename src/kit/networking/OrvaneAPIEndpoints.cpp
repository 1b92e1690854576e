// The endpoints of the service's JSON API and the report content download.

#include "kit/networking/OrvaneAPIClient.h"

namespace orvane {

namespace {

constexpr char kJson[] = "application/json";

struct CreateProjectBody {
    QString name;
    std::optional<QString> description; // left out when absent

    void encode(JsonObjectWriter &writer) const { writer.field("name", name).field("description", description); }
    static CreateProjectBody decode(const JsonObjectReader &reader)
    {
        return { reader.required<QString>("name"), reader.optional<QString>("description") };
    }
};

struct RejectBody {
    std::optional<QString> reason; // left out when absent, so the body is {}

    void encode(JsonObjectWriter &writer) const { writer.field("reason", reason); }
    static RejectBody decode(const JsonObjectReader &reader) { return { reader.optional<QString>("reason") }; }
};

// An update always sends "description": null clears it on the service, so it is written as null
// when absent rather than left out.
QByteArray updateProjectBody(const QString &name, const std::optional<QString> &description)
{
    Json body = Json::object();
    body["name"] = JsonCoder<QString>::encode(name, JsonPath());
    body["description"] = description ? JsonCoder<QString>::encode(*description, JsonPath()) : Json(nullptr);
    return dumpJson(body);
}

} // namespace

template <JsonCodable T>
QCoro::Task<T> OrvaneAPIClient::send(
    OrvaneAPIClient client, QString path, QByteArray verb, QList<QueryItem> query, std::optional<QByteArray> body)
{
    const QNetworkRequest request = client.makeRequest(path, kJson, query, body.has_value());
    const HttpResponse response = co_await performChecked(client, request, std::move(verb), std::move(body));
    co_return decodeBody<T>(response.body);
}

QCoro::Task<ProjectsResponse> OrvaneAPIClient::projects() const
{
    return send<ProjectsResponse>(*this, QStringLiteral("/api/projects"), "GET", {}, std::nullopt);
}

QCoro::Task<ProjectResponse> OrvaneAPIClient::project(const QString &id) const
{
    return send<ProjectResponse>(*this, u"/api/projects/" + id, "GET", {}, std::nullopt);
}

QCoro::Task<ProjectResponse> OrvaneAPIClient::createProject(
    const QString &name, const std::optional<QString> &description) const
{
    return send<ProjectResponse>(
        *this, QStringLiteral("/api/projects"), "POST", {}, encodeJson(CreateProjectBody { name, description }));
}

QCoro::Task<ProjectResponse> OrvaneAPIClient::updateProject(
    const QString &id, const QString &name, const std::optional<QString> &description) const
{
    return send<ProjectResponse>(*this, u"/api/projects/" + id, "PATCH", {}, updateProjectBody(name, description));
}

QCoro::Task<DeleteProjectResponse> OrvaneAPIClient::deleteProject(const QString &id) const
{
    return send<DeleteProjectResponse>(*this, u"/api/projects/" + id, "DELETE", {}, std::nullopt);
}

QCoro::Task<ReportsResponse> OrvaneAPIClient::reports() const
{
    return send<ReportsResponse>(*this, QStringLiteral("/api/reports/list"), "GET", {}, std::nullopt);
}

QCoro::Task<ApprovalsResponse> OrvaneAPIClient::pendingActions() const
{
    return send<ApprovalsResponse>(*this, QStringLiteral("/api/approvals"), "GET",
        { { QStringLiteral("status"), QStringLiteral("pending") } }, std::nullopt);
}

QCoro::Task<ApprovalDecision> OrvaneAPIClient::approve(const QString &actionID) const
{
    // No body at all: no bytes and no Content-Type.
    return send<ApprovalDecision>(*this, u"/api/approvals/" + actionID + u"/approve", "POST", {}, std::nullopt);
}

QCoro::Task<ApprovalDecision> OrvaneAPIClient::reject(
    const QString &actionID, const std::optional<QString> &reason) const
{
    return send<ApprovalDecision>(
        *this, u"/api/approvals/" + actionID + u"/reject", "POST", {}, encodeJson(RejectBody { reason }));
}

QCoro::Task<QByteArray> OrvaneAPIClient::reportHTML(const QString &path) const
{
    return fetchContent(*this, path);
}

QCoro::Task<QByteArray> OrvaneAPIClient::fetchContent(OrvaneAPIClient client, QString path)
{
    // Only a plain absolute path on the service's own host: never a scheme-relative reference.
    if (!path.startsWith(u'/'))
        throw OrvaneAPIError::invalidPath();
    const QUrl reference(path);
    if (reference.isValid() && !reference.host().isEmpty())
        throw OrvaneAPIError::invalidPath();
    const QNetworkRequest request = client.makeRequest(path, "text/html");
    const HttpResponse response = co_await performChecked(client, request, "GET", std::nullopt);
    co_return response.body;
}

} // namespace orvane
