#pragma once

#include "ide/operations/OperationsTestSupport.h"
#include "kit/auth/AccountStore.h"
#include "kit/session/SessionStore.h"
#include "testsupport/service/StandInService.h"

#include <QNetworkAccessManager>

#include <chrono>
#include <memory>
#include <optional>

namespace orvane::synctest {

using test::readAll;
using test::utf8;

// The started model beside the stand-in service, which the environment's base URL points at for the
// test's lifetime, and sessions signed in or out with an in-memory account.
class ServiceWorkspaceTest : public test::OperationsTest {
protected:
    void TearDown() override
    {
        OperationsTest::TearDown();
        session.reset();
    }

    static SignedInAccount account(std::optional<QString> workspaceName = std::nullopt)
    {
        return SignedInAccount {
            .apiKey = *APIKey::fromText(QStringLiteral("orv_test_0123456789")),
            .email = QStringLiteral("ops@example.com"),
            .name = QStringLiteral("Ops"),
            .workspaceName = std::move(workspaceName),
            .readOnly = false,
        };
    }

    // A session whose stored account (if any) has been restored.
    std::unique_ptr<SessionStore> makeSession(
        std::optional<SignedInAccount> signedIn, OrvaneEnvironment environment = OrvaneEnvironment::production)
    {
        auto made = std::make_unique<SessionStore>(environment, std::make_shared<MemoryAccountStore>(signedIn),
            &network, std::chrono::seconds(2), platform::UserDefaults::standard());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !made->isRestoring(); }, 5000));
        EXPECT_EQ(made->account().has_value(), signedIn.has_value());
        return made;
    }

    test::StandInService service;
    test::ScopedEnvironmentVariable baseURL { "ORVANE_API_BASE_URL", service.baseURL().toString().toUtf8() };
    QNetworkAccessManager network;
    std::unique_ptr<SessionStore> session;
};

} // namespace orvane::synctest
