#pragma once

#include "ide/records/IDEPrimaryDestination.h"

#include <QString>

namespace orvane {

class CampaignIDEWorkspaceModel;

// The project in focus, for the project menu's label: the filtered project when the filter names
// one that exists, else the selected project, else "All Projects".
[[nodiscard]] QString activeProjectBreadcrumbTitle(const CampaignIDEWorkspaceModel &model);

// What a destination shows, by name: the thread's title (as stored, even when empty; "Campaign
// Thread" when the thread is gone) or the surface's title. The top bar's centre title and the
// placeholder of a surface not built yet both use it.
[[nodiscard]] QString destinationTitle(
    const CampaignIDEWorkspaceModel &model, const IDEPrimaryDestination &destination);

// The centre title of the top bar: the title of the model's current destination.
[[nodiscard]] QString topBarCenterTitle(const CampaignIDEWorkspaceModel &model);

} // namespace orvane
