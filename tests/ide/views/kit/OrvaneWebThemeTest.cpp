#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/BrandColors.h"
#include "ide/views/kit/ThemeSource.h"
#include "testsupport/Golden.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr ThemeColor allColors[] = {
    ThemeColor::canvasBackground,
    ThemeColor::sidebarBackground,
    ThemeColor::panelBackground,
    ThemeColor::elevatedBackground,
    ThemeColor::borderSubtle,
    ThemeColor::borderStrong,
    ThemeColor::textPrimary,
    ThemeColor::textSecondary,
    ThemeColor::textMuted,
    ThemeColor::accentLime,
    ThemeColor::accentLimeFill,
    ThemeColor::accentCyan,
    ThemeColor::accentAmber,
    ThemeColor::accentCrimson,
    ThemeColor::accentEmerald,
    ThemeColor::cardHoverBackground,
};

QString hex(const QColor &color)
{
    return color.alpha() == 255 ? color.name(QColor::HexRgb).toUpper() : color.name(QColor::HexArgb).toUpper();
}

// Every role's colour, in the order above, in each theme, against the golden file ("#1AFFFFFF" is
// white at 0.10).
TEST(OrvaneWebThemeTest, ColoursOfBothThemes)
{
    nlohmann::ordered_json colours;
    for (const bool isDark : { false, true }) {
        nlohmann::ordered_json &theme = colours[isDark ? "dark" : "light"];
        for (const ThemeColor role : allColors)
            theme.push_back(hex(OrvaneWebTheme(isDark).color(role)).toStdString());
    }
    EXPECT_TRUE(test::matchesGolden("ide/views/kit/golden/theme-colours.json", colours));
}

TEST(OrvaneWebThemeTest, ThePaletteDrawsToolkitControlsInTheTheme)
{
    const QPalette dark = OrvaneWebTheme(true).palette();
    EXPECT_EQ(dark.color(QPalette::Window), OrvaneWebTheme(true).canvasBackground());
    EXPECT_EQ(dark.color(QPalette::Text), OrvaneWebTheme(true).textPrimary());
    EXPECT_EQ(colorScheme(dark), ColorScheme::dark);
    EXPECT_EQ(colorScheme(OrvaneWebTheme(false).palette()), ColorScheme::light);
}

TEST(ThemeSourceTest, AnnouncesOnlyRealChanges)
{
    ThemeSource source(true);
    QSignalSpy changed(&source, &ThemeSource::themeChanged);
    source.setDark(true);
    EXPECT_EQ(changed.count(), 0);
    source.setDark(false);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(source.theme(), OrvaneWebTheme(false));
    EXPECT_EQ(source.color(ThemeColor::textPrimary), OrvaneWebTheme(false).textPrimary());
}

TEST(BrandColorsTest, BrandColoursFollowTheAppearanceOfThePalette)
{
    EXPECT_EQ(resolve(Brand::textPrimary(), OrvaneWebTheme(true).palette()), QColor(0xF9, 0xFA, 0xFB));
    EXPECT_EQ(resolve(Brand::textPrimary(), OrvaneWebTheme(false).palette()), QColor(0x0F, 0x17, 0x2A));
    // A token that does not parse draws in the palette's label colour.
    const BrandAdaptiveColor broken { std::nullopt, HexColor::fromHex(u"#123456") };
    const QPalette darkPalette = OrvaneWebTheme(true).palette();
    EXPECT_EQ(resolve(broken, darkPalette), darkPalette.color(QPalette::WindowText));
    EXPECT_EQ(toQColor(*HexColor::fromHex(u"#C8FF0080")), QColor(200, 255, 0, 128));
}

} // namespace
} // namespace orvane
