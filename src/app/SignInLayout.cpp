#include "app/SignInLayout.h"

#include <algorithm>

namespace orvane {

SignInLayout SignInLayout::forSize(QSizeF available, bool accessibilityTextSize)
{
    const qreal width = available.width();
    const qreal height = available.height();
    const bool wide = width >= 900 && !accessibilityTextSize;

    SignInLayout layout;
    layout.compact = width >= 650 && height < 500 && !accessibilityTextSize;
    layout.sideBySide = layout.compact || wide;
    if (layout.compact) {
        layout.padding = 24;
        layout.symbolSpacing = 16;
        layout.displaySize = 32;
        layout.columnSpacing = 32;
    } else if (layout.sideBySide) {
        layout.padding = 64;
        layout.symbolSpacing = 56;
        layout.displaySize = 57;
        layout.columnSpacing = 64;
    } else {
        layout.padding = 32;
        layout.symbolSpacing = 40;
        layout.displaySize = 40;
        layout.columnSpacing = 0;
    }
    layout.maximumContentWidth = layout.sideBySide ? 960 : 400;
    layout.minimumContentHeight = std::max<qreal>(0, height - 2 * layout.padding);
    return layout;
}

} // namespace orvane
