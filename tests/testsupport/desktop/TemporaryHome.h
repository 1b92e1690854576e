#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <optional>

namespace orvane::test {

// Sets (or unsets) one environment variable for its lifetime, then restores the previous value.
class ScopedEnvironmentVariable final {
public:
    ScopedEnvironmentVariable(const char *name, std::optional<QByteArray> value);
    ~ScopedEnvironmentVariable();
    ScopedEnvironmentVariable(const ScopedEnvironmentVariable &) = delete;
    ScopedEnvironmentVariable &operator=(const ScopedEnvironmentVariable &) = delete;

private:
    QByteArray m_name;
    std::optional<QByteArray> m_previous;
};

// A fresh, empty home for one test: HOME, XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_CACHE_HOME point
// into a temporary folder that is removed with the fixture; the previous values come back after.
class TemporaryHome final {
public:
    TemporaryHome();
    TemporaryHome(const TemporaryHome &) = delete;
    TemporaryHome &operator=(const TemporaryHome &) = delete;

    [[nodiscard]] QString path() const { return m_dir.path(); }
    [[nodiscard]] QString configHome() const { return path() + u"/.config"; }
    [[nodiscard]] QString dataHome() const { return path() + u"/.local/share"; }

private:
    QTemporaryDir m_dir;
    ScopedEnvironmentVariable m_home;
    ScopedEnvironmentVariable m_config;
    ScopedEnvironmentVariable m_data;
    ScopedEnvironmentVariable m_cache;
};

} // namespace orvane::test
