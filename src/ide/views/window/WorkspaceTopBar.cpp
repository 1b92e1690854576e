#include "ide/views/window/WorkspaceTopBar.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeMenus.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceTitles.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

constexpr int barHeight = 46;
constexpr int breadcrumbWholeWidth = 420; // the longest breadcrumb kept whole

// Black text on the lime fill, the same in both themes (the monogram and the "IDE" tag).
FixedTag *limeTag(const QString &text, const QFont &font, QMargins padding)
{
    return new FixedTag(text, font, Qt::black, OrvaneWebTheme::accentLimeFill(), padding);
}

// Black text on a lime fill. Painted in its own colour rather than through a label's palette, which
// the window's theme palette can override.
FixedTag *blackText(const QString &text, const QFont &font)
{
    return new FixedTag(text, font, Qt::black, Qt::transparent, QMargins());
}

ClickableButton::Look boxed(int horizontal, int vertical, int spacing)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::elevatedBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins(horizontal, vertical, horizontal, vertical);
    look.spacing = spacing;
    return look;
}

// The hint beside a control for the shortcut that triggers it, as this desktop writes it.
QString shortcutHint(const QKeySequence &sequence)
{
    return sequence.toString(QKeySequence::NativeText);
}

} // namespace

WorkspaceTopBar::WorkspaceTopBar(
    CampaignIDEWorkspaceModel &model, const ThemeSource &theme, WorkspaceWindowController &controller, QWidget *parent)
    : Panel(theme, ThemeColor::sidebarBackground, parent), m_model(&model), m_theme(&theme), m_controller(&controller)
{
    setObjectName(u"topBar"_s);
    setFixedHeight(barHeight);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 0, 12, 0);
    row->setSpacing(12);

    ClickableButton::Look toggleLook = boxed(0, 0, 0);
    auto *toggle = new ClickableButton(theme, toggleLook);
    toggle->setObjectName(u"sidebarToggleButton"_s);
    toggle->setToolTip(u"Toggle Sidebar"_s);
    toggle->setAccessibleName(u"Toggle Sidebar"_s);
    auto *toggleSymbol
        = toggle->addSymbol(u"sidebar.left"_s, ThemeColor::textSecondary, 13, ui::SymbolWeight::semibold);
    toggle->setFixedSize(28, 28);
    static_cast<QBoxLayout *>(toggle->layout())->setAlignment(toggleSymbol, Qt::AlignCenter);
    connect(toggle, &QAbstractButton::clicked, &controller, &WorkspaceWindowController::toggleSidebar);
    row->addWidget(toggle, 0, Qt::AlignVCenter);

    row->addWidget(buildLeftGroup(), 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(buildCentreGroup(), 0, Qt::AlignVCenter);
    row->addStretch(1);
    row->addWidget(buildRightGroup(), 0, Qt::AlignVCenter);

    const auto breadcrumb = [this] { updateBreadcrumb(); };
    connect(&model, &CampaignIDEWorkspaceModel::projectsChanged, this, breadcrumb);
    connect(&model, &CampaignIDEWorkspaceModel::projectChanged, this, breadcrumb);
    connect(&model, &CampaignIDEWorkspaceModel::projectInserted, this, breadcrumb);
    connect(&model, &CampaignIDEWorkspaceModel::projectRemoved, this, breadcrumb);
    connect(&model, &CampaignIDEWorkspaceModel::projectFilterIDChanged, this, breadcrumb);
    connect(&model, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this, breadcrumb);

    const auto centre = [this] { updateCentreTitle(); };
    connect(&model, &CampaignIDEWorkspaceModel::primaryDestinationChanged, this, centre);
    connect(&model, &CampaignIDEWorkspaceModel::threadsChanged, this, centre);
    connect(&model, &CampaignIDEWorkspaceModel::threadChanged, this, centre);
    connect(&model, &CampaignIDEWorkspaceModel::threadInserted, this, centre);
    connect(&model, &CampaignIDEWorkspaceModel::threadRemoved, this, centre);

    connect(&model, &CampaignIDEWorkspaceModel::appearanceChanged, this, &WorkspaceTopBar::updateAgentButton);

    updateBreadcrumb();
    updateCentreTitle();
    updateAgentButton();
    setSignedIn(false);
}

