#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "kit/support/JsonCoding.h"
#include "testsupport/Golden.h"
#include "testsupport/desktop/FileSizeLimit.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

constexpr auto sampleSlug = u"orvane-local-campaign-ide-launch";

TEST_F(WorkspaceModelTest, FirstLaunchStartsFromSamplesAndSeedsAndOpensTheFirstThread)
{
    const auto model = makeModel();
    ASSERT_EQ(model->projects().size(), 2);
    EXPECT_EQ(model->projects().at(0).id, CampaignIDEWorkspaceModel::sampleProjectID);
    EXPECT_EQ(utf8(model->projects().at(1).name), "Q4 Enterprise Demand Gen");
    ASSERT_EQ(model->agentProposals().size(), 1);
    ASSERT_TRUE(model->planProposal());
    EXPECT_EQ(model->connections().size(), 10);

    ASSERT_FALSE(model->threads().isEmpty());
    const CampaignIDEThread &first = model->threads().first();
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(first.id));
    EXPECT_EQ(model->selectedProjectID(), first.projectID);
    EXPECT_EQ(model->selectedArtboardID(), CampaignIDEWorkspaceModel::sampleArtboardID);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::document);
    EXPECT_DOUBLE_EQ(model->canvasZoom(), 0.65);

    // Nothing is saved at start-up.
    EXPECT_FALSE(QFileInfo::exists(stateFile()));
    EXPECT_FALSE(QFileInfo::exists(threadStoreFile()));

    // The opened project's generated files, in name order; the thread files join at the next reload.
    QList<QString> names;
    for (const LocalWorkspaceFile &file : model->localFiles())
        names.append(file.name);
    EXPECT_EQ(names, (QList<QString> { u"campaign-plan.md"_s, u"creatives.json"_s, u"execution-rules.md"_s }));
    EXPECT_EQ(model->selectedLocalFileID(), model->localFiles().first().id());
    model->reloadLocalFilesForSelectedProject();
    model->flushPendingWrites();
    EXPECT_EQ(model->localFiles().size(), 5);
}

// The sample project's folder, file by file, against the golden file; creatives.json decodes back.
TEST_F(WorkspaceModelTest, WritesEveryProjectFolderWithItsExactContents)
{
    const auto model = makeModel();
    const QString slug = QString::fromUtf16(sampleSlug);
    Json files = Json::object();
    const QDir folder(workspaceRoot() + u'/' + slug);
    for (const QString &name : folder.entryList(QDir::Files, QDir::Name))
        files[name.toStdString()] = readAll(folder.filePath(name)).toStdString();
    EXPECT_TRUE(matchesGolden("ide/model/golden/sample-project-folder.json", files));
    EXPECT_EQ(decodeJson<QList<CreativeCanvasArtboard>>(readAll(projectFile(slug, u"creatives.json"_s))),
        model->projects().first().creatives);
    EXPECT_TRUE(QFileInfo::exists(projectFile(u"q4-enterprise-demand-gen"_s, u"campaign-plan.md"_s)));
}

TEST_F(WorkspaceModelTest, ReloadsProjectsAndThreadsAcrossARestartWithInterruptedTurnsIdle)
{
    QUuid renamedThread;
    {
        const auto model = makeModel();
        model->mutateProject(model->projects().at(1).id, [](CampaignIDEProject &p) { p.name = u"Renamed"_s; });
        renamedThread = model->threads().first().id;
        model->mutateThread(renamedThread, [](CampaignIDEThread &t) {
            t.title = u"Kept title"_s;
            t.agentTabs.first().isStreaming = true; // a turn the exit interrupted
            t.agentTabs.first().statusText = u"Working"_s;
        });
    } // destruction flushes the writes

    // The stored forms: a compact JSON array each.
    const QByteArray state = readAll(stateFile());
    EXPECT_TRUE(state.startsWith("[{\"id\":\"C1000000-0000-0000-0000-000000000001\",\"name\":"));
    EXPECT_FALSE(state.contains('\n'));
    EXPECT_TRUE(readAll(threadStoreFile()).startsWith("[{\"id\":"));
    const QList<CampaignIDEThread> stored = readStoredThreads();
    ASSERT_FALSE(stored.isEmpty());
    EXPECT_EQ(stored.first().title, u"Kept title"_s);

    const auto restarted = makeModel();
    EXPECT_EQ(utf8(restarted->projects().at(1).name), "Renamed");
    ASSERT_FALSE(restarted->threads().isEmpty());
    EXPECT_EQ(restarted->threads().first().id, renamedThread);
    EXPECT_EQ(utf8(restarted->threads().first().title), "Kept title");
    // Selection is not persisted: the first thread is opened again.
    EXPECT_EQ(restarted->primaryDestination(), IDEPrimaryDestination::thread(renamedThread));
    // The interrupted turn's tab is idle again.
    const CampaignAgentTab tab = restarted->threads().first().agentTabs.first();
    EXPECT_FALSE(tab.isStreaming);
    EXPECT_FALSE(tab.statusText.has_value());
}

