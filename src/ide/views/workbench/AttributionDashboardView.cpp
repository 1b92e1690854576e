#include "ide/views/workbench/AttributionDashboardView.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/WorkbenchFormat.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QStringBuilder>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

const CampaignMediaPlanRow *rowAt(const QModelIndex &index)
{
    const auto *model = qobject_cast<const MediaPlanTableModel *>(index.model());
    if (!model || index.row() < 0 || index.row() >= model->rows().size())
        return nullptr;
    return &model->rows().at(index.row());
}

} // namespace

ChannelBreakdownDelegate::ChannelBreakdownDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

ChannelBreakdownDelegate::Texts ChannelBreakdownDelegate::texts(const QModelIndex &index)
{
    const CampaignMediaPlanRow *row = rowAt(index);
    if (!row)
        return {};
    return {
        .title = row->channel % u" · "_s % row->campaignName,
        .audience = row->audience,
        .pacing = workbench::groupedDollars(row->monthlyBudget) % u"/mo"_s,
        .efficiency = u"CPA "_s % workbench::plainDollars(row->targetCPA),
        .volume = workbench::plainNumber(row->estimatedConversions) % u" SQLs"_s,
    };
}

void ChannelBreakdownDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const Texts shown = texts(index);
    const QRect card(option.rect.topLeft(), QSize(option.rect.width(), cardHeight));
    painter->save();
    paintFrame(*painter, card, theme.elevatedBackground(), theme.borderSubtle());

    const QRect inner = card.adjusted(10, 10, -10, -10);
    const QFont volumeFont = themeFont(11, QFont::Bold, true);
    const QFont efficiencyFont = themeFont(11, QFont::Normal, true);
    const QFont pacingFont = themeFont(12, QFont::DemiBold, true);
    const QFont titleFont = themeFont(12, QFont::Bold);
    const QFont audienceFont = themeFont(11);

    // Right to left: volume (80 wide), efficiency (85 wide), pacing as wide as its text.
    const QRect volume(inner.right() - 79, inner.top(), 80, inner.height());
    const QRect efficiency(volume.left() - 8 - 85, inner.top(), 85, inner.height());
    const int pacingWidth = QFontMetrics(pacingFont).horizontalAdvance(shown.pacing);
    const QRect pacing(efficiency.left() - 8 - pacingWidth, inner.top(), pacingWidth, inner.height());
    painter->setFont(volumeFont);
    painter->setPen(theme.accentEmerald());
    painter->drawText(volume, Qt::AlignRight | Qt::AlignVCenter, shown.volume);
    painter->setFont(efficiencyFont);
    painter->setPen(theme.accentLime());
    painter->drawText(efficiency, Qt::AlignRight | Qt::AlignVCenter, shown.efficiency);
    painter->setFont(pacingFont);
    painter->setPen(theme.textPrimary());
    painter->drawText(pacing, Qt::AlignLeft | Qt::AlignVCenter, shown.pacing);

    const int nameWidth = std::max(0, pacing.left() - 12 - inner.left());
    const QFontMetrics titleMetrics(titleFont);
    const QFontMetrics audienceMetrics(audienceFont);
    const int blockHeight = titleMetrics.height() + 2 + audienceMetrics.height();
    const int top = inner.top() + (inner.height() - blockHeight) / 2;
    painter->setFont(titleFont);
    painter->setPen(theme.textPrimary());
    painter->drawText(QRect(inner.left(), top, nameWidth, titleMetrics.height()), Qt::AlignLeft | Qt::AlignVCenter,
        titleMetrics.elidedText(labelText(shown.title), Qt::ElideRight, nameWidth));
    painter->setFont(audienceFont);
    painter->setPen(theme.textSecondary());
    painter->drawText(QRect(inner.left(), top + titleMetrics.height() + 2, nameWidth, audienceMetrics.height()),
        Qt::AlignLeft | Qt::AlignVCenter,
        audienceMetrics.elidedText(labelText(shown.audience), Qt::ElideRight, nameWidth));
    painter->restore();
}

QSize ChannelBreakdownDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const bool last = index.model() && index.row() == index.model()->rowCount() - 1;
    return QSize(option.rect.width(), cardHeight + (last ? 0 : cardGap));
}

QSize ContentHeightListView::sizeHint() const
{
    int height = 0;
    if (model()) {
        for (int row = 0; row < model()->rowCount(); ++row)
            height += sizeHintForRow(row);
    }
    return QSize(QListView::sizeHint().width(), height);
}

QString AttributionDashboardView::reportTitle(const QString &threadTitle)
{
    return threadTitle % u" — 30d Attribution Report"_s;
}

