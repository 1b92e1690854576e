#include "GovernanceWindowFixture.h"

#include "ide/views/governance/WorkspaceSettingsSurfaceView.h"
#include "ide/views/kit/ThemeSource.h"

namespace orvane::governancetest {
namespace {

class WorkspaceSettingsSurfaceTest : public GovernanceWindowTest {
protected:
    WorkspaceSettingsSurfaceView *openSettings()
    {
        return open<WorkspaceSettingsSurfaceView>(IDEPrimaryDestination::settings());
    }
};

TEST_F(WorkspaceSettingsSurfaceTest, ShowsTheFolderAndRevealsIt)
{
    WorkspaceSettingsSurfaceView *surface = openSettings();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(textOf(surface, u"surfaceKickerLabel"_s), u"WORKSPACE & LOCAL MODE SETTINGS"_s);
    EXPECT_EQ(textOf(surface, u"surfaceHeadlineLabel"_s), u"Local Filesystem Sync, Appearance & Cloud Pairing"_s);
    EXPECT_EQ(textOf(surface, u"workspacePathLabel"_s), workspaceRoot());
    EXPECT_EQ(colorOf(surface, u"workspacePathLabel"_s), window->themeSource()->color(ThemeColor::accentCyan));
    // No sign-in offer here, signed in or not.
    EXPECT_EQ(surface->findChild<QWidget *>(u"cloudSignInButton"_s), nullptr);

    click(u"revealWorkspaceButton"_s);
    EXPECT_EQ(revealed, QStringList { workspaceRoot() });
    model().setDarkTheme(false);
    EXPECT_EQ(colorOf(surface, u"workspacePathLabel"_s), window->themeSource()->color(ThemeColor::accentCyan));
}

TEST_F(WorkspaceSettingsSurfaceTest, APathWithBlanksAndAccentsIsShownAsTheFileSystemSpellsIt)
{
    const QString odd = home.path() + u"/Café Ops 2026"_s;
    QDir().mkpath(odd);
    test::ScopedEnvironmentVariable oddHome("HOME", odd.toUtf8());
    WorkspaceSettingsSurfaceView *surface = openSettings();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(textOf(surface, u"workspacePathLabel"_s), odd + u"/Documents/Orvane"_s);
    EXPECT_FALSE(textOf(surface, u"workspacePathLabel"_s).contains(u'%'));
    window.reset();
}

TEST_F(WorkspaceSettingsSurfaceTest, ForceSyncRewritesTheFoldersAndSaysSoEvenWithoutProjects)
{
    WorkspaceSettingsSurfaceView *surface = openSettings();
    ASSERT_NE(surface, nullptr);
    ASSERT_FALSE(model().projects().isEmpty());
    const CampaignIDEProject project = model().projects().first();
    const QString plan = model().projectFolderPath(project) + u"/campaign-plan.md"_s;
    model().flushPendingWrites();
    ASSERT_TRUE(QFile::remove(plan));

    click(u"forceSyncButton"_s);
    EXPECT_TRUE(waitForNotice(u"Re-synced all projects and threads to ~/Documents/Orvane."_s));
    model().flushPendingWrites();
    EXPECT_TRUE(QFileInfo::exists(plan));

    model().removeProjects([](const CampaignIDEProject &) { return true; });
    model().setStatusNotice(std::nullopt);
    click(u"forceSyncButton"_s);
    EXPECT_TRUE(waitForNotice(u"Re-synced all projects and threads to ~/Documents/Orvane."_s));
}

TEST_F(WorkspaceSettingsSurfaceTest, AFolderThatCannotBeWrittenIsReportedNotAnnouncedAsSynced)
{
    WorkspaceSettingsSurfaceView *surface = openSettings();
    ASSERT_NE(surface, nullptr);
    ASSERT_FALSE(model().projects().isEmpty());
    model().flushPendingWrites();
    // A plain file where the first project's folder should be.
    const QString folder = model().projectFolderPath(model().projects().first());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    ASSERT_TRUE(test::writeAll(folder, "not a folder"));

    click(u"forceSyncButton"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return notice().startsWith(u"Failed to sync"_s); }, 3000))
        << notice().toStdString();
    model().setStatusNotice(std::nullopt);
}

} // namespace
} // namespace orvane::governancetest
