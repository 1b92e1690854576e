#include "ide/model/WorkspaceFiles.h"
#include "ide/model/WorkspaceMirror.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include <sys/stat.h>
#include <sys/types.h>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class LocalFilesTest : public WorkspaceModelTest {
protected:
    void SetUp() override
    {
        p.id = QUuid::createUuid();
        p.name = u"Files"_s;
        model = makeModel(QList<CampaignIDEProject> { p });
        model->openProject(p.id);
        model->flushPendingWrites();
        folder = workspaceRoot() + u"/files"_s;
    }
    void TearDown() override { model.reset(); }

    QList<QString> names() const
    {
        QList<QString> out;
        for (const LocalWorkspaceFile &f : model->localFiles())
            out.append(f.name);
        return out;
    }
    void reload()
    {
        model->reloadLocalFilesForSelectedProject();
        model->flushPendingWrites();
    }
    void select(const QString &name)
    {
        for (const LocalWorkspaceFile &f : model->localFiles()) {
            if (f.name == name)
                model->selectLocalFile(f.id());
        }
    }

    CampaignIDEProject p;
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    QString folder;
};

TEST_F(LocalFilesTest, ListsOnlyTextFilesInNameOrder)
{
    ASSERT_TRUE(writeAll(folder + u"/b.md"_s, "b"));
    ASSERT_TRUE(writeAll(folder + u"/A.json"_s, "{}"));
    ASSERT_TRUE(writeAll(folder + u"/notes.TXT"_s, "n"));
    ASSERT_TRUE(writeAll(folder + u"/image.png"_s, "png"));
    ASSERT_TRUE(writeAll(folder + u"/.hidden.md"_s, "h"));
    ASSERT_TRUE(writeAll(folder + u"/bad.md"_s, QByteArray("\xff\xfe\x00 broken", 10)));
    ASSERT_TRUE(QDir().mkpath(folder + u"/reports"_s));
    ASSERT_TRUE(QDir().mkpath(folder + u"/folder.md"_s));
    reload();
    // The seed thread bound to the project wrote its two files as well.
    EXPECT_EQ(names(),
        (QList<QString> { u"A.json"_s, u"b.md"_s, u"campaign-plan.md"_s, u"creatives.json"_s, u"execution-rules.md"_s,
            u"media-plan.csv"_s, u"notes.TXT"_s, u"thread-transcript.json"_s }));
}

