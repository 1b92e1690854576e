#include "ide/views/timeline/TimelineEntryListModel.h"

#include "ide/model/ThreadList.h"

namespace orvane {

using namespace Qt::StringLiterals;

const QString TimelineEntryListModel::statusFallback = u"Orvaneing campaign artifacts\u2026"_s;

TimelineEntryListModel::TimelineEntryListModel(ThreadList *model, QObject *parent)
    : QAbstractListModel(parent), m_store(model)
{
    if (!model)
        return;
    connect(model, &ThreadList::timelineEntryAppended, this, &TimelineEntryListModel::onEntryAppended);
    connect(model, &ThreadList::timelineEntryChanged, this, &TimelineEntryListModel::onEntryChanged);
    connect(model, &ThreadList::agentTabChanged, this, &TimelineEntryListModel::onTabChanged);
    connect(model, &ThreadList::threadChanged, this, &TimelineEntryListModel::onThreadChanged);
    connect(model, &ThreadList::threadRemoved, this,
        [this](qsizetype, const QUuid &threadID) { onThreadChanged(threadID); });
    connect(model, &ThreadList::threadInserted, this, [this](qsizetype) { reconcile(); });
    connect(model, &ThreadList::threadsChanged, this, &TimelineEntryListModel::reconcile);
}

void TimelineEntryListModel::setTab(const QUuid &threadID, const QUuid &tabID)
{
    if (threadID == m_threadID && tabID == m_tabID)
        return;
    beginResetModel();
    m_threadID = threadID;
    m_tabID = tabID;
    const CampaignAgentTab *tab = findTab();
    m_entries = tab ? tab->entries : QList<CampaignTimelineEntry>();
    m_revisions.clear();
    m_revisions.reserve(m_entries.size());
    for (qsizetype i = 0; i < m_entries.size(); ++i)
        m_revisions.append(m_nextRevision++);
    m_streaming = tab && tab->isStreaming;
    m_statusText = tab ? tab->statusText : std::nullopt;
    endResetModel();
}

QString TimelineEntryListModel::statusText() const
{
    return m_statusText.value_or(statusFallback);
}

QList<int> TimelineEntryListModel::rowsShowingTool(const QUuid &toolID) const
{
    QList<int> rows;
    for (int row = 0; row < entryCount(); ++row) {
        const auto &tools = m_entries.at(row).toolInvocations;
        if (std::any_of(tools.cbegin(), tools.cend(), [&](const CampaignToolInvocation &t) { return t.id == toolID; }))
            rows.append(row);
    }
    return rows;
}

void TimelineEntryListModel::touchRows(const QList<int> &rows)
{
    for (int row : rows)
        changeRow(row);
}

int TimelineEntryListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : entryCount() + (m_streaming ? 1 : 0);
}

QVariant TimelineEntryListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount())
        return {};
    const int row = index.row();
    if (row == statusRow()) {
        switch (role) {
        case Qt::DisplayRole:
            return statusText();
        case KindRole:
            return int(RowKind::status);
        case RevisionRole:
            return QVariant::fromValue(quint64(m_statusText ? qHash(*m_statusText) + 1 : 0));
        default:
            return {};
        }
    }
    const CampaignTimelineEntry &entry = m_entries.at(row);
    switch (role) {
    case Qt::DisplayRole:
        return entry.text;
    case Qt::ToolTipRole:
        return {};
    case KindRole:
        return int(RowKind::entry);
    case EntryIDRole:
        return entry.id;
    case RevisionRole:
        return QVariant::fromValue(m_revisions.at(row));
    default:
        return {};
    }
}

