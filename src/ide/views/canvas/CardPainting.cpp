#include "ide/views/canvas/CardPainting.h"

#include "ide/views/kit/LongText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QTextLayout>
#include <QtMath>

namespace orvane::card_painting {
namespace {

struct WrappedLines {
    QList<QTextLine> lines;
    bool truncated = false;
};

// Lays the text out in layout, stopping after maxLines lines.
WrappedLines layOut(QTextLayout &layout, int width, int maxLines)
{
    WrappedLines result;
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    int y = 0;
    for (;;) {
        QTextLine line = layout.createLine();
        if (!line.isValid())
            break;
        if (maxLines > 0 && result.lines.size() == maxLines) {
            result.truncated = true;
            break;
        }
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        y += qRound(line.height());
        result.lines.append(line);
    }
    layout.endLayout();
    return result;
}

QString displayText(const QString &text)
{
    // No card shows more than a label's worth: a longer text would only slow every paint.
    QString shown = labelText(text);
    shown.replace(u'\n', QChar::LineSeparator);
    return shown;
}

} // namespace

int lineHeight(const QFont &font)
{
    return QFontMetrics(font).height();
}

// Rounded up, with a pixel to spare: a text measured here always fits where it is drawn.
int textWidth(const QString &text, const QFont &font)
{
    return qCeil(QFontMetricsF(font).horizontalAdvance(labelText(text))) + 1;
}

int drawLine(QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color,
    Qt::Alignment alignment)
{
    const QFontMetrics metrics(font);
    const QString shown = metrics.elidedText(labelText(text), Qt::ElideRight, rect.width());
    painter.setFont(font);
    painter.setPen(color);
    painter.drawText(rect, int(alignment | Qt::AlignVCenter | Qt::TextSingleLine), shown);
    return metrics.horizontalAdvance(shown);
}

int wrappedHeight(const QString &text, const QFont &font, int width, int maxLines)
{
    if (text.isEmpty())
        return 0;
    QTextLayout layout(displayText(text), font);
    const WrappedLines wrapped = layOut(layout, width, maxLines);
    int height = 0;
    for (const QTextLine &line : wrapped.lines)
        height += qRound(line.height());
    return height;
}

void drawWrapped(
    QPainter &painter, const QRect &rect, const QString &text, const QFont &font, const QColor &color, int maxLines)
{
    if (text.isEmpty())
        return;
    const QString shown = displayText(text);
    QTextLayout layout(shown, font);
    const WrappedLines wrapped = layOut(layout, rect.width(), maxLines);
    painter.setFont(font);
    painter.setPen(color);
    for (qsizetype i = 0; i < wrapped.lines.size(); ++i) {
        const QTextLine &line = wrapped.lines.at(i);
        const bool last = i == wrapped.lines.size() - 1;
        if (last && wrapped.truncated) {
            const QString rest = shown.mid(line.textStart()).replace(QChar::LineSeparator, u' ');
            const QString cut = QFontMetrics(font).elidedText(rest, Qt::ElideRight, rect.width());
            painter.drawText(QRectF(rect.left(), rect.top() + line.y(), rect.width(), line.height()),
                int(Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine), cut);
        } else {
            line.draw(&painter, rect.topLeft());
        }
    }
}

void strokeInside(QPainter &painter, const QRect &rect, const QColor &color, int width)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawRect(QRect(rect.left(), rect.top(), rect.width(), width));
    painter.drawRect(QRect(rect.left(), rect.bottom() - width + 1, rect.width(), width));
    painter.drawRect(QRect(rect.left(), rect.top() + width, width, rect.height() - 2 * width));
    painter.drawRect(QRect(rect.right() - width + 1, rect.top() + width, width, rect.height() - 2 * width));
    painter.restore();
}

} // namespace orvane::card_painting
