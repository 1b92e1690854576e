// How the workspace grows with its stored threads, at 1, 10 and 50 MB of threads (200 KB each):
// the whole window's first painted frame from process start, paired run by run with a bare window
// of the same size (bench/BareWindow.cpp) and the resident memory of both at that frame; the bytes
// written when the user opens another thread and when one thread is edited.
//
// The window runs in a child process: this program started with "--first-frame <home>" builds the
// application window on that home, prints "first-frame" at its first frame and runs until it is ended.
#include "BenchModel.h"
#include "BenchThreads.h"
#include "ProcessStart.h"
#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStringBuilder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <map>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace orvane;
using namespace Qt::StringLiterals;
using bench::median;
using bench::pointHomeAt;

namespace {

using Clock = std::chrono::steady_clock;

// Threads of 3 tabs with 30 entries each, about 200 KB apiece, until the store holds `megabytes`.
QByteArray threadStoreOf(int megabytes)
{
    const auto projects = CampaignIDEWorkspaceModel::sampleProjects();
    const CampaignIDEThread seed = OrvaneWebParitySeeds::defaultThreads(projects).first();
    QList<CampaignIDEThread> threads;
    qint64 size = 0;
    for (int t = 0; size < qint64(megabytes) * 1'000'000; ++t) {
        const CampaignIDEThread thread = bench::largeThread(seed, t);
        size += encodeJson(thread).size();
        threads.append(thread);
    }
    return encodeJson(threads);
}

std::unique_ptr<CampaignIDEWorkspaceModel> makeModel()
{
    return std::make_unique<CampaignIDEWorkspaceModel>(std::nullopt, new CampaignNotificationCenter({}, nullptr),
        new CampaignCopilotStore(), CampaignIDEWorkspaceModel::standardLocations());
}

// A home whose thread store holds `megabytes` of threads in the form a start-up finds after the
// first one (0: no store, the seeds). Made once per size; the environment points at it.
const QString &homeWith(int megabytes)
{
    static std::map<int, std::unique_ptr<QTemporaryDir>> homes;
    auto &home = homes[megabytes];
    if (!home) {
        home = std::make_unique<QTemporaryDir>();
        pointHomeAt(home->path());
        if (megabytes > 0) {
            const auto locations = CampaignIDEWorkspaceModel::standardLocations();
            locations.defaults.setValue(CampaignIDEWorkspaceModel::threadsDefaultsKey, threadStoreOf(megabytes));
            makeModel().reset(); // moves the single file into the thread store
        }
    }
    pointHomeAt(home->path());
    static QString path;
    path = home->path();
    return path;
}

// The application on a store of the argument's size and the bare window, in turn, each run; the
// iteration time is the application's. The ratio is the median of the pairs' ratios. The first
// start on each home is not timed (it writes the workspace folder).
void BM_FirstFrameBesideBareWindow(benchmark::State &state)
{
    const int megabytes = int(state.range(0));
    const QString home = homeWith(megabytes);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString app = dir + u"/../src/app/orvane"_s;
    const QString bare = dir + u"/orvane_bare_window"_s;
    bench::run(app, home, false);
    std::vector<double> window, yardstick, ratio, windowResident, bareResident;
    for (auto _ : state) {
        const bench::Started whole = bench::run(app, home, true);
        const bench::Started base = bench::run(bare, home, true);
        state.SetIterationTime(whole.firstFrameSeconds);
        window.push_back(whole.firstFrameSeconds * 1000);
        yardstick.push_back(base.firstFrameSeconds * 1000);
        ratio.push_back(whole.firstFrameSeconds / base.firstFrameSeconds);
        windowResident.push_back(whole.residentMiB);
        bareResident.push_back(base.residentMiB);
    }
    static double emptyStoreResident = 0; // the seeds' run, which comes first
    const double resident = median(windowResident);
    if (megabytes == 0)
        emptyStoreResident = resident;
    state.counters["app_ms"] = median(window);
    state.counters["bare_ms"] = median(yardstick);
    state.counters["frame_ratio"] = median(ratio);
    state.counters["app_rss_MiB"] = resident;
    state.counters["bare_rss_MiB"] = median(bareResident);
    // Resident memory the stored threads add, per MB of them, over the seeds' start.
    if (megabytes > 0 && emptyStoreResident > 0)
        state.counters["rss_per_stored_MB"] = (resident - emptyStoreResident) * 1.048576 / megabytes;
}
BENCHMARK(BM_FirstFrameBesideBareWindow)
    ->Arg(0)
    ->Arg(1)
    ->Arg(10)
    ->Arg(50)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(8);

// Every file under the home with its inode and size: an atomic write gives a file a new inode.
std::map<QString, std::pair<ino_t, qint64>> filesUnder(const QString &root)
{
    std::map<QString, std::pair<ino_t, qint64>> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        struct stat info { };
        if (::stat(QFile::encodeName(path).constData(), &info) == 0)
            files[path] = { info.st_ino, qint64(info.st_size) };
    }
    return files;
}

