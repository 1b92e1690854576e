#include "AppTestSupport.h"

#include "kit/auth/AccountStore.h"
#include "platform/UserDefaults.h"
#include "voice/VoiceInputProvider.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace orvane::test {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

AppHarness::AppHarness()
    : m_baseURL("ORVANE_API_BASE_URL", m_service.baseURL().toString().toUtf8()),
      m_expected({ u"propagateSizeHints"_s, u"does not support raise()"_s })
{
}

AppHarness::~AppHarness()
{
    std::optional<InFlightTasks::Watch> logins;
    if (m_app && m_app->hasSession()) {
        m_app->session().cancelSignIn();
        logins = m_app->session().loginTasks();
    }
    m_app.reset();
    // Screens left with deleteLater go before the home does, and the transfers they cancelled end.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !logins || logins->idle(); }));
    EXPECT_TRUE(m_service.waitForNoOpenConnections());
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

SignedInAccount AppHarness::account(const QString &email)
{
    return { *APIKey::fromText(u"orv_test_key_0001"_s), email, std::nullopt, u"Growth Team"_s, false };
}

OrvaneMainWindow *AppHarness::start(QStringList arguments, std::optional<SignedInAccount> storedAccount)
{
    return start(std::move(arguments), std::make_shared<MemoryAccountStore>(std::move(storedAccount)));
}

OrvaneMainWindow *AppHarness::start(QStringList arguments, std::shared_ptr<AccountStore> store)
{
    arguments.prepend(u"/usr/bin/orvane"_s);
    OrvaneApp::Services services {
        .makeSession =
            [opened = m_opened, browser = m_browserAvailable, store](QNetworkAccessManager *network, QObject *parent) {
                auto *session = new SessionStore(
                    OrvaneEnvironment::production, store, network, 20ms, platform::UserDefaults::standard(), parent);
                session->setDeviceName(u"Test Device"_s);
                session->setURLOpener([opened, browser](const QUrl &url) {
                    if (!*browser)
                        return false;
                    opened->append(url);
                    return true;
                });
                return session;
            },
        .makeVoice = [] { return std::make_shared<voice::UnavailableVoiceProvider>(); },
    };
    m_app = std::make_unique<OrvaneApp>(arguments, std::move(services));
    m_window = m_app->openWindow();
    m_window->show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(m_window));
    EXPECT_TRUE(QTest::qWaitForWindowActive(m_window));
    return m_window;
}

void pressKeys(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QWidget *target = QApplication::focusWidget();
    if (!target || target->window() != window)
        target = window;
    QTest::keyClick(target, key, modifiers);
}

} // namespace orvane::test
