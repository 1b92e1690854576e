#include "ide/model/WorkspaceMirror.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <cmath>
#include <future>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

CampaignIDEProject project(const QString &name)
{
    CampaignIDEProject p;
    p.id = QUuid::createUuid();
    p.name = name;
    p.status = u"Plan ready"_s;
    p.updated = u"Now"_s;
    p.hasPlan = true;
    return p;
}

CampaignIDEThread threadOf(const CampaignIDEProject &p, QList<CampaignMediaPlanRow> rows)
{
    CampaignIDEThread t;
    t.id = QUuid::createUuid();
    t.projectID = p.id;
    t.title = u"T"_s;
    t.mediaPlanRows = std::move(rows);
    return t;
}

CampaignMediaPlanRow row(QString audience, double daily, double monthly, double cpa, qint64 conversions)
{
    return CampaignMediaPlanRow { QUuid::createUuid(), u"LinkedIn"_s, u"ABM \"VP\" Flight"_s, u"Consideration"_s,
        std::move(audience), u"Single image"_s, daily, monthly, u"Max conversions"_s, cpa, conversions, u"Draft"_s };
}

// A user's saved edit of a generated file stands until the project data behind it changes.
TEST_F(WorkspaceModelTest, MirrorKeepsAUsersEditUntilTheProjectDataChanges)
{
    const CampaignIDEProject p = project(u"Launch"_s);
    const QString plan = projectFile(u"launch"_s, u"campaign-plan.md"_s);
    const QString rules = projectFile(u"launch"_s, u"execution-rules.md"_s);
    {
        const auto model = makeModel(QList<CampaignIDEProject> { p });
        model->openProject(p.id);
        model->flushPendingWrites();
        ASSERT_TRUE(QFileInfo::exists(plan));
        const QByteArray rulesBefore = readAll(rules);

        // Edit and save the plan through the editor, then mirror again (a reload mirrors first).
        const auto planRow = std::find_if(model->localFiles().cbegin(), model->localFiles().cend(),
            [](const LocalWorkspaceFile &f) { return f.name == u"campaign-plan.md"; });
        ASSERT_NE(planRow, model->localFiles().cend());
        model->selectLocalFile(planRow->id());
        model->updateSelectedLocalFileContent(u"# my own plan"_s);
        model->saveSelectedLocalFile();
        model->flushPendingWrites();
        model->reloadLocalFilesForSelectedProject();
        model->syncAllProjectsToLocalDisk();
        model->flushPendingWrites();
        EXPECT_EQ(readAll(plan), "# my own plan");
        EXPECT_EQ(utf8(model->localFileEditorContent()), "# my own plan");

        // The rules file is never written again, whatever changes.
        ASSERT_TRUE(writeAll(rules, "my rules"));
        model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"New objective"_s; });
        model->flushPendingWrites();
        EXPECT_TRUE(readAll(plan).contains("New objective"));
        EXPECT_EQ(readAll(rules), "my rules");
        // The edit it replaced is kept beside it, and the notice says where.
        const QStringList kept = QDir(workspaceRoot() + u"/launch"_s).entryList({ u"campaign-plan.user-edit-*.md"_s });
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(readAll(projectFile(u"launch"_s, kept.first())), "# my own plan");
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return model->statusNotice()
                == u"Kept your edited file as ~/Documents/Orvane/launch/"_s + kept.first() + u'.';
        }));
        EXPECT_FALSE(rulesBefore.isEmpty());

        ASSERT_TRUE(writeAll(plan, "edited again"));
    }
    // The mirror remembers what it wrote across a restart.
    const auto restarted = makeModel(QList<CampaignIDEProject> { [&] {
        CampaignIDEProject same = p;
        same.objective = u"New objective"_s;
        return same;
    }() });
    restarted->syncAllProjectsToLocalDisk();
    restarted->flushPendingWrites();
    EXPECT_EQ(readAll(plan), "edited again");

    // A deleted generated file is written again.
    QFile::remove(plan);
    restarted->syncAllProjectsToLocalDisk();
    restarted->flushPendingWrites();
    EXPECT_TRUE(readAll(plan).startsWith("# Launch — Campaign Plan"));
}

