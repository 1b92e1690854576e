#include "ide/views/sheets/RecommendedActionListModel.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <QSet>

using namespace Qt::StringLiterals;

namespace orvane {

RecommendedActionListModel::RecommendedActionListModel(CampaignIDEWorkspaceModel &model, QObject *parent)
    : KeyedRowsModel(parent), m_model(&model)
{
    refresh();
    connect(&model, &CampaignIDEWorkspaceModel::recommendedActionsChanged, this, &RecommendedActionListModel::refresh);
}

void RecommendedActionListModel::refresh()
{
    QList<Row> rows;
    if (m_model) {
        // Keys must be unique: a repeated id gets its occurrence number.
        QHash<QUuid, int> seen;
        for (const CampaignRecommendedNextAction &action : m_model->recommendedActions()) {
            const int occurrence = seen[action.id]++;
            QString key = action.id.toString(QUuid::WithoutBraces);
            if (occurrence > 0)
                key += u'#' + QString::number(occurrence);
            rows.append(Row { key, action });
        }
    }
    applyRows(m_rows, rows);
}

std::optional<CampaignRecommendedNextAction> RecommendedActionListModel::action(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return std::nullopt;
    return m_rows.at(row).action;
}

int RecommendedActionListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant RecommendedActionListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size())
        return {};
    const CampaignRecommendedNextAction &action = m_rows.at(index.row()).action;
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
    case Qt::AccessibleTextRole:
        // A card is a button named by its title.
        return action.title;
    case Qt::AccessibleDescriptionRole:
        return action.rationale;
    case CategoryRole:
        return action.category.toUpper();
    case ImpactRole:
        return action.impactEstimate;
    case RationaleRole:
        return action.rationale;
    case ActionIDRole:
        return action.id;
    default:
        return {};
    }
}

Qt::ItemFlags RecommendedActionListModel::flags(const QModelIndex &index) const
{
    if (!index.isValid() || index.model() != this || index.row() >= m_rows.size())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemNeverHasChildren;
}

QHash<int, QByteArray> RecommendedActionListModel::roleNames() const
{
    QHash<int, QByteArray> names = KeyedRowsModel::roleNames();
    names.insert(CategoryRole, "category");
    names.insert(ImpactRole, "impactEstimate");
    names.insert(TitleRole, "title");
    names.insert(RationaleRole, "rationale");
    names.insert(ActionIDRole, "actionID");
    return names;
}

} // namespace orvane
