#include "app/SignInLayout.h"
#include "testsupport/Golden.h"

#include <QString>

#include <gtest/gtest.h>

using namespace orvane;

// The layout for each window size, with and without the accessibility text size, against the
// golden file: wide windows side by side, short ones compact (compact wins when both), narrow or
// tall ones one column, the accessibility size always one column, the content height never negative.
// The sizes sit on both sides of each boundary (650 and 900 wide, 500 high). Each kind of layout has
// one set of measures, listed once; only the content height follows the size.
TEST(SignInLayoutTest, MeasuresForEachWindowSizeMatchTheGoldenFile)
{
    const QSizeF sizes[] = { { 1000, 800 }, { 700, 450 }, { 2000, 300 }, { 800, 700 }, { 1200, 480 }, { 649, 300 },
        { 700, 500 }, { 650, 499 }, { 900, 900 }, { 899, 900 }, { 600, 50 }, { 1000, 100 }, { 300, 64 } };
    nlohmann::ordered_json kinds = nlohmann::ordered_json::object();
    nlohmann::ordered_json bySize = nlohmann::ordered_json::object();
    for (const QSizeF size : sizes) {
        for (const bool accessibility : { false, true }) {
            const SignInLayout layout = SignInLayout::forSize(size, accessibility);
            const std::string kind = layout.compact ? "compact" : layout.sideBySide ? "side by side" : "one column";
            const nlohmann::ordered_json measures
                = { { "compact", layout.compact }, { "sideBySide", layout.sideBySide }, { "padding", layout.padding },
                      { "symbolSpacing", layout.symbolSpacing }, { "maximumContentWidth", layout.maximumContentWidth },
                      { "displaySize", layout.displaySize }, { "columnSpacing", layout.columnSpacing } };
            if (!kinds.contains(kind))
                kinds[kind] = measures;
            EXPECT_EQ(kinds[kind], measures) << kind << " differs at " << size.width() << 'x' << size.height();
            const QString name = QStringLiteral("%1x%2%3")
                                     .arg(size.width())
                                     .arg(size.height())
                                     .arg(accessibility ? QStringLiteral(" accessibility") : QString());
            bySize[name.toStdString()]
                = kind + ", content height " + QString::number(layout.minimumContentHeight).toStdString();
        }
    }
    EXPECT_TRUE(test::matchesGolden("app/golden/sign-in-layouts.json", { { "kinds", kinds }, { "sizes", bySize } }));
}
