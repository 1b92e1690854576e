#pragma once

#include "ide/records/CampaignIDEProject.h"

#include <QString>

#include <optional>

namespace orvane {

// The plan text the raw markdown editor offers when the selected local file is empty or there is
// none: the project's name, budget, status, channels, objective and audience as markdown; without a
// project, the thread's title over stand-in values. Values go in verbatim.
[[nodiscard]] QString defaultPlanMarkdown(const std::optional<CampaignIDEProject> &project, const QString &threadTitle);

} // namespace orvane
