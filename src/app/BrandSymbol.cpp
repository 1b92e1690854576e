#include "app/BrandSymbol.h"

#include "ide/views/kit/BrandColors.h"
#include "kit/brand/Brand.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace orvane {

void paintBrandSymbol(QPainter &painter, const QRectF &rect, const QColor &color)
{
    const qreal side = std::min(rect.width(), rect.height());
    const QRectF square(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    const qreal stroke = side * 0.14;
    const qreal bodyRadius = side * 0.13;
    // The ring sits a little inside the square so the body on its orbit stays within it.
    const QRectF ring = square.adjusted(stroke / 2 + bodyRadius * 0.4, stroke / 2 + bodyRadius * 0.4,
        -(stroke / 2 + bodyRadius * 0.4), -(stroke / 2 + bodyRadius * 0.4));

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    // The ring, open where the body crosses it (upper right).
    QPen pen(color, stroke, Qt::SolidLine, Qt::FlatCap);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    constexpr int gapStartDegrees = 28;
    constexpr int gapSpanDegrees = 34;
    painter.drawArc(ring, (gapStartDegrees + gapSpanDegrees) * 16, (360 - gapSpanDegrees) * 16);

    const qreal angle = (gapStartDegrees + gapSpanDegrees / 2.0) * std::numbers::pi / 180.0;
    const QPointF centre = ring.center();
    const QPointF body(
        centre.x() + ring.width() / 2 * std::cos(angle), centre.y() - ring.height() / 2 * std::sin(angle));
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(body, bodyRadius, bodyRadius);
    // The core.
    painter.drawEllipse(centre, side * 0.085, side * 0.085);
    painter.restore();
}

QColor brandSymbolOwnColor()
{
    return toQColor(Brand::lime());
}

void paintBrandIconTile(QPainter &painter, const QRectF &rect)
{
    const qreal size = std::min(rect.width(), rect.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(toQColor(Brand::bgPrimary().dark.value_or(HexColor {})));
    painter.drawRoundedRect(rect, size * 0.22, size * 0.22);
    const qreal inset = size * 0.18;
    paintBrandSymbol(painter, rect.adjusted(inset, inset, -inset, -inset), brandSymbolOwnColor());
    painter.restore();
}

QIcon brandSymbolIcon()
{
    QIcon icon;
    for (const int size : { 16, 32, 48, 64, 128, 256 }) {
        QPixmap tile(size, size);
        tile.fill(Qt::transparent);
        QPainter painter(&tile);
        paintBrandIconTile(painter, QRectF(0, 0, size, size));
        painter.end();
        icon.addPixmap(tile);
    }
    return icon;
}

} // namespace orvane
