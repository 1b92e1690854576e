#include "ide/views/canvas/CreativeCanvasTabView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/canvas/ArtboardCardDelegate.h"
#include "ide/views/canvas/ArtboardGridModel.h"
#include "ide/views/canvas/ButtonLooks.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/canvas/CreativeCanvasInspector.h"
#include "ide/views/canvas/ThemeSplitter.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr CreativeCanvasTool allTools[] = { CreativeCanvasTool::select, CreativeCanvasTool::frame,
    CreativeCanvasTool::rectangle, CreativeCanvasTool::ellipse, CreativeCanvasTool::text, CreativeCanvasTool::image,
    CreativeCanvasTool::hand, CreativeCanvasTool::comment, CreativeCanvasTool::snap };

QString capitalizedFirst(const QString &text)
{
    return text.isEmpty() ? text : text.left(1).toUpper() + text.mid(1);
}

} // namespace

const QString CreativeCanvasTabView::generatePrompt
    = u"Generate 2 new LinkedIn and Reddit creative artboards with high-contrast operator hooks."_s;

QString CreativeCanvasTabView::toolTipFor(CreativeCanvasTool tool)
{
    return capitalizedFirst(rawValue(tool));
}

QString CreativeCanvasTabView::toolButtonName(CreativeCanvasTool tool)
{
    return u"canvasTool"_s + toolTipFor(tool) + u"Button"_s;
}

CreativeCanvasTabView::CreativeCanvasTabView(const WorkspaceViewContext &context, QWidget *parent)
    : Panel(*context.theme, ThemeColor::canvasBackground, parent),
      m_context(context),
      m_artboards(new ArtboardGridModel(context.projects, this))
{
    setObjectName(u"creativeCanvasView"_s);
    const ThemeSource &theme = *context.theme;

    auto *column = new QVBoxLayout(this);
    // A narrow workbench column clips the view instead of widening the window for it.
    column->setSizeConstraint(QLayout::SetNoConstraint);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    column->addWidget(buildToolBar());
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal, this));

    m_splitter = new ThemeSplitter(theme, Qt::Horizontal, this);
    m_splitter->setObjectName(u"canvasSplitter"_s);
    m_grid
        = new CardGridView(theme, ThemeColor::canvasBackground, cardMinimumWidth, gridSpacing, gridPadding, m_splitter);
    m_grid->setObjectName(u"artboardGridView"_s);
    m_grid->setAccessibleName(u"Artboards"_s);
    m_grid->setMinimumWidth(gridMinimumWidth);
    m_grid->setItemDelegate(new ArtboardCardDelegate(theme, m_grid));
    m_grid->setModel(m_artboards);
    m_inspector = new CreativeCanvasInspector(context, m_splitter);
    m_splitter->addWidget(m_grid);
    m_splitter->addWidget(m_inspector);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 0);
    column->addWidget(m_splitter, 1);

    // A card is one button: a click, Return or Space selects its artboard.
    const auto selectArtboard = [this](const QModelIndex &index) {
        if (m_context.model && index.isValid())
            m_context.model->selectArtboard(index.data(ArtboardGridModel::IdRole).toUuid());
    };
    connect(m_grid, &QAbstractItemView::clicked, this, selectArtboard);
    connect(m_grid, &CardGridView::actionTriggered, this, selectArtboard);

    CampaignIDEWorkspaceModel *model = context.model;
    connect(context.state, &WorkspaceWindowState::canvasChanged, this, &CreativeCanvasTabView::syncTools);
    connect(m_artboards, &QAbstractItemModel::rowsInserted, this, &CreativeCanvasTabView::syncCount);
    connect(m_artboards, &QAbstractItemModel::rowsRemoved, this, &CreativeCanvasTabView::syncCount);
    connect(m_artboards, &QAbstractItemModel::modelReset, this, &CreativeCanvasTabView::syncCount);
    // The inspector follows the selected artboard of the selected project, as stored now.
    connect(m_artboards, &QAbstractItemModel::dataChanged, this, &CreativeCanvasTabView::syncInspector);
    connect(m_artboards, &QAbstractItemModel::modelReset, this, &CreativeCanvasTabView::syncInspector);
    connect(m_artboards, &QAbstractItemModel::rowsInserted, this, &CreativeCanvasTabView::syncInspector);
    connect(model, &CampaignIDEWorkspaceModel::selectedArtboardIDChanged, this, &CreativeCanvasTabView::syncInspector);
    connect(model, &CampaignIDEWorkspaceModel::selectedArtboardIDChanged, this,
        &CreativeCanvasTabView::revealSelectionSoon);
    // Built to show an artboard selected just before (a clone): its card is shown too.
    m_revealPending = model->selectedArtboard().has_value();

    syncTools();
    syncCount();
    syncInspector();
}

