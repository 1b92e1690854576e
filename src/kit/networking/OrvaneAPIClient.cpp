#include "kit/networking/OrvaneAPIClient.h"

namespace orvane {

OrvaneAPIClient::OrvaneAPIClient(QUrl baseURL, std::optional<QString> apiKey, QNetworkAccessManager *network)
    : m_baseURL(std::move(baseURL)), m_apiKey(std::move(apiKey)), m_network(network)
{
}

OrvaneAPIClient::OrvaneAPIClient(
    OrvaneEnvironment environment, std::optional<QString> apiKey, QNetworkAccessManager *network)
    : OrvaneAPIClient(orvane::baseURL(environment), std::move(apiKey), network)
{
}

QUrl OrvaneAPIClient::url(const QString &path, const QList<QueryItem> &query) const
{
    QUrl url = m_baseURL;
    QString fullPath = url.path(QUrl::FullyDecoded);
    while (fullPath.endsWith(u'/'))
        fullPath.chop(1);
    if (!path.startsWith(u'/'))
        fullPath += u'/';
    fullPath += path;
    // Decoded mode: the text is the path itself, so "%", "?" and "#" are encoded, never read.
    url.setPath(fullPath, QUrl::DecodedMode);
    url.setFragment(QString());
    if (query.isEmpty()) {
        url.setQuery(QString());
    } else {
        QByteArray encoded;
        for (const auto &[name, value] : query) {
            if (!encoded.isEmpty())
                encoded += '&';
            encoded += QUrl::toPercentEncoding(name) + '=' + QUrl::toPercentEncoding(value);
        }
        url.setQuery(QString::fromLatin1(encoded), QUrl::StrictMode);
    }
    return url;
}

QNetworkRequest OrvaneAPIClient::makeRequest(
    const QString &path, const QByteArray &accept, const QList<QueryItem> &query, bool hasBody) const
{
    QNetworkRequest request = http::makeRequest(url(path, query), m_limits);
    request.setRawHeader("Accept", accept);
    request.setRawHeader("User-Agent", kUserAgent);
    // A key holding a line break would inject headers of its own; sign-in refuses such keys.
    if (m_apiKey && http::isSafeHeaderValue(*m_apiKey))
        request.setRawHeader("Authorization", "Bearer " + m_apiKey->toUtf8());
    if (hasBody)
        request.setRawHeader("Content-Type", "application/json");
    return request;
}

void OrvaneAPIClient::check(const HttpResponse &response)
{
    if (!response.isHttp)
        throw OrvaneAPIError::invalidResponse();
    if (response.status >= 200 && response.status <= 299)
        return;
    if (response.status == 401 || response.status == 403)
        throw OrvaneAPIError::unauthorized();
    // fromUtf8 replaces every ill-formed sequence with U+FFFD.
    throw OrvaneAPIError::http(response.status, QString::fromUtf8(response.body));
}

QCoro::Task<HttpResponse> OrvaneAPIClient::perform(
    const QNetworkRequest &request, QByteArray verb, std::optional<QByteArray> body) const
{
    return performChecked(*this, request, std::move(verb), std::move(body));
}

QCoro::Task<HttpResponse> OrvaneAPIClient::performChecked(
    OrvaneAPIClient client, QNetworkRequest request, QByteArray verb, std::optional<QByteArray> body)
{
    if (client.m_hasLifetime && !client.m_lifetime)
        throw NetworkError(NetworkError::Kind::cancelled, QNetworkReply::OperationCanceledError);
    HttpResponse response
        = co_await http::fetch(client.m_network, request, std::move(verb), std::move(body), client.m_lifetime.data());
    check(response);
    co_return response;
}

} // namespace orvane
