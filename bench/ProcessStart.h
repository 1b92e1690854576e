#pragma once

// Starting a program of the start-up benchmarks and waiting for its first painted frame: it is
// started on a home of its own with ORVANE_REPORT_FIRST_FRAME set and prints "first-frame" then.

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QThread>

#include <csignal>

namespace orvane::bench {

using namespace Qt::StringLiterals;

constexpr int kIdleMs = 1500; // after the first frame, before resident memory is read

struct Started {
    double firstFrameSeconds = 0;
    double residentMiB = 0;
};

inline QProcessEnvironment environmentFor(const QString &home)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char *name : { "XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_STATE_HOME" })
        env.remove(QString::fromLatin1(name));
    env.insert(u"HOME"_s, home);
    if (!env.contains(u"QT_QPA_PLATFORM"_s))
        env.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    env.insert(u"ORVANE_REPORT_FIRST_FRAME"_s, u"1"_s);
    return env;
}

inline double residentMiB(qint64 pid)
{
    QFile status(u"/proc/%1/status"_s.arg(pid));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    }
    return 0;
}

// Starts the program, waits for its first frame, optionally idles and reads its memory, then ends it.
inline Started run(const QString &program, const QString &home, bool measureMemory, const QStringList &arguments = {})
{
    QProcess process;
    process.setProcessEnvironment(environmentFor(home));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, arguments);
    Started started;
    QByteArray out;
    while (!out.contains("first-frame\n")) {
        if (!process.waitForReadyRead(30000))
            qFatal("%s never painted a frame", qPrintable(program));
        out += process.readAllStandardOutput();
    }
    started.firstFrameSeconds = double(clock.nsecsElapsed()) / 1e9;
    if (measureMemory) {
        QThread::msleep(kIdleMs);
        started.residentMiB = residentMiB(process.processId());
    }
    ::kill(pid_t(process.processId()), SIGTERM);
    if (!process.waitForFinished(10000)) {
        process.kill();
        process.waitForFinished();
    }
    return started;
}

} // namespace orvane::bench
