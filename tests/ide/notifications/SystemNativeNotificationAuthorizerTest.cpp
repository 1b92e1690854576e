#include "ide/notifications/SystemNativeNotificationAuthorizer.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "testsupport/desktop/PrivateSessionBus.h"
#include "testsupport/service/AwaitTask.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusError>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QVariantMap>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace orvane::test {
namespace {

// A notification server of the test's own, on a connection of its own to the private bus.
class FakeNotificationServer final : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Received {
        QString application, summary, body;
        QVariantMap hints;
        int timeout = 0;
    };

    explicit FakeNotificationServer(const QString &address)
        : m_connection(QDBusConnection::connectToBus(address, u"fake-notification-server"_s))
    {
        m_connection.registerObject(u"/org/freedesktop/Notifications"_s, this, QDBusConnection::ExportAllSlots);
        registered = m_connection.registerService(u"org.freedesktop.Notifications"_s);
    }
    ~FakeNotificationServer() override
    {
        m_connection.unregisterService(u"org.freedesktop.Notifications"_s);
        QDBusConnection::disconnectFromBus(u"fake-notification-server"_s);
    }

    bool registered = false;
    std::optional<QString> refuseWith;
    QList<Received> received;

public Q_SLOTS:
    uint Notify(const QString &application, uint, const QString &, const QString &summary, const QString &body,
        const QStringList &, const QVariantMap &hints, int timeout)
    {
        received.append({ application, summary, body, hints, timeout });
        if (refuseWith) {
            sendErrorReply(QDBusError::AccessDenied, *refuseWith);
            return 0;
        }
        return uint(received.size());
    }
    QStringList GetCapabilities() { return { u"body"_s, u"sound"_s }; }

private:
    QDBusConnection m_connection;
};

class SystemNativeNotificationAuthorizerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        bus = PrivateSessionBus::shared();
        ASSERT_TRUE(bus);
    }
    PrivateSessionBus *bus = nullptr;
};

CampaignNotification receiptNotification()
{
    return CampaignNotification { QUuid::createUuid(), QUuid::createUuid(), u"Launch"_s,
        CampaignNotificationKind::executionResult, u"Execution receipt confirmed"_s,
        u"orvane-exec-1a2b3c4d · Launch is live."_s, CampaignNotificationDestination::dashboard, std::nullopt,
        u"Just now"_s, false };
}

// No permission prompt exists on the desktop: without a notification service the state is an
// error naming why, and nothing is delivered.
TEST_F(SystemNativeNotificationAuthorizerTest, WithoutAServiceTheStateIsAnError)
{
    SystemNativeNotificationAuthorizer authorizer;
    const auto state = awaitTask(authorizer.authorizationState());
    ASSERT_TRUE(state.value);
    EXPECT_EQ(*state.value, NativeNotificationState::error(u"No desktop notification service is running."_s));
    EXPECT_FALSE(*awaitTask(authorizer.requestAuthorization()).value);
    const auto delivery = awaitTask(authorizer.deliver(u"t"_s, u"b"_s, u"id"_s));
    ASSERT_TRUE(delivery.finished);
    EXPECT_TRUE(delivery.errorAs<NativeNotificationError>());
}

TEST_F(SystemNativeNotificationAuthorizerTest, TheCenterDeliversThroughTheDesktopService)
{
    FakeNotificationServer server(bus->address());
    ASSERT_TRUE(server.registered);
    ASSERT_TRUE(bus->waitForOwner(u"org.freedesktop.Notifications"_s, 5s));

    CampaignNotificationCenter center({}, std::make_shared<SystemNativeNotificationAuthorizer>());
    QSignalSpy deliveryErrorChanged(&center, &CampaignNotificationCenter::deliveryErrorChanged);
    const CampaignNotification n = receiptNotification();
    center.post(n);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server.received.size() == 1; }, 5000));
    EXPECT_EQ(center.nativeState(), NativeNotificationState::authorized());
    const auto &got = server.received.first();
    EXPECT_EQ(got.application, u"Orvane"_s);
    EXPECT_EQ(got.summary, n.title);
    EXPECT_EQ(got.body, n.detail);
    EXPECT_EQ(got.hints.value(u"x-orvane-identifier"_s).toString(), n.id.toString(QUuid::WithoutBraces).toUpper());
    EXPECT_EQ(got.hints.value(u"sound-name"_s).toString(), u"message-new-instant"_s);
    EXPECT_EQ(got.timeout, -1);

    // A refusal of the service lands in deliveryError; the entry stays and the state holds. Replies
    // arrive in order, so the single change also shows the accepted delivery reported nothing.
    server.refuseWith = u"Notifications are turned off."_s;
    center.post(receiptNotification());
    ASSERT_TRUE(QTest::qWaitFor([&] { return center.deliveryError().has_value(); }, 5000));
    EXPECT_EQ(center.deliveryError(), u"Notifications are turned off."_s);
    EXPECT_EQ(deliveryErrorChanged.count(), 1);
    EXPECT_EQ(center.notifications().size(), 2);
    EXPECT_EQ(center.nativeState(), NativeNotificationState::authorized());
}

} // namespace
} // namespace orvane::test

#include "SystemNativeNotificationAuthorizerTest.moc"
