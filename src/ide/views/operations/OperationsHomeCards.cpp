#include "ide/views/operations/OperationsHomeCards.h"

#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardPainting.h"
#include "ide/views/operations/OperationsTexts.h"
#include "ide/views/operations/ThreadListModel.h"

#include <QPainter>

using namespace Qt::StringLiterals;

namespace orvane::operations {
namespace {

constexpr int padding = 14;

// --- Thread card ---

QFont badgeFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont updatedFont()
{
    return themeFont(10, QFont::Normal, true);
}
QFont threadTitleFont()
{
    return themeFont(14, QFont::Bold);
}
QFont previewFont()
{
    return themeFont(11);
}
QFont countsFont()
{
    return themeFont(10, QFont::Normal, true);
}
QFont openFont()
{
    return themeFont(10, QFont::Bold, true);
}
constexpr QMargins badgePadding { 6, 2, 6, 2 };
constexpr int threadSpacing = 10;
constexpr int previewLines = 2;

struct ThreadCardLayout {
    QRect badge, updated, title, preview, counts, open;
};

ThreadCardLayout layoutThreadCard(const CampaignIDEThread &thread, const QString &preview, const QRect &rect)
{
    using namespace cards;
    ThreadCardLayout layout;
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const int width = inner.width();
    const QSize badge
        = ButtonLabel { operationstexts::workbenchBadge(thread.workbenchView), badgeFont(), badgePadding }.size();
    const int topRow = qMax(badge.height(), lineHeight(updatedFont()));
    int y = inner.top();
    layout.badge = QRect(inner.left(), y + (topRow - badge.height()) / 2, badge.width(), badge.height());
    const int updatedLeft = layout.badge.right() + 1 + 8;
    layout.updated = QRect(updatedLeft, y, inner.right() + 1 - updatedLeft, topRow);
    y += topRow + threadSpacing;
    const int titleHeight = textHeight(thread.title, threadTitleFont(), width);
    layout.title = QRect(inner.left(), y, width, titleHeight);
    y += titleHeight + threadSpacing;
    const int previewHeight = textHeight(preview, previewFont(), width, previewLines);
    layout.preview = QRect(inner.left(), y, width, previewHeight);
    y += previewHeight + threadSpacing;
    const int bottomRow = qMax(lineHeight(countsFont()), lineHeight(openFont()));
    const int openWidth = textWidth(u"Open Thread →"_s, openFont());
    layout.open = QRect(inner.right() + 1 - openWidth, y, openWidth, bottomRow);
    layout.counts = QRect(inner.left(), y, qMax(0, layout.open.left() - 8 - inner.left()), bottomRow);
    return layout;
}

// --- Recommended action ---

QFont tagFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont actionTitleFont()
{
    return themeFont(13, QFont::Bold);
}
QFont detailFont()
{
    return themeFont(11);
}
cards::ButtonLabel startLabel()
{
    return { u"Start this task →"_s, themeFont(11, QFont::Bold), QMargins(12, 7, 12, 7) };
}

struct ActionRowLayout {
    QRect category, impact, title, detail, button;
};

ActionRowLayout layoutActionRow(const CampaignRecommendedNextAction &action, const QRect &rect)
{
    using namespace cards;
    ActionRowLayout layout;
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const QSize button = startLabel().size();
    const int textWidthAvailable = qMax(1, inner.width() - 14 - button.width());
    int y = inner.top();
    const int tags = lineHeight(tagFont());
    const int categoryWidth = qMin(textWidth(action.category.toUpper(), tagFont()), textWidthAvailable);
    layout.category = QRect(inner.left(), y, categoryWidth, tags);
    const int impactLeft = layout.category.right() + 1 + 8;
    layout.impact = QRect(impactLeft, y, qMax(0, inner.left() + textWidthAvailable - impactLeft), tags);
    y += tags + 4;
    const int titleHeight = textHeight(action.title, actionTitleFont(), textWidthAvailable);
    layout.title = QRect(inner.left(), y, textWidthAvailable, titleHeight);
    y += titleHeight + 4;
    layout.detail
        = QRect(inner.left(), y, textWidthAvailable, textHeight(action.rationale, detailFont(), textWidthAvailable));
    const int textBottom = layout.detail.bottom() + 1;
    const int contentHeight = qMax(textBottom - inner.top(), button.height());
    layout.button = QRect(inner.right() + 1 - button.width(), inner.top() + (contentHeight - button.height()) / 2,
        button.width(), button.height());
    return layout;
}

} // namespace

ThreadCardDelegate::ThreadCardDelegate(const ThemeSource &theme, const ThreadListModel &threads)
    : m_theme(&theme), m_threads(threads)
{
}

int ThreadCardDelegate::cardHeight(const QModelIndex &index, int width) const
{
    const QString preview = operationstexts::threadPreview(m_threads.summaryAt(index.row()));
    const ThreadCardLayout layout = layoutThreadCard(m_threads.at(index.row()), preview, QRect(0, 0, width, 0));
    return layout.counts.bottom() + 1 + padding;
}

void ThreadCardDelegate::paintCard(
    QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const
{
    if (!m_theme)
        return;
    using namespace cards;
    const OrvaneWebTheme theme = m_theme->theme();
    const CampaignIDEThread &thread = m_threads.at(index.row());
    const CampaignThreadSummary summary = m_threads.summaryAt(index.row());
    const QString preview = operationstexts::threadPreview(summary);
    const ThreadCardLayout layout = layoutThreadCard(thread, preview, rect);
    if (pressedPart == openPart)
        painter.setOpacity(OrvaneClickableButtonStyle::pressedOpacity);
    drawCard(painter, rect, theme);
    drawButton(painter, layout.badge,
        ButtonLabel { operationstexts::workbenchBadge(thread.workbenchView), badgeFont(), badgePadding },
        theme.accentLime(), theme.elevatedBackground(), false);
    drawLine(painter, layout.updated, thread.updatedAt, updatedFont(), theme.textMuted(), Qt::AlignRight);
    drawText(painter, layout.title, thread.title, threadTitleFont(), theme.textPrimary());
    drawText(painter, layout.preview, preview, previewFont(), theme.textSecondary(), previewLines);
    drawLine(painter, layout.counts, operationstexts::threadCounts(summary), countsFont(), theme.textMuted());
    drawLine(painter, layout.open, u"Open Thread →"_s, openFont(), theme.accentCyan());
}

QRect ThreadCardDelegate::partRect(const QModelIndex &, const QRect &rect, int part) const
{
    return part == openPart ? rect : QRect();
}

RecommendedActionDelegate::RecommendedActionDelegate(const ThemeSource &theme, const HomeActionListModel &actions)
    : m_theme(&theme), m_actions(actions)
{
}

int RecommendedActionDelegate::cardHeight(const QModelIndex &index, int width) const
{
    const ActionRowLayout layout = layoutActionRow(m_actions.at(index.row()), QRect(0, 0, width, 0));
    return qMax(layout.detail.bottom() + 1, layout.button.bottom() + 1) + padding;
}

void RecommendedActionDelegate::paintCard(
    QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const
{
    if (!m_theme)
        return;
    using namespace cards;
    const OrvaneWebTheme theme = m_theme->theme();
    const CampaignRecommendedNextAction &action = m_actions.at(index.row());
    const ActionRowLayout layout = layoutActionRow(action, rect);
    drawCard(painter, rect, theme);
    drawLine(painter, layout.category, action.category.toUpper(), tagFont(), theme.accentCyan());
    drawLine(painter, layout.impact, action.impactLabel(), tagFont(), theme.accentLime());
    drawText(painter, layout.title, action.title, actionTitleFont(), theme.textPrimary());
    drawText(painter, layout.detail, action.detail(), detailFont(), theme.textSecondary());
    drawButton(
        painter, layout.button, startLabel(), inkOnLime(), OrvaneWebTheme::accentLimeFill(), pressedPart == startPart);
}

QRect RecommendedActionDelegate::partRect(const QModelIndex &index, const QRect &rect, int part) const
{
    return part == startPart ? layoutActionRow(m_actions.at(index.row()), rect).button : QRect();
}

} // namespace orvane::operations