QWidget *WorkspaceTopBar::buildLeftGroup()
{
    const ThemeSource &theme = *m_theme;
    auto *group = new QWidget;
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(6);

    // Workspace menu: the product badge.
    ClickableButton::Look look;
    look.padding = QMargins(6, 4, 6, 4);
    look.spacing = 7;
    auto *workspace = new ClickableButton(theme, look);
    workspace->setObjectName(u"workspaceMenuButton"_s);
    workspace->setAccessibleName(u"Orvane workspace menu"_s);
    auto *monogram = limeTag(u"O"_s, themeFont(11, QFont::Black, true), QMargins());
    monogram->setFixedSize(20, 20);
    workspace->addWidget(monogram);
    workspace->addText(u"Orvane"_s, themeFont(13, QFont::Bold), ThemeColor::textPrimary);
    workspace->addWidget(limeTag(u"IDE"_s, themeFont(9, QFont::Bold, true), QMargins(5, 2, 5, 2)));
    workspace->addSymbol(u"chevron.down"_s, ThemeColor::textMuted, 9, ui::SymbolWeight::bold);
    row->addWidget(workspace);

    m_workspaceMenu = new QMenu(workspace);
    m_workspaceMenu->setObjectName(u"workspaceMenu"_s);
    themeMenuDividers(m_workspaceMenu, theme);
    connect(workspace, &QAbstractButton::clicked, this, [this, workspace] { popUp(m_workspaceMenu, workspace); });
    connect(m_workspaceMenu, &QMenu::aboutToShow, this, [this] {
        if (!m_theme)
            return;
        const QColor ink = m_theme->theme().textPrimary();
        m_workspaceMenu->clear();
        QAction *home = m_workspaceMenu->addAction(
            ui::symbolIcon(u"bolt.horizontal.circle.fill", ink), u"Orvane Local + Cloud Workspace"_s);
        home->setObjectName(u"workspaceHomeAction"_s);
        connect(home, &QAction::triggered, m_controller, &WorkspaceWindowController::showWorkspaceHome);
        m_workspaceMenu->addSeparator();
        QAction *reveal = m_workspaceMenu->addAction(
            ui::symbolIcon(u"folder", ink), u"Reveal "_s + m_model->shownWorkspaceRoot() + u" in File Manager"_s);
        reveal->setObjectName(u"revealWorkspaceAction"_s);
        connect(reveal, &QAction::triggered, m_controller, &WorkspaceWindowController::revealLocalWorkspaceInFinder);
        QAction *sync = m_workspaceMenu->addAction(
            ui::symbolIcon(u"arrow.triangle.2.circlepath", ink), u"Force Sync Local Files"_s);
        sync->setObjectName(u"forceSyncAction"_s);
        connect(sync, &QAction::triggered, m_controller, &WorkspaceWindowController::forceSyncLocalFiles);
    });

    auto *separator = new QLabel(u"/"_s);
    separator->setTextFormat(Qt::PlainText);
    separator->setFont(themeFont(13, QFont::Normal, true));
    const auto tintSeparator = [this, separator] {
        QPalette palette = separator->palette();
        palette.setColor(QPalette::WindowText, m_theme->theme().textMuted());
        separator->setPalette(palette);
    };
    tintSeparator();
    connect(m_theme, &ThemeSource::themeChanged, separator, tintSeparator);
    row->addWidget(separator);

    // Project menu: the breadcrumb.
    auto *project = new ClickableButton(theme, boxed(8, 5, 6));
    project->setObjectName(u"projectMenuButton"_s);
    project->setAccessibleName(u"Project menu"_s);
    project->addSymbol(u"folder"_s, ThemeColor::accentCyan, 11, ui::SymbolWeight::semibold);
    m_breadcrumb = new ElidedLabel(theme, themeFont(12, QFont::DemiBold), ThemeColor::textPrimary);
    m_breadcrumb->setObjectName(u"breadcrumbLabel"_s);
    // The menu keeps its ideal size: the centre title gives way first. Only a name too long for
    // any window is cut, so that it never widens the window's minimum past that.
    m_breadcrumb->setMinimumWholeWidth(breadcrumbWholeWidth);
    project->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    project->addWidget(m_breadcrumb);
    project->addSymbol(u"chevron.down"_s, ThemeColor::textMuted, 9, ui::SymbolWeight::bold);
    row->addWidget(project);

    m_projectMenu = new QMenu(project);
    m_projectMenu->setObjectName(u"projectMenu"_s);
    themeMenuDividers(m_projectMenu, theme);
    connect(project, &QAbstractButton::clicked, this, [this, project] { popUp(m_projectMenu, project); });
    connect(m_projectMenu, &QMenu::aboutToShow, this, &WorkspaceTopBar::rebuildProjectMenu);
    return group;
}

