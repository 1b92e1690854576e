#include "BenchThreads.h"
#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringBuilder>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

using Clock = std::chrono::steady_clock;

// About 10 MB of stored threads: 50 threads of 3 tabs with 30 entries each.
QList<CampaignIDEThread> largeThreadStore(const QList<CampaignIDEProject> &projects)
{
    const CampaignIDEThread seed = OrvaneWebParitySeeds::defaultThreads(projects).first();
    QList<CampaignIDEThread> threads;
    for (int t = 0; t < 50; ++t)
        threads.append(bench::largeThread(seed, t));
    return threads;
}

CampaignIDEWorkspaceModel::Locations locationsIn(const QString &home)
{
    return CampaignIDEWorkspaceModel::Locations {
        .workspaceRoot = home + u"/Documents/Orvane"_s,
        .stateFile = home + u"/data/Orvane/campaign-ide-state.json"_s,
        .mirrorLedgerFile = home + u"/data/Orvane/mirror-ledger.json"_s,
        .defaults = platform::UserDefaults(home + u"/config/Orvane/defaults"_s),
    };
}

// The model posts the writer's results to the main thread's event queue, which needs an application.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "orvane_bench";
    static char *argv[] = { name, nullptr };
    static QCoreApplication app(argc, argv);
}

std::unique_ptr<CampaignIDEWorkspaceModel> makeModel(const QString &home)
{
    ensureApplication();
    return std::make_unique<CampaignIDEWorkspaceModel>(
        std::nullopt, new CampaignNotificationCenter({}, nullptr), new CampaignCopilotStore(), locationsIn(home));
}

double percentile(std::vector<double> samples, double p)
{
    if (samples.empty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const auto index = std::min(samples.size() - 1, std::size_t(p * double(samples.size())));
    return samples[index];
}

// Main-thread cost of one edit of a thread that saves the whole 10 MB store and writes the thread's
// files, as an agent turn or a keystroke in a draft does. Encoding and writing run on the writer.
void BM_EditThatSavesWithLargeThreadStore(benchmark::State &state)
{
    QTemporaryDir home;
    const auto projects = CampaignIDEWorkspaceModel::sampleProjects();
    const QByteArray store = encodeJson(largeThreadStore(projects));
    platform::UserDefaults(home.path() + u"/config/Orvane/defaults"_s)
        .setValue(CampaignIDEWorkspaceModel::threadsDefaultsKey, store);
    const auto model = makeModel(home.path());
    model->flushPendingWrites();
    const QUuid threadID = model->threads().first().id;

    std::vector<double> samples;
    int i = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        model->mutateThread(threadID, [&](CampaignIDEThread &t) { t.title = u"Edit "_s % QString::number(++i); });
        model->syncThreadArtifactsToDisk(model->threads().first());
        samples.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }
    const auto flushStart = Clock::now();
    model->flushPendingWrites();
    state.counters["store_MB"] = double(store.size()) / 1e6;
    state.counters["p50_ms"] = percentile(samples, 0.50);
    state.counters["p99_ms"] = percentile(samples, 0.99);
    state.counters["max_ms"] = percentile(samples, 1.0);
    state.counters["final_flush_ms"] = std::chrono::duration<double, std::milli>(Clock::now() - flushStart).count();
}
BENCHMARK(BM_EditThatSavesWithLargeThreadStore)->Unit(benchmark::kMicrosecond)->Iterations(2000);

