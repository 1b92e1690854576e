#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/Panel.h"

#include <QFont>
#include <QRect>
#include <QStringList>

#include <optional>

class QPainter;

namespace orvane::cards {

// Wraps plain text to `width` at word boundaries (anywhere for a word longer than the line),
// keeping at most `maxLines` lines (0: all); a text cut short ends its last line in an ellipsis.
[[nodiscard]] QStringList wrappedLines(const QString &text, const QFont &font, int width, int maxLines = 0);
[[nodiscard]] int lineHeight(const QFont &font);
[[nodiscard]] int textHeight(const QString &text, const QFont &font, int width, int maxLines = 0);
[[nodiscard]] int textWidth(const QString &text, const QFont &font);

// Draws wrapped lines from the top of `rect`, each aligned horizontally as asked; returns the
// height drawn.
int drawText(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    int maxLines = 0, Qt::Alignment alignment = Qt::AlignLeft);
// One line, cut with an ellipsis when it does not fit, centred vertically in `rect`.
void drawLine(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    Qt::Alignment alignment = Qt::AlignLeft);

// A card: panelBackground inside a 1-pixel borderSubtle stroke.
void drawCard(QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme);

// The label of a button drawn on a card: `padding` around the text, on `fill` when given.
struct ButtonLabel {
    QString text;
    QFont font;
    QMargins padding;
    [[nodiscard]] QSize size() const;
};
void drawButton(QPainter &painter, const QRect &rect, const ButtonLabel &label, const QColor &ink,
    const std::optional<QColor> &fill, bool pressed);

// The black of the texts on the lime fill, the same in both themes.
[[nodiscard]] QColor inkOnLime();

} // namespace orvane::cards
