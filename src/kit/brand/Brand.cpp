#include "kit/brand/Brand.h"

namespace orvane::Brand {

const BrandPalette &palette(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? BrandTokens::dark : BrandTokens::light;
}

BrandAdaptiveColor adaptive(BrandToken token)
{
    return { HexColor::fromHex(QString(BrandTokens::dark.*token)),
        HexColor::fromHex(QString(BrandTokens::light.*token)) };
}

HexColor lime()
{
    static constexpr HexColor systemGreen { 0.204, 0.780, 0.349, 1.0 };
    return HexColor::fromHex(QString(BrandTokens::brandLime)).value_or(systemGreen);
}

BrandAdaptiveColor bgPrimary()
{
    return adaptive(&BrandPalette::bgPrimary);
}
BrandAdaptiveColor bgSecondary()
{
    return adaptive(&BrandPalette::bgSecondary);
}
BrandAdaptiveColor bgTertiary()
{
    return adaptive(&BrandPalette::bgTertiary);
}
BrandAdaptiveColor textPrimary()
{
    return adaptive(&BrandPalette::textPrimary);
}
BrandAdaptiveColor textSecondary()
{
    return adaptive(&BrandPalette::textSecondary);
}
BrandAdaptiveColor textTertiary()
{
    return adaptive(&BrandPalette::textTertiary);
}
BrandAdaptiveColor borderPrimary()
{
    return adaptive(&BrandPalette::borderPrimary);
}
BrandAdaptiveColor accentPrimary()
{
    return adaptive(&BrandPalette::accentPrimary);
}
BrandAdaptiveColor accentContrast()
{
    return adaptive(&BrandPalette::accentContrast);
}
BrandAdaptiveColor accentLink()
{
    return adaptive(&BrandPalette::accentLink);
}
BrandAdaptiveColor accentRed()
{
    return adaptive(&BrandPalette::accentRed);
}
BrandAdaptiveColor success()
{
    return adaptive(&BrandPalette::success);
}
BrandAdaptiveColor warning()
{
    return adaptive(&BrandPalette::warning);
}
BrandAdaptiveColor info()
{
    return adaptive(&BrandPalette::info);
}

} // namespace orvane::Brand
