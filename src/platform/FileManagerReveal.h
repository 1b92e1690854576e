#pragma once

#include <QDBusConnection>
#include <QString>
#include <QUrl>

#include <QCoro/QCoroTask>

#include <functional>

namespace orvane::platform {

// Opens a window of the desktop's file manager on a folder: the freedesktop file-manager interface
// (org.freedesktop.FileManager1) on a D-Bus connection, by default the session bus; when no file
// manager answers there, the folder's file URL goes to a fallback opener (the application passes
// the desktop's URL handler). Main thread only; nothing blocks.
class FileManagerReveal final {
public:
    static constexpr char kService[] = "org.freedesktop.FileManager1";
    static constexpr char kPath[] = "/org/freedesktop/FileManager1";
    static constexpr char kInterface[] = "org.freedesktop.FileManager1";
    // How long the file manager may take to answer (it may have to start first).
    static constexpr int kCallTimeoutMilliseconds = 10'000;

    using URLOpener = std::function<bool(const QUrl &)>;
    enum class Outcome { fileManager, fallback, failed };

    explicit FileManagerReveal(URLOpener fallback, QDBusConnection connection = QDBusConnection::sessionBus());

    // Shows the folder itself, nothing selected in it. Returns at once.
    void showFolder(const QString &folderPath) const;
    // The same, ending with how the folder was shown: by the file manager, by the fallback, or not
    // at all (no file manager and the fallback refused or is missing).
    [[nodiscard]] QCoro::Task<Outcome> showFolderAndWait(const QString &folderPath) const;

private:
    static QCoro::Task<Outcome> show(QDBusConnection connection, URLOpener fallback, QString folderPath);

    URLOpener m_fallback;
    QDBusConnection m_connection;
};

} // namespace orvane::platform
