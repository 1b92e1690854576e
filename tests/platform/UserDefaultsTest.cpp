#include "platform/UserDefaults.h"

#include "platform/AtomicFile.h"
#include "testsupport/desktop/TemporaryHome.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <optional>

#include <sys/fsuid.h>
#include <unistd.h>

using orvane::platform::UserDefaults;
using namespace Qt::StringLiterals;

namespace {

class UserDefaultsTest : public testing::Test {
protected:
    orvane::test::TemporaryHome home;
};

QByteArray fileContents(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST_F(UserDefaultsTest, StandardStoreLivesUnderTheConfigHome)
{
    EXPECT_EQ(UserDefaults::standardDirectory(), home.configHome() + u"/Orvane/defaults");

    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserDefaults::standardDirectory(), home.path() + u"/.config/Orvane/defaults");
    // A relative value is not a base directory.
    qputenv("XDG_CONFIG_HOME", "relative/dir");
    EXPECT_EQ(UserDefaults::standardDirectory(), home.path() + u"/.config/Orvane/defaults");
}

// Every spelling of the config home is one folder: what a copy or a ledger records by it is met
// again whichever spelling the next start has.
TEST_F(UserDefaultsTest, EverySpellingOfTheConfigHomeGivesOnePath)
{
    const QString clean = home.configHome() + u"/Orvane/defaults";
    const QStringList spellings { home.configHome() + u'/', home.configHome() + u"//"_s, home.path() + u"/./.config/"_s,
        home.path() + u"/x/../.config"_s };
    for (const QString &spelling : spellings) {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(spelling));
        EXPECT_EQ(UserDefaults::standardDirectory(), clean) << spelling.toStdString();
    }
    qputenv("HOME", QFile::encodeName(home.path() + u'/'));
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(UserDefaults::standardDirectory(), clean);
}

TEST_F(UserDefaultsTest, OneJsonFilePerKey)
{
    const UserDefaults defaults = UserDefaults::standard();
    ASSERT_TRUE(defaults.setBool(QStringLiteral("com.orvane.session.signedOut.production"), true));
    ASSERT_TRUE(defaults.setValue(QStringLiteral("list"), "[1,2]"));

    const QString dir = home.configHome() + u"/Orvane/defaults";
    EXPECT_EQ(fileContents(dir + u"/com.orvane.session.signedOut.production.json"), "true");
    EXPECT_EQ(fileContents(dir + u"/list.json"), "[1,2]");
    EXPECT_EQ(QDir(dir).entryList(QDir::Files | QDir::Hidden),
        QStringList({ u"com.orvane.session.signedOut.production.json"_s, u"list.json"_s }));

    EXPECT_EQ(defaults.boolValue(QStringLiteral("com.orvane.session.signedOut.production")), true);
    EXPECT_EQ(defaults.value(QStringLiteral("list")), QByteArray("[1,2]"));
}

