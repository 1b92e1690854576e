// What the stores do about failed writes, lost or damaged files and files met from earlier runs,
// each seen across a restart: a model (or store) started again on the same folders.

#include "ide/model/StoreRescue.h"
#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceLocations.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"
#include "platform/UserDefaults.h"
#include "testsupport/desktop/FileSizeLimit.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QRegularExpression>
#include <QTest>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <condition_variable>
#include <functional>
#include <future>
#include <mutex>
#include <string>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

// A disk as slow as a test wants it, without a timer: while a HeldSyncs lives, the sync of each
// write of the file it names (of the temporary written in its place) waits until the test lets it
// go. fsync() at the end of this file asks.
struct {
    std::mutex mutex;
    std::condition_variable letGoChanged;
    QByteArray mark; // the held temporaries' names begin with it; empty: none held
    int waiting = 0;
    int letGo = 0;
} syncHold;

void waitIfHeld(int fd)
{
    std::unique_lock lock(syncHold.mutex);
    if (syncHold.mark.isEmpty())
        return;
    std::array<char, 4096> target {};
    const ssize_t size = ::readlink(("/proc/self/fd/" + std::to_string(fd)).c_str(), target.data(), target.size());
    const QByteArray path(target.data(), std::max<ssize_t>(size, 0));
    if (!path.mid(path.lastIndexOf('/') + 1).startsWith(syncHold.mark))
        return;
    ++syncHold.waiting;
    syncHold.letGoChanged.wait(lock, [] { return syncHold.letGo > 0 || syncHold.mark.isEmpty(); });
    --syncHold.waiting;
    syncHold.letGo = std::max(syncHold.letGo - 1, 0);
}

class HeldSyncs final {
public:
    explicit HeldSyncs(const QString &name)
    {
        const std::lock_guard lock(syncHold.mutex);
        syncHold.mark = "." + name.toUtf8() + ".orvane-tmp-";
    }
    ~HeldSyncs()
    {
        const std::lock_guard lock(syncHold.mutex);
        syncHold.mark.clear();
        syncHold.letGo = 0;
        syncHold.letGoChanged.notify_all();
    }
    HeldSyncs(const HeldSyncs &) = delete;
    HeldSyncs &operator=(const HeldSyncs &) = delete;

    // Whether a write waits for its sync now (one not let go).
    [[nodiscard]] static bool oneWaits()
    {
        return QTest::qWaitFor([] {
            const std::lock_guard lock(syncHold.mutex);
            return syncHold.waiting > syncHold.letGo;
        });
    }
    static void letOneGo()
    {
        const std::lock_guard lock(syncHold.mutex);
        ++syncHold.letGo;
        syncHold.letGoChanged.notify_all();
    }
};

class StoreRecoveryTest : public WorkspaceModelTest {
protected:
    [[nodiscard]] QString bodyFile(const QUuid &id) const
    {
        return threadStoreFolder() + u'/' + id.toString(QUuid::WithoutBraces).toUpper() + u".json"_s;
    }

    // A model started on the stores a first run saved: the seeds and the samples, all written.
    std::unique_ptr<CampaignIDEWorkspaceModel> restartedModel()
    {
        {
            const auto first = makeModel();
            first->savePersistedProjects();
            first->savePersistedThreads();
        }
        return startAgain();
    }

    // Quits (the model goes) and starts a new model on the same folders.
    std::unique_ptr<CampaignIDEWorkspaceModel> startAgain(std::unique_ptr<CampaignIDEWorkspaceModel> running = {})
    {
        running.reset();
        notices.clear();
        auto model = makeModel();
        if (model->statusNotice()) // told while it started
            notices.append(*model->statusNotice());
        watchNotices(*model);
        return model;
    }

    // A start that has done what it does at once: its writes flushed and what it queued told.
    std::unique_ptr<CampaignIDEWorkspaceModel> settledStart(std::unique_ptr<CampaignIDEWorkspaceModel> running = {})
    {
        auto model = startAgain(std::move(running));
        model->flushPendingWrites();
        QCoreApplication::sendPostedEvents(model.get(), QEvent::MetaCall);
        return model;
    }

    void watchNotices(CampaignIDEWorkspaceModel &model)
    {
        QObject::connect(&model, &CampaignIDEWorkspaceModel::statusNoticeChanged, &model, [this, &model] {
            if (!model.statusNotice())
                return;
            notices.append(*model.statusNotice());
            if (model.statusNoticeKind() == NoticeKind::warning)
                warnings.append(*model.statusNotice());
        });
    }

    [[nodiscard]] qsizetype noticesContaining(const QString &text) const
    {
        return std::ranges::count_if(notices, [&](const QString &notice) { return notice.contains(text); });
    }

    // Appends a user entry with the text to the thread's first tab, as a turn does.
    static void addEntry(CampaignIDEWorkspaceModel &model, const QUuid &threadID, const QString &text)
    {
        ASSERT_TRUE(model.mutateThread(threadID, [&](CampaignIDEThread &thread) {
            ASSERT_FALSE(thread.agentTabs.isEmpty());
            thread.agentTabs.first().entries.append(CampaignTimelineEntry {
                .id = QUuid::createUuid(),
                .role = CampaignTimelineEntry::EntryRole::user,
                .authorName = u"You"_s,
                .text = text,
                .timestamp = u"Just now"_s,
                .toolInvocations = {},
                .inlineApproval = std::nullopt,
                .artifactLink = std::nullopt,
            });
        }));
    }

    [[nodiscard]] static bool holdsEntry(const CampaignIDEThread &thread, const QString &text)
    {
        for (const CampaignAgentTab &tab : thread.agentTabs) {
            for (const CampaignTimelineEntry &entry : tab.entries) {
                if (entry.text == text)
                    return true;
            }
        }
        return false;
    }

    [[nodiscard]] std::optional<CampaignIDEThread> storedThread(const QUuid &id) const
    {
        for (const CampaignIDEThread &thread : readStoredThreads()) {
            if (thread.id == id)
                return thread;
        }
        return std::nullopt;
    }

    [[nodiscard]] static QList<QUuid> ids(const QList<CampaignIDEThread> &threads)
    {
        QList<QUuid> ids;
        for (const CampaignIDEThread &thread : threads)
            ids.append(thread.id);
        return ids;
    }

    // Every file and folder under path with what any change to it changes: kind, links, size, time
    // and inode (a folder's time moves with every name made, removed or renamed in it).
    [[nodiscard]] static std::string listing(const QString &path)
    {
        QStringList entries;
        QDirIterator it(
            path, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        QStringList paths { path };
        while (it.hasNext())
            paths.append(it.next());
        for (const QString &entry : std::as_const(paths)) {
            struct stat info { };
            if (::lstat(QFile::encodeName(entry).constData(), &info) != 0)
                continue;
            entries.append(entry.mid(path.size())
                + QString::asprintf(": mode %o links %llu size %lld time %lld.%09ld inode %llu", info.st_mode,
                    static_cast<unsigned long long>(info.st_nlink), static_cast<long long>(info.st_size),
                    static_cast<long long>(info.st_mtim.tv_sec), info.st_mtim.tv_nsec,
                    static_cast<unsigned long long>(info.st_ino)));
        }
        entries.sort();
        return utf8(entries.join(u'\n'));
    }

    QStringList notices;
    QStringList warnings; // the notices shown with a warning sign
};

// --- Failed writes ----------------------------------------------------------------------------------

// A write the disk refuses is not forgotten: the thread stays due and lands with the next save once
// there is room, or when the model goes; the user hears of it once per spell of failures.
TEST_F(StoreRecoveryTest, AFailedWriteStaysDueIsToldOnceAndLandsWithTheNextSaveOrAtQuit)
{
    auto model = restartedModel();
    const QUuid unread = model->threads().at(1).id;
    const QUuid other = model->threads().last().id;
    ASSERT_FALSE(model->hasThreadBody(unread));
    {
        const FileSizeLimit full(8);
        addEntry(*model, unread, u"fullA"_s);
        model->flushPendingWrites();
        addEntry(*model, unread, u"fullB"_s);
        model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Renamed"_s; });
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save the thread"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u"Could not save your campaign projects"_s), 1) << utf8(notices.join(u'\n'));
    ASSERT_TRUE(storedThread(unread));
    EXPECT_FALSE(holdsEntry(*storedThread(unread), u"fullA"_s));

    // Room again: a change of another thread writes the one that failed with it.
    model->renameThread(other, u"Later"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(storedThread(unread));
    EXPECT_TRUE(holdsEntry(*storedThread(unread), u"fullB"_s));

    // A second spell is told again, and quitting makes up for it.
    {
        const FileSizeLimit full(8);
        addEntry(*model, unread, u"fullC"_s);
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save the thread"_s), 2);
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projects().first().name, u"Renamed"_s);
    model->openThread(unread);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(unread); }));
    EXPECT_TRUE(holdsEntry(*model->thread(unread), u"fullC"_s));
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// A project renamed while the disk refuses the folder store keeps its files where the store on disk
// says: its folder moves only once the store naming the new one has landed (here at quit, once there
// is room again), and meanwhile what is written for it goes to the folder its files are in. The next
// start finds the project in its renamed folder with the user's files, and the old folder is not
// made again. A run that ended between the store's write and the move finds them where they were.
TEST_F(StoreRecoveryTest, ARenameWhileTheFolderStoreIsRefusedMovesTheFolderOnlyOnceTheStoreLands)
{
    auto model = restartedModel();
    const QUuid id = model->projects().first().id;
    model->setSelectedProjectID(id);
    const QString before = model->projectFolderPath(*model->project(id));
    const QString after = workspaceRoot() + u"/renamed-launch"_s;
    ASSERT_TRUE(writeAll(before + u"/notes.md"_s, "mine"));
    {
        const FileSizeLimit full(8);
        model->updateSelectedProjectName(u"Renamed Launch"_s);
        model->flushPendingWrites();
    }
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    EXPECT_EQ(readAll(before + u"/notes.md"_s), "mine");
    EXPECT_FALSE(QFileInfo::exists(after));
    EXPECT_EQ(noticesContaining(u"Could not save where your project folders are"_s), 1) << utf8(notices.join(u'\n'));

    // Room again: a file saved before the store lands goes to the folder its files are still in.
    model->reloadLocalFilesForSelectedProject();
    model->flushPendingWrites();
    model->setSelectedLocalFileName(u"notes.md"_s);
    ASSERT_EQ(model->selectedLocalFileName(), u"notes.md"_s);
    EXPECT_EQ(model->selectedLocalFile()->id(), after + u"/notes.md"_s);
    model->updateSelectedLocalFileContent(u"saved while the move waited"_s);
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(model->statusNotice(), u"Saved notes.md to disk."_s);
    EXPECT_EQ(readAll(before + u"/notes.md"_s), "saved while the move waited");
    EXPECT_EQ(model->revealFolderPath(), before);
    EXPECT_FALSE(QFileInfo::exists(after));

    model = startAgain(std::move(model));
    EXPECT_EQ(model->project(id)->name, u"Renamed Launch"_s);
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(before));
    EXPECT_EQ(readAll(after + u"/notes.md"_s), "saved while the move waited");
    EXPECT_TRUE(readAll(after + u"/campaign-plan.md"_s).startsWith("# Renamed Launch"));
    EXPECT_TRUE(QDir(after).entryList({ u"*.user-edit-*"_s }).isEmpty());
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // The store names a new folder, the folder has not moved: the project keeps its files' folder,
    // and the store says so from then on.
    model.reset();
    const QString store = home.dataHome() + u"/Orvane/project-folders.json"_s;
    const QByteArray key = id.toString(QUuid::WithoutBraces).toUtf8();
    ASSERT_TRUE(writeAll(store, "{\"" + key + "\": \"later\", \"leaving:" + key + "\": \"renamed-launch\"}"));
    model = startAgain();
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(workspaceRoot() + u"/later"_s));
    EXPECT_EQ(readAll(after + u"/notes.md"_s), "saved while the move waited");
    const auto stored = decodeJson<QMap<QString, QString>>(readAll(store));
    EXPECT_EQ(stored.value(QString::fromUtf8(key)), u"renamed-launch"_s);
    EXPECT_FALSE(stored.contains(u"leaving:"_s + QString::fromUtf8(key)));

    // A folder of the new name made while the move waited: once the store lands, the project keeps
    // the folder its files are in, and says so.
    model->setSelectedProjectID(id);
    {
        const FileSizeLimit full(8);
        model->updateSelectedProjectName(u"Third Launch"_s);
        model->flushPendingWrites();
    }
    ASSERT_TRUE(QDir().mkpath(workspaceRoot() + u"/third-launch"_s));
    model->savePersistedThreads();
    model->flushPendingWrites();
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    EXPECT_EQ(readAll(after + u"/notes.md"_s), "saved while the move waited");
    EXPECT_TRUE(QDir(workspaceRoot() + u"/third-launch"_s).isEmpty());
    EXPECT_EQ(
        noticesContaining(
            u"Kept the folder ~/Documents/Orvane/renamed-launch: ~/Documents/Orvane/third-launch already exists."_s),
        1)
        << utf8(notices.join(u'\n'));
    const auto settled = decodeJson<QMap<QString, QString>>(readAll(store));
    EXPECT_EQ(settled.value(QString::fromUtf8(key)), u"renamed-launch"_s);
}

