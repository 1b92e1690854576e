#pragma once

#include <QSizeF>

namespace orvane {

// The measures of the sign-in screen for the space it has. Short and wide windows get a compact
// side-by-side layout, wide ones a roomy side-by-side layout, everything else one column; a large
// accessibility text size always gets the column.
struct SignInLayout final {
    bool compact = false;
    bool sideBySide = false;
    qreal padding = 32; // around the content block, on every edge
    qreal symbolSpacing = 40; // between the symbol and the content under it
    qreal maximumContentWidth = 400;
    qreal displaySize = 40; // the heading's size
    qreal columnSpacing = 0; // between the introduction and the entry column when side by side
    qreal minimumContentHeight = 0; // the available height less the padding, never negative

    static constexpr qreal entryColumnWidth = 320;

    [[nodiscard]] static SignInLayout forSize(QSizeF available, bool accessibilityTextSize);

    bool operator==(const SignInLayout &) const = default;
};

} // namespace orvane