// Neither a FIFO nor a huge file can hold up the listing: only regular files up to 1 MiB are read.
// A larger one is listed by its size alone and says so; it takes no edit and a save never writes it
// (it would be truncated). "Open in Local Files" on a message over the size selects its transcript.
TEST_F(LocalFilesTest, SkipsFifosAndListsFilesOverTheSizeCapByTheirSizeAlone)
{
    constexpr qint64 cap = CampaignIDEWorkspaceModel::maxListedFileSize;
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder + u"/pipe.md"_s).constData(), 0600), 0);
    ASSERT_TRUE(writeAll(folder + u"/big.txt"_s, QByteArray(cap + 1, 'x')));
    ASSERT_TRUE(writeAll(folder + u"/edge.txt"_s, QByteArray(cap, 'y')));
    reload();
    EXPECT_FALSE(names().contains(u"pipe.md"_s));
    ASSERT_TRUE(model->mirror().localFileNamed(u"edge.txt"_s));
    EXPECT_EQ(model->mirror().localFileNamed(u"edge.txt"_s)->content.size(), cap);
    EXPECT_FALSE(model->mirror().localFileNamed(u"edge.txt"_s)->isTooLarge());
    ASSERT_TRUE(model->mirror().localFileNamed(u"big.txt"_s));
    const LocalWorkspaceFile big = *model->mirror().localFileNamed(u"big.txt"_s);
    EXPECT_EQ(big.tooLargeSize, cap + 1);
    EXPECT_TRUE(big.content.isEmpty());
    EXPECT_EQ(big.sizeBytes(), cap + 1);
    EXPECT_EQ(big.modifiedLabel(), u"Too large to edit"_s);
    EXPECT_EQ(big.tooLargeText(), u"big.txt is too large to edit here (1.1 MB)"_s);

    select(u"big.txt"_s);
    model->updateSelectedLocalFileContent(u"typed"_s);
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(model->statusNotice(), u"big.txt is too large to edit here (1.1 MB); nothing was saved."_s);
    EXPECT_EQ(QFileInfo(folder + u"/big.txt"_s).size(), cap + 1);

    // A message over the size makes a transcript over it: opened from the message, it is selected.
    const auto thread = std::find_if(model->threads().cbegin(), model->threads().cend(),
        [&](const CampaignIDEThread &t) { return t.projectID == p.id; });
    ASSERT_NE(thread, model->threads().cend());
    const QUuid threadID = thread->id;
    ASSERT_TRUE(model->mutateThread(threadID, [&](CampaignIDEThread &changed) {
        changed.agentTabs.first().entries.append(CampaignTimelineEntry { .id = QUuid::createUuid(),
            .role = CampaignTimelineEntry::EntryRole::user,
            .authorName = u"You"_s,
            .text = QString(cap, u'b'),
            .timestamp = u"Just now"_s });
    }));
    model->syncThreadArtifactsToDisk(*model->thread(threadID));
    model->openThreadTranscript(threadID);
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_EQ(model->selectedLocalFileName(), u"thread-transcript.json"_s);
    EXPECT_TRUE(model->selectedLocalFile()->isTooLarge());
    EXPECT_GT(model->selectedLocalFile()->sizeBytes(), cap);
}

TEST_F(LocalFilesTest, ReloadKeepsUnsavedEditsOfFilesStillListed)
{
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    reload();
    select(u"notes.md"_s);
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::localFileChanged);
    model->updateSelectedLocalFileContent(u"typed"_s);
    EXPECT_EQ(changed.count(), 1);
    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_TRUE(model->selectedLocalFile()->isModified);

    reload(); // as after an agent turn or a navigation
    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_EQ(utf8(model->selectedLocalFile()->name), "notes.md");
    EXPECT_EQ(utf8(model->selectedLocalFile()->content), "typed");
    EXPECT_TRUE(model->selectedLocalFile()->isModified);

    // Once the file is gone from disk its edit goes with it and the selection moves to the first.
    QFile::remove(folder + u"/notes.md"_s);
    reload();
    EXPECT_FALSE(names().contains(u"notes.md"_s));
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(model->selectedLocalFileID(), model->localFiles().first().id());
}

// A quit nobody can answer (a termination signal) keeps unsaved text beside its file.
TEST_F(LocalFilesTest, QuittingKeepsUnsavedTextBesideItsFile)
{
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    reload();
    select(u"notes.md"_s);
    model->updateSelectedLocalFileContent(u"typed"_s);
    ASSERT_TRUE(model->hasUnsavedLocalFiles());
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    EXPECT_EQ(readAll(folder + u"/notes.md"_s), "disk");
    const QStringList kept = QDir(folder).entryList({ u"notes.unsaved-*.md"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + kept.first()), "typed");
}