// The folder store that lands for a rename names the folder the project's files leave, and each
// spell of the store's failures is told, the second as the first.
TEST_F(StoreRecoveryTest, TheFolderStoreNamesTheFolderLeftAndEachSpellOfItsFailuresIsTold)
{
    auto model = restartedModel();
    const QUuid id = model->projects().first().id;
    model->setSelectedProjectID(id);
    const QString left = model->projectFolderName(*model->project(id));
    const QString store = home.dataHome() + u"/Orvane/project-folders.json"_s;
    const QString key = id.toString(QUuid::WithoutBraces);
    {
        const FileSizeLimit full(8);
        model->updateSelectedProjectName(u"Renamed Launch"_s);
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save where your project folders are"_s), 1) << utf8(notices.join(u'\n'));
    model->savePersistedThreads(); // room again: the store is written with the next save
    model->flushPendingWrites();
    const auto stored = decodeJson<QMap<QString, QString>>(readAll(store));
    EXPECT_EQ(stored.value(key), u"renamed-launch"_s);
    EXPECT_EQ(stored.value(u"leaving:"_s + key), left);
    EXPECT_TRUE(QFileInfo(workspaceRoot() + u"/renamed-launch"_s).isDir());

    {
        const FileSizeLimit full(8);
        model->updateSelectedProjectName(u"Third Launch"_s);
        model->flushPendingWrites();
    }
    EXPECT_EQ(noticesContaining(u"Could not save where your project folders are"_s), 2) << utf8(notices.join(u'\n'));
}

// A rename lands in two stores one after the other: the folder store with the folder's move, then
// the projects' store with the name. Whichever a killed process leaves behind, the next start puts
// the project's files in the folder of the name it has, and they stay there.
TEST_F(StoreRecoveryTest, AfterAKillBetweenAFolderMoveAndTheProjectsWriteNameAndFolderAgree)
{
    auto model = restartedModel();
    const QUuid id = model->projects().first().id;
    model->setSelectedProjectID(id);
    const QString name = model->project(id)->name;
    const QString before = model->projectFolderPath(*model->project(id));
    const QString after = workspaceRoot() + u"/renamed-launch"_s;
    ASSERT_TRUE(writeAll(before + u"/notes.md"_s, "mine"));
    const QByteArray oldState = readAll(stateFile());
    model->updateSelectedProjectName(u"Renamed Launch"_s);
    model->flushPendingWrites();
    ASSERT_EQ(readAll(after + u"/notes.md"_s), "mine");
    const QByteArray newState = readAll(stateFile());
    ASSERT_NE(newState, oldState);
    const QString folderStore = home.dataHome() + u"/Orvane/project-folders.json"_s;
    const QByteArray renamedFolders = readAll(folderStore); // as it landed before the folder moved

    // Killed once the folder had moved, before the projects' store took the new name.
    model.reset();
    ASSERT_TRUE(writeAll(stateFile(), oldState));
    model = startAgain();
    EXPECT_EQ(model->project(id)->name, name);
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), before);
    model->flushPendingWrites();
    EXPECT_EQ(readAll(before + u"/notes.md"_s), "mine");
    EXPECT_TRUE(readAll(before + u"/campaign-plan.md"_s).startsWith(QByteArray("# ").append(name.toUtf8())));
    EXPECT_FALSE(QFileInfo::exists(after));
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), before);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // Killed with the new name stored and the folder store naming the move, before the folder moved.
    model.reset();
    ASSERT_TRUE(writeAll(folderStore, renamedFolders));
    ASSERT_TRUE(writeAll(stateFile(), newState));
    model = startAgain();
    EXPECT_EQ(model->project(id)->name, u"Renamed Launch"_s);
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    model->flushPendingWrites();
    EXPECT_EQ(readAll(after + u"/notes.md"_s), "mine");
    EXPECT_FALSE(QFileInfo::exists(before));
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // A project made while the folder moves (its store on a slow disk) writes the folder store again:
    // that write keeps the identity the move took, so killed before the projects' store took the
    // name, the start still moves the folder back.
    model->setSelectedProjectID(id);
    const QString third = workspaceRoot() + u"/third-launch"_s;
    {
        const HeldSyncs held(u"project-folders.json"_s);
        model->updateSelectedProjectName(u"Third Launch"_s);
        ASSERT_TRUE(held.oneWaits());
        model->createProject(u"Newcomer"_s, std::nullopt, static_cast<SessionStore *>(nullptr));
    }
    model->flushPendingWrites();
    ASSERT_EQ(readAll(third + u"/notes.md"_s), "mine");
    model.reset();
    ASSERT_TRUE(writeAll(stateFile(), newState));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->projectFolderPath(*model->project(id)), after);
    EXPECT_EQ(readAll(after + u"/notes.md"_s), "mine");
    EXPECT_FALSE(QFileInfo::exists(third));
}

// A rename's record outlives the move until the next start, and by then the folder under the old
// name may be someone else's: a new project's that took the free name, or one the user made by hand
// after archiving the renamed folder. The start moves only the folder the rename took; any other
// stays as it is, with its notes, and the user is told once. A record of an earlier version, which
// does not say which folder the rename took, moves nothing either.
TEST_F(StoreRecoveryTest, AStartMovesOnlyTheFolderARenameTookNeverOneMadeSinceUnderItsOldName)
{
    auto model = restartedModel();
    const QUuid renamed = model->projects().first().id;
    const QString oldName = model->project(renamed)->name;
    const QString before = model->projectFolderPath(*model->project(renamed));
    const QString after = workspaceRoot() + u"/renamed-launch"_s;
    const QString archive = home.path() + u"/archive"_s;
    const auto shown = [](const QString &path) { return WorkspaceFiles::shownPath(path); };
    const auto leftNotice = [&](const QString &folder, const QString &name, const QString &goesTo) -> QString {
        return u"Left the folder "_s + shown(folder) + u" as it is: it may no longer hold the files of “"_s + name
            + u"”, which go to "_s + shown(goesTo) + u'.';
    };
    model->setSelectedProjectID(renamed);
    model->updateSelectedProjectName(u"Renamed Launch"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(QFileInfo(after).isDir());
    ASSERT_FALSE(QFileInfo::exists(before));

    // A new project takes the old name's folder, the user keeps a note there and archives the
    // renamed folder.
    const QUuid newcomer = model->createProject(oldName, std::nullopt, static_cast<SessionStore *>(nullptr));
    model->flushPendingWrites();
    ASSERT_EQ(model->projectFolderPath(*model->project(newcomer)), before);
    ASSERT_TRUE(writeAll(before + u"/notes.md"_s, "the newcomer's note"));
    const QByteArray newcomerPlan = readAll(before + u"/campaign-plan.md"_s);
    ASSERT_TRUE(QDir().rename(after, archive));
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_EQ(model->projectFolderPath(*model->project(newcomer)), before);
    EXPECT_EQ(model->projectFolderPath(*model->project(renamed)), after);
    EXPECT_EQ(readAll(before + u"/notes.md"_s), "the newcomer's note");
    EXPECT_EQ(readAll(before + u"/campaign-plan.md"_s), newcomerPlan);
    EXPECT_TRUE(readAll(after + u"/campaign-plan.md"_s).startsWith("# Renamed Launch"));
    EXPECT_FALSE(QFileInfo::exists(after + u"/notes.md"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices, QStringList { leftNotice(before, u"Renamed Launch"_s, after) });
    model = startAgain(std::move(model));
    QCoreApplication::processEvents();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // A folder the user made by hand under the old name, the renamed one archived.
    const auto other = std::ranges::find_if(
        model->projects(), [&](const CampaignIDEProject &p) { return p.id != renamed && p.id != newcomer; });
    ASSERT_NE(other, model->projects().cend());
    const QUuid second = other->id;
    const QString secondBefore = model->projectFolderPath(*model->project(second));
    const QString secondAfter = workspaceRoot() + u"/second-renamed"_s;
    model->setSelectedProjectID(second);
    model->updateSelectedProjectName(u"Second Renamed"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(QFileInfo(secondAfter).isDir());
    ASSERT_TRUE(writeAll(secondBefore + u"/notes.md"_s, "my own folder"));
    ASSERT_TRUE(QDir().rename(secondAfter, archive + u"-2"_s));
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_EQ(model->projectFolderPath(*model->project(second)), secondAfter);
    EXPECT_EQ(QDir(secondBefore).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { u"notes.md"_s });
    EXPECT_TRUE(readAll(secondAfter + u"/campaign-plan.md"_s).startsWith("# Second Renamed"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices, QStringList { leftNotice(secondBefore, u"Second Renamed"_s, secondAfter) });

    // Records of an earlier version: the folder another project claims stays its; an unclaimed folder
    // under the old name stays as it is too, and the project's files go to its new name's folder.
    model.reset();
    const QString key = renamed.toString(QUuid::WithoutBraces);
    const QString secondKey = second.toString(QUuid::WithoutBraces);
    const QString newcomerKey = newcomer.toString(QUuid::WithoutBraces);
    ASSERT_TRUE(QDir().rename(after, archive + u"-3"_s));
    ASSERT_TRUE(QDir().rename(secondAfter, archive + u"-4"_s));
    const QMap<QString, QString> earlier { { key, u"renamed-launch"_s },
        { u"leaving:"_s + key, QFileInfo(before).fileName() }, { newcomerKey, QFileInfo(before).fileName() },
        { secondKey, u"second-renamed"_s }, { u"leaving:"_s + secondKey, QFileInfo(secondBefore).fileName() } };
    ASSERT_TRUE(writeAll(home.dataHome() + u"/Orvane/project-folders.json"_s, encodeJson(earlier)));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(utf8(model->projectFolderPath(*model->project(newcomer))), utf8(before));
    EXPECT_EQ(utf8(model->projectFolderPath(*model->project(renamed))), utf8(after));
    EXPECT_EQ(utf8(model->projectFolderPath(*model->project(second))), utf8(secondAfter));
    EXPECT_EQ(readAll(before + u"/notes.md"_s), "the newcomer's note");
    EXPECT_EQ(readAll(before + u"/campaign-plan.md"_s), newcomerPlan);
    EXPECT_EQ(QDir(secondBefore).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
        QStringList { u"notes.md"_s });
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notices.isEmpty(); }));
    EXPECT_EQ(notices.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u" 1 more folder of a renamed project was left as it is too."_s), 1);
}

