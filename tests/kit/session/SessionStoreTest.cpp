#include "kit/session/SessionStore.h"

#include "testsupport/desktop/TemporaryHome.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <QCoro/QCoroTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

using namespace orvane;
using namespace orvane::test;
using namespace std::chrono_literals;
using namespace Qt::StringLiterals;
using Kind = SessionStore::State::Kind;

namespace {

SignedInAccount storedAccount()
{
    return { *APIKey::fromText(u"orv_stored_key_0001"_s), u"old@example.com"_s, std::nullopt, std::nullopt, false };
}

// An in-memory store whose operations can fail, or wait to be released.
class ScriptedStore final : public AccountStore {
public:
    QCoro::Task<std::optional<SignedInAccount>> load() override { return loadTask(this); }
    QCoro::Task<> save(SignedInAccount value) override { return saveTask(this, std::move(value)); }
    QCoro::Task<> clear() override { return clearTask(this); }

    std::optional<SignedInAccount> account;
    bool failSave = false;
    bool failClear = false;
    bool failLoad = false;
    // While active, a save waits for the timer before it stores.
    QTimer holdSave;
    int saves = 0;

private:
    static QCoro::Task<std::optional<SignedInAccount>> loadTask(ScriptedStore *self)
    {
        if (self->failLoad)
            throw KeychainError(-1);
        // A copy: QCoro 0.8 moves from a non-const lvalue given to co_return.
        std::optional<SignedInAccount> copy = self->account;
        co_return copy;
    }
    static QCoro::Task<> saveTask(ScriptedStore *self, SignedInAccount account)
    {
        ++self->saves;
        if (self->holdSave.isActive())
            co_await self->holdSave;
        if (self->failSave)
            throw KeychainError(-25291, u"No keyring is available in this desktop session."_s);
        self->account = std::move(account);
    }
    static QCoro::Task<> clearTask(ScriptedStore *self)
    {
        if (self->failClear)
            throw KeychainError(-25293);
        self->account.reset();
        co_return;
    }
};

class SessionStoreTest : public testing::Test {
protected:
    // Every case ends with no login task left running, whatever it cancelled or destroyed.
    void TearDown() override
    {
        EXPECT_TRUE(QTest::qWaitFor([this] { return loginsEnded(); })) << "login task(s) still running";
    }

    std::unique_ptr<SessionStore> makeSession(const std::shared_ptr<AccountStore> &accounts = nullptr)
    {
        auto session = std::make_unique<SessionStore>(OrvaneEnvironment::production, accounts ? accounts : store,
            &network, 10ms, platform::UserDefaults::standard());
        session->setDeviceName(u"test-device"_s);
        session->setURLOpener([this](const QUrl &url) {
            opened.append(url);
            return true;
        });
        EXPECT_TRUE(QTest::qWaitFor([&] { return !session->isRestoring(); }));
        logins.push_back(session->loginTasks());
        return session;
    }

    // Whether the login tasks of every store made here have ended, destroyed stores included.
    bool loginsEnded() const
    {
        return std::ranges::all_of(logins, [](const InFlightTasks::Watch &watch) { return watch.idle(); });
    }

    bool tombstone() const
    {
        return platform::UserDefaults::standard()
            .boolValue(SessionStore::signedOutTombstoneKey(OrvaneEnvironment::production))
            .value_or(false);
    }

    static bool waitFor(const SessionStore &session, Kind kind)
    {
        return QTest::qWaitFor([&] { return session.state().kind() == kind; });
    }

