#include "kit/auth/AccountStore.h"

#include "testsupport/desktop/PrivateSessionBus.h"
#include "testsupport/desktop/TemporaryHome.h"
#include "testsupport/service/AwaitTask.h"

#include <QHash>

#include <gtest/gtest.h>

#include <memory>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T run(QCoro::Task<T> task)
{
    auto outcome = awaitTask(std::move(task));
    if (!outcome.finished)
        throw std::runtime_error("account store call did not finish");
    if (outcome.error)
        std::rethrow_exception(outcome.error);
    if constexpr (!std::is_void_v<T>)
        return std::move(*outcome.value);
}

SignedInAccount account(const QString &key = u"orv_live_0123456789abcdef"_s)
{
    return { *APIKey::fromText(key), u"ada@example.com"_s, u"Ada"_s, u"Growth Team"_s, true };
}

// --- the same behaviour from both stores ---------------------------------------------------------------

struct MemoryStoreFactory {
    static std::unique_ptr<AccountStore> make() { return std::make_unique<MemoryAccountStore>(); }
};

// On a real Secret Service (gnome-keyring on a private bus).
struct KeychainStoreFactory {
    static std::unique_ptr<AccountStore> make()
    {
        if (!TestKeyring::shared())
            return nullptr;
        auto store = std::make_unique<KeychainAccountStore>(OrvaneEnvironment::staging);
        run(store->clear());
        return store;
    }
};

template <typename Factory> class AccountStoreContract : public testing::Test {
protected:
    void SetUp() override
    {
        store = Factory::make();
        ASSERT_TRUE(store);
    }
    TemporaryHome home;
    std::unique_ptr<AccountStore> store;
};

using Factories = testing::Types<MemoryStoreFactory, KeychainStoreFactory>;
TYPED_TEST_SUITE(AccountStoreContract, Factories);

TYPED_TEST(AccountStoreContract, SavesLoadsReplacesAndClears)
{
    // An empty store loads nothing and clears without failing.
    EXPECT_EQ(run(this->store->load()), std::nullopt);
    EXPECT_NO_THROW(run(this->store->clear()));

    run(this->store->save(account()));
    EXPECT_EQ(run(this->store->load()), account());

    SignedInAccount other = account(u"sk_orvane_second_key"_s);
    other.name.reset();
    other.readOnly = false;
    run(this->store->save(other));
    EXPECT_EQ(run(this->store->load()), other);

    run(this->store->clear());
    EXPECT_EQ(run(this->store->load()), std::nullopt);
}

// --- the keychain item ---------------------------------------------------------------------------------

// Reads and writes items of the real keyring directly.
class KeychainAccountStoreTest : public testing::Test {
protected:
    void SetUp() override
    {
        keyring = TestKeyring::shared();
        ASSERT_TRUE(keyring);
        for (const QString &service : { KeychainAccountStore::currentService(), legacy(), u"com.orvane.other"_s })
            run(raw.remove(service, accountName));
    }
    static QString legacy() { return KeychainAccountStore::legacyServices().constFirst(); }

    TemporaryHome home;
    TestKeyring *keyring = nullptr;
    platform::SystemKeyring raw;
    const QString accountName = u"session.production"_s;
};

TEST_F(KeychainAccountStoreTest, ItemIsNamedForTheEnvironmentAndHoldsTheAccountJson)
{
    KeychainAccountStore store(OrvaneEnvironment::production);
    EXPECT_EQ(store.service(), u"com.orvane"_s);
    EXPECT_EQ(store.account(), accountName);

    SignedInAccount plain = account();
    plain.name.reset();
    plain.workspaceName.reset();
    run(store.save(plain));
    run(store.save(plain));
    EXPECT_EQ(keyring->itemCount(u"com.orvane"_s, accountName), 1);
    EXPECT_EQ(run(raw.read(u"com.orvane"_s, accountName)),
        QByteArray(R"({"apiKey":"orv_live_0123456789abcdef","email":"ada@example.com","readOnly":true})"));
}

TEST_F(KeychainAccountStoreTest, LegacyItemMovesToTheCurrentService)
{
    run(raw.write(legacy(), accountName, encodeJson(account())));
    KeychainAccountStore store(OrvaneEnvironment::production);
    EXPECT_EQ(run(store.load()), account());
    EXPECT_EQ(run(raw.read(legacy(), accountName)), std::nullopt);
    EXPECT_EQ(run(raw.read(u"com.orvane"_s, accountName)), encodeJson(account()));
    EXPECT_EQ(run(store.load()), account());
}

TEST_F(KeychainAccountStoreTest, UndecodableItemFailsToLoadAndStays)
{
    const QByteArray bad = R"({"apiKey":"not-a-key","email":"e","readOnly":false})";
    run(raw.write(u"com.orvane"_s, accountName, bad));
    KeychainAccountStore store(OrvaneEnvironment::production);
    EXPECT_THROW(run(store.load()), DecodingError);
    EXPECT_EQ(run(raw.read(u"com.orvane"_s, accountName)), bad);

    run(raw.write(u"com.orvane"_s, accountName, R"({"apiKey":"orv_x","email":"e"})"));
    EXPECT_THROW(run(store.load()), DecodingError);
}