void WorkspaceTopBar::rebuildProjectMenu()
{
    if (!m_model || !m_theme)
        return;
    const QColor ink = m_theme->theme().textPrimary();
    m_projectMenu->clear();
    QAction *all = m_projectMenu->addAction(ui::symbolIcon(u"folder.badge.person.crop", ink),
        u"All Projects ("_s + QString::number(m_model->projects().size()) + u')');
    all->setObjectName(u"allProjectsAction"_s);
    connect(all, &QAction::triggered, m_controller, &WorkspaceWindowController::showAllProjects);
    m_projectMenu->addSeparator();
    for (const CampaignIDEProject &project : m_model->projects()) {
        // "&" in a project's name is text, not a mnemonic; a menu row shows a line's worth of it.
        QAction *entry = m_projectMenu->addAction(ui::symbolIcon(u"folder.fill", ink),
            QString(labelText(project.name, menuTextLimit) + u" · "_s + labelText(project.budget(), menuTextLimit))
                .replace(u'&', u"&&"_s));
        entry->setObjectName(u"projectAction"_s);
        entry->setData(project.id);
        const QUuid id = project.id;
        connect(entry, &QAction::triggered, m_controller, [this, id] {
            if (m_controller)
                m_controller->focusProject(id);
        });
    }
    m_projectMenu->addSeparator();
    QAction *create = m_projectMenu->addAction(ui::symbolIcon(u"plus.rectangle.on.folder", ink), u"New Project…"_s);
    create->setObjectName(u"newProjectAction"_s);
    connect(create, &QAction::triggered, m_controller, [this] {
        if (m_controller)
            m_controller->openNewProjectSheet(true);
    });
}

void WorkspaceTopBar::popUp(QMenu *menu, QWidget *under)
{
    menu->popup(under->mapToGlobal(QPoint(0, under->height() + 2)));
}

QWidget *WorkspaceTopBar::buildCentreGroup()
{
    const ThemeSource &theme = *m_theme;
    auto *group = new QWidget;
    group->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    row->addWidget(new DotView(theme, ThemeColor::accentEmerald, 7), 0, Qt::AlignVCenter);
    m_centreTitle = new ElidedLabel(theme, themeFont(12, QFont::DemiBold), ThemeColor::textPrimary);
    m_centreTitle->setObjectName(u"centreTitleLabel"_s);
    row->addWidget(m_centreTitle, 1, Qt::AlignVCenter);

    ClickableButton::Look look;
    look.fill = ThemeColor::accentCyan;
    look.fillOpacity = 0.1;
    look.stroke = ThemeColor::accentCyan;
    look.strokeOpacity = 0.35;
    look.padding = QMargins(7, 3, 7, 3);
    look.spacing = 4;
    auto *badge = new ClickableButton(theme, look);
    badge->setObjectName(u"folderBadgeButton"_s);
    const QString root = m_model->shownWorkspaceRoot();
    badge->setToolTip(u"Open "_s + root + u" in File Manager"_s);
    badge->addSymbol(u"internaldrive"_s, ThemeColor::accentCyan, 10);
    badge->addText(root, themeFont(10, QFont::DemiBold, true), ThemeColor::accentCyan);
    connect(badge, &QAbstractButton::clicked, m_controller, &WorkspaceWindowController::revealLocalWorkspaceInFinder);
    row->addWidget(badge, 0, Qt::AlignVCenter);
    return group;
}

