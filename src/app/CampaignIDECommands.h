#pragma once

#include "ide/views/window/CampaignIDEFocusedActions.h"

#include <QObject>

#include <array>
#include <optional>

class QAction;
class QMenu;
class QMenuBar;

namespace orvane {

// The "Campaign" menu of the menu bar. It holds no state of its own and knows nothing of the
// workspace model: the focused workspace window hands it a CampaignIDEFocusedActions record
// (setActions), whose flags enable the items and whose actions the items call. Without a record
// (no workspace window focused, or the sign-in screen on show) the items that need one are
// disabled and "New Project" and "Toggle Workspace Agent" do nothing.
//
// Shortcuts use Ctrl where the menu's original design uses Command.
class CampaignIDECommands final : public QObject {
    Q_OBJECT

public:
    // The menu's items in order (dividers not counted).
    enum class Item {
        newProject,
        showPlan,
        showCreativeStudio,
        showReports,
        showApprovals,
        showLocalFiles,
        showDashboard,
        toggleWorkspaceAgent,
        reviewAndExecute,
    };
    static constexpr std::size_t itemCount = 9;

    // Adds the menu to the end of the bar.
    explicit CampaignIDECommands(QMenuBar *menuBar, QObject *parent = nullptr);

    [[nodiscard]] QMenu *menu() const { return m_menu; }
    [[nodiscard]] QAction *action(Item item) const { return m_actions.at(std::size_t(item)); }

    // The focused window's record, or nothing; the items' enabled states follow at once.
    void setActions(std::optional<CampaignIDEFocusedActions> actions);
    [[nodiscard]] const std::optional<CampaignIDEFocusedActions> &actions() const { return m_focused; }

private:
    QAction *addItem(Item item, const QString &title, const QString &objectName, const QList<QKeySequence> &shortcuts);
    void trigger(Item item);
    void updateEnabledStates();

    QMenu *m_menu;
    std::array<QAction *, itemCount> m_actions {};
    std::optional<CampaignIDEFocusedActions> m_focused;
};

} // namespace orvane
