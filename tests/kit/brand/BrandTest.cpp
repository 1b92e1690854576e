#include "kit/brand/Brand.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

HexColor parsed(const QString &text)
{
    const auto color = HexColor::fromHex(text);
    EXPECT_TRUE(color.has_value()) << text.toStdString();
    return color.value_or(HexColor {});
}

TEST(HexColorTest, ParsesSixOrEightDigitTokensInAnySpellingWithAlphaLast)
{
    const HexColor lime { 200.0 / 255.0, 1.0, 0.0, 1.0 };
    EXPECT_EQ(parsed(u"#C8FF00"_s), lime);
    EXPECT_EQ(parsed(u"C8FF00"_s), lime);
    EXPECT_EQ(parsed(u"#c8ff00"_s), lime);
    EXPECT_EQ(parsed(u"  #C8FF00 \n"_s), lime);
    EXPECT_EQ(parsed(u"\t#C8FF00\r\n"_s), lime);

    const HexColor color = parsed(u"#C8FF0080"_s);
    EXPECT_DOUBLE_EQ(color.red, 200.0 / 255.0);
    EXPECT_DOUBLE_EQ(color.green, 1.0);
    EXPECT_DOUBLE_EQ(color.blue, 0.0);
    EXPECT_NEAR(color.alpha, 0.502, 0.001);
}

TEST(HexColorTest, RefusesWhatIsNotATokenButCountsASignAsACharacter)
{
    for (const QString &text : { u"#FFF"_s, u"#12345"_s, u"#1234567"_s, u""_s, u"#"_s, u"#GGGGGG"_s, u"#12 456"_s,
             u"##C8FF00"_s, u"##C8FF0"_s, u"#C8FF0é"_s, u"0xC8FF"_s, u"+-1234"_s, u"-12345"_s })
        EXPECT_FALSE(HexColor::fromHex(text).has_value()) << text.toStdString();

    // "+" and five digits: the value comes from the five digits, so red holds at most 0x0F.
    const HexColor plus = parsed(u"+FFFFF"_s);
    EXPECT_DOUBLE_EQ(plus.red, 15.0 / 255.0);
    EXPECT_DOUBLE_EQ(plus.green, 1.0);
    EXPECT_DOUBLE_EQ(plus.blue, 1.0);
    // A minus sign is accepted only for zero.
    EXPECT_EQ(parsed(u"-00000"_s), (HexColor { 0, 0, 0, 1 }));
}

TEST(HexColorTest, LuminanceAndContrastFollowWcag)
{
    const HexColor black = parsed(u"000000"_s);
    const HexColor white = parsed(u"FFFFFF"_s);
    EXPECT_DOUBLE_EQ(black.luminance(), 0.0);
    EXPECT_NEAR(white.luminance(), 1.0, 1e-12);
    EXPECT_NEAR(HexColor::contrastRatio(black, white), 21.0, 1e-9);
    EXPECT_NEAR(HexColor::contrastRatio(white, black), 21.0, 1e-9);
    EXPECT_DOUBLE_EQ(HexColor::contrastRatio(white, white), 1.0);

    // A channel of exactly 0.03928 is on the linear side of the threshold.
    const HexColor threshold { 0.03928, 0, 0, 1 };
    EXPECT_DOUBLE_EQ(threshold.luminance(), 0.2126 * (0.03928 / 12.92));
    // Alpha plays no part.
    EXPECT_DOUBLE_EQ(parsed(u"#C8FF0000"_s).luminance(), parsed(u"#C8FF00"_s).luminance());
}

TEST(BrandTest, EveryTokenOfBothPalettesParses)
{
    const BrandToken tokens[] = {
        &BrandPalette::bgPrimary,
        &BrandPalette::bgSecondary,
        &BrandPalette::bgTertiary,
        &BrandPalette::textPrimary,
        &BrandPalette::textSecondary,
        &BrandPalette::textTertiary,
        &BrandPalette::borderPrimary,
        &BrandPalette::borderSecondary,
        &BrandPalette::accentPrimary,
        &BrandPalette::accentContrast,
        &BrandPalette::accentSecondary,
        &BrandPalette::accentLink,
        &BrandPalette::accentRed,
        &BrandPalette::accentLime,
        &BrandPalette::accentCyan,
        &BrandPalette::success,
        &BrandPalette::warning,
        &BrandPalette::info,
    };
    for (const BrandToken token : tokens) {
        const BrandAdaptiveColor color = Brand::adaptive(token);
        EXPECT_TRUE(color.dark.has_value()) << QString(BrandTokens::dark.*token).toStdString();
        EXPECT_TRUE(color.light.has_value()) << QString(BrandTokens::light.*token).toStdString();
    }
    EXPECT_EQ(Brand::lime(), parsed(u"#C8FF00"_s));
    EXPECT_EQ(BrandTokens::brandLime, BrandTokens::dark.accentPrimary);
}

TEST(BrandTest, PaletteAndNamedColoursFollowTheScheme)
{
    EXPECT_EQ(Brand::palette(ColorScheme::dark), BrandTokens::dark);
    EXPECT_EQ(Brand::palette(ColorScheme::light), BrandTokens::light);
    EXPECT_NE(BrandTokens::dark, BrandTokens::light);
    // The light palette repeats one grey on purpose.
    EXPECT_EQ(BrandTokens::light.bgTertiary, BrandTokens::light.borderPrimary);

    EXPECT_EQ(Brand::textPrimary().resolved(ColorScheme::dark), parsed(u"#F9FAFB"_s));
    EXPECT_EQ(Brand::textPrimary().resolved(ColorScheme::light), parsed(u"#0F172A"_s));
    EXPECT_EQ(Brand::accentPrimary().resolved(ColorScheme::light), parsed(u"#16A34A"_s));
}

} // namespace
} // namespace orvane
