#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/sync/LocalReport.h"
#include "ide/sync/RemoteProjectMerge.h"
#include "kit/networking/OrvaneAPIClient.h"

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

// The merge runs on a worker thread once per refresh.
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
BENCHMARK(BM_MergeRemoteProjects)->Arg(50)->Arg(500)->Arg(60000)->Unit(benchmark::kMicrosecond);

// A projects answer of `count` projects as the service writes them, each with its own update time
// over the last two years: about 68 bytes each, so 60,000 make an answer of about 4 MB, under the
// 8 MiB bound of a whole-body answer.
QByteArray projectsAnswer(int count)
{
    const QDateTime start = QDateTime::currentDateTimeUtc().addDays(-730);
    QByteArray body = R"({"projects":[)";
    for (int i = 0; i < count; ++i) {
        if (i > 0)
            body += ',';
        const QByteArray updated = start.addSecs(qint64(i) * 1051).toString(Qt::ISODate).toLatin1();
        body += R"({"id":"p)" + QByteArray::number(i) + R"(","name":"P)" + QByteArray::number(i) + R"(","updated_at":")"
            + updated + R"("})";
    }
    body += "]}";
    return body;
}

// Decoding the answer: done once per refresh as it arrives.
void BM_DecodeProjectsAnswer(benchmark::State &state)
{
    const QByteArray body = projectsAnswer(int(state.range(0)));
    for (auto _ : state) {
        auto decoded = OrvaneAPIClient::decodeBody<ProjectsResponse>(body);
        benchmark::DoNotOptimize(decoded);
    }
    state.counters["answer_bytes"] = double(body.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_DecodeProjectsAnswer)->Arg(60000)->Unit(benchmark::kMillisecond);

// The merge a refresh makes of that answer: the first time every project is new (appended with its
// artboards), the next time every one is found again by its server id.
void BM_MergeProjectsAnswer(benchmark::State &state)
{
    const QByteArray body = projectsAnswer(int(state.range(0)));
    const QList<Project> remote = OrvaneAPIClient::decodeBody<ProjectsResponse>(body).projects;
    const QList<CampaignIDEProject> samples = CampaignIDEWorkspaceModel::sampleProjects();
    const QList<CampaignIDEProject> known
        = RemoteProjectMerge::merge(samples, remote, &CampaignIDEWorkspaceModel::planDerivedArtboards);
    const QList<CampaignIDEProject> &local = state.range(1) == 0 ? samples : known;
    for (auto _ : state) {
        auto merged = RemoteProjectMerge::merge(local, remote, &CampaignIDEWorkspaceModel::planDerivedArtboards);
        benchmark::DoNotOptimize(merged);
    }
    state.counters["answer_bytes"] = double(body.size());
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_MergeProjectsAnswer)
    ->ArgNames({ "projects", "known" })
    ->Args({ 60000, 0 })
    ->Args({ 60000, 1 })
    ->Unit(benchmark::kMillisecond);

// An answer of the same size made of one object with as many keys: parsing must stay linear in
// the keys, whatever the answer holds.
void BM_DecodeWideObjectAnswer(benchmark::State &state)
{
    QByteArray body = R"({"projects":[],"x":{)";
    for (int i = 0; i < state.range(0); ++i) {
        if (i > 0)
            body += ',';
        body += '"' + QByteArray::number(i) + R"(":0)";
    }
    body += "}}";
    for (auto _ : state) {
        auto decoded = OrvaneAPIClient::decodeBody<ProjectsResponse>(body);
        benchmark::DoNotOptimize(decoded);
    }
    state.counters["answer_bytes"] = double(body.size());
}
BENCHMARK(BM_DecodeWideObjectAnswer)->Arg(10000)->Arg(300000)->Unit(benchmark::kMillisecond);

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
