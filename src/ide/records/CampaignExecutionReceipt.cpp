#include "ide/records/CampaignExecutionReceipt.h"

#include <QStringBuilder>

namespace orvane {

QString CampaignExecutionReceipt::receiptNumber(const QUuid &requestID)
{
    return u"orvane-exec-" % requestID.toString(QUuid::WithoutBraces).left(8).toLower();
}

CampaignExecutionReceipt CampaignExecutionReceipt::forRequest(const CampaignLaunchRequest &request, QString receivedAt)
{
    return {
        .id = receiptNumber(request.id),
        .requestID = request.id,
        .projectID = request.projectID,
        .receivedAt = std::move(receivedAt),
    };
}

void CampaignExecutionReceipt::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id).field("requestID", requestID).field("projectID", projectID).field("receivedAt", receivedAt);
}

CampaignExecutionReceipt CampaignExecutionReceipt::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QString>("id"),
        .requestID = reader.required<QUuid>("requestID"),
        .projectID = reader.required<QUuid>("projectID"),
        .receivedAt = reader.required<QString>("receivedAt"),
    };
}

} // namespace orvane