TEST_F(WorkspaceModelTest, EmptyOrMissingStoresFallBackToSamplesAndSeeds)
{
    {
        // An empty project list behaves like a missing file; an empty thread list stays empty.
        ASSERT_TRUE(writeAll(stateFile(), "[]"));
        ASSERT_TRUE(writeAll(legacyThreadStoreFile(), "[]"));
        const auto model = makeModel();
        EXPECT_EQ(model->projects().size(), 2);
        EXPECT_TRUE(model->threads().isEmpty());
        EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::projects());
        EXPECT_FALSE(model->selectedProjectID());
        EXPECT_FALSE(model->selectedArtboardID());
        // Without a selection the root is listed; it holds only folders.
        EXPECT_TRUE(model->localFiles().isEmpty());
    }
    {
        // Projects given to the initialiser are used unchanged and nothing is opened.
        const auto model = makeModel(QList<CampaignIDEProject> {});
        EXPECT_TRUE(model->projects().isEmpty());
        EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::projects());
    }
    {
        // Saving an empty project list writes "[]".
        const auto model = makeModel();
        model->setProjects({});
        model->flushPendingWrites();
        EXPECT_EQ(readAll(stateFile()), "[]");
    }
}

// An unreadable store falls back to samples or seeds but is never lost: it is set aside, under a
// name with the time, just before the first write over it.
TEST_F(WorkspaceModelTest, UnreadableStoresAreSetAsideBeforeTheFirstWriteOverThem)
{
    const QByteArray badState = R"([{"id":"C1000000-0000-0000-0000-000000000009","name":"No other keys"}])";
    const QByteArray badThreads = "[{\"id\": 12}";
    ASSERT_TRUE(writeAll(stateFile(), badState));
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), badThreads));

    const auto model = makeModel();
    EXPECT_EQ(model->projects().first().id, CampaignIDEWorkspaceModel::sampleProjectID);
    // Start-up wrote neither store, so both files are untouched.
    EXPECT_EQ(readAll(stateFile()), badState);
    EXPECT_EQ(readAll(legacyThreadStoreFile()), badThreads);

    model->savePersistedProjects();
    model->savePersistedThreads();
    model->flushPendingWrites();

    const QRegularExpression stamp(uR"re(\.unreadable-\d{8}T\d{6}Z$)re"_s);
    const auto asideOf = [&](const QString &path) {
        const QFileInfo info(path);
        const QStringList entries = QDir(info.absolutePath()).entryList({ info.fileName() + u".unreadable-*"_s });
        return entries;
    };
    const QStringList stateAside = asideOf(stateFile());
    ASSERT_EQ(stateAside.size(), 1);
    EXPECT_TRUE(stamp.match(stateAside.first()).hasMatch()) << utf8(stateAside.first());
    EXPECT_EQ(readAll(QFileInfo(stateFile()).absolutePath() + u'/' + stateAside.first()), badState);
    const QStringList threadsAside = asideOf(legacyThreadStoreFile());
    ASSERT_EQ(threadsAside.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(legacyThreadStoreFile()).absolutePath() + u'/' + threadsAside.first()), badThreads);

    // The new stores hold the model's lists.
    EXPECT_EQ(decodeJson<QList<CampaignIDEProject>>(readAll(stateFile())), model->projects());
}