// Start-up on a first launch (sample projects and seed threads): the main-thread part is the
// constructor; the mirror and the file listing run on the writer and are timed separately.
void BM_StartupWithSampleWorkspace(benchmark::State &state)
{
    std::vector<double> mainThread;
    std::vector<double> untilListed;
    double listedFiles = 0;
    for (auto _ : state) {
        state.PauseTiming();
        QTemporaryDir home;
        state.ResumeTiming();
        const auto start = Clock::now();
        auto model = makeModel(home.path());
        const auto constructed = Clock::now();
        model->flushPendingWrites();
        const auto listed = Clock::now();
        listedFiles = double(model->localFiles().size());
        mainThread.push_back(std::chrono::duration<double, std::milli>(constructed - start).count());
        untilListed.push_back(std::chrono::duration<double, std::milli>(listed - start).count());
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["main_thread_p50_ms"] = percentile(mainThread, 0.5);
    state.counters["main_thread_p99_ms"] = percentile(mainThread, 0.99);
    state.counters["until_listed_p50_ms"] = percentile(untilListed, 0.5);
    state.counters["listed_files"] = listedFiles; // 3: plan, creatives, rules
}
BENCHMARK(BM_StartupWithSampleWorkspace)->Unit(benchmark::kMillisecond)->Iterations(100);

// Start-up that reads and decodes the 10 MB thread store, which happens on the main thread.
void BM_StartupWithLargeThreadStore(benchmark::State &state)
{
    QTemporaryDir home;
    const QByteArray store = encodeJson(largeThreadStore(CampaignIDEWorkspaceModel::sampleProjects()));
    platform::UserDefaults(home.path() + u"/config/Orvane/defaults"_s)
        .setValue(CampaignIDEWorkspaceModel::threadsDefaultsKey, store);
    for (auto _ : state) {
        auto model = makeModel(home.path());
        state.PauseTiming();
        model->flushPendingWrites();
        model.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_StartupWithLargeThreadStore)->Unit(benchmark::kMillisecond)->Iterations(10);

// The start-up pass over the thread files: a store of range(0) threads of about 200 KB spread over
// range(0) / 5 projects, every project folder missing its thread files (the first start) or holding
// them already (a later start). Times the constructor, the pass from the first turn of the event
// loop to its end with its writes, and the longest turn of the event loop meanwhile, which is what
// the window waits for between frames.
void BM_StartupThreadFilesPass(benchmark::State &state)
{
    QTemporaryDir home;
    const int threadCount = int(state.range(0));
    const CampaignIDEProject sample = CampaignIDEWorkspaceModel::sampleProjects().first();
    QList<CampaignIDEProject> projects;
    for (int p = 0; p < threadCount / 5; ++p) {
        CampaignIDEProject project = sample;
        project.id = QUuid::createUuid();
        project.name = u"Campaign "_s % QString::number(p);
        projects.append(project);
    }
    const CampaignIDEThread seed = OrvaneWebParitySeeds::defaultThreads(projects).first();
    QList<CampaignIDEThread> threads;
    for (int t = 0; t < threadCount; ++t) {
        CampaignIDEThread thread = bench::largeThread(seed, t);
        thread.projectID = projects.at(t % projects.size()).id;
        threads.append(thread);
    }
    const auto locations = locationsIn(home.path());
    QDir().mkpath(QFileInfo(locations.stateFile).absolutePath());
    QFile stateFile(locations.stateFile);
    if (!stateFile.open(QIODevice::WriteOnly) || stateFile.write(encodeJson(projects)) < 0) {
        state.SkipWithError("could not write the state file");
        return;
    }
    stateFile.close();
    locations.defaults.setValue(CampaignIDEWorkspaceModel::threadsDefaultsKey, encodeJson(threads));
    makeModel(home.path()).reset(); // moves the single file into the thread store

    const bool filesMissing = state.range(1) != 0;
    std::vector<double> constructed, pass, longestTurn;
    for (auto _ : state) {
        state.PauseTiming();
        if (filesMissing) {
            for (const CampaignIDEProject &project : std::as_const(projects)) {
                const QString folder = locations.workspaceRoot % u'/' % project.slug();
                QFile::remove(folder + u"/media-plan.csv"_s);
                QFile::remove(folder + u"/thread-transcript.json"_s);
            }
        }
        state.ResumeTiming();
        const auto start = Clock::now();
        auto model = makeModel(home.path());
        const auto built = Clock::now();
        double longest = 0;
        while (model->isSyncingStoredThreadFiles()) {
            const auto turn = Clock::now();
            QCoreApplication::processEvents();
            longest = std::max(longest, std::chrono::duration<double, std::milli>(Clock::now() - turn).count());
            std::this_thread::yield(); // the reader and the writer do the rest
        }
        model->flushPendingWrites();
        const auto done = Clock::now();
        constructed.push_back(std::chrono::duration<double, std::milli>(built - start).count());
        pass.push_back(std::chrono::duration<double, std::milli>(done - built).count());
        longestTurn.push_back(longest);
        state.PauseTiming();
        model.reset();
        state.ResumeTiming();
    }
    state.counters["projects"] = double(projects.size());
    state.counters["constructor_p50_ms"] = percentile(constructed, 0.5);
    state.counters["pass_p50_ms"] = percentile(pass, 0.5);
    state.counters["longest_turn_max_ms"] = percentile(longestTurn, 1.0);
}
BENCHMARK(BM_StartupThreadFilesPass)
    ->ArgsProduct({ { 50, 200 }, { 1, 0 } })
    ->ArgNames({ "threads", "files_missing" })
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

} // namespace
