#include "ide/views/kit/Badge.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "testsupport/Pictures.h"
#include "testsupport/QtMessages.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include <optional>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

QColor over(const QColor &top, const QColor &bottom)
{
    const qreal a = top.alphaF();
    return QColor::fromRgbF(float(top.redF() * a + bottom.redF() * (1 - a)),
        float(top.greenF() * a + bottom.greenF() * (1 - a)), float(top.blueF() * a + bottom.blueF() * (1 - a)));
}

void expectClose(const QColor &actual, const QColor &expected, const char *what)
{
    EXPECT_NEAR(actual.red(), expected.red(), 2) << what;
    EXPECT_NEAR(actual.green(), expected.green(), 2) << what;
    EXPECT_NEAR(actual.blue(), expected.blue(), 2) << what;
}

// A sample card as the surfaces build them: kicker, title, a badge and a button.
class KitWidgetsTest : public testing::Test {
protected:
    void SetUp() override
    {
        window.setAutoFillBackground(true);
        // The offscreen platform cannot pass a window's size limits on; nothing here needs it.
        sizeHintsWarning.emplace(QStringList { u"does not support propagateSizeHints"_s });
        auto *outer = new QVBoxLayout(&window);
        outer->setContentsMargins(16, 16, 16, 16);
        card = new Card(theme, &window);
        outer->addWidget(card);

        kicker = new KickerLabel(theme, u"Local projects · q3 launch"_s);
        card->contentLayout()->addWidget(kicker);
        title = new QLabel(u"Spring Pipeline Push"_s);
        title->setFont(themeFont(16, QFont::Bold));
        card->contentLayout()->addWidget(title);

        auto *row = new QHBoxLayout;
        count = new Badge(theme, u"12"_s);
        folder = new Badge(theme, u"~/Documents/Orvane"_s, Badge::tinted(ThemeColor::accentCyan));
        row->addWidget(count);
        row->addWidget(folder);
        row->addStretch(1);
        card->contentLayout()->addLayout(row);

        ClickableButton::Look look;
        look.fill = ThemeColor::accentLimeFill;
        button = new ClickableButton(theme, look);
        symbol = button->addSymbol(u"plus.bubble.fill"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::bold);
        symbol->setFixedColor(Qt::black);
        button->addText(u"Start New Thread"_s, themeFont(12, QFont::Bold), QColor(Qt::black));
        card->contentLayout()->addWidget(button, 0, Qt::AlignLeft);

        applyWindowTheme();
        QObject::connect(&theme, &ThemeSource::themeChanged, &window, [this] { applyWindowTheme(); });
        window.resize(380, 200);
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    void applyWindowTheme() { window.setPalette(theme.theme().palette()); }

    QImage picture() { return window.grab().toImage(); }
    QPoint at(QWidget *widget, QPoint pos) { return widget->mapTo(&window, pos); }

    std::optional<test::ExpectQtWarnings> sizeHintsWarning;
    ThemeSource theme { true };
    QWidget window;
    Card *card = nullptr;
    KickerLabel *kicker = nullptr;
    QLabel *title = nullptr;
    Badge *count = nullptr;
    Badge *folder = nullptr;
    ClickableButton *button = nullptr;
    SymbolView *symbol = nullptr;
};

TEST_F(KitWidgetsTest, CardsAndBadgesDrawSquareFillsInsideOnePixelStrokes)
{
    const QImage image = picture();
    test::keepPicture(&window, u"kit-card-dark.png"_s);
    const OrvaneWebTheme dark(true);
    const QColor canvas = dark.canvasBackground();

    // The card: panel fill inside a translucent white stroke, square corners, canvas around it.
    const QColor panel = dark.panelBackground();
    expectClose(image.pixelColor(at(card, QPoint(6, 6))), panel, "card fill");
    expectClose(image.pixelColor(at(card, QPoint(0, 20))), over(dark.borderSubtle(), panel), "card stroke");
    expectClose(image.pixelColor(at(card, QPoint(0, 0))), over(dark.borderSubtle(), panel), "card corner");
    expectClose(image.pixelColor(at(card, QPoint(-1, 0))), canvas, "outside the card");

    // The tinted badge: cyan at 10% over the card, its stroke at 35% over that.
    const QColor badgeFill = over(withOpacity(dark.accentCyan(), 0.1), panel);
    expectClose(image.pixelColor(at(folder, QPoint(2, 2))), badgeFill, "badge fill");
    expectClose(image.pixelColor(at(folder, QPoint(0, 5))), over(withOpacity(dark.accentCyan(), 0.35), badgeFill),
        "badge stroke");
    EXPECT_EQ(count->sizeHint().height(), QFontMetrics(count->font()).height() + 4);
}

TEST_F(KitWidgetsTest, KickersAreUpperCasePlainMonospacedText)
{
    EXPECT_EQ(kicker->text(), u"LOCAL PROJECTS · Q3 LAUNCH"_s);
    EXPECT_EQ(kicker->textFormat(), Qt::PlainText);
    EXPECT_TRUE(QFontInfo(kicker->font()).fixedPitch());
    EXPECT_EQ(QFontInfo(kicker->font()).family(), u"IBM Plex Mono"_s) << "the bundled face, whatever is installed";
    EXPECT_EQ(kicker->font().pixelSize(), 10);
    EXPECT_EQ(kicker->palette().color(QPalette::WindowText), OrvaneWebTheme(true).accentLime());
}

TEST_F(KitWidgetsTest, FlippingTheThemeRecoloursInPlace)
{
    QLabel *buttonText = button->addText(u"Themed"_s, themeFont(12), ThemeColor::textPrimary);
    const QList<QWidget *> before = window.findChildren<QWidget *>();

    theme.setDark(false);
    const OrvaneWebTheme light(false);
    const QImage image = picture();
    test::keepPicture(&window, u"kit-card-light.png"_s);
    EXPECT_EQ(window.findChildren<QWidget *>(), before) << "no widget is rebuilt";
    expectClose(image.pixelColor(at(card, QPoint(6, 6))), light.panelBackground(), "card fill");
    expectClose(image.pixelColor(at(card, QPoint(0, 20))), light.borderSubtle(), "card stroke");
    expectClose(image.pixelColor(at(card, QPoint(-1, 20))), light.canvasBackground(), "outside the card");
    EXPECT_EQ(kicker->palette().color(QPalette::WindowText), light.accentLime());
    EXPECT_EQ(buttonText->palette().color(QPalette::WindowText), light.textPrimary());
    // The lime fill and the fixed black symbol stay as they are.
    expectClose(image.pixelColor(at(button, QPoint(2, 2))), OrvaneWebTheme::accentLimeFill(), "button fill");
    EXPECT_EQ(symbol->drawnColor(), QColor(Qt::black));
}

TEST(SymbolViewTest, DrawsItsSymbolInTheThemeColour)
{
    ThemeSource theme(true);
    SymbolView view(theme, u"folder.fill"_s, ThemeColor::accentCyan, 16);
    EXPECT_EQ(view.size(), QSize(16, 16));
    const auto inkColors = [&view] {
        QSet<QRgb> colors;
        QImage image(view.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        view.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (qAlpha(image.pixel(x, y)) == 255)
                    colors.insert(image.pixel(x, y) | 0xFF000000);
            }
        }
        return colors;
    };
    EXPECT_EQ(inkColors(), QSet<QRgb> { OrvaneWebTheme(true).accentCyan().rgb() });
    theme.setDark(false);
    EXPECT_EQ(inkColors(), QSet<QRgb> { OrvaneWebTheme(false).accentCyan().rgb() });
}

// The note under a field shown cut reads at 4.5:1 or more on every background of both themes.
TEST(CutNoteTest, TheNoteReadsOnEveryBackgroundOfBothThemes)
{
    for (const bool dark : { false, true }) {
        const OrvaneWebTheme theme(dark);
        for (const ThemeColor background : { ThemeColor::canvasBackground, ThemeColor::sidebarBackground,
                 ThemeColor::panelBackground, ThemeColor::elevatedBackground, ThemeColor::cardHoverBackground }) {
            EXPECT_GE(contrastRatio(theme.color(cutNoteColor), theme.color(background)), 4.5)
                << (dark ? "dark" : "light") << " background " << int(background);
        }
    }
}

} // namespace
} // namespace orvane
