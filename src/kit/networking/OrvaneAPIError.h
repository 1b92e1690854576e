#pragma once

#include <QByteArray>
#include <QString>

#include <exception>

namespace orvane {

// The failures of the service's answers. Transport failures are NetworkError (HttpTransport.h).
// The user-facing text never contains the body of an answer: it may echo what we sent.
class OrvaneAPIError final : public std::exception {
public:
    enum class Kind {
        http, // a status outside 200-299 other than 401 and 403
        decoding, // a 2xx answer that is not the expected record
        unauthorized, // 401 or 403
        invalidPath, // a report content path that is not a plain absolute path
        invalidResponse, // not an HTTP response, or not the kind of answer asked for
    };

    static OrvaneAPIError http(int status, QString body);
    // `detail` names the failing key path and what was expected, never a received value.
    static OrvaneAPIError decoding(QString detail);
    static OrvaneAPIError unauthorized();
    static OrvaneAPIError invalidPath();
    static OrvaneAPIError invalidResponse();

    [[nodiscard]] Kind kind() const { return m_kind; }
    // The HTTP status of `http`, else 0.
    [[nodiscard]] int status() const { return m_status; }
    // The answer's body as text for `http`, the failure description for `decoding`, else empty.
    [[nodiscard]] const QString &body() const { return m_payload; }
    [[nodiscard]] const QString &decodingDetail() const { return m_payload; }

    // The text shown to the user.
    [[nodiscard]] QString errorDescription() const;
    [[nodiscard]] const char *what() const noexcept override { return m_what.constData(); }

    bool operator==(const OrvaneAPIError &other) const
    {
        return m_kind == other.m_kind && m_status == other.m_status && m_payload == other.m_payload;
    }

private:
    OrvaneAPIError(Kind kind, int status, QString payload);

    Kind m_kind;
    int m_status = 0;
    QString m_payload;
    QByteArray m_what;
};

} // namespace orvane
