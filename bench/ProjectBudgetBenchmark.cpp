// Main-thread cost of a project whose Monthly Budget is a megabyte of digits, in the whole window: a
// click on that project's sidebar row, on the other project's row and on each destination, each
// until the window has handled it and painted. Windows with a short budget and with the megabyte one
// take turns; "ratio" is the megabyte window's time over the short one's (medians of the turns).
#include "BenchModel.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/sidebar/SidebarListView.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

class BudgetWindow {
public:
    explicit BudgetWindow(const QString &budget)
    {
        bench::pointHomeAt(m_home.path());
        CampaignIDEWorkspaceView::Services services;
        services.revealFolder = [](const QString &) {};
        services.screenArea = [](const QWidget *) { return QRect(0, 0, 1440, 900); };
        m_window = std::make_unique<CampaignIDEWorkspaceView>(
            nullptr, nullptr, [] {}, std::move(services));
        CampaignIDEWorkspaceModel &model = *m_window->model();
        model.mutateProject(
            model.projects().constFirst().id, [&](CampaignIDEProject &project) { project.replaceBudget(budget); });
        m_window->resize(1440, 900);
        m_window->show();
        static_cast<void>(QTest::qWaitForWindowExposed(m_window.get()));
        // The first listings and mirror writes come and go before anything is timed.
        QTest::qWait(500);
    }
    ~BudgetWindow() { m_window->model()->flushPendingWrites(); }

    // Milliseconds for one round of clicks: each project's row (the megabyte one last), then each
    // destination.
    double clickRound()
    {
        auto *projects = m_window->findChild<SidebarListView *>(u"projectFolderList"_s);
        QElapsedTimer clock;
        clock.start();
        for (const int row : { 1, 0 }) {
            QTest::mouseClick(projects->viewport(), Qt::LeftButton, {},
                projects->partRect(row, SidebarRowDelegate::Part::row).center());
            settle();
        }
        for (const QString &destination : { u"projectsNavButton"_s, u"campaignsNavButton"_s, u"agentsNavButton"_s,
                 u"assetsNavButton"_s, u"connectionsNavButton"_s, u"reportsNavButton"_s, u"settingsNavButton"_s }) {
            if (auto *button = m_window->findChild<QAbstractButton *>(destination))
                QTest::mouseClick(button, Qt::LeftButton);
            settle();
        }
        return double(clock.nsecsElapsed()) / 1e6;
    }

private:
    void settle()
    {
        for (int pass = 0; pass < 3; ++pass)
            QCoreApplication::processEvents();
        m_window->repaint();
    }

    QTemporaryDir m_home;
    std::unique_ptr<CampaignIDEWorkspaceView> m_window;
};

void BM_ClicksWithMegabyteBudget(benchmark::State &state)
{
    BudgetWindow shortBudget(u"$45,000"_s);
    BudgetWindow megabyteBudget(u'$' + QString(1'000'000, u'1'));
    for (auto _ : state) {
        std::vector<double> shortTimes;
        std::vector<double> megabyteTimes;
        for (int turn = 0; turn < 5; ++turn) {
            shortTimes.push_back(shortBudget.clickRound());
            megabyteTimes.push_back(megabyteBudget.clickRound());
        }
        state.SetIterationTime(bench::median(megabyteTimes) / 1e3);
        state.counters["short_ms"] = bench::median(shortTimes);
        state.counters["megabyte_ms"] = bench::median(megabyteTimes);
        state.counters["ratio"] = bench::median(megabyteTimes) / bench::median(shortTimes);
    }
}
BENCHMARK(BM_ClicksWithMegabyteBudget)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
