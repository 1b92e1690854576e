#pragma once

#include "ide/views/timeline/TimelineListView.h"
#include "ide/views/window/WorkspaceViewRegistry.h"
#include <QPointer>

#include <QUuid>
#include <QWidget>

#include <optional>
#include <utility>

class QPropertyAnimation;
class QTimer;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ExpandedToolSet;
class TimelineEntryDelegate;
class TimelineEntryListModel;

// The scrolling middle of an agent pane: one card per entry of the tab, then a status row while a
// turn runs. It follows the model's fine signals and updates one entry in place; it jumps to the
// newest card when the number of entries changes, and only then: an entry that grows (a reply
// streaming in) leaves the list where the reader has it.
class AgentTimelineView final : public QWidget {
    Q_OBJECT
public:
    AgentTimelineView(
        const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent = nullptr);
    ~AgentTimelineView() override;

    // Shows another tab (of this or another thread) in place.
    void setTab(const QUuid &threadID, const QUuid &tabID);
    [[nodiscard]] QUuid threadID() const { return m_threadID; }
    [[nodiscard]] QUuid tabID() const { return m_tabID; }

    // Shares the workbench's set of expanded tool runs (by default the view keeps its own).
    void setExpandedToolSet(ExpandedToolSet *set);
    [[nodiscard]] ExpandedToolSet *expandedToolSet() const;

    [[nodiscard]] TimelineEntryListModel *entryModel() const { return m_entries; }
    [[nodiscard]] TimelineListView *listView() const { return m_list; }
    [[nodiscard]] TimelineEntryDelegate *delegate() const { return m_delegate; }

    // True while the jump to the newest card is under way.
    [[nodiscard]] bool isFollowing() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void captureReader();
    // Measures the cards in and near the viewport exactly, keeping the reader's place.
    void measureVisibleRows();
    [[nodiscard]] std::pair<int, int> visibleRows() const;
    [[nodiscard]] int newestEntryTarget() const;
    void afterChange();
    void followNewestEntry(bool animated);
    void connectToolSet();
    void applyTheme();
    void updateSpinner();
    [[nodiscard]] QList<int> allEntryRows() const;

    WorkspaceViewContext m_context;
    CampaignIDEWorkspaceModel *m_model = nullptr;
    QUuid m_threadID;
    QUuid m_tabID;
    TimelineEntryListModel *m_entries = nullptr;
    TimelineEntryDelegate *m_delegate = nullptr;
    TimelineListView *m_list = nullptr;
    ExpandedToolSet *m_ownToolSet = nullptr;
    QPointer<ExpandedToolSet> m_toolSet;
    QPropertyAnimation *m_scrollAnimation = nullptr;
    QTimer *m_spinnerTimer = nullptr;
    int m_lastEntryCount = 0;
    bool m_measuring = false;
    bool m_quietFill = false; // the first fill of a view built without a tab never scrolls
    struct Reader {
        bool following = false;
    };
    std::optional<Reader> m_reader; // where the reader was before the change being handled
};

} // namespace orvane
