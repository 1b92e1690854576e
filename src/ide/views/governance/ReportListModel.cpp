#include "ide/views/governance/ReportListModel.h"

#include "ide/model/WorkspaceMirror.h"
#include "ide/views/governance/GovernanceWidgets.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane::governance {

ReportListModel::ReportListModel(WorkspaceMirror &mirror, QObject *parent)
    : QAbstractListModel(parent), m_mirror(&mirror), m_reports(mirror.reports())
{
    connect(&mirror, &WorkspaceMirror::reportsChanged, this, &ReportListModel::sync);
}

int ReportListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_reports.size());
}

QVariant ReportListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const ReportArtifact &report = m_reports.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case titleRole:
        return report.title;
    case kindLineRole:
        return report.kind.toUpper();
    case createdLineRole:
        return QString(u"Created "_s + report.createdAt);
    case reportIDRole:
        return report.id;
    case Qt::ToolTipRole:
        return plainToolTip(report.title);
    case Qt::AccessibleTextRole:
        return QString(report.kind.toUpper() + u", "_s + report.title + u", Created "_s + report.createdAt);
    default:
        return {};
    }
}

QHash<int, QByteArray> ReportListModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert(kindLineRole, "kindLine");
    names.insert(titleRole, "title");
    names.insert(createdLineRole, "createdLine");
    names.insert(reportIDRole, "reportID");
    return names;
}

void ReportListModel::sync()
{
    if (!m_mirror)
        return;
    const QList<ReportArtifact> &now = m_mirror->reports();
    if (now == m_reports)
        return; // only the selected report changed
    // New reports in front of the ones shown: insert them.
    const qsizetype added = now.size() - m_reports.size();
    if (added > 0 && std::equal(m_reports.cbegin(), m_reports.cend(), now.cbegin() + added)) {
        beginInsertRows({}, 0, int(added - 1));
        m_reports = now;
        endInsertRows();
        return;
    }
    beginResetModel();
    m_reports = now;
    endResetModel();
}

} // namespace orvane::governance
