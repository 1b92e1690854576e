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
    enum class HitKind { artifactLink, toolRow, approve, reject, bodyText, copyFullText, openFullText };
    struct Hit {
        HitKind kind;
        QRectF rect;
        QUuid id; // the tool run of a tool row
        QString label; // what a control says, for the keyboard's and assistive technology's sake
    };
    // The hits that are controls (the body text is not), in reading order.
    [[nodiscard]] QList<int> controlHits() const;
    // The control hit of that kind (and tool run); -1 when the card has none.
    [[nodiscard]] int findControl(HitKind kind, const QUuid &id = {}) const;
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
    // Draws at `origin` in the theme's colours; pieces of `pressedHit` at opacity 0.82. Translucent
    // fills and strokes are blended beforehand over what lies beneath them (`backdrop` outside the
    // card), so the painter only ever fills opaquely.
    void paint(QPainter &painter, const QPointF &origin, const OrvaneWebTheme &theme, int pressedHit,
        const QColor &backdrop) const;
};

// A card shows at most this many characters of an entry's text; the stored text stays whole.
inline constexpr qsizetype timelineTextDisplayLimit = 20000;

// What a card shows of `text`: all of it, or its first timelineTextDisplayLimit characters.
[[nodiscard]] QString timelineDisplayText(const QString &text);

// The line under a cut text, saying how much is shown.
[[nodiscard]] QString timelineTruncationNotice(qsizetype totalCharacters);

// The card of one entry at a full width, tool runs expanded where `isExpanded` says.
[[nodiscard]] TimelineCardLayout layoutTimelineCard(
    const CampaignTimelineEntry &entry, qreal width, const std::function<bool(const QUuid &)> &isExpanded);

// The card's height at `width` guessed from character counts, without shaping any text: what a
// long timeline uses for cards far from the viewport until they are measured.
[[nodiscard]] qreal estimateTimelineCardHeight(
    const CampaignTimelineEntry &entry, qreal width, const std::function<bool(const QUuid &)> &isExpanded);

// Changes whenever anything the card draws of the entry changes (expanded tool runs included).
[[nodiscard]] size_t timelineCardFingerprint(
    const CampaignTimelineEntry &entry, const std::function<bool(const QUuid &)> &isExpanded);

// The status row under the cards while a turn runs; the spinner sits in `spinnerRect`.
[[nodiscard]] TimelineCardLayout layoutTimelineStatus(const QString &text, qreal width, QRectF *spinnerRect);

// Texts the card composes.
[[nodiscard]] QString toolDurationText(qint64 durationMs);
[[nodiscard]] QString approvalStatusText(CampaignInlineApproval::ApprovalDecision status);

} // namespace orvane