// Two renames in quick succession on a slow disk: the second comes while the first move's folder
// store is still on its way to the disk. The second move takes the folder where the first one put
// it: after every start the project's folder holds the user's files, and no folder is left under
// the first name. A kill before the projects' store took the second name finds them too.
TEST_F(StoreRecoveryTest, ASecondRenameWhileTheFirstMoveIsUnderWayTakesTheFolderWhereThatMovePutIt)
{
    auto model = restartedModel();
    const QUuid id = model->projects().first().id;
    model->setSelectedProjectID(id);
    const QString before = model->projectFolderPath(*model->project(id));
    const QString first = workspaceRoot() + u"/renamed-launch"_s;
    const QString second = workspaceRoot() + u"/third-launch"_s;
    const QString folderStore = home.dataHome() + u"/Orvane/project-folders.json"_s;
    const QString key = id.toString(QUuid::WithoutBraces);
    ASSERT_TRUE(writeAll(before + u"/my-notes.md"_s, "mine"));
    {
        const HeldSyncs held(u"project-folders.json"_s);
        model->updateSelectedProjectName(u"Renamed Launch"_s);
        ASSERT_TRUE(held.oneWaits());
        model->updateSelectedProjectName(u"Third Launch"_s);
        held.letOneGo();
        ASSERT_TRUE(held.oneWaits()); // the second store, the first folder moved
        EXPECT_EQ(readAll(first + u"/my-notes.md"_s), "mine");
    }
    model->flushPendingWrites();
    const QByteArray landed = readAll(folderStore);
    const auto stored = decodeJson<QMap<QString, QString>>(landed);
    EXPECT_EQ(utf8(stored.value(key)), "third-launch");
    EXPECT_EQ(utf8(stored.value(u"leaving:"_s + key)), "renamed-launch");
    for (int start = 0; start < 2; ++start) {
        model = startAgain(std::move(model));
        model->flushPendingWrites();
        EXPECT_EQ(model->project(id)->name, u"Third Launch"_s);
        EXPECT_EQ(utf8(model->projectFolderPath(*model->project(id))), utf8(second));
        EXPECT_EQ(readAll(second + u"/my-notes.md"_s), "mine");
        EXPECT_FALSE(QFileInfo::exists(first));
        EXPECT_FALSE(QFileInfo::exists(before));
        QCoreApplication::processEvents();
        EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    }

    // Killed once the second folder had moved, before the projects' store took the second name.
    model.reset();
    ASSERT_TRUE(writeAll(folderStore, landed));
    ASSERT_TRUE(writeAll(stateFile(), readAll(stateFile()).replace("Third Launch", "Renamed Launch")));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->project(id)->name, u"Renamed Launch"_s);
    EXPECT_EQ(utf8(model->projectFolderPath(*model->project(id))), utf8(first));
    EXPECT_EQ(readAll(first + u"/my-notes.md"_s), "mine");
    EXPECT_FALSE(QFileInfo::exists(second));
    QCoreApplication::processEvents();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // Named back while the move away from that name is under way: the files come back with it.
    model->setSelectedProjectID(id);
    {
        const HeldSyncs held(u"project-folders.json"_s);
        model->updateSelectedProjectName(u"Third Launch"_s);
        ASSERT_TRUE(held.oneWaits());
        model->updateSelectedProjectName(u"Renamed Launch"_s);
    }
    model->flushPendingWrites();
    const QByteArray namedBack = readAll(folderStore); // as it landed before the folder moved back
    // The files are in the folder of the name the project has, and nothing is left under the other.
    const auto expectTheFilesUnderTheName = [&] {
        EXPECT_EQ(utf8(model->projectFolderPath(*model->project(id))), utf8(first));
        EXPECT_EQ(readAll(first + u"/my-notes.md"_s), "mine");
        EXPECT_FALSE(QFileInfo::exists(second));
        QCoreApplication::processEvents();
        EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    };
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    expectTheFilesUnderTheName();

    // Killed once that store had landed, before the folder moved back: the start moves it.
    model.reset();
    ASSERT_TRUE(QDir().rename(first, second));
    ASSERT_TRUE(writeAll(folderStore, namedBack));
    model = startAgain();
    model->flushPendingWrites();
    expectTheFilesUnderTheName();
}

// The mirror's record of what it wrote names its files from the workspace root: after the home
// folder moves, with the workspace and the data in it, the files it wrote are still its own, so
// what the next start writes replaces them without keeping them as the user's edits and without a
// word (here a project changed in the stores the last run left, before its folder was written); an
// edit the user makes after the move is still kept.
TEST_F(StoreRecoveryTest, AfterTheHomeFolderMovesTheMirrorStillKnowsTheFilesItWrote)
{
    struct HomeAt {
        explicit HomeAt(const QString &path)
            : home("HOME", QFile::encodeName(path)),
              config("XDG_CONFIG_HOME", QFile::encodeName(path + u"/.config"_s)),
              data("XDG_DATA_HOME", QFile::encodeName(path + u"/.local/share"_s)),
              cache("XDG_CACHE_HOME", QFile::encodeName(path + u"/.cache"_s))
        {
        }
        ScopedEnvironmentVariable home, config, data, cache;
    };
    const QString oldHome = home.path() + u"/old-home"_s;
    const QString newHome = home.path() + u"/moved-home"_s;
    QUuid projectID;
    {
        const HomeAt at(oldHome);
        const auto first = restartedModel();
        projectID = first->projects().first().id;
        const QByteArray objective = first->projects().first().objective.toUtf8();
        ASSERT_TRUE(
            readAll(first->projectFolderPath(first->projects().first()) + u"/campaign-plan.md"_s).contains(objective));
        QByteArray state = readAll(CampaignIDEWorkspaceModel::standardLocations().stateFile);
        ASSERT_TRUE(state.contains(objective));
        ASSERT_TRUE(writeAll(CampaignIDEWorkspaceModel::standardLocations().stateFile,
            state.replace(objective, "Changed before its folder was written")));
    }
    ASSERT_TRUE(QDir().rename(oldHome, newHome));
    const HomeAt at(newHome);
    auto model = startAgain();
    const QString folder = model->projectFolderPath(*model->project(projectID));
    ASSERT_TRUE(folder.startsWith(newHome + u"/Documents/Orvane/"_s));
    const auto keptCopies = [&] {
        QStringList copies;
        QDirIterator it(
            newHome + u"/Documents/Orvane"_s, { u"*.user-edit-*"_s }, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            copies.append(it.next());
        return copies;
    };
    model->flushPendingWrites();
    QCoreApplication::processEvents();
    EXPECT_TRUE(readAll(folder + u"/campaign-plan.md"_s).contains("Changed before its folder was written"));
    EXPECT_EQ(keptCopies(), QStringList()) << utf8(keptCopies().join(u'\n'));
    EXPECT_EQ(noticesContaining(u"Kept your edited file"_s), 0) << utf8(notices.join(u'\n'));

    ASSERT_TRUE(writeAll(folder + u"/campaign-plan.md"_s, "# my plan"));
    model->mutateProject(projectID, [](CampaignIDEProject &p) { p.objective = u"Second objective"_s; });
    model->flushPendingWrites();
    ASSERT_EQ(keptCopies().size(), 1);
    EXPECT_EQ(readAll(keptCopies().first()), "# my plan");
    EXPECT_TRUE(QTest::qWaitFor([&] { return noticesContaining(u"Kept your edited file as "_s) == 1; }));
}

// A new thread's body that fails to land keeps the index from naming it: after a crash the list
// is the one before, never a thread that opens empty.
TEST_F(StoreRecoveryTest, AnIndexNeverNamesANewBodyThatFailedToLand)
{
    auto model = restartedModel();
    const QByteArray index = readAll(threadStoreFile());
    {
        // Room for an index, not for a thread's body.
        const FileSizeLimit full(index.size() + 2048);
        model->createNewThread({ .title = u"Fresh"_s });
        model->flushPendingWrites();
    }
    EXPECT_EQ(readAll(threadStoreFile()), index);
    EXPECT_EQ(noticesContaining(u"Could not save the thread “Fresh”"_s), 1) << utf8(notices.join(u'\n'));
}

// A body write that replaces one still waiting keeps that one's place ahead of the index: a
// process killed right after the index landed leaves every body the index names.
TEST_F(StoreRecoveryTest, ABodyRewrittenBeforeTheWriterGotToItStillLandsBeforeTheIndex)
{
    const QString folder = home.path() + u"/threads"_s;
    const QString killed = home.path() + u"/killed"_s;
    QList<CampaignIDEThread> threads
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    CampaignIDEThread fresh = threads.first();
    {
        WorkspaceDiskQueue disk(home.path() + u"/ledger.json"_s);
        ThreadStore store(folder, folder + u".legacy.json"_s, disk);
        ASSERT_FALSE(store.load());
        for (const CampaignIDEThread &thread : std::as_const(threads))
            store.addNew(thread.id);
        store.save(threads);
        disk.flush();

        // The writer is busy while a thread is made and then changed in its body only.
        std::promise<void> release;
        disk.enqueue([gate = release.get_future().share()](WorkspaceDiskQueue &) { gate.wait(); });
        fresh.id = QUuid::createUuid();
        fresh.title = u"Fresh"_s;
        store.addNew(fresh.id);
        threads.prepend(fresh);
        store.save(threads);
        threads.first().dryRunEnabled = !fresh.dryRunEnabled;
        store.save(threads);

        // The files as the index lands are what a kill right then leaves.
        disk.setJobFinishedHook([&](const QString &key) {
            if (key != u"threads:index"_s)
                return;
            QDir().mkpath(killed);
            for (const QString &name : QDir(folder).entryList(QDir::Files))
                QFile::copy(folder + u'/' + name, killed + u'/' + name);
        });
        release.set_value();
        disk.flush();
    }

    WorkspaceDiskQueue disk(home.path() + u"/ledger.json"_s);
    ThreadStore store(killed, killed + u".legacy.json"_s, disk);
    const auto heads = store.load();
    ASSERT_TRUE(heads);
    ASSERT_EQ(heads->size(), threads.size());
    EXPECT_EQ(heads->first().id, fresh.id);
    const auto body = store.readStoredBody(fresh.id);
    ASSERT_TRUE(body);
    EXPECT_EQ(body->agentTabs, fresh.agentTabs);
}

// --- Lost and damaged bodies ------------------------------------------------------------------------

// A body that is damaged or gone is never replaced by an empty shell: the damaged file is kept
// aside, one notice says where, and the thread opens with a tab the user can go on in.
TEST_F(StoreRecoveryTest, ALostOrDamagedBodyIsKeptAsideAndTheThreadGetsAUsableTab)
{
    auto model = restartedModel();
    model->createNewThread({ .title = u"Shown first"_s });
    model = startAgain(std::move(model));
    ASSERT_EQ(model->threads().size(), 3);
    const CampaignIDEThread damaged = model->threads().at(1);
    const CampaignIDEThread missing = model->threads().at(2);
    ASSERT_TRUE(writeAll(bodyFile(damaged.id), "{\"id\":"));
    ASSERT_TRUE(QFile::remove(bodyFile(missing.id)));
    model = startAgain(std::move(model));

    model->openThread(damaged.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged.id); }));
    const CampaignIDEThread *opened = model->thread(damaged.id);
    ASSERT_EQ(opened->agentTabs.size(), 1);
    EXPECT_EQ(opened->activeAgentTabID, opened->agentTabs.first().id);
    EXPECT_EQ(opened->title, damaged.title);
    model->flushPendingWrites();
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), "{\"id\":");
    ASSERT_EQ(notices.size(), 1);
    EXPECT_TRUE(notices.first().contains(kept.first())) << utf8(notices.first());

    // The composer of its tab sends, and what it sent is there after a restart.
    const QUuid tab = opened->agentTabs.first().id;
    model->sendMessageInThread(damaged.id, tab, u"Plan a search test"_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->agentTurns().idle(); }, 5000));

    model->openThread(missing.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(missing.id); }));
    EXPECT_EQ(model->thread(missing.id)->agentTabs.size(), 1);
    model->flushPendingWrites();
    EXPECT_EQ(noticesContaining(u"“"_s + missing.title + u"” could not be read"_s), 1) << utf8(notices.join(u'\n'));

    model = startAgain(std::move(model));
    model->openThread(damaged.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged.id); }));
    EXPECT_TRUE(holdsEntry(*model->thread(damaged.id), u"Plan a search test"_s));
    model->openThread(missing.id);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(missing.id); }));
    EXPECT_EQ(model->thread(missing.id)->agentTabs.size(), 1);
    model->flushPendingWrites();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// A body lost on disk that the start-up pass meets while the disk refuses writes: the pass ends, the