    // Declaration order matters: the service must exist before its address is exported.
    TemporaryHome home;
    StandInService service;
    ScopedEnvironmentVariable baseURL { "ORVANE_API_BASE_URL", service.baseURL().toString().toUtf8() };
    QNetworkAccessManager network;
    std::shared_ptr<ScriptedStore> store = std::make_shared<ScriptedStore>();
    QList<QUrl> opened;
    std::vector<InFlightTasks::Watch> logins;
};

// --- signing in ----------------------------------------------------------------------------------------

TEST_F(SessionStoreTest, SignsInThroughTheBrowserAndRestoresAfterRestart)
{
    auto session = makeSession();
    EXPECT_EQ(session->state(), SessionStore::State::signedOut());
    EXPECT_FALSE(session->client().apiKey());

    QList<SessionStore::State> states;
    QObject::connect(
        session.get(), &SessionStore::stateChanged, session.get(), [&] { states.append(session->state()); });
    QSignalSpy accountSpy(session.get(), &SessionStore::accountChanged);
    service.setDevicePollStatuses({ u"pending"_s, u"pending"_s, u"completed"_s });
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signedIn));

    ASSERT_EQ(states.size(), 2);
    EXPECT_EQ(states[0].userCode(), StandInService::userCode());
    EXPECT_EQ(states[0].verificationURL().host(), u"127.0.0.1"_s);
    EXPECT_EQ(session->account()->email, u"ada@example.com"_s);
    EXPECT_EQ(session->account()->workspaceName, u"Growth Team"_s);
    EXPECT_EQ(accountSpy.count(), 1);
    EXPECT_EQ(store->account, session->account());
    EXPECT_EQ(session->client().apiKey(), u"orv_live_0123456789abcdef"_s);
    EXPECT_EQ(session->client().baseURL(), service.baseURL());
    EXPECT_EQ(service.requests().constFirst().body, QByteArray(R"({"deviceName":"test-device"})"));
    EXPECT_FALSE(session->lastError());
    EXPECT_FALSE(tombstone());

    session.reset();
    auto relaunched = makeSession();
    EXPECT_EQ(relaunched->account(), store->account);
}

// A failed sign-in shows why, keeps nothing and opens nothing: a key that could not be sent as a
// header, an expired code, a service error (its status, never its body), and an address the browser
// must not get, which fails before the code is shown. Each setting stays for the later cases, which
// fail before it matters.
TEST_F(SessionStoreTest, FailedSignInsShowWhyAndKeepNothing)
{
    const std::vector<std::pair<std::function<void()>, QString>> cases {
        { [&] { service.setIssuedAPIKey(u"orv_live_0123\r\nX-Injected: 1"_s); },
            u"Orvane returned an unexpected response."_s },
        { [&] {
             service.setDevicePollStatuses({ u"pending"_s, u"expired"_s });
         },
            u"The sign-in code expired. Start again."_s },
        { [&] {
             service.setResponse("GET", u"/api/cli/device/poll"_s, CannedResponse::text(500, "orv_leaked_in_body"));
         },
            u"Orvane returned an error (500)."_s },
        { [&] { service.setDeviceVerificationURL(u"file:///etc/passwd"_s); },
            u"Orvane returned an unexpected response."_s },
    };
    for (const auto &[setUp, error] : cases) {
        setUp();
        auto session = makeSession();
        QSignalSpy stateSpy(session.get(), &SessionStore::stateChanged);
        session->signIn();
        ASSERT_TRUE(QTest::qWaitFor([&] { return session->lastError().has_value(); }));
        EXPECT_EQ(session->lastError(), error);
        EXPECT_EQ(session->state().kind(), Kind::signedOut);
        EXPECT_FALSE(store->account);
        EXPECT_FALSE(session->openVerificationURL());
        if (&error == &cases.back().second) {
            EXPECT_EQ(stateSpy.count(), 0);
        }
    }
    EXPECT_TRUE(opened.isEmpty());

    // Starting again clears the error.
    auto session = makeSession();
    session->signIn();
    EXPECT_FALSE(session->lastError());
    session->cancelSignIn();
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

// --- cancelling and superseding ------------------------------------------------------------------------

TEST_F(SessionStoreTest, CancelBeforeTheStartAnswerChangesNothingLater)
{
    auto session = makeSession();
    service.setResponse("POST", u"/api/cli/device/start"_s,
        CannedResponse::json(200, R"({"deviceCode":"d","userCode":"U","verificationUrl":"https://a.io/",
                                                     "expiresIn":60})")
            .delayedBy(200ms));
    QSignalSpy stateSpy(session.get(), &SessionStore::stateChanged);
    session->signIn();
    ASSERT_TRUE(service.waitForRequests(1));
    session->cancelSignIn();
    // Once the login has ended, nothing can change the state any more.
    ASSERT_TRUE(QTest::qWaitFor([this] { return loginsEnded(); }));
    EXPECT_EQ(stateSpy.count(), 0);
    EXPECT_FALSE(session->lastError());
    EXPECT_FALSE(session->orphanedKeyNotice());
}