Qt::ItemFlags TimelineEntryListModel::flags(const QModelIndex &index) const
{
    // Views ask for the flags of the root (an invalid index) too.
    if (!index.isValid() || index.parent().isValid() || index.row() >= rowCount())
        return Qt::NoItemFlags;
    if (index.row() == statusRow() || m_entries.at(index.row()).text.isEmpty())
        return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
    return Qt::ItemIsEnabled | Qt::ItemIsEditable | Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> TimelineEntryListModel::roleNames() const
{
    auto names = QAbstractListModel::roleNames();
    names.insert(KindRole, "kind");
    names.insert(EntryIDRole, "entryID");
    names.insert(RevisionRole, "revision");
    return names;
}

const CampaignAgentTab *TimelineEntryListModel::findTab() const
{
    if (!m_store)
        return nullptr;
    for (const CampaignIDEThread &thread : m_store->threads()) {
        if (thread.id != m_threadID)
            continue;
        for (const CampaignAgentTab &tab : thread.agentTabs) {
            if (tab.id == m_tabID)
                return &tab;
        }
        return nullptr;
    }
    return nullptr;
}

void TimelineEntryListModel::onEntryAppended(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID)
{
    if (threadID != m_threadID || tabID != m_tabID)
        return;
    const CampaignAgentTab *tab = findTab();
    const qsizetype row = m_entries.size();
    // The usual case: exactly one entry more, at the end, with everything before it unchanged.
    if (tab && tab->entries.size() == row + 1 && tab->entries.constLast().id == entryID
        && (row == 0 || tab->entries.at(row - 1).id == m_entries.constLast().id)) {
        beginInsertRows({}, int(row), int(row));
        m_entries = tab->entries; // shared with the stored list
        m_revisions.append(m_nextRevision++);
        endInsertRows();
        return;
    }
    reconcile();
}

void TimelineEntryListModel::onEntryChanged(const QUuid &threadID, const QUuid &tabID, const QUuid &entryID)
{
    if (threadID != m_threadID || tabID != m_tabID)
        return;
    const CampaignAgentTab *tab = findTab();
    // Streamed text arrives at the newest entries: look from the end.
    for (qsizetype row = m_entries.size() - 1; tab && row >= 0; --row) {
        if (m_entries.at(row).id != entryID)
            continue;
        if (row < tab->entries.size() && tab->entries.at(row).id == entryID) {
            m_entries = tab->entries; // only this row differs; sharing keeps later checks O(1)
            changeRow(int(row));
            return;
        }
        break;
    }
    reconcile();
}

void TimelineEntryListModel::onTabChanged(const QUuid &threadID, const QUuid &tabID)
{
    if (threadID == m_threadID && tabID == m_tabID)
        reconcile();
}

void TimelineEntryListModel::onThreadChanged(const QUuid &threadID)
{
    if (threadID == m_threadID)
        reconcile();
}

void TimelineEntryListModel::reconcile()
{
    const CampaignAgentTab *tab = findTab();
    const QList<CampaignTimelineEntry> stored = tab ? tab->entries : QList<CampaignTimelineEntry>();
    // A keystroke in the composer changes the tab but not its entries: the lists still share data.
    if (!stored.isSharedWith(m_entries) || stored.size() != m_entries.size()) {
        const qsizetype common = std::min(stored.size(), m_entries.size());
        bool prefixKept = true;
        for (qsizetype i = 0; i < common && prefixKept; ++i)
            prefixKept = stored.at(i).id == m_entries.at(i).id;
        if (!prefixKept || stored.size() < m_entries.size()) {
            beginResetModel();
            m_entries = stored;
            m_revisions.clear();
            for (qsizetype i = 0; i < m_entries.size(); ++i)
                m_revisions.append(m_nextRevision++);
            m_streaming = tab && tab->isStreaming;
            m_statusText = tab ? tab->statusText : std::nullopt;
            endResetModel();
            return;
        }
        // Entries changed without their own signal, then entries appended after them.
        for (qsizetype i = 0; i < common; ++i) {
            if (!(stored.at(i) == m_entries.at(i))) {
                m_entries[i] = stored.at(i);
                changeRow(int(i));
            }
        }
        if (stored.size() > m_entries.size()) {
            beginInsertRows({}, entryCount(), int(stored.size()) - 1);
            for (qsizetype i = m_entries.size(); i < stored.size(); ++i)
                m_revisions.append(m_nextRevision++);
            m_entries = stored;
            endInsertRows();
        }
        m_entries = stored; // shares the stored list again: the next check is O(1)
    }
    updateStatusRow(tab);
}

void TimelineEntryListModel::updateStatusRow(const CampaignAgentTab *tab)
{
    const bool streaming = tab && tab->isStreaming;
    const std::optional<QString> text = tab ? tab->statusText : std::nullopt;
    const int row = entryCount();
    if (streaming && !m_streaming) {
        beginInsertRows({}, row, row);
        m_streaming = true;
        m_statusText = text;
        endInsertRows();
    } else if (!streaming && m_streaming) {
        beginRemoveRows({}, row, row);
        m_streaming = false;
        m_statusText = text;
        endRemoveRows();
    } else if (text != m_statusText) {
        m_statusText = text;
        if (m_streaming)
            Q_EMIT dataChanged(index(row), index(row));
    }
}

void TimelineEntryListModel::changeRow(int row)
{
    m_revisions[row] = m_nextRevision++;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed);
}

} // namespace orvane
