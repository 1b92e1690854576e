#pragma once

#include "ide/records/CampaignRecommendedNextAction.h"
#include "ide/views/sheets/KeyedRowsModel.h"

#include <QPointer>

namespace orvane {

class CampaignIDEWorkspaceModel;

// The copilot drawer's quick actions: every recommended action of the model, in its order,
// completed ones included (a card looks the same before and after it was started).
class RecommendedActionListModel final : public KeyedRowsModel {
    Q_OBJECT
public:
    enum Role {
        CategoryRole = Qt::UserRole + 1, // upper-cased for display
        ImpactRole, // as stored
        TitleRole,
        RationaleRole,
        ActionIDRole,
    };

    explicit RecommendedActionListModel(CampaignIDEWorkspaceModel &model, QObject *parent = nullptr);

    // The action of a row, as the model holds it now.
    [[nodiscard]] std::optional<CampaignRecommendedNextAction> action(int row) const;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

private:
    struct Row {
        QString key;
        CampaignRecommendedNextAction action;
        bool operator==(const Row &) const = default;
    };

    void refresh();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    QList<Row> m_rows;
};

} // namespace orvane
