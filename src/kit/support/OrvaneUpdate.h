#pragma once

// Value types of the release-manifest update check and of an update status display.

#include <QCoro/QCoroTask>

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

namespace orvane {

enum class OrvaneUpdateDelivery { appStore, signedApplication, managedContent };

enum class OrvaneUpdatePauseReason { offline, lowPower, user };

struct OrvaneUpdateRelease final {
    QString version;
    QString summary;
    OrvaneUpdateDelivery delivery = OrvaneUpdateDelivery::appStore;
    std::optional<QUrl> appStoreURL;

    bool operator==(const OrvaneUpdateRelease &) const = default;
};

// The outcome of one check: a case and the payload that case carries (equal by both).
struct OrvaneUpdateCheckResult final {
    enum class Kind { current, managedExternally, available };

    Kind kind = Kind::current;
    QString message {}; // managedExternally
    std::optional<OrvaneUpdateRelease> availableRelease {}; // available

    [[nodiscard]] static OrvaneUpdateCheckResult current() { return {}; }
    [[nodiscard]] static OrvaneUpdateCheckResult available(OrvaneUpdateRelease release)
    {
        return { .kind = Kind::available, .availableRelease = std::move(release) };
    }
    [[nodiscard]] static OrvaneUpdateCheckResult managedExternally(QString message)
    {
        return { .kind = Kind::managedExternally, .message = std::move(message) };
    }

    [[nodiscard]] bool isCurrent() const { return kind == Kind::current; }
    // The release when one is available, else null.
    [[nodiscard]] const OrvaneUpdateRelease *release() const { return availableRelease ? &*availableRelease : nullptr; }

    bool operator==(const OrvaneUpdateCheckResult &) const = default;
};

// Where an update stands, for a status display: a case and the payload that case carries, made by
// the named constructors so that the fields a case does not carry keep their defaults and equality
// is by case and payload.
struct OrvaneUpdatePhase final {
    enum class Kind {
        idle,
        checking,
        current,
        managedExternally,
        available,
        downloading,
        paused,
        verifying,
        readyToInstall,
        installing,
        relaunchRequired,
        failed,
    };

    Kind kind = Kind::idle;
    std::optional<OrvaneUpdateRelease> release {}; // from available to relaunchRequired
    double progress = 0; // downloading, paused, installing
    OrvaneUpdatePauseReason reason = OrvaneUpdatePauseReason::user; // paused
    QString message {}; // managedExternally, failed
    bool canRetry = false; // failed
    bool rollbackAvailable = false; // failed

    [[nodiscard]] static OrvaneUpdatePhase idle() { return {}; }
    [[nodiscard]] static OrvaneUpdatePhase checking() { return { .kind = Kind::checking }; }
    [[nodiscard]] static OrvaneUpdatePhase current() { return { .kind = Kind::current }; }
    [[nodiscard]] static OrvaneUpdatePhase managedExternally(QString message)
    {
        return { .kind = Kind::managedExternally, .message = std::move(message) };
    }
    [[nodiscard]] static OrvaneUpdatePhase available(OrvaneUpdateRelease release)
    {
        return { .kind = Kind::available, .release = std::move(release) };
    }
    [[nodiscard]] static OrvaneUpdatePhase downloading(OrvaneUpdateRelease release, double progress)
    {
        return { .kind = Kind::downloading, .release = std::move(release), .progress = progress };
    }
    [[nodiscard]] static OrvaneUpdatePhase verifying(OrvaneUpdateRelease release)
    {
        return { .kind = Kind::verifying, .release = std::move(release) };
    }
    [[nodiscard]] static OrvaneUpdatePhase readyToInstall(OrvaneUpdateRelease release)
    {
        return { .kind = Kind::readyToInstall, .release = std::move(release) };
    }
    [[nodiscard]] static OrvaneUpdatePhase installing(OrvaneUpdateRelease release, double progress)
    {
        return { .kind = Kind::installing, .release = std::move(release), .progress = progress };
    }
    [[nodiscard]] static OrvaneUpdatePhase relaunchRequired(OrvaneUpdateRelease release)
    {
        return { .kind = Kind::relaunchRequired, .release = std::move(release) };
    }
    [[nodiscard]] static OrvaneUpdatePhase paused(
        OrvaneUpdateRelease release, double progress, OrvaneUpdatePauseReason reason)
    {
        return { .kind = Kind::paused, .release = std::move(release), .progress = progress, .reason = reason };
    }
    [[nodiscard]] static OrvaneUpdatePhase failed(QString message, bool canRetry, bool rollbackAvailable)
    {
        return { .kind = Kind::failed,
            .message = std::move(message),
            .canRetry = canRetry,
            .rollbackAvailable = rollbackAvailable };
    }

    bool operator==(const OrvaneUpdatePhase &) const = default;
};

struct OrvaneUpdateStateMachine final {
    OrvaneUpdatePhase phase;
    bool operator==(const OrvaneUpdateStateMachine &) const = default;
};

// Anything that can tell whether a release other than the running one is published.
class OrvaneUpdateChecking {
public:
    virtual ~OrvaneUpdateChecking() = default;
    [[nodiscard]] virtual QCoro::Task<OrvaneUpdateCheckResult> check() = 0;
};

// Holds the update phase for a status display; nothing in the application drives it yet.
class OrvaneUpdateStatusCenter final : public QObject {
    Q_OBJECT
public:
    explicit OrvaneUpdateStatusCenter(std::shared_ptr<OrvaneUpdateChecking> checker, QObject *parent = nullptr);

    [[nodiscard]] const OrvaneUpdatePhase &phase() const { return m_phase; }
    [[nodiscard]] const OrvaneUpdateStateMachine &machine() const { return m_machine; }
    [[nodiscard]] OrvaneUpdateChecking &checker() const { return *m_checker; }

private:
    OrvaneUpdatePhase m_phase;
    OrvaneUpdateStateMachine m_machine;
    std::shared_ptr<OrvaneUpdateChecking> m_checker;
};

} // namespace orvane
