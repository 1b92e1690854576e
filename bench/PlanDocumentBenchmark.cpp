// Main-thread cost of a megabyte text in the campaign plan document: opening the document on a
// project whose objective holds one (a megabyte word, or a megabyte of words), and sending a
// megabyte word from the composer while the document is shown, which the local agent appends to
// the objective. Sending reports the longest time the window could not answer: from the paste to
// the end of the turn, each call that holds the event loop is one stall.
#include "BenchModel.h"
#include "ide/model/ThreadList.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/AgentComposerBar.h"
#include "ide/views/window/WorkspaceViewRegistry.h"
#include "ide/views/workbench/CampaignPlanDocumentView.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// A megabyte word when `words` is false, else a megabyte of words.
QString megabyteText(bool words)
{
    if (!words)
        return QString(1024 * 1024, u'w');
    QString text;
    while (text.size() < 1024 * 1024)
        text += u"pipeline growth leads "_s;
    return text;
}

void showExposed(QWidget &view, QSize size)
{
    view.resize(size);
    view.show();
    while (!view.windowHandle() || !view.windowHandle()->isExposed())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct PlanFixture {
    QTemporaryDir home;
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    ThemeSource theme { true };
    QUuid threadID;
    QUuid tabID;
    QString objective;

    PlanFixture()
    {
        model = bench::sampleWorkspaceModel(home.path());
        threadID = model->threads().constFirst().id;
        model->openThread(threadID);
        tabID = model->threads().constFirst().agentTabs.constFirst().id;
        objective = model->selectedProject().value_or(CampaignIDEProject {}).objective;
    }
    ~PlanFixture() { model->flushPendingWrites(); }

    [[nodiscard]] WorkspaceViewContext context()
    {
        WorkspaceViewContext context = WorkspaceViewContext::forModel(*model);
        context.theme = &theme;
        return context;
    }
};

void BM_PlanDocumentOpenMegabyteObjective(benchmark::State &state)
{
    PlanFixture fixture;
    const QString text = megabyteText(state.range(0) != 0);
    fixture.model->mutateSelectedProject(
        [&](CampaignIDEProject &project) { project.objective += u"\n• Agent refinement: "_s + text; });
    for (auto _ : state) {
        CampaignPlanDocumentView view(fixture.context());
        showExposed(view, { 900, 800 });
        view.repaint();
        state.PauseTiming();
        view.hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlanDocumentOpenMegabyteObjective)
    ->ArgName("words")
    ->Arg(0)
    ->Arg(1)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

void BM_SendMegabyteWordWithPlanDocumentShown(benchmark::State &state)
{
    PlanFixture fixture;
    QWidget window;
    auto *row = new QHBoxLayout(&window);
    auto *document = new CampaignPlanDocumentView(fixture.context(), &window);
    auto *composer = new AgentComposerBar(fixture.context(), fixture.threadID, fixture.tabID, &window);
    row->addWidget(document, 2);
    row->addWidget(composer, 1);
    showExposed(window, { 1300, 800 });
    auto *field = composer->findChild<QLineEdit *>(u"draftField"_s);
    auto *send = composer->findChild<QAbstractButton *>(u"sendButton"_s);
    const QString word = megabyteText(false);
    QGuiApplication::clipboard()->setText(word);

    for (auto _ : state) {
        fixture.model->mutateSelectedProject(
            [&](CampaignIDEProject &project) { project.objective = fixture.objective; });
        QCoreApplication::processEvents();
        field->setFocus();

        qint64 longest = 0;
        QElapsedTimer clock;
        const auto timed = [&](const auto &step) {
            clock.start();
            step();
            longest = std::max(longest, clock.nsecsElapsed());
        };
        timed([&] {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
            QCoreApplication::sendEvent(field, &press);
            window.repaint();
        });
        timed([&] {
            send->click();
            window.repaint();
        });
        const auto turnDone = [&] {
            const CampaignAgentTab *tab = fixture.model->threadList().tab(fixture.threadID, fixture.tabID);
            const auto project = fixture.model->selectedProject();
            return tab && !tab->isStreaming && project && project->objective.endsWith(word);
        };
        while (!turnDone())
            timed([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });
        // What follows the turn: the saves' echoes and the last repaint.
        QElapsedTimer after;
        after.start();
        while (after.elapsed() < 300)
            timed([] { QCoreApplication::processEvents(QEventLoop::AllEvents, 5); });
        timed([&] { window.repaint(); });
        state.SetIterationTime(double(longest) / 1e9);
    }
}
BENCHMARK(BM_SendMegabyteWordWithPlanDocumentShown)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