// A FIFO where a store should be is never opened for reading (start-up would hang on it): the store
// counts as unreadable and is set aside before the first write.
TEST_F(WorkspaceModelTest, FifosInPlaceOfTheStoresNeitherHangNorStay)
{
    for (const QString &path : { stateFile(), threadStoreFile(), legacyThreadStoreFile() }) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath()));
        ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    }
    const auto model = makeModel();
    EXPECT_EQ(model->projects().first().id, CampaignIDEWorkspaceModel::sampleProjectID);
    model->savePersistedProjects();
    model->savePersistedThreads();
    model->flushPendingWrites();
    EXPECT_EQ(decodeJson<QList<CampaignIDEProject>>(readAll(stateFile())), model->projects());
    EXPECT_EQ(readStoredThreads(), model->threads());
}

// On a full disk a save fails and the stores keep what they held: never an empty or short file.
TEST_F(WorkspaceModelTest, AFullDiskLeavesTheStoresWhole)
{
    const auto model = makeModel();
    model->savePersistedProjects();
    model->savePersistedThreads();
    model->flushPendingWrites();
    const QByteArray state = readAll(stateFile());
    const QByteArray threads = readAll(threadStoreFile());
    {
        const FileSizeLimit full(8);
        model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Lost"_s; });
        model->mutateThread(model->threads().first().id, [](CampaignIDEThread &t) { t.title = u"Lost"_s; });
        model->flushPendingWrites();
    }
    EXPECT_EQ(readAll(stateFile()), state);
    EXPECT_EQ(readAll(threadStoreFile()), threads);
}

// An unreadable store that cannot be set aside is not written over either.
TEST_F(WorkspaceModelTest, AnUnreadableStoreThatCannotBeSetAsideIsNotWrittenOver)
{
    CampaignIDEWorkspaceModel::Locations locations = CampaignIDEWorkspaceModel::standardLocations();
    // Too long a name for the set-aside name to fit a file system's limit.
    locations.stateFile = home.dataHome() + u"/Orvane/"_s + QString(240, u's') + u".json"_s;
    ASSERT_TRUE(writeAll(locations.stateFile, "[{\"broken\""));
    CampaignIDEWorkspaceModel model(std::nullopt,
        new CampaignNotificationCenter({}, std::make_shared<RecordingAuthorizer>()), new CampaignCopilotStore(),
        locations);
    model.savePersistedProjects();
    model.flushPendingWrites();
    EXPECT_EQ(readAll(locations.stateFile), "[{\"broken\"");
}

TEST_F(WorkspaceModelTest, OpenProjectSelectsItGivesItAThreadAndActivatesTheCopilot)
{
    const auto model = makeModel();
    const QUuid second = model->projects().at(1).id;
    model->setLaunchConfirmationProjectID(model->selectedProjectID());
    model->openProject(second);
    model->flushPendingWrites();
    EXPECT_EQ(model->selectedProjectID(), second);
    EXPECT_FALSE(model->launchConfirmationProjectID());
    EXPECT_EQ(model->notificationCenter()->projectFilter(), second);
    EXPECT_EQ(model->selectedArtboardID(), model->projects().at(1).creatives.first().id);
    ASSERT_TRUE(model->primaryDestination().threadID());
    const QUuid threadID = *model->primaryDestination().threadID();
    const auto thread = std::find_if(model->threads().cbegin(), model->threads().cend(),
        [&](const CampaignIDEThread &t) { return t.id == threadID; });
    ASSERT_NE(thread, model->threads().cend());
    EXPECT_EQ(thread->projectID, second);
    ASSERT_TRUE(model->copilotStore()->activeScope());
    EXPECT_EQ(model->copilotStore()->activeScope()->projectID, second);
    EXPECT_TRUE(model->localFiles().first().url.toLocalFile().contains(u"/q4-enterprise-demand-gen/"));

    // An unknown id does nothing.
    model->openProject(QUuid::createUuid());
    EXPECT_EQ(model->selectedProjectID(), second);
}

