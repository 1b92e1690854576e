#include "ide/views/sidebar/SidebarNavigationView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeMenus.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sidebar/SidebarListView.h"
#include "ide/views/sidebar/SidebarNavRow.h"
#include "ide/views/sidebar/SidebarProjectListModel.h"
#include "ide/views/sidebar/SidebarRowDelegates.h"
#include "ide/views/sidebar/SidebarThreadListModel.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// The agents catalog always holds the six personas.
const QString agentsBadge = u"6"_s;

QString count(qsizetype value)
{
    return QString::number(value);
}

// The small plus of a header line: a bold symbol in an accent, 20 by 18.
ClickableButton *headerPlusButton(
    const ThemeSource &theme, const QString &objectName, const QString &symbol, ThemeColor color, const QString &help)
{
    ClickableButton::Look look;
    look.padding = QMargins();
    look.spacing = 0;
    auto *button = new ClickableButton(theme, look);
    button->setObjectName(objectName);
    button->addStretch();
    button->addSymbol(symbol, color, 10, ui::SymbolWeight::bold);
    button->addStretch();
    button->setFixedSize(20, 18);
    button->setToolTip(help);
    button->setAccessibleName(help);
    return button;
}

} // namespace

SidebarNavigationView::SidebarNavigationView(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context)
{
    Q_ASSERT(context.model && context.theme && context.state && context.controller);
    setObjectName(u"sidebarNavigation"_s);
    CampaignIDEWorkspaceModel &model = *context.model;
    const ThemeSource &theme = *context.theme;
    WorkspaceWindowController *controller = context.controller;

    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(16);

    // Navigation.
    auto *navigation = new QVBoxLayout;
    navigation->setSpacing(2);
    m_projectsRow
        = addNavRow(navigation, u"projectsNavButton"_s, u"Projects"_s, u"folder"_s, IDEPrimaryDestination::projects());
    m_campaignsRow = addNavRow(
        navigation, u"campaignsNavButton"_s, u"Campaigns"_s, u"megaphone"_s, IDEPrimaryDestination::campaigns());
    m_agentsRow = addNavRow(navigation, u"agentsNavButton"_s, u"Agents"_s, u"cpu"_s, IDEPrimaryDestination::agents());
    m_assetsRow = addNavRow(
        navigation, u"assetsNavButton"_s, u"Assets"_s, u"photo.on.rectangle.angled"_s, IDEPrimaryDestination::assets());
    m_connectionsRow = addNavRow(
        navigation, u"connectionsNavButton"_s, u"Connections"_s, u"link"_s, IDEPrimaryDestination::connections());
    m_reportsRow = addNavRow(navigation, u"reportsNavButton"_s, u"Reports"_s, u"chart.bar.doc.horizontal"_s,
        IDEPrimaryDestination::reports());
    column->addLayout(navigation);

    // STARRED, shown while it lists a thread.
    m_starredModel = new SidebarThreadListModel(model, SidebarThreadListModel::Scope::starred, this);
    m_starredSection = new QWidget;
    m_starredSection->setObjectName(u"starredSection"_s);
    auto *starred = new QVBoxLayout(m_starredSection);
    starred->setContentsMargins(0, 0, 0, 0);
    starred->setSpacing(4);
    starred->addWidget(new SidebarSectionHeader(theme, u"STARRED"_s));
    starred->addWidget(makeThreadList(m_starredModel, u"starredThreadList"_s, u"Starred"_s));
    column->addWidget(m_starredSection);
    const auto showStarred = [this] { m_starredSection->setVisible(m_starredModel->rowCount() > 0); };
    connect(m_starredModel, &QAbstractItemModel::rowsInserted, this, showStarred);
    connect(m_starredModel, &QAbstractItemModel::rowsRemoved, this, showStarred);
    connect(m_starredModel, &QAbstractItemModel::modelReset, this, showStarred);
    showStarred();

    // RECENT CHATS.
    m_recentModel = new SidebarThreadListModel(model, SidebarThreadListModel::Scope::recent, this);
    auto *recent = new QVBoxLayout;
    recent->setSpacing(4);
    auto *recentHeader = new QHBoxLayout;
    recentHeader->addWidget(new SidebarSectionHeader(theme, u"RECENT CHATS"_s));
    recentHeader->addStretch();
    auto *newThread = headerPlusButton(
        theme, u"recentChatsNewThreadButton"_s, u"plus"_s, ThemeColor::accentLime, u"Create New Campaign Thread"_s);
    newThread->setDoubleClickPressesOnce(true);
    connect(newThread, &QAbstractButton::clicked, controller, &WorkspaceWindowController::startQuickThread);
    recentHeader->addWidget(newThread);
    recent->addLayout(recentHeader);
    recent->addWidget(makeThreadList(m_recentModel, u"recentThreadList"_s, u"Recent Chats"_s));
    column->addLayout(recent);

    // LOCAL PROJECTS.
    m_projectModel = new SidebarProjectListModel(*context.projects, this);
    auto *projects = new QVBoxLayout;
    projects->setSpacing(4);
    auto *projectsHeader = new QHBoxLayout;
    projectsHeader->addWidget(new SidebarSectionHeader(theme, u"LOCAL PROJECTS"_s));
    projectsHeader->addStretch();
    auto *newProject = headerPlusButton(theme, u"newProjectFolderButton"_s, u"folder.badge.plus"_s,
        ThemeColor::accentCyan, u"Create New Local Project Folder"_s);
    connect(newProject, &QAbstractButton::clicked, controller,
        [controller] { controller->openNewProjectSheet(/*clearName=*/true); });
    projectsHeader->addWidget(newProject);
    projects->addLayout(projectsHeader);
    m_projectList = new SidebarListView(new SidebarProjectRowDelegate(theme));
    m_projectList->setObjectName(u"projectFolderList"_s);
    m_projectList->setAccessibleName(u"Local Projects"_s);
    m_projectList->setModel(m_projectModel);
    connect(m_projectList, &SidebarListView::partClicked, this, [this](const QModelIndex &index) {
        if (m_context.model)
            m_context.model->openProjectThread(m_projectModel->projectID(index.row()));
    });
    connect(m_projectList, &SidebarListView::contextMenuRequested, this,
        [this](const QModelIndex &index, const QPoint &at) { popUpProjectMenu(index.row(), at); });
    projects->addWidget(m_projectList);
    column->addLayout(projects);

    // ACCOUNT & LOCAL IDE.
    auto *account = new QVBoxLayout;
    account->setSpacing(2);
    account->addWidget(new SidebarSectionHeader(theme, u"ACCOUNT & LOCAL IDE"_s));
    SidebarNavRow *settings = addNavRow(
        account, u"settingsNavButton"_s, u"Settings & Keys"_s, u"gearshape"_s, IDEPrimaryDestination::settings());
    settings->setBadge(std::nullopt);
    column->addLayout(account);
    column->addStretch(1);

    using Model = CampaignIDEWorkspaceModel;
    for (auto signal : { &Model::projectsChanged, &Model::threadsChanged, &Model::assetsChanged,
             &Model::connectionsChanged, &Model::reportsChanged })
        connect(&model, signal, this, &SidebarNavigationView::refreshBadges);
    connect(&model, &Model::projectInserted, this, &SidebarNavigationView::refreshBadges);
    connect(&model, &Model::projectRemoved, this, &SidebarNavigationView::refreshBadges);
    connect(&model, &Model::threadInserted, this, &SidebarNavigationView::refreshBadges);
    connect(&model, &Model::threadRemoved, this, &SidebarNavigationView::refreshBadges);
    // Media-plan rows are thread content.
    connect(&model, &Model::threadChanged, this, &SidebarNavigationView::refreshBadges);
    connect(&model, &Model::primaryDestinationChanged, this, &SidebarNavigationView::refreshActiveRow);
    refreshBadges();
    refreshActiveRow();
}