void CreativeCanvasTabView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // Too narrow for the grid's minimum beside the inspector: the inspector goes under the grid,
    // as wide as the view.
    const bool stacked
        = width() < gridMinimumWidth + m_splitter->handleWidth() + CreativeCanvasInspector::inspectorWidth;
    if (stacked == (m_splitter->orientation() == Qt::Vertical))
        return;
    m_splitter->setOrientation(stacked ? Qt::Vertical : Qt::Horizontal);
    if (stacked) {
        m_inspector->setMinimumWidth(0);
        m_inspector->setMaximumWidth(QWIDGETSIZE_MAX);
    } else {
        m_inspector->setFixedWidth(CreativeCanvasInspector::inspectorWidth);
    }
}

void CreativeCanvasTabView::showEvent(QShowEvent *event)
{
    Panel::showEvent(event);
    if (m_revealPending)
        QTimer::singleShot(0, this, &CreativeCanvasTabView::revealSelection);
}

void CreativeCanvasTabView::revealSelectionSoon()
{
    m_revealPending = true;
    // After the layouts that the new selection sets off (the inspector opening narrows the grid).
    QTimer::singleShot(0, this, &CreativeCanvasTabView::revealSelection);
}

void CreativeCanvasTabView::revealSelection()
{
    if (!m_revealPending || !isVisible())
        return;
    m_revealPending = false;
    const auto artboard = m_context.model ? m_context.model->selectedArtboard() : std::nullopt;
    if (!artboard)
        return;
    if (const int row = m_artboards->rowOf(artboard->id); row >= 0)
        m_grid->scrollTo(m_artboards->index(row), QAbstractItemView::EnsureVisible);
}

