#include "testsupport/service/StandInService.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>

#include <nlohmann/json.hpp>

namespace orvane::test {

using namespace std::chrono_literals;
using Json = nlohmann::ordered_json;

namespace {

constexpr qsizetype kMaxHead = 64 * 1024;

QByteArray toBytes(const Json &json)
{
    const std::string text = json.dump();
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string toStd(const QString &text)
{
    return text.toStdString();
}

Json projectJson(const std::string &id, const std::string &name, const Json &description)
{
    Json project = { { "id", id }, { "name", name } };
    if (!description.is_null())
        project["description"] = description;
    project["is_starred"] = false;
    project["created_at"] = "2024-05-01T10:00:00Z";
    project["updated_at"] = "2024-05-02T10:00:00Z";
    project["_count"] = { { "artifacts", 2 }, { "campaign_documents", 1 } };
    project["is_own"] = true;
    project["user_role"] = "owner";
    return project;
}

} // namespace

std::optional<QByteArray> RecordedRequest::header(QByteArrayView name) const
{
    for (const auto &[key, value] : headers) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return std::nullopt;
}

QString RecordedRequest::decodedPath() const
{
    return QUrl::fromPercentEncoding(path);
}

QUrlQuery RecordedRequest::queryItems() const
{
    return QUrlQuery(QString::fromLatin1(query));
}

CannedResponse CannedResponse::json(int status, QByteArray body)
{
    return text(status, std::move(body), "application/json");
}

CannedResponse CannedResponse::text(int status, QByteArray body, QByteArray contentType)
{
    CannedResponse response;
    response.status = status;
    response.headers = { { "Content-Type", std::move(contentType) } };
    response.body = std::move(body);
    return response;
}

CannedResponse CannedResponse::eventStream(QList<StreamStep> steps, int status)
{
    CannedResponse response;
    response.status = status;
    response.headers = { { "Content-Type", "text/event-stream" }, { "Cache-Control", "no-cache" } };
    response.chunked = true;
    response.steps = std::move(steps);
    return response;
}

CannedResponse CannedResponse::redirect(const QUrl &location, int status)
{
    CannedResponse response;
    response.status = status;
    response.headers = { { "Location", location.toEncoded() } };
    return response;
}

CannedResponse &&CannedResponse::withContentType(QByteArray contentType) &&
{
    headers.removeIf(
        [](const Header &header) { return header.first.compare("Content-Type", Qt::CaseInsensitive) == 0; });
    if (!contentType.isEmpty())
        headers.prepend({ "Content-Type", std::move(contentType) });
    return std::move(*this);
}

CannedResponse &&CannedResponse::heldUntilReleased() &&
{
    held = true;
    return std::move(*this);
}

CannedResponse &&CannedResponse::delayedBy(std::chrono::milliseconds pause) &&
{
    delay = pause;
    return std::move(*this);
}

CannedResponse &&CannedResponse::repeating(QByteArray bytes, std::chrono::milliseconds pause) &&
{
    repeat = std::move(bytes);
    repeatPause = pause;
    return std::move(*this);
}

CannedResponse &&CannedResponse::endingWith(Ending how) &&
{
    ending = how;
    return std::move(*this);
}

QByteArray sseBlock(QByteArrayView event, QByteArrayView data)
{
    return "event: " + event.toByteArray() + "\ndata: " + data.toByteArray() + "\n\n";
}

struct StandInService::Connection {
    QTcpSocket *socket = nullptr;
    QByteArray buffer;
    bool answered = false;
};

struct StandInService::Store {
    Json projects = Json::array();
    int nextProject = 3;
    Json reports = Json::array();
    Json actions = Json::array();
};

StandInService::StandInService(QObject *parent)
    : QObject(parent), m_server(new QTcpServer(this)), m_store(std::make_unique<Store>())
{
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        qFatal("the stand-in service could not listen on 127.0.0.1");
    connect(m_server, &QTcpServer::newConnection, this, &StandInService::accept);

    m_store->projects.push_back(projectJson("p-1", "Spring Launch", "Paid social for the spring range"));
    m_store->projects.push_back(projectJson("p-2", "Brand Search", nullptr));
    m_store->reports = Json::array({
        { { "id", "r-1" }, { "kind", "website_report" }, { "title", "Site audit" }, { "domain", "example.com" },
            { "url", "/r/site-audit" }, { "created_at", "2024-05-03T09:00:00Z" } },
        { { "id", "r-2" }, { "kind", "pdf" }, { "title", "Media plan" }, { "url", "https://cdn.example.com/plan.pdf" },
            { "created_at", "2024-05-04T09:00:00Z" }, { "updated_at", "2024-05-05T09:00:00Z" } },
    });
    m_store->actions = Json::array({
        { { "id", "a-1" }, { "status", "pending" }, { "platform", "google_ads" }, { "actionType", "pause_campaign" },
            { "targetName", "Brand - Exact" }, { "riskLevel", "low" }, { "createdAt", "2024-05-06T09:00:00Z" } },
    });
    m_chatSteps = {
        { 0ms, sseBlock("text_delta", R"({"text":"Hel"})") },
        { 20ms, sseBlock("text_delta", R"({"text":"lo"})") },
        { 20ms, sseBlock("done", "{}") },
    };
}

StandInService::~StandInService()
{
    for (auto &[socket, connection] : m_connections) {
        socket->disconnect(this);
        socket->abort();
        socket->deleteLater();
    }
}

QUrl StandInService::baseURL() const
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(QStringLiteral("127.0.0.1"));
    url.setPort(port());
    return url;
}

quint16 StandInService::port() const
{
    return m_server->serverPort();
}

void StandInService::setRoute(const QByteArray &method, const QString &path, Handler handler)
{
    m_routes.prepend(Route { method, path, std::move(handler) });
}

void StandInService::setResponse(const QByteArray &method, const QString &path, CannedResponse response)
{
    setRoute(method, path, [response = std::move(response)](const RecordedRequest &) { return response; });
}

bool StandInService::waitForRequests(qsizetype count, std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor([&] { return m_requests.size() >= count; }, int(timeout.count()));
}

bool StandInService::waitForNoOpenConnections(std::chrono::milliseconds timeout)
{
    return QTest::qWaitFor([&] { return m_connections.empty(); }, int(timeout.count()));
}

QList<QByteArray> StandInService::projectsJson() const
{
    QList<QByteArray> texts;
    for (const Json &project : m_store->projects)
        texts.append(toBytes(project));
    return texts;
}

void StandInService::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        auto connection = std::make_unique<Connection>();
        connection->socket = socket;
        Connection &ref = *connection;
        m_connections.emplace(socket, std::move(connection));
        connect(socket, &QTcpSocket::readyRead, this, [this, &ref] { readFrom(ref); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] { closed(socket); });
    }
}

