#pragma once

#include "app/OrvaneApp.h"
#include "app/OrvaneMainWindow.h"
#include "kit/auth/AccountStore.h"
#include "kit/auth/SignedInAccount.h"
#include "kit/session/SessionStore.h"
#include "testsupport/QtMessages.h"
#include "testsupport/desktop/TemporaryHome.h"
#include "testsupport/service/StandInService.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <memory>
#include <optional>

class QWidget;

namespace orvane::test {

// The real application on a temporary home, signed in against a stand-in service: an in-memory
// account store (optionally holding an account), a URL opener that records what it was asked to
// open, no voice engine. Build the application with start(); the window is shown and active.
class AppHarness {
public:
    AppHarness();
    ~AppHarness();
    AppHarness(const AppHarness &) = delete;
    AppHarness &operator=(const AppHarness &) = delete;

    // Launch arguments after the program path.
    OrvaneMainWindow *start(QStringList arguments = {}, std::optional<SignedInAccount> storedAccount = std::nullopt);
    // The same with an account store of the test's own.
    OrvaneMainWindow *start(QStringList arguments, std::shared_ptr<AccountStore> store);

    [[nodiscard]] OrvaneApp &app() { return *m_app; }
    [[nodiscard]] OrvaneMainWindow *window() const { return m_window; }
    [[nodiscard]] SessionStore &session() { return m_app->session(); }
    [[nodiscard]] StandInService &service() { return m_service; }
    [[nodiscard]] const QList<QUrl> &openedURLs() const { return *m_opened; }
    // Whether the URL opener finds a browser (it does unless told otherwise); without one it records
    // nothing and reports that it opened nothing.
    void setBrowserAvailable(bool available) { *m_browserAvailable = available; }

    // A control of the window by object name, or null.
    template <typename T = QWidget> [[nodiscard]] T *find(const QString &objectName) const
    {
        return m_window->findChild<T *>(objectName);
    }

    [[nodiscard]] static SignedInAccount account(const QString &email = QStringLiteral("ada@example.com"));

private:
    TemporaryHome m_home;
    StandInService m_service;
    ScopedEnvironmentVariable m_baseURL;
    // Showing a window with a layout on the offscreen platform.
    ExpectQtWarnings m_expected;
    std::shared_ptr<QList<QUrl>> m_opened = std::make_shared<QList<QUrl>>();
    std::shared_ptr<bool> m_browserAvailable = std::make_shared<bool>(true);
    std::unique_ptr<OrvaneApp> m_app;
    OrvaneMainWindow *m_window = nullptr;
};

// Sends a key chord to the focus widget of the active window, as the keyboard would.
void pressKeys(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

} // namespace orvane::test
