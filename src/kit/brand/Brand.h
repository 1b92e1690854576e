#pragma once

#include "kit/brand/HexColor.h"

#include <QLatin1StringView>

#include <optional>

namespace orvane {

// The product's colour tokens, each "#RRGGBB".
struct BrandPalette final {
    QLatin1StringView bgPrimary;
    QLatin1StringView bgSecondary;
    QLatin1StringView bgTertiary;
    QLatin1StringView textPrimary;
    QLatin1StringView textSecondary;
    QLatin1StringView textTertiary;
    QLatin1StringView borderPrimary;
    QLatin1StringView borderSecondary;
    QLatin1StringView accentPrimary;
    QLatin1StringView accentContrast;
    QLatin1StringView accentSecondary;
    QLatin1StringView accentLink;
    QLatin1StringView accentRed;
    QLatin1StringView accentLime;
    QLatin1StringView accentCyan;
    QLatin1StringView success;
    QLatin1StringView warning;
    QLatin1StringView info;

    friend bool operator==(const BrandPalette &, const BrandPalette &) = default;
};

// A palette field, the way named colours pick their token from either palette.
using BrandToken = QLatin1StringView BrandPalette::*;

namespace BrandTokens {

inline constexpr BrandPalette dark {
    QLatin1StringView("#0B0E12"),
    QLatin1StringView("#111111"),
    QLatin1StringView("#1A1A1A"),
    QLatin1StringView("#F9FAFB"),
    QLatin1StringView("#D1D5DB"),
    QLatin1StringView("#9CA3AF"),
    QLatin1StringView("#27272A"),
    QLatin1StringView("#3F3F46"),
    QLatin1StringView("#C8FF00"),
    QLatin1StringView("#000000"),
    QLatin1StringView("#10B981"),
    QLatin1StringView("#60A5FA"),
    QLatin1StringView("#E4453A"),
    QLatin1StringView("#65A30D"),
    QLatin1StringView("#4DD6FF"),
    QLatin1StringView("#86EFAC"),
    QLatin1StringView("#FEF08A"),
    QLatin1StringView("#BFDBFE"),
};

// The light bgTertiary and borderPrimary are the same grey on purpose.
inline constexpr BrandPalette light {
    QLatin1StringView("#F8FAFC"),
    QLatin1StringView("#F1F5F9"),
    QLatin1StringView("#E2E8F0"),
    QLatin1StringView("#0F172A"),
    QLatin1StringView("#334155"),
    QLatin1StringView("#64748B"),
    QLatin1StringView("#E2E8F0"),
    QLatin1StringView("#CBD5E1"),
    QLatin1StringView("#16A34A"),
    QLatin1StringView("#FFFFFF"),
    QLatin1StringView("#059669"),
    QLatin1StringView("#2563EB"),
    QLatin1StringView("#DC2626"),
    QLatin1StringView("#84CC16"),
    QLatin1StringView("#06B6D4"),
    QLatin1StringView("#065F46"),
    QLatin1StringView("#7A4F05"),
    QLatin1StringView("#1E3A8A"),
};

inline constexpr QLatin1StringView brandLime = QLatin1StringView("#C8FF00");

} // namespace BrandTokens

enum class ColorScheme { light, dark };

// A colour that follows the appearance: the dark token's colour in a dark appearance, the light
// one's otherwise. A side whose token did not parse is empty; the UI layer then draws the
// platform's label colour.
struct BrandAdaptiveColor final {
    std::optional<HexColor> dark;
    std::optional<HexColor> light;

    [[nodiscard]] std::optional<HexColor> resolved(ColorScheme scheme) const
    {
        return scheme == ColorScheme::dark ? dark : light;
    }
    bool operator==(const BrandAdaptiveColor &) const = default;
};

// Named colours of the sign-in screen and the application tint. Tokens without a named colour
// (borderSecondary, accentSecondary, accentLime, accentCyan) are reached through adaptive().
namespace Brand {

[[nodiscard]] const BrandPalette &palette(ColorScheme scheme);

// Parses the token of both palettes once, when the colour is built.
[[nodiscard]] BrandAdaptiveColor adaptive(BrandToken token);

// The fixed brand lime, whatever the appearance (a plain green should the token not parse).
[[nodiscard]] HexColor lime();

[[nodiscard]] BrandAdaptiveColor bgPrimary();
[[nodiscard]] BrandAdaptiveColor bgSecondary();
[[nodiscard]] BrandAdaptiveColor bgTertiary();
[[nodiscard]] BrandAdaptiveColor textPrimary();
[[nodiscard]] BrandAdaptiveColor textSecondary();
[[nodiscard]] BrandAdaptiveColor textTertiary();
[[nodiscard]] BrandAdaptiveColor borderPrimary();
[[nodiscard]] BrandAdaptiveColor accentPrimary();
[[nodiscard]] BrandAdaptiveColor accentContrast();
[[nodiscard]] BrandAdaptiveColor accentLink();
[[nodiscard]] BrandAdaptiveColor accentRed();
[[nodiscard]] BrandAdaptiveColor success();
[[nodiscard]] BrandAdaptiveColor warning();
[[nodiscard]] BrandAdaptiveColor info();

} // namespace Brand

} // namespace orvane
