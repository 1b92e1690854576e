// The yardstick for first-frame figures: a bare main window of the application's size that prints
// "painted <resident pages>" once its first frame is painted, then exits.
#include <QApplication>
#include <QFile>
#include <QMainWindow>

#include <cstdio>

namespace {
class BareWindow final : public QMainWindow {
protected:
    void paintEvent(QPaintEvent *event) override
    {
        QMainWindow::paintEvent(event);
        QFile statm(QStringLiteral("/proc/self/statm"));
        const QByteArray pages = statm.open(QIODevice::ReadOnly) ? statm.readAll().split(' ').value(1) : "0";
        std::printf("painted %s\n", pages.constData());
        std::fflush(stdout);
        QApplication::exit(0);
    }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    BareWindow window;
    window.setWindowTitle(QStringLiteral("Orvane"));
    window.resize(1440, 900);
    window.show();
    return QApplication::exec();
}
