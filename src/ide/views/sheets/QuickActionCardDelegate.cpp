#include "ide/views/sheets/QuickActionCardDelegate.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/FittedListView.h"
#include "ide/views/sheets/RecommendedActionListModel.h"

#include <QAbstractItemView>
#include <QPainter>
#include <QTextLayout>

#include <cmath>

namespace orvane {
namespace {

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
    QuickActionCardDelegate::KickerRow kicker;
    QStringList title;
    QStringList rationale;
};

CardText cardText(const QModelIndex &index, int width)
{
    return CardText {
        QuickActionCardDelegate::kickerRow(index.data(RecommendedActionListModel::CategoryRole).toString(),
            index.data(RecommendedActionListModel::ImpactRole).toString(), width),
        QuickActionCardDelegate::wrappedLines(
            index.data(RecommendedActionListModel::TitleRole).toString(), titleFont(), width),
        QuickActionCardDelegate::wrappedLines(index.data(RecommendedActionListModel::RationaleRole).toString(),
            rationaleFont(), width, QuickActionCardDelegate::rationaleLines),
    };
}

int cardHeight(const CardText &text)
{
    return 2 * QuickActionCardDelegate::cardPadding + text.kicker.height + QuickActionCardDelegate::lineSpacing
        + int(text.title.size()) * QFontMetrics(titleFont()).lineSpacing() + QuickActionCardDelegate::lineSpacing
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

QFont QuickActionCardDelegate::kickerFont()
{
    return themeFont(9, QFont::Bold, true);
}

QuickActionCardDelegate::KickerRow QuickActionCardDelegate::kickerRow(
    const QString &category, const QString &impact, int width)
{
    // The two texts share the row as two wrapping texts of one row do: each is offered half the
    // room, a text that needs less than its half leaves the rest to the other, and a text wider
    // than its share wraps between words onto further lines rather than being cut.
    const QFontMetrics metrics(kickerFont());
    const int available = qMax(2, width - kickerSpacing);
    // Whole pixels up: a text offered its exact width must not wrap on a fraction of one.
    const auto needed = [font = kickerFont()](const QString &text) {
        return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text))) + 1;
    };
    const int categoryWidth = needed(category);
    const int impactWidth = needed(impact);
    int categoryShare = available / 2;
    if (categoryWidth <= categoryShare)
        categoryShare = categoryWidth;
    else if (impactWidth <= available - categoryShare)
        categoryShare = available - impactWidth;
    const int impactShare = qMax(1, available - categoryShare);
    categoryShare = qMax(1, categoryShare);

    KickerRow row;
    row.categoryLines = wrappedLines(category, kickerFont(), categoryShare);
    row.impactLines = wrappedLines(impact, kickerFont(), impactShare);
    const auto widest = [&metrics](const QStringList &lines) {
        int most = 0;
        for (const QString &line : lines)
            most = qMax(most, metrics.horizontalAdvance(line));
        return most;
    };
    const int lineHeight = metrics.height();
    row.height = lineHeight * int(qMax(qMax(row.categoryLines.size(), row.impactLines.size()), qsizetype(1)));
    const int categoryHeight = lineHeight * int(row.categoryLines.size());
    const int impactHeight = lineHeight * int(row.impactLines.size());
    // Both texts are centred on the row; the impact hangs on the trailing edge.
    row.categoryRect
        = QRect(0, (row.height - categoryHeight) / 2, qMin(widest(row.categoryLines), categoryShare), categoryHeight);
    const int impactBox = qMin(widest(row.impactLines), impactShare);
    row.impactRect = QRect(width - impactBox, (row.height - impactHeight) / 2, impactBox, impactHeight);
    return row;
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
    const int lineHeight = QFontMetrics(kickerFont()).height();
    painter->setFont(kickerFont());
    const auto drawKicker = [&](const QStringList &lines, QRect box, const QColor &color) {
        painter->setPen(color);
        box.translate(left, y);
        for (const QString &line : lines) {
            painter->drawText(QRect(box.left(), box.top(), box.width(), lineHeight),
                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
            box.setTop(box.top() + lineHeight);
        }
    };
    drawKicker(text.kicker.categoryLines, text.kicker.categoryRect, theme.accentCyan());
    drawKicker(text.kicker.impactLines, text.kicker.impactRect, theme.accentLime());
    y += text.kicker.height + lineSpacing;

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
    // The card the keyboard is on, once Tab has reached the list.
    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange)) {
        painter->setOpacity(1.0);
        paintButtonFocusRing(*painter, card, theme);
    }
    painter->restore();
}

} // namespace orvane
