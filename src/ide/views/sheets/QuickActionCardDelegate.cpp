#include "ide/views/sheets/QuickActionCardDelegate.h"

#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/FittedListView.h"
#include "ide/views/sheets/RecommendedActionListModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QTextLayout>

namespace orvane {
namespace {

QFont kickerFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont titleFont()
{
    return themeFont(12, QFont::Bold);
}
QFont rationaleFont()
{
    return themeFont(11);
}

// The width the card's texts wrap at, from the list the card is drawn in.
int textWidth(const QStyleOptionViewItem &option)
{
    int width = option.rect.width();
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
        width = view->viewport()->width();
    return qMax(1, width - 2 * QuickActionCardDelegate::cardPadding);
}

struct CardText {
    QString category;
    QString impact;
    QStringList title;
    QStringList rationale;
};

CardText cardText(const QModelIndex &index, int width)
{
    return CardText {
        index.data(RecommendedActionListModel::CategoryRole).toString(),
        index.data(RecommendedActionListModel::ImpactRole).toString(),
        QuickActionCardDelegate::wrappedLines(
            index.data(RecommendedActionListModel::TitleRole).toString(), titleFont(), width),
        QuickActionCardDelegate::wrappedLines(index.data(RecommendedActionListModel::RationaleRole).toString(),
            rationaleFont(), width, QuickActionCardDelegate::rationaleLines),
    };
}

int cardHeight(const CardText &text)
{
    return 2 * QuickActionCardDelegate::cardPadding + QFontMetrics(kickerFont()).height()
        + QuickActionCardDelegate::lineSpacing + int(text.title.size()) * QFontMetrics(titleFont()).lineSpacing()
        + QuickActionCardDelegate::lineSpacing
        + int(text.rationale.size()) * QFontMetrics(rationaleFont()).lineSpacing();
}

} // namespace

QuickActionCardDelegate::QuickActionCardDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

QStringList QuickActionCardDelegate::wrappedLines(const QString &text, const QFont &font, int width, int maxLines)
{
    QStringList lines;
    if (text.isEmpty())
        return lines;
    QTextLayout layout(text, font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(wrapping);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        if (maxLines > 0 && lines.size() == maxLines - 1) {
            // The last line allowed takes the rest of the text, cut with an ellipsis.
            const QString rest = text.mid(line.textStart()).simplified();
            lines.append(QFontMetrics(font).elidedText(rest, Qt::ElideRight, width));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();
    return lines;
}

QSize QuickActionCardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int above = index.row() == 0 ? 0 : cardSpacing;
    return { option.rect.width(), above + cardHeight(cardText(index, textWidth(option))) };
}

void QuickActionCardDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const QRect card = option.rect.adjusted(0, index.row() == 0 ? 0 : cardSpacing, 0, 0);
    const int width = card.width() - 2 * cardPadding;
    const CardText text = cardText(index, width);

    painter->save();
    const auto *view = qobject_cast<const FittedListView *>(option.widget);
    if (view && view->pressedIndex() == index)
        painter->setOpacity(OrvaneClickableButtonStyle::pressedOpacity);
    paintFrame(*painter, card, theme.panelBackground(), theme.borderSubtle());

    int y = card.top() + cardPadding;
    const int left = card.left() + cardPadding;
    const QFontMetrics kicker(kickerFont());
    painter->setFont(kickerFont());
    const QRect kickerRow(left, y, width, kicker.height());
    const int impactWidth = kicker.horizontalAdvance(text.impact);
    painter->setPen(theme.accentLime());
    painter->drawText(kickerRow, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, text.impact);
    painter->setPen(theme.accentCyan());
    const QString category = kicker.elidedText(text.category, Qt::ElideRight, qMax(0, width - impactWidth - 8));
    painter->drawText(kickerRow, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, category);
    y += kicker.height() + lineSpacing;

    const auto drawLines = [&](const QStringList &lines, const QFont &font, const QColor &color) {
        const QFontMetrics metrics(font);
        painter->setFont(font);
        painter->setPen(color);
        for (const QString &line : lines) {
            painter->drawText(QRect(left, y, width, metrics.lineSpacing()),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
            y += metrics.lineSpacing();
        }
    };
    drawLines(text.title, titleFont(), theme.textPrimary());
    y += lineSpacing;
    drawLines(text.rationale, rationaleFont(), theme.textSecondary());
    painter->restore();
}

} // namespace orvane
