// Start-up of the whole application against an empty main window of the same size, in the same
// run: wall time from starting the process to its first painted frame, and resident memory once it
// has idled. The application opens the sample workspace of a fresh home (made by a first start
// that is not timed). QT_QPA_PLATFORM as set when the benchmark runs (offscreen when unset). A
// second baseline, the same window with one line of text, shows what drawing any text costs.
#include "ProcessStart.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

using namespace Qt::StringLiterals;
using namespace orvane::bench;

void BM_FirstFrameAgainstBareWindow(benchmark::State &state)
{
    const QString dir = QCoreApplication::applicationDirPath();
    const QString app = dir + u"/../src/app/orvane"_s;
    const QString bare = dir + u"/orvane_bare_window"_s;
    QTemporaryDir home;
    run(app, home.path(), false); // seeds the sample workspace
    const bool memory = state.range(0) != 0;
    double appTime = 0, bareTime = 0, textTime = 0, appMemory = 0, bareMemory = 0, textMemory = 0;
    for (auto _ : state) {
        const Started b = run(bare, home.path(), memory);
        const Started t = run(bare, home.path(), memory, { u"--text"_s });
        const Started a = run(app, home.path(), memory);
        state.SetIterationTime(a.firstFrameSeconds);
        appTime += a.firstFrameSeconds;
        bareTime += b.firstFrameSeconds;
        textTime += t.firstFrameSeconds;
        appMemory += a.residentMiB;
        bareMemory += b.residentMiB;
        textMemory += t.residentMiB;
    }
    const double n = double(state.iterations());
    state.counters["app_ms"] = appTime / n * 1000;
    state.counters["bare_ms"] = bareTime / n * 1000;
    state.counters["frame_ratio"] = appTime / bareTime;
    state.counters["text_ms"] = textTime / n * 1000;
    if (memory) {
        state.counters["app_rss_MiB"] = appMemory / n;
        state.counters["bare_rss_MiB"] = bareMemory / n;
        state.counters["rss_ratio"] = appMemory / bareMemory;
        state.counters["text_rss_MiB"] = textMemory / n;
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
