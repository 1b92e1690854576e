#include "ide/records/CreativeCanvasArtboard.h"

namespace orvane {

void CreativeCanvasArtboard::editHeadline(const QString &text)
{
    requiresRereview = requiresRereview || reviewStatus == CreativeReviewStatus::approved;
    headline = text;
    isDirty = true;
    reviewStatus = CreativeReviewStatus::needsReview;
}

void CreativeCanvasArtboard::setReviewStatus(CreativeReviewStatus status)
{
    reviewStatus = status;
    isDirty = false;
    requiresRereview = false;
}

void CreativeCanvasArtboard::encode(JsonObjectWriter &writer) const
{
    writer.field("id", id)
        .field("platform", platform)
        .field("format", format)
        .field("headline", headline)
        .field("width", width)
        .field("height", height)
        .field("reviewStatus", reviewStatus)
        .field("isDirty", isDirty)
        .field("requiresRereview", requiresRereview);
}

CreativeCanvasArtboard CreativeCanvasArtboard::decode(const JsonObjectReader &reader)
{
    return {
        .id = reader.required<QUuid>("id"),
        .platform = reader.required<QString>("platform"),
        .format = reader.required<QString>("format"),
        .headline = reader.required<QString>("headline"),
        .width = reader.required<int>("width"),
        .height = reader.required<int>("height"),
        .reviewStatus = reader.required<CreativeReviewStatus>("reviewStatus"),
        .isDirty = reader.required<bool>("isDirty"),
        .requiresRereview = reader.required<bool>("requiresRereview"),
    };
}

} // namespace orvane
