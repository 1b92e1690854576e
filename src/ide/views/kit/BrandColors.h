#pragma once

#include "kit/brand/Brand.h"

#include <QColor>
#include <QPalette>

namespace orvane {

[[nodiscard]] QColor toQColor(const HexColor &color);

// Dark when the palette draws light text on a darker window, as a dark desktop appearance does.
[[nodiscard]] ColorScheme colorScheme(const QPalette &palette);

// A brand colour for the appearance of `palette`; the palette's text colour when the token of
// that appearance did not parse.
[[nodiscard]] QColor resolve(const BrandAdaptiveColor &color, const QPalette &palette);

} // namespace orvane