qint64 bytesWrittenBetween(
    const std::map<QString, std::pair<ino_t, qint64>> &before, const std::map<QString, std::pair<ino_t, qint64>> &after)
{
    qint64 bytes = 0;
    for (const auto &[path, file] : after) {
        const auto old = before.find(path);
        if (old == before.end() || old->second != file)
            bytes += file.second;
    }
    return bytes;
}

// Bytes the model writes for one user action, everything under the home counted; the time is the
// action's main-thread part, its writes waited for outside it.
template <typename Act> void bytesWritten(benchmark::State &state, Act act)
{
    const QString &home = homeWith(int(state.range(0)));
    const auto model = makeModel();
    model->flushPendingWrites();
    qint64 bytes = 0;
    int i = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const auto before = filesUnder(home);
        state.ResumeTiming();
        act(*model, ++i);
        state.PauseTiming();
        model->flushPendingWrites();
        bytes += bytesWrittenBetween(before, filesUnder(home));
        state.ResumeTiming();
    }
    state.counters["bytes_per_action"] = double(bytes) / double(state.iterations());
    state.counters["store_MB"] = double(state.range(0));
}

void BM_BytesWrittenOpeningAnotherThread(benchmark::State &state)
{
    bytesWritten(
        state, [](CampaignIDEWorkspaceModel &model, int i) { model.openThread(model.threads().at(i % 2).id); });
}
BENCHMARK(BM_BytesWrittenOpeningAnotherThread)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond)->Iterations(20);

void BM_BytesWrittenEditingOneThread(benchmark::State &state)
{
    bytesWritten(state, [](CampaignIDEWorkspaceModel &model, int i) {
        model.renameThread(model.threads().first().id, u"Edited "_s % QString::number(i));
    });
}
BENCHMARK(BM_BytesWrittenEditingOneThread)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond)->Iterations(20);

// The start's sweep for temporary files that killed writes left, run on the disk writer: one
// listing of the thread store's folder, whose files grow with the threads; nothing is removed.
void BM_StaleTemporarySweepAtStart(benchmark::State &state)
{
    const QString &home = homeWith(int(state.range(0)));
    const QString root = home + u"/.config/Orvane/defaults"_s;
    const QString folder = root + u'/' + CampaignIDEWorkspaceModel::threadsStoreFolder;
    const QDateTime before = QDateTime::currentDateTimeUtc();
    int removed = 0;
    for (auto _ : state)
        removed += platform::removeStaleTemporaries(root, folder, before);
    state.counters["files"] = double(QDir(folder).entryList(QDir::Files).size());
    state.counters["removed"] = removed;
}
BENCHMARK(BM_StaleTemporarySweepAtStart)->Arg(1)->Arg(10)->Arg(50)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
