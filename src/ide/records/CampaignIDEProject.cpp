#include "ide/records/CampaignIDEProject.h"

#include <algorithm>

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

namespace {

bool isAmountCharacter(QChar c)
{
    return (c >= u'0' && c <= u'9') || c == u',';
}

// Where the first match of \$[0-9,]+k? lies in text, as start and length.
std::optional<std::pair<qsizetype, qsizetype>> firstAmount(const QString &text)
{
    const qsizetype length = text.size();
    for (qsizetype start = text.indexOf(u'$'); start >= 0; start = text.indexOf(u'$', start + 1)) {
        qsizetype end = start + 1;
        while (end < length && isAmountCharacter(text.at(end)))
            ++end;
        if (end == start + 1)
            continue;
        if (end < length && text.at(end) == u'k')
            ++end;
        return std::pair { start, end - start };
    }
    return std::nullopt;
}

} // namespace

QString CampaignIDEProject::budget() const
{
    const auto amount = firstAmount(channelsAndBudget);
    return amount ? channelsAndBudget.mid(amount->first, amount->second) : QStringLiteral("$45,000");
}

void CampaignIDEProject::replaceBudget(const QString &amount)
{
    if (const auto current = firstAmount(channelsAndBudget))
        channelsAndBudget.replace(current->first, current->second, amount);
    else
        channelsAndBudget = channelsAndBudget.isEmpty() ? amount : channelsAndBudget + u" · " + amount;
}

std::optional<QString> CampaignIDEProject::normalizedBudget(const QString &text)
{
    QString body = text.trimmed();
    if (body.startsWith(u'$'))
        body.remove(0, 1);
    if (body.endsWith(u'K'))
        body.back() = u'k';
    const QString digits = body.endsWith(u'k') ? body.chopped(1) : body;
    if (digits.isEmpty() || !digits.front().isDigit()
        || !std::all_of(digits.cbegin(), digits.cend(), isAmountCharacter))
        return std::nullopt;
    return u'$' + body;
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
