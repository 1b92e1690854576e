#include "kit/support/PlatformUpdateChecker.h"

#include "kit/support/JsonCoding.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>

#include <QCoro/QCoroNetworkReply>

#include <memory>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// A manifest is a few hundred bytes; anything far larger is not one and is not held in memory.
constexpr qint64 maxManifestBytes = 1 << 20;
// The wait without data after which a check gives up, as the platform's default session does.
constexpr int transferTimeoutMs = 60'000;

struct ReleaseManifest {
    QString version;
    std::optional<QString> notes;
    std::optional<QString> url;

    void encode(JsonObjectWriter &writer) const
    {
        writer.field("version", version).field("notes", notes).field("url", url);
    }
    static ReleaseManifest decode(const JsonObjectReader &reader)
    {
        return { reader.required<QString>("version"), reader.optional<QString>("notes"),
            reader.optional<QString>("url") };
    }
};

struct DeleteLater {
    void operator()(QObject *object) const { object->deleteLater(); }
};

// Only a web page is ever offered for opening: the manifest's link must be an absolute https URL.
std::optional<QUrl> downloadPage(const QString &text)
{
    const QUrl url(text, QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != u"https"_s || url.host().isEmpty())
        return std::nullopt;
    return url;
}

} // namespace

const QUrl PlatformUpdateChecker::defaultSite(u"https://orvane.com"_s);

PlatformUpdateChecker::PlatformUpdateChecker(QUrl site, QString runningVersion)
    : m_site(std::move(site)), m_runningVersion(std::move(runningVersion))
{
}

QString PlatformUpdateChecker::runningApplicationVersion()
{
    const QString version = QCoreApplication::applicationVersion();
    return version.isEmpty() ? u"0.1.0"_s : version;
}

OrvaneUpdateCheckResult PlatformUpdateChecker::evaluate(
    const QByteArray &manifestBody, const QString &runningVersion, const QUrl &site)
{
    ReleaseManifest manifest;
    try {
        manifest = decodeJson<ReleaseManifest>(manifestBody);
    } catch (const DecodingError &) {
        return OrvaneUpdateCheckResult::current();
    }
    // Canonically equivalent texts are the same version. Any other difference, an older manifest
    // version included, offers that release.
    if (manifest.version.normalized(QString::NormalizationForm_C)
        == runningVersion.normalized(QString::NormalizationForm_C))
        return OrvaneUpdateCheckResult::current();

    OrvaneUpdateRelease release;
    release.version = manifest.version;
    release.summary = manifest.notes.value_or(u"A newer release of Orvane for Linux is available."_s);
    release.delivery = OrvaneUpdateDelivery::appStore;
    release.appStoreURL = manifest.url ? downloadPage(*manifest.url) : std::nullopt;
    if (!release.appStoreURL)
        release.appStoreURL = site.resolved(QUrl(u"/download"_s));
    return OrvaneUpdateCheckResult::available(std::move(release));
}

QCoro::Task<OrvaneUpdateCheckResult> PlatformUpdateChecker::check()
{
    // Copied into the frame: the checker may be gone by the time the answer arrives.
    const QUrl site = m_site;
    const QString runningVersion = m_runningVersion;

    const QUrl manifestUrl = site.resolved(QUrl(u"/downloads/macos/latest.json"_s));
    if (!manifestUrl.isValid() || manifestUrl.host().isEmpty())
        co_return OrvaneUpdateCheckResult::current();

    // The reply resumes this coroutine from inside its own signal, so both objects are released
    // later from the event loop, never while that signal is being delivered.
    const std::unique_ptr<QNetworkAccessManager, DeleteLater> network(new QNetworkAccessManager);
    QNetworkRequest request(manifestUrl);
    request.setTransferTimeout(transferTimeoutMs);
    QNetworkReply *reply = network->get(request);
    QObject::connect(reply, &QNetworkReply::downloadProgress, reply, [reply](qint64 received, qint64) {
        if (received > maxManifestBytes)
            reply->abort();
    });
    co_await reply;

    if (reply->error() != QNetworkReply::NoError)
        co_return OrvaneUpdateCheckResult::current();
    const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (!status.isValid())
        co_return OrvaneUpdateCheckResult::current();
    const int code = status.toInt();
    if (code < 200 || code >= 300)
        co_return OrvaneUpdateCheckResult::current();
    const QByteArray body = reply->read(maxManifestBytes + 1);
    if (body.size() > maxManifestBytes)
        co_return OrvaneUpdateCheckResult::current();
    co_return evaluate(body, runningVersion, site);
}

} // namespace orvane
