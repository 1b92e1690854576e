#include "ide/records/CampaignIDESection.h"

namespace orvane {

QString title(CampaignIDESection section)
{
    switch (section) {
    case CampaignIDESection::document:
        return QStringLiteral("Campaign Plan");
    case CampaignIDESection::creativeStudio:
        return QStringLiteral("Creative Studio");
    case CampaignIDESection::reports:
        return QStringLiteral("Reports & Lift");
    case CampaignIDESection::approvals:
        return QStringLiteral("Approval Gates");
    case CampaignIDESection::localFiles:
        return QStringLiteral("Local Files");
    case CampaignIDESection::dashboard:
        return QStringLiteral("Dashboard");
    case CampaignIDESection::settings:
        return QStringLiteral("Settings");
    }
    return {};
}

QString icon(CreativeCanvasTool tool)
{
    switch (tool) {
    case CreativeCanvasTool::select:
        return QStringLiteral("arrow.up.left");
    case CreativeCanvasTool::frame:
        return QStringLiteral("square.dashed");
    case CreativeCanvasTool::rectangle:
        return QStringLiteral("rectangle");
    case CreativeCanvasTool::ellipse:
        return QStringLiteral("circle");
    case CreativeCanvasTool::text:
        return QStringLiteral("textformat");
    case CreativeCanvasTool::image:
        return QStringLiteral("photo.badge.plus");
    case CreativeCanvasTool::hand:
        return QStringLiteral("hand.raised");
    case CreativeCanvasTool::comment:
        return QStringLiteral("bubble.left");
    case CreativeCanvasTool::snap:
        return QStringLiteral("grid");
    }
    return {};
}

} // namespace orvane
