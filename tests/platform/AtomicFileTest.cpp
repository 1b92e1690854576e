#include "platform/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

using namespace Qt::StringLiterals;

namespace {

// Set by a test to make the next syncs of a written file fail as a failing disk makes them fail.
std::atomic<int> failSyncWith { 0 };
// Set by a test to learn the name of the file a write syncs (its temporary).
std::atomic<bool> noteSyncedFile { false };
char syncedFile[4096];

} // namespace

// The writer's fsync, in this test program only: the real call unless a test asks for a failure. A
// disk that fails on sync cannot be had on demand otherwise.
extern "C" int fsync(int fd)
{
    if (noteSyncedFile.load()) {
        const std::string link = "/proc/self/fd/" + std::to_string(fd);
        const ssize_t n = ::readlink(link.c_str(), syncedFile, sizeof syncedFile - 1);
        syncedFile[n > 0 ? n : 0] = '\0';
    }
    if (const int code = failSyncWith.load()) {
        errno = code;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace orvane::platform {
namespace {

class AtomicFileTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        failSyncWith = 0;
        noteSyncedFile = false;
        refuseWrites(std::nullopt);
    }

    [[nodiscard]] QString path(const QString &name) const { return m_dir.path() + u'/' + name; }
    [[nodiscard]] static QByteArray read(const QString &file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    [[nodiscard]] static mode_t modeOf(const QString &file)
    {
        struct stat info { };
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777 : 0;
    }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
};

// A private file stays private when it is replaced; a new file gets the usual mode.
TEST_F(AtomicFileTest, AReplacedFileKeepsItsMode)
{
    const mode_t previousMask = ::umask(022);
    const QString secret = path(u"secret.json"_s);
    ASSERT_TRUE(writeFileAtomically(secret, "old"));
    EXPECT_EQ(modeOf(secret), 0644u);
    ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0600), 0);

    EXPECT_TRUE(writeFileAtomically(secret, "new"));
    ::umask(previousMask);
    EXPECT_EQ(read(secret), "new");
    EXPECT_EQ(modeOf(secret), 0600u);
}

// A sync that fails (a full or failing disk) fails the write: the old file stays whole, the error
// names the cause and no temporary file is left behind.
TEST_F(AtomicFileTest, AFailedSyncLeavesTheOldFileWholeAndSaysWhy)
{
    const QString file = path(u"campaign-plan.md"_s);
    ASSERT_TRUE(writeFileAtomically(file, "the old plan"));

    failSyncWith = EIO;
    QString error;
    EXPECT_FALSE(writeFileAtomically(file, "the new plan, never on disk", &error));
    failSyncWith = 0;
    EXPECT_EQ(read(file), "the old plan");
    EXPECT_EQ(error, QString::fromLocal8Bit(std::strerror(EIO)));
    EXPECT_EQ(entries(), QStringList { u"campaign-plan.md"_s });
}

// Folders are made only below the root and never through a link there; the root itself may be one.
TEST_F(AtomicFileTest, FoldersAreMadeOnlyInsideTheRootAndNeverThroughALink)
{
    const QString target = path(u"target"_s);
    ASSERT_TRUE(QDir().mkpath(path(u"elsewhere"_s)));
    ASSERT_TRUE(QDir().mkpath(target));
    ASSERT_TRUE(QFile::link(target, path(u"root"_s)));
    const QString root = path(u"root"_s);

    EXPECT_TRUE(makeFolderWithin(root, root + u"/a/b"_s));
    EXPECT_TRUE(QFileInfo(target + u"/a/b"_s).isDir());
    ASSERT_TRUE(QFile::link(path(u"elsewhere"_s), target + u"/a/out"_s));
    QString error;
    EXPECT_FALSE(makeFolderWithin(root, root + u"/a/out/c"_s, &error));
    EXPECT_TRUE(error.startsWith(u"out is a link"_s)) << qPrintable(error);
    EXPECT_FALSE(makeFolderWithin(root, root + u"/../elsewhere/d"_s));
    EXPECT_TRUE(QDir(path(u"elsewhere"_s)).isEmpty());
}

// A process that may not write writes nothing, and says why, until it may again.
TEST_F(AtomicFileTest, RefusedWritesFailWithTheReasonAndLeaveTheFileAlone)
{
    const QString file = path(u"index.json"_s);
    ASSERT_TRUE(writeFileAtomically(file, "kept"));
    refuseWrites(u"this window is read-only"_s);
    QString error;
    EXPECT_FALSE(writeFileAtomically(file, "lost", &error));
    EXPECT_EQ(error, u"this window is read-only"_s);
    EXPECT_FALSE(makeFolderWithin(path(QString()), path(u"new"_s)));
    EXPECT_EQ(writesRefused(), u"this window is read-only"_s);
    // Nor does it sweep away the temporaries of the window that holds the lock.
    const QString temporary = path(u".index.json.orvane-tmp-0123456789ab"_s);
    {
        QFile partial(temporary);
        ASSERT_TRUE(partial.open(QIODevice::WriteOnly));
        ASSERT_TRUE(
            partial.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-600), QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(removeStaleTemporaries(path(QString()), path(QString()), QDateTime::currentDateTimeUtc()), 0);
    EXPECT_TRUE(QFileInfo::exists(temporary));
    refuseWrites(std::nullopt);
    EXPECT_EQ(read(file), "kept");
    EXPECT_FALSE(QFileInfo::exists(path(u"new"_s)));
    EXPECT_TRUE(writeFileAtomically(file, "written"));
}

// The writer's temporaries carry a mark of their own, also beside a file with the longest name;
// the sweep removes old ones with that mark only, never the user's hidden files however they are
// named, and never through a link: a folder that is one leads nowhere, whatever it points at.
TEST_F(AtomicFileTest, TheSweepRemovesOnlyMarkedStaleTemporariesAndNeverFollowsALink)
{
    const QString longName = QString(240, u'n') + u"é.md"_s; // 245 bytes
    for (const QString &name : { u"campaign-plan.md"_s, longName }) {
        noteSyncedFile = true;
        ASSERT_TRUE(writeFileAtomically(path(name), "plan"));
        noteSyncedFile = false;
        const QString temporary = QFileInfo(QFile::decodeName(syncedFile)).fileName();
        EXPECT_TRUE(isTemporaryName(temporary)) << qPrintable(temporary);
        EXPECT_TRUE(temporary.startsWith(u'.') && temporary.contains(name.right(200) + u".orvane-tmp-"_s))
            << qPrintable(temporary);
        EXPECT_LE(QFile::encodeName(temporary).size(), 255);
        EXPECT_EQ(read(path(name)), "plan");
    }
    EXPECT_EQ(entries(), (QStringList { u"campaign-plan.md"_s, longName }));

    const QString root = path(u"root"_s);
    const QString outside = path(u"outside"_s);
    ASSERT_TRUE(QDir().mkpath(root + u"/project"_s));
    ASSERT_TRUE(QDir().mkpath(outside));
    ASSERT_TRUE(QFile::link(outside, root + u"/linked"_s));
    const QDateTime start = QDateTime::currentDateTimeUtc();
    const auto leave = [&](const QString &file, const QDateTime &time) {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        ASSERT_TRUE(f.setFileTime(time, QFileDevice::FileModificationTime));
    };
    const QStringList users { u".notes.md.backup2024"_s, u".campaign-plan.md.1700000000"_s, u".budget.csv.oldversion"_s,
        u".index.json.3k9x0q2m1z"_s, u".envrc.orvane-tmp-"_s, u".orvane-tmp-0123"_s };
    for (const QString &folder : { QString(root + u"/project"_s), outside }) {
        for (const QString &name : users)
            leave(folder + u'/' + name, start.addSecs(-600));
        leave(folder + u"/.notes.md.orvane-tmp-0123456789ab"_s, start.addSecs(-600));
        leave(folder + u"/.plan.md.orvane-tmp-k2"_s, start.addSecs(60)); // a write under way
    }
    ASSERT_TRUE(QDir().mkpath(root + u"/project/.kept.md.orvane-tmp-f0"_s));

    EXPECT_EQ(removeStaleTemporaries(root, root + u"/linked"_s, start), 0);
    EXPECT_EQ(removeStaleTemporaries(root, outside, start), 0);
    EXPECT_EQ(removeStaleTemporaries(root, root + u"/project/../../outside"_s, start), 0);
    EXPECT_EQ(removeStaleTemporaries(root, root + u"/project"_s, start), 1);
    const QStringList left
        = QDir(root + u"/project"_s).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    EXPECT_EQ(left.size(), users.size() + 2) << qPrintable(left.join(u' '));
    EXPECT_FALSE(left.contains(u".notes.md.orvane-tmp-0123456789ab"_s));
    EXPECT_EQ(QDir(outside).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(), users.size() + 2);
    for (const QString &name : users)
        EXPECT_FALSE(isTemporaryName(name)) << qPrintable(name);
}

} // namespace
} // namespace orvane::platform