TEST_F(WorkspaceModelTest, RulesFileIsNotWrittenWhereAFolderHasItsName)
{
    const CampaignIDEProject p = project(u"Launch"_s);
    ASSERT_TRUE(QDir().mkpath(projectFile(u"launch"_s, u"execution-rules.md"_s)));
    const auto model = makeModel(QList<CampaignIDEProject> { p });
    EXPECT_TRUE(QFileInfo(projectFile(u"launch"_s, u"execution-rules.md"_s)).isDir());
    EXPECT_TRUE(QFileInfo::exists(projectFile(u"launch"_s, u"campaign-plan.md"_s)));
    // A project without artboards writes an empty array.
    EXPECT_EQ(readAll(projectFile(u"launch"_s, u"creatives.json"_s)), "[]");
}

TEST_F(WorkspaceModelTest, AForcedSyncReportsAFailedWriteInsteadOfSuccess)
{
    const CampaignIDEProject p = project(u"Launch"_s);
    const auto model = makeModel(QList<CampaignIDEProject> { p });
    model->flushPendingWrites();
    const QString success = u"Synced all campaign projects."_s;

    model->forceSyncLocalFiles(success);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->statusNotice() == success; }));

    // A file where the project's folder should be makes the writes fail.
    ASSERT_TRUE(QDir(workspaceRoot() + u"/launch"_s).removeRecursively());
    QFile blocker(workspaceRoot() + u"/launch"_s);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    model->forceSyncLocalFiles(success);
    EXPECT_TRUE(QTest::qWaitFor([&] {
        return model->statusNotice().value_or(QString()).startsWith(
            u"Failed to sync campaign projects to ~/Documents/Orvane: "_s);
    }));
}

// Every project gets a folder of its own: a name that gives no folder name, or one another
// project has, or one too long, gets a suffix from the project id. The first keeps its folder.
TEST_F(WorkspaceModelTest, EveryProjectWritesIntoAFolderOfItsOwn)
{
    const QList<CampaignIDEProject> projects { project(u"Launch"_s), project(u"launch"_s), project(u"日本"_s),
        project(u"中国"_s), project(u".."_s), project(QString()), project(QString(10000, u'x')) };
    const auto model = makeModel(projects);
    QSet<QString> folders;
    for (const CampaignIDEProject &p : projects) {
        const QString folder = model->projectFolderPath(p);
        folders.insert(folder);
        EXPECT_LE(QFileInfo(folder).fileName().size(), WorkspaceFiles::maxFolderNameLength);
        EXPECT_TRUE(readAll(folder + u"/campaign-plan.md"_s).startsWith(QByteArray("# " + p.name.toUtf8())))
            << utf8(folder);
    }
    EXPECT_EQ(folders.size(), projects.size());
    EXPECT_EQ(model->projectFolderPath(projects.first()), workspaceRoot() + u"/launch"_s);
    EXPECT_EQ(model->projectFolderPath(projects.at(1)),
        workspaceRoot() + u"/launch-"_s + projects.at(1).id.toString(QUuid::WithoutBraces).left(8).toLower());

    // A restart keeps every folder, even when the list order changes.
    const auto restarted = makeModel(QList<CampaignIDEProject> { projects.at(1), projects.first() });
    EXPECT_EQ(restarted->projectFolderPath(projects.first()), workspaceRoot() + u"/launch"_s);
}

// Two edited files kept in one sync: the notice names the first and counts the one other.
TEST_F(WorkspaceModelTest, TheNoticeOfTwoKeptCopiesNamesOneAndCountsTheOther)
{
    const CampaignIDEProject p = project(u"Launch"_s);
    const auto model = makeModel(QList<CampaignIDEProject> { p });
    ASSERT_TRUE(writeAll(projectFile(u"launch"_s, u"campaign-plan.md"_s), "my plan"));
    ASSERT_TRUE(writeAll(projectFile(u"launch"_s, u"creatives.json"_s), "my creatives"));

    model->forceSyncLocalFiles(u"Synced all campaign projects."_s);
    model->flushPendingWrites();
    const QStringList kept = QDir(workspaceRoot() + u"/launch"_s).entryList({ u"*.user-edit-*"_s }, QDir::Files);
    ASSERT_EQ(kept.size(), 2);
    const QString plan = kept.filter(u"campaign-plan."_s).value(0);
    ASSERT_FALSE(plan.isEmpty());
    const QString expected
        = u"Synced all campaign projects. Kept your edited file as ~/Documents/Orvane/launch/%1 and 1 more beside their files."_s
              .arg(plan);
    EXPECT_TRUE(QTest::qWaitFor([&] { return model->statusNotice() == expected; }))
        << utf8(model->statusNotice().value_or(QString()));
}