// A keyring of our own whose operations can be made to fail.
class FakeKeyring final : public platform::SecretStore {
public:
    QCoro::Task<std::optional<QByteArray>> read(QString service, QString account) override
    {
        reads.append(service);
        co_return items.contains({ service, account }) ? std::optional(items.value({ service, account }))
                                                       : std::nullopt;
    }
    QCoro::Task<> write(QString service, QString account, QByteArray secret) override
    {
        if (failWrites)
            throw platform::KeyringError(platform::KeyringError::Kind::noKeyring);
        items.insert({ service, account }, secret);
        co_return;
    }
    QCoro::Task<> remove(QString service, QString account) override
    {
        if (failRemoves)
            throw platform::KeyringError(platform::KeyringError::Kind::accessDenied);
        items.remove({ service, account });
        co_return;
    }

    QHash<std::pair<QString, QString>, QByteArray> items;
    QStringList reads;
    bool failWrites = false;
    bool failRemoves = false;
};

// A failed copy reports and keeps the legacy item; a legacy item that cannot be deleted still loads.
TEST(KeychainAccountStoreMigration, FailuresNeverLoseTheLegacyItem)
{
    auto keyring = std::make_shared<FakeKeyring>();
    const QString legacy = KeychainAccountStore::legacyServices().constFirst();
    keyring->items.insert({ legacy, u"session.staging"_s }, encodeJson(account()));
    KeychainAccountStore store(OrvaneEnvironment::staging, keyring);
    keyring->failWrites = true;
    EXPECT_THROW(run(store.load()), KeychainError);
    EXPECT_TRUE(keyring->items.contains({ legacy, u"session.staging"_s }));

    keyring->failWrites = false;
    keyring->failRemoves = true;
    EXPECT_EQ(run(store.load()), account());
    EXPECT_TRUE(keyring->items.contains({ u"com.orvane"_s, u"session.staging"_s }));
}

TEST(KeychainAccountStoreMigration, StoreOnTheLegacyServiceReadsItOnce)
{
    auto keyring = std::make_shared<FakeKeyring>();
    const QString legacy = KeychainAccountStore::legacyServices().constFirst();
    KeychainAccountStore store(legacy, u"session.staging"_s, keyring);
    EXPECT_EQ(run(store.load()), std::nullopt);
    EXPECT_EQ(keyring->reads, QStringList { legacy });
}

TEST(KeychainErrorTest, Descriptions)
{
    EXPECT_EQ(KeychainError(-25300).description(), u"Keyring error -25300."_s);
    const auto noKeyring = KeychainError::from(platform::KeyringError(platform::KeyringError::Kind::noKeyring));
    EXPECT_EQ(noKeyring.description(), u"Keyring error -25291."_s);
    EXPECT_EQ(noKeyring.reason(), u"No keyring is available in this desktop session."_s);
    const auto denied = KeychainError::from(platform::KeyringError(platform::KeyringError::Kind::accessDenied));
    EXPECT_EQ(denied.description(), u"Keyring error -25293."_s);
    EXPECT_EQ(KeychainError(0).description(), u"Keyring error 0."_s);
    EXPECT_EQ(KeychainError(2147483647).description(), u"Keyring error 2147483647."_s);
}

// --- the record ----------------------------------------------------------------------------------------

TEST(SignedInAccountTest, CodesInFieldOrderAndOmitsAbsentNames)
{
    EXPECT_EQ(encodeJson(account()),
        QByteArray(R"({"apiKey":"orv_live_0123456789abcdef","email":"ada@example.com","name":"Ada",)"
                   R"("workspaceName":"Growth Team","readOnly":true})"));
    const auto decoded = decodeJson<SignedInAccount>(R"({"apiKey":" orv_k ","email":"e","readOnly":false})");
    EXPECT_EQ(decoded.apiKey.value(), u"orv_k"_s);
    EXPECT_EQ(encodeJson(decoded), QByteArray(R"({"apiKey":"orv_k","email":"e","readOnly":false})"));
}

TEST(SignedInAccountTest, RequiresReadOnlyAndAnAcceptedKey)
{
    EXPECT_THROW((void)decodeJson<SignedInAccount>(R"({"apiKey":"orv_k","email":"e"})"), DecodingError);
    try {
        (void)decodeJson<SignedInAccount>(R"({"apiKey":"key","email":"e","readOnly":false})");
        ADD_FAILURE() << "accepted a key without prefix";
    } catch (const DecodingError &error) {
        EXPECT_EQ(error.path(), u"apiKey"_s);
    }
}

} // namespace
