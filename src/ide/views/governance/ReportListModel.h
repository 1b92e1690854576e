#pragma once

#include "kit/models/ServiceRecords.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

namespace orvane {
class WorkspaceMirror;
} // namespace orvane

namespace orvane::governance {

// The workspace's report artifacts, in the mirror's order, as rows of a list. A report
// generated locally arrives first in the mirror's list and is inserted as a row of its own; any
// other change of the list resets the rows.
class ReportListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        kindLineRole = Qt::UserRole + 1, // the kind, upper-cased
        titleRole, // the title as stored
        createdLineRole, // "Created " and createdAt as stored
        reportIDRole,
    };

    explicit ReportListModel(WorkspaceMirror &mirror, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const ReportArtifact &report(int row) const { return m_reports.at(row); }

private:
    void sync();

    QPointer<WorkspaceMirror> m_mirror;
    QList<ReportArtifact> m_reports;
};

} // namespace orvane::governance
