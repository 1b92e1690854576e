#include "testsupport/desktop/TemporaryHome.h"

#include <QDir>

#include <gtest/gtest.h>

namespace orvane::test {
namespace {

QByteArray tempPath(const QTemporaryDir &dir, const char *tail)
{
    const QByteArray path = QFile::encodeName(dir.path()) + tail;
    QDir().mkpath(QFile::decodeName(path));
    return path;
}

} // namespace

ScopedEnvironmentVariable::ScopedEnvironmentVariable(const char *name, std::optional<QByteArray> value) : m_name(name)
{
    if (qEnvironmentVariableIsSet(name))
        m_previous = qgetenv(name);
    if (value)
        qputenv(name, *value);
    else
        qunsetenv(name);
}

ScopedEnvironmentVariable::~ScopedEnvironmentVariable()
{
    if (m_previous)
        qputenv(m_name.constData(), *m_previous);
    else
        qunsetenv(m_name.constData());
}

TemporaryHome::TemporaryHome()
    : m_dir(QDir::tempPath() + u"/orvane-home-XXXXXX"),
      m_home("HOME", QFile::encodeName(m_dir.path())),
      m_config("XDG_CONFIG_HOME", tempPath(m_dir, "/.config")),
      m_data("XDG_DATA_HOME", tempPath(m_dir, "/.local/share")),
      m_cache("XDG_CACHE_HOME", tempPath(m_dir, "/.cache"))
{
    EXPECT_TRUE(m_dir.isValid()) << "could not create a temporary home";
}

} // namespace orvane::test