TEST_F(WorkspaceModelTest, ExtractDomainTakesTheFirstQualifyingPiece)
{
    using M = CampaignIDEWorkspaceModel;
    EXPECT_EQ(M::extractDomain(u"see https://x.com then (Acme.IO), ok"_s), u"acme.io"_s);
    EXPECT_EQ(M::extractDomain(u"a.b  spy on rival.com,"_s), u"rival.com"_s);
    EXPECT_FALSE(M::extractDomain(u"no dots here at all"_s));
    EXPECT_FALSE(M::extractDomain(u"http.example.com"_s));
    EXPECT_FALSE(M::extractDomain(QString()));
}

TEST_F(WorkspaceModelTest, CanvasZoomRefusesNonFiniteAndOutOfRangeValues)
{
    const auto model = makeModel();
    EXPECT_FALSE(model->setCanvasZoom(std::numeric_limits<double>::quiet_NaN()));
    EXPECT_FALSE(model->setCanvasZoom(std::numeric_limits<double>::infinity()));
    EXPECT_FALSE(model->setCanvasZoom(1e9));
    EXPECT_DOUBLE_EQ(model->canvasZoom(), 0.65);
    EXPECT_TRUE(model->setCanvasZoom(1.5));
    EXPECT_DOUBLE_EQ(model->canvasZoom(), 1.5);
}

// The workspace root follows the desktop's documents folder as its user-dirs file names it, and texts
// show it with "~" for the home folder.
struct DocumentsCase {
    const char *userDirsLine; // empty: no user-dirs file
    const char *rootUnderHome;
    const char *shown;
};

class DocumentsFolderTest : public WorkspaceModelTest, public ::testing::WithParamInterface<DocumentsCase> { };

TEST_P(DocumentsFolderTest, TheWorkspaceRootIsOrvaneInTheDocumentsFolder)
{
    const DocumentsCase &c = GetParam();
    if (*c.userDirsLine) {
        ASSERT_TRUE(writeAll(home.configHome() + u"/user-dirs.dirs"_s, QByteArray(c.userDirsLine) + '\n'));
    }
    const auto model = makeModel();
    const QString expected = home.path() + QString::fromUtf8(c.rootUnderHome);
    EXPECT_EQ(model->localWorkspaceRoot(), expected);
    EXPECT_EQ(utf8(model->shownWorkspaceRoot()), c.shown);
    EXPECT_TRUE(QFileInfo(expected + u"/" + sampleSlug).isDir());
    const QList<CampaignTimelineEntry> &seeded = model->threads().constFirst().agentTabs.constFirst().entries;
    EXPECT_TRUE(std::ranges::any_of(seeded, [&](const auto &e) {
        return e.text.contains(u'`' + model->shownWorkspaceRoot());
    })) << "the seeded thread names the real root";
}

INSTANTIATE_TEST_SUITE_P(UserDirs, DocumentsFolderTest,
    ::testing::Values(DocumentsCase { "", "/Documents/Orvane", "~/Documents/Orvane" },
        DocumentsCase { "XDG_DOCUMENTS_DIR=\"$HOME/Papiers\"", "/Papiers/Orvane", "~/Papiers/Orvane" },
        // Naming the home folder itself turns the documents folder off: the usual one is taken.
        DocumentsCase { "XDG_DOCUMENTS_DIR=\"$HOME/\"", "/Documents/Orvane", "~/Documents/Orvane" }));

TEST_F(WorkspaceModelTest, OnlyPathsInsideTheHomeFolderAreShownWithATilde)
{
    EXPECT_EQ(utf8(WorkspaceFiles::shownPath(home.path() + u"/a/../Docs/Orvane"_s)), "~/Docs/Orvane");
    EXPECT_EQ(utf8(WorkspaceFiles::shownPath(home.path())), "~");
    // A sibling whose name starts with the home folder's is not inside it.
    EXPECT_EQ(WorkspaceFiles::shownPath(home.path() + u"-other/Orvane"_s), home.path() + u"-other/Orvane"_s);
    EXPECT_EQ(utf8(WorkspaceFiles::shownPath(u"/srv/Orvane"_s)), "/srv/Orvane");
}

} // namespace
} // namespace orvane::test
