#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

#include <functional>
#include <memory>

class QNetworkAccessManager;

namespace orvane {

class OrvaneMainWindow;
class SessionStore;

namespace voice {
class VoiceInputProvider;
}

// The application object: it owns the process's one session store, made on first use and kept
// until the process ends, and opens the application's window, whose content is the root view with
// a voice input provider of its own and whose menu bar holds the "Campaign" menu. In every window,
// Shift+F10 opens the focused control's context menu.
class OrvaneApp final : public QObject {
    Q_OBJECT

public:
    // The desktop's name for the application: its desktop entry, metainfo and icon are named after it.
    static constexpr QStringView desktopFileName = u"com.orvane.Orvane";

    // What the application is built from; production values unless a test swaps them.
    struct Services {
        // Makes the session store (called once, on first use). The network access manager is the
        // application's shared one.
        std::function<SessionStore *(QNetworkAccessManager *network, QObject *parent)> makeSession;
        // Makes the voice input provider of a new window.
        std::function<std::shared_ptr<voice::VoiceInputProvider>()> makeVoice;
    };
    // The production environment, the keychain account store of that environment, a 2-second poll,
    // the standard user defaults and the desktop's URL opener; on-device voice input.
    [[nodiscard]] static Services standardServices();

    // `arguments` are the process's launch arguments, program path included.
    explicit OrvaneApp(QStringList arguments, Services services = standardServices(), QObject *parent = nullptr);
    // Closes the windows before the session store goes.
    ~OrvaneApp() override;

    // The one session store of the process, made on the first call.
    [[nodiscard]] SessionStore &session();
    [[nodiscard]] bool hasSession() const { return m_session != nullptr; }
    [[nodiscard]] QNetworkAccessManager *network() const { return m_network; }

    // Opens a new application window (not yet shown) at the default size. The window is deleted
    // when it is closed.
    OrvaneMainWindow *openWindow();
    [[nodiscard]] QList<OrvaneMainWindow *> windows() const;

    // Brings the first window forward (a later launch handed over to this process).
    void activate();

private:
    QStringList m_arguments;
    Services m_services;
    QNetworkAccessManager *m_network;
    SessionStore *m_session = nullptr;
    QList<QPointer<OrvaneMainWindow>> m_windows;
};

// The process entry: the Qt application, the one-process-per-user check, the application object
// and its window, then the event loop. `shown`, when given, is called once the window is shown (a
// program that drives the running application: a test of what ends it). Returns the process's
// exit status.
int runOrvane(int argc, char **argv, const std::function<void(OrvaneMainWindow &window)> &shown = {});

} // namespace orvane
