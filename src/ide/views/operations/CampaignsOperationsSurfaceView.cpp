#include "ide/views/operations/CampaignsOperationsSurfaceView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardPainting.h"
#include "ide/views/operations/OperationsTexts.h"
#include "ide/views/operations/ThreadListModel.h"

#include <QPainter>

#include <QVBoxLayout>
#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane::operations {
namespace {

constexpr int padding = 14;
constexpr int spacing = 10;
constexpr int flightPadding = 8;
constexpr int channelWidth = 100;
constexpr int statusWidth = 110;
constexpr int flightGap = 8;

QFont titleFont()
{
    return themeFont(14, QFont::Bold);
}
cards::ButtonLabel openLabel()
{
    return { u"Open in Table Workbench →"_s, themeFont(11, QFont::Bold, true), QMargins() };
}
QFont channelFont()
{
    return themeFont(11, QFont::Bold);
}
QFont campaignFont()
{
    return themeFont(11, QFont::DemiBold, true);
}
QFont budgetFont()
{
    return themeFont(11, QFont::Normal, true);
}
QFont statusFont()
{
    return themeFont(10, QFont::Bold, true);
}

int flightHeight()
{
    using cards::lineHeight;
    return std::max({ lineHeight(channelFont()), lineHeight(campaignFont()), lineHeight(budgetFont()),
               lineHeight(statusFont()) })
        + 2 * flightPadding;
}

struct CampaignCardLayout {
    QRect title, open;
    QList<QRect> flights;
};

CampaignCardLayout layoutCampaignCard(const CampaignIDEThread &thread, const QRect &rect)
{
    using namespace cards;
    CampaignCardLayout layout;
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const QSize open = openLabel().size();
    const int titleWidth = qMax(1, inner.width() - open.width() - 8);
    const int titleHeight = thread.title.isEmpty() ? 0 : textHeight(thread.title, titleFont(), titleWidth);
    const int rowHeight = qMax(titleHeight, open.height());
    layout.title = QRect(inner.left(), inner.top() + (rowHeight - titleHeight) / 2, titleWidth, titleHeight);
    layout.open = QRect(
        inner.right() + 1 - open.width(), inner.top() + (rowHeight - open.height()) / 2, open.width(), open.height());
    int y = inner.top() + rowHeight;
    const int height = flightHeight();
    for (qsizetype i = 0; i < thread.mediaPlanRows.size(); ++i) {
        y += spacing;
        layout.flights.append(QRect(inner.left(), y, inner.width(), height));
        y += height;
    }
    return layout;
}

void paintFlight(QPainter &painter, const QRect &rect, const CampaignMediaPlanRow &row, const OrvaneWebTheme &theme)
{
    using namespace cards;
    painter.fillRect(rect, theme.elevatedBackground());
    const QRect inner = rect.adjusted(flightPadding, flightPadding, -flightPadding, -flightPadding);
    const QString budget = operationstexts::dailyBudget(row.dailyBudget);
    const int budgetWidth = textWidth(budget, budgetFont());
    const QRect status(inner.right() + 1 - statusWidth, inner.top(), statusWidth, inner.height());
    const QRect daily(status.left() - flightGap - budgetWidth, inner.top(), budgetWidth, inner.height());
    const QRect channel(inner.left(), inner.top(), channelWidth, inner.height());
    const int nameLeft = channel.right() + 1 + flightGap;
    const QRect name(nameLeft, inner.top(), qMax(0, daily.left() - flightGap - nameLeft), inner.height());
    drawLine(painter, channel, row.channel, channelFont(), theme.accentCyan());
    drawLine(painter, name, row.campaignName, campaignFont(), theme.textPrimary());
    drawLine(painter, daily, budget, budgetFont(), theme.accentLime());
    drawLine(painter, status, row.status, statusFont(), OrvaneWebTheme::accentEmerald(), Qt::AlignRight);
}

} // namespace

CampaignCardDelegate::CampaignCardDelegate(const ThemeSource &theme, const ThreadListModel &threads)
    : m_theme(&theme), m_threads(threads)
{
}

int CampaignCardDelegate::cardHeight(const QModelIndex &index, int width) const
{
    const CampaignCardLayout layout = layoutCampaignCard(m_threads.at(index.row()), QRect(0, 0, width, 0));
    const int bottom
        = layout.flights.isEmpty() ? qMax(layout.title.bottom(), layout.open.bottom()) : layout.flights.last().bottom();
    return bottom + 1 + padding;
}

void CampaignCardDelegate::paintCard(
    QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const
{
    if (!m_theme)
        return;
    using namespace cards;
    const OrvaneWebTheme theme = m_theme->theme();
    const CampaignIDEThread &thread = m_threads.at(index.row());
    const CampaignCardLayout layout = layoutCampaignCard(thread, rect);
    drawCard(painter, rect, theme);
    drawText(painter, layout.title, thread.title, titleFont(), theme.textPrimary());
    drawButton(painter, layout.open, openLabel(), theme.accentLime(), std::nullopt, pressedPart == openPart);
    for (qsizetype i = 0; i < layout.flights.size(); ++i)
        paintFlight(painter, layout.flights.at(i), thread.mediaPlanRows.at(i), theme);
}

QRect CampaignCardDelegate::partRect(const QModelIndex &index, const QRect &rect, int part) const
{
    return part == openPart ? layoutCampaignCard(m_threads.at(index.row()), rect).open : QRect();
}

} // namespace orvane::operations

namespace orvane {

using namespace operations;

CampaignsOperationsSurfaceView::CampaignsOperationsSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : OperationsSurfaceView(context, 16, parent), m_threads(new ThreadListModel(*context.threads, this))
{
    setObjectName(u"campaignsSurface"_s);
    page()->addWidget(titleBlock(
        u"CAMPAIGNS & MULTI-CHANNEL TRAFFICKING"_s, u"All Active & Staged Flights Across Campaign Threads"_s));
    // The cards stand in the page's column, 16 apart, as the header does.
    auto *grid = new CardGrid(m_threads, std::make_unique<CampaignCardDelegate>(theme(), *m_threads), theme(), 0, 16);
    grid->setObjectName(u"campaignCardList"_s);
    grid->setAccessibleName(u"Campaigns"_s);
    connect(grid, &CardGrid::partClicked, this, [this](const QModelIndex &index, int part) {
        if (part == CampaignCardDelegate::openPart)
            model().openThread(m_threads->at(index.row()).id, IDEWorkbenchView::table);
    });
    page()->addWidget(grid);
}

} // namespace orvane
