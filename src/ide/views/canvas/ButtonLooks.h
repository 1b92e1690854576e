#pragma once

#include "ide/views/kit/ClickableButton.h"

#include <optional>

namespace orvane {

// A button look from its parts; opacities stay at 1.
[[nodiscard]] inline ClickableButton::Look buttonLook(std::optional<ThemeColor> fill, std::optional<ThemeColor> stroke,
    QMargins padding, int spacing, qreal strokeOpacity = 1.0)
{
    ClickableButton::Look look;
    look.fill = fill;
    look.stroke = stroke;
    look.strokeOpacity = strokeOpacity;
    look.padding = padding;
    look.spacing = spacing;
    return look;
}

} // namespace orvane