void StandInService::closed(QTcpSocket *socket)
{
    auto it = m_connections.find(socket);
    if (it == m_connections.end())
        return;
    m_connections.erase(it);
    socket->disconnect(this);
    socket->deleteLater();
}

void StandInService::readFrom(Connection &connection)
{
    connection.buffer += connection.socket->readAll();
    if (connection.answered)
        return;
    const qsizetype headEnd = connection.buffer.indexOf("\r\n\r\n");
    if (headEnd < 0) {
        if (connection.buffer.size() > kMaxHead)
            connection.socket->abort();
        return;
    }
    RecordedRequest request;
    const QList<QByteArray> lines = connection.buffer.left(headEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3) {
        connection.socket->abort();
        return;
    }
    request.method = requestLine[0];
    request.target = requestLine[1];
    const qsizetype mark = request.target.indexOf('?');
    request.path = mark < 0 ? request.target : request.target.left(mark);
    request.hasQuery = mark >= 0;
    request.query = mark < 0 ? QByteArray() : request.target.mid(mark + 1);
    qsizetype contentLength = 0;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QByteArray line = lines[i].trimmed();
        const qsizetype colon = line.indexOf(':');
        if (colon <= 0)
            continue;
        Header header { line.left(colon).trimmed(), line.mid(colon + 1).trimmed() };
        if (header.first.compare("content-length", Qt::CaseInsensitive) == 0)
            contentLength = header.second.toLongLong();
        request.headers.append(std::move(header));
    }
    const qsizetype bodyStart = headEnd + 4;
    if (connection.buffer.size() - bodyStart < contentLength)
        return;
    request.body = connection.buffer.mid(bodyStart, contentLength);
    connection.answered = true;
    m_requests.append(request);

    CannedResponse response = answer(request);
    QTcpSocket *socket = connection.socket;
    if (response.held) {
        m_held.append({ socket, std::move(response) });
    } else if (response.delay > 0ms) {
        const std::chrono::milliseconds delay = response.delay;
        QTimer::singleShot(
            delay, socket, [this, socket, response = std::move(response)] { respond(socket, response); });
    } else {
        respond(socket, response);
    }
}

void StandInService::releaseHeld()
{
    // Only what is held now: a step reached by what this sends waits for the next release.
    const auto steps = std::exchange(m_heldSteps, {});
    for (const auto &[socket, response] : std::exchange(m_held, {})) {
        if (socket)
            respond(socket, response);
    }
    for (const auto &[socket, send] : steps) {
        if (socket)
            send();
    }
}

