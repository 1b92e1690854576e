#include "app/SignInLayout.h"

#include <gtest/gtest.h>

using namespace orvane;

TEST(SignInLayoutTest, WideWindowsAreSideBySideAndRoomy)
{
    const SignInLayout layout = SignInLayout::forSize({ 1000, 800 }, false);
    EXPECT_TRUE(layout.sideBySide);
    EXPECT_FALSE(layout.compact);
    EXPECT_EQ(layout.padding, 64);
    EXPECT_EQ(layout.symbolSpacing, 56);
    EXPECT_EQ(layout.displaySize, 57);
    EXPECT_EQ(layout.columnSpacing, 64);
    EXPECT_EQ(layout.maximumContentWidth, 960);
    EXPECT_EQ(layout.minimumContentHeight, 800 - 128);
    EXPECT_EQ(SignInLayout::entryColumnWidth, 320);
}

TEST(SignInLayoutTest, AccessibilityTextSizeAlwaysGetsOneColumn)
{
    for (const QSizeF size : { QSizeF(1000, 800), QSizeF(700, 450), QSizeF(2000, 300) }) {
        const SignInLayout layout = SignInLayout::forSize(size, true);
        EXPECT_FALSE(layout.sideBySide);
        EXPECT_FALSE(layout.compact);
        EXPECT_EQ(layout.padding, 32);
        EXPECT_EQ(layout.displaySize, 40);
        EXPECT_EQ(layout.symbolSpacing, 40);
        EXPECT_EQ(layout.maximumContentWidth, 400);
    }
}

TEST(SignInLayoutTest, ShortWideWindowsAreCompact)
{
    const SignInLayout layout = SignInLayout::forSize({ 700, 450 }, false);
    EXPECT_TRUE(layout.compact);
    EXPECT_TRUE(layout.sideBySide);
    EXPECT_EQ(layout.padding, 24);
    EXPECT_EQ(layout.symbolSpacing, 16);
    EXPECT_EQ(layout.displaySize, 32);
    EXPECT_EQ(layout.columnSpacing, 32);
    EXPECT_EQ(layout.maximumContentWidth, 960);
    // Wide and short at once: the compact measures win.
    EXPECT_TRUE(SignInLayout::forSize({ 1200, 480 }, false).compact);
    EXPECT_EQ(SignInLayout::forSize({ 1200, 480 }, false).padding, 24);
}

TEST(SignInLayoutTest, NarrowOrTallWindowsGetOneColumn)
{
    const SignInLayout layout = SignInLayout::forSize({ 800, 700 }, false);
    EXPECT_FALSE(layout.sideBySide);
    EXPECT_EQ(layout.maximumContentWidth, 400);
    EXPECT_EQ(layout.padding, 32);
    EXPECT_EQ(layout.displaySize, 40);
    // The boundaries: 650 wide and 500 high are not compact; 900 wide is side by side.
    EXPECT_FALSE(SignInLayout::forSize({ 649, 300 }, false).compact);
    EXPECT_FALSE(SignInLayout::forSize({ 700, 500 }, false).compact);
    EXPECT_TRUE(SignInLayout::forSize({ 650, 499 }, false).compact);
    EXPECT_TRUE(SignInLayout::forSize({ 900, 900 }, false).sideBySide);
    EXPECT_FALSE(SignInLayout::forSize({ 899, 900 }, false).sideBySide);
}

TEST(SignInLayoutTest, MinimumContentHeightIsNeverNegative)
{
    EXPECT_EQ(SignInLayout::forSize({ 600, 50 }, false).minimumContentHeight, 0); // one column: 50 - 64
    EXPECT_EQ(SignInLayout::forSize({ 1000, 100 }, false).minimumContentHeight, 52); // compact: 100 - 48
    EXPECT_EQ(SignInLayout::forSize({ 300, 64 }, false).minimumContentHeight, 0);
}
