#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QList>
#include <QUuid>
#include <QWidget>

class QHBoxLayout;
class QLabel;
class QMenu;
class QScrollArea;

namespace orvane {

class AgentComposerBar;
class AgentTabChip;
class AgentTimelineView;
class ClickableButton;
class ElidedLabel;
class ExpandedToolSet;
class QuickPromptRow;
class StateDot;
class SymbolView;

// One agent chat pane of a thread: the tab strip (tab chips, add-specialist menu, split toggle), the
// toolbar (dry-run badge, approval mode, message count), the timeline, the quick prompts and the
// composer. The workbench hands it the thread and the tab to show; it updates in place and keeps
// the timeline and the composer while the tab stays the same.
class AgentThreadPane final : public QWidget {
    Q_OBJECT
public:
    AgentThreadPane(const WorkspaceViewContext &context, bool isSplitSecondary, ExpandedToolSet *expandedTools,
        QWidget *parent = nullptr);
    ~AgentThreadPane() override;

    void showTab(const CampaignIDEThread &thread, const CampaignAgentTab &tab);

    [[nodiscard]] bool isSplitSecondary() const { return m_isSplitSecondary; }
    [[nodiscard]] const QUuid &tabID() const { return m_tabID; }
    [[nodiscard]] QList<AgentTabChip *> chips() const { return m_chips; }
    [[nodiscard]] AgentTimelineView *timeline() const { return m_timeline; }
    [[nodiscard]] AgentComposerBar *composer() const { return m_composer; }
    [[nodiscard]] QMenu *addSpecialistMenu() const { return m_addSpecialistMenu; }
    [[nodiscard]] QMenu *approvalModeMenu() const { return m_approvalMenu; }

    // The texts of the dry-run badge.
    [[nodiscard]] static QString dryRunText() { return QStringLiteral("DRY-RUN SIMULATION"); }
    [[nodiscard]] static QString liveText() { return QStringLiteral("LIVE WORKSPACE"); }

protected:
    void paintEvent(QPaintEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildTabStrip(QWidget *row);
    void buildToolbar(QWidget *row);
    void updateChips(const CampaignIDEThread &thread);
    void updateToolbar(const CampaignIDEThread &thread, const CampaignAgentTab &tab);
    void applyColors();
    void updateMenuIcons();
    void chipSelected(const QUuid &tabID);
    // Brings the highlighted chip into the strip's view once the strip has been laid out.
    void scheduleSelectedChipInView();

    WorkspaceViewContext m_context;
    bool m_isSplitSecondary;
    QUuid m_threadID;
    QUuid m_tabID;
    bool m_hasSplit = false;
    bool m_dryRun = false;
    ThreadApprovalMode m_approvalMode = ThreadApprovalMode::manual;

    QScrollArea *m_chipScroller = nullptr;
    QMetaObject::Connection m_focusWatch;
    bool m_chipInViewScheduled = false;
    // The tabs of the chips in order, an empty id after the selected one: what the strip last
    // brought into view.
    QList<QUuid> m_shownStrip;
    QHBoxLayout *m_chipRow = nullptr;
    QList<AgentTabChip *> m_chips;
    QMenu *m_addSpecialistMenu = nullptr;
    ClickableButton *m_splitToggle = nullptr;
    SymbolView *m_splitSymbol = nullptr;
    ClickableButton *m_dryRunBadge = nullptr;
    StateDot *m_dryRunDot = nullptr;
    ElidedLabel *m_dryRunLabel = nullptr;
    ClickableButton *m_approvalButton = nullptr;
    ElidedLabel *m_approvalLabel = nullptr;
    QMenu *m_approvalMenu = nullptr;
    QLabel *m_messageCount = nullptr;
    AgentTimelineView *m_timeline = nullptr;
    QuickPromptRow *m_quickPrompts = nullptr;
    AgentComposerBar *m_composer = nullptr;
};

} // namespace orvane
