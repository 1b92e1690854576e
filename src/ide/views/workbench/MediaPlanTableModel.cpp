#include "ide/views/workbench/MediaPlanTableModel.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/workbench/WorkbenchFormat.h"
#include "ide/views/workbench/WorkbenchThreadBinding.h"

#include <QSet>
#include <QStringBuilder>

#include <algorithm>
#include <array>
#include <cmath>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

struct ColumnSpec {
    int width;
    const char16_t *title;
};

constexpr std::array<ColumnSpec, MediaPlanTableModel::columnCount_> kColumns { {
    { 95, u"CHANNEL" },
    { 210, u"CAMPAIGN / FLIGHT NAME" },
    { 220, u"AUDIENCE / KEYWORDS" },
    { 80, u"DAILY $" },
    { 95, u"MONTHLY $" },
    { 90, u"TARGET CPA" },
    { 80, u"EST. CONV" },
    { 110, u"STATUS" },
    { 0, u"" },
    { 22, u"" },
} };

bool hasDuplicateIDs(const QList<CampaignMediaPlanRow> &rows)
{
    QSet<QUuid> seen;
    for (const CampaignMediaPlanRow &row : rows) {
        if (seen.contains(row.id))
            return true;
        seen.insert(row.id);
    }
    return false;
}

} // namespace

int MediaPlanTableModel::contentWidth(int column)
{
    return column >= 0 && column < columnCount_ ? kColumns.at(column).width : 0;
}

QString MediaPlanTableModel::columnTitle(int column)
{
    return column >= 0 && column < columnCount_ ? QString::fromUtf16(kColumns.at(column).title) : QString();
}

double MediaPlanTableModel::steppedDailyBudget(double current, int direction)
{
    const double proposed = current + dailyStep * (direction < 0 ? -1 : 1);
    return std::isnan(proposed) ? minimumDailyBudget : std::max(proposed, minimumDailyBudget);
}

MediaPlanTableModel::MediaPlanTableModel(WorkbenchThreadBinding &binding, QObject *parent)
    : QAbstractTableModel(parent), m_model(&binding.model()), m_binding(binding)
{
    connect(&binding, &WorkbenchThreadBinding::threadReplaced, this, &MediaPlanTableModel::reload);
    connect(&binding, &WorkbenchThreadBinding::threadUpdated, this, &MediaPlanTableModel::follow);
    if (const std::optional<CampaignIDEThread> thread = binding.thread())
        m_rows = thread->mediaPlanRows;
}

int MediaPlanTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int MediaPlanTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columnCount_;
}

QVariant MediaPlanTableModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CampaignMediaPlanRow &row = m_rows.at(index.row());
    if (role == RowIDRole)
        return row.id;
    if (role == StatusReadyRole)
        return workbench::isReadyStatus(row.status);
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case channel:
            return row.channel;
        case campaignName:
            return row.campaignName;
        case audience:
            return row.audience;
        case dailyBudget:
            return workbench::plainDollars(row.dailyBudget);
        case monthlyBudget:
            return workbench::groupedDollars(row.monthlyBudget);
        case targetCPA:
            return workbench::plainDollars(row.targetCPA);
        case estimatedConversions:
            return QString(workbench::plainNumber(row.estimatedConversions) % u"/mo"_s);
        case status:
            return row.status.toUpper();
        default:
            return {};
        }
    }
    if (role == Qt::EditRole) {
        switch (index.column()) {
        case campaignName:
            return row.campaignName;
        case audience:
            return row.audience;
        case dailyBudget:
            return row.dailyBudget;
        default:
            return {};
        }
    }
    if (role == Qt::ToolTipRole && index.column() == actions)
        return u"Delete flight row"_s;
    return {};
}

QVariant MediaPlanTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole)
        return columnTitle(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

Qt::ItemFlags MediaPlanTableModel::flags(const QModelIndex &index) const
{
    // The spacer is no cell: the keyboard passes over it.
    if (!index.isValid() || index.column() == spacer)
        return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == campaignName || index.column() == audience)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool MediaPlanTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !m_model || !m_binding.threadID()
        || !checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return false;
    CampaignMediaPlanRow edited = m_rows.at(index.row());
    switch (index.column()) {
    case campaignName:
        edited.campaignName = value.toString();
        break;
    case audience:
        edited.audience = value.toString();
        break;
    case dailyBudget: {
        bool ok = false;
        const double proposed = value.toDouble(&ok);
        edited.dailyBudget = ok && !std::isnan(proposed) ? std::max(proposed, minimumDailyBudget) : minimumDailyBudget;
        break;
    }
    default:
        return false;
    }
    return m_model->updateMediaPlanRow(edited, *m_binding.threadID());
}

void MediaPlanTableModel::stepDailyBudget(int row, int direction)
{
    if (row < 0 || row >= m_rows.size())
        return;
    setData(index(row, dailyBudget), steppedDailyBudget(m_rows.at(row).dailyBudget, direction));
}

void MediaPlanTableModel::deleteRow(int row)
{
    if (row < 0 || row >= m_rows.size() || !m_model || !m_binding.threadID())
        return;
    m_model->deleteMediaPlanRow(m_rows.at(row).id, *m_binding.threadID());
}

void MediaPlanTableModel::reload()
{
    beginResetModel();
    const std::optional<CampaignIDEThread> thread = m_binding.thread();
    m_rows = thread ? thread->mediaPlanRows : QList<CampaignMediaPlanRow>();
    endResetModel();
}

void MediaPlanTableModel::follow()
{
    const std::optional<CampaignIDEThread> thread = m_binding.thread();
    const QList<CampaignMediaPlanRow> next = thread ? thread->mediaPlanRows : QList<CampaignMediaPlanRow>();
    if (hasDuplicateIDs(next) || hasDuplicateIDs(m_rows))
        return reload();

    // Rows that are gone, from the end so the rows before keep their numbers.
    QSet<QUuid> nextIDs;
    for (const CampaignMediaPlanRow &row : next)
        nextIDs.insert(row.id);
    for (int i = int(m_rows.size()) - 1; i >= 0; --i) {
        if (!nextIDs.contains(m_rows.at(i).id)) {
            beginRemoveRows({}, i, i);
            m_rows.removeAt(i);
            endRemoveRows();
        }
    }
    // New rows where they stand; rows that moved reset the table.
    QSet<QUuid> shownIDs;
    for (const CampaignMediaPlanRow &row : std::as_const(m_rows))
        shownIDs.insert(row.id);
    for (int i = 0; i < next.size(); ++i) {
        if (i < m_rows.size() && m_rows.at(i).id == next.at(i).id)
            continue;
        if (shownIDs.contains(next.at(i).id))
            return reload();
        beginInsertRows({}, i, i);
        m_rows.insert(i, next.at(i));
        endInsertRows();
    }
    for (int i = 0; i < next.size(); ++i) {
        if (m_rows.at(i) == next.at(i))
            continue;
        m_rows[i] = next.at(i);
        Q_EMIT dataChanged(index(i, 0), index(i, columnCount_ - 1));
    }
}

} // namespace orvane
