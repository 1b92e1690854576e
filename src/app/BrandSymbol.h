#pragma once

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QRectF>

class QPainter;

namespace orvane {

// The product's mark: a ring with a small body on its orbit, in one colour. Drawn in its own colour
// (the brand lime) on dark backgrounds and as a template in the text colour on light ones.

// Paints the mark into the square centred in `rect`.
void paintBrandSymbol(QPainter &painter, const QRectF &rect, const QColor &color);

[[nodiscard]] QColor brandSymbolOwnColor();

// The application's icon: the mark in its own colour on a dark rounded tile filling `rect`.
void paintBrandIconTile(QPainter &painter, const QRectF &rect);

// The application's window icon: the tile at the usual sizes.
[[nodiscard]] QIcon brandSymbolIcon();

} // namespace orvane
