#include "ide/views/canvas/LocalFileRowDelegate.h"

#include "ide/views/canvas/CardPainting.h"
#include "ide/views/canvas/LocalFilesListModel.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "platform/ui/Symbols.h"

#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {
namespace cp = card_painting;
namespace {

constexpr QMargins rowPadding { 10, 6, 10, 6 };
constexpr int symbolSize = 11;
constexpr int rowSpacing = 8;
constexpr int lineSpacing = 1;

QFont nameFont(bool selected)
{
    return themeFont(11, selected ? QFont::Bold : QFont::Medium, true);
}
QFont detailFont()
{
    return themeFont(9, QFont::Normal, true);
}

int textHeight()
{
    return cp::lineHeight(nameFont(true)) + lineSpacing + cp::lineHeight(detailFont());
}

} // namespace

LocalFileRowDelegate::LocalFileRowDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

QSize LocalFileRowDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int width = rowPadding.left() + symbolSize + rowSpacing
        + cp::textWidth(index.data(LocalFilesListModel::NameRole).toString(), nameFont(true)) + rowPadding.right();
    return { width, rowPadding.top() + std::max(symbolSize, textHeight()) + rowPadding.bottom() + rowGap };
}

void LocalFileRowDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const bool selected = index.data(LocalFilesListModel::SelectedRole).toBool();
    const QRect row = option.rect.adjusted(0, 0, 0, -rowGap);
    painter->save();
    if (option.state & QStyle::State_Sunken)
        painter->setOpacity(OrvaneClickableButtonStyle::pressedOpacity);
    if (selected)
        painter->fillRect(row, theme.elevatedBackground());

    const QRect content = row.marginsRemoved(rowPadding);
    const QPixmap symbol = ui::symbolPixmap(index.data(LocalFilesListModel::SymbolRole).toString(),
        selected ? theme.accentLime() : theme.accentCyan(), symbolSize,
        painter->device() ? painter->device()->devicePixelRatioF() : 1.0);
    painter->drawPixmap(
        QRect(content.left(), content.top() + (content.height() - symbolSize) / 2, symbolSize, symbolSize), symbol);

    const int left = content.left() + symbolSize + rowSpacing;
    const int top = content.top() + (content.height() - textHeight()) / 2;
    const int nameHeight = cp::lineHeight(nameFont(true));
    cp::drawLine(*painter, QRect(left, top, content.right() + 1 - left, nameHeight),
        index.data(LocalFilesListModel::NameRole).toString(), nameFont(selected),
        selected ? theme.textPrimary() : theme.textSecondary());
    const QString detail = QString::number(index.data(LocalFilesListModel::SizeBytesRole).toLongLong()) + u" B · "_s
        + index.data(LocalFilesListModel::ModifiedLabelRole).toString();
    cp::drawLine(*painter,
        QRect(left, top + nameHeight + lineSpacing, content.right() + 1 - left, cp::lineHeight(detailFont())), detail,
        detailFont(), theme.textMuted());
    painter->restore();
}

} // namespace orvane
