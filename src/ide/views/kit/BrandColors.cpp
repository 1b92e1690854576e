#include "ide/views/kit/BrandColors.h"

namespace orvane {

QColor toQColor(const HexColor &color)
{
    return QColor::fromRgbF(float(color.red), float(color.green), float(color.blue), float(color.alpha));
}

ColorScheme colorScheme(const QPalette &palette)
{
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness()
        ? ColorScheme::dark
        : ColorScheme::light;
}

QColor resolve(const BrandAdaptiveColor &color, const QPalette &palette)
{
    const std::optional<HexColor> chosen = color.resolved(colorScheme(palette));
    return chosen ? toQColor(*chosen) : palette.color(QPalette::WindowText);
}

} // namespace orvane
