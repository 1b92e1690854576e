#include "platform/ui/Symbols.h"

#include "platform/ui/SymbolUsage.h"
#include "testsupport/QtMessages.h"

#include <QFile>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QSvgRenderer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane::ui {
namespace {

// The colours and the summed coverage of the drawn pixels.
struct Ink {
    QSet<QRgb> colors; // opaque colours of every pixel with any coverage
    int maxAlpha = 0;
    qint64 coverage = 0;
};

Ink inkOf(const QPixmap &pixmap)
{
    const QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y);
            if (qAlpha(pixel) == 0)
                continue;
            ink.maxAlpha = qMax(ink.maxAlpha, qAlpha(pixel));
            ink.coverage += qAlpha(pixel);
            // Un-premultiplying edge pixels rounds; compare colours of fully covered pixels only.
            if (qAlpha(pixel) == 255)
                ink.colors.insert(qRgb(qRed(pixel), qGreen(pixel), qBlue(pixel)));
        }
    }
    return ink;
}

// Every name of the table resolves to an embedded icon, drawn in its tint only.
TEST(SymbolsTest, EveryNameOfTheTableResolvesToAnEmbeddedIcon)
{
    const QColor cyan(0x00, 0xE5, 0xFF);
    const QStringList names = symbolNames();
    ASSERT_FALSE(names.isEmpty());
    const QRegularExpression symbolShape(u"^[a-z0-9]+(\\.[a-z0-9]+)*$"_s);
    EXPECT_EQ(QSet<QString>(names.begin(), names.end()).size(), names.size()) << "a name appears twice";
    for (const QString &name : names) {
        EXPECT_TRUE(symbolShape.match(name).hasMatch()) << name.toStdString();
        EXPECT_TRUE(hasSymbol(name));
        const QString path = symbolResourcePath(name);
        ASSERT_TRUE(QFile::exists(path)) << name.toStdString() << " -> " << path.toStdString();
        QSvgRenderer renderer(path);
        EXPECT_TRUE(renderer.isValid()) << path.toStdString();
        const QPixmap pixmap = symbolPixmap(name, cyan, 24);
        ASSERT_EQ(pixmap.size(), QSize(24, 24)) << name.toStdString();
        const Ink ink = inkOf(pixmap);
        EXPECT_GT(ink.coverage, 0) << name.toStdString() << " draws nothing";
        EXPECT_EQ(ink.colors, QSet<QRgb> { cyan.rgb() }) << name.toStdString();
    }
    EXPECT_EQ(symbolIconName(u"folder.fill"), u"folder"_s);
    EXPECT_FALSE(hasSymbol(u"folder.fil"));
    EXPECT_TRUE(symbolResourcePath(u"no.such.symbol").isEmpty());
}

TEST(SymbolsTest, TranslucentTintsDoNotDoubleWhereStrokesOverlap)
{
    QColor half(Qt::red);
    half.setAlphaF(0.5f);
    // "sparkles" and "grid" cross their own strokes.
    for (const QStringView name : { u"sparkles", u"grid", u"chart.bar.xaxis" })
        EXPECT_LE(inkOf(symbolPixmap(name, half, 32)).maxAlpha, 128) << name.toString().toStdString();
}

TEST(SymbolsTest, SizeRatioWeightAndStateShapeWhatIsDrawn)
{
    const QPixmap sharp = symbolPixmap(u"star", Qt::black, 12, 2.0);
    EXPECT_EQ(sharp.size(), QSize(24, 24));
    EXPECT_EQ(sharp.deviceIndependentSize(), QSizeF(12, 12));

    const qint64 regular = inkOf(symbolPixmap(u"checkmark", Qt::black, 32)).coverage;
    const qint64 bold = inkOf(symbolPixmap(u"checkmark", Qt::black, 32, 1.0, SymbolWeight::bold)).coverage;
    EXPECT_GT(bold, regular);

    // A filled symbol keeps apart from its outline form.
    const QPoint centre(16, 17);
    EXPECT_EQ(qAlpha(symbolPixmap(u"star.fill", Qt::black, 32).toImage().pixel(centre)), 255);
    EXPECT_EQ(qAlpha(symbolPixmap(u"star", Qt::black, 32).toImage().pixel(centre)), 0);

    // An icon draws at the requested size, and dims when disabled.
    const QIcon icon = symbolIcon(u"folder", Qt::white);
    ASSERT_FALSE(icon.isNull());
    const QPixmap normal = icon.pixmap(QSize(20, 20));
    EXPECT_EQ(normal.size(), QSize(20, 20));
    EXPECT_EQ(inkOf(normal).colors, QSet<QRgb> { QColor(Qt::white).rgb() });
    const QPixmap disabled = icon.pixmap(QSize(20, 20), QIcon::Disabled);
    EXPECT_LT(inkOf(disabled).maxAlpha, 110);
}

TEST(SymbolsTest, AnUnmappedNameDrawsNothingAndSaysSo)
{
    const test::ExpectQtWarnings expected({ u"No icon for the symbol \"wand.and.stars\""_s });
    EXPECT_TRUE(symbolPixmap(u"wand.and.stars", Qt::black, 16).isNull());
    EXPECT_TRUE(symbolIcon(u"wand.and.stars", Qt::black).isNull());
    EXPECT_EQ(expected.seen(), 2);
}

TEST(SymbolUsageTest, FindsLiteralNamesInCallsOfTheSymbolApi)
{
    const QString source = uR"(
        auto a = ui::symbolIcon(u"folder.fill"_s, theme.accentCyan());
        row->addSymbol(QStringLiteral("chevron.down"), ThemeColor::textMuted, 9);
        star->setSymbol(thread.starred ? u"star.fill"_s : u"star"_s);
        new SymbolView(themeSource, u"magnifying.glass"_s, ThemeColor::textSecondary, 12, this);
        label->setText(u"folder"_s); // not a symbol call
        auto b = ui::symbolPixmap(name, color, 12); // a variable: not found here
    )"_s;
    QStringList found;
    for (const test::SymbolUse &use : test::symbolLiteralsIn(source, u"sample.cpp"_s))
        found.append(use.symbol);
    EXPECT_EQ(
        found, (QStringList { u"folder.fill"_s, u"chevron.down"_s, u"star.fill"_s, u"star"_s, u"magnifying.glass"_s }));
    EXPECT_EQ(test::unmappedSymbols(found), QStringList { u"magnifying.glass"_s });
    EXPECT_EQ(test::symbolLiteralsIn(source, u"sample.cpp"_s).at(1).line, 3);
}

// Every symbol name the application's code passes literally to the symbol API has an icon.
TEST(SymbolUsageTest, EveryLiteralSymbolInTheSourcesHasAnIcon)
{
    for (const test::SymbolUse &use : test::symbolLiteralsUnder(QStringLiteral(ORVANE_SOURCE_DIR)))
        EXPECT_TRUE(hasSymbol(use.symbol)) << use.where().toStdString();
}

} // namespace
} // namespace orvane::ui