// user hears of the loss and of the failed save once each, and "Force Sync Local Files" leaves the
// folder's files of the last good body alone and stores the new first tab.
TEST_F(StoreRecoveryTest, ALostBodyMetByTheStartUpPassOnAFullDiskIsStoredOnceThereIsRoom)
{
    auto model = restartedModel();
    ASSERT_TRUE(storedThread(model->threads().at(1).id));
    const CampaignIDEThread lost = *storedThread(model->threads().at(1).id);
    ASSERT_FALSE(model->hasThreadBody(lost.id));
    const QString folder = model->projectFolderName(*model->project(lost.projectID));
    const QString transcript = projectFile(folder, u"thread-transcript.json"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
    model->flushPendingWrites();
    ASSERT_EQ(readAll(transcript), WorkspaceFiles::threadTranscriptJson(lost));
    ASSERT_TRUE(writeAll(bodyFile(lost.id), "{\"id\":"));

    CampaignIDEThread restarted;
    {
        const FileSizeLimit full(8);
        model = startAgain(std::move(model));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
        model->flushPendingWrites();
        ASSERT_TRUE(model->hasThreadBody(lost.id));
        restarted = *model->thread(lost.id);
    }
    ASSERT_EQ(restarted.agentTabs.size(), 1);
    EXPECT_EQ(noticesContaining(u"“"_s + lost.title + u"” could not be read"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u"Could not save the thread “"_s + lost.title), 1) << utf8(notices.join(u'\n'));
    // The damaged file stays in its place while nothing has replaced it.
    EXPECT_TRUE(QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s }).isEmpty());
    EXPECT_EQ(readAll(bodyFile(lost.id)), "{\"id\":");

    // Room again, the thread's write still due: a force sync keeps the last good body's files, and
    // tries the write again.
    model->forceSyncLocalFiles(u"Synced projects and threads."_s);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            model->flushPendingWrites();
            return notices.contains(u"Synced projects and threads."_s);
        },
        10000))
        << utf8(notices.join(u'\n'));
    EXPECT_EQ(readAll(transcript), WorkspaceFiles::threadTranscriptJson(lost));
    ASSERT_TRUE(storedThread(lost.id));
    EXPECT_EQ(storedThread(lost.id)->agentTabs, restarted.agentTabs);
    // Its new body landed: only now is the damaged file kept aside, and the user hears where.
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), "{\"id\":");
    EXPECT_EQ(noticesContaining(kept.first()), 1) << utf8(notices.join(u'\n'));

    // The next start reads the new first tab and has nothing to say.
    model = startAgain(std::move(model));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->isSyncingStoredThreadFiles(); }, 10000));
    model->openThread(lost.id);
    model->flushPendingWrites();
    EXPECT_EQ(model->thread(lost.id)->agentTabs, restarted.agentTabs);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    EXPECT_EQ(QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s }).size(), 1);
}

// The disk still refuses the stores' writes as the model ends with nobody to ask (a termination
// signal): what they were to write goes to a rescue copy where it can be written, and the next start
// brings it back and says so. While the disk still refuses it, the stores read the copy's files; the
// copy goes once they have landed. A failed save is told with a warning sign.
TEST_F(StoreRecoveryTest, WhatTheDiskStillRefusesAtTheEndIsRescuedAndBroughtBackAtTheNextStart)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QUuid other = model->threads().last().id;
    const QUuid project = model->projects().first().id;
    ASSERT_TRUE(model->hasThreadBody(shown));
    {
        const FileSizeLimit full(8);
        addEntry(*model, shown, u"told"_s);
        model->flushPendingWrites();
    }
    ASSERT_EQ(warnings.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(warnings.first().startsWith(u"Could not save the thread"_s)) << utf8(warnings.first());

    // The stores' folders refuse every write; the cache folder takes the copy.
    const QString dataFolder = QFileInfo(stateFile()).path();
    const auto refuse = [](const QString &folder) {
        ASSERT_TRUE(QDir().rename(folder, folder + u".away"_s));
        ASSERT_TRUE(writeAll(folder, "not a folder"));
    };
    const auto allow = [](const QString &folder) {
        ASSERT_TRUE(QFile::remove(folder));
        ASSERT_TRUE(QDir().rename(folder + u".away"_s, folder));
    };
    refuse(threadStoreFolder());
    refuse(dataFolder);
    addEntry(*model, shown, u"rescued message"_s);
    model->mutateProject(project, [](CampaignIDEProject &p) { p.name = u"Rescued Name"_s; });
    model->flushPendingWrites();
    model.reset();
    const QString copy = home.path() + u"/.cache/Orvane/rescue.json"_s;
    ASSERT_TRUE(QFileInfo::exists(copy));
    allow(threadStoreFolder());
    allow(dataFolder);
    ASSERT_TRUE(storedThread(shown));
    EXPECT_FALSE(holdsEntry(*storedThread(shown), u"rescued message"_s));

    // Started while the disk still refuses them: the copy's files are what the stores hold, and the
    // copy stays.
    {
        const FileSizeLimit full(8);
        model = startAgain();
        EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
        model->flushPendingWrites();
        EXPECT_EQ(model->project(project)->name, u"Rescued Name"_s);
        ASSERT_TRUE(model->hasThreadBody(shown));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"told"_s));
        ASSERT_FALSE(notices.isEmpty());
        EXPECT_TRUE(notices.first().startsWith(u"Orvane brought back what it could not save when it last quit: "_s))
            << utf8(notices.first());
        EXPECT_TRUE(notices.first().contains(u"your campaign projects"_s)) << utf8(notices.first());
        EXPECT_TRUE(QFileInfo::exists(copy));
    }
    // Room again: the next change that lands takes the copy's files with it, and the copy goes.
    model->renameThread(other, u"Later"_s);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_TRUE(storedThread(shown));
    EXPECT_TRUE(holdsEntry(*storedThread(shown), u"rescued message"_s));

    model = startAgain(std::move(model));
    EXPECT_EQ(model->project(project)->name, u"Rescued Name"_s);
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));

    // Room at the first start after: the copy lands at once and goes.
    refuse(dataFolder);
    model->mutateProject(project, [](CampaignIDEProject &p) { p.name = u"Renamed Again"_s; });
    model->flushPendingWrites();
    model.reset();
    allow(dataFolder);
    ASSERT_TRUE(QFileInfo::exists(copy));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Renamed Again"_s);
    EXPECT_EQ(noticesContaining(u"brought back"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(readAll(stateFile()).contains("Renamed Again"));
}

// While it lives, every write in the folder fails: it is a file in the folder's place.
class RefusedFolder final {
public:
    explicit RefusedFolder(QString folder) : m_folder(std::move(folder))
    {
        EXPECT_TRUE(QDir().rename(m_folder, m_folder + u".away"_s));
        EXPECT_TRUE(writeAll(m_folder, "not a folder"));
    }
    ~RefusedFolder()
    {
        EXPECT_TRUE(QFile::remove(m_folder));
        EXPECT_TRUE(QDir().rename(m_folder + u".away"_s, m_folder));
    }
    RefusedFolder(const RefusedFolder &) = delete;
    RefusedFolder &operator=(const RefusedFolder &) = delete;

private:
    QString m_folder;
};

// While it lives, nothing in the folder can be made, renamed or removed, as in a folder the user may
// not write; its files are read as ever. For root, which passes permissions, it is made immutable.
class UnwritableFolder final {
public:
    explicit UnwritableFolder(const QString &folder) : m_folder(QFile::encodeName(folder))
    {
        m_held = ::chmod(m_folder.constData(), 0555) == 0 && (::geteuid() != 0 || setImmutable(true));
    }
    ~UnwritableFolder()
    {
        if (::geteuid() == 0)
            setImmutable(false);
        ::chmod(m_folder.constData(), 0755);
    }
    UnwritableFolder(const UnwritableFolder &) = delete;
    UnwritableFolder &operator=(const UnwritableFolder &) = delete;
    [[nodiscard]] bool held() const { return m_held; }

private:
    bool setImmutable(bool on)
    {
        const int fd = ::open(m_folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0)
            ::close(fd);
        return done;
    }

    QByteArray m_folder;
    bool m_held = false;
};

// The data and cache folders kept from being written: a rescue copy in them can neither go nor be
// listed as done with, so every start meets it. held(): whether both could be held here.
class CopyHeldInPlace final {
public:
    CopyHeldInPlace(const QString &home, const QString &dataFolder)
        : m_data(dataFolder), m_cached(made(home + u"/.cache/Orvane"_s))
    {
    }
    [[nodiscard]] bool held() const { return m_data.held() && m_cached.held(); }

private:
    static QString made(const QString &folder)
    {
        QDir().mkpath(folder);
        return folder;
    }

    UnwritableFolder m_data;
    UnwritableFolder m_cached;
};

// An old copy met after newer work (the start between did not meet it: it could not read it, or
// reached the folders by another name) writes over nothing: the version of a store that changed
// since is kept beside it under a name of its own and the user is told; a store still as the copy
// found it gets the copy's version. The copy goes, and the next start says nothing.
TEST_F(StoreRecoveryTest, AnOldRescueCopyKeepsItsVersionBesideNewerWorkAndBringsBackTheRest)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QUuid project = model->projects().first().id;
    {
        const RefusedFolder threads(threadStoreFolder());
        const RefusedFolder data(QFileInfo(stateFile()).path());
        addEntry(*model, shown, u"rescued message"_s);
        model->mutateProject(project, [](CampaignIDEProject &p) { p.name = u"Rescued Name"_s; });
        model->flushPendingWrites();
        model.reset();
    }
    const QString copy = home.path() + u"/.cache/Orvane/rescue.json"_s;
    ASSERT_TRUE(QFile::rename(copy, copy + u".unseen"_s));
    model = startAgain();
    addEntry(*model, shown, u"later message"_s);
    model->flushPendingWrites();
    model.reset();
    ASSERT_TRUE(QFile::rename(copy + u".unseen"_s, copy));

    model = startAgain();
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Rescued Name"_s);
    ASSERT_TRUE(model->hasThreadBody(shown));
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"later message"_s));
    EXPECT_FALSE(holdsEntry(*model->thread(shown), u"rescued message"_s));
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.rescued-*.json"_s });
    EXPECT_TRUE(std::ranges::any_of(kept, [&](const QString &name) {
        return readAll(threadStoreFolder() + u'/' + name).contains("rescued message");
    })) << utf8(kept.join(u' '));
    ASSERT_EQ(notices.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(notices.first().contains(u"changed since"_s)) << utf8(notices.first());
    EXPECT_TRUE(notices.first().contains(kept.value(0))) << utf8(notices.first());
    EXPECT_FALSE(QFileInfo::exists(copy));

    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    EXPECT_EQ(QDir(threadStoreFolder()).entryList({ u"*.rescued-*.json"_s }), kept);
}

