#include "ide/records/CampaignIDEProject.h"

namespace orvane {

namespace {
bool isSlugCharacter(QChar c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9');
}
} // namespace

QString CampaignIDEProject::slug() const
{
    const QString lower = name.toLower();
    QString result;
    result.reserve(lower.size());
    bool pendingDash = false;
    for (const QChar c : lower) {
        if (isSlugCharacter(c)) {
            if (pendingDash && !result.isEmpty())
                result += u'-';
            pendingDash = false;
            result += c;
        } else {
            pendingDash = true;
        }
    }
    return result.isEmpty() ? QStringLiteral("campaign") : result;
}

qsizetype CampaignIDEProject::approvedCreativeCount() const
{
    return std::count_if(creatives.cbegin(), creatives.cend(),
        [](const CreativeCanvasArtboard &artboard) { return artboard.isApprovedForLaunch(); });
}

QString CampaignIDEProject::budget() const
{
    // The first match of \$[0-9,]+k? in the text.
    const auto isAmountCharacter = [](QChar c) { return (c >= u'0' && c <= u'9') || c == u','; };
    const qsizetype length = channelsAndBudget.size();
    for (qsizetype start = channelsAndBudget.indexOf(u'$'); start >= 0;
         start = channelsAndBudget.indexOf(u'$', start + 1)) {
        qsizetype end = start + 1;
        while (end < length && isAmountCharacter(channelsAndBudget.at(end)))
            ++end;
        if (end == start + 1)
            continue;
        if (end < length && channelsAndBudget.at(end) == u'k')
            ++end;
        return channelsAndBudget.mid(start, end - start);
    }
    return QStringLiteral("$45,000");
}

void CampaignIDEProject::setStatusUnlessLaunched(const QString &newStatus)
{
    if (!isLaunched)
        status = newStatus;
}

bool CampaignIDEProject::canExecute() const
{
    return hasPlan && !creatives.isEmpty() && approvedCreativeCount() == creatives.size() && !isLaunched;
}

void CampaignIDEProject::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("serverID", serverID)
        .field("name", name)
        .field("status", status)
        .field("updated", updated)
        .field("objective", objective)
        .field("audience", audience)
        .field("channelsAndBudget", channelsAndBudget)
        .field("message", message)
        .field("guardrails", guardrails)
        .field("hasPlan", hasPlan)
        .field("creatives", creatives)
        .field("isLaunched", isLaunched);
}

CampaignIDEProject CampaignIDEProject::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .serverID = reader.optional<QString>("serverID"),
        .name = reader.required<QString>("name"),
        .status = reader.required<QString>("status"),
        .updated = reader.required<QString>("updated"),
        .objective = reader.required<QString>("objective"),
        .audience = reader.required<QString>("audience"),
        .channelsAndBudget = reader.required<QString>("channelsAndBudget"),
        .message = reader.required<QString>("message"),
        .guardrails = reader.required<QString>("guardrails"),
        .hasPlan = reader.required<bool>("hasPlan"),
        .creatives = reader.required<QList<CreativeCanvasArtboard>>("creatives"),
        .isLaunched = reader.required<bool>("isLaunched"),
    };
}

} // namespace orvane
