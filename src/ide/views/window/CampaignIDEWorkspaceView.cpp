#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/notifications/SystemNativeNotificationAuthorizer.h"
#include "ide/views/canvas/CardGridView.h"
#include "ide/views/kit/FocusRing.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/TimelineHeightCache.h"
#include "ide/views/window/DestinationArea.h"
#include "ide/views/window/LiveContextRefresher.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WindowWidthKeeper.h"
#include "ide/views/window/WorkspaceSheets.h"
#include "ide/views/window/WorkspaceSidebar.h"
#include "ide/views/window/WorkspaceToastBanner.h"
#include "ide/views/window/WorkspaceTopBar.h"
#include "ide/views/window/WorkspaceWindowController.h"
#include "platform/FileManagerReveal.h"

#include <QApplication>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QTimer>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// The desktop's file manager, falling back to whatever opens folders when there is none on the bus.
std::function<void(const QString &)> desktopFolderRevealer()
{
    const auto reveal = std::make_shared<platform::FileManagerReveal>(
        [](const QUrl &folder) { return QDesktopServices::openUrl(folder); });
    return [reveal](const QString &folder) { reveal->showFolder(folder); };
}

void collectLaidOut(QLayout *layout, QList<QWidget *> &widgets)
{
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem *item = layout->itemAt(i);
        if (item->widget())
            widgets.append(item->widget());
        else if (item->layout())
            collectLaidOut(item->layout(), widgets);
    }
}

// The widgets under `widget` that Tab stops at, in the order they are laid out (a splitter's panes,
// a layout's items), then any other children. Unlike the focus chain (the order widgets were made
// in), this stays the order on screen when parts are built late or rebuilt.
void collectTabStops(QWidget *widget, QList<QWidget *> &stops)
{
    if (widget->isHidden() || widget->isWindow())
        return;
    // A page is a stop of its own only while it has more to read below: its controls are stops
    // anyway, and a strip that scrolls sideways brings the focused one into view.
    const auto *page = qobject_cast<const QScrollArea *>(widget);
    const bool scrolls = !page || page->verticalScrollBar()->maximum() > 0;
    const bool isStop
        = (widget->focusPolicy() & Qt::TabFocus) && widget->isEnabled() && !widget->focusProxy() && scrolls;
    // A card grid's header lies above its cards, so its controls come before the grid's own stop.
    if (const auto *grid = qobject_cast<const CardGridView *>(widget); grid && grid->header()) {
        collectTabStops(grid->header(), stops);
        if (isStop)
            stops.append(widget);
        return;
    }
    if (isStop)
        stops.append(widget);
    QList<QWidget *> children;
    if (const auto *splitter = qobject_cast<const QSplitter *>(widget)) {
        for (int i = 0; i < splitter->count(); ++i)
            children.append(splitter->widget(i));
    } else if (widget->layout()) {
        collectLaidOut(widget->layout(), children);
    }
    for (QObject *child : widget->children()) {
        if (child->isWidgetType() && !children.contains(child))
            children.append(static_cast<QWidget *>(child));
    }
    for (QWidget *child : std::as_const(children))
        collectTabStops(child, stops);
}

} // namespace

CampaignIDEWorkspaceView::CampaignIDEWorkspaceView(SessionStore *session,
    std::shared_ptr<voice::VoiceInputProvider> voice, std::function<void()> onRequestCloudSignIn, QWidget *parent)
    : CampaignIDEWorkspaceView(session, std::move(voice), std::move(onRequestCloudSignIn), Services {}, parent)
{
}

