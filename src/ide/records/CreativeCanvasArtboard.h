#pragma once

#include "kit/support/JsonCoding.h"

#include <QString>
#include <QUuid>

namespace orvane {

// Review decision on an artboard; the raw value is also the label ("Needs changes" for rejected).
enum class CreativeReviewStatus { needsReview, approved, rejected };

// One ad artboard of a project's creative canvas.
struct CreativeCanvasArtboard {
    QUuid id = {};
    QString platform = {};
    QString format = {};
    QString headline = {};
    int width = 0;
    int height = 0;
    CreativeReviewStatus reviewStatus = CreativeReviewStatus::needsReview;
    bool isDirty = false; // headline edited since the last review decision
    bool requiresRereview = false; // headline edited after approval

    // Counts towards launching only when approved and not edited since.
    [[nodiscard]] bool isApprovedForLaunch() const
    {
        return reviewStatus == CreativeReviewStatus::approved && !isDirty;
    }

    // A new headline sends the artboard back to review; an approved one must be reviewed again.
    void editHeadline(const QString &text);
    // A review decision settles the edit flags.
    void setReviewStatus(CreativeReviewStatus status);

    void encode(JsonObjectWriter &writer) const;
    [[nodiscard]] static CreativeCanvasArtboard decode(const JsonObjectReader &reader);

    bool operator==(const CreativeCanvasArtboard &) const = default;
};

} // namespace orvane

ORVANE_JSON_ENUM(orvane::CreativeReviewStatus, { orvane::CreativeReviewStatus::needsReview, "Needs review" },
    { orvane::CreativeReviewStatus::approved, "Approved" }, { orvane::CreativeReviewStatus::rejected, "Needs changes" })
