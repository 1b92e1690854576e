#include "app/OrvaneApp.h"

#include "app/ContextMenuKey.h"
#include "app/DeferredIconStyle.h"
#include "app/OrvaneMainWindow.h"
#include "app/ProcessSupport.h"
#include "app/RootView.h"
#include "app/SingleInstance.h"
#include "kit/auth/AccountStore.h"
#include "kit/session/SessionStore.h"
#include "platform/AtomicFile.h"
#include "platform/UserDefaults.h"
#include "voice/VoiceInputProvider.h"

#include <QApplication>
#include <QDesktopServices>
#include <QNetworkAccessManager>

#include <chrono>
#include <cstdio>

namespace orvane {

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

OrvaneApp::Services OrvaneApp::standardServices()
{
    return Services {
        .makeSession =
            [](QNetworkAccessManager *network, QObject *parent) {
                auto *session = new SessionStore(OrvaneEnvironment::production,
                    std::make_shared<KeychainAccountStore>(OrvaneEnvironment::production), network, 2s,
                    platform::UserDefaults::standard(), parent);
                session->setURLOpener([](const QUrl &url) { return QDesktopServices::openUrl(url); });
                return session;
            },
        .makeVoice = [] { return voice::VoiceProviders::onDevice(); },
    };
}

OrvaneApp::OrvaneApp(QStringList arguments, Services services, QObject *parent)
    : QObject(parent),
      m_arguments(std::move(arguments)),
      m_services(std::move(services)),
      m_network(new QNetworkAccessManager(this))
{
    if (QCoreApplication *application = QCoreApplication::instance())
        application->installEventFilter(new ContextMenuKey(this));
}

OrvaneApp::~OrvaneApp()
{
    // The windows hold the session store; they go first.
    for (const QPointer<OrvaneMainWindow> &window : std::as_const(m_windows))
        delete window.data();
    m_windows.clear();
    delete m_session;
    m_session = nullptr;
}

SessionStore &OrvaneApp::session()
{
    if (!m_session)
        m_session = m_services.makeSession(m_network, this);
    return *m_session;
}

OrvaneMainWindow *OrvaneApp::openWindow()
{
    std::shared_ptr<voice::VoiceInputProvider> voice = m_services.makeVoice ? m_services.makeVoice() : nullptr;
    auto *window = new OrvaneMainWindow(&session(), std::move(voice), RootView::wantsSignInScreen(m_arguments));
    window->setAttribute(Qt::WA_DeleteOnClose);
    m_windows.append(window);
    return window;
}

QList<OrvaneMainWindow *> OrvaneApp::windows() const
{
    QList<OrvaneMainWindow *> open;
    for (const QPointer<OrvaneMainWindow> &window : m_windows) {
        if (window)
            open.append(window.data());
    }
    return open;
}

void OrvaneApp::activate()
{
    const QList<OrvaneMainWindow *> open = windows();
    if (open.isEmpty()) {
        openWindow()->show();
        return;
    }
    open.first()->bringToFront();
}

int runOrvane(int argc, char **argv, const std::function<void(OrvaneMainWindow &window)> &shown)
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(u"Orvane"_s);
    QApplication::setOrganizationName(u"Orvane"_s);
    QApplication::setOrganizationDomain(u"orvane.com"_s);
    QApplication::setApplicationDisplayName(u"Orvane"_s);
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    QGuiApplication::setDesktopFileName(OrvaneApp::desktopFileName.toString());
    QApplication::setStyle(new DeferredIconStyle);

    // One writer per user: a second one would overwrite the first one's stores.
    SingleInstance instance(SingleInstance::standardPlaces());
    bool readOnly = false;
    switch (instance.start()) {
    case SingleInstance::Outcome::primary:
        if (!instance.listenErrorText().isEmpty())
            std::fprintf(stderr, "orvane: %s\n", qPrintable(instance.listenErrorText()));
        break;
    case SingleInstance::Outcome::handedOver:
        return 0;
    case SingleInstance::Outcome::failed:
        std::fprintf(stderr, "orvane: %s\n", qPrintable(instance.errorText()));
        return 1;
    case SingleInstance::Outcome::storageUnavailable:
        // No lock anywhere: another process may be writing. The window opens, writes nothing (not
        // even at start-up) and says so; started from a launcher, nobody reads the terminal.
        std::fprintf(stderr, "orvane: %s; opening read-only\n", qPrintable(instance.errorText()));
        platform::refuseWrites(u"this window is read-only"_s);
        readOnly = true;
        break;
    }

    quitOnTerminationSignals(&application);

    int status = 0;
    {
        OrvaneApp app(QApplication::arguments());
        QObject::connect(&instance, &SingleInstance::activationRequested, &app, &OrvaneApp::activate);
        OrvaneMainWindow *window = app.openWindow();
        if (qEnvironmentVariableIsSet("ORVANE_REPORT_FIRST_FRAME"))
            reportFirstFrame(window);
        window->show();
        if (readOnly)
            window->showReadOnlyNotice(instance.errorText());
        else if (!instance.errorText().isEmpty())
            window->showStorageProblem(instance.errorText());

        const QString screenshot = qEnvironmentVariable("ORVANE_SCREENSHOT");
        if (!screenshot.isEmpty())
            writeScreenshotAfterStart(window, screenshot);
        if (shown)
            shown(*window);

        status = QApplication::exec();
    }
    // The windows and the session are gone, and with them every transfer they started. The ends of
    // those transfers are queued: deliver them, so that the tasks awaiting them finish and free
    // themselves before the process exits.
    QCoreApplication::sendPostedEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::sendPostedEvents();
    return status;
}

} // namespace orvane