// Text typed into a file (in Local Files, or the raw plan) stays with it while another project is
// shown: coming back shows it, still unsaved, marked where the file changed meanwhile; saving all
// and keeping aside at a quit reach it from any project.
TEST_F(LocalFilesTest, UnsavedTextStaysWithItsFileWhileAnotherProjectIsShown)
{
    CampaignIDEProject other { .id = QUuid::createUuid(), .name = u"Other"_s };
    model.reset();
    model = makeModel(QList<CampaignIDEProject> { p, other });
    const auto show = [&](const QUuid &project) {
        model->openProject(project);
        model->flushPendingWrites();
    };
    const auto notes = [&] { return model->mirror().localFileNamed(u"notes.md"_s).value_or(LocalWorkspaceFile {}); };
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    show(p.id);
    model->mirror().updateLocalFileNamed(u"notes.md"_s, u"typed"_s);
    model->updateCampaignPlanFileContent(u"# typed plan\n"_s);
    show(other.id);
    EXPECT_TRUE(model->hasUnsavedLocalFiles()); // the quit asks about it
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Changed meanwhile"_s; });
    show(p.id);
    EXPECT_EQ(notes().content, u"typed"_s);
    EXPECT_EQ(notes().modifiedLabel(), u"Modified"_s);
    EXPECT_EQ(model->campaignPlanFile()->content, u"# typed plan\n"_s);
    EXPECT_EQ(model->campaignPlanFile()->modifiedLabel(), u"Changed on disk"_s);

    show(other.id);
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    EXPECT_EQ(QDir(folder).entryList({ u"*.unsaved-*.md"_s }).size(), 2);
    model->saveAllLocalFiles();
    model->flushPendingWrites();
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(readAll(folder + u"/notes.md"_s), "typed");
}

