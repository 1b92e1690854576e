#include "platform/AtomicFile.h"

#include "testsupport/desktop/FileSizeLimit.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace orvane::platform;
using namespace Qt::StringLiterals;

namespace {

class AtomicFileTest : public testing::TestWithParam<qsizetype> {
protected:
    QTemporaryDir dir;
    QString path(const QString &name) const { return dir.filePath(name); }
    QByteArray contents(const QString &name) const { return readRegularFile(path(name), 1 << 20).bytes; }
    QStringList entries() const
    {
        return QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot | QDir::System);
    }
};

// Small writes used to sit in a buffer until the commit, whose failed flush went unnoticed.
TEST_P(AtomicFileTest, AFailedWriteLeavesTheOldFileWhole)
{
    ASSERT_TRUE(writeFileAtomically(path(u"store.json"_s), "[\"old\"]"));
    QString error;
    {
        const orvane::test::FileSizeLimit full(4);
        EXPECT_FALSE(writeFileAtomically(path(u"store.json"_s), QByteArray(GetParam(), 'x'), &error));
    }
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(contents(u"store.json"_s), "[\"old\"]");
    EXPECT_EQ(entries(), QStringList { u"store.json"_s }); // no temporary file left
}

INSTANTIATE_TEST_SUITE_P(Sizes, AtomicFileTest, testing::Values(100, 16 * 1024, 4 * 1024 * 1024));

TEST_F(AtomicFileTest, ReplacesLinksAndFifosWithoutFollowingThem)
{
    QTemporaryDir outside;
    const QString target = outside.filePath(u"target.md"_s);
    ASSERT_TRUE(writeFileAtomically(target, "theirs"));
    ASSERT_TRUE(QFile::link(target, path(u"plan.md"_s)));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path(u"ledger.json"_s)).constData(), 0600), 0);

    EXPECT_EQ(readRegularFile(path(u"plan.md"_s), 100, false).outcome, ReadOutcome::notRegular);
    EXPECT_EQ(readRegularFile(path(u"ledger.json"_s), 100).outcome, ReadOutcome::notRegular); // never blocks
    EXPECT_TRUE(writeFileAtomically(path(u"plan.md"_s), "ours"));
    EXPECT_TRUE(writeFileAtomically(path(u"ledger.json"_s), "{}"));

    EXPECT_EQ(readRegularFile(target, 100).bytes, "theirs");
    EXPECT_FALSE(QFileInfo(path(u"plan.md"_s)).isSymLink());
    EXPECT_EQ(contents(u"plan.md"_s), "ours");
    EXPECT_EQ(contents(u"ledger.json"_s), "{}");
}

TEST_F(AtomicFileTest, KeepsPermissionsAndRefusesFoldersAndOversizedReads)
{
    ASSERT_TRUE(writeFileAtomically(path(u"a.sh"_s), "1"));
    const QByteArray native = QFile::encodeName(path(u"a.sh"_s));
    ASSERT_EQ(::chmod(native.constData(), 0700), 0);
    ASSERT_TRUE(writeFileAtomically(path(u"a.sh"_s), "22"));
    struct stat st { };
    ASSERT_EQ(::stat(native.constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    ASSERT_TRUE(QDir(dir.path()).mkdir(u"sub"_s));
    EXPECT_FALSE(writeFileAtomically(path(u"sub"_s), "x"));
    EXPECT_EQ(readRegularFile(path(u"a.sh"_s), 1).outcome, ReadOutcome::tooLarge);
    EXPECT_EQ(readRegularFile(path(u"none"_s), 1).outcome, ReadOutcome::absent);
}

} // namespace