// A copy whose files landed in a start that could not remove it (its folder may not be written) is
// never taken up again: later work stays, nobody is told anything, and it goes once it can.
TEST_F(StoreRecoveryTest, ACopyWhoseFilesLandedIsNeverTakenUpAgainEvenWhereItCannotBeRemoved)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    {
        const RefusedFolder threads(threadStoreFolder());
        addEntry(*model, shown, u"rescued message"_s);
        model->flushPendingWrites();
        model.reset();
    }
    const QString copy = QFileInfo(stateFile()).path() + u"/rescue.json"_s;
    ASSERT_TRUE(QFileInfo::exists(copy));
    {
        const UnwritableFolder data(QFileInfo(stateFile()).path());
        if (!data.held())
            GTEST_SKIP() << "no folder here can be kept from being written";
        model = startAgain();
        model->flushPendingWrites();
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
        addEntry(*model, shown, u"later message"_s);
        model->flushPendingWrites();

        model = startAgain(std::move(model));
        model->flushPendingWrites();
        EXPECT_TRUE(QFileInfo::exists(copy));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"later message"_s));
        // (The mirror's ledger beside the copy is not saved either: it says so of its files.)
        EXPECT_EQ(noticesContaining(u"last quit"_s), 0) << utf8(notices.join(u'\n'));
        model.reset();
    }
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"later message"_s));
    EXPECT_EQ(noticesContaining(u"last quit"_s), 0) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(QDir(threadStoreFolder()).entryList({ u"*.rescued-*"_s }).isEmpty());
}

// A copy that can be neither removed nor listed as done with (no place for the list takes a write)
// is met at every start: its version of a store file changed since, and the text it kept, go beside
// their files once, and the starts after write nothing more and say nothing.
TEST_F(StoreRecoveryTest, ACopyThatCanNeitherGoNorBeListedKeepsItsVersionAsideOnlyOnce)
{
    const ScopedEnvironmentVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QString local = QFileInfo(model->selectedLocalFile()->url.toLocalFile()).path();
    {
        const RefusedFolder threads(threadStoreFolder());
        const RefusedFolder files(local);
        addEntry(*model, shown, u"rescued message"_s);
        model->updateSelectedLocalFileContent(u"rescued text"_s);
        ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
        model.reset();
    }
    const QString copy = QFileInfo(stateFile()).path() + u"/rescue.json"_s;
    ASSERT_TRUE(QFileInfo::exists(copy));
    const CopyHeldInPlace copyHeld(home.path(), QFileInfo(stateFile()).path());
    if (!copyHeld.held())
        GTEST_SKIP() << "no folder here can be kept from being written";
    const auto start = [&] { model = settledStart(std::move(model)); };
    const auto unsaved = [&] { return QDir(local).entryList({ u"*.unsaved-*"_s }); };
    start();
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
    ASSERT_EQ(unsaved().size(), 1);
    EXPECT_EQ(readAll(local + u'/' + unsaved().first()), "rescued text");
    addEntry(*model, shown, u"later message"_s);
    model->flushPendingWrites();

    const auto rescued = [&] { return QDir(threadStoreFolder()).entryList({ u"*.rescued-*"_s }); };
    start();
    const QStringList kept = rescued();
    EXPECT_FALSE(kept.isEmpty());
    EXPECT_EQ(noticesContaining(u"changed since"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(u"kept the text"_s), 0) << utf8(notices.join(u'\n'));
    for (int again = 0; again < 2; ++again) {
        start();
        EXPECT_TRUE(QFileInfo::exists(copy));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"later message"_s));
        EXPECT_EQ(rescued(), kept) << utf8(rescued().join(u' '));
        EXPECT_EQ(unsaved().size(), 1) << utf8(unsaved().join(u' '));
        EXPECT_EQ(noticesContaining(u"last quit"_s), 0) << utf8(notices.join(u'\n'));
    }
    model.reset();
}

// Text kept for files whose names leave no room for the label and time (240 letters; 77 characters
// of three bytes each) comes back beside each under a name that fits, its stem cut between
// characters; a copy that can neither go nor be listed as done with puts it there once.
TEST_F(StoreRecoveryTest, UnsavedTextOfFilesWithLongNamesComesBackBesideThemOnce)
{
    const ScopedEnvironmentVariable runtime("XDG_RUNTIME_DIR", std::nullopt);
    auto model = restartedModel();
    const QString local = QFileInfo(model->selectedLocalFile()->url.toLocalFile()).path();
    const QStringList stems { QString(240, u'a'), QString(77, u'文') };
    for (const QString &stem : stems)
        ASSERT_TRUE(writeAll(local + u'/' + stem + u".md"_s, "on disk"));
    model->reloadLocalFilesForSelectedProject();
    model->flushPendingWrites();
    {
        const RefusedFolder files(local);
        for (const QString &stem : stems)
            ASSERT_TRUE(model->mirror().updateLocalFileNamed(stem + u".md"_s, u"typed into "_s + stem));
        ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
        model.reset();
    }
    const CopyHeldInPlace copyHeld(home.path(), QFileInfo(stateFile()).path());
    if (!copyHeld.held())
        GTEST_SKIP() << "no folder here can be kept from being written";
    const auto start = [&] { model = settledStart(std::move(model)); };
    const auto unsaved = [&] { return QDir(local).entryList({ u"*.unsaved-*.md"_s }); };
    start();
    const QStringList kept = unsaved();
    ASSERT_EQ(kept.size(), stems.size()) << utf8(notices.join(u'\n'));
    for (const QString &name : kept) {
        const QString cut = name.section(u".unsaved-"_s, 0, 0);
        const auto stem = std::ranges::find_if(stems, [&](const QString &full) { return full.startsWith(cut); });
        ASSERT_TRUE(!cut.isEmpty() && stem != stems.cend()) << utf8(name);
        EXPECT_LE(QFile::encodeName(name).size(), 255) << utf8(name);
        EXPECT_EQ(readAll(local + u'/' + name), (u"typed into "_s + *stem).toUtf8());
        EXPECT_EQ(noticesContaining(name), 1) << utf8(notices.join(u'\n'));
    }
    start();
    EXPECT_EQ(unsaved(), kept);
    EXPECT_EQ(noticesContaining(u"last quit"_s), 0) << utf8(notices.join(u'\n'));
    model.reset();
}

// What the copy recorded of a store file (its folder could be read but not written) decides whether
// the file changed since, not its time: one only touched since gets the copy's version, one changed
// at the same size with its old time put back keeps it beside instead.
TEST_F(StoreRecoveryTest, TheRecordedFileNotItsTimeTellsWhetherAStoreFileChangedSinceTheCopy)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QString body = bodyFile(shown);
    bool held = true;
    const auto rescue = [&](const QString &text) {
        const UnwritableFolder threads(threadStoreFolder());
        held = threads.held();
        addEntry(*model, shown, text);
        model->flushPendingWrites();
        model.reset();
    };
    const auto setTime = [](const QString &path, const QDateTime &time) {
        QFile file(path);
        return file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFileDevice::FileModificationTime);
    };
    rescue(u"rescued message"_s);
    if (!held)
        GTEST_SKIP() << "no folder here can be kept from being written";
    ASSERT_TRUE(readAll(QFileInfo(stateFile()).path() + u"/rescue.json"_s).contains("sha256"));
    ASSERT_TRUE(setTime(body, QDateTime::currentDateTimeUtc().addSecs(60)));
    model = startAgain();
    model->flushPendingWrites();
    ASSERT_TRUE(model->hasThreadBody(shown));
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
    EXPECT_EQ(noticesContaining(u"changed since"_s), 0) << utf8(notices.join(u'\n'));

    const QDateTime before = QFileInfo(body).lastModified();
    rescue(u"second message"_s);
    QByteArray changed = readAll(body);
    ASSERT_TRUE(changed.contains("rescued message"));
    ASSERT_TRUE(writeAll(body, changed.replace("rescued message", "rescued massage")));
    ASSERT_TRUE(setTime(body, before));
    model = startAgain();
    model->flushPendingWrites();
    ASSERT_TRUE(model->hasThreadBody(shown));
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued massage"_s));
    EXPECT_FALSE(holdsEntry(*model->thread(shown), u"second message"_s));
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.rescued-*"_s });
    EXPECT_TRUE(std::ranges::any_of(kept, [&](const QString &name) {
        return readAll(threadStoreFolder() + u'/' + name).contains("second message");
    })) << utf8(kept.join(u' '));
}

// Of two copies naming the same store file, the newer one's version comes back and the older one's
// is kept beside it, whatever the places the copies are in; both copies go.
TEST_F(StoreRecoveryTest, OfTwoCopiesTheNewerDecidesAndTheOlderVersionIsKeptAside)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QString older = QFileInfo(stateFile()).path() + u"/rescue.json"_s;
    const QString newer = home.path() + u"/.cache/Orvane/rescue.json"_s;
    const auto rescue = [&](const QString &text) {
        const RefusedFolder threads(threadStoreFolder());
        addEntry(*model, shown, text);
        model->flushPendingWrites();
        model.reset();
    };
    rescue(u"older message"_s);
    ASSERT_TRUE(QFile::rename(older, older + u".held"_s));
    model = startAgain();
    rescue(u"newer message"_s);
    // The newer copy in the place read after the older one's.
    ASSERT_TRUE(QDir().mkpath(QFileInfo(newer).path()));
    ASSERT_TRUE(QFile::rename(older, newer));
    ASSERT_TRUE(QFile::rename(older + u".held"_s, older));
    ASSERT_LT(QFileInfo(older).lastModified(), QFileInfo(newer).lastModified());

    model = startAgain();
    model->flushPendingWrites();
    ASSERT_TRUE(model->hasThreadBody(shown));
    EXPECT_TRUE(holdsEntry(*model->thread(shown), u"newer message"_s));
    EXPECT_FALSE(holdsEntry(*model->thread(shown), u"older message"_s));
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.rescued-*"_s });
    EXPECT_TRUE(std::ranges::any_of(kept, [&](const QString &name) {
        return readAll(threadStoreFolder() + u'/' + name).contains("older message");
    })) << utf8(kept.join(u' '));
    EXPECT_FALSE(QFileInfo::exists(older));
    EXPECT_FALSE(QFileInfo::exists(newer));
}