QWidget *WorkspaceTopBar::buildRightGroup()
{
    const ThemeSource &theme = *m_theme;
    auto *group = new QWidget;
    auto *row = new QHBoxLayout(group);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(8);

    const QKeySequence searchKey(Qt::CTRL | Qt::Key_K);
    auto *search = new ClickableButton(theme, boxed(9, 5, 6));
    search->setObjectName(u"searchButton"_s);
    search->addSymbol(u"magnifyingglass"_s, ThemeColor::textSecondary, 11);
    search->addText(u"Search"_s, themeFont(11, QFont::Medium), ThemeColor::textSecondary);
    search->addText(shortcutHint(searchKey), themeFont(10, QFont::Bold, true), ThemeColor::textMuted);
    search->setShortcut(searchKey);
    connect(search, &QAbstractButton::clicked, m_controller, &WorkspaceWindowController::openCommandPalette);
    row->addWidget(search);

    ClickableButton::Look newLook;
    newLook.fill = ThemeColor::accentLimeFill;
    newLook.padding = QMargins(10, 5, 10, 5);
    newLook.spacing = 5;
    auto *newThread = new ClickableButton(theme, newLook);
    newThread->setObjectName(u"newThreadButton"_s);
    newThread->addSymbol(u"plus"_s, ThemeColor::textPrimary, 11, ui::SymbolWeight::bold)->setFixedColor(Qt::black);
    newThread->addWidget(blackText(u"New Thread"_s, themeFont(11, QFont::Bold)));
    newThread->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_T));
    newThread->setDoubleClickPressesOnce(true);
    connect(newThread, &QAbstractButton::clicked, m_controller, &WorkspaceWindowController::startQuickThread);
    row->addWidget(newThread);

    Card::Look markerLook;
    markerLook.fill = ThemeColor::elevatedBackground;
    markerLook.padding = QMargins(8, 5, 8, 5);
    auto *marker = new Card(theme, markerLook);
    marker->setObjectName(u"cloudSyncedMarker"_s);
    auto *markerRow = new QHBoxLayout;
    markerRow->setSpacing(5);
    markerRow->addWidget(new DotView(theme, ThemeColor::accentEmerald, 6), 0, Qt::AlignVCenter);
    auto *markerText = new QLabel(u"Cloud Synced"_s);
    markerText->setTextFormat(Qt::PlainText);
    markerText->setFont(themeFont(10, QFont::Bold, true));
    const auto tintMarker = [this, markerText] {
        QPalette palette = markerText->palette();
        palette.setColor(QPalette::WindowText, m_theme->theme().textSecondary());
        markerText->setPalette(palette);
    };
    tintMarker();
    connect(m_theme, &ThemeSource::themeChanged, markerText, tintMarker);
    markerRow->addWidget(markerText, 0, Qt::AlignVCenter);
    marker->contentLayout()->addLayout(markerRow);
    marker->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_cloudMarker = marker;
    row->addWidget(marker);

    m_connectCloud = new ClickableButton(theme, boxed(9, 5, 5));
    m_connectCloud->setObjectName(u"connectCloudButton"_s);
    m_connectCloud->addSymbol(u"icloud.and.arrow.up"_s, ThemeColor::textPrimary, 11);
    m_connectCloud->addText(u"Connect Cloud"_s, themeFont(11, QFont::DemiBold), ThemeColor::textPrimary);
    connect(m_connectCloud, &QAbstractButton::clicked, m_controller, &WorkspaceWindowController::requestCloudSignIn);
    row->addWidget(m_connectCloud);

    m_agent = new ClickableButton(theme, boxed(10, 5, 6));
    m_agent->setObjectName(u"agentButton"_s);
    m_agentSymbol = m_agent->addSymbol(u"sparkles"_s, ThemeColor::accentLime, 11, ui::SymbolWeight::semibold);
    m_agentTextClosed = m_agent->addText(u"Agent"_s, themeFont(11, QFont::Bold), ThemeColor::textPrimary);
    m_agentTextOpen = blackText(u"Agent"_s, themeFont(11, QFont::Bold));
    m_agent->addWidget(m_agentTextOpen);
    connect(m_agent, &QAbstractButton::clicked, m_controller, &WorkspaceWindowController::toggleAgentDrawer);
    row->addWidget(m_agent);
    return group;
}

void WorkspaceTopBar::setSignedIn(bool signedIn)
{
    m_cloudMarker->setVisible(signedIn);
    m_connectCloud->setVisible(!signedIn);
}

void WorkspaceTopBar::updateBreadcrumb()
{
    if (m_model)
        m_breadcrumb->setText(activeProjectBreadcrumbTitle(*m_model));
}

void WorkspaceTopBar::updateCentreTitle()
{
    if (m_model)
        m_centreTitle->setText(topBarCenterTitle(*m_model));
}

void WorkspaceTopBar::updateAgentButton()
{
    if (!m_model)
        return;
    const bool open = m_model->agentDrawerOpen();
    ClickableButton::Look look = boxed(10, 5, 6);
    if (open) {
        look.fill = ThemeColor::accentLimeFill;
        look.stroke = ThemeColor::accentLimeFill;
        m_agentSymbol->setFixedColor(Qt::black);
    } else {
        m_agentSymbol->setColor(ThemeColor::accentLime);
    }
    m_agent->setLook(look);
    m_agentTextClosed->setVisible(!open);
    m_agentTextOpen->setVisible(open);
    m_agent->setAccessibleDescription(open ? u"Workspace agent shown"_s : u"Workspace agent hidden"_s);
}

} // namespace orvane