// Only the verification address of the sign-in in progress is ever opened.
TEST_F(SessionStoreTest, CancelWhileWaitingForApprovalShowsNothingAndOpensNothingMore)
{
    auto session = makeSession();
    EXPECT_FALSE(session->openVerificationURL());
    service.setDevicePollStatuses({ u"pending"_s });
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signingIn));
    EXPECT_TRUE(session->openVerificationURL());
    EXPECT_EQ(opened, QList<QUrl> { session->state().verificationURL() });
    session->cancelSignIn();
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_FALSE(session->lastError());
    EXPECT_FALSE(session->orphanedKeyNotice());
    EXPECT_FALSE(session->openVerificationURL());
    EXPECT_EQ(opened.size(), 1);
    // The cancelled login ends instead of polling on. A poll cancelled before its request went out
    // can leave an idle connection in the manager's pool; that one is no transfer.
    EXPECT_TRUE(QTest::qWaitFor([&] { return session->loginTasks().idle(); }));
    network.clearConnectionCache();
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

TEST_F(SessionStoreTest, SecondSignInReplacesTheFirstSilently)
{
    auto session = makeSession();
    service.setDevicePollStatuses({ u"pending"_s, u"pending"_s, u"pending"_s, u"completed"_s });
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signingIn));
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signedIn));
    EXPECT_FALSE(session->orphanedKeyNotice());
    EXPECT_FALSE(session->lastError());
}

// The keyring answers asynchronously: a cancel that arrives while the approved account is being
// saved must not leave it stored for the next launch.
TEST_F(SessionStoreTest, CancelWhileSavingKeepsNothingAndNamesTheOrphanedKey)
{
    auto session = makeSession();
    store->holdSave.setSingleShot(true);
    store->holdSave.start(1h);
    session->signIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return store->saves == 1; }));
    session->cancelSignIn();
    store->holdSave.start(0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->orphanedKeyNotice().has_value(); }));
    EXPECT_EQ(session->orphanedKeyNotice(), SessionStore::orphanedKeyMessage());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !store->account; }));
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    // Signing out leaves that notice; only dismissing it clears it.
    session->signOut();
    EXPECT_EQ(session->orphanedKeyNotice(), SessionStore::orphanedKeyMessage());
    session->dismissOrphanedKeyNotice();
    EXPECT_FALSE(session->orphanedKeyNotice());
}

TEST_F(SessionStoreTest, CancelOrAFailedSignInWhileSignedInKeepsTheStoredAccount)
{
    store->account = storedAccount();
    auto session = makeSession();
    ASSERT_EQ(session->account(), storedAccount());
    QSignalSpy stateSpy(session.get(), &SessionStore::stateChanged);
    session->cancelSignIn();
    EXPECT_EQ(stateSpy.count(), 0);
    EXPECT_FALSE(session->lastError() || session->orphanedKeyNotice());

    service.setResponse("POST", u"/api/cli/device/start"_s, CannedResponse::text(503, "busy").delayedBy(50ms));
    session->signIn();
    EXPECT_EQ(session->state().kind(), Kind::signedIn);
    ASSERT_TRUE(waitFor(*session, Kind::signedOut));
    EXPECT_EQ(store->account, storedAccount());
    session.reset();
    EXPECT_EQ(makeSession()->account(), storedAccount());
}

// --- saving and signing out ----------------------------------------------------------------------------

TEST_F(SessionStoreTest, SaveFailureLeavesTheKeyNotSavedNotice)
{
    store->failSave = true;
    auto session = makeSession();
    session->signIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->orphanedKeyNotice().has_value(); }));
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_FALSE(session->lastError());
    EXPECT_EQ(session->orphanedKeyNotice(),
        u"The web approved sign-in, but the key could not be saved on this device (Keyring error -25291.). Revoke "
        u"it under Settings → API keys on the web."_s);
}