// The write-back of a thread body through the copy keeps the damaged body it replaces, as every
// other store write does.
TEST_F(StoreRecoveryTest, ADamagedBodyReplacedThroughTheRescueCopyIsKeptAside)
{
    auto model = restartedModel();
    const QUuid damaged = model->threads().at(1).id;
    model.reset();
    ASSERT_TRUE(writeAll(bodyFile(damaged), "{\"id\":"));
    {
        const UnwritableFolder threads(threadStoreFolder());
        if (!threads.held())
            GTEST_SKIP() << "no folder here can be kept from being written";
        model = startAgain();
        model->openThread(damaged);
        ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged); }));
        addEntry(*model, damaged, u"replacement text"_s);
        model->flushPendingWrites();
        model.reset();
    }
    model = startAgain();
    model->flushPendingWrites();
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), "{\"id\":");
    model->openThread(damaged);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged); }));
    EXPECT_TRUE(holdsEntry(*model->thread(damaged), u"replacement text"_s));
}

// Folders spelled with a trailing slash are the same folders: a copy made so is brought back. A copy
// cut short is set aside under a name of its own and the start says where; the next says nothing.
TEST_F(StoreRecoveryTest, EverySpellingOfAFolderMeetsItsCopyAndACutCopyIsSetAsideAndNamed)
{
    auto model = restartedModel();
    const QUuid project = model->projects().first().id;
    const QString copy = home.path() + u"/.cache/Orvane/rescue.json"_s;
    const auto rescueName = [&](const QString &name) {
        const RefusedFolder data(QFileInfo(stateFile()).path());
        model->mutateProject(project, [&](CampaignIDEProject &p) { p.name = name; });
        model->flushPendingWrites();
        model.reset();
    };
    {
        const ScopedEnvironmentVariable config("XDG_CONFIG_HOME", QFile::encodeName(home.configHome() + u'/'));
        const ScopedEnvironmentVariable data("XDG_DATA_HOME", QFile::encodeName(home.dataHome() + u"//"_s));
        EXPECT_EQ(WorkspaceLocations::standard().stateFile, stateFile());
        model = startAgain(std::move(model));
        rescueName(u"Slashed Name"_s);
    }
    EXPECT_FALSE(readAll(copy).contains("//")) << readAll(copy).toStdString();
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Slashed Name"_s);
    EXPECT_FALSE(QFileInfo::exists(copy));

    // Through a link of another name to the data folder: the same folder.
    rescueName(u"Linked Name"_s);
    const QByteArray dataFolder = QFile::encodeName(QFileInfo(stateFile()).path() + u'/');
    const QString link = home.path() + u"/linked-data"_s;
    ASSERT_TRUE(QFile::link(QFileInfo(stateFile()).path(), link));
    QByteArray linked = readAll(copy);
    ASSERT_TRUE(linked.contains(dataFolder));
    ASSERT_TRUE(writeAll(copy, linked.replace(dataFolder, QFile::encodeName(link + u'/'))));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Linked Name"_s);
    EXPECT_FALSE(QFileInfo::exists(copy));
    EXPECT_EQ(noticesContaining(u"brought back"_s), 1) << utf8(notices.join(u'\n'));

    rescueName(u"Cut Name"_s);
    const QByteArray cut = readAll(copy).chopped(20);
    ASSERT_TRUE(writeAll(copy, cut));
    model = startAgain();
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
    model->flushPendingWrites();
    EXPECT_EQ(model->project(project)->name, u"Linked Name"_s);
    const QStringList aside = QDir(QFileInfo(copy).path()).entryList({ u"rescue.unreadable-*.json"_s });
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(copy).path() + u'/' + aside.first()), cut);
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_EQ(notices.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(notices.first().contains(u"could not read"_s)) << utf8(notices.first());
    EXPECT_TRUE(notices.first().contains(u"~/.cache/Orvane/"_s + aside.first())) << utf8(notices.first());
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// A copy naming a file outside the stores is not followed: nothing of it is written, and it is set
// aside whole under a dated name, which the start names once. A copy kept later goes to the first
// place that takes it and the copies in other places go.
TEST_F(StoreRecoveryTest, ACopyNamingFilesOutsideTheStoresIsRefusedAndAKeptCopyReplacesOlderOnes)
{
    auto model = restartedModel();
    const QString name = model->projects().first().name;
    const QString outside = home.path() + u"/Elsewhere/x.json"_s;
    const QString copy = home.path() + u"/.cache/Orvane/rescue.json"_s;
    QList<CampaignIDEProject> projects = model->projects();
    projects.first().name = u"Foreign"_s;
    QList<StoreRescue::File> files(2);
    files[0].path = stateFile();
    files[0].bytes = encodeJson(projects);
    files[1].path = outside;
    files[1].bytes = "[]";
    const QByteArray foreign = encodeJson(QMap<QString, QList<StoreRescue::File>> { { u"files"_s, files } });
    model.reset();
    ASSERT_TRUE(writeAll(copy, foreign));
    model = startAgain();
    model->flushPendingWrites();
    EXPECT_EQ(model->projects().first().name, name);
    EXPECT_FALSE(QFileInfo::exists(outside));
    EXPECT_FALSE(QFileInfo::exists(copy));
    const QStringList aside = QDir(QFileInfo(copy).path()).entryList({ u"rescue.unmatched-*.json"_s });
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(copy).path() + u'/' + aside.first()), foreign);
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
    ASSERT_EQ(notices.size(), 1) << utf8(notices.join(u'\n'));
    EXPECT_TRUE(notices.first().contains(u"~/.cache/Orvane/"_s + aside.first())) << utf8(notices.first());
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
    EXPECT_EQ(model->projects().first().name, name);

    {
        const RefusedFolder threads(threadStoreFolder());
        addEntry(*model, model->threads().first().id, u"rescued message"_s);
        model->flushPendingWrites();
        model.reset();
    }
    EXPECT_TRUE(QFileInfo::exists(QFileInfo(stateFile()).path() + u"/rescue.json"_s));
    EXPECT_FALSE(QFileInfo::exists(copy));
}

// A copy made before the home moved names the stores' files and the workspace's at their old
// places: each is today's file at the same place in the home now, and comes back by the same rules
// as ever, the text it kept with them; nothing is written under the old home.
TEST_F(StoreRecoveryTest, ACopyMadeBeforeTheHomeMovedComesBackAtTheSamePlaces)
{
    auto model = restartedModel();
    const QUuid shown = model->threads().first().id;
    const QString file = model->selectedLocalFile()->url.toLocalFile();
    const QString fileInRoot = QDir(workspaceRoot()).relativeFilePath(file);
    {
        const RefusedFolder threads(threadStoreFolder());
        const RefusedFolder data(QFileInfo(stateFile()).path());
        const RefusedFolder local(QFileInfo(file).path());
        addEntry(*model, shown, u"rescued message"_s);
        model->updateSelectedLocalFileContent(u"rescued text"_s);
        ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
        model.reset();
    }
    ASSERT_TRUE(readAll(home.path() + u"/.cache/Orvane/rescue.json"_s).contains("rescued text"));

    const QString moved = home.path() + u"/moved"_s;
    ASSERT_TRUE(QDir().mkpath(moved));
    for (const QString &name : QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        if (name != u"moved"_s) {
            ASSERT_TRUE(QDir().rename(home.path() + u'/' + name, moved + u'/' + name)) << utf8(name);
        }
    }
    {
        const ScopedEnvironmentVariable homeFolder("HOME", QFile::encodeName(moved));
        const ScopedEnvironmentVariable config("XDG_CONFIG_HOME", QFile::encodeName(moved + u"/.config"_s));
        const ScopedEnvironmentVariable data("XDG_DATA_HOME", QFile::encodeName(moved + u"/.local/share"_s));
        const ScopedEnvironmentVariable cache("XDG_CACHE_HOME", QFile::encodeName(moved + u"/.cache"_s));
        model = settledStart();
        ASSERT_TRUE(model->hasThreadBody(shown));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
        const QDir folder(QFileInfo(moved + u"/Documents/Orvane/"_s + fileInRoot).path());
        const QStringList kept = folder.entryList({ u"*.unsaved-*"_s });
        ASSERT_EQ(kept.size(), 1);
        EXPECT_EQ(readAll(folder.filePath(kept.first())), "rescued text");
        ASSERT_EQ(notices.size(), 1) << utf8(notices.join(u'\n'));
        EXPECT_TRUE(notices.first().startsWith(u"Orvane brought back what it could not save"_s))
            << utf8(notices.first());
        EXPECT_TRUE(notices.first().contains(kept.first())) << utf8(notices.first());
        EXPECT_FALSE(QFileInfo::exists(moved + u"/.cache/Orvane/rescue.json"_s));
        EXPECT_EQ(QDir(home.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
            QStringList { u"moved"_s });

        model = settledStart(std::move(model));
        EXPECT_TRUE(holdsEntry(*model->thread(shown), u"rescued message"_s));
        EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
        model.reset();
    }
}

// A damaged store stays at its own name while its replacement is written (a kill then loses
// nothing); where no second name by link can be made (a folder in its place), a refused write puts
// it back under its name.
TEST_F(StoreRecoveryTest, ADamagedStoreStaysAtItsNameWhileReplacedAndComesBackWhenTheWriteIsRefused)
{
    const QString store = home.path() + u"/store/index.json"_s;
    ASSERT_TRUE(writeAll(store, "damaged"));
    QString kept;
    EXPECT_TRUE(WorkspaceFiles::replaceUnreadable(
        store,
        [&] {
            EXPECT_EQ(readAll(store), "damaged");
            return platform::writeFileAtomically(store, "new");
        },
        &kept));
    EXPECT_EQ(readAll(store), "new");
    EXPECT_TRUE(kept.startsWith(store + u".unreadable-"_s)) << utf8(kept);
    EXPECT_EQ(readAll(kept), "damaged");

    const QString folder = home.path() + u"/store/body.json"_s;
    ASSERT_TRUE(writeAll(folder + u"/inside"_s, "mine"));
    EXPECT_FALSE(WorkspaceFiles::replaceUnreadable(
        folder, [] { return false; }, nullptr));
    EXPECT_EQ(readAll(folder + u"/inside"_s), "mine");
    EXPECT_TRUE(QDir(home.path() + u"/store"_s).entryList({ u"body.json.*"_s }).isEmpty());
}

// A write of the rescue copy killed in the cache folder leaves a temporary there: swept at the next
// start, as in the other folders; a file of the user's beside it stays.
TEST_F(StoreRecoveryTest, AKilledWriteOfTheRescueCopyInTheCacheFolderIsSweptAtStart)
{
    auto model = restartedModel();
    const QString cache = home.path() + u"/.cache/Orvane"_s;
    const QString stale = cache + u"/.rescue.json.orvane-tmp-a1b2c3d4e5f6"_s;
    const QString mine = cache + u"/.rescue.json.mine"_s;
    for (const QString &path : QStringList { stale, mine }) {
        ASSERT_TRUE(writeAll(path, "partial"));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-600), QFileDevice::FileModificationTime));
    }
    model = startAgain(std::move(model));
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(stale));
    EXPECT_TRUE(QFileInfo::exists(mine));
}

