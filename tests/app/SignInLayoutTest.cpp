#include "app/SignInLayout.h"
#include "testsupport/Golden.h"

#include <gtest/gtest.h>

using namespace orvane;

// The measures for each window size, with and without the accessibility text size, against the
// golden file: wide windows side by side, short ones compact (compact wins when both), narrow or
// tall ones one column, the accessibility size always one column, the content height never negative.
// The sizes sit on both sides of each boundary (650 and 900 wide, 500 high).
TEST(SignInLayoutTest, MeasuresForEachWindowSizeMatchTheGoldenFile)
{
    const QSizeF sizes[] = { { 1000, 800 }, { 700, 450 }, { 2000, 300 }, { 800, 700 }, { 1200, 480 }, { 649, 300 },
        { 700, 500 }, { 650, 499 }, { 900, 900 }, { 899, 900 }, { 600, 50 }, { 1000, 100 }, { 300, 64 } };
    nlohmann::ordered_json document = nlohmann::ordered_json::array();
    for (const QSizeF size : sizes) {
        for (const bool accessibility : { false, true }) {
            const SignInLayout layout = SignInLayout::forSize(size, accessibility);
            document.push_back({ { "size", { size.width(), size.height() } }, { "accessibility", accessibility },
                { "compact", layout.compact }, { "sideBySide", layout.sideBySide }, { "padding", layout.padding },
                { "symbolSpacing", layout.symbolSpacing }, { "maximumContentWidth", layout.maximumContentWidth },
                { "displaySize", layout.displaySize }, { "columnSpacing", layout.columnSpacing },
                { "minimumContentHeight", layout.minimumContentHeight } });
        }
    }
    EXPECT_TRUE(test::matchesGolden("app/golden/sign-in-layouts.json", document));
    EXPECT_EQ(SignInLayout::entryColumnWidth, 320);
}
