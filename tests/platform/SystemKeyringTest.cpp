#include "platform/Keyring.h"

#include "testsupport/desktop/PrivateSessionBus.h"
#include "testsupport/desktop/TemporaryHome.h"

#include "testsupport/service/AwaitTask.h"

#include <QDir>

#include <gtest/gtest.h>

using orvane::platform::KeyringError;
using orvane::platform::SystemKeyring;
using orvane::test::PrivateSessionBus;
using orvane::test::TestKeyring;

namespace {

// The task's value, or its exception rethrown.
template <typename T> T run(QCoro::Task<T> task)
{
    auto outcome = orvane::test::awaitTask(std::move(task));
    if (!outcome.finished)
        throw std::runtime_error("keyring call did not finish");
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*outcome.value);
}

const QString service = QStringLiteral("com.orvane.tests");

// Runs the keyring calls against a real Secret Service on a private bus.
class SystemKeyringTest : public testing::Test {
protected:
    void SetUp() override
    {
        keyring = TestKeyring::shared();
        ASSERT_NE(keyring, nullptr);
        // Process-wide keyring: start every case from no items, also when run in one process. Removing
        // an absent item succeeds (run() rethrows any failure).
        run(store.remove(service, QStringLiteral("alpha")));
        run(store.remove(service, QStringLiteral("beta")));
    }

    orvane::test::TemporaryHome home;
    TestKeyring *keyring = nullptr;
    SystemKeyring store;
};

TEST_F(SystemKeyringTest, WritesReadsAndRemovesAnItem)
{
    EXPECT_EQ(run(store.read(service, QStringLiteral("alpha"))), std::nullopt);

    run(store.write(service, QStringLiteral("alpha"), QByteArray("{\"k\":1}\n\0bin", 12)));
    EXPECT_EQ(run(store.read(service, QStringLiteral("alpha"))), QByteArray("{\"k\":1}\n\0bin", 12));
    EXPECT_EQ(keyring->itemCount(service, QStringLiteral("alpha")), 1);
    // Rewriting replaces the one item.
    run(store.write(service, QStringLiteral("alpha"), "second"));
    EXPECT_EQ(run(store.read(service, QStringLiteral("alpha"))), QByteArray("second"));
    EXPECT_EQ(keyring->itemCount(service, QStringLiteral("alpha")), 1);

    run(store.remove(service, QStringLiteral("alpha")));
    EXPECT_EQ(run(store.read(service, QStringLiteral("alpha"))), std::nullopt);
    EXPECT_EQ(keyring->itemCount(service, QStringLiteral("alpha")), 0);
}

TEST_F(SystemKeyringTest, ItemsAreKeptApartByServiceAndAccount)
{
    run(store.write(service, QStringLiteral("alpha"), "a"));
    run(store.write(service, QStringLiteral("beta"), "b"));
    EXPECT_EQ(run(store.read(service, QStringLiteral("beta"))), QByteArray("b"));
    EXPECT_EQ(run(store.read(QStringLiteral("com.orvane.other"), QStringLiteral("alpha"))), std::nullopt);

    run(store.remove(service, QStringLiteral("beta")));
    EXPECT_EQ(run(store.read(service, QStringLiteral("alpha"))), QByteArray("a"));
}

KeyringError::Kind failureOf(QCoro::Task<> task)
{
    try {
        run(std::move(task));
    } catch (const KeyringError &error) {
        return error.kind();
    }
    ADD_FAILURE() << "the keyring call succeeded";
    return KeyringError::Kind::failed;
}

// A bus with nothing that provides a Secret Service: saving fails, nothing falls back to a file.
TEST(SystemKeyringWithoutKeyring, FailsWithNoKeyringAndWritesNoFile)
{
    if (TestKeyring::isRunning())
        GTEST_SKIP() << "this process already runs a keyring; run the case on its own";
    orvane::test::TemporaryHome home;
    ASSERT_NE(PrivateSessionBus::shared(), nullptr);
    SystemKeyring store;

    EXPECT_EQ(failureOf(store.write(service, QStringLiteral("alpha"), "secret")), KeyringError::Kind::noKeyring);
    try {
        run(store.read(service, QStringLiteral("alpha")));
        ADD_FAILURE() << "read succeeded without a keyring";
    } catch (const KeyringError &error) {
        EXPECT_EQ(error.kind(), KeyringError::Kind::noKeyring);
        EXPECT_EQ(error.message(), QStringLiteral("No keyring is available in this desktop session."));
    }
    // QtKeychain's plaintext fallback would have written an ini file under the config home.
    EXPECT_TRUE(QDir(home.configHome()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(SystemKeyringWithoutBus, FailsWithNoKeyring)
{
    if (PrivateSessionBus::isRunning())
        GTEST_SKIP() << "this process already uses a session bus; run the case on its own";
    orvane::test::TemporaryHome home;
    orvane::test::ScopedEnvironmentVariable noBus(
        "DBUS_SESSION_BUS_ADDRESS", QByteArray("unix:path=/nonexistent/orvane-bus"));
    orvane::test::ScopedEnvironmentVariable noDisplay("DISPLAY", std::nullopt);
    SystemKeyring store;
    EXPECT_EQ(failureOf(store.write(service, QStringLiteral("alpha"), "secret")), KeyringError::Kind::noKeyring);
    EXPECT_EQ(failureOf(store.remove(service, QStringLiteral("alpha"))), KeyringError::Kind::noKeyring);
}

TEST(KeyringErrorTest, MessagesNameTheConditionOnly)
{
    EXPECT_EQ(KeyringError(KeyringError::Kind::accessDenied).message(),
        QStringLiteral("The keyring is locked or refused access."));
    EXPECT_EQ(KeyringError(KeyringError::Kind::failed).message(),
        QStringLiteral("The keyring could not complete the request."));
    EXPECT_NE(KeyringError(KeyringError::Kind::failed).status(), KeyringError(KeyringError::Kind::noKeyring).status());
}

} // namespace