CampaignIDEWorkspaceView::CampaignIDEWorkspaceView(SessionStore *session,
    std::shared_ptr<voice::VoiceInputProvider> voice, std::function<void()> onRequestCloudSignIn, Services services,
    QWidget *parent)
    : QWidget(parent),
      m_session(session),
      m_voice(std::move(voice)),
      m_services(std::move(services)),
      m_timelineHeights(std::make_unique<TimelineHeightCache>())
{
    setObjectName(u"workspaceWindow"_s);
    if (!m_services.revealFolder)
        m_services.revealFolder = desktopFolderRevealer();

    // The model loads its own projects and threads; the notification center and the copilot store
    // are new for each window and live as long as the model.
    auto *notifications = new CampaignNotificationCenter(
        QList<CampaignNotification>(), std::make_shared<SystemNativeNotificationAuthorizer>());
    auto *copilot = new CampaignCopilotStore();
    m_model = new CampaignIDEWorkspaceModel(
        std::nullopt, notifications, copilot, CampaignIDEWorkspaceModel::standardLocations(), this);

    m_state = &m_model->windowState();
    m_theme = new ThemeSource(m_state->isDarkTheme(), this);
    m_focusRing = new FocusRingController(this, *m_theme);
    m_controller = new WorkspaceWindowController(
        m_model, m_session, m_state, std::move(onRequestCloudSignIn), m_services.revealFolder, this);
    m_refresher = new LiveContextRefresher(m_model->serverSync(), m_session, this);

    m_widthKeeper = new WindowWidthKeeper(this, m_services.screenArea, this);
    buildLayout();
    applyTheme();
    syncColumns(false);
    connect(
        m_widthKeeper, &WindowWidthKeeper::roomChanged, this, &CampaignIDEWorkspaceView::updateDestinationWidthLimit);

    connect(m_state, &WorkspaceWindowState::appearanceChanged, this, [this] {
        if (isVisible() && m_theme->theme().isDark() != m_state->isDarkTheme()) {
            // The picture of the window as it is now includes a fade still running.
            auto *fading = m_crossFade.data();
            m_crossFade = new ThemeCrossFade(this);
            delete fading;
        }
        m_theme->setDark(m_state->isDarkTheme());
        syncColumns(true);
    });
    connect(m_theme, &ThemeSource::themeChanged, this, &CampaignIDEWorkspaceView::applyTheme);
    connect(m_refresher, &LiveContextRefresher::signedInChanged, m_topBar, &WorkspaceTopBar::setSignedIn);
    m_topBar->setSignedIn(m_refresher->isSignedIn());

    // The menu's flags follow the selection (a selected project that exists).
    const auto flagsMayHaveChanged = [this] { Q_EMIT focusedActionsChanged(); };
    connect(m_model, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this, flagsMayHaveChanged);
    connect(m_model, &CampaignIDEWorkspaceModel::projectsChanged, this, flagsMayHaveChanged);
    connect(m_model, &CampaignIDEWorkspaceModel::projectInserted, this, flagsMayHaveChanged);
    connect(m_model, &CampaignIDEWorkspaceModel::projectRemoved, this, flagsMayHaveChanged);
}

CampaignIDEWorkspaceView::~CampaignIDEWorkspaceView()
{
    // Views observe the model: take them down before it.
    delete m_sheets;
    m_sheets = nullptr;
    const auto children = findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    qDeleteAll(children);
}

WorkspaceViewContext WorkspaceViewContext::forModel(CampaignIDEWorkspaceModel &model)
{
    return WorkspaceViewContext {
        .model = &model,
        .projects = &model.projectStore(),
        .threads = &model.threadList(),
        .state = &model.windowState(),
        .mirror = &model.mirror(),
        .serverSync = &model.serverSync(),
    };
}

WorkspaceMirror &CampaignIDEWorkspaceView::mirror() const
{
    return m_model->mirror();
}

WorkspaceViewContext CampaignIDEWorkspaceView::viewContext() const
{
    WorkspaceViewContext context = WorkspaceViewContext::forModel(*m_model);
    context.session = m_session;
    context.theme = m_theme;
    context.state = m_state;
    context.controller = m_controller;
    context.timelineHeights = m_timelineHeights.get();
    return context;
}

