#pragma once

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>

class QPainter;

namespace orvane::card_painting {

// Small drawing helpers shared by the card delegates: texts on one line cut with an ellipsis,
// wrapped texts with an optional line limit, and square outlines drawn inside a rectangle.

// Draws one line of text at the left of rect (vertically centred); returns the width drawn.
int drawLine(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    Qt::Alignment alignment = Qt::AlignLeft);

// Height of text wrapped to width, at most maxLines lines (0: no limit).
[[nodiscard]] int wrappedHeight(const QString &text, const QFont &font, int width, int maxLines = 0);

// Draws text wrapped to rect's width from its top, at most maxLines lines, the last one cut with
// an ellipsis when the text goes on.
void drawWrapped(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    int maxLines = 0);

// A stroke of the given width along the inside of rect's bounds.
void strokeInside(QPainter &painter, const QRect &rect, const QColor &color, int width = 1);

[[nodiscard]] int lineHeight(const QFont &font);
[[nodiscard]] int textWidth(const QString &text, const QFont &font);

} // namespace orvane::card_painting
