#include "ProcessTestSupport.h"

#include "app/OrvaneApp.h"

#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace orvane;
using namespace orvane::test;
using namespace Qt::StringLiterals;

TEST(InstallTest, InstallsTheExecutableADesktopEntryMetainfoAndIconsThatValidate)
{
    const QString desktopValidator = QStandardPaths::findExecutable(u"desktop-file-validate"_s);
    const QString appstream = QStandardPaths::findExecutable(u"appstreamcli"_s);
    if (desktopValidator.isEmpty() || appstream.isEmpty())
        GTEST_SKIP() << "desktop-file-validate or appstreamcli is not installed (scripts/setup installs them)";

    QTemporaryDir prefix;
    const ToolRun install = runToCompletion(QStringLiteral(ORVANE_CMAKE_COMMAND),
        { u"--install"_s, QStringLiteral(ORVANE_BINARY_DIR), u"--prefix"_s, prefix.path() });
    ASSERT_EQ(install.exitCode, 0) << qPrintable(install.output);

    const QString id = OrvaneApp::desktopFileName.toString();
    const QString share = prefix.path() + u"/share/"_s;
    EXPECT_TRUE(QFileInfo(prefix.path() + u"/bin/orvane"_s).isExecutable());
    const QString entry = share + u"applications/"_s + id + u".desktop"_s;
    const QString metainfo = share + u"metainfo/"_s + id + u".metainfo.xml"_s;
    const ToolRun entryCheck = runToCompletion(desktopValidator, { entry });
    EXPECT_EQ(entryCheck.exitCode, 0) << qPrintable(entryCheck.output);
    const ToolRun metainfoCheck = runToCompletion(appstream, { u"validate"_s, u"--no-net"_s, metainfo });
    EXPECT_EQ(metainfoCheck.exitCode, 0) << qPrintable(metainfoCheck.output);

    EXPECT_GT(QFileInfo(share + u"icons/hicolor/scalable/apps/"_s + id + u".svg"_s).size(), 0);
    for (const int size : { 16, 32, 48, 128, 256, 512 }) {
        const QImage icon(share + u"icons/hicolor/%1x%1/apps/"_s.arg(size) + id + u".png"_s);
        EXPECT_EQ(icon.size(), QSize(size, size)) << size;
        // Drawn, not blank: the tile covers the centre.
        EXPECT_GT(qAlpha(icon.pixel(size / 2, size / 2)), 0) << size;
    }
}
