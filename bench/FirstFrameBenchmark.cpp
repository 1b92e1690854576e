// Start-up of the whole application against an empty main window of the same size, in the same
// run: wall time from starting the process to its first painted frame, and resident memory once it
// has idled. The application opens the sample workspace of a fresh home (made by a first start
// that is not timed). QT_QPA_PLATFORM as set when the benchmark runs (offscreen when unset).
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>

#include <csignal>

namespace {

using namespace Qt::StringLiterals;

constexpr int kIdleMs = 1500; // after the first frame, before resident memory is read

struct Started {
    double firstFrameSeconds = 0;
    double residentMiB = 0;
};

QProcessEnvironment environmentFor(const QString &home)
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

double residentMiB(qint64 pid)
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
Started run(const QString &program, const QString &home, bool measureMemory)
{
    QProcess process;
    process.setProcessEnvironment(environmentFor(home));
    process.setProcessChannelMode(QProcess::SeparateChannels);
    QElapsedTimer clock;
    clock.start();
    process.start(program, {});
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

void BM_FirstFrameAgainstBareWindow(benchmark::State &state)
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString app = dir + u"/../src/app/orvane"_s;
    const QString bare = dir + u"/orvane_bare_window"_s;
    QTemporaryDir home;
    run(app, home.path(), false); // seeds the sample workspace
    const bool memory = state.range(0) != 0;
    double appTime = 0, bareTime = 0, appMemory = 0, bareMemory = 0;
    for (auto _ : state) {
        const Started b = run(bare, home.path(), memory);
        const Started a = run(app, home.path(), memory);
        state.SetIterationTime(a.firstFrameSeconds);
        appTime += a.firstFrameSeconds;
        bareTime += b.firstFrameSeconds;
        appMemory += a.residentMiB;
        bareMemory += b.residentMiB;
    }
    const double n = double(state.iterations());
    state.counters["app_ms"] = appTime / n * 1000;
    state.counters["bare_ms"] = bareTime / n * 1000;
    state.counters["frame_ratio"] = appTime / bareTime;
    if (memory) {
        state.counters["app_rss_MiB"] = appMemory / n;
        state.counters["bare_rss_MiB"] = bareMemory / n;
        state.counters["rss_ratio"] = appMemory / bareMemory;
    }
}
// 0: first frame only; 1: also resident memory after idling.
BENCHMARK(BM_FirstFrameAgainstBareWindow)
    ->ArgName("memory")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(8)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