// A folder store that gives two projects one folder (written by hand, or by a faulty version) is
// mended: the first keeps the folder, the second gets one of its own.
TEST_F(WorkspaceModelTest, AFolderStoreThatSharesOneFolderStillGivesEachProjectItsOwn)
{
    const QList<CampaignIDEProject> projects { project(u"Launch"_s), project(u"Other"_s) };
    const QString store = home.dataHome() + u"/Orvane/project-folders.json"_s;
    ASSERT_TRUE(writeAll(store,
        "{\"" + projects.at(0).id.toString(QUuid::WithoutBraces).toUtf8() + "\": \"launch\", \""
            + projects.at(1).id.toString(QUuid::WithoutBraces).toUtf8() + "\": \"launch\"}"));

    const auto model = makeModel(projects);
    EXPECT_EQ(model->projectFolderPath(projects.at(0)), workspaceRoot() + u"/launch"_s);
    EXPECT_NE(model->projectFolderPath(projects.at(1)), model->projectFolderPath(projects.at(0)));
    EXPECT_TRUE(readAll(projectFile(u"launch"_s, u"campaign-plan.md"_s)).startsWith("# Launch"));
    EXPECT_TRUE(readAll(model->projectFolderPath(projects.at(1)) + u"/campaign-plan.md"_s).startsWith("# Other"));
}

// The mirror needs no workspace model: it writes the values it is handed, publishes on its own
// signals and says what happened through its notice callback, and its folders survive a restart.
TEST_F(WorkspaceModelTest, TheMirrorStandsAloneOnItsWriter)
{
    const QList<CampaignIDEProject> projects { project(u"Launch"_s), project(u"Launch"_s) };
    const QString folderStore = home.dataHome() + u"/Orvane/project-folders.json"_s;
    QStringList notices;
    WorkspaceDiskQueue disk(home.dataHome() + u"/Orvane/mirror-ledger.json"_s);
    {
        WorkspaceMirror mirror(workspaceRoot(), folderStore, disk, [&](const QString &n) { notices.append(n); });
        mirror.assignProjectFolders(projects);
        QSignalSpy listed(&mirror, &WorkspaceMirror::localFilesChanged);
        QSignalSpy reports(&mirror, &WorkspaceMirror::reportsChanged);
        mirror.reloadLocalFiles(projects.at(1));
        mirror.createLocalReport(u"Q4 Lift"_s, u"attribution"_s);
        mirror.flushPendingWrites();
        EXPECT_EQ(listed.count(), 1);
        EXPECT_EQ(mirror.selectedLocalFileName(), u"campaign-plan.md"_s);
        EXPECT_GE(reports.count(), 1);
        ASSERT_EQ(mirror.reports().size(), 1);
        EXPECT_EQ(notices, QStringList { u"Generated report & saved to ~/Documents/Orvane/reports/q4-lift.html"_s });
    }
    WorkspaceMirror restarted(workspaceRoot(), folderStore, disk, {});
    restarted.assignProjectFolders({ projects.at(1), projects.at(0) });
    EXPECT_EQ(restarted.projectFolderPath(projects.at(0)), workspaceRoot() + u"/launch"_s);
}