SidebarNavRow *SidebarNavigationView::addNavRow(QBoxLayout *layout, const QString &objectName, const QString &title,
    const QString &symbol, const IDEPrimaryDestination &destination)
{
    auto *row = new SidebarNavRow(*m_context.theme, title, symbol, destination);
    row->setObjectName(objectName);
    connect(row, &QAbstractButton::clicked, this, [this, destination] {
        if (m_context.model)
            m_context.model->navigateTo(destination);
    });
    layout->addWidget(row);
    m_navRows.append(row);
    return row;
}

SidebarListView *SidebarNavigationView::makeThreadList(
    SidebarThreadListModel *threads, const QString &objectName, const QString &accessibleName)
{
    auto *list = new SidebarListView(new SidebarThreadRowDelegate(*m_context.theme));
    list->setObjectName(objectName);
    list->setAccessibleName(accessibleName);
    list->setUniformItemSizes(true);
    list->setModel(threads);
    connect(list, &SidebarListView::partClicked, this,
        [this, threads](const QModelIndex &index, SidebarRowDelegate::Part part) {
            CampaignIDEWorkspaceModel *model = m_context.model;
            if (!model)
                return;
            const QUuid id = threads->threadID(index.row());
            if (part == SidebarRowDelegate::Part::star)
                model->toggleStarThread(id);
            else
                model->openThread(id, std::nullopt);
        });
    connect(list, &SidebarListView::contextMenuRequested, this,
        [this, list](const QModelIndex &index, const QPoint &at) { popUpThreadMenu(list, index.row(), at); });
    connect(m_context.theme, &ThemeSource::themeChanged, list->viewport(), qOverload<>(&QWidget::update));
    return list;
}

void SidebarNavigationView::refreshBadges()
{
    const CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model)
        return;
    m_projectsRow->setBadge(count(model->projects().size()));
    m_campaignsRow->setBadge(count(model->totalTrackedCampaignsCount()));
    m_agentsRow->setBadge(agentsBadge);
    m_assetsRow->setBadge(count(model->assets().size()));
    m_connectionsRow->setBadge(count(model->connectedPlatformCount()) % u'/' % count(model->connections().size()));
    m_reportsRow->setBadge(count(model->reports().size()));
}