void StandInService::respond(QTcpSocket *socket, const CannedResponse &response)
{
    QByteArray head = "HTTP/1.1 " + QByteArray::number(response.status) + " Status\r\n";
    for (const auto &[name, value] : response.headers)
        head += name + ": " + value + "\r\n";
    head += "Connection: close\r\n";
    if (response.chunked)
        head += "Transfer-Encoding: chunked\r\n";
    else
        head += "Content-Length: "
            + QByteArray::number(response.declaredLength >= 0 ? response.declaredLength : response.body.size())
            + "\r\n";
    head += "\r\n";
    socket->write(head);
    if (response.chunked) {
        sendSteps(socket, std::make_shared<const CannedResponse>(response), 0);
        return;
    }
    const qsizetype sent = response.ending == CannedResponse::Ending::complete || response.sentBodyBytes < 0
        ? response.body.size()
        : std::min(response.sentBodyBytes, response.body.size());
    socket->write(response.body.left(sent));
    if (!response.repeat.isEmpty())
        repeat(socket, response);
    else
        finish(socket, response.ending);
}

void StandInService::sendSteps(
    QTcpSocket *socket, const std::shared_ptr<const CannedResponse> &response, qsizetype index)
{
    if (index >= response->steps.size()) {
        if (!response->repeat.isEmpty()) {
            repeat(socket, *response);
            return;
        }
        if (response->ending == CannedResponse::Ending::complete)
            socket->write("0\r\n\r\n");
        finish(socket, response->ending);
        return;
    }
    const StreamStep &step = response->steps[index];
    const auto send = [this, socket, response, index, bytes = step.bytes] {
        if (!bytes.isEmpty())
            socket->write(QByteArray::number(bytes.size(), 16) + "\r\n" + bytes + "\r\n");
        socket->flush();
        sendSteps(socket, response, index + 1);
    };
    if (step.held)
        m_heldSteps.append({ socket, send });
    else if (step.pause > 0ms)
        QTimer::singleShot(step.pause, socket, send);
    else
        send();
}

void StandInService::repeat(QTcpSocket *socket, const CannedResponse &response)
{
    const QByteArray bytes = response.chunked
        ? QByteArray::number(response.repeat.size(), 16) + "\r\n" + response.repeat + "\r\n"
        : response.repeat;
    const auto write = [socket, bytes] { socket->write(bytes); };
    if (response.repeatPause > 0ms) {
        auto *timer = new QTimer(socket);
        connect(timer, &QTimer::timeout, socket, write);
        timer->start(response.repeatPause);
        return;
    }
    // Only as fast as the client takes it: the next write once the socket's queue has drained.
    connect(socket, &QTcpSocket::bytesWritten, socket, [socket, write] {
        if (socket->bytesToWrite() == 0)
            write();
    });
    write();
}

void StandInService::finish(QTcpSocket *socket, CannedResponse::Ending ending)
{
    switch (ending) {
    case CannedResponse::Ending::complete:
        socket->disconnectFromHost();
        break;
    case CannedResponse::Ending::stall:
        socket->flush();
        break;
    case CannedResponse::Ending::drop:
        socket->flush();
        // Let the bytes already written leave before the connection is cut.
        QTimer::singleShot(20ms, socket, [socket] { socket->abort(); });
        break;
    }
}

CannedResponse StandInService::answer(const RecordedRequest &request)
{
    const QString path = request.decodedPath();
    for (const Route &route : std::as_const(m_routes)) {
        if ((route.method == "*" || route.method == request.method) && route.path == path)
            return route.handler(request);
    }
    return builtIn(request);
}

