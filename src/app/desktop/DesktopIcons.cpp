// Draws the application's icon for the desktop's icon theme from the same code that draws the
// window icon: "<out>/hicolor/scalable/apps/<id>.svg" and "<out>/hicolor/<n>x<n>/apps/<id>.png".
#include "app/BrandSymbol.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]) + u"/hicolor"_s;
    const QString name = u"com.orvane.Orvane"_s;

    const QString scalable = out + u"/scalable/apps"_s;
    if (!QDir().mkpath(scalable))
        return 1;
    constexpr int svgSide = 128;
    QSvgGenerator svg;
    svg.setFileName(scalable + u'/' + name + u".svg"_s);
    svg.setSize(QSize(svgSide, svgSide));
    svg.setViewBox(QRect(0, 0, svgSide, svgSide));
    svg.setTitle(u"Orvane"_s);
    {
        QPainter painter(&svg);
        orvane::paintBrandIconTile(painter, QRectF(0, 0, svgSide, svgSide));
    }

    for (const int size : { 16, 22, 24, 32, 48, 64, 128, 256, 512 }) {
        const QString folder = out + u"/%1x%1/apps"_s.arg(size);
        QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            orvane::paintBrandIconTile(painter, QRectF(0, 0, size, size));
        }
        if (!QDir().mkpath(folder) || !image.save(folder + u'/' + name + u".png"_s, "PNG")) {
            std::fprintf(stderr, "cannot write the %dx%d icon into %s\n", size, size, qPrintable(folder));
            return 1;
        }
    }
    return 0;
}
