#include "platform/FileManagerReveal.h"
#include "testsupport/desktop/PrivateSessionBus.h"
#include "testsupport/service/AwaitTask.h"

#include <QDBusConnection>
#include <QObject>
#include <QStringList>
#include <QUrl>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane::platform {
namespace {

// A file manager on the bus that records the folders it was asked to show.
class FakeFileManager final : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.FileManager1")
public:
    QList<QStringList> shownFolders;
    QList<QStringList> shownItems;

public Q_SLOTS:
    void ShowFolders(const QStringList &uris, const QString &startupId)
    {
        Q_UNUSED(startupId);
        shownFolders.append(uris);
    }
    void ShowItems(const QStringList &uris, const QString &startupId)
    {
        Q_UNUSED(startupId);
        shownItems.append(uris);
    }
};

struct RecordingOpener {
    QList<QUrl> opened;
    bool accepts = true;
    FileManagerReveal::URLOpener opener()
    {
        return [this](const QUrl &url) {
            opened.append(url);
            return accepts;
        };
    }
};

TEST(FileManagerRevealTest, TheFileManagerOnTheBusShowsTheFolderItself)
{
    test::PrivateSessionBus *bus = test::PrivateSessionBus::shared();
    ASSERT_NE(bus, nullptr);
    QDBusConnection service = QDBusConnection::connectToBus(bus->address(), u"fake-file-manager"_s);
    ASSERT_TRUE(service.isConnected());
    FakeFileManager fake;
    ASSERT_TRUE(
        service.registerObject(QString::fromLatin1(FileManagerReveal::kPath), &fake, QDBusConnection::ExportAllSlots));
    ASSERT_TRUE(service.registerService(QString::fromLatin1(FileManagerReveal::kService)));

    RecordingOpener fallback;
    const FileManagerReveal reveal(fallback.opener(), QDBusConnection::connectToBus(bus->address(), u"reveal"_s));
    const auto outcome = test::awaitTask(reveal.showFolderAndWait(u"/home/me/Documents/Orvane/Q2 launch & more/"_s));
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(*outcome.value, FileManagerReveal::Outcome::fileManager);
    // One folder, as a file URL with its special characters encoded, nothing selected in it.
    ASSERT_EQ(fake.shownFolders.size(), 1);
    EXPECT_EQ(fake.shownFolders.at(0), QStringList { u"file:///home/me/Documents/Orvane/Q2%20launch%20&%20more"_s });
    EXPECT_TRUE(fake.shownItems.isEmpty());
    EXPECT_TRUE(fallback.opened.isEmpty());

    service.unregisterService(QString::fromLatin1(FileManagerReveal::kService));
    QDBusConnection::disconnectFromBus(u"fake-file-manager"_s);
    QDBusConnection::disconnectFromBus(u"reveal"_s);
}

TEST(FileManagerRevealTest, WithoutAFileManagerTheFolderGoesToTheFallback)
{
    test::PrivateSessionBus *bus = test::PrivateSessionBus::shared();
    ASSERT_NE(bus, nullptr);
    RecordingOpener fallback;
    const FileManagerReveal reveal(fallback.opener(), QDBusConnection::connectToBus(bus->address(), u"reveal-alone"_s));
    const auto outcome = test::awaitTask(reveal.showFolderAndWait(u"/tmp/Orvane"_s));
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(*outcome.value, FileManagerReveal::Outcome::fallback);
    EXPECT_EQ(fallback.opened, QList<QUrl> { QUrl::fromLocalFile(u"/tmp/Orvane"_s) });
    QDBusConnection::disconnectFromBus(u"reveal-alone"_s);
}

TEST(FileManagerRevealTest, WithoutABusOrAWillingFallbackNothingIsShown)
{
    RecordingOpener fallback;
    fallback.accepts = false;
    const FileManagerReveal reveal(fallback.opener(), QDBusConnection(u"never-connected"_s));
    const auto outcome = test::awaitTask(reveal.showFolderAndWait(u"/tmp/Orvane"_s));
    ASSERT_TRUE(outcome.finished);
    EXPECT_EQ(*outcome.value, FileManagerReveal::Outcome::failed);
    EXPECT_EQ(fallback.opened.size(), 1);

    const FileManagerReveal noFallback({}, QDBusConnection(u"never-connected"_s));
    EXPECT_EQ(*test::awaitTask(noFallback.showFolderAndWait(u"/tmp"_s)).value, FileManagerReveal::Outcome::failed);
}

} // namespace
} // namespace orvane::platform

#include "FileManagerRevealTest.moc"
