#pragma once

#include "ide/records/CampaignCompetitorAd.h"

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QUuid>

#include <optional>

namespace orvane {

class CampaignIDEWorkspaceModel;

// The competitor ads of the workspace's active thread, in display order, one row each. Follows the
// model in place: edited ads change their rows, a new set of ads or another thread resets the list.
// threadUpdated() tells when the thread's other fields (its domain) may have changed.
class CompetitorAdListModel final : public QAbstractListModel {
    Q_OBJECT
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        ChannelRole,
        HeadlineRole, // also Qt::DisplayRole
        BodyRole,
        CTARole,
        EstimatedSpendRole,
        RunningDaysRole,
    };

    explicit CompetitorAdListModel(CampaignIDEWorkspaceModel *model, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const CampaignCompetitorAd &adAt(int row) const { return m_ads.at(row); }
    // The thread shown, and its competitor domain as stored ("" without a thread).
    [[nodiscard]] const std::optional<QUuid> &threadID() const { return m_threadID; }
    [[nodiscard]] const QString &competitorDomain() const { return m_domain; }

Q_SIGNALS:
    void threadUpdated();

private:
    void reload();

    QPointer<CampaignIDEWorkspaceModel> m_model;
    std::optional<QUuid> m_threadID;
    QString m_domain;
    QList<CampaignCompetitorAd> m_ads;
};

} // namespace orvane
