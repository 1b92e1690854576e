#include "platform/ui/ApplicationFonts.h"

#include <QFontDatabase>
#include <QFontInfo>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane::ui {
namespace {

TEST(ApplicationFontsTest, RegistersOnceOnFirstUseAndSkipsMissingFilesAndFilesThatAreNoFont)
{
    QStringList files = OrvaneSignInType::bundledFiles();
    ASSERT_EQ(files.size(), 3);
    files[1] = u":/orvane/fonts/NotThere.ttf"_s; // no Inter
    files.append(u":/orvane/symbols/folder.svg"_s);

    ApplicationFonts fonts(files);
    EXPECT_FALSE(fonts.isRegistered());
    EXPECT_TRUE(fonts.families().isEmpty());

    fonts.ensureRegistered();
    EXPECT_TRUE(fonts.isRegistered());
    EXPECT_EQ(fonts.registeredFileCount(), 2);
    EXPECT_TRUE(fonts.families().contains(u"Space Grotesk"_s)) << fonts.families().join(u", ").toStdString();
    EXPECT_TRUE(fonts.families().contains(u"IBM Plex Mono"_s)) << fonts.families().join(u", ").toStdString();

    fonts.ensureRegistered();
    EXPECT_EQ(fonts.registeredFileCount(), 2);
}

TEST(ApplicationFontsTest, SignInTypeUsesTheBundledFaces)
{
    const QFont display = OrvaneSignInType::display(44);
    EXPECT_TRUE(OrvaneSignInType::fonts().isRegistered());
    EXPECT_EQ(OrvaneSignInType::fonts().registeredFileCount(), 3);

    const QFontInfo displayInfo(display);
    EXPECT_EQ(displayInfo.family(), u"Space Grotesk"_s);
    EXPECT_EQ(displayInfo.pixelSize(), 44);
    EXPECT_EQ(displayInfo.weight(), QFont::Light);

    const QFontInfo bodyInfo(OrvaneSignInType::body(15));
    EXPECT_EQ(bodyInfo.family(), u"Inter"_s);
    EXPECT_EQ(bodyInfo.pixelSize(), 15);
    EXPECT_EQ(QFontInfo(OrvaneSignInType::caption()).pixelSize(), 13);
}

} // namespace
} // namespace orvane::ui
