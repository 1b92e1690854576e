#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/views/thread/WorkbenchTabRegistry.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QHash>
#include <QUuid>

class QSplitter;
class QStackedWidget;

namespace orvane {

class AgentThreadPane;
class ExpandedToolSet;
class WorkbenchHeaderBar;

// The destination of a thread: its active agent pane, a second pane while the thread is split, and
// the workbench column (header bar above the surface of the thread's workbench tab). The window
// keeps one instance while the user moves between threads; it follows the model's signals for the
// thread it shows and updates in place, so a pane's composer is never re-created while the user
// types, and a tab view, once built, stays and follows the active thread itself.
class CampaignThreadWorkbenchView final : public DestinationView {
    Q_OBJECT
public:
    CampaignThreadWorkbenchView(
        const WorkspaceViewContext &context, WorkbenchTabRegistry tabs, QWidget *parent = nullptr);

    void showDestination(const IDEPrimaryDestination &destination) override;
    // On a screen too narrow for the columns' minimum widths, the agent panes give way first and
    // the workbench column keeps its 520 (see applyMinimumWidths), so that every column stays
    // whole inside the window.
    void limitWidth(std::optional<int> width) override;

    [[nodiscard]] const QUuid &threadID() const { return m_threadID; }
    [[nodiscard]] AgentThreadPane *primaryPane() const { return m_primary; }
    // Null until a split is first shown.
    [[nodiscard]] AgentThreadPane *secondaryPane() const { return m_secondary; }
    [[nodiscard]] WorkbenchHeaderBar *headerBar() const { return m_header; }
    // The surface shown for the thread's workbench tab.
    [[nodiscard]] QWidget *currentSurface() const;
    [[nodiscard]] QSplitter *splitter() const { return m_splitter; }

    // The tab the primary pane shows when the thread has none: it exists only here.
    [[nodiscard]] static CampaignAgentTab fallbackTab(const QUuid &id);

    static constexpr int primaryMinimumWidth = 360;
    static constexpr int primaryIdealWidth = 430;
    static constexpr int primaryMaximumWidth = 580;
    static constexpr int secondaryMinimumWidth = 320;
    static constexpr int secondaryIdealWidth = 380;
    static constexpr int secondaryMaximumWidth = 480;
    static constexpr int workbenchMinimumWidth = 520;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();
    void showSurface(IDEWorkbenchView view);
    void applyMinimumWidths();

    WorkspaceViewContext m_context;
    WorkbenchTabRegistry m_tabs;
    QUuid m_threadID;
    QUuid m_fallbackTabID = QUuid::createUuid();
    ExpandedToolSet *m_expandedTools;
    QSplitter *m_splitter;
    AgentThreadPane *m_primary;
    QWidget *m_secondarySlot;
    QWidget *m_workbench;
    std::optional<int> m_widthLimit;
    AgentThreadPane *m_secondary = nullptr;
    WorkbenchHeaderBar *m_header;
    QStackedWidget *m_surfaces;
    QHash<IDEWorkbenchView, QWidget *> m_surfaceViews;
    bool m_sizedOnce = false;
};

} // namespace orvane