// A renamed project's folder takes what was still on its way to the old one: a thread-file write
// waiting when the project is renamed lands in the new folder, and the old folder does not come
// back; the mirror's record of what it wrote follows the folder, so the plan regenerated for the
// new name is written without a copy kept as the user's edit, and without a notice.
TEST_F(WorkspaceModelTest, ARenamedProjectsFolderTakesTheWritesWaitingForItAndTheMirrorsRecord)
{
    CampaignIDEProject p = project(u"Launch"_s);
    const CampaignIDEThread thread = threadOf(p, { row(u"Ops leaders"_s, 120, 3600, 90, 40) });
    QStringList notices;
    WorkspaceDiskQueue disk(home.dataHome() + u"/Orvane/mirror-ledger.json"_s);
    WorkspaceMirror mirror(workspaceRoot(), home.dataHome() + u"/Orvane/project-folders.json"_s, disk,
        [&](const QString &n) { notices.append(n); });
    mirror.assignProjectFolders({ p });
    mirror.syncProject(p);
    mirror.flushPendingWrites();
    ASSERT_TRUE(readAll(projectFile(u"launch"_s, u"campaign-plan.md"_s)).startsWith("# Launch"));

    // The writer is busy while the thread's files are handed over and the project is renamed.
    std::promise<void> release;
    disk.enqueue([gate = release.get_future().share()](WorkspaceDiskQueue &) { gate.wait(); });
    mirror.syncThreadFiles(thread, p, false);
    p.name = u"Relaunch"_s;
    ASSERT_TRUE(mirror.moveProjectFolder(p, { p }));
    mirror.syncProject(p);
    release.set_value();
    mirror.flushPendingWrites();

    EXPECT_FALSE(QFileInfo::exists(workspaceRoot() + u"/launch"_s));
    EXPECT_EQ(
        readAll(projectFile(u"relaunch"_s, u"media-plan.csv"_s)), WorkspaceFiles::mediaPlanCsv(thread.mediaPlanRows));
    EXPECT_TRUE(readAll(projectFile(u"relaunch"_s, u"campaign-plan.md"_s)).startsWith("# Relaunch"));
    EXPECT_TRUE(QDir(workspaceRoot() + u"/relaunch"_s).entryList({ u"*.user-edit-*"_s }, QDir::Files).isEmpty());
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// Links and FIFOs planted where the mirror writes are replaced, never followed or read from.
TEST_F(WorkspaceModelTest, TheMirrorReplacesLinksAndFifosInItsPlace)
{
    const CampaignIDEProject p = project(u"Launch"_s);
    const QString outside = home.path() + u"/outside.md"_s;
    ASSERT_TRUE(writeAll(outside, "not yours"));
    ASSERT_TRUE(QDir().mkpath(workspaceRoot() + u"/launch"_s));
    ASSERT_TRUE(QFile::link(outside, projectFile(u"launch"_s, u"campaign-plan.md"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(projectFile(u"launch"_s, u"creatives.json"_s)).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(home.dataHome() + u"/Orvane"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(home.dataHome() + u"/Orvane/mirror-ledger.json"_s).constData(), 0600), 0);

    const auto model = makeModel(QList<CampaignIDEProject> { p });
    EXPECT_EQ(readAll(outside), "not yours");
    EXPECT_FALSE(QFileInfo(projectFile(u"launch"_s, u"campaign-plan.md"_s)).isSymLink());
    EXPECT_TRUE(readAll(projectFile(u"launch"_s, u"campaign-plan.md"_s)).startsWith("# Launch"));
    EXPECT_EQ(readAll(projectFile(u"launch"_s, u"creatives.json"_s)), "[]");
    EXPECT_TRUE(QFileInfo(home.dataHome() + u"/Orvane/mirror-ledger.json"_s).isFile());
}

// A project folder, or the reports folder, that is a link out of the workspace is not written
// through: nothing lands outside, and every save that was refused says so rather than succeeding.
TEST_F(WorkspaceModelTest, NothingIsWrittenThroughALinkOutOfTheWorkspace)
{
    const CampaignIDEProject p = project(u"Q4 Enterprise Demand Gen"_s);
    const QString outside = home.path() + u"/outside"_s;
    const QString elsewhere = home.path() + u"/elsewhere"_s;
    ASSERT_TRUE(writeAll(outside + u"/notes.md"_s, "theirs"));
    ASSERT_TRUE(QDir().mkpath(elsewhere));
    ASSERT_TRUE(QDir().mkpath(workspaceRoot()));
    ASSERT_TRUE(QFile::link(outside, workspaceRoot() + u"/q4-enterprise-demand-gen"_s));
    ASSERT_TRUE(QFile::link(elsewhere, workspaceRoot() + u"/reports"_s));
    const auto untouched = [&] {
        return QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)
            == QStringList { u"notes.md"_s }
        && readAll(outside + u"/notes.md"_s) == "theirs"
            && QDir(elsewhere).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    };

    const auto model = makeModel(QList<CampaignIDEProject> { p });
    model->openProject(p.id);
    model->syncThreadArtifactsToDisk(model->threads().first());
    model->flushPendingWrites();
    EXPECT_TRUE(untouched());

    const auto noticeStartsWith = [&](const QString &prefix) {
        return QTest::qWaitFor([&] { return model->statusNotice().value_or(QString()).startsWith(prefix); });
    };
    model->forceSyncLocalFiles(u"Synced all campaign projects."_s);
    EXPECT_TRUE(noticeStartsWith(u"Failed to sync campaign projects to ~/Documents/Orvane: "_s));
    model->saveThreadToLocalWorkspace(model->threads().first().id);
    EXPECT_TRUE(noticeStartsWith(u"Could not save to ~/Documents/Orvane: "_s));
    model->createLocalReport(u"Q4 Lift"_s, u"attribution"_s);
    EXPECT_TRUE(noticeStartsWith(u"Failed to generate report "_s));

    // A file listed through the link is not saved back through it either.
    model->setSelectedLocalFileName(u"notes.md"_s);
    ASSERT_EQ(model->selectedLocalFileName(), u"notes.md"_s);
    model->updateSelectedLocalFileContent(u"mine"_s);
    model->saveSelectedLocalFile();
    EXPECT_TRUE(noticeStartsWith(u"Failed to save notes.md: "_s));
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    model->flushPendingWrites();
    EXPECT_TRUE(untouched());
}

TEST_F(WorkspaceModelTest, ThreadArtifactsHoldTheMediaPlanAndTheSortedTranscript)
{
    const CampaignIDEProject p = project(u"Q3 Pipeline Push"_s);
    auto model = makeModel(QList<CampaignIDEProject> { p });
    const CampaignIDEThread first = threadOf(p, { row(u"\"growth\" leads, VP"_s, 350.75, 10500.0, 155.9, 68) });
    const CampaignIDEThread second = threadOf(p, {});
    model->syncThreadArtifactsToDisk(first);
    model->flushPendingWrites();
    EXPECT_EQ(readAll(projectFile(u"q3-pipeline-push"_s, u"media-plan.csv"_s)),
        "Channel,Campaign Name,Funnel Stage,Audience,Format,Daily Budget ($),Monthly Budget ($),Bid Strategy,"
        "Target CPA ($),Est Conversions,Status\n"
        "\"LinkedIn\",\"ABM \"\"VP\"\" Flight\",\"Consideration\",\"\"\"growth\"\" leads, VP\",\"Single image\","
        "350,10500,\"Max conversions\",155,68,\"Draft\"\n");
    const QByteArray transcript = readAll(projectFile(u"q3-pipeline-push"_s, u"thread-transcript.json"_s));
    EXPECT_TRUE(transcript.startsWith("{\n  \"activeAgentTabID\": "));
    EXPECT_EQ(decodeJson<CampaignIDEThread>(transcript), first);

    // Two threads of one project: the folder describes the one synced last; no rows, header only.
    model->syncThreadArtifactsToDisk(second);
    model->flushPendingWrites();
    EXPECT_EQ(readAll(projectFile(u"q3-pipeline-push"_s, u"media-plan.csv"_s)).count('\n'), 1);
    EXPECT_EQ(
        decodeJson<CampaignIDEThread>(readAll(projectFile(u"q3-pipeline-push"_s, u"thread-transcript.json"_s))).id,
        second.id);

    // A thread whose project is gone writes nothing.
    CampaignIDEThread orphan = threadOf(project(u"Gone"_s), {});
    model->syncThreadArtifactsToDisk(orphan);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(workspaceRoot() + u"/gone"_s));
}

// No non-finite or out-of-range amount reaches a file as anything but a saturated whole number.
TEST(WorkspaceFilesTest, WholeNumbersTruncateAndSaturate)
{
    using WorkspaceFiles::wholeNumber;
    EXPECT_EQ(wholeNumber(350.75), u"350"_s);
    EXPECT_EQ(wholeNumber(-2.9), u"-2"_s);
    EXPECT_EQ(wholeNumber(std::numeric_limits<double>::quiet_NaN()), u"0"_s);
    EXPECT_EQ(wholeNumber(std::numeric_limits<double>::infinity()), u"9223372036854775807"_s);
    EXPECT_EQ(wholeNumber(-1e300), u"-9223372036854775808"_s);
}

// A name beside a file fits in a file name however long the file's is: the stem is cut between
// characters, the label, time and extension stay; an extension that leaves no room joins the stem.
// Where no name beside it is free (none can be told to be: its folder is a file) there is none.
TEST(WorkspaceFilesTest, ANameBesideAFileFitsInAFileNameAndIsNoneWhereNoneIsFree)
{
    const QTemporaryDir dir;
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // four bytes, two UTF-16 units
    const QRegularExpression ending(u"^\\.user-edit-\\d{8}T\\d{6}Z(-\\d+)?\\.md$"_s);
    for (const QString &stem : { QString(240, u'a'), QString(77, u'文'), emoji.repeated(60) }) {
        const QString file = dir.filePath(stem + u".md"_s);
        const QString first = WorkspaceFiles::besidePath(file, u"user-edit");
        ASSERT_TRUE(writeAll(first, "kept")) << utf8(first);
        for (const QString &name :
            { QFileInfo(first).fileName(), QFileInfo(WorkspaceFiles::besidePath(file, u"user-edit")).fileName() }) {
            const QString start = name.section(u".user-edit-"_s, 0, 0);
            EXPECT_LE(QFile::encodeName(name).size(), 255) << utf8(name);
            EXPECT_TRUE(!start.isEmpty() && start.isValidUtf16() && stem.startsWith(start)) << utf8(name);
            EXPECT_TRUE(ending.match(name.mid(start.size())).hasMatch()) << utf8(name);
        }
    }
    const QString allExtension = u"a."_s + QString(250, u'x');
    const QString name = QFileInfo(WorkspaceFiles::besidePath(dir.filePath(allExtension), u"user-edit")).fileName();
    EXPECT_LE(QFile::encodeName(name).size(), 255) << utf8(name);
    EXPECT_TRUE(name.startsWith(u"a.xx"_s) && name.contains(u".user-edit-"_s)) << utf8(name);

    ASSERT_TRUE(writeAll(dir.filePath(u"folder"_s), "not a folder"));
    EXPECT_EQ(WorkspaceFiles::besidePath(dir.filePath(u"folder/notes.md"_s), u"unsaved"), QString());
}

TEST_F(WorkspaceModelTest, AThreadWithANonFiniteAmountStillWritesItsSpreadsheet)
{
    const CampaignIDEProject p = project(u"Odd"_s);
    auto model = makeModel(QList<CampaignIDEProject> { p });
    const CampaignIDEThread t = threadOf(p, { row(u"a"_s, std::numeric_limits<double>::quiet_NaN(), 1e30, -1e30, 1) });
    model->syncThreadArtifactsToDisk(t);
    model->flushPendingWrites();
    EXPECT_TRUE(readAll(projectFile(u"odd"_s, u"media-plan.csv"_s))
                    .contains(",0,9223372036854775807,\"Max conversions\",-9223372036854775808,1,"));
    // The transcript cannot hold a non-finite number; it is skipped rather than written broken, and
    // the one written at start-up (the seed thread's) stays.
    const QByteArray transcript = readAll(projectFile(u"odd"_s, u"thread-transcript.json"_s));
    EXPECT_EQ(decodeJson<CampaignIDEThread>(transcript).id, model->threads().first().id);
}

} // namespace
} // namespace orvane::test