void CampaignIDEWorkspaceView::buildLayout()
{
    const WorkspaceViewContext context = viewContext();
    const WorkspaceViewRegistry &views = m_services.views;

    auto *stack = new QVBoxLayout(this);
    stack->setContentsMargins(0, 0, 0, 0);
    stack->setSpacing(0);

    m_topBar = new WorkspaceTopBar(*m_model, *m_theme, *m_controller, this);
    stack->addWidget(m_topBar);
    stack->addWidget(new ThemeDivider(*m_theme, Qt::Horizontal, this));
    m_toast = new WorkspaceToastBanner(*m_model, *m_theme, this);
    stack->addWidget(m_toast);

    auto *row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);

    auto *sidebarContent = new QWidget;
    auto *sidebarRow = new QHBoxLayout(sidebarContent);
    sidebarRow->setContentsMargins(0, 0, 0, 0);
    sidebarRow->setSpacing(0);
    m_sidebar = new WorkspaceSidebar(*m_theme, *m_controller);
    m_sidebar->setNavigationContent(views.makeRegion(WorkspaceRegion::sidebarNavigation, context, m_sidebar));
    m_sidebar->setFooter(views.makeRegion(WorkspaceRegion::sidebarFooter, context, m_sidebar));
    sidebarRow->addWidget(m_sidebar);
    sidebarRow->addWidget(new ThemeDivider(*m_theme, Qt::Vertical));
    sidebarContent->setFixedWidth(WorkspaceSidebar::width + 1);
    m_sidebarColumn = new SlidingColumn(sidebarContent, Qt::RightEdge, this);
    m_sidebarColumn->setObjectName(u"sidebarColumn"_s);
    row->addWidget(m_sidebarColumn);

    m_destinationArea = new DestinationArea(views, context, this);
    row->addWidget(m_destinationArea, 1);

    auto *drawerContent = new QWidget;
    auto *drawerRow = new QHBoxLayout(drawerContent);
    drawerRow->setContentsMargins(0, 0, 0, 0);
    drawerRow->setSpacing(0);
    drawerRow->addWidget(new ThemeDivider(*m_theme, Qt::Vertical));
    m_drawer = new Panel(*m_theme, ThemeColor::sidebarBackground);
    m_drawer->setObjectName(u"copilotDrawer"_s);
    m_drawer->setFixedWidth(drawerWidth);
    auto *drawerColumn = new QVBoxLayout(m_drawer);
    drawerColumn->setContentsMargins(0, 0, 0, 0);
    drawerColumn->setSpacing(0);
    drawerRow->addWidget(m_drawer);
    drawerContent->setFixedWidth(drawerWidth + 1);
    m_drawerColumn = new SlidingColumn(drawerContent, Qt::LeftEdge, this);
    m_drawerColumn->setObjectName(u"drawerColumn"_s);
    row->addWidget(m_drawerColumn);

    stack->addLayout(row, 1);

    m_sheets = new WorkspaceSheets(views, context, this);
}

void CampaignIDEWorkspaceView::applyTheme()
{
    // The toolkit's own controls (menus, scroll bars, tooltips) take the theme's palette; the
    // window itself is laid on canvasBackground.
    setPalette(m_theme->theme().palette());
    QPalette canvas = palette();
    canvas.setColor(QPalette::Window, m_theme->theme().canvasBackground());
    setPalette(canvas);
    setAutoFillBackground(true);
    // Menus, popups and tooltips are windows of their own and take the application's palette for
    // their class: set here, it reaches every one, built now or later.
    const QPalette popups = m_theme->theme().palette();
    QApplication::setPalette(popups, "QMenu");
    QApplication::setPalette(popups, "QComboBoxPrivateContainer");
    QToolTip::setPalette(popups);
    update();
}

