#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/BrandColors.h"
#include "ide/views/kit/ThemeSource.h"

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

TEST(OrvaneWebThemeTest, ColoursOfBothThemes)
{
    // light, dark; "#1AFFFFFF" and "#33FFFFFF" are white at 0.10 and 0.20.
    const std::pair<ThemeColor, std::pair<const char16_t *, const char16_t *>> table[] = {
        { ThemeColor::canvasBackground, { u"#F8FAFC", u"#0A0E14" } },
        { ThemeColor::sidebarBackground, { u"#F1F5F9", u"#0C111A" } },
        { ThemeColor::panelBackground, { u"#FFFFFF", u"#0F172A" } },
        { ThemeColor::elevatedBackground, { u"#F1F5F9", u"#151F34" } },
        { ThemeColor::borderSubtle, { u"#E2E8F0", u"#1AFFFFFF" } },
        { ThemeColor::borderStrong, { u"#CBD5E1", u"#33FFFFFF" } },
        { ThemeColor::textPrimary, { u"#0F172A", u"#F1F5F9" } },
        { ThemeColor::textSecondary, { u"#475569", u"#94A3B8" } },
        { ThemeColor::textMuted, { u"#94A3B8", u"#64748B" } },
        { ThemeColor::accentLime, { u"#4D7C0F", u"#CCFF00" } },
        { ThemeColor::accentLimeFill, { u"#CCFF00", u"#CCFF00" } },
        { ThemeColor::accentCyan, { u"#0284C7", u"#00E5FF" } },
        { ThemeColor::accentAmber, { u"#F59E0B", u"#F59E0B" } },
        { ThemeColor::accentCrimson, { u"#FF3366", u"#FF3366" } },
        { ThemeColor::accentEmerald, { u"#10B981", u"#10B981" } },
    };
    const OrvaneWebTheme light(false);
    const OrvaneWebTheme dark(true);
    for (const auto &[role, values] : table) {
        EXPECT_EQ(hex(light.color(role)), QString::fromUtf16(values.first)) << int(role);
        EXPECT_EQ(hex(dark.color(role)), QString::fromUtf16(values.second)) << int(role);
    }
    EXPECT_NEAR(dark.borderSubtle().alphaF(), 0.10, 0.002);
    EXPECT_NEAR(dark.borderStrong().alphaF(), 0.20, 0.002);
    EXPECT_EQ(light.textPrimary(), dark.panelBackground());
}

TEST(OrvaneWebThemeTest, FlippingTheFlagChangesAllButTheFixedAccents)
{
    const QList<ThemeColor> fixed { ThemeColor::accentLimeFill, ThemeColor::accentAmber, ThemeColor::accentCrimson,
        ThemeColor::accentEmerald };
    for (const ThemeColor role : allColors) {
        EXPECT_EQ(OrvaneWebTheme(true).color(role), OrvaneWebTheme(true).color(role));
        if (fixed.contains(role))
            EXPECT_EQ(OrvaneWebTheme(true).color(role), OrvaneWebTheme(false).color(role)) << int(role);
        else
            EXPECT_NE(OrvaneWebTheme(true).color(role), OrvaneWebTheme(false).color(role)) << int(role);
    }
    // Only the dark borders are translucent.
    for (const bool isDark : { false, true }) {
        for (const ThemeColor role : allColors) {
            const bool translucent = isDark && (role == ThemeColor::borderSubtle || role == ThemeColor::borderStrong);
            EXPECT_EQ(OrvaneWebTheme(isDark).color(role).alpha() < 255, translucent) << isDark << " " << int(role);
        }
    }
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
