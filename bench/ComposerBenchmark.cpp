// Main-thread cost of a long draft in the composer: pasting it, one keystroke with it in the field,
// and sending it. The composer is exposed before anything is timed, so each step includes one real
// synchronous paint.
#include "BenchModel.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/AgentComposerBar.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWindow>

#include <benchmark/benchmark.h>

#include <memory>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// About `kilobytes` of text over many lines, as pasted from a document.
QString longText(qsizetype kilobytes)
{
    QString text;
    for (int line = 0; text.size() < kilobytes * 1024; ++line)
        text += u"Brief line "_s + QString::number(line) + u": audiences, budgets and creatives to review.\n"_s;
    return text;
}

struct ComposerFixture {
    QTemporaryDir home;
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    ThemeSource theme { true };
    QUuid threadID;
    QUuid tabID;
    std::unique_ptr<AgentComposerBar> bar;
    QLineEdit *field = nullptr;

    ComposerFixture()
    {
        model = bench::sampleWorkspaceModel(home.path());
        threadID = model->threads().constFirst().id;
        tabID = model->threads().constFirst().agentTabs.constFirst().id;
        WorkspaceViewContext context = WorkspaceViewContext::forModel(*model);
        context.theme = &theme;
        bar = std::make_unique<AgentComposerBar>(context, threadID, tabID);
        bar->resize(460, 90);
        bar->show();
        while (!bar->windowHandle() || !bar->windowHandle()->isExposed())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        field = bar->findChild<QLineEdit *>(u"draftField"_s);
        field->setFocus();
    }
    ~ComposerFixture()
    {
        bar.reset();
        model->flushPendingWrites();
    }

    void key(Qt::Key key, const QString &text = {}, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const
    {
        QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
        QCoreApplication::sendEvent(field, &press);
        QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
        QCoreApplication::sendEvent(field, &release);
    }
};

void BM_ComposerPasteLongText(benchmark::State &state)
{
    ComposerFixture fixture;
    QGuiApplication::clipboard()->setText(longText(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        fixture.model->setThreadDraft(QString(), fixture.threadID, fixture.tabID);
        fixture.bar->repaint();
        state.ResumeTiming();
        fixture.key(Qt::Key_V, {}, Qt::ControlModifier);
        fixture.bar->repaint();
    }
}
BENCHMARK(BM_ComposerPasteLongText)->Arg(32)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_ComposerKeystrokeOnLongDraft(benchmark::State &state)
{
    ComposerFixture fixture;
    fixture.model->setThreadDraft(longText(state.range(0)), fixture.threadID, fixture.tabID);
    fixture.field->end(false);
    for (auto _ : state) {
        fixture.key(Qt::Key_Z, u"z"_s);
        fixture.bar->repaint();
    }
}
BENCHMARK(BM_ComposerKeystrokeOnLongDraft)->Arg(32)->Arg(1024)->Unit(benchmark::kMillisecond);

void BM_ComposerSendLongDraft(benchmark::State &state)
{
    ComposerFixture fixture;
    const QString text = longText(state.range(0));
    auto *send = fixture.bar->findChild<QAbstractButton *>(u"sendButton"_s);
    for (auto _ : state) {
        state.PauseTiming();
        fixture.model->setThreadDraft(text, fixture.threadID, fixture.tabID);
        fixture.bar->repaint();
        state.ResumeTiming();
        send->click();
        fixture.bar->repaint();
    }
}
BENCHMARK(BM_ComposerSendLongDraft)->Arg(32)->Arg(1024)->Unit(benchmark::kMillisecond);

} // namespace
