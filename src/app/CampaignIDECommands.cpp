#include "app/CampaignIDECommands.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace orvane {

using namespace Qt::StringLiterals;

CampaignIDECommands::CampaignIDECommands(QMenuBar *menuBar, QObject *parent)
    : QObject(parent), m_menu(menuBar->addMenu(u"Campaign"_s))
{
    m_menu->setObjectName(u"campaignMenu"_s);
    // Menu titles are shown literally ("Show Reports & Lift"), never as mnemonics.
    const Qt::KeyboardModifiers command = Qt::ControlModifier;
    const auto key = [](Qt::KeyboardModifiers modifiers, Qt::Key k) { return QKeySequence(modifiers | k); };

    addItem(Item::newProject, u"New Project"_s, u"newProjectAction"_s, { key(command | Qt::ShiftModifier, Qt::Key_N) });
    m_menu->addSeparator();
    addItem(Item::showPlan, u"Show Campaign Plan"_s, u"showPlanAction"_s, { key(command, Qt::Key_1) });
    addItem(Item::showCreativeStudio, u"Show Creative Studio"_s, u"showCreativeStudioAction"_s,
        { key(command, Qt::Key_2) });
    addItem(Item::showReports, u"Show Reports & Lift"_s, u"showReportsAction"_s, { key(command, Qt::Key_3) });
    addItem(Item::showApprovals, u"Show Approval Gates"_s, u"showApprovalsAction"_s, { key(command, Qt::Key_4) });
    addItem(
        Item::showLocalFiles, u"Show Local Workspace Files"_s, u"showLocalFilesAction"_s, { key(command, Qt::Key_5) });
    addItem(Item::showDashboard, u"Show Dashboard"_s, u"showDashboardAction"_s, { key(command, Qt::Key_6) });
    m_menu->addSeparator();
    addItem(Item::toggleWorkspaceAgent, u"Toggle Workspace Agent"_s, u"toggleWorkspaceAgentAction"_s,
        { key(command | Qt::ShiftModifier, Qt::Key_A) });
    m_menu->addSeparator();
    // Return on the main keyboard and Enter on the keypad are the same key to the user.
    addItem(Item::reviewAndExecute, u"Review and Execute\u2026"_s, u"reviewAndExecuteAction"_s,
        { key(command | Qt::ShiftModifier, Qt::Key_Return), key(command | Qt::ShiftModifier, Qt::Key_Enter) });

    updateEnabledStates();
}

QAction *CampaignIDECommands::addItem(
    Item item, const QString &title, const QString &objectName, const QList<QKeySequence> &shortcuts)
{
    // "&" in a title stays an ampersand.
    QString literalTitle = title;
    literalTitle.replace(u'&', u"&&"_s);
    QAction *action = m_menu->addAction(literalTitle);
    action->setObjectName(objectName);
    action->setShortcuts(shortcuts);
    // The menu lives in the window's menu bar: its shortcuts work while that window is active.
    action->setShortcutContext(Qt::WindowShortcut);
    connect(action, &QAction::triggered, this, [this, item] { trigger(item); });
    m_actions.at(std::size_t(item)) = action;
    return action;
}

void CampaignIDECommands::setActions(std::optional<CampaignIDEFocusedActions> actions)
{
    m_focused = std::move(actions);
    updateEnabledStates();
}

void CampaignIDECommands::updateEnabledStates()
{
    const bool present = m_focused.has_value();
    const bool openProject = present && m_focused->hasOpenProject;
    action(Item::newProject)->setEnabled(true);
    for (const Item item :
        { Item::showPlan, Item::showCreativeStudio, Item::showReports, Item::showApprovals, Item::showLocalFiles })
        action(item)->setEnabled(openProject);
    action(Item::showDashboard)->setEnabled(present && m_focused->canOpenDashboard);
    action(Item::toggleWorkspaceAgent)->setEnabled(true);
    action(Item::reviewAndExecute)->setEnabled(present && m_focused->canExecute);
}

void CampaignIDECommands::trigger(Item item)
{
    if (!m_focused)
        return;
    // A copy: the action may make the window publish a new record while it runs.
    const CampaignIDEFocusedActions actions = *m_focused;
    const std::function<void()> *call = nullptr;
    switch (item) {
    case Item::newProject:
        call = &actions.createProject;
        break;
    case Item::showPlan:
        call = &actions.showPlan;
        break;
    case Item::showCreativeStudio:
        call = &actions.showCreativeStudio;
        break;
    case Item::showReports:
        call = &actions.showReports;
        break;
    case Item::showApprovals:
        call = &actions.showApprovals;
        break;
    case Item::showLocalFiles:
        call = &actions.showLocalFiles;
        break;
    case Item::showDashboard:
        call = &actions.showDashboard;
        break;
    case Item::toggleWorkspaceAgent:
        call = &actions.toggleWorkspaceAgent;
        break;
    case Item::reviewAndExecute:
        call = &actions.requestExecution;
        break;
    }
    if (call && *call)
        (*call)();
}

} // namespace orvane