// Text typed into a file stays until saved or discarded whatever happens to the file on disk: a
// file that cannot be shown now (not UTF-8, not a regular file, too large to edit) leaves the list
// or shows its size alone, its edit waits aside and the user is told once why it is not shown. The
// quit still asks about it, a termination signal keeps it beside its file, and saving all writes
// it, keeping the version on disk beside it.
TEST_F(LocalFilesTest, UnsavedTextOutlivesItsFileLeavingTheListUntilSavedOrDiscarded)
{
    CampaignIDEProject other { .id = QUuid::createUuid(), .name = u"Other"_s };
    model.reset();
    model = makeModel(QList<CampaignIDEProject> { p, other });
    QList<std::pair<QString, NoticeKind>> notices;
    QObject::connect(model.get(), &CampaignIDEWorkspaceModel::statusNoticeChanged, model.get(), [&] {
        if (model->statusNotice())
            notices.append({ *model->statusNotice(), model->statusNoticeKind() });
    });
    const auto show = [&](const QUuid &project) {
        model->openProject(project);
        model->flushPendingWrites();
    };
    const auto told = [&](const QString &name, const QString &why) {
        const QString text = u"Your unsaved changes to "_s + name + u" are not shown: "_s + name + u' ' + why
            + u". They are kept until you save or discard them; closing the window asks. Saving keeps the version on "
              u"disk beside the file."_s;
        const auto count = std::count(notices.cbegin(), notices.cend(), std::pair { text, NoticeKind::warning });
        notices.clear();
        return count;
    };
    const QString notesPath = folder + u"/notes.md"_s;
    const QString planPath = folder + u"/campaign-plan.md"_s;
    ASSERT_TRUE(writeAll(notesPath, "disk"));
    show(p.id);
    model->mirror().updateLocalFileNamed(u"notes.md"_s, u"typed"_s);
    model->updateCampaignPlanFileContent(u"# typed plan\n"_s);

    // Another program makes the file Latin-1 while another project is shown.
    show(other.id);
    ASSERT_TRUE(writeAll(notesPath, "disk\xe9"));
    notices.clear();
    show(p.id);
    EXPECT_FALSE(model->mirror().localFileNamed(u"notes.md"_s));
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(told(u"notes.md"_s, u"is not UTF-8 text now"_s), 1);
    model->setStatusNotice(std::nullopt); // dismissed: a repeat would show again
    show(other.id);
    show(p.id);
    EXPECT_EQ(told(u"notes.md"_s, u"is not UTF-8 text now"_s), 0); // once

    // The mirror writes the plan past the size (an agent turn appending a long prompt) under an edit.
    model->mutateProject(p.id, [](CampaignIDEProject &changed) {
        changed.objective = QString(CampaignIDEWorkspaceModel::maxListedFileSize, u'o');
    });
    model->flushPendingWrites();
    ASSERT_TRUE(model->campaignPlanFile());
    EXPECT_TRUE(model->campaignPlanFile()->isTooLarge());
    EXPECT_TRUE(model->campaignPlanFile()->content.isEmpty());
    EXPECT_EQ(told(u"campaign-plan.md"_s, u"is too large to edit here now (1.1 MB)"_s), 1);
    model->setStatusNotice(std::nullopt);
    reload();
    EXPECT_TRUE(model->campaignPlanFile()->isTooLarge());
    EXPECT_EQ(told(u"campaign-plan.md"_s, u"is too large to edit here now (1.1 MB)"_s), 0);

    // A termination signal keeps both beside their files.
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    const QStringList notesKept = QDir(folder).entryList({ u"notes.unsaved-*.md"_s });
    const QStringList planKept = QDir(folder).entryList({ u"campaign-plan.unsaved-*.md"_s });
    ASSERT_EQ(notesKept.size(), 1);
    ASSERT_EQ(planKept.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + notesKept.first()), "typed");
    EXPECT_EQ(readAll(folder + u'/' + planKept.first()), "# typed plan\n");

    // Saving all writes them over the files, each version on disk kept beside its file.
    model->saveAllLocalFiles();
    model->flushPendingWrites();
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(readAll(notesPath), "typed");
    EXPECT_EQ(readAll(planPath), "# typed plan\n");
    const QStringList notesOnDisk = QDir(folder).entryList({ u"notes.on-disk-*.md"_s });
    const QStringList planOnDisk = QDir(folder).entryList({ u"campaign-plan.on-disk-*.md"_s });
    ASSERT_EQ(notesOnDisk.size(), 1);
    ASSERT_EQ(planOnDisk.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + notesOnDisk.first()), "disk\xe9");
    EXPECT_GT(QFileInfo(folder + u'/' + planOnDisk.first()).size(), CampaignIDEWorkspaceModel::maxListedFileSize);
    ASSERT_TRUE(model->campaignPlanFile());
    EXPECT_EQ(model->campaignPlanFile()->content, u"# typed plan\n"_s);
    EXPECT_EQ(model->campaignPlanFile()->modifiedLabel(), u"Synced"_s);

    // A file that is not a regular file now keeps its edit too; once deleted, the edit goes.
    reload();
    ASSERT_TRUE(model->mirror().updateLocalFileNamed(u"notes.md"_s, u"typed again"_s));
    ASSERT_TRUE(QFile::remove(notesPath));
    ASSERT_EQ(::mkfifo(QFile::encodeName(notesPath).constData(), 0600), 0);
    reload();
    EXPECT_FALSE(model->mirror().localFileNamed(u"notes.md"_s));
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(told(u"notes.md"_s, u"is not a regular file now"_s), 1);
    ASSERT_TRUE(QFile::remove(notesPath));
    reload();
    EXPECT_FALSE(model->hasUnsavedLocalFiles());

    // An edit held while the plan was too large comes back when the plan shrinks under the size.
    model->updateCampaignPlanFileContent(u"# typed once more\n"_s);
    model->mutateProject(p.id, [](CampaignIDEProject &changed) {
        changed.objective = QString(CampaignIDEWorkspaceModel::maxListedFileSize, u'p');
    });
    model->flushPendingWrites();
    ASSERT_TRUE(model->campaignPlanFile());
    ASSERT_TRUE(model->campaignPlanFile()->isTooLarge());
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Short again"_s; });
    model->flushPendingWrites();
    ASSERT_TRUE(model->campaignPlanFile());
    EXPECT_EQ(model->campaignPlanFile()->content, u"# typed once more\n"_s);
    EXPECT_EQ(model->campaignPlanFile()->modifiedLabel(), u"Changed on disk"_s);
    const auto keptPlans = [&] { return QDir(folder).entryList({ u"campaign-plan.on-disk-*.md"_s }).size(); };
    const auto keptBefore = keptPlans();
    model->saveAllLocalFiles();
    model->flushPendingWrites();
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(readAll(planPath), "# typed once more\n");
    EXPECT_EQ(keptPlans(), keptBefore + 1); // saved once, over the shrunk plan
}

