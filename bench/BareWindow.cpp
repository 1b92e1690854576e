// The baseline of the start-up benchmark: an empty main window of the application's size, started,
// shown and reported the same way. With "--text" it shows one paragraph of text: the least any
// window that draws text pays (the font configuration, a system face, shaping).
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QTimer>
#include <QWindow>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(1440, 900);
    if (QApplication::arguments().contains(QStringLiteral("--text")))
        window.setCentralWidget(new QLabel(QStringLiteral("Plan, build, review and launch campaigns.")));
    window.winId();
    QWindow *handle = window.windowHandle();
    struct Reporter : QObject {
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed()) {
                watched->removeEventFilter(this);
                QTimer::singleShot(0, [] {
                    std::fputs("first-frame\n", stdout);
                    std::fflush(stdout);
                });
            }
            return false;
        }
    } reporter;
    handle->installEventFilter(&reporter);
    window.show();
    return QApplication::exec();
}
