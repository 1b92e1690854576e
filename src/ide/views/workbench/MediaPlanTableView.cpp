#include "ide/views/workbench/MediaPlanTableView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/workbench/MediaPlanTableDelegate.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/WorkbenchFormat.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QStringBuilder>
#include <QTableView>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

const QString MediaPlanTableView::optimizePrompt
    = u"Rebalance the media plan table to add a high-intent Google Search exact-match conquest flight."_s;

MediaPlanTableView::MediaPlanTableView(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_binding(new WorkbenchThreadBinding(*context.model, this)),
      m_tableModel(new MediaPlanTableModel(*m_binding, this))
{
    setObjectName(u"mediaPlanTableView"_s);
    const ThemeSource &theme = *context.theme;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Header bar.
    auto *bar
        = new Card(theme, Card::Look { .stroked = false, .padding = QMargins(14, 14, 14, 14), .spacing = 0 }, this);
    bar->setObjectName(u"mediaPlanHeaderBar"_s);
    // The buttons go under the titles when the column cannot hold them side by side.
    auto *barRow = new AdaptiveRow(10, bar);
    auto *titleBlock = new QWidget(barRow);
    auto *titles = new QVBoxLayout(titleBlock);
    titles->setContentsMargins(0, 0, 0, 0);
    titles->setSpacing(2);
    titles->addWidget(new KickerLabel(theme, u"MEDIA PLAN & TRAFFICKING TABLE · SYNCED TO MEDIA-PLAN.CSV"_s, bar));
    m_totals = new ThemedLabel(theme, QString(), themeFont(12, QFont::DemiBold), ThemeColor::textPrimary, bar);
    m_totals->setObjectName(u"mediaPlanTotalsLabel"_s);
    m_totals->setWordWrap(true);
    titles->addWidget(m_totals);
    barRow->addLeading(titleBlock, true);
    auto *buttons = new QWidget(barRow);
    auto *buttonRow = new QHBoxLayout(buttons);
    buttonRow->setContentsMargins(0, 0, 0, 0);
    buttonRow->setSpacing(10);

    ClickableButton::Look addLook;
    addLook.fill = ThemeColor::elevatedBackground;
    addLook.stroke = ThemeColor::borderSubtle;
    addLook.padding = QMargins(10, 6, 10, 6);
    addLook.spacing = 4;
    auto *add = new ClickableButton(theme, addLook, bar);
    add->setObjectName(u"addFlightRowButton"_s);
    add->addSymbol(u"plus"_s, ThemeColor::textPrimary, 10, ui::SymbolWeight::bold);
    ownTextColor(add->addText(u"Add Flight Row"_s, themeFont(11, QFont::Bold), ThemeColor::textPrimary));
    connect(add, &QAbstractButton::clicked, this, &MediaPlanTableView::addRow);
    buttonRow->addWidget(add);

    ClickableButton::Look optimizeLook;
    optimizeLook.fill = ThemeColor::accentLimeFill;
    optimizeLook.padding = QMargins(10, 6, 10, 6);
    optimizeLook.spacing = 4;
    auto *optimizeButton = new ClickableButton(theme, optimizeLook, bar);
    optimizeButton->setObjectName(u"aiOptimizeTableButton"_s);
    SymbolView *sparkles
        = optimizeButton->addSymbol(u"sparkles"_s, ThemeColor::textPrimary, 10, ui::SymbolWeight::bold);
    sparkles->setFixedColor(Qt::black);
    ownTextColor(optimizeButton->addText(u"AI Optimize Table"_s, themeFont(11, QFont::Bold), QColor(Qt::black)));
    connect(optimizeButton, &QAbstractButton::clicked, this, &MediaPlanTableView::optimize);
    buttonRow->addWidget(optimizeButton);
    barRow->addTrailing(buttons);
    bar->contentLayout()->addWidget(barRow);
    column->addWidget(bar);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal, this));

    // The spreadsheet; its header is the column strip.
    m_table = new QTableView(this);
    m_table->setObjectName(u"mediaPlanTable"_s);
    m_table->setAccessibleName(u"Media Plan"_s);
    m_table->setModel(m_tableModel);
    auto *header = new MediaPlanHeaderView(theme, m_table);
    m_table->setHorizontalHeader(header);
    m_table->setItemDelegate(new MediaPlanTableDelegate(theme, m_table));
    for (int i = 0; i < MediaPlanTableModel::columnCount_; ++i) {
        if (i != MediaPlanTableModel::spacer)
            header->resizeSection(i, media_plan_layout::sectionWidth(i));
    }
    header->setSectionResizeMode(MediaPlanTableModel::spacer, QHeaderView::Stretch);
    header->setMinimumSectionSize(0);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(media_plan_layout::rowHeight);
    m_table->setShowGrid(false);
    m_table->setFrameShape(QFrame::NoFrame);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::StrongFocus);
    m_table->setEditTriggers(QAbstractItemView::CurrentChanged | QAbstractItemView::SelectedClicked
        | QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_table->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_table->setWordWrap(false);
    column->addWidget(m_table, 1);

    connect(m_tableModel, &QAbstractItemModel::modelReset, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::rowsInserted, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::rowsRemoved, this, &MediaPlanTableView::refreshTotals);
    connect(m_tableModel, &QAbstractItemModel::dataChanged, this, &MediaPlanTableView::refreshTotals);
    connect(&theme, &ThemeSource::themeChanged, this, &MediaPlanTableView::applyTheme);
    applyTheme();
    refreshTotals();
}

void MediaPlanTableView::refreshTotals()
{
    const std::optional<CampaignIDEThread> thread = m_binding->thread();
    const CampaignIDEThread shown = thread.value_or(CampaignIDEThread {});
    m_totals->setText(workbench::plainNumber(shown.mediaPlanRows.size()) % u" Flights · "_s
        % workbench::plainDollars(shown.totalDailyBudget()) % u"/day ("_s
        % workbench::groupedDollars(shown.totalMonthlyBudget()) % u"/mo) · Blended Target CPA "_s
        % workbench::plainDollars(shown.blendedTargetCPA()));
}

void MediaPlanTableView::addRow()
{
    if (const std::optional<QUuid> id = m_binding->threadID())
        m_context.model->addMediaPlanRow(*id);
}

void MediaPlanTableView::optimize()
{
    // The tab comes from the thread read whole: the copy shown while a large body is still being
    // read has no tabs. A thread without agent tabs answers with a stand-in tab that no operation
    // finds: no turn.
    const std::optional<QUuid> id = m_binding->threadID();
    const CampaignIDEThread *thread = id ? m_context.model->threadList().wholeThread(*id) : nullptr;
    if (!thread)
        return;
    const QUuid threadID = thread->id;
    const QUuid tabID = thread->activeAgentTab().id;
    m_context.model->sendMessageInThread(threadID, tabID, optimizePrompt, m_context.session);
}

void MediaPlanTableView::applyTheme()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    QPalette palette = theme.palette();
    palette.setColor(QPalette::Base, theme.canvasBackground());
    palette.setColor(QPalette::Window, theme.canvasBackground());
    m_table->setPalette(palette);
    m_table->viewport()->update();
}

} // namespace orvane
