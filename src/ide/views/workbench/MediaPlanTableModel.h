#pragma once

#include "ide/records/CampaignMediaPlanRow.h"

#include <QAbstractTableModel>
#include <QList>
#include <QPointer>

namespace orvane {

class CampaignIDEWorkspaceModel;
class WorkbenchThreadBinding;

// The media-plan rows of the thread a binding follows, one row per flight in stored order. Edits go
// through the workspace model's media-plan operations; the rows change when the model publishes
// the thread again, in place (inserted, removed or changed rows), so open editors stay open.
class MediaPlanTableModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column {
        channel,
        campaignName,
        audience,
        dailyBudget,
        monthlyBudget,
        targetCPA,
        estimatedConversions,
        status,
        spacer, // takes the width left over
        actions, // the delete button
        columnCount_,
    };
    enum Role {
        RowIDRole = Qt::UserRole + 1,
        StatusReadyRole, // bool: the status counts as ready
    };
    // The width of each column's content and its title; 0 for the spacer.
    [[nodiscard]] static int contentWidth(int column);
    [[nodiscard]] static QString columnTitle(int column);
    // The step of the daily budget's stepper and the least it steps down to.
    static constexpr double dailyStep = 50;
    static constexpr double minimumDailyBudget = 25;
    // The daily budget a stepper click proposes: at least minimumDailyBudget (a proposal that is
    // not a number gives it too).
    [[nodiscard]] static double steppedDailyBudget(double current, int direction);

    MediaPlanTableModel(WorkbenchThreadBinding &binding, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] int columnCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    [[nodiscard]] QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    [[nodiscard]] Qt::ItemFlags flags(const QModelIndex &index) const override;
    // Campaign name, audience and daily budget: the displayed row with the new value goes to
    // updateMediaPlanRow(); the daily budget is held at minimumDailyBudget or more.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

    [[nodiscard]] const QList<CampaignMediaPlanRow> &rows() const { return m_rows; }
    // One stepper click on the row's daily budget (+1 up, -1 down).
    void stepDailyBudget(int row, int direction);
    void deleteRow(int row);

private:
    void reload();
    void follow();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    WorkbenchThreadBinding &m_binding;
    QList<CampaignMediaPlanRow> m_rows;
};

} // namespace orvane
