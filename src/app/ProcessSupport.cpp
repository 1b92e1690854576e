#include "app/ProcessSupport.h"

#include "platform/AtomicFile.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QImageWriter>
#include <QPixmap>
#include <QPointer>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace orvane {

namespace {

int signalPipe[2] = { -1, -1 };

void onTerminationSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

// Painting a widget window happens while its expose event is delivered: once that event is through,
// the frame is on screen.
class FirstFrameReporter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *window = qobject_cast<QWindow *>(watched);
        if (event->type() == QEvent::Expose && window && window->isExposed()) {
            watched->removeEventFilter(this);
            QTimer::singleShot(0, this, [this] {
                std::fputs("first-frame\n", stdout);
                std::fflush(stdout);
                deleteLater();
            });
        }
        return false;
    }
};

} // namespace

void reportFirstFrame(QWidget *window)
{
    window->winId(); // the native window exists from here on
    window->windowHandle()->installEventFilter(new FirstFrameReporter(window));
}

void quitOnTerminationSignals(QObject *application)
{
    if (signalPipe[0] >= 0)
        return;
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return;
    auto *notifier = new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, application);
    QObject::connect(notifier, &QSocketNotifier::activated, application, [notifier] {
        char byte = 0;
        [[maybe_unused]] const ssize_t read = ::read(signalPipe[0], &byte, 1);
        notifier->setEnabled(false);
        // Not quit(): that asks every window to close, and a window with unsaved work would ask the
        // user, whom a logout or a kill does not wait for. The model's end keeps that work aside.
        QCoreApplication::exit(0);
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : { SIGINT, SIGTERM, SIGHUP })
        ::sigaction(signal, &action, nullptr);
}

void writeScreenshotAfterStart(QWidget *window, const QString &path)
{
    // Settled: shown on screen, then a moment for the first layout passes and paints.
    constexpr int pollMilliseconds = 100;
    constexpr int settleMilliseconds = 1000;
    auto *poll = new QTimer(window);
    poll->setInterval(pollMilliseconds);
    QObject::connect(poll, &QTimer::timeout, window, [window, poll, path] {
        if (!window->isVisible() || !window->windowHandle() || !window->windowHandle()->isExposed())
            return;
        poll->stop();
        poll->deleteLater();
        QTimer::singleShot(settleMilliseconds, window, [window, path] {
            const QPixmap shot = window->grab();
            QByteArray png;
            QBuffer buffer(&png);
            QImageWriter writer(&buffer, "png");
            if (!buffer.open(QIODevice::WriteOnly) || !writer.write(shot.toImage())
                || !platform::writeFileAtomically(path, png))
                std::fprintf(stderr, "orvane: cannot write the screenshot to %s\n", qPrintable(path));
        });
    });
    poll->start();
}

} // namespace orvane
