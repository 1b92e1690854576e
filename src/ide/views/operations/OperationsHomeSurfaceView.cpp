#include "ide/views/operations/OperationsHomeSurfaceView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/KickerLabel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/operations/CardPainting.h"
#include "ide/views/operations/OperationsTexts.h"
#include "ide/views/operations/ThreadListModel.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

using namespace operations;

OperationsHomeSurfaceView::OperationsHomeSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : OperationsSurfaceView(context, 20, parent),
      m_threads(new ThreadListModel(*context.threads, this)),
      m_actions(new HomeActionListModel([](const CampaignRecommendedNextAction &action) { return action.title; }, this))
{
    setObjectName(u"operationsHomeSurface"_s);
    m_actions->reconcile(model().recommendedActions());

    page()->addWidget(header());
    page()->addWidget(metricRow());
    page()->addWidget(threadSection());
    page()->addWidget(recommendedSection());

    CampaignIDEWorkspaceModel *workspace = context.model;
    connect(workspace, &CampaignIDEWorkspaceModel::recommendedActionsChanged, this,
        [this] { m_actions->reconcile(model().recommendedActions()); });

    // The tiles count threads, stars, rows, connections and three kinds of pending decisions.
    const auto recount = [this] { updateMetrics(); };
    connect(workspace, &CampaignIDEWorkspaceModel::threadsChanged, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::threadChanged, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::threadInserted, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::threadRemoved, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::connectionsChanged, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::pendingActionsChanged, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::agentProposalsChanged, this, recount);
    connect(workspace, &CampaignIDEWorkspaceModel::projectFilterIDChanged, this, recount);
    updateMetrics();
}

QWidget *OperationsHomeSurfaceView::header()
{
    Card::Look look;
    look.padding = QMargins(16, 16, 16, 16);
    auto *card = new Card(theme(), look);
    card->setObjectName(u"homeHeaderCard"_s);
    auto *row = new QHBoxLayout;
    row->setSpacing(16);
    card->contentLayout()->addLayout(row);

    auto *texts = new QVBoxLayout;
    texts->setSpacing(4);
    texts->addWidget(new KickerLabel(theme(), u"ORVANE CAMPAIGN IDE · LOCAL + CLOUD OPERATIONS HOME"_s));
    auto *headline = new SurfaceLabel(theme(), u"Direct AI Ad Agents Across Local Files & Live Ad Platforms"_s,
        themeFont(22, QFont::Bold), ThemeColor::textPrimary);
    headline->setObjectName(u"homeHeadlineLabel"_s);
    headline->setWordWrap(true);
    texts->addWidget(headline);
    auto *description = new SurfaceLabel(theme(),
        u"Click any thread below to open the split Campaign IDE Workbench (Agent Thread + Document / Table / "
        u"Canvas / Dashboard / Explore)."_s,
        themeFont(12), ThemeColor::textSecondary);
    description->setWordWrap(true);
    texts->addWidget(description);
    row->addLayout(texts, 1);

    ClickableButton::Look projectLook;
    projectLook.fill = ThemeColor::elevatedBackground;
    projectLook.stroke = ThemeColor::borderSubtle;
    projectLook.padding = QMargins(12, 8, 12, 8);
    auto *newProject = new ClickableButton(theme(), projectLook);
    newProject->setObjectName(u"newProjectButton"_s);
    newProject->addSymbol(u"folder.badge.plus"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::semibold);
    newProject->addText(u"New Project"_s, themeFont(12, QFont::DemiBold), ThemeColor::textPrimary);
    connect(newProject, &QAbstractButton::clicked, context().controller, &WorkspaceWindowController::homeNewProject);

    ClickableButton::Look threadLook;
    threadLook.fill = ThemeColor::accentLimeFill;
    threadLook.padding = QMargins(14, 8, 14, 8);
    auto *newThread = new ClickableButton(theme(), threadLook);
    newThread->setObjectName(u"startNewThreadButton"_s);
    newThread->addSymbol(u"plus.bubble.fill"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::bold)
        ->setFixedColor(cards::inkOnLime());
    newThread->addText(u"Start New Thread"_s, themeFont(12, QFont::Bold), cards::inkOnLime());
    connect(newThread, &QAbstractButton::clicked, context().controller, &WorkspaceWindowController::homeNewThread);

    auto *buttons = new QHBoxLayout;
    buttons->setSpacing(8);
    buttons->addWidget(newProject);
    buttons->addWidget(newThread);
    row->addLayout(buttons);
    row->setAlignment(buttons, Qt::AlignVCenter);
    return card;
}

