#pragma once

#include "ide/records/LocalWorkspaceFile.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>

#include <optional>

namespace orvane {

class WorkspaceMirror;

// The mirror's local files, in list order, one row each, with the file the editor shows
// marked as selected. A reloaded list resets the rows; an edited or saved file changes its row.
class LocalFilesListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1, // the file's path
        NameRole, // also Qt::DisplayRole
        SizeBytesRole,
        ModifiedLabelRole,
        SymbolRole, // the symbol name for the file's type
        SelectedRole,
    };

    explicit LocalFilesListModel(WorkspaceMirror *mirror, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // "tablecells" for ".csv", "curlybraces" for ".json", "doc.text" otherwise; case-sensitive.
    [[nodiscard]] static QString symbolFor(const QString &fileName);
    // "1025 B · Modified".
    [[nodiscard]] static QString detailText(const LocalWorkspaceFile &file);

private:
    void reload();
    void refreshFile(const QString &fileID);
    void markSelection();
    [[nodiscard]] int rowOf(const QString &fileID) const;

    QPointer<WorkspaceMirror> m_mirror;
    QList<LocalWorkspaceFile> m_files;
    std::optional<QString> m_selected;
};

} // namespace orvane
