#include "ide/copilot/CampaignCopilotContext.h"

#include <QHashFunctions>

#include <array>
#include <utility>

namespace orvane {
namespace {

constexpr std::array<std::pair<CampaignCopilotSurface, const char16_t *>, 8> surfaceNames { {
    { CampaignCopilotSurface::projectsHome, u"Projects" },
    { CampaignCopilotSurface::plan, u"Plan" },
    { CampaignCopilotSurface::creative, u"Creative Canvas" },
    { CampaignCopilotSurface::reports, u"Reports" },
    { CampaignCopilotSurface::approvals, u"Approval Gates" },
    { CampaignCopilotSurface::localFiles, u"Local Files" },
    { CampaignCopilotSurface::dashboard, u"Dashboard" },
    { CampaignCopilotSurface::settings, u"Settings" },
} };

} // namespace

size_t qHash(const CampaignCopilotScopeKey &key, size_t seed)
{
    return qHashMulti(
        seed, key.principalID, key.workspaceID, key.projectID.value_or(QUuid()), key.projectID.has_value());
}

QString rawValue(CampaignCopilotSurface surface)
{
    for (const auto &[value, name] : surfaceNames) {
        if (value == surface)
            return QString::fromUtf16(name);
    }
    return {};
}

std::optional<CampaignCopilotScopeKey> CampaignCopilotContext::scopeKey() const
{
    if (!isFresh || !principalID || principalID->isEmpty() || !workspaceID || workspaceID->isEmpty())
        return std::nullopt;
    return CampaignCopilotScopeKey { *principalID, *workspaceID, projectID };
}

} // namespace orvane
