#include "ide/views/canvas/CompetitorAdListModel.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

namespace orvane {

CompetitorAdListModel::CompetitorAdListModel(CampaignIDEWorkspaceModel *model, QObject *parent)
    : QAbstractListModel(parent), m_model(model)
{
    if (const auto thread = model->activeThread()) {
        m_threadID = thread->id;
        m_domain = thread->competitorDomain;
        m_ads = thread->competitorAds;
    }
    connect(model, &CampaignIDEWorkspaceModel::threadChanged, this, [this](const QUuid &threadID) {
        if (threadID == m_threadID)
            reload();
    });
    // What the active thread is depends on the destination, the thread list and the selection.
    connect(model, &CampaignIDEWorkspaceModel::threadsChanged, this, &CompetitorAdListModel::reload);
    connect(model, &CampaignIDEWorkspaceModel::threadInserted, this, &CompetitorAdListModel::reload);
    connect(model, &CampaignIDEWorkspaceModel::threadRemoved, this, &CompetitorAdListModel::reload);
    connect(model, &CampaignIDEWorkspaceModel::primaryDestinationChanged, this, &CompetitorAdListModel::reload);
    connect(model, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this, &CompetitorAdListModel::reload);
}

int CompetitorAdListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_ads.size());
}

QVariant CompetitorAdListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const CampaignCompetitorAd &ad = m_ads.at(index.row());
    switch (role) {
    case IdRole:
        return ad.id;
    case ChannelRole:
        return ad.channel;
    case Qt::DisplayRole:
    case HeadlineRole:
        return ad.headline;
    case BodyRole:
        return ad.bodyPreview();
    case CTARole:
        return ad.ctaText();
    case EstimatedSpendRole:
        return ad.estimatedSpend();
    case RunningDaysRole:
        return ad.runningDays();
    default:
        return {};
    }
}

QHash<int, QByteArray> CompetitorAdListModel::roleNames() const
{
    return {
        { IdRole, "adID" },
        { ChannelRole, "channel" },
        { HeadlineRole, "headline" },
        { BodyRole, "bodyPreview" },
        { CTARole, "ctaText" },
        { EstimatedSpendRole, "estimatedSpend" },
        { RunningDaysRole, "runningDays" },
    };
}

void CompetitorAdListModel::reload()
{
    if (!m_model)
        return;
    const auto thread = m_model->activeThread();
    const std::optional<QUuid> threadID = thread ? std::optional<QUuid>(thread->id) : std::nullopt;
    QList<CampaignCompetitorAd> ads = thread ? thread->competitorAds : QList<CampaignCompetitorAd>();
    m_domain = thread ? thread->competitorDomain : QString();

    bool sameRows = threadID == m_threadID && ads.size() == m_ads.size();
    for (qsizetype row = 0; sameRows && row < ads.size(); ++row)
        sameRows = ads.at(row).id == m_ads.at(row).id;

    if (sameRows) {
        for (qsizetype row = 0; row < ads.size(); ++row) {
            if (ads.at(row) != m_ads.at(row)) {
                m_ads[row] = ads.at(row);
                Q_EMIT dataChanged(index(int(row)), index(int(row)));
            }
        }
    } else {
        beginResetModel();
        m_threadID = threadID;
        m_ads = std::move(ads);
        endResetModel();
    }
    Q_EMIT threadUpdated();
}

} // namespace orvane
