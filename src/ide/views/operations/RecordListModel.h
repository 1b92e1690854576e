#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <type_traits>

namespace orvane::operations {

// A flat list model over a copy of one of the workspace model's record lists (records with an
// `id`). The copy is kept in step with the source by element (insertAt, removeAt, replaceAt) or as
// a whole (reconcile), so a view over it updates in place. Qt::DisplayRole is the record's label,
// IdRole the text of its id.
template <typename Record> class RecordListModel : public QAbstractListModel {
public:
    enum Role { IdRole = Qt::UserRole + 1 };
    using Label = std::function<QString(const Record &)>;

    explicit RecordListModel(Label label, QObject *parent = nullptr)
        : QAbstractListModel(parent), m_label(std::move(label))
    {
    }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override
    {
        return parent.isValid() ? 0 : int(m_records.size());
    }

    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override
    {
        if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
            return {};
        const Record &record = m_records.at(index.row());
        switch (role) {
        case Qt::DisplayRole:
            return m_label(record);
        case IdRole:
            return idText(record.id);
        default:
            return {};
        }
    }

    [[nodiscard]] QHash<int, QByteArray> roleNames() const override
    {
        QHash<int, QByteArray> names = QAbstractListModel::roleNames();
        names.insert(IdRole, "recordID");
        return names;
    }

    [[nodiscard]] const QList<Record> &records() const { return m_records; }
    [[nodiscard]] const Record &at(int row) const { return m_records.at(row); }

    // The row of the record with this id; -1 when there is none.
    template <typename Id> [[nodiscard]] int rowOf(const Id &id) const
    {
        for (qsizetype row = 0; row < m_records.size(); ++row) {
            if (m_records.at(row).id == id)
                return int(row);
        }
        return -1;
    }

    void insertAt(int row, const Record &record)
    {
        row = qBound(0, row, int(m_records.size()));
        beginInsertRows({}, row, row);
        m_records.insert(row, record);
        endInsertRows();
    }

    void removeAt(int row)
    {
        if (row < 0 || row >= m_records.size())
            return;
        beginRemoveRows({}, row, row);
        m_records.removeAt(row);
        endRemoveRows();
    }

    void replaceAt(int row, const Record &record)
    {
        if (row < 0 || row >= m_records.size())
            return;
        m_records[row] = record;
        Q_EMIT dataChanged(index(row), index(row));
    }

    // Takes the whole list: the same records in the same order only report the rows that differ;
    // anything else resets the model.
    void reconcile(const QList<Record> &records)
    {
        bool sameRows = records.size() == m_records.size();
        for (qsizetype row = 0; sameRows && row < records.size(); ++row)
            sameRows = records.at(row).id == m_records.at(row).id;
        if (!sameRows) {
            beginResetModel();
            m_records = records;
            endResetModel();
            return;
        }
        for (qsizetype row = 0; row < records.size(); ++row) {
            if (!(records.at(row) == m_records.at(row)))
                replaceAt(int(row), records.at(row));
        }
    }

private:
    template <typename Id> [[nodiscard]] static QString idText(const Id &id)
    {
        if constexpr (std::is_same_v<Id, QString>)
            return id;
        else
            return id.toString(QUuid::WithoutBraces);
    }

    Label m_label;
    QList<Record> m_records;
};

} // namespace orvane::operations
