#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/LocalReport.h"
#include "ide/sync/RemoteProjectMerge.h"

#include <QStringBuilder>

#include <benchmark/benchmark.h>

using namespace orvane;
using namespace Qt::StringLiterals;

namespace {

// `count` local projects and as many remote ones: half known by server id, a quarter by name in
// another letter case, a quarter new.
void mergeFixture(int count, QList<CampaignIDEProject> &local, QList<Project> &remote)
{
    const CampaignIDEProject sample = CampaignIDEWorkspaceModel::sampleProjects().at(1);
    for (int i = 0; i < count; ++i) {
        CampaignIDEProject project = sample;
        project.id = QUuid::createUuid();
        project.name = u"Campaign project "_s % QString::number(i);
        if (i % 2 == 0)
            project.serverID = u"srv-"_s % QString::number(i);
        local.append(project);

        Project r;
        r.id = u"srv-"_s % QString::number(i % 4 == 3 ? count + i : i);
        r.name
            = i % 4 == 1 ? (u"CAMPAIGN PROJECT "_s % QString::number(i)) : (u"Remote project "_s % QString::number(i));
        r.description = u"Server objective"_s;
        r.updatedAt = u"2024-05-04T09:00:00Z"_s;
        remote.append(r);
    }
}

// The merge runs on the main thread once per refresh.
void BM_MergeRemoteProjects(benchmark::State &state)
{
    QList<CampaignIDEProject> local;
    QList<Project> remote;
    mergeFixture(int(state.range(0)), local, remote);
    for (auto _ : state) {
        auto merged = RemoteProjectMerge::merge(local, remote, &CampaignIDEWorkspaceModel::planDerivedArtboards);
        benchmark::DoNotOptimize(merged);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MergeRemoteProjects)->Arg(50)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_LocalReportHtml(benchmark::State &state)
{
    const QString title = u"Q4 Enterprise Demand Gen <launch> — 30d Attribution Report"_s;
    for (auto _ : state) {
        auto html = LocalReport::html(title, u"attribution"_s, u"~/Documents/Orvane"_s).toUtf8();
        benchmark::DoNotOptimize(html);
    }
}
BENCHMARK(BM_LocalReportHtml)->Unit(benchmark::kMicrosecond);

} // namespace
