#include "kit/networking/OrvaneEnvironment.h"

#include <QHostAddress>

namespace orvane {

QUrl builtInBaseURL(OrvaneEnvironment environment)
{
    switch (environment) {
    case OrvaneEnvironment::production:
        return QUrl(QStringLiteral("https://orvane.app"));
    case OrvaneEnvironment::staging:
        return QUrl(QStringLiteral("https://staging.orvane.app"));
    }
    return QUrl(QStringLiteral("https://orvane.app"));
}

bool isLoopbackHost(const QString &host)
{
    if (host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) == 0)
        return true;
    QHostAddress address;
    return address.setAddress(host) && address.isLoopback();
}

std::optional<QUrl> acceptedBaseURLOverride(const QString &text)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || url.isRelative() || url.host().isEmpty())
        return std::nullopt;
    if (!url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment())
        return std::nullopt;
    if (!url.path().isEmpty() && url.path() != u"/")
        return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme != u"https" && !(scheme == u"http" && isLoopbackHost(url.host())))
        return std::nullopt;
    QUrl base;
    base.setScheme(scheme);
    base.setHost(url.host());
    base.setPort(url.port());
    return base;
}

QUrl baseURL(OrvaneEnvironment environment)
{
    const QString text = qEnvironmentVariable(kBaseURLOverrideVariable);
    if (!text.isEmpty()) {
        if (auto url = acceptedBaseURLOverride(text))
            return *url;
    }
    return builtInBaseURL(environment);
}

std::optional<OrvaneEnvironment> environmentFromRawValue(const QString &raw)
{
    return fromRawValue<OrvaneEnvironment>(raw);
}

} // namespace orvane
