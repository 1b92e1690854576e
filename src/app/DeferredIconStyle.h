#pragma once

#include "ide/views/kit/ThemeScrollBarStyle.h"

namespace orvane {

// The platform's style, with its standard icons loaded when first drawn or measured. Loading one
// reads its image files through every image-format plug-in; the window's menu bar asks for one
// (its overflow button) while it is built, though it shows only when the menu bar overflows. Its
// scroll bars are the theme's (ThemeScrollBarStyle).
class DeferredIconStyle final : public ThemeScrollBarStyle {
public:
    using ThemeScrollBarStyle::ThemeScrollBarStyle;

    [[nodiscard]] QIcon standardIcon(
        StandardPixmap icon, const QStyleOption *option = nullptr, const QWidget *widget = nullptr) const override;
};

} // namespace orvane