// A folder another program put in an edited file's place is something there as well: the edit is
// kept and told once, a termination signal keeps it beside the folder, and saving all writes it
// beside the folder, named, never over it.
TEST_F(LocalFilesTest, AFolderInAnEditedFilesPlaceKeepsTheEditAndSavingPutsItBeside)
{
    CampaignIDEProject other { .id = QUuid::createUuid(), .name = u"Other"_s };
    model.reset();
    model = makeModel(QList<CampaignIDEProject> { p, other });
    QStringList notices;
    QObject::connect(model.get(), &CampaignIDEWorkspaceModel::statusNoticeChanged, model.get(), [&] {
        if (model->statusNotice())
            notices.append(*model->statusNotice());
    });
    const auto show = [&](const QUuid &project) {
        model->openProject(project);
        model->flushPendingWrites();
    };
    const QString planPath = folder + u"/campaign-plan.md"_s;
    const QString told = u"Your unsaved changes to campaign-plan.md are not shown: campaign-plan.md is a folder now. "
                         u"They are kept until you save or discard them; closing the window asks. Saving puts them "
                         u"in a file beside the folder."_s;
    show(p.id);
    model->updateCampaignPlanFileContent(u"# plan KEEPME-A\n"_s);
    show(other.id);
    ASSERT_TRUE(QFile::rename(planPath, folder + u"/moved-away.md"_s));
    ASSERT_TRUE(QDir().mkpath(planPath));
    notices.clear();
    show(p.id);
    EXPECT_FALSE(model->campaignPlanFile());
    EXPECT_TRUE(model->hasUnsavedLocalFiles());
    EXPECT_EQ(notices.count(told), 1);
    model->setStatusNotice(std::nullopt);
    notices.clear();
    show(other.id);
    show(p.id);
    EXPECT_EQ(notices.count(told), 0);
    EXPECT_TRUE(model->hasUnsavedLocalFiles());

    const auto keptText = [&] { return QDir(folder).entryList({ u"campaign-plan.unsaved-*.md"_s }); };
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    const QStringList atQuit = keptText();
    ASSERT_EQ(atQuit.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + atQuit.first()), "# plan KEEPME-A\n");

    model->saveAllLocalFiles();
    model->flushPendingWrites();
    EXPECT_FALSE(model->hasUnsavedLocalFiles());
    EXPECT_TRUE(QFileInfo(planPath).isDir());
    EXPECT_TRUE(QDir(planPath).isEmpty());
    QStringList saved = keptText();
    saved.removeAll(atQuit.first());
    ASSERT_EQ(saved.size(), 1);
    const QString savedPath = folder + u'/' + saved.first();
    EXPECT_EQ(readAll(savedPath), "# plan KEEPME-A\n");
    EXPECT_EQ(model->statusNotice(),
        u"Saved your changes to campaign-plan.md as "_s + WorkspaceFiles::shownPath(savedPath)
            + u": campaign-plan.md is a folder now, which a save never replaces."_s);
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);

    // The next start names it again: the quit's Save All closes the window on that notice.
    ASSERT_TRUE(QMetaObject::invokeMethod(QCoreApplication::instance(), "aboutToQuit", Qt::DirectConnection));
    model.reset();
    model = makeModel(QList<CampaignIDEProject> { p, other });
    ASSERT_TRUE(model->statusNotice());
    EXPECT_TRUE(model->statusNotice()->contains(WorkspaceFiles::shownPath(savedPath))) << utf8(*model->statusNotice());
}

