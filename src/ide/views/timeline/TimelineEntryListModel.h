#pragma once

#include "ide/records/CampaignTimelineEntry.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <optional>

namespace orvane {

class ThreadList;
struct CampaignAgentTab;

// The rows of one agent tab's timeline: one per entry, in order, then a status row while a turn runs.
// It keeps a shallow copy of the tab's entries and follows the workspace model's fine signals, so an
// appended entry inserts one row and a changed entry changes one row; anything else it cannot
// explain (a closed tab, a replaced list) resets it.
class TimelineEntryListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // RowKind
        EntryIDRole,
        RevisionRole, // changes whenever the row's content changes
    };
    enum class RowKind { entry, status };

    explicit TimelineEntryListModel(ThreadList *model, QObject *parent = nullptr);

    void setTab(const QUuid &threadID, const QUuid &tabID);
    [[nodiscard]] QUuid threadID() const { return m_threadID; }
    [[nodiscard]] QUuid tabID() const { return m_tabID; }

    [[nodiscard]] int entryCount() const { return int(m_entries.size()); }
    [[nodiscard]] const CampaignTimelineEntry &entryAt(int row) const { return m_entries.at(row); }
    [[nodiscard]] bool isStreaming() const { return m_streaming; }
    // The status row's text: the tab's status, else the fixed fallback.
    [[nodiscard]] QString statusText() const;
    [[nodiscard]] int statusRow() const { return m_streaming ? entryCount() : -1; }
    // The rows whose entry shows this tool run.
    [[nodiscard]] QList<int> rowsShowingTool(const QUuid &toolID) const;
    // Marks rows changed (a view-side state they draw, such as an expanded tool run).
    void touchRows(const QList<int> &rows);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    // An entry with text opens for selection (read only); nothing is ever written back.
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    static const QString statusFallback;

private:
    [[nodiscard]] const CampaignAgentTab *findTab() const;
    void onEntryAppended(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    void onEntryChanged(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID);
    void onTabChanged(const QUuid &threadID, const QUuid &tabID);
    void onThreadChanged(const QUuid &threadID);
    // Brings the rows in line with the tab as stored, with the smallest change it can describe.
    void reconcile();
    void updateStatusRow(const CampaignAgentTab *tab);
    void changeRow(int row);

    QPointer<ThreadList> m_store;
    QUuid m_threadID;
    QUuid m_tabID;
    QList<CampaignTimelineEntry> m_entries;
    QList<quint64> m_revisions;
    quint64 m_nextRevision = 1;
    bool m_streaming = false;
    std::optional<QString> m_statusText;
};

} // namespace orvane
