#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>

namespace orvane {

// The section of a project the workspace shows. The order matters: the copilot maps a section to
// its surface by position.
enum class CampaignIDESection { document, creativeStudio, reports, approvals, localFiles, dashboard, settings };

// The display text ("Campaign Plan" for document); the raw value is the case name.
[[nodiscard]] QString title(CampaignIDESection section);

// The tools of the creative canvas, in toolbar order.
enum class CreativeCanvasTool { select, frame, rectangle, ellipse, text, image, hand, comment, snap };

// The symbol name of the tool's toolbar button.
[[nodiscard]] QString icon(CreativeCanvasTool tool);

} // namespace orvane

ORVANE_JSON_ENUM(orvane::CampaignIDESection, { orvane::CampaignIDESection::document, "document" },
    { orvane::CampaignIDESection::creativeStudio, "creativeStudio" },
    { orvane::CampaignIDESection::reports, "reports" }, { orvane::CampaignIDESection::approvals, "approvals" },
    { orvane::CampaignIDESection::localFiles, "localFiles" }, { orvane::CampaignIDESection::dashboard, "dashboard" },
    { orvane::CampaignIDESection::settings, "settings" })

ORVANE_JSON_ENUM(orvane::CreativeCanvasTool, { orvane::CreativeCanvasTool::select, "select" },
    { orvane::CreativeCanvasTool::frame, "frame" }, { orvane::CreativeCanvasTool::rectangle, "rectangle" },
    { orvane::CreativeCanvasTool::ellipse, "ellipse" }, { orvane::CreativeCanvasTool::text, "text" },
    { orvane::CreativeCanvasTool::image, "image" }, { orvane::CreativeCanvasTool::hand, "hand" },
    { orvane::CreativeCanvasTool::comment, "comment" }, { orvane::CreativeCanvasTool::snap, "snap" })
