#include "platform/UserDefaults.h"

#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>

namespace orvane::platform {
namespace {

constexpr qsizetype maxKeyLength = 200;

QString configHome()
{
    // Clean, so that every spelling of the folder ("/home/me/.config/") is one path.
    const QString xdg = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::cleanPath(QDir::homePath() + u"/.config");
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
    FileContents file = readRegularFile(filePath(key), maxValueSize);
    if (!file.ok())
        return std::nullopt;
    return std::move(file.bytes);
}

bool UserDefaults::setValue(const QString &key, QByteArrayView json) const
{
    // A value too large to be read back is not written: the one stored before stays readable. A
    // process that may not write makes no folder either (the write below fails all the same).
    if (!isValidKey(key) || json.size() > maxValueSize || writesRefused() || !QDir().mkpath(m_directory))
        return false;
    return writeFileAtomically(filePath(key), json);
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
    if (!file.exists())
        return true;
    return !writesRefused() && file.remove();
}

} // namespace orvane::platform
