#include "ide/views/sidebar/SidebarRowDelegates.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sidebar/SidebarProjectListModel.h"
#include "ide/views/sidebar/SidebarThreadListModel.h"
#include "platform/ui/Symbols.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr QMargins rowPadding { 8, 5, 8, 5 };
constexpr int iconFrameWidth = 14;
constexpr int starSide = 20;
constexpr int threadRowSpacing = 6; // open button to star button
constexpr int threadLabelSpacing = 7; // icon to text column
constexpr int threadLineSpacing = 2;
constexpr int projectLabelSpacing = 8;
constexpr int projectLineSpacing = 1;
constexpr int wrapLimit = 10000;

QFont threadTitleFont(bool selected)
{
    return themeFont(12, selected ? QFont::Bold : QFont::Medium);
}
QFont workbenchFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont updatedFont()
{
    return themeFont(9);
}
QFont projectNameFont(bool selected)
{
    return themeFont(11, selected ? QFont::Bold : QFont::Medium);
}
QFont projectDetailFont()
{
    return themeFont(9, QFont::Normal, true);
}

int threadSecondLineHeight()
{
    return std::max(QFontMetrics(workbenchFont()).height(), QFontMetrics(updatedFont()).height());
}

int threadColumnHeight()
{
    // Bold and medium titles share their line height; measure the taller to be safe.
    const int title
        = std::max(QFontMetrics(threadTitleFont(true)).height(), QFontMetrics(threadTitleFont(false)).height());
    return title + threadLineSpacing + threadSecondLineHeight();
}

// A symbol centred in a box, tinted.
void drawSymbol(
    QPainter *painter, const QRect &box, const QString &symbol, const QColor &color, int size, ui::SymbolWeight weight)
{
    const qreal ratio = painter->device() ? painter->device()->devicePixelRatioF() : 1.0;
    const QPixmap pixmap = ui::symbolPixmap(symbol, color, size, ratio, weight);
    const QRect target(box.x() + (box.width() - size) / 2, box.y() + (box.height() - size) / 2, size, size);
    painter->drawPixmap(target, pixmap);
}

void drawLine(QPainter *painter, const QRect &box, const QFont &font, const QColor &color, const QString &text)
{
    painter->setFont(font);
    painter->setPen(color);
    const QString elided = QFontMetrics(font).elidedText(labelText(text), Qt::ElideRight, box.width());
    painter->drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, elided);
}

int projectDetailWidth(int rowWidth)
{
    return std::max(1, rowWidth - rowPadding.left() - rowPadding.right() - iconFrameWidth - projectLabelSpacing);
}

QRect wrappedDetailRect(const QString &detail, int width)
{
    return QFontMetrics(projectDetailFont())
        .boundingRect(QRect(0, 0, width, wrapLimit), Qt::AlignLeft | Qt::TextWordWrap, detail);
}

} // namespace

// --- Thread rows -----------------------------------------------------------------------------------

SidebarThreadRowDelegate::SidebarThreadRowDelegate(const ThemeSource &theme, QObject *parent)
    : SidebarRowDelegate(parent), m_theme(&theme)
{
}

QString SidebarThreadRowDelegate::starToolTip(bool starred)
{
    return starred ? u"Remove from Starred"_s : u"Star Thread"_s;
}

QString SidebarThreadRowDelegate::starMenuText(bool starred)
{
    return starred ? u"Unstar Thread"_s : u"Star Thread"_s;
}

QSize SidebarThreadRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &) const
{
    const int content = std::max(threadColumnHeight(), starSide);
    return { rowWidth(option), content + rowPadding.top() + rowPadding.bottom() };
}

QRect SidebarThreadRowDelegate::partRect(const QRect &rowRect, Part part) const
{
    const QRect content = rowRect.marginsRemoved(rowPadding);
    const QRect star(
        content.right() + 1 - starSide, content.top() + (content.height() - starSide) / 2, starSide, starSide);
    switch (part) {
    case Part::star:
        return star;
    case Part::row:
        // The open button: the padded row up to the star button.
        return QRect(rowRect.topLeft(), QPoint(star.left() - threadRowSpacing - 1, rowRect.bottom()));
    case Part::none:
        break;
    }
    return {};
}

SidebarRowDelegate::Part SidebarThreadRowDelegate::partAt(const QRect &rowRect, const QModelIndex &, QPoint point) const
{
    if (!rowRect.contains(point))
        return Part::none;
    // The star takes the clicks of its own frame; everything else opens the thread.
    return partRect(rowRect, Part::star).contains(point) ? Part::star : Part::row;
}

QString SidebarThreadRowDelegate::toolTip(const QModelIndex &index, Part part) const
{
    if (part != Part::star)
        return {};
    return starToolTip(index.data(SidebarThreadListModel::StarredRole).toBool());
}

void SidebarThreadRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const bool selected = index.data(SidebarThreadListModel::SelectedRole).toBool();
    const bool starred = index.data(SidebarThreadListModel::StarredRole).toBool();
    const Part pressed = pressedPart(option, index);
    const QRect row = option.rect;

    painter->save();
    if (selected)
        painter->fillRect(row, theme.elevatedBackground());

    // Open button.
    const QRect openArea = partRect(row, Part::row)
                               .marginsRemoved(QMargins(rowPadding.left(), rowPadding.top(), 0, rowPadding.bottom()));
    painter->setOpacity(pressed == Part::row ? OrvaneClickableButtonStyle::pressedOpacity : 1.0);
    const QRect icon(openArea.left(), openArea.top(), iconFrameWidth, openArea.height());
    drawSymbol(painter, icon, selected ? u"bubble.left.and.bubble.right.fill"_s : u"bubble.left"_s,
        selected ? theme.accentLime() : theme.textMuted(), 11, ui::SymbolWeight::semibold);

    const int textLeft = icon.right() + 1 + threadLabelSpacing;
    const int textWidth = std::max(0, openArea.right() + 1 - textLeft);
    const int columnHeight = threadColumnHeight();
    const int columnTop = openArea.top() + (openArea.height() - columnHeight) / 2;
    const QFont titleFont = threadTitleFont(selected);
    const int titleHeight = columnHeight - threadLineSpacing - threadSecondLineHeight();
    drawLine(painter, QRect(textLeft, columnTop, textWidth, titleHeight), titleFont,
        selected ? theme.textPrimary() : theme.textSecondary(), index.data(Qt::DisplayRole).toString());

    const QRect second(textLeft, columnTop + titleHeight + threadLineSpacing, textWidth, threadSecondLineHeight());
    const QString workbench = index.data(SidebarThreadListModel::WorkbenchRole).toString();
    // The workbench name is short and fixed: drawn whole, the update text takes what is left.
    const int workbenchWidth
        = std::min(second.width(), int(std::ceil(QFontMetricsF(workbenchFont()).horizontalAdvance(workbench))) + 1);
    painter->setFont(workbenchFont());
    painter->setPen(theme.accentCyan());
    painter->drawText(QRect(second.left(), second.top(), workbenchWidth, second.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, workbench);
    const int updatedLeft = second.left() + workbenchWidth + 5;
    drawLine(painter, QRect(updatedLeft, second.top(), std::max(0, second.right() + 1 - updatedLeft), second.height()),
        updatedFont(), theme.textMuted(), u"\u00B7 "_s + index.data(SidebarThreadListModel::UpdatedAtRole).toString());

    // Star button.
    painter->setOpacity(pressed == Part::star ? OrvaneClickableButtonStyle::pressedOpacity : 1.0);
    drawSymbol(painter, partRect(row, Part::star), starred ? u"star.fill"_s : u"star"_s,
        starred ? theme.accentAmber() : withOpacity(theme.textMuted(), 0.6), 10, ui::SymbolWeight::regular);

    // The open thread's lime bar lies over the whole row.
    painter->setOpacity(1.0);
    if (selected)
        painter->fillRect(QRect(row.left(), row.top(), 2, row.height()), theme.accentLimeFill());
    painter->restore();
}

// --- Project rows ----------------------------------------------------------------------------------

SidebarProjectRowDelegate::SidebarProjectRowDelegate(const ThemeSource &theme, QObject *parent)
    : SidebarRowDelegate(parent), m_theme(&theme)
{
}

QSize SidebarProjectRowDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = rowWidth(option);
    const QString detail = index.data(SidebarProjectListModel::DetailRole).toString();
    const int nameHeight = QFontMetrics(projectNameFont(true)).height();
    const int detailHeight = wrappedDetailRect(detail, projectDetailWidth(width)).height();
    return { width, rowPadding.top() + nameHeight + projectLineSpacing + detailHeight + rowPadding.bottom() };
}

void SidebarProjectRowDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const bool selected = index.data(SidebarProjectListModel::SelectedRole).toBool();
    const QRect row = option.rect;

    painter->save();
    // The fill lies inside the button, so it dims with the press too.
    painter->setOpacity(pressedPart(option, index) == Part::row ? OrvaneClickableButtonStyle::pressedOpacity : 1.0);
    if (selected)
        painter->fillRect(row, withOpacity(theme.elevatedBackground(), 0.6));

    const QRect content = row.marginsRemoved(rowPadding);
    drawSymbol(painter, QRect(content.left(), content.top(), iconFrameWidth, content.height()),
        selected ? u"folder.fill"_s : u"folder"_s, selected ? theme.accentCyan() : theme.textMuted(), 11,
        ui::SymbolWeight::regular);

    const int textLeft = content.left() + iconFrameWidth + projectLabelSpacing;
    const int textWidth = projectDetailWidth(row.width());
    const QString detail = index.data(SidebarProjectListModel::DetailRole).toString();
    const int nameHeight = QFontMetrics(projectNameFont(true)).height();
    const int detailHeight = wrappedDetailRect(detail, textWidth).height();
    const int columnHeight = nameHeight + projectLineSpacing + detailHeight;
    const int top = content.top() + (content.height() - columnHeight) / 2;

    drawLine(painter, QRect(textLeft, top, textWidth, nameHeight), projectNameFont(selected),
        selected ? theme.textPrimary() : theme.textSecondary(), index.data(Qt::DisplayRole).toString());

    painter->setFont(projectDetailFont());
    painter->setPen(theme.textMuted());
    painter->drawText(QRect(textLeft, top + nameHeight + projectLineSpacing, textWidth, detailHeight),
        Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, detail);
    painter->restore();
}

} // namespace orvane