// Unsaved text a quit nobody answers keeps beside its file is named at the next start, once. Text
// that cannot be written beside its file (nothing can be written in its folder) goes to the rescue
// copy instead, and the next start puts it beside the file, never over anything, and names it.
TEST_F(StoreRecoveryTest, UnsavedTextKeptAtAQuitIsNamedAtTheNextStartAndTextNoFolderTookComesBackBesideItsFile)
{
    auto model = restartedModel();
    const QString path = model->selectedLocalFile()->url.toLocalFile();
    const QString folder = QFileInfo(path).path();
    const QString copy = home.dataHome() + u"/Orvane/rescue.json"_s;
    const auto kept = [&] { return QDir(folder).entryList({ u"*.unsaved-*"_s }); };
    const auto quitAndStartAgain = [&](const QString &text, const std::function<void()> &beforeStart = {}) {
        model->updateSelectedLocalFileContent(text);
        ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
        model.reset();
        if (beforeStart)
            beforeStart();
        model = settledStart();
    };

    quitAndStartAgain(u"kept beside"_s);
    ASSERT_EQ(kept().size(), 1);
    EXPECT_EQ(notices,
        QStringList { u"Orvane kept the text you had not saved when it last quit: "_s
            + WorkspaceFiles::shownPath(folder + u'/' + kept().first()) + u'.' });
    EXPECT_FALSE(QFileInfo::exists(copy)); // told once
    ASSERT_TRUE(QFile::remove(folder + u'/' + kept().first()));

    // Nothing can be written in the file's folder (it became a file); the data folder has room. The
    // start that cannot put the text back either names where it is meanwhile.
    ASSERT_TRUE(QDir().rename(folder, folder + u".away"_s));
    ASSERT_TRUE(writeAll(folder, "not a folder"));
    quitAndStartAgain(u"rescued text"_s, [&] { EXPECT_TRUE(readAll(copy).contains("rescued text")); });
    EXPECT_EQ(
        noticesContaining(u"Text you had not saved could not be put back beside its file ("_s
            + WorkspaceFiles::shownPath(path) + u": "_s + QFileInfo(folder).fileName() + u" is a link or a file"_s),
        1)
        << utf8(notices.join(u'\n'));
    EXPECT_EQ(noticesContaining(
                  u"; the rescue copy "_s + WorkspaceFiles::shownPath(copy) + u" keeps it for the next start."_s),
        1)
        << utf8(notices.join(u'\n'));
    ASSERT_TRUE(QFile::remove(folder));
    ASSERT_TRUE(QDir().rename(folder + u".away"_s, folder));
    model = settledStart(std::move(model));
    ASSERT_EQ(kept().size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + kept().first()), "rescued text");
    EXPECT_EQ(noticesContaining(kept().first()), 1) << utf8(notices.join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(copy));
    ASSERT_TRUE(QFile::remove(folder + u'/' + kept().first()));

    // The thread store refuses too: the copy holds a store file and the text, and the start that
    // brings both back says both in one notice (a toast shows one at a time).
    const QString threads = threadStoreFolder();
    ASSERT_TRUE(QDir().rename(folder, folder + u".away"_s));
    ASSERT_TRUE(writeAll(folder, "not a folder"));
    ASSERT_TRUE(QDir().rename(threads, threads + u".away"_s));
    ASSERT_TRUE(writeAll(threads, "not a folder"));
    model->renameThread(model->threads().first().id, u"Renamed on a full disk"_s);
    quitAndStartAgain(u"text and thread"_s, [&] {
        for (const QString &refused : { folder, threads }) {
            ASSERT_TRUE(QFile::remove(refused));
            ASSERT_TRUE(QDir().rename(refused + u".away"_s, refused));
        }
    });
    ASSERT_EQ(kept().size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + kept().first()), "text and thread");
    EXPECT_EQ(model->threads().first().title, u"Renamed on a full disk"_s);
    ASSERT_EQ(noticesContaining(kept().first()), 1) << utf8(notices.join(u'\n'));
    for (const QString &notice : std::as_const(notices)) {
        if (notice.contains(kept().first())) {
            EXPECT_TRUE(notice.contains(u"Orvane brought back what it could not save"_s)) << utf8(notice);
        }
    }
}

// --- Stored forms met later -------------------------------------------------------------------------

// The single file of an earlier version, written again after the move (that version was run since),
// is kept under a name of its own, the first move's backup stays, and its new threads come in.
TEST_F(StoreRecoveryTest, AnEarlierVersionsFileMetAfterTheMoveIsKeptAndItsNewThreadsComeIn)
{
    QList<CampaignIDEThread> earlier
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    const QByteArray moved = encodeJson(earlier);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), moved));
    auto model = startAgain();
    model->flushPendingWrites();
    ASSERT_EQ(readAll(legacyThreadStoreFile() + u".backup"_s), moved);

    // The earlier version renamed a thread and made one of its own.
    CampaignIDEThread made = earlier.first();
    made.id = QUuid::createUuid();
    made.title = u"Made by the earlier version"_s;
    earlier.last().title = u"Renamed there"_s;
    earlier.prepend(made);
    const QByteArray later = encodeJson(earlier);
    ASSERT_TRUE(writeAll(legacyThreadStoreFile(), later));

    model = startAgain(std::move(model));
    ASSERT_EQ(model->threads().size(), earlier.size());
    EXPECT_EQ(model->threads().first().id, made.id);
    EXPECT_NE(model->threads().last().title, u"Renamed there"_s); // the store's own copy stands
    model->flushPendingWrites();
    EXPECT_EQ(noticesContaining(u"Made by the earlier version"_s), 1) << utf8(notices.join(u'\n'));
    EXPECT_FALSE(QFileInfo::exists(legacyThreadStoreFile()));
    EXPECT_EQ(readAll(legacyThreadStoreFile() + u".backup"_s), moved);
    const QStringList kept = QFileInfo(legacyThreadStoreFile())
                                 .dir()
                                 .entryList({ u"com.orvane.app.macos.ide.threads.v2.backup-*.json"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(QFileInfo(legacyThreadStoreFile()).absolutePath() + u'/' + kept.first()), later);

    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), earlier.size());
    EXPECT_EQ(storedThread(made.id), made);
    EXPECT_TRUE(notices.isEmpty()) << utf8(notices.join(u'\n'));
}

// --- Small store faults -----------------------------------------------------------------------------

TEST_F(StoreRecoveryTest, AnIndexListingAThreadTwiceLoadsItOnce)
{
    auto model = restartedModel();
    const QList<CampaignIDEThread> threads = model->threads();
    auto index = decodeJsonList<CampaignThreadSummary>(readAll(threadStoreFile()));
    index.append(index);
    ASSERT_TRUE(writeAll(threadStoreFile(), encodeJson(index)));

    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), threads.size());
    model->renameThread(threads.last().id, u"Edited"_s);
    model = startAgain(std::move(model));
    EXPECT_EQ(model->threads().size(), threads.size());
    EXPECT_EQ(decodeJsonList<CampaignThreadSummary>(readAll(threadStoreFile())).size(), threads.size());
}

// A damaged index is rebuilt in the user's order (the index before it), not by when each thread
// was last written; threads newer than that index come first.
TEST_F(StoreRecoveryTest, ADamagedIndexIsRebuiltInTheUsersOrder)
{
    auto model = restartedModel();
    const QUuid made = model->createNewThread({ .title = u"Made last"_s });
    QList<QUuid> order;
    for (const CampaignIDEThread &thread : model->threads())
        order.append(thread.id);
    // Written most recently of all, so by time it would come first.
    model->renameThread(order.last(), u"Edited last"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(writeAll(threadStoreFile(), "[{\"id\": 12}"));

    model = startAgain(std::move(model));
    QList<QUuid> rebuilt;
    for (const CampaignIDEThread &thread : model->threads())
        rebuilt.append(thread.id);
    EXPECT_EQ(rebuilt, order);
    EXPECT_EQ(rebuilt.first(), made);
    EXPECT_EQ(model->threads().last().title, u"Edited last"_s);
}

// Bodies are the user's threads whatever became of the index beside them (a kill, a refused write or
// a full disk can leave none): they are listed again, in the order of the index before it, else
// newest first, and the first save writes nothing over them. A damaged index stays in its place
// until its replacement has landed.
TEST_F(StoreRecoveryTest, BodiesWithoutAnIndexAreTheUsersThreadsNeverAFirstStart)
{
    // The two threads of a first start, made the user's own, and three more.
    auto model = restartedModel();
    for (int n = 0; n < 3; ++n)
        model->createNewThread({ .title = u"Made"_s });
    model->flushPendingWrites(); // the index of all five, the one before the last at the end
    QHash<QUuid, QString> titles;
    for (const CampaignIDEThread &thread : model->threads()) {
        const QString title = u"Mine "_s + QString::number(titles.size());
        titles.insert(thread.id, title);
        model->renameThread(thread.id, title);
        addEntry(*model, thread.id, u"Said in "_s + title);
    }
    const QList<QUuid> order = ids(model->threads());
    ASSERT_EQ(order.size(), 5);
    const QList<CampaignIDEThread> samples
        = OrvaneWebParitySeeds::defaultThreads(CampaignIDEWorkspaceModel::sampleProjects());
    const QUuid firstStart = samples.first().id;
    ASSERT_TRUE(order.contains(firstStart));
    const auto expectTheUsersThreads = [&](const QList<QUuid> &expected) {
        ASSERT_EQ(ids(model->threads()), expected);
        for (const CampaignIDEThread &thread : model->threads())
            EXPECT_EQ(thread.title, titles.value(thread.id));
        const QList<CampaignIDEThread> stored = readStoredThreads();
        ASSERT_EQ(ids(stored), expected) << "every body stored and named by the index";
        for (const CampaignIDEThread &thread : stored) {
            EXPECT_EQ(thread.title, titles.value(thread.id));
            EXPECT_TRUE(holdsEntry(thread, u"Said in "_s + titles.value(thread.id))) << utf8(thread.title);
            for (const CampaignIDEThread &sample : samples)
                EXPECT_NE(thread.title, sample.title);
        }
    };

    // The index moved away: the list comes back in the order of the index before it, and a message
    // sent in a thread of the first start lands in the user's thread.
    model.reset();
    ASSERT_TRUE(QFile::rename(threadStoreFile(), threadStoreFile() + u".moved"_s));
    model = startAgain();
    ASSERT_NO_FATAL_FAILURE(expectTheUsersThreads(order));
    model->openThread(firstStart);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(firstStart); }));
    model->sendMessageInThread(firstStart, model->thread(firstStart)->activeAgentTabID, u"One more"_s, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model->agentTurns().idle(); }, 5000));
    model = startAgain(std::move(model));
    ASSERT_NO_FATAL_FAILURE(expectTheUsersThreads(order));
    ASSERT_TRUE(storedThread(firstStart));
    EXPECT_TRUE(holdsEntry(*storedThread(firstStart), u"One more"_s));

    // Without the index before it either: newest first, as each body was last written.
    model.reset();
    ASSERT_TRUE(QFile::remove(threadStoreFile()));
    ASSERT_TRUE(QFile::remove(threadStoreFolder() + u"/index.previous.json"_s));
    const QDateTime written = QDateTime::currentDateTimeUtc().addSecs(-3600);
    for (qsizetype n = 0; n < order.size(); ++n) {
        QFile body(bodyFile(order.at(n)));
        ASSERT_TRUE(body.open(QIODevice::ReadWrite));
        ASSERT_TRUE(body.setFileTime(written.addSecs(60 * n), QFileDevice::FileModificationTime));
    }
    const QList<QUuid> newestFirst(order.crbegin(), order.crend());
    model = startAgain();
    ASSERT_NO_FATAL_FAILURE(expectTheUsersThreads(newestFirst));

    // A damaged index whose replacement the disk refuses stays where it is, and is kept aside only
    // once the replacement has landed (here when the model goes, with room again).
    model.reset();
    const QByteArray damaged = "[{\"id\": 12}";
    ASSERT_TRUE(writeAll(threadStoreFile(), damaged));
    {
        const FileSizeLimit full(8);
        model = startAgain();
        model->flushPendingWrites();
        EXPECT_EQ(ids(model->threads()), newestFirst);
        EXPECT_EQ(readAll(threadStoreFile()), damaged);
        EXPECT_TRUE(QDir(threadStoreFolder()).entryList({ u"*.unreadable-*"_s }).isEmpty());
        EXPECT_EQ(noticesContaining(u"Could not save your thread list"_s), 1) << utf8(notices.join(u'\n'));
    }
    model = startAgain(std::move(model));
    const QStringList kept = QDir(threadStoreFolder()).entryList({ u"index.json.unreadable-*"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(threadStoreFolder() + u'/' + kept.first()), damaged);
    ASSERT_NO_FATAL_FAILURE(expectTheUsersThreads(newestFirst));
}

