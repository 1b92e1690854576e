#include "ide/views/window/WorkspaceTitles.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

using namespace Qt::StringLiterals;

namespace orvane {

QString activeProjectBreadcrumbTitle(const CampaignIDEWorkspaceModel &model)
{
    if (const auto &filter = model.projectFilterID()) {
        if (const CampaignIDEProject *project = model.project(*filter))
            return project->name;
    }
    if (const auto selected = model.selectedProject())
        return selected->name;
    return u"All Projects"_s;
}

QString destinationTitle(const CampaignIDEWorkspaceModel &model, const IDEPrimaryDestination &destination)
{
    switch (destination.kind()) {
    case IDEPrimaryDestination::Kind::thread:
        if (const std::optional<QUuid> id = destination.threadID()) {
            if (const CampaignIDEThread *thread = model.thread(*id))
                return thread->title;
        }
        return u"Campaign Thread"_s;
    case IDEPrimaryDestination::Kind::projects:
        return u"Projects & Operations Home"_s;
    case IDEPrimaryDestination::Kind::campaigns:
        return u"Campaigns & Multi-Channel Pacing"_s;
    case IDEPrimaryDestination::Kind::agents:
        return u"Specialist Ad Agents & Loops"_s;
    case IDEPrimaryDestination::Kind::assets:
        return u"Creative Asset Library"_s;
    case IDEPrimaryDestination::Kind::connections:
        return u"Ad Platform Connections & MCP"_s;
    case IDEPrimaryDestination::Kind::reports:
        return u"Attribution Reports & Lift"_s;
    case IDEPrimaryDestination::Kind::settings:
        return u"Workspace & Local Mode Settings"_s;
    }
    Q_UNREACHABLE();
    return {};
}

QString topBarCenterTitle(const CampaignIDEWorkspaceModel &model)
{
    return destinationTitle(model, model.primaryDestination());
}

} // namespace orvane