AttributionDashboardView::AttributionDashboardView(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_binding(new WorkbenchThreadBinding(*context.model, this)),
      m_rows(new MediaPlanTableModel(*m_binding, this))
{
    setObjectName(u"attributionDashboardView"_s);
    const ThemeSource &theme = *context.theme;
    auto *content = new QWidget;
    content->setAutoFillBackground(false);
    auto *stack = new QVBoxLayout(content);
    stack->setContentsMargins(18, 18, 18, 18);
    stack->setSpacing(16);

    // Header row; the button goes under the titles when the column cannot hold both side by side.
    auto *header = new AdaptiveRow(10, content);
    auto *titleBlock = new QWidget(header);
    auto *titles = new QVBoxLayout(titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(3);
    titles->addWidget(new KickerLabel(theme, u"POST-LAUNCH ATTRIBUTION & PACING DASHBOARD"_s, content));
    auto *title = new ThemedLabel(theme, u"30-Day Multi-Touch Pipeline & Channel Efficiency"_s,
        themeFont(18, QFont::Bold), ThemeColor::textPrimary, content);
    title->setObjectName(u"dashboardTitleLabel"_s);
    title->setWordWrap(true);
    titles->addWidget(title);
    header->addLeading(titleBlock, true);
    ClickableButton::Look look;
    look.fill = ThemeColor::accentLimeFill;
    look.padding = QMargins(12, 6, 12, 6);
    look.spacing = 5;
    auto *exportButton = new ClickableButton(theme, look, content);
    exportButton->setObjectName(u"exportReportButton"_s);
    exportButton->addSymbol(u"arrow.down.doc.fill"_s, ThemeColor::textPrimary, 11)->setFixedColor(Qt::black);
    ownTextColor(exportButton->addText(u"Export HTML Report to "_s + context.mirror->shownWorkspaceRoot(),
        themeFont(11, QFont::Bold), QColor(Qt::black)));
    connect(exportButton, &QAbstractButton::clicked, this, &AttributionDashboardView::exportReport);
    header->addTrailing(exportButton);
    stack->addWidget(header);

    // Tiles.
    // Side by side when they fit, else one above the other.
    auto *tiles = new AdaptiveRow(12, content);
    auto *pipeline = new SummaryStatTile(theme, u"ATTRIBUTED PIPELINE (30D)"_s, ThemeColor::accentLime, content);
    pipeline->setObjectName(u"attributedPipelineTile"_s);
    pipeline->setValue(u"$412,000"_s);
    pipeline->setSublabel(u"+28% vs prior 30-day window"_s);
    auto *roas = new SummaryStatTile(theme, u"BLENDED PIPELINE ROAS"_s, ThemeColor::accentCyan, content);
    roas->setObjectName(u"pipelineRoasTile"_s);
    roas->setValue(u"4.2x"_s);
    roas->setSublabel(u"W-Shaped Multi-Touch Model"_s);
    m_conversionsTile = new SummaryStatTile(theme, u"QUALIFIED CONVERSIONS"_s, ThemeColor::accentEmerald, content);
    m_conversionsTile->setObjectName(u"qualifiedConversionsTile"_s);
    tiles->addLeading(pipeline, true);
    tiles->addLeading(roas, true);
    tiles->addLeading(m_conversionsTile, true);
    stack->addWidget(tiles);

    // Breakdown panel.
    auto *panel = new Card(theme, Card::Look { .padding = QMargins(14, 14, 14, 14), .spacing = 10 }, content);
    panel->setObjectName(u"channelBreakdownPanel"_s);
    auto *breakdownTitle
        = new KickerLabel(theme, u"CHANNEL EFFICIENCY & PACING BREAKDOWN"_s, ThemeColor::accentCyan, 10, panel);
    panel->contentLayout()->addWidget(breakdownTitle);
    m_breakdown = new ContentHeightListView(panel);
    m_breakdown->setObjectName(u"channelBreakdownList"_s);
    // Out of the keyboard's way, yet a screen reader's review reads what it lists.
    m_breakdown->setAccessibleName(breakdownTitle->text());
    m_breakdown->setModel(m_rows);
    m_breakdown->setModelColumn(MediaPlanTableModel::channel);
    m_breakdown->setItemDelegate(new ChannelBreakdownDelegate(theme, m_breakdown));
    m_breakdown->setFrameShape(QFrame::NoFrame);
    m_breakdown->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_breakdown->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_breakdown->setSelectionMode(QAbstractItemView::NoSelection);
    m_breakdown->setFocusPolicy(Qt::NoFocus);
    m_breakdown->setUniformItemSizes(false);
    m_breakdown->viewport()->setAutoFillBackground(false);
    m_breakdown->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    panel->contentLayout()->addWidget(m_breakdown);
    stack->addWidget(panel);
    stack->addStretch(1);

    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(u"dashboardScrollArea"_s);
    scroll->setAccessibleName(u"Dashboard"_s);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    scroll->viewport()->setAutoFillBackground(false);
    scroll->setWidget(content);
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(scroll);

    connect(m_rows, &QAbstractItemModel::modelReset, this, &AttributionDashboardView::refresh);
    connect(m_rows, &QAbstractItemModel::rowsInserted, this, &AttributionDashboardView::refresh);
    connect(m_rows, &QAbstractItemModel::rowsRemoved, this, &AttributionDashboardView::refresh);
    connect(m_rows, &QAbstractItemModel::dataChanged, this, &AttributionDashboardView::refresh);
    connect(&theme, &ThemeSource::themeChanged, m_breakdown->viewport(), qOverload<>(&QWidget::update));
    refresh();
}

void AttributionDashboardView::refresh()
{
    const CampaignIDEThread shown = m_binding->thread().value_or(CampaignIDEThread {});
    m_conversionsTile->setValue(workbench::plainNumber(shown.totalEstimatedConversions()));
    m_conversionsTile->setSublabel(u"Blended CPA "_s % workbench::plainDollars(shown.blendedTargetCPA()));
    m_breakdown->updateGeometry();
    m_breakdown->setFixedHeight(m_breakdown->sizeHint().height());
}

void AttributionDashboardView::exportReport()
{
    if (const std::optional<CampaignIDEThread> thread = m_binding->thread())
        m_context.mirror->createLocalReport(reportTitle(thread->title), u"attribution"_s);
}

} // namespace orvane