// A window that may not write (another process may be writing) leaves every file as it found it:
// a damaged index or body is not set aside, an index (missing or not) is not written, no previous
// index is kept, a user's edit of a mirrored file is not moved and nothing is removed, while the user's
// threads are listed and opened all the same.
TEST_F(StoreRecoveryTest, AReadOnlyWindowRenamesRemovesAndWritesNothing)
{
    struct ReadOnlyWindow {
        ReadOnlyWindow() { platform::refuseWrites(u"this window is read-only"_s); }
        ~ReadOnlyWindow() { platform::refuseWrites(std::nullopt); }
        ReadOnlyWindow(const ReadOnlyWindow &) = delete;
        ReadOnlyWindow &operator=(const ReadOnlyWindow &) = delete;
    };
    // The preferences written beside the stores: the session's sign-out flag.
    const platform::UserDefaults defaults = platform::UserDefaults::standard();
    const QString preference = u"com.orvane.session.signedOut.production"_s;
    // A first start makes nothing: no folder, no store, no preference, whatever changes.
    ASSERT_FALSE(QFileInfo::exists(QFileInfo(stateFile()).path()));
    ASSERT_FALSE(QFileInfo::exists(defaults.directory()));
    const std::string empty = listing(home.path());
    {
        const ReadOnlyWindow readOnly;
        auto first = startAgain();
        first->mutateProject(first->projects().first().id, [](CampaignIDEProject &p) { p.objective = u"Not saved"_s; });
        first->savePersistedProjects();
        first->savePersistedThreads();
        EXPECT_FALSE(defaults.setBool(preference, true));
        first->flushPendingWrites();
    }
    EXPECT_EQ(listing(home.path()), empty);

    auto model = restartedModel();
    model->createNewThread({ .title = u"Mine"_s });
    const QList<QUuid> order = ids(model->threads());
    ASSERT_EQ(order.size(), 3);
    const QUuid damaged = order.at(1);
    const QUuid edited = order.at(2);
    // The user's edit of a file the mirror writes: a writer would keep it aside first.
    const QString plan = model->projectFolderPath(model->projects().first()) + u"/campaign-plan.md"_s;
    model.reset();
    ASSERT_TRUE(writeAll(bodyFile(damaged), "{\"id\":"));
    ASSERT_TRUE(writeAll(plan, "# My own plan\n"));
    ASSERT_TRUE(defaults.setBool(preference, true));

    enum class Index { readable, unreadable, absent };
    for (const Index index : { Index::readable, Index::unreadable, Index::absent }) {
        SCOPED_TRACE(int(index));
        if (index == Index::unreadable) {
            ASSERT_TRUE(writeAll(threadStoreFile(), "[{\"id\": 12}"));
        } else if (index == Index::absent) {
            ASSERT_TRUE(QFile::remove(threadStoreFile()));
        }
        const std::string before = listing(home.path());
        {
            const ReadOnlyWindow readOnly;
            model = startAgain();
            ASSERT_EQ(ids(model->threads()), order);
            model->openThread(damaged);
            ASSERT_TRUE(QTest::qWaitFor([&] { return model->hasThreadBody(damaged); }));
            ASSERT_NE(model->thread(damaged), nullptr);
            EXPECT_EQ(model->thread(damaged)->agentTabs.size(), 1);
            addEntry(*model, edited, u"Not saved here"_s);
            // A change the mirror writes into the plan the user edited.
            model->mutateProject(
                model->projects().first().id, [](CampaignIDEProject &p) { p.objective = u"Not saved either"_s; });
            model->flushPendingWrites();
            EXPECT_EQ(noticesContaining(u"could not be read"_s), 1) << utf8(notices.join(u'\n'));
            EXPECT_GE(noticesContaining(u"this window is read-only"_s), 1) << utf8(notices.join(u'\n'));
            EXPECT_FALSE(defaults.remove(preference));
            model.reset(); // quitting tries again, refused again
        }
        EXPECT_EQ(listing(home.path()), before);
    }
    EXPECT_EQ(readAll(plan), "# My own plan\n");
}

// A read-only window with no project selected lists the workspace folder without making it.
TEST_F(StoreRecoveryTest, AReadOnlyWindowMakesNoFolderToListTheWorkspace)
{
    struct ReadOnlyWindow {
        ReadOnlyWindow() { platform::refuseWrites(u"this window is read-only"_s); }
        ~ReadOnlyWindow() { platform::refuseWrites(std::nullopt); }
        ReadOnlyWindow(const ReadOnlyWindow &) = delete;
        ReadOnlyWindow &operator=(const ReadOnlyWindow &) = delete;
    };
    const ReadOnlyWindow readOnly;
    auto model = startAgain();
    model->setSelectedProjectID(std::nullopt);
    model->reloadLocalFilesForSelectedProject();
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(workspaceRoot()));
    EXPECT_TRUE(model->localFiles().isEmpty());
}

// Temporary files that killed writes left beside their targets go at the next start; the user's
// own hidden files, whatever they are named (also like an earlier version's temporaries), a write
// under way elsewhere and anything a linked project folder leads to stay.
TEST_F(StoreRecoveryTest, StaleTemporariesOfKilledWritesAreRemovedAtStart)
{
    auto model = restartedModel();
    const QString project = model->projectFolderPath(model->projects().first());
    const QString linked = model->projectFolderPath(model->projects().last());
    ASSERT_NE(project, linked);
    const QString outside = home.path() + u"/Elsewhere"_s;
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(QDir(linked).removeRecursively());
    ASSERT_TRUE(QFile::link(outside, linked));
    const QString config = home.configHome() + u"/Orvane/defaults"_s;
    const QDateTime killedAt = QDateTime::currentDateTimeUtc().addSecs(-600);
    const auto leave = [&](const QString &path, const QDateTime &time) {
        EXPECT_TRUE(writeAll(path, "partial"));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::ReadWrite));
        EXPECT_TRUE(file.setFileTime(time, QFileDevice::FileModificationTime));
    };
    const QStringList stale { threadStoreFolder() + u"/.index.json.orvane-tmp-3k9x0q2m1z"_s,
        threadStoreFolder() + u"/.0A4E6C2B-0000-0000-0000-000000000001.json.orvane-tmp-0123456789ab"_s,
        QFileInfo(stateFile()).absolutePath() + u"/.campaign-ide-state.json.orvane-tmp-zzzzzzzzzzzz"_s,
        config + u"/.some.key.json.orvane-tmp-1"_s, workspaceRoot() + u"/reports/.brief.html.orvane-tmp-a1b2"_s,
        project + u"/.campaign-plan.md.orvane-tmp-a1b2c3d4e5f6g"_s, project + u"/.notes.txt.orvane-tmp-00"_s };
    QStringList kept;
    for (const QString &folder : { project, workspaceRoot(), config }) {
        kept << folder + u"/.notes.md.backup2024"_s << folder + u"/.campaign-plan.md.1700000000"_s
             << folder + u"/.budget.csv.oldversion"_s << folder + u"/.envrc.orvane-tmp-"_s;
    }
    kept << threadStoreFolder() + u"/.index.json.3k9x0q2m1z"_s // an earlier version's form: left alone
         << outside + u"/.campaign-plan.md.orvane-tmp-a1b2c3d4e5f6g"_s << outside + u"/.notes.md.backup2024"_s;
    for (const QString &path : std::as_const(stale))
        leave(path, killedAt);
    for (const QString &path : std::as_const(kept))
        leave(path, killedAt);
    const QString underWay = threadStoreFolder() + u"/.index.json.orvane-tmp-9999999999"_s;
    leave(underWay, QDateTime::currentDateTimeUtc().addSecs(60));
    kept << underWay;

    model = startAgain(std::move(model));
    model->flushPendingWrites();
    for (const QString &path : stale)
        EXPECT_FALSE(QFileInfo::exists(path)) << utf8(path);
    for (const QString &path : std::as_const(kept))
        EXPECT_TRUE(QFileInfo::exists(path)) << utf8(path);
}

// A state file above the old 64 MiB bound, as earlier versions wrote and loaded, loads and is saved.
TEST_F(StoreRecoveryTest, AStateFileOfAnySizeTheApplicationWroteLoadsAndSaves)
{
    QList<CampaignIDEProject> projects = CampaignIDEWorkspaceModel::sampleProjects();
    projects.last().guardrails = QString(65 * 1024 * 1024, u'g');
    ASSERT_TRUE(writeAll(stateFile(), encodeJson(projects)));
    ASSERT_GT(QFileInfo(stateFile()).size(), 64 * 1024 * 1024);

    auto model = startAgain();
    ASSERT_EQ(model->projects().size(), 2);
    EXPECT_EQ(model->projects().last().guardrails.size(), projects.last().guardrails.size());
    model->mutateProject(model->projects().first().id, [](CampaignIDEProject &p) { p.name = u"Grown"_s; });
    model->flushPendingWrites();
    EXPECT_TRUE(notices.filter(u"Could not save"_s).isEmpty()) << utf8(notices.join(u'\n'));
    model = startAgain(std::move(model));
    EXPECT_EQ(model->projects().first().name, u"Grown"_s);
}

} // namespace
} // namespace orvane::test

// Every sync of the test process: held while a test holds it (HeldSyncs), and done all the same.
extern "C" int fsync(int fd)
{
    orvane::test::waitIfHeld(fd);
    return static_cast<int>(::syscall(SYS_fsync, fd));
}
