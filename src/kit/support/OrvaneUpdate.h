#pragma once

// Value types of the release-manifest update check and of an update status display.

#include <QCoro/QCoroTask>

#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>
#include <variant>

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

// The outcome of one check.
struct OrvaneUpdateCheckResult final {
    struct Current {
        bool operator==(const Current &) const = default;
    };
    struct ManagedExternally {
        QString message;
        bool operator==(const ManagedExternally &) const = default;
    };
    struct Available {
        OrvaneUpdateRelease release;
        bool operator==(const Available &) const = default;
    };

    std::variant<Current, ManagedExternally, Available> value;

    [[nodiscard]] static OrvaneUpdateCheckResult current() { return { Current {} }; }
    [[nodiscard]] static OrvaneUpdateCheckResult available(OrvaneUpdateRelease release)
    {
        return { Available { std::move(release) } };
    }
    [[nodiscard]] static OrvaneUpdateCheckResult managedExternally(QString message)
    {
        return { ManagedExternally { std::move(message) } };
    }

    [[nodiscard]] bool isCurrent() const { return std::holds_alternative<Current>(value); }
    // The release when one is available, else null.
    [[nodiscard]] const OrvaneUpdateRelease *release() const
    {
        const auto *available = std::get_if<Available>(&value);
        return available ? &available->release : nullptr;
    }

    bool operator==(const OrvaneUpdateCheckResult &) const = default;
};

// Where an update stands, for a status display. Equal by case and payload.
namespace OrvaneUpdatePhases {
struct Idle {
    bool operator==(const Idle &) const = default;
};
struct Checking {
    bool operator==(const Checking &) const = default;
};
struct Current {
    bool operator==(const Current &) const = default;
};
struct ManagedExternally {
    QString message;
    bool operator==(const ManagedExternally &) const = default;
};
struct Available {
    OrvaneUpdateRelease release;
    bool operator==(const Available &) const = default;
};
struct Downloading {
    OrvaneUpdateRelease release;
    double progress = 0;
    bool operator==(const Downloading &) const = default;
};
struct Paused {
    OrvaneUpdateRelease release;
    double progress = 0;
    OrvaneUpdatePauseReason reason = OrvaneUpdatePauseReason::user;
    bool operator==(const Paused &) const = default;
};
struct Verifying {
    OrvaneUpdateRelease release;
    bool operator==(const Verifying &) const = default;
};
struct ReadyToInstall {
    OrvaneUpdateRelease release;
    bool operator==(const ReadyToInstall &) const = default;
};
struct Installing {
    OrvaneUpdateRelease release;
    double progress = 0;
    bool operator==(const Installing &) const = default;
};
struct RelaunchRequired {
    OrvaneUpdateRelease release;
    bool operator==(const RelaunchRequired &) const = default;
};
struct Failed {
    QString message;
    bool canRetry = false;
    bool rollbackAvailable = false;
    bool operator==(const Failed &) const = default;
};
} // namespace OrvaneUpdatePhases

using OrvaneUpdatePhase
    = std::variant<OrvaneUpdatePhases::Idle, OrvaneUpdatePhases::Checking, OrvaneUpdatePhases::Current,
        OrvaneUpdatePhases::ManagedExternally, OrvaneUpdatePhases::Available, OrvaneUpdatePhases::Downloading,
        OrvaneUpdatePhases::Paused, OrvaneUpdatePhases::Verifying, OrvaneUpdatePhases::ReadyToInstall,
        OrvaneUpdatePhases::Installing, OrvaneUpdatePhases::RelaunchRequired, OrvaneUpdatePhases::Failed>;

struct OrvaneUpdateStateMachine final {
    OrvaneUpdatePhase phase = OrvaneUpdatePhases::Idle {};
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
    OrvaneUpdatePhase m_phase = OrvaneUpdatePhases::Idle {};
    OrvaneUpdateStateMachine m_machine;
    std::shared_ptr<OrvaneUpdateChecking> m_checker;
};

} // namespace orvane
