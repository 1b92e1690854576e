#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWindow>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// A lime button with a symbol, a gap and a text, on a white window. Mouse events go through the
// window, so they reach whichever widget is under the pointer, as a real click does.
class ClickableButtonStyleTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.setFixedSize(400, 120);
        window.setAutoFillBackground(true);
        QPalette palette = window.palette();
        palette.setColor(QPalette::Window, Qt::white);
        window.setPalette(palette);

        ClickableButton::Look look;
        look.fill = ThemeColor::accentLimeFill;
        look.padding = QMargins(12, 8, 12, 8);
        look.spacing = 20; // a transparent gap between the symbol and the text
        button = new ClickableButton(theme, look, &window);
        button->setObjectName(u"sampleButton"_s);
        button->addSymbol(u"sparkles"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::bold);
        text = button->addText(u"Generate & Review"_s, themeFont(11, QFont::Bold), ThemeColor::textPrimary);
        button->move(20, 20);
        button->resize(button->sizeHint());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    QWindow *handle() { return window.windowHandle(); }
    QPoint inWindow(QWidget *widget, QPoint pos) { return widget->mapTo(&window, pos); }
    QColor drawnAt(QPoint windowPos) { return window.grab().toImage().pixelColor(windowPos); }

    ThemeSource theme { true };
    QWidget window;
    ClickableButton *button = nullptr;
    QLabel *text = nullptr;
};

TEST_F(ClickableButtonStyleTest, PressedButtonsDrawAtReducedOpacityUntilReleased)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    const QPoint corner = inWindow(button, QPoint(3, 3)); // fill only, no label there
    const QColor lime = OrvaneWebTheme::accentLimeFill();
    EXPECT_EQ(drawnAt(corner), lime);

    QTest::mousePress(handle(), Qt::LeftButton, {}, inWindow(text, text->rect().center()));
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 0.82);
    // On screen: 82% lime over the white window.
    const QColor pressed = drawnAt(corner);
    EXPECT_NEAR(pressed.red(), 0.82 * lime.red() + 0.18 * 255, 2);
    EXPECT_NEAR(pressed.blue(), 0.82 * lime.blue() + 0.18 * 255, 2);
    EXPECT_EQ(clicked.count(), 0);

    QTest::mouseRelease(handle(), Qt::LeftButton, {}, inWindow(text, text->rect().center()));
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 1.0);
    EXPECT_EQ(drawnAt(corner), lime);
    EXPECT_EQ(clicked.count(), 1);
}

TEST_F(ClickableButtonStyleTest, TheWholeRectangleTakesClicks)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    const QList<QPoint> points {
        QPoint(1, 1), // padding corner
        QPoint(12 + 12 + 10, button->height() / 2), // the gap between symbol and text
        text->mapTo(button, text->rect().center()), // on the text
        QPoint(button->width() - 2, button->height() - 2), // far corner
    };
    for (const QPoint &point : points)
        QTest::mouseClick(handle(), Qt::LeftButton, {}, inWindow(button, point));
    EXPECT_EQ(clicked.count(), points.size());

    // Parts added to the label later let clicks through too.
    auto *late = new QLabel(u"later"_s);
    button->addWidget(late);
    ASSERT_TRUE(QTest::qWaitFor([late] { return late->isVisible(); }));
    button->resize(button->sizeHint());
    button->layout()->activate();
    QTest::mouseClick(handle(), Qt::LeftButton, {}, inWindow(late, late->rect().center()));
    EXPECT_EQ(clicked.count(), points.size() + 1);
}

TEST_F(ClickableButtonStyleTest, LeavingWhilePressedRestoresOpacityAndCancels)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    const QPoint inside = inWindow(button, QPoint(4, 4));
    const QPoint outside(390, 110);
    QTest::mousePress(handle(), Qt::LeftButton, {}, inside);
    QTest::mouseMove(handle(), outside);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 1.0);
    QTest::mouseMove(handle(), inside);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 0.82);
    QTest::mouseMove(handle(), outside);
    QTest::mouseRelease(handle(), Qt::LeftButton, {}, outside);
    EXPECT_EQ(clicked.count(), 0);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 1.0);
}

TEST_F(ClickableButtonStyleTest, TheKeyboardPressesLikeTheMouse)
{
    QSignalSpy clicked(button, &QAbstractButton::clicked);
    button->setFocus();
    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 0.82);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(button), 1.0);
    EXPECT_EQ(clicked.count(), 1);
}

TEST(ClickableButtonTextTest, AmpersandsInButtonTextsAreNotMnemonics)
{
    QPushButton marked(u"Attribution & Lift"_s);
    EXPECT_FALSE(marked.shortcut().isEmpty()); // what the toolkit does with a bare "&"
    QPushButton literal(literalButtonText(u"Attribution & Lift"_s));
    EXPECT_TRUE(literal.shortcut().isEmpty());

    // Texts of the kit's buttons are plain labels: shown as written.
    ThemeSource theme(false);
    ClickableButton button(theme);
    QLabel *label = button.addText(u"Save & <b>Launch</b>"_s, themeFont(11), ThemeColor::textPrimary);
    EXPECT_EQ(label->textFormat(), Qt::PlainText);
    EXPECT_TRUE(button.shortcut().isEmpty());
}

TEST(ClickableButtonStyleApplyTest, StylesAnyButtonOnce)
{
    QToolButton tool;
    OrvaneClickableButtonStyle::apply(&tool);
    QGraphicsEffect *effect = tool.graphicsEffect();
    OrvaneClickableButtonStyle::apply(&tool);
    EXPECT_EQ(tool.graphicsEffect(), effect);
    tool.setDown(false);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(&tool), 1.0);
    QTest::mousePress(&tool, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(&tool), 0.82);
    QTest::mouseRelease(&tool, Qt::LeftButton);
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(&tool), 1.0);

    QToolButton plain;
    EXPECT_DOUBLE_EQ(OrvaneClickableButtonStyle::drawnOpacity(&plain), 1.0);
}

TEST(ClickableButtonTextTest, TextsAreDrawnInTheirOwnColoursInsideTheButton)
{
    ThemeSource theme(true);
    QWidget window;
    auto *button = new ClickableButton(theme, &window);
    QLabel *fixed = button->addText(u"Approve"_s, themeFont(11), QColor(Qt::black));
    window.setPalette(theme.theme().palette());
    window.show();
    EXPECT_EQ(fixed->palette().color(fixed->foregroundRole()), QColor(Qt::black));
    theme.setDark(false);
    window.setPalette(theme.theme().palette());
    EXPECT_EQ(fixed->palette().color(fixed->foregroundRole()), QColor(Qt::black));
    // Theme-coloured texts are drawn in their role's colour too.
    QLabel *themed = button->addText(u"Cancel"_s, themeFont(11), ThemeColor::textPrimary);
    EXPECT_EQ(themed->palette().color(themed->foregroundRole()), theme.color(ThemeColor::textPrimary));
}

} // namespace
} // namespace orvane
