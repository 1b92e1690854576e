#pragma once

#include "ide/records/CampaignTimelineEntry.h"
#include "ide/views/kit/OrvaneWebTheme.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QString>
#include <QUuid>

#include <functional>
#include <memory>
#include <optional>

class QPainter;
class QTextLayout;

namespace orvane {

// One timeline card measured for one width: what to draw, where, and which rectangles take clicks.
// Colours stay theme roles until painted, so a theme flip needs no new measurement.
struct TimelineCardLayout {
    enum class HitKind { artifactLink, toolRow, approve, reject, bodyText };
    struct Hit {
        HitKind kind;
        QRectF rect;
        QUuid id; // the tool run of a tool row
    };
    struct Paint {
        ThemeColor role = ThemeColor::textPrimary;
        qreal opacity = 1.0;
        std::optional<QColor> fixed; // black on the lime fill
    };
    struct Piece {
        enum class Kind { fill, stroke, text, wrappedText, symbol } kind;
        QRectF rect;
        Paint paint;
        QString text; // text, or the symbol's name
        QFont font;
        std::shared_ptr<QTextLayout> wrapped;
        int hit = -1; // drawn pressed while this hit is held down
    };

    QList<Piece> pieces;
    QList<Hit> hits;
    qreal height = 0;

    [[nodiscard]] int hitAt(const QPointF &point) const;
    [[nodiscard]] std::optional<QRectF> hitRect(HitKind kind, const QUuid &id = {}) const;
    // Draws at `origin` in the theme's colours; pieces of `pressedHit` at opacity 0.82.
    void paint(QPainter &painter, const QPointF &origin, const OrvaneWebTheme &theme, int pressedHit) const;
};

// The card of one entry at a full width, tool runs expanded where `isExpanded` says.
[[nodiscard]] TimelineCardLayout layoutTimelineCard(
    const CampaignTimelineEntry &entry, qreal width, const std::function<bool(const QUuid &)> &isExpanded);

// The status row under the cards while a turn runs; the spinner sits in `spinnerRect`.
[[nodiscard]] TimelineCardLayout layoutTimelineStatus(const QString &text, qreal width, QRectF *spinnerRect);

// Texts the card composes.
[[nodiscard]] QString toolDurationText(qint64 durationMs);
[[nodiscard]] QString approvalStatusText(CampaignInlineApproval::ApprovalDecision status);

} // namespace orvane