void CampaignIDEWorkspaceView::buildDrawerContent()
{
    // Built when the drawer first opens: a closed drawer costs the start-up nothing.
    if (m_drawerBuilt)
        return;
    m_drawerBuilt = true;
    const WorkspaceViewContext context = viewContext();
    auto *column = static_cast<QVBoxLayout *>(m_drawer->layout());
    if (QWidget *content = m_services.views.makeRegion(WorkspaceRegion::copilotDrawer, context, m_drawer))
        column->addWidget(content);
    else
        column->addStretch(1);
}

void CampaignIDEWorkspaceView::syncColumns(bool animated)
{
    if (m_state->agentDrawerOpen())
        buildDrawerContent();
    if (m_sidebarColumn->isOpen() != !m_state->isSidebarCollapsed())
        m_sidebarColumn->setOpen(!m_state->isSidebarCollapsed(), animated);
    if (m_drawerColumn->isOpen() != m_state->agentDrawerOpen())
        m_drawerColumn->setOpen(m_state->agentDrawerOpen(), animated);
    updateDestinationWidthLimit();
}

void CampaignIDEWorkspaceView::updateDestinationWidthLimit()
{
    std::optional<int> limit = isVisible() ? m_widthKeeper->contentWidthLimit() : std::nullopt;
    // The side columns take their fixed widths (and dividers) first.
    if (limit && !m_state->isSidebarCollapsed())
        *limit -= WorkspaceSidebar::width + 1;
    if (limit && m_state->agentDrawerOpen())
        *limit -= drawerWidth + 1;
    m_destinationArea->setWidthLimit(limit);
}

QList<QWidget *> CampaignIDEWorkspaceView::tabStops() const
{
    QList<QWidget *> stops;
    for (QWidget *region :
        { static_cast<QWidget *>(m_sidebarColumn), static_cast<QWidget *>(m_topBar), static_cast<QWidget *>(m_toast),
            static_cast<QWidget *>(m_destinationArea), static_cast<QWidget *>(m_drawerColumn) }) {
        collectTabStops(region, stops);
    }
    return stops;
}

bool CampaignIDEWorkspaceView::focusNextPrevChild(bool next)
{
    const QList<QWidget *> stops = tabStops();
    QWidget *focused = QApplication::focusWidget();
    if (stops.isEmpty() || !focused || !isAncestorOf(focused))
        return QWidget::focusNextPrevChild(next);
    // Focus inside a stop (a proxied field, an open editor) counts as on that stop.
    qsizetype at = -1;
    for (QWidget *w = focused; w && w != this && at < 0; w = w->parentWidget())
        at = stops.indexOf(w);
    const qsizetype count = stops.size();
    QWidget *target = stops.at(at < 0 ? (next ? 0 : count - 1) : (at + (next ? 1 : count - 1)) % count);
    target->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    // A stop inside a scrolled page comes into view.
    for (QWidget *w = target->parentWidget(); w && w != this; w = w->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(w);
            scroll && scroll->widget() && scroll->widget()->isAncestorOf(target))
            scroll->ensureWidgetVisible(target);
    }
    return true;
}

void CampaignIDEWorkspaceView::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    m_widthKeeper->watch();
    // The keyboard starts where Tab starts, unless something already took it.
    if (QWidget *focused = window()->focusWidget(); !focused || !isAncestorOf(focused)) {
        if (const QList<QWidget *> stops = tabStops(); !stops.isEmpty())
            stops.constFirst()->setFocus(Qt::OtherFocusReason);
    }
}

CampaignIDEFocusedActions CampaignIDEWorkspaceView::focusedActions() const
{
    return m_controller->focusedActions();
}

void CampaignIDEWorkspaceView::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    // The refresh task starts once the window has appeared: after its first frame, so that the
    // network stack it brings up never delays that frame.
    if (m_refresherStarted)
        return;
    m_refresherStarted = true;
    QTimer::singleShot(0, m_refresher, &LiveContextRefresher::start);
}

} // namespace orvane