// Saving all beside a folder in the place of a file whose name leaves no room for the label and
// time (240 letters; 77 characters of three bytes each) writes the text under a name that fits.
TEST_F(LocalFilesTest, SavingAllBesideAFolderInTheEditedPlaceOfAFileWithALongName)
{
    for (const QString &stem : { QString(240, u'a'), QString(77, u'文') }) {
        const QString name = stem + u".md"_s;
        ASSERT_TRUE(writeAll(folder + u'/' + name, "disk"));
        reload();
        ASSERT_TRUE(model->mirror().updateLocalFileNamed(name, u"typed"_s));
        ASSERT_TRUE(QFile::remove(folder + u'/' + name));
        ASSERT_TRUE(QDir().mkpath(folder + u'/' + name));
        model->saveAllLocalFiles();
        model->flushPendingWrites();
        EXPECT_FALSE(model->hasUnsavedLocalFiles()) << utf8(model->statusNotice().value_or(QString()));
        const QStringList saved = QDir(folder).entryList({ stem.left(1) + u"*.unsaved-*.md"_s });
        ASSERT_EQ(saved.size(), 1);
        EXPECT_LE(QFile::encodeName(saved.first()).size(), 255);
        EXPECT_EQ(readAll(folder + u'/' + saved.first()), "typed");
    }
}

TEST_F(LocalFilesTest, SavingReportsTheOutcomeAndClearsTheNoticeAfterItsTime)
{
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    reload();
    select(u"notes.md"_s);
    model->updateSelectedLocalFileContent(u"saved text"_s);
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(readAll(folder + u"/notes.md"_s), "saved text");
    EXPECT_FALSE(model->selectedLocalFile()->isModified);
    EXPECT_EQ(model->statusNotice(), u"Saved notes.md to disk."_s);
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::info);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }, 2000));

    // A folder that became a file (so that even a privileged user cannot write there): the notice
    // names the failure and the edit stays.
    model->updateSelectedLocalFileContent(u"more"_s);
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(writeAll(folder, "not a folder"));
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    ASSERT_TRUE(model->statusNotice());
    EXPECT_TRUE(model->statusNotice()->startsWith(u"Failed to save notes.md: "_s)) << utf8(*model->statusNotice());
    EXPECT_GT(model->statusNotice()->size(), QStringLiteral("Failed to save notes.md: ").size());
    EXPECT_EQ(model->statusNoticeKind(), NoticeKind::warning);
    EXPECT_TRUE(model->selectedLocalFile()->isModified);
    EXPECT_EQ(utf8(model->selectedLocalFile()->content), "more");
}

// A listed file the mirror writes again (a change of the project, as Approve & Launch makes) is
// taken up where nothing is unsaved; under unsaved edits the file says it changed on disk, and
// saving keeps the version on disk beside it. So does a change by another program met at a reload.
TEST_F(LocalFilesTest, AFileChangedOnDiskIsTakenUpOrKeptBesideItWhenSavedOver)
{
    const QString plan = folder + u"/campaign-plan.md"_s;
    select(u"campaign-plan.md"_s);
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Launch in spring"_s; });
    model->flushPendingWrites();
    ASSERT_TRUE(model->selectedLocalFile());
    EXPECT_TRUE(model->selectedLocalFile()->content.contains(u"Launch in spring"_s));
    EXPECT_EQ(model->selectedLocalFile()->content.toUtf8(), readAll(plan));
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Synced"_s);
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(model->statusNotice(), u"Saved campaign-plan.md to disk."_s);
    EXPECT_TRUE(QDir(folder).entryList({ u"campaign-plan.*-*"_s }).isEmpty());

    model->updateSelectedLocalFileContent(u"# My own plan\n"_s);
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Launch in summer"_s; });
    model->flushPendingWrites();
    const QByteArray mirrored = readAll(plan);
    ASSERT_TRUE(mirrored.contains("Launch in summer"));
    EXPECT_EQ(model->selectedLocalFile()->content, u"# My own plan\n"_s);
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Changed on disk"_s);
    EXPECT_EQ(model->statusNotice(),
        u"campaign-plan.md changed on disk while you were editing it. Saving keeps the version on disk beside it."_s);
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(readAll(plan), "# My own plan\n");
    QStringList kept = QDir(folder).entryList({ u"campaign-plan.on-disk-*.md"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + kept.first()), mirrored);
    EXPECT_EQ(model->statusNotice(),
        u"Saved campaign-plan.md to disk. Kept the version on disk as ~/Documents/Orvane/files/"_s + kept.first()
            + u'.');
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Synced"_s);

    // Another program's change, met by a reload.
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    reload();
    select(u"notes.md"_s);
    model->updateSelectedLocalFileContent(u"typed"_s);
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "theirs"));
    reload();
    EXPECT_EQ(model->selectedLocalFile()->content, u"typed"_s);
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Changed on disk"_s);
    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_EQ(readAll(folder + u"/notes.md"_s), "typed");
    kept = QDir(folder).entryList({ u"notes.on-disk-*.md"_s });
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readAll(folder + u'/' + kept.first()), "theirs");
}