TEST_F(UserDefaultsTest, AbsentForeignRewrittenAndRemovedValues)
{
    const UserDefaults defaults = UserDefaults::standard();
    EXPECT_FALSE(defaults.value(QStringLiteral("missing")));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("missing")));
    EXPECT_FALSE(defaults.contains(QStringLiteral("missing")));

    ASSERT_TRUE(defaults.setValue(QStringLiteral("flag"), "\"yes\""));
    EXPECT_FALSE(defaults.boolValue(QStringLiteral("flag")));
    ASSERT_TRUE(defaults.setValue(QStringLiteral("flag"), " false\n"));
    EXPECT_EQ(defaults.boolValue(QStringLiteral("flag")), false);

    ASSERT_TRUE(defaults.setBool(QStringLiteral("flag"), true));
    EXPECT_EQ(defaults.boolValue(QStringLiteral("flag")), true);
    EXPECT_TRUE(defaults.remove(QStringLiteral("flag")));
    EXPECT_FALSE(defaults.contains(QStringLiteral("flag")));
    EXPECT_TRUE(defaults.remove(QStringLiteral("flag")));
    // No temporary file is left behind by the atomic writes.
    EXPECT_TRUE(QDir(defaults.directory()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(UserDefaultsTest, KeysNeverLeaveTheFolder)
{
    const UserDefaults defaults(home.path() + u"/store");
    const QStringList refused = { QString(), u"../escape"_s, u"a/b"_s, u"..hidden"_s, u"x..y"_s, u".profile"_s,
        u"back\\slash"_s, u"tab\tkey"_s, QString(201, u'k') };
    for (const QString &key : refused) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(UserDefaults::isValidKey(key));
        EXPECT_FALSE(defaults.setBool(key, true));
        EXPECT_FALSE(defaults.value(key));
        EXPECT_FALSE(defaults.remove(key));
    }
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/escape.json"));
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/store"));
    EXPECT_TRUE(UserDefaults::isValidKey(u"com.orvane.app.macos.ide.threads.v2"_s));
}

// Root ignores folder permissions, so while it lives this thread reaches files as an unprivileged
// owner of the given paths (the file-system uid is per thread on Linux; the rest of the process,
// and the uid it gives back on destruction, stay as they were).
class UnprivilegedFileAccess final {
public:
    explicit UnprivilegedFileAccess(const QStringList &paths)
    {
        if (::geteuid() != 0)
            return;
        for (const QString &path : paths)
            EXPECT_EQ(::chown(QFile::encodeName(path).constData(), nobody, nobody), 0) << path.toStdString();
        m_previous = ::setfsuid(nobody);
        EXPECT_EQ(::setfsuid(nobody), static_cast<int>(nobody));
    }
    ~UnprivilegedFileAccess()
    {
        if (m_previous)
            ::setfsuid(static_cast<uid_t>(*m_previous));
    }
    UnprivilegedFileAccess(const UnprivilegedFileAccess &) = delete;
    UnprivilegedFileAccess &operator=(const UnprivilegedFileAccess &) = delete;

private:
    static constexpr uid_t nobody = 65534;
    std::optional<int> m_previous;
};

TEST_F(UserDefaultsTest, UnwritableFolderFailsWithoutLosingTheOldValue)
{
    const UserDefaults defaults(home.path() + u"/store");
    ASSERT_TRUE(defaults.setBool(QStringLiteral("flag"), true));
    QFile::setPermissions(defaults.directory(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    {
        const UnprivilegedFileAccess access(
            { home.path(), defaults.directory(), defaults.directory() + u"/flag.json" });
        EXPECT_FALSE(defaults.setBool(QStringLiteral("flag"), false));
        EXPECT_EQ(defaults.boolValue(QStringLiteral("flag")), true);
    }
    QFile::setPermissions(
        defaults.directory(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

// A process that may not write (a read-only window) neither makes the folder, nor changes nor
// removes a value; removing an absent one has nothing to change and succeeds.
TEST_F(UserDefaultsTest, AProcessThatMayNotWriteChangesNothing)
{
    const UserDefaults existing(home.path() + u"/store"_s);
    ASSERT_TRUE(existing.setBool(u"flag"_s, true));
    const UserDefaults absent(home.path() + u"/absent/store"_s);
    orvane::platform::refuseWrites(u"this window is read-only"_s);
    EXPECT_FALSE(absent.setBool(u"flag"_s, true));
    EXPECT_FALSE(QFileInfo::exists(home.path() + u"/absent"_s));
    EXPECT_FALSE(existing.setBool(u"flag"_s, false));
    EXPECT_FALSE(existing.setValue(u"other"_s, "1"));
    EXPECT_FALSE(existing.remove(u"flag"_s));
    EXPECT_TRUE(existing.remove(u"other"_s));
    orvane::platform::refuseWrites(std::nullopt);
    EXPECT_EQ(existing.boolValue(u"flag"_s), true);
    EXPECT_EQ(QDir(existing.directory()).entryList(QDir::Files | QDir::Hidden), QStringList { u"flag.json"_s });
    EXPECT_TRUE(existing.remove(u"flag"_s));
    EXPECT_TRUE(absent.setBool(u"flag"_s, true));
}

// A value too large to be read back is never stored: the one before it stays and still loads.
TEST_F(UserDefaultsTest, NoValueIsWrittenThatCouldNotBeReadBack)
{
    const UserDefaults defaults = UserDefaults::standard();
    ASSERT_TRUE(defaults.setValue(u"threads"_s, "[1]"));
    EXPECT_FALSE(defaults.setValue(u"threads"_s, QByteArray(UserDefaults::maxValueSize + 1, ' ')));
    EXPECT_EQ(defaults.value(u"threads"_s), QByteArray("[1]"));
    const QByteArray largest(UserDefaults::maxValueSize, ' ');
    ASSERT_TRUE(defaults.setValue(u"threads"_s, largest));
    EXPECT_EQ(defaults.value(u"threads"_s), largest);
}

} // namespace
