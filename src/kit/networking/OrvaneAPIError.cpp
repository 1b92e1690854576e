#include "kit/networking/OrvaneAPIError.h"

#include <QStringBuilder>

namespace orvane {

OrvaneAPIError::OrvaneAPIError(Kind kind, int status, QString payload)
    : m_kind(kind), m_status(status), m_payload(std::move(payload)), m_what(errorDescription().toUtf8())
{
}

OrvaneAPIError OrvaneAPIError::http(int status, QString body)
{
    return OrvaneAPIError(Kind::http, status, std::move(body));
}

OrvaneAPIError OrvaneAPIError::decoding(QString detail)
{
    return OrvaneAPIError(Kind::decoding, 0, std::move(detail));
}

OrvaneAPIError OrvaneAPIError::unauthorized()
{
    return OrvaneAPIError(Kind::unauthorized, 0, {});
}

OrvaneAPIError OrvaneAPIError::invalidPath()
{
    return OrvaneAPIError(Kind::invalidPath, 0, {});
}

OrvaneAPIError OrvaneAPIError::invalidResponse()
{
    return OrvaneAPIError(Kind::invalidResponse, 0, {});
}

QString OrvaneAPIError::errorDescription() const
{
    switch (m_kind) {
    case Kind::http:
        return u"Orvane returned an error (" % QString::number(m_status) % u").";
    case Kind::decoding:
        return u"Could not read Orvane's response: " % m_payload;
    case Kind::unauthorized:
        return QStringLiteral("Your session has expired. Sign in again.");
    case Kind::invalidPath:
        return QStringLiteral("Orvane returned an invalid content path.");
    case Kind::invalidResponse:
        return QStringLiteral("Orvane returned an unexpected response.");
    }
    return QStringLiteral("Orvane returned an unexpected response.");
}

} // namespace orvane