CannedResponse StandInService::builtIn(const RecordedRequest &request)
{
    const QString path = request.decodedPath();
    const QByteArray &method = request.method;
    const auto notFound = [] { return CannedResponse::json(404, R"({"error":"not found"})"); };

    if (path == u"/api/cli/device/start" && method == "POST") {
        const QString verification
            = m_verificationURL.isEmpty() ? baseURL().toString() + u"/device?code=" + userCode() : m_verificationURL;
        const Json body = { { "deviceCode", deviceCode().toStdString() }, { "userCode", toStd(userCode()) },
            { "verificationUrl", toStd(verification) }, { "expiresIn", 600 } };
        return CannedResponse::json(200, toBytes(body));
    }
    if (path == u"/api/cli/device/poll" && method == "GET") {
        if (request.queryItems().queryItemValue(QStringLiteral("code")).toUtf8() != deviceCode())
            return CannedResponse::json(404, R"({"error":"unknown device code"})");
        const QString status = m_pollStatuses.isEmpty()
            ? QStringLiteral("pending")
            : m_pollStatuses.value(std::min<qsizetype>(m_pollCount, m_pollStatuses.size() - 1));
        ++m_pollCount;
        Json body = { { "status", toStd(status) } };
        if (status == u"completed") {
            body["apiKey"] = toStd(m_issuedKey);
            body["user"] = { { "id", 42 }, { "email", "ada@example.com" }, { "name", "Ada Lovelace" } };
            body["workspace"] = { { "id", 7 }, { "name", "Growth Team" } };
            body["readOnly"] = false;
        }
        return CannedResponse::json(200, toBytes(body));
    }

    if (!path.startsWith(u"/api/"))
        return notFound();
    if (m_requiredKey && request.header("authorization") != "Bearer " + m_requiredKey->toUtf8())
        return CannedResponse::json(401, R"({"error":"unauthorized"})");

    if (path == u"/api/projects") {
        if (method == "GET")
            return CannedResponse::json(200, toBytes(Json { { "projects", m_store->projects } }));
        if (method == "POST") {
            const Json body = Json::parse(request.body.begin(), request.body.end(), nullptr, false);
            if (!body.is_object() || !body.contains("name") || !body["name"].is_string())
                return CannedResponse::json(400, R"({"error":"name is required"})");
            Json project = projectJson("p-" + std::to_string(m_store->nextProject++), body["name"].get<std::string>(),
                body.value("description", Json()));
            m_store->projects.push_back(project);
            return CannedResponse::json(201, toBytes(Json { { "project", project } }));
        }
        return CannedResponse::json(405, R"({"error":"method not allowed"})");
    }
    if (path.startsWith(u"/api/projects/")) {
        const std::string id = toStd(path.mid(14));
        auto &projects = m_store->projects;
        auto it = std::find_if(projects.begin(), projects.end(), [&](const Json &p) { return p["id"] == id; });
        if (it == projects.end())
            return notFound();
        if (method == "GET")
            return CannedResponse::json(200, toBytes(Json { { "project", *it } }));
        if (method == "PATCH") {
            const Json body = Json::parse(request.body.begin(), request.body.end(), nullptr, false);
            if (!body.is_object())
                return CannedResponse::json(400, R"({"error":"bad body"})");
            if (body.contains("name") && body["name"].is_string())
                (*it)["name"] = body["name"];
            if (body.contains("description")) {
                if (body["description"].is_null())
                    it->erase("description");
                else
                    (*it)["description"] = body["description"];
            }
            return CannedResponse::json(200, toBytes(Json { { "project", *it } }));
        }
        if (method == "DELETE") {
            projects.erase(it);
            return CannedResponse::json(200, R"({"success":true,"message":"Project deleted"})");
        }
        return CannedResponse::json(405, R"({"error":"method not allowed"})");
    }
    if (path == u"/api/reports/list" && method == "GET")
        return CannedResponse::json(200, toBytes(Json { { "artifacts", m_store->reports } }));
    if (path.startsWith(u"/api/reports/") && path.endsWith(u"/html") && method == "GET")
        return CannedResponse::text(200,
            "<!doctype html><title>Report</title><h1>" + path.mid(13).chopped(5).toHtmlEscaped().toUtf8() + "</h1>",
            "text/html; charset=utf-8");
    if (path == u"/api/approvals" && method == "GET") {
        const QString status = request.queryItems().queryItemValue(QStringLiteral("status"));
        Json actions = Json::array();
        for (const Json &action : m_store->actions) {
            if (status.isEmpty() || action.value("status", std::string()) == toStd(status))
                actions.push_back(action);
        }
        return CannedResponse::json(200, toBytes(Json { { "actions", actions } }));
    }
    if (path.startsWith(u"/api/approvals/") && method == "POST") {
        const bool approving = path.endsWith(u"/approve");
        if (!approving && !path.endsWith(u"/reject"))
            return notFound();
        const std::string id = toStd(path.mid(15).section(u'/', 0, 0));
        for (Json &action : m_store->actions) {
            if (action["id"] == id) {
                action["status"] = approving ? "approved" : "rejected";
                return CannedResponse::json(
                    200, approving ? R"({"success":true})" : R"({"success":true,"message":"Action rejected"})");
            }
        }
        return notFound();
    }
    if (path == u"/api/agent/chat" && method == "POST")
        return CannedResponse::eventStream(m_chatSteps);
    return notFound();
}

} // namespace orvane::test