void SidebarNavigationView::refreshActiveRow()
{
    if (!m_context.model)
        return;
    const IDEPrimaryDestination &destination = m_context.model->primaryDestination();
    for (SidebarNavRow *row : std::as_const(m_navRows))
        row->setActive(row->destination() == destination);
}

QMenu *SidebarNavigationView::popUpThreadMenu(SidebarListView *list, int row, const QPoint &globalPosition)
{
    auto *threads = qobject_cast<SidebarThreadListModel *>(list->model());
    if (!threads || !m_context.model)
        return nullptr;
    const QUuid id = threads->threadID(row);
    if (id.isNull())
        return nullptr;
    const bool starred = threads->data(threads->index(row), SidebarThreadListModel::StarredRole).toBool();
    CampaignIDEWorkspaceModel *model = m_context.model;
    const QPointer<WorkspaceWindowState> state = m_context.state;

    auto *menu = new QMenu(list);
    menu->setObjectName(u"threadContextMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    themeMenuDividers(menu, *m_context.theme);

    QAction *open = menu->addAction(u"Open Thread"_s);
    open->setObjectName(u"openThreadAction"_s);
    connect(open, &QAction::triggered, model, [model, id] { model->openThread(id, std::nullopt); });

    QMenu *workbenches = menu->addMenu(u"Open Directly in Workbench"_s);
    workbenches->setObjectName(u"openInWorkbenchMenu"_s);
    for (const IDEWorkbenchView view : allCases<IDEWorkbenchView>()) {
        QAction *action = workbenches->addAction(literalButtonText(rawValue(view)));
        action->setObjectName(u"openIn"_s + QString(rawValue(view)).remove(u' ') + u"Action"_s);
        connect(action, &QAction::triggered, model, [model, id, view] { model->openThread(id, view); });
    }
    menu->addSeparator();

    QAction *star = menu->addAction(SidebarThreadRowDelegate::starMenuText(starred));
    star->setObjectName(u"toggleStarThreadAction"_s);
    connect(star, &QAction::triggered, model, [model, id] { model->toggleStarThread(id); });

    QAction *rename = menu->addAction(u"Rename Thread\u2026"_s);
    rename->setObjectName(u"renameThreadAction"_s);
    connect(rename, &QAction::triggered, model, [model, state, id] {
        // The sheet edits the thread as it is when the entry is chosen.
        const CampaignIDEThread *thread = model->thread(id);
        if (!thread || !state)
            return;
        state->setRenameThreadText(thread->title);
        state->setRenamingThread(*thread);
    });
    menu->addSeparator();

    QAction *remove = menu->addAction(u"Delete Thread"_s);
    remove->setObjectName(u"deleteThreadAction"_s);
    connect(remove, &QAction::triggered, model, [model, id] { model->deleteThread(id); });

    menu->popup(globalPosition);
    return menu;
}

QMenu *SidebarNavigationView::popUpProjectMenu(int row, const QPoint &globalPosition)
{
    const QUuid id = m_projectModel->projectID(row);
    if (id.isNull() || !m_context.model)
        return nullptr;
    CampaignIDEWorkspaceModel *model = m_context.model;
    SessionStore *session = m_context.session;
    const QPointer<WorkspaceWindowController> controller = m_context.controller;

    auto *menu = new QMenu(m_projectList);
    menu->setObjectName(u"projectContextMenu"_s);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    themeMenuDividers(menu, *m_context.theme);

    QAction *open = menu->addAction(u"Open Campaign Thread"_s);
    open->setObjectName(u"openProjectThreadAction"_s);
    connect(open, &QAction::triggered, model, [model, id] { model->openProjectThread(id); });

    QAction *newThread = menu->addAction(
        literalButtonText(u"New Thread in "_s + labelText(m_projectModel->projectName(row), menuTextLimit)));
    newThread->setObjectName(u"newThreadInProjectAction"_s);
    connect(newThread, &QAction::triggered, model, [model, session, id] {
        // A project deleted while the menu was open gets no thread (the model would put it in
        // another project).
        const CampaignIDEProject *project = model->project(id); // read before anything changes
        if (!project)
            return;
        CampaignIDEWorkspaceModel::NewThread request;
        request.title = project->name + u" \u2014 Strategy Thread"_s;
        request.projectID = id;
        request.workbench = IDEWorkbenchView::document;
        request.autoSend = false;
        model->createNewThread(request, session);
    });

    QAction *reveal = menu->addAction(u"Reveal Folder in File Manager"_s);
    reveal->setObjectName(u"revealProjectFolderAction"_s);
    connect(reveal, &QAction::triggered, model, [model, controller, id] {
        model->openProject(id);
        // A project deleted while the menu was open leaves the selection elsewhere: reveal nothing.
        if (controller && model->selectedProjectID() == id)
            controller->revealSelectedProjectInFinder();
    });
    menu->addSeparator();

    QAction *remove = menu->addAction(u"Delete Project"_s);
    remove->setObjectName(u"deleteProjectAction"_s);
    connect(remove, &QAction::triggered, model, [model, id] { model->deleteProject(id); });

    menu->popup(globalPosition);
    return menu;
}

} // namespace orvane
