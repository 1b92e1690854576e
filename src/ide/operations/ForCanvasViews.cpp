// The creative canvas inspector's edits, each aimed at one artboard of the selected project.

#include "ide/model/CampaignIDEWorkspaceModel.h"

#include <algorithm>

namespace orvane {
namespace {

bool selectedProjectHolds(const CampaignIDEWorkspaceModel &model, const QUuid &artboardID)
{
    const auto project = model.selectedProject();
    return project
        && std::any_of(project->creatives.cbegin(), project->creatives.cend(),
            [&artboardID](const CreativeCanvasArtboard &artboard) { return artboard.id == artboardID; });
}

} // namespace

void CampaignIDEWorkspaceModel::setArtboardReviewStatus(QUuid artboardID, CreativeReviewStatus status)
{
    if (!selectedProjectHolds(*this, artboardID))
        return;
    setSelectedArtboardID(artboardID);
    setSelectedArtboardReview(status);
}

void CampaignIDEWorkspaceModel::updateArtboardHeadline(QUuid artboardID, const QString &text)
{
    if (!selectedProjectHolds(*this, artboardID))
        return;
    setSelectedArtboardID(artboardID);
    updateSelectedHeadline(text);
}

} // namespace orvane
