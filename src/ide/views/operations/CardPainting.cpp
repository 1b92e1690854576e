#include "ide/views/operations/CardPainting.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

namespace orvane::cards {

QStringList wrappedLines(const QString &text, const QFont &font, int width, int maxLines)
{
    QStringList lines;
    if (text.isEmpty() || width <= 0)
        return lines;
    const QFontMetrics metrics(font);
    // Each paragraph wraps on its own, as a label's would; no card shows more than a label's worth.
    const QStringList paragraphs = labelText(text).split(u'\n');
    for (qsizetype p = 0; p < paragraphs.size(); ++p) {
        const QString &paragraph = paragraphs.at(p);
        QTextLayout layout(paragraph, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        bool empty = true;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            empty = false;
            line.setLineWidth(width);
            if (maxLines > 0 && lines.size() == maxLines - 1) {
                // The last line allowed takes the rest of the text, elided.
                const QString rest = paragraph.mid(line.textStart());
                const bool more = p + 1 < paragraphs.size();
                const QString elided = metrics.elidedText(more ? rest + QChar(0x2026) : rest, Qt::ElideRight, width);
                lines.append(elided);
                layout.endLayout();
                return lines;
            }
            lines.append(paragraph.mid(line.textStart(), line.textLength()).trimmed());
        }
        layout.endLayout();
        if (empty)
            lines.append(QString());
        if (maxLines > 0 && lines.size() >= maxLines)
            break;
    }
    return lines;
}

int lineHeight(const QFont &font)
{
    return QFontMetrics(font).height();
}

int textHeight(const QString &text, const QFont &font, int width, int maxLines)
{
    return int(wrappedLines(text, font, width, maxLines).size()) * lineHeight(font);
}

// Rounded up, with a pixel to spare: a text measured here always fits where it is drawn.
int textWidth(const QString &text, const QFont &font)
{
    return qCeil(QFontMetricsF(font).horizontalAdvance(labelText(text))) + 1;
}

int drawText(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    int maxLines, Qt::Alignment alignment)
{
    const QStringList lines = wrappedLines(text, font, rect.width(), maxLines);
    const int height = lineHeight(font);
    painter.setFont(font);
    painter.setPen(color);
    int y = rect.top();
    for (const QString &line : lines) {
        painter.drawText(
            QRect(rect.left(), y, rect.width(), height), int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, line);
        y += height;
    }
    return y - rect.top();
}

void drawLine(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    Qt::Alignment alignment)
{
    painter.setFont(font);
    painter.setPen(color);
    const QFontMetricsF metrics(font);
    const QString shown = labelText(text);
    const QString elided = metrics.horizontalAdvance(shown) <= rect.width()
        ? shown
        : metrics.elidedText(shown, Qt::ElideRight, rect.width());
    painter.drawText(rect, int(alignment | Qt::AlignVCenter) | Qt::TextSingleLine, elided);
}

void drawCard(QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme)
{
    paintFrame(painter, rect, theme.panelBackground(), theme.borderSubtle());
}

QSize ButtonLabel::size() const
{
    return { textWidth(text, font) + padding.left() + padding.right(),
        lineHeight(font) + padding.top() + padding.bottom() };
}

void drawButton(QPainter &painter, const QRect &rect, const ButtonLabel &label, const QColor &ink,
    const std::optional<QColor> &fill, bool pressed)
{
    painter.save();
    if (pressed)
        painter.setOpacity(painter.opacity() * OrvaneClickableButtonStyle::pressedOpacity);
    if (fill)
        painter.fillRect(rect, *fill);
    painter.setFont(label.font);
    painter.setPen(ink);
    painter.drawText(rect.marginsRemoved(label.padding), Qt::AlignCenter | Qt::TextSingleLine, label.text);
    painter.restore();
}

QColor inkOnLime()
{
    return QColor(Qt::black);
}

} // namespace orvane::cards
