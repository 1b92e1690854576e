#pragma once

#include "kit/support/OrvaneUpdate.h"

#include <QString>
#include <QUrl>

namespace orvane {

// Reads the release manifest ("/downloads/macos/latest.json" on the download site: {"version",
// "notes", "url"}) and reports whether its version differs from the running one. Never fails: a
// network error, a status outside 200-299, a body that is not a manifest all count as current.
// Each check uses its own connection state and keeps nothing afterwards.
class PlatformUpdateChecker final : public OrvaneUpdateChecking {
public:
    // The download site of production.
    static const QUrl defaultSite;

    explicit PlatformUpdateChecker(QUrl site = defaultSite, QString runningVersion = runningApplicationVersion());

    [[nodiscard]] QCoro::Task<OrvaneUpdateCheckResult> check() override;

    // The application's version, or "0.1.0" when the application declares none.
    [[nodiscard]] static QString runningApplicationVersion();

    // The result for a manifest body against a running version (the part of a check after the
    // download).
    [[nodiscard]] static OrvaneUpdateCheckResult evaluate(
        const QByteArray &manifest, const QString &runningVersion, const QUrl &site);

private:
    QUrl m_site;
    QString m_runningVersion;
};

} // namespace orvane