TEST_F(SessionStoreTest, FailedSignOutIsRetriedAtTheNextLaunch)
{
    store->account = storedAccount();
    store->failClear = true;
    auto session = makeSession();
    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->orphanedKeyNotice().has_value(); }));
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_EQ(session->orphanedKeyNotice(), SessionStore::keyLeftOnDeviceMessage(u"Keyring error -25293."_s));
    EXPECT_TRUE(tombstone());
    // A sign-out that succeeds clears the notice and the flag; the next failing one sets them again.
    store->failClear = false;
    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->orphanedKeyNotice(); }));
    EXPECT_FALSE(tombstone());
    store->failClear = true;
    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tombstone(); }));
    session.reset();

    // Clearing fails again: signed out, the notice again, the flag stays.
    session = makeSession();
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_TRUE(session->orphanedKeyNotice());
    EXPECT_TRUE(tombstone());
    session.reset();

    store->failClear = false;
    session = makeSession();
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_FALSE(session->orphanedKeyNotice());
    EXPECT_FALSE(tombstone());
    EXPECT_FALSE(store->account);
}

// A sign-in after a failed sign-out is the user's newest word: the next launch keeps its account.
TEST_F(SessionStoreTest, SignInAfterAFailedSignOutIsKeptAtTheNextLaunch)
{
    store->account = storedAccount();
    store->failClear = true;
    auto session = makeSession();
    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tombstone(); }));

    service.setDevicePollStatuses({ u"completed"_s });
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signedIn));
    const auto account = session->account();
    EXPECT_FALSE(tombstone());
    session.reset();

    session = makeSession();
    EXPECT_EQ(session->state().kind(), Kind::signedIn);
    EXPECT_EQ(session->account(), account);
}

TEST_F(SessionStoreTest, UnauthorizedSignsOutAndSaysTheSessionExpired)
{
    store->account = storedAccount();
    auto session = makeSession();
    session->handleUnauthorized();
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_EQ(session->lastError(), u"Your session has expired. Sign in again."_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !store->account; }));
    EXPECT_EQ(session->lastError(), u"Your session has expired. Sign in again."_s);
}

// An unreadable account starts signed out silently; what changes nothing then notifies nothing.
TEST_F(SessionStoreTest, UnreadableAccountStartsSignedOutSilentlyAndNoOpsNotifyNothing)
{
    store->account = storedAccount();
    store->failLoad = true;
    auto session = makeSession();
    EXPECT_EQ(session->state().kind(), Kind::signedOut);
    EXPECT_FALSE(session->lastError());
    EXPECT_FALSE(session->orphanedKeyNotice());

    QSignalSpy stateSpy(session.get(), &SessionStore::stateChanged);
    QSignalSpy errorSpy(session.get(), &SessionStore::lastErrorChanged);
    session->signOut();
    session->cancelSignIn();
    session->dismissOrphanedKeyNotice();
    EXPECT_EQ(stateSpy.count(), 0);
    EXPECT_EQ(errorSpy.count(), 0);
}

// --- teardown in the middle of a flow ------------------------------------------------------------------

TEST_F(SessionStoreTest, DestroyingTheStoreDuringThePollPauseEndsTheFlow)
{
    auto session = std::make_unique<SessionStore>(
        OrvaneEnvironment::production, store, &network, 1h, platform::UserDefaults::standard());
    logins.push_back(session->loginTasks());
    service.setDevicePollStatuses({ u"pending"_s });
    session->signIn();
    ASSERT_TRUE(waitFor(*session, Kind::signingIn));
    ASSERT_TRUE(service.waitForRequests(2));
    session.reset();
    EXPECT_TRUE(QTest::qWaitFor([this] { return loginsEnded(); }));
    EXPECT_EQ(service.requestCount(), 2);
}

TEST_F(SessionStoreTest, DestroyingTheStoreDuringAStalledRequestAbortsIt)
{
    auto session = makeSession();
    CannedResponse stalled
        = CannedResponse::json(200, R"({"deviceCode":"d"})").endingWith(CannedResponse::Ending::stall);
    stalled.sentBodyBytes = 3;
    service.setResponse("POST", u"/api/cli/device/start"_s, stalled);
    session->signIn();
    ASSERT_TRUE(service.waitForRequests(1));
    session.reset();
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

} // namespace
