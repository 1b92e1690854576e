#include "platform/FileManagerReveal.h"

#include <QDBusMessage>
#include <QDBusPendingReply>
#include <QDir>
#include <QStringList>

#include <QCoro/QCoroDBusPendingCall>
#include <QCoro/QCoroDBusPendingReply>

namespace orvane::platform {

FileManagerReveal::FileManagerReveal(URLOpener fallback, QDBusConnection connection)
    : m_fallback(std::move(fallback)), m_connection(std::move(connection))
{
}

void FileManagerReveal::showFolder(const QString &folderPath) const
{
    // The task holds copies of everything it needs, so it may outlive this object.
    (void)show(m_connection, m_fallback, folderPath);
}

QCoro::Task<FileManagerReveal::Outcome> FileManagerReveal::showFolderAndWait(const QString &folderPath) const
{
    return show(m_connection, m_fallback, folderPath);
}

QCoro::Task<FileManagerReveal::Outcome> FileManagerReveal::show(
    QDBusConnection connection, URLOpener fallback, QString folderPath)
{
    const QUrl folder = QUrl::fromLocalFile(QDir::cleanPath(folderPath));
    if (connection.isConnected()) {
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
            QString::fromLatin1(kInterface), QStringLiteral("ShowFolders"));
        // The folders to open, and the start-up notification id (none).
        call << QStringList { folder.toString(QUrl::FullyEncoded) } << QString();
        QDBusPendingCall pending = connection.asyncCall(call, kCallTimeoutMilliseconds);
        const QDBusPendingReply<> reply = co_await pending;
        if (!reply.isError())
            co_return Outcome::fileManager;
    }
    if (fallback && fallback(folder))
        co_return Outcome::fallback;
    co_return Outcome::failed;
}

} // namespace orvane::platform