// A change on disk under unsaved edits needs the user's eye: its notice carries the warning sign,
// whether the mirror wrote the file or a reload met another program's change. A save clears the
// mark: text typed after it is only modified, and the next change on disk is told again.
TEST_F(LocalFilesTest, AChangeOnDiskWarnsAndASaveClearsItsMark)
{
    // Every notice with its kind, as the toast shows them one after another.
    QList<std::pair<QString, NoticeKind>> notices;
    QObject::connect(model.get(), &CampaignIDEWorkspaceModel::statusNoticeChanged, model.get(), [&] {
        if (model->statusNotice())
            notices.append({ *model->statusNotice(), model->statusNoticeKind() });
    });
    const auto toldOnce = [&notices](const QString &name) {
        const QString text
            = name + u" changed on disk while you were editing it. Saving keeps the version on disk beside it."_s;
        const auto told = std::count_if(
            notices.cbegin(), notices.cend(), [&text](const auto &notice) { return notice.first == text; });
        const auto warned = std::count(notices.cbegin(), notices.cend(), std::pair { text, NoticeKind::warning });
        notices.clear();
        return told == 1 && warned == 1;
    };
    select(u"campaign-plan.md"_s);
    model->updateSelectedLocalFileContent(u"# My own plan\n"_s);
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Launch in summer"_s; });
    model->flushPendingWrites();
    ASSERT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Changed on disk"_s);
    EXPECT_TRUE(toldOnce(u"campaign-plan.md"_s));

    model->saveSelectedLocalFile();
    model->flushPendingWrites();
    EXPECT_FALSE(model->selectedLocalFile()->changedOnDisk);
    model->updateSelectedLocalFileContent(u"# My own plan, again\n"_s);
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Modified"_s);

    notices.clear();
    model->mutateProject(p.id, [](CampaignIDEProject &changed) { changed.objective = u"Launch in autumn"_s; });
    model->flushPendingWrites();
    EXPECT_EQ(model->selectedLocalFile()->modifiedLabel(), u"Changed on disk"_s);
    EXPECT_TRUE(toldOnce(u"campaign-plan.md"_s));

    // Another program's change, met by a reload.
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "disk"));
    reload();
    select(u"notes.md"_s);
    model->updateSelectedLocalFileContent(u"typed"_s);
    notices.clear();
    ASSERT_TRUE(writeAll(folder + u"/notes.md"_s, "theirs"));
    reload();
    EXPECT_TRUE(toldOnce(u"notes.md"_s));
}

TEST_F(LocalFilesTest, WithoutASelectedProjectTheRootIsListedAndCreated)
{
    QDir(workspaceRoot()).removeRecursively();
    model->setSelectedProjectID(std::nullopt);
    reload();
    EXPECT_TRUE(QFileInfo(workspaceRoot()).isDir());
    EXPECT_TRUE(model->localFiles().isEmpty());
    EXPECT_FALSE(model->selectedLocalFile());
    ASSERT_TRUE(writeAll(workspaceRoot() + u"/readme.md"_s, "r"));
    reload();
    EXPECT_EQ(names(), QList<QString> { u"readme.md"_s });
}

} // namespace
} // namespace orvane::test