OperationsHomeSurfaceView::MetricTile OperationsHomeSurfaceView::homeMetricCard(
    const QString &objectName, const QString &title, ThemeColor accent, std::function<void()> action)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::panelBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins(14, 14, 14, 14);
    MetricTile tile;
    tile.button = new ClickableButton(theme(), look);
    tile.button->setObjectName(objectName);
    tile.button->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    auto *stack = new QWidget;
    auto *column = new QVBoxLayout(stack);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(6);
    column->addWidget(new SurfaceLabel(theme(), title, themeFont(9, QFont::Bold, true), ThemeColor::textMuted));
    tile.value = new SurfaceLabel(theme(), QString(), themeFont(24, QFont::Bold, true), accent);
    tile.value->setObjectName(u"metricValueLabel"_s);
    column->addWidget(tile.value);
    tile.subtitle = new ElidedLabel(theme(), themeFont(11), ThemeColor::textSecondary);
    tile.subtitle->setObjectName(u"metricSubtitleLabel"_s);
    column->addWidget(tile.subtitle);
    stack->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    tile.button->addWidget(stack);
    // The stack takes the tile's whole width, its texts at the leading edge.
    if (auto *row = qobject_cast<QBoxLayout *>(tile.button->layout()))
        row->setStretchFactor(stack, 1);
    connect(tile.button, &QAbstractButton::clicked, this, std::move(action));
    return tile;
}

QWidget *OperationsHomeSurfaceView::metricRow()
{
    auto *container = new QWidget;
    auto *row = new QHBoxLayout(container);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(12);
    m_activeThreads = homeMetricCard(
        u"activeThreadsTile"_s, u"ACTIVE THREADS"_s, ThemeColor::accentLime, [this] { openFirstThread(std::nullopt); });
    m_connectedPlatforms = homeMetricCard(u"connectedPlatformsTile"_s, u"CONNECTED PLATFORMS"_s, ThemeColor::accentCyan,
        [this] { model().navigateTo(IDEPrimaryDestination::connections()); });
    m_connectedPlatforms.subtitle->setText(u"Google, LinkedIn, Reddit, X, Meta"_s);
    m_trackedFlights = homeMetricCard(u"trackedFlightsTile"_s, u"TRACKED FLIGHTS"_s, ThemeColor::accentEmerald,
        [this] { model().navigateTo(IDEPrimaryDestination::campaigns()); });
    m_trackedFlights.subtitle->setText(u"Synced to local media-plan.csv"_s);
    m_pendingDecisions = homeMetricCard(u"pendingDecisionsTile"_s, u"PENDING DECISIONS"_s, ThemeColor::accentAmber,
        [this] { openFirstThread(IDEWorkbenchView::table); });
    m_pendingDecisions.subtitle->setText(u"Human-in-the-loop approval gates"_s);
    for (const MetricTile *tile : { &m_activeThreads, &m_connectedPlatforms, &m_trackedFlights, &m_pendingDecisions })
        row->addWidget(tile->button, 1, Qt::AlignVCenter);
    return container;
}

QWidget *OperationsHomeSurfaceView::threadSection()
{
    auto *section = new QWidget;
    auto *column = new QVBoxLayout(section);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(
        new KickerLabel(theme(), u"RECENT CAMPAIGN THREADS (CLICK TO OPEN SPLIT WORKBENCH)"_s, ThemeColor::accentCyan));
    auto *grid = new CardGrid(m_threads, std::make_unique<ThreadCardDelegate>(theme(), *m_threads), theme(), 340, 12);
    grid->setObjectName(u"threadCardGrid"_s);
    grid->setAccessibleName(u"Recent Campaign Threads"_s);
    connect(grid, &CardGrid::partClicked, this, [this](const QModelIndex &index, int part) {
        if (part == ThreadCardDelegate::openPart)
            model().openThread(m_threads->at(index.row()).id);
    });
    column->addWidget(grid);
    return section;
}

QWidget *OperationsHomeSurfaceView::recommendedSection()
{
    auto *section = new QWidget;
    auto *column = new QVBoxLayout(section);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);
    column->addWidget(new KickerLabel(theme(), u"RECOMMENDED NEXT ACTIONS (ONE-CLICK AGENT EXECUTION)"_s));
    auto *grid
        = new CardGrid(m_actions, std::make_unique<RecommendedActionDelegate>(theme(), *m_actions), theme(), 0, 10);
    grid->setObjectName(u"recommendedActionList"_s);
    grid->setAccessibleName(u"Recommended Actions"_s);
    connect(grid, &CardGrid::partClicked, this, [this](const QModelIndex &index, int part) {
        if (part != RecommendedActionDelegate::startPart)
            return;
        // A copy: starting the action replaces the list the row was read from.
        const CampaignRecommendedNextAction action = m_actions->at(index.row());
        model().startRecommendedAction(action, context().session);
    });
    column->addWidget(grid);
    return section;
}

void OperationsHomeSurfaceView::updateMetrics()
{
    const CampaignIDEWorkspaceModel &workspace = model();
    m_activeThreads.value->setText(QString::number(workspace.threads().size()));
    m_activeThreads.subtitle->setText(operationstexts::starredSubtitle(workspace.starredThreads().size()));
    m_connectedPlatforms.value->setText(
        QString::number(workspace.connectedPlatformCount()) % u"/"_s % QString::number(workspace.connections().size()));
    m_trackedFlights.value->setText(QString::number(workspace.totalTrackedCampaignsCount()));
    m_pendingDecisions.value->setText(QString::number(workspace.totalPendingApprovalsCount()));
}

void OperationsHomeSurfaceView::openFirstThread(std::optional<IDEWorkbenchView> workbench)
{
    if (model().threads().isEmpty())
        return;
    model().openThread(model().threads().first().id, workbench);
}

} // namespace orvane
