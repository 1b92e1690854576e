#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace orvane::platform {
namespace {

constexpr qsizetype maxKeyLength = 200;
// Preference values are small; anything larger is not ours.
constexpr qint64 maxValueSize = 64 * 1024 * 1024;

QString configHome()
{
    QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + u"/.config";
}

} // namespace

UserDefaults::UserDefaults(QString directory) : m_directory(std::move(directory))
{
}

UserDefaults UserDefaults::standard()
{
    return UserDefaults(standardDirectory());
}

QString UserDefaults::standardDirectory()
{
    return configHome() + u"/Orvane/defaults";
}

bool UserDefaults::isValidKey(const QString &key)
{
    if (key.isEmpty() || key.size() > maxKeyLength || key.startsWith(u'.') || key.contains(u".."))
        return false;
    for (const QChar c : key) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control || c.isNull())
            return false;
    }
    return true;
}

QString UserDefaults::filePath(const QString &key) const
{
    return m_directory + u'/' + key + u".json";
}

std::optional<QByteArray> UserDefaults::value(const QString &key) const
{
    if (!isValidKey(key))
        return std::nullopt;
    QFile file(filePath(key));
    if (!file.open(QIODevice::ReadOnly) || file.size() > maxValueSize)
        return std::nullopt;
    return file.readAll();
}

bool UserDefaults::setValue(const QString &key, QByteArrayView json) const
{
    if (!isValidKey(key) || !QDir().mkpath(m_directory))
        return false;
    QSaveFile file(filePath(key));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(json.data(), json.size()) != json.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

std::optional<bool> UserDefaults::boolValue(const QString &key) const
{
    const auto json = value(key);
    if (!json)
        return std::nullopt;
    const QByteArray text = json->trimmed();
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    return std::nullopt;
}

bool UserDefaults::setBool(const QString &key, bool value) const
{
    return setValue(key, value ? QByteArrayView("true") : QByteArrayView("false"));
}

bool UserDefaults::contains(const QString &key) const
{
    return isValidKey(key) && QFile::exists(filePath(key));
}

bool UserDefaults::remove(const QString &key) const
{
    if (!isValidKey(key))
        return false;
    QFile file(filePath(key));
    return !file.exists() || file.remove();
}

} // namespace orvane::platform
