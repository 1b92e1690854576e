#include "ide/views/sheets/CommandPaletteDelegate.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/CommandPaletteResultsModel.h"
#include "ide/views/sheets/FittedListView.h"
#include "platform/ui/Symbols.h"

#include <QPainter>

namespace orvane {
namespace {

using Kind = CommandPaletteResultsModel::Kind;

QFont headerFont()
{
    return themeFont(10, QFont::Bold, true);
}
QFont titleFont()
{
    return themeFont(12, QFont::DemiBold);
}
QFont trailingFont(Kind kind)
{
    return themeFont(10, kind == Kind::persona ? QFont::Bold : QFont::Normal, true);
}

Kind kindOf(const QModelIndex &index)
{
    return index.data(CommandPaletteResultsModel::KindRole).value<Kind>();
}

// Space above the row: none for the first row, the stack's spacing otherwise, and 8 more above the
// personas' header.
int spaceAbove(const QModelIndex &index)
{
    if (index.row() == 0)
        return 0;
    return CommandPaletteDelegate::rowSpacing
        + (kindOf(index) == Kind::personasHeader ? CommandPaletteDelegate::extraSpaceAbovePersonas : 0);
}

} // namespace

CommandPaletteDelegate::CommandPaletteDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

QSize CommandPaletteDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const Kind kind = kindOf(index);
    int height = 0;
    if (kind == Kind::threadsHeader || kind == Kind::personasHeader) {
        height = QFontMetrics(headerFont()).height();
    } else {
        const int text = qMax(QFontMetrics(titleFont()).height(), QFontMetrics(trailingFont(kind)).height());
        height = qMax(text, symbolSize) + 2 * rowPadding;
    }
    return { option.rect.width(), height + spaceAbove(index) };
}

void CommandPaletteDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const Kind kind = kindOf(index);
    const QRect rect = option.rect.adjusted(0, spaceAbove(index), 0, 0);
    const QString text = index.data(Qt::DisplayRole).toString();
    painter->save();
    if (kind == Kind::threadsHeader || kind == Kind::personasHeader) {
        painter->setFont(headerFont());
        painter->setPen(theme.textMuted());
        painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
        painter->restore();
        return;
    }

    // A row is a button: drawn at the pressed opacity while held down.
    const auto *view = qobject_cast<const FittedListView *>(option.widget);
    if (view && view->pressedIndex() == index)
        painter->setOpacity(OrvaneClickableButtonStyle::pressedOpacity);
    painter->fillRect(rect, theme.elevatedBackground());

    QRect content = rect.adjusted(rowPadding, rowPadding, -rowPadding, -rowPadding);
    const int spacing = 8;
    const QColor symbolColor = kind == Kind::thread ? theme.accentLime() : theme.accentCyan();
    const QString symbol = index.data(CommandPaletteResultsModel::SymbolRole).toString();
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    if (!symbol.isEmpty() && ui::hasSymbol(symbol)) {
        const QPixmap pixmap = ui::symbolPixmap(symbol, symbolColor, symbolSize, ratio);
        const QRect symbolRect(content.left(), content.center().y() - symbolSize / 2 + 1, symbolSize, symbolSize);
        painter->drawPixmap(symbolRect, pixmap);
    }
    content.setLeft(content.left() + symbolSize + spacing);

    const QString trailing = index.data(CommandPaletteResultsModel::TrailingTextRole).toString();
    const QFont trailFont = trailingFont(kind);
    const int trailingWidth = QFontMetrics(trailFont).horizontalAdvance(trailing);
    painter->setFont(trailFont);
    painter->setPen(kind == Kind::thread ? theme.accentCyan() : theme.accentLime());
    painter->drawText(content, Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine, trailing);

    QRect titleRect = content;
    titleRect.setRight(content.right() - trailingWidth - spacing);
    painter->setFont(titleFont());
    painter->setPen(theme.textPrimary());
    const QString elided = QFontMetrics(titleFont()).elidedText(labelText(text), Qt::ElideRight, titleRect.width());
    painter->drawText(titleRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, elided);
    // The row the keyboard is on, once Tab has reached the list.
    if ((option.state & QStyle::State_HasFocus) && (option.state & QStyle::State_KeyboardFocusChange))
        paintButtonFocusRing(*painter, rect, theme);
    painter->restore();
}

} // namespace orvane