QWidget *CreativeCanvasTabView::buildToolBar()
{
    const ThemeSource &theme = *m_context.theme;
    auto *bar = new Panel(theme, ThemeColor::panelBackground, this);
    bar->setObjectName(u"canvasToolBar"_s);
    auto *barRow = new QHBoxLayout(bar);
    barRow->setContentsMargins(10, 10, 10, 10);
    // The two actions go under the tools when the column cannot hold them side by side.
    auto *row = new AdaptiveRow(10, bar);
    barRow->addWidget(row);

    auto *strip = new Card(theme,
        Card::Look { .fill = ThemeColor::panelBackground,
            .stroke = ThemeColor::borderSubtle,
            .stroked = true,
            .padding = {},
            .spacing = 0 },
        bar);
    strip->setObjectName(u"canvasToolStrip"_s);
    auto *tools = new QHBoxLayout;
    tools->setSpacing(4);
    tools->setContentsMargins(0, 0, 0, 0);
    for (const CreativeCanvasTool tool : allTools) {
        auto *button
            = new ClickableButton(theme, buttonLook(ThemeColor::elevatedBackground, std::nullopt, {}, 0), strip);
        button->setObjectName(toolButtonName(tool));
        button->setFixedSize(26, 26);
        button->setToolTip(toolTipFor(tool));
        button->setAccessibleName(toolTipFor(tool));
        button->addStretch();
        button->addSymbol(icon(tool), ThemeColor::textSecondary, 11, ui::SymbolWeight::semibold);
        button->addStretch();
        connect(button, &QAbstractButton::clicked, this, [this, tool] {
            if (m_context.model)
                m_context.state->setCanvasTool(tool);
        });
        tools->addWidget(button);
        m_toolButtons.insert(tool, button);
    }
    strip->contentLayout()->addLayout(tools);
    row->addLeading(strip);
    auto *actions = new QWidget(row);
    auto *actionRow = new QHBoxLayout(actions);
    actionRow->setContentsMargins(0, 0, 0, 0);
    actionRow->setSpacing(10);

    auto *approveAll = new ClickableButton(
        theme, buttonLook(ThemeColor::elevatedBackground, ThemeColor::accentEmerald, { 10, 5, 10, 5 }, 4, 0.4), bar);
    approveAll->setObjectName(u"approveAllArtboardsButton"_s);
    approveAll->addSymbol(u"checkmark.circle.fill"_s, ThemeColor::accentEmerald, 11);
    m_approveAllText = approveAll->addText(QString(), themeFont(11, QFont::DemiBold), ThemeColor::accentEmerald);
    connect(approveAll, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->approveAllCreatives();
    });
    actionRow->addWidget(approveAll);

    auto *generate
        = new ClickableButton(theme, buttonLook(ThemeColor::accentLimeFill, std::nullopt, { 10, 5, 10, 5 }, 5), bar);
    generate->setObjectName(u"generateArtboardsButton"_s);
    generate->addSymbol(u"sparkles"_s, ThemeColor::textPrimary, 11, ui::SymbolWeight::bold)
        ->setFixedColor(QColor(Qt::black));
    generate->addText(u"Generate Artboards via Agent"_s, themeFont(11, QFont::Bold), QColor(Qt::black));
    connect(generate, &QAbstractButton::clicked, this, &CreativeCanvasTabView::generateArtboards);
    actionRow->addWidget(generate);
    row->addTrailing(actions);
    return bar;
}

void CreativeCanvasTabView::syncTools()
{
    if (!m_context.model)
        return;
    const CreativeCanvasTool active = m_context.state->canvasTool();
    for (auto it = m_toolButtons.cbegin(); it != m_toolButtons.cend(); ++it) {
        ClickableButton *button = it.value();
        const bool isActive = it.key() == active;
        ClickableButton::Look look = button->look();
        look.fill = isActive ? ThemeColor::accentLimeFill : ThemeColor::elevatedBackground;
        button->setLook(look);
        auto *symbol = button->findChild<SymbolView *>();
        if (isActive)
            symbol->setFixedColor(QColor(Qt::black));
        else
            symbol->setColor(ThemeColor::textSecondary);
    }
}

void CreativeCanvasTabView::syncCount()
{
    m_approveAllText->setText(u"Approve All (%1)"_s.arg(m_artboards->rowCount()));
}

void CreativeCanvasTabView::syncInspector()
{
    const auto artboard = m_context.model ? m_context.model->selectedArtboard() : std::nullopt;
    if (artboard)
        m_inspector->showArtboard(*artboard);
    m_inspector->setVisible(artboard.has_value());
}

void CreativeCanvasTabView::generateArtboards()
{
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model)
        return;
    const auto active = model->activeThread();
    if (!active)
        return;
    // The tab comes from the thread read whole: the copy shown while a large body is still being
    // read has no tabs.
    const CampaignIDEThread *thread = model->threadList().wholeThread(active->id);
    if (!thread)
        return;
    // A thread without agent tabs has nobody to ask: the stand-in tab would match no tab.
    const auto tab = thread->activeTab();
    if (!tab)
        return;
    const QUuid threadID = thread->id;
    const QUuid tabID = tab->id;
    model->sendMessageInThread(threadID, tabID, generatePrompt, m_context.session);
}

} // namespace orvane
