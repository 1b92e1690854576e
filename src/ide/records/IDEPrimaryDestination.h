#pragma once

#include <QUuid>

#include <optional>

namespace orvane {

// What the main area of the workspace window shows: one of the operations surfaces, or a thread.
class IDEPrimaryDestination final {
public:
    // In declaration order; the position takes part in hashing.
    enum class Kind { projects, campaigns, agents, assets, connections, reports, settings, thread };

    // The projects surface.
    IDEPrimaryDestination() = default;

    [[nodiscard]] static IDEPrimaryDestination projects() { return IDEPrimaryDestination(Kind::projects); }
    [[nodiscard]] static IDEPrimaryDestination campaigns() { return IDEPrimaryDestination(Kind::campaigns); }
    [[nodiscard]] static IDEPrimaryDestination agents() { return IDEPrimaryDestination(Kind::agents); }
    [[nodiscard]] static IDEPrimaryDestination assets() { return IDEPrimaryDestination(Kind::assets); }
    [[nodiscard]] static IDEPrimaryDestination connections() { return IDEPrimaryDestination(Kind::connections); }
    [[nodiscard]] static IDEPrimaryDestination reports() { return IDEPrimaryDestination(Kind::reports); }
    [[nodiscard]] static IDEPrimaryDestination settings() { return IDEPrimaryDestination(Kind::settings); }
    [[nodiscard]] static IDEPrimaryDestination thread(const QUuid &threadID)
    {
        IDEPrimaryDestination destination(Kind::thread);
        destination.m_threadID = threadID;
        return destination;
    }

    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] bool isThread() const { return m_kind == Kind::thread; }
    // The thread's id for a thread destination; none for a surface.
    [[nodiscard]] std::optional<QUuid> threadID() const
    {
        return isThread() ? std::optional<QUuid>(m_threadID) : std::nullopt;
    }

    bool operator==(const IDEPrimaryDestination &) const = default;

private:
    explicit IDEPrimaryDestination(Kind kind) : m_kind(kind) { }

    Kind m_kind = Kind::projects;
    QUuid m_threadID; // null unless m_kind is thread
};

[[nodiscard]] size_t qHash(const IDEPrimaryDestination &destination, size_t seed = 0);

} // namespace orvane
