#include "ide/views/timeline/TimelineCardLayout.h"

#include "ide/views/kit/LongText.h"
#include "ide/views/kit/ThemeFonts.h"
#include "kit/support/JsonCoding.h"
#include "platform/ui/Symbols.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <QVarLengthArray>

namespace orvane {

using namespace Qt::StringLiterals;
using Layout = TimelineCardLayout;
using Piece = TimelineCardLayout::Piece;
using Paint = TimelineCardLayout::Paint;
using HitKind = TimelineCardLayout::HitKind;

namespace {

constexpr qreal kCardPadding = 10;
constexpr qreal kSectionSpacing = 8;
constexpr qreal kPressedOpacity = 0.82;
// Less room than this beside the header's link, and the link goes under the author.
constexpr qreal kLeastAuthorWidth = 40;

Paint role(ThemeColor color, qreal opacity = 1.0)
{
    return Paint { color, opacity, std::nullopt };
}
Paint black()
{
    return Paint { ThemeColor::textPrimary, 1.0, QColor(Qt::black) };
}

// A symbol drawn at a font size takes about that size plus its side bearings.
qreal symbolSize(qreal fontSize)
{
    return std::round(fontSize + 2);
}

QFont mono(qreal size, QFont::Weight weight = QFont::Normal)
{
    return themeFont(size, weight, true);
}

qreal textWidth(const QString &text, const QFont &font)
{
    return QFontMetricsF(font).horizontalAdvance(text);
}
qreal lineHeight(const QFont &font)
{
    return QFontMetricsF(font).height();
}

// Where to end a line inside a word wider than the line: as many characters as fit, one at least;
// after a mark such as "/" or "(" when one fits, and never inside a figure (between two of its
// digits, separators or currency signs) unless the figure alone is wider than the line.
qsizetype cutInsideWord(
    const QString &text, qsizetype start, qsizetype wordEnd, const std::function<bool(qsizetype, qsizetype)> &fits)
{
    const auto figure
        = [](QChar c) { return c.isDigit() || c == u',' || c == u'.' || c.category() == QChar::Symbol_Currency; };
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    graphemes.setPosition(int(start));
    const qsizetype first = graphemes.toNextBoundary();
    qsizetype any = first;
    qsizetype outsideFigure = -1;
    qsizetype afterMark = -1;
    for (qsizetype next = first; next > 0 && next < wordEnd && fits(start, next); next = graphemes.toNextBoundary()) {
        any = next;
        const QChar before = text.at(next - 1);
        if (!(figure(before) && figure(text.at(next))))
            outsideFigure = next;
        if (!before.isLetterOrNumber() && !figure(before))
            afterMark = next;
    }
    return afterMark > start ? afterMark : outsideFigure > start ? outsideFigure : any;
}

// Where a short text's lines end when they break only at spaces: the length of each line, its
// trailing spaces (and line separator) included. A word wider than `width` is broken inside
// (cutInsideWord).
QList<qsizetype> lineLengthsAtSpaces(const QString &text, const QFont &font, qreal width)
{
    const QFontMetricsF metrics(font);
    const auto fits = [&](qsizetype from, qsizetype to) {
        return metrics.horizontalAdvance(text.mid(from, to - from)) <= width + 0.01;
    };
    QList<qsizetype> lengths;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start; // the line's end so far, past its trailing spaces
        bool separator = false;
        for (qsizetype word = start; word < text.size();) {
            qsizetype wordEnd = word;
            while (wordEnd < text.size() && text.at(wordEnd) != u' ' && text.at(wordEnd) != QChar::LineSeparator)
                ++wordEnd;
            if (end > start && !fits(start, wordEnd))
                break;
            if (end == start && !fits(start, wordEnd)) {
                end = cutInsideWord(text, start, wordEnd, fits);
                break;
            }
            end = wordEnd;
            while (end < text.size() && text.at(end) == u' ')
                ++end;
            if (end < text.size() && text.at(end) == QChar::LineSeparator) {
                ++end;
                separator = true;
                break;
            }
            word = end;
        }
        lengths.append(end - start);
        start = end;
        if (separator && start == text.size())
            lengths.append(0); // the empty line after a final separator
    }
    return lengths;
}

// The widest word of a text (words part at spaces and line ends).
qreal widestWord(const QString &text, const QFont &font)
{
    const QFontMetricsF metrics(font);
    qreal widest = 0;
    for (QStringView line : QStringView(text).tokenize(u'\n')) {
        for (QStringView word : line.tokenize(u' ', Qt::SkipEmptyParts))
            widest = std::max(widest, metrics.horizontalAdvance(word.toString()));
    }
    return widest;
}

class Builder {
public:
    Layout out;

    int hit(HitKind kind, const QRectF &rect, const QString &label, const QUuid &id = {})
    {
        out.hits.append({ kind, rect, id, labelText(label) });
        return int(out.hits.size()) - 1;
    }
    void fill(const QRectF &rect, Paint paint, int hitIndex = -1)
    {
        out.pieces.append({ Piece::Kind::fill, rect, paint, {}, {}, {}, hitIndex });
    }
    void stroke(const QRectF &rect, Paint paint, int hitIndex = -1)
    {
        out.pieces.append({ Piece::Kind::stroke, rect, paint, {}, {}, {}, hitIndex });
    }
    void box(const QRectF &rect, std::optional<Paint> fillPaint, std::optional<Paint> strokePaint, int hitIndex = -1)
    {
        if (fillPaint)
            fill(rect, *fillPaint, hitIndex);
        if (strokePaint)
            stroke(rect, *strokePaint, hitIndex);
    }
    // One line, elided at the right when the rectangle is narrower than the text.
    void text(const QRectF &rect, const QString &value, const QFont &font, Paint paint, int hitIndex = -1)
    {
        // Elided on every paint: a label's worth is all a line can show.
        out.pieces.append({ Piece::Kind::text, rect, paint, labelText(value), font, {}, hitIndex });
    }
    // Wrapped at `width`, never cut; returns its height. `atSpaces`: lines break only at spaces
    // (a figure such as "$24,750/mo" stays whole), inside a word only when it is wider than a line.
    qreal wrapped(
        const QPointF &at, qreal width, const QString &value, const QFont &font, Paint paint, bool atSpaces = false)
    {
        QString laidOut = value;
        laidOut.replace(u'\n', QChar::LineSeparator);
        auto layout = std::make_shared<QTextLayout>(laidOut, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        layout->setTextOption(option);
        layout->setCacheEnabled(true);
        const QList<qsizetype> lengths = atSpaces ? lineLengthsAtSpaces(laidOut, font, width) : QList<qsizetype>();
        qreal height = 0;
        layout->beginLayout();
        qsizetype lineIndex = 0;
        for (QTextLine line = layout->createLine(); line.isValid(); line = layout->createLine()) {
            if (atSpaces)
                line.setNumColumns(int(lengths.value(lineIndex++, laidOut.size())));
            else
                line.setLineWidth(std::max<qreal>(1, width));
            line.setPosition({ 0, height });
            height += line.height();
        }
        layout->endLayout();
        height = std::max(height, lineHeight(font));
        out.pieces.append(
            { Piece::Kind::wrappedText, QRectF(at, QSizeF(width, height)), paint, value, font, std::move(layout), -1 });
        return height;
    }
    void symbol(const QRectF &rect, const QString &name, Paint paint, int hitIndex = -1)
    {
        out.pieces.append({ Piece::Kind::symbol, rect, paint, name, {}, {}, hitIndex });
    }
};

QString statusSymbol(CampaignToolInvocation::ToolStatus status)
{
    return status == CampaignToolInvocation::ToolStatus::completed ? u"checkmark.circle.fill"_s : u"gearshape.2.fill"_s;
}

ThemeColor statusColor(CampaignToolInvocation::ToolStatus status)
{
    return status == CampaignToolInvocation::ToolStatus::completed ? ThemeColor::accentEmerald
                                                                   : ThemeColor::accentAmber;
}

ThemeColor decisionColor(CampaignInlineApproval::ApprovalDecision status)
{
    switch (status) {
    case CampaignInlineApproval::ApprovalDecision::approved:
        return ThemeColor::accentEmerald;
    case CampaignInlineApproval::ApprovalDecision::rejected:
        return ThemeColor::accentCrimson;
    case CampaignInlineApproval::ApprovalDecision::pending:
        break;
    }
    return ThemeColor::accentAmber;
}

// The header row: author, time, and the artifact link at the trailing edge. Returns its height.
qreal layoutHeader(Builder &b, const CampaignTimelineEntry &entry, qreal x, qreal y, qreal width)
{
    const bool user = entry.role == CampaignTimelineEntry::EntryRole::user;
    const QFont authorFont = mono(10, QFont::Bold);
    const QFont timeFont = mono(10);
    const QFont linkFont = mono(9, QFont::Bold);
    qreal height = lineHeight(authorFont);
    QRectF link;
    QString linkText;
    // In a narrow pane the link takes a row of its own under the author, at most as wide as the card.
    bool linkBelow = false;
    if (entry.artifactLink) {
        linkText = u"Open "_s + rawValue(*entry.artifactLink);
        const qreal iconSize = symbolSize(9);
        const qreal w = std::min(width, 6 + iconSize + 4 + textWidth(linkText, linkFont) + 6);
        const qreal h = std::max(iconSize, lineHeight(linkFont)) + 4;
        linkBelow = width - w < kLeastAuthorWidth;
        link = QRectF(linkBelow ? x : x + width - w, y, w, h);
        if (!linkBelow)
            height = std::max(height, h);
    }
    const qreal authorRight = link.isNull() || linkBelow ? x + width : link.left() - 6;
    const QString author = entry.authorName.toUpper();
    const qreal authorWidth = std::min(textWidth(author, authorFont), std::max<qreal>(0, authorRight - x));
    b.text(QRectF(x, y, authorWidth, height), author, authorFont,
        role(user ? ThemeColor::accentCyan : ThemeColor::accentLime));
    const qreal timeX = x + authorWidth + 6;
    const qreal timeWidth = std::min(textWidth(entry.timestamp, timeFont), std::max<qreal>(0, authorRight - timeX));
    b.text(QRectF(timeX, y, timeWidth, height), entry.timestamp, timeFont, role(ThemeColor::textMuted));
    if (entry.artifactLink) {
        if (linkBelow) {
            link.moveTop(y + height + 6);
            height += 6 + link.height();
        } else {
            link.moveTop(y + (height - link.height()) / 2);
        }
        const int hitIndex = b.hit(HitKind::artifactLink, link, linkText);
        b.box(link, role(ThemeColor::accentCyan, 0.12), role(ThemeColor::accentCyan, 0.35), hitIndex);
        const qreal iconSize = symbolSize(9);
        b.symbol(QRectF(link.left() + 6, link.center().y() - iconSize / 2, iconSize, iconSize),
            icon(*entry.artifactLink), role(ThemeColor::accentCyan), hitIndex);
        b.text(QRectF(link.left() + 6 + iconSize + 4, link.top(), link.width() - 16 - iconSize, link.height()),
            linkText, linkFont, role(ThemeColor::accentCyan), hitIndex);
    }
    return height;
}

qreal layoutToolRow(Builder &b, const CampaignToolInvocation &tool, bool expanded, qreal x, qreal y, qreal width)
{
    const QFont nameFont = mono(10, QFont::Bold);
    const QFont summaryFont = themeFont(10);
    const QFont durationFont = mono(9);
    const qreal statusIcon = symbolSize(10);
    const qreal chevron = symbolSize(8);
    const qreal rowHeight = std::max({ lineHeight(nameFont), statusIcon, lineHeight(summaryFont) }) + 10;
    const QRectF row(x, y, width, rowHeight);
    const int hitIndex = b.hit(HitKind::toolRow, row, tool.toolName + u" \u00B7 "_s + tool.summary, tool.id);
    b.box(row, role(ThemeColor::elevatedBackground), role(ThemeColor::borderSubtle), hitIndex);

    const QString duration = toolDurationText(tool.durationMs);
    const qreal durationWidth = textWidth(duration, durationFont);
    qreal left = x + 8;
    qreal right = x + width - 8;
    const qreal mid = row.center().y();
    b.symbol(QRectF(left, mid - statusIcon / 2, statusIcon, statusIcon), statusSymbol(tool.status),
        role(statusColor(tool.status)), hitIndex);
    left += statusIcon + 6;
    b.symbol(QRectF(right - chevron, mid - chevron / 2, chevron, chevron),
        expanded ? u"chevron.up"_s : u"chevron.down"_s, role(ThemeColor::textMuted), hitIndex);
    right -= chevron + 6;
    b.text(QRectF(right - durationWidth, row.top(), durationWidth, rowHeight), duration, durationFont,
        role(ThemeColor::textMuted), hitIndex);
    right -= durationWidth + 6;
    const qreal nameWidth = std::min(textWidth(tool.toolName, nameFont), std::max<qreal>(0, right - left));
    b.text(QRectF(left, row.top(), nameWidth, rowHeight), tool.toolName, nameFont, role(ThemeColor::textPrimary),
        hitIndex);
    left += nameWidth + 6;
    const QString summary = u"\u00B7 "_s + tool.summary;
    b.text(QRectF(left, row.top(), std::max<qreal>(0, right - left), rowHeight), summary, summaryFont,
        role(ThemeColor::textSecondary), hitIndex);
    qreal height = rowHeight;
    if (expanded) {
        const QFont detailFont = mono(10);
        const qreal top = y + rowHeight + 6;
        const qreal inner = width - 16;
        // Measure first: the box is drawn beneath the texts.
        const qsizetype boxIndex = b.out.pieces.size();
        b.box(QRectF(), role(ThemeColor::canvasBackground), role(ThemeColor::borderSubtle));
        qreal textTop = top + 8;
        // A label's worth of each: a preview may quote what the user typed (a domain in a draft).
        textTop += b.wrapped({ x + 8, textTop }, inner, labelText(u"INPUT: "_s + tool.inputPreview), detailFont,
                       role(ThemeColor::textSecondary))
            + 4;
        textTop += b.wrapped({ x + 8, textTop }, inner, labelText(u"OUTPUT: "_s + tool.outputPreview), detailFont,
            role(ThemeColor::accentLime));
        const QRectF details(x, top, width, textTop + 8 - top);
        b.out.pieces[boxIndex].rect = details;
        b.out.pieces[boxIndex + 1].rect = details;
        height = details.bottom() - y;
    }
    return height;
}

// The gate's decision buttons at their natural sizes.
struct GateButtons {
    QString approveText = u"Approve & Execute"_s;
    QString rejectText = u"Reject"_s;
    QFont approveFont = themeFont(11, QFont::Bold);
    QFont rejectFont = themeFont(11, QFont::DemiBold);
    qreal check = symbolSize(10);
    qreal approveWidth = 0;
    qreal rejectWidth = 0;
    qreal height = 0; // of one line of label
};

GateButtons gateButtonMetrics()
{
    GateButtons buttons;
    buttons.approveWidth = 10 + buttons.check + 5 + textWidth(buttons.approveText, buttons.approveFont) + 10;
    buttons.rejectWidth = 10 + textWidth(buttons.rejectText, buttons.rejectFont) + 10;
    buttons.height = std::max(buttons.check, lineHeight(buttons.approveFont)) + 10;
    return buttons;
}

qreal layoutGate(Builder &b, const CampaignInlineApproval &approval, qreal x, qreal y, qreal width)
{
    const qsizetype boxIndex = b.out.pieces.size();
    b.box(QRectF(), role(ThemeColor::elevatedBackground), role(ThemeColor::accentAmber, 0.5));
    const qreal left = x + 10;
    const qreal inner = width - 20;
    qreal top = y + 10;

    // Header: shield, platform, and the decision at the trailing edge.
    const QFont headerFont = mono(10, QFont::Bold);
    const QFont statusFont = mono(9, QFont::Bold);
    const qreal shield = symbolSize(13);
    const qreal headerHeight = std::max(shield, lineHeight(headerFont));
    const QString status = approvalStatusText(approval.status);
    const qreal statusWidth = textWidth(status, statusFont);
    b.symbol(QRectF(left, top + (headerHeight - shield) / 2, shield, shield), u"checkmark.shield.fill"_s,
        role(ThemeColor::accentAmber));
    const qreal platformLeft = left + shield + 8;
    b.text(QRectF(platformLeft, top, std::max<qreal>(0, inner - shield - 16 - statusWidth), headerHeight),
        u"EXECUTION GATE \u00B7 "_s + approval.platform.toUpper(), headerFont, role(ThemeColor::accentAmber));
    b.text(QRectF(left + inner - statusWidth, top, statusWidth, headerHeight), status, statusFont,
        role(decisionColor(approval.status)));
    top += headerHeight + 8;

    top += b.wrapped(
               { left, top }, inner, approval.title, themeFont(12, QFont::Bold), role(ThemeColor::textPrimary), true)
        + 8;

    // Before and after, side by side while each column holds its longest word; else one above the
    // other, so that no figure is broken inside.
    const QFont kickerFont = mono(9, QFont::Bold);
    const QFont beforeFont = themeFont(11);
    const QFont afterFont = themeFont(11, QFont::DemiBold);
    const qreal column = (inner - 10) / 2;
    const qreal kicker = lineHeight(kickerFont);
    const bool sideBySide = widestWord(approval.beforeSummary, beforeFont) <= column
        && widestWord(approval.afterSummary, afterFont) <= column && textWidth(u"BEFORE"_s, kickerFont) <= column;
    const auto figure = [&](const QString &title, Paint titlePaint, const QString &text, const QFont &font, Paint paint,
                            qreal at, qreal w) {
        b.text(QRectF(at, top, w, kicker), title, kickerFont, titlePaint);
        return kicker + 2 + b.wrapped({ at, top + kicker + 2 }, w, text, font, paint, true);
    };
    if (sideBySide) {
        const qreal before = figure(u"BEFORE"_s, role(ThemeColor::textMuted), approval.beforeSummary, beforeFont,
            role(ThemeColor::textSecondary), left, column);
        const qreal after = figure(u"AFTER"_s, role(ThemeColor::accentLime), approval.afterSummary, afterFont,
            role(ThemeColor::textPrimary), left + column + 10, column);
        top += std::max(before, after);
    } else {
        top += figure(u"BEFORE"_s, role(ThemeColor::textMuted), approval.beforeSummary, beforeFont,
                   role(ThemeColor::textSecondary), left, inner)
            + 8;
        top += figure(u"AFTER"_s, role(ThemeColor::accentLime), approval.afterSummary, afterFont,
            role(ThemeColor::textPrimary), left, inner);
    }

    if (approval.status == CampaignInlineApproval::ApprovalDecision::pending) {
        top += 8;
        const GateButtons buttons = gateButtonMetrics();
        // Side by side when both fit the gate, else one under the other; a button wider than the
        // gate takes its width and wraps its label at the space.
        const bool oneRow = buttons.approveWidth + 8 + buttons.rejectWidth <= inner;
        // The check mark gives way before a word of the label would break.
        const bool withCheck = 25 + buttons.check + widestWord(buttons.approveText, buttons.approveFont) <= inner;
        const qreal textLeft = withCheck ? 15 + buttons.check : 10;
        const qreal approveWidth
            = std::min(withCheck ? buttons.approveWidth : buttons.approveWidth - 5 - buttons.check, inner);
        const qreal approveTextWidth = approveWidth - textLeft - 10;
        // The fill goes beneath the label and takes its rectangle once the label is measured.
        const qsizetype fillIndex = b.out.pieces.size();
        b.fill(QRectF(), role(ThemeColor::accentLimeFill));
        const qreal labelHeight = b.wrapped(
            { left + textLeft, top }, approveTextWidth, buttons.approveText, buttons.approveFont, black(), true);
        const qsizetype labelIndex = b.out.pieces.size() - 1;
        const QRectF approve(left, top, approveWidth, std::max(buttons.check, labelHeight) + 10);
        const int approveHit = b.hit(HitKind::approve, approve, buttons.approveText);
        b.out.pieces[fillIndex].rect = approve;
        b.out.pieces[fillIndex].hit = approveHit;
        b.out.pieces[labelIndex].rect.moveTop(approve.center().y() - labelHeight / 2);
        b.out.pieces[labelIndex].hit = approveHit;
        if (withCheck) {
            b.symbol(
                QRectF(approve.left() + 10, approve.center().y() - buttons.check / 2, buttons.check, buttons.check),
                u"checkmark"_s, black(), approveHit);
        }

        const qreal rejectLeft = oneRow ? approve.right() + 8 : left;
        const qreal rejectTop = oneRow ? top : approve.bottom() + 8;
        const QRectF reject(rejectLeft, rejectTop, std::min(buttons.rejectWidth, inner), buttons.height);
        const int rejectHit = b.hit(HitKind::reject, reject, buttons.rejectText);
        b.box(reject, role(ThemeColor::elevatedBackground), role(ThemeColor::borderSubtle), rejectHit);
        b.text(reject.adjusted(10, 0, -10, 0), buttons.rejectText, buttons.rejectFont, role(ThemeColor::textSecondary),
            rejectHit);
        top = std::max(approve.bottom(), reject.bottom());
    }
    const QRectF gate(x, y, width, top + 10 - y);
    b.out.pieces[boxIndex].rect = gate;
    b.out.pieces[boxIndex + 1].rect = gate;
    return gate.height();
}

qreal linkButtonWidth(const QString &label)
{
    return 6 + textWidth(label, mono(9, QFont::Bold)) + 6;
}

// A small outlined button in the accent colour, as the header's artifact link; at most `maxWidth`
// wide, its label shortened with an ellipsis past that.
QRectF linkButton(Builder &b, HitKind kind, const QString &label, qreal x, qreal y, qreal maxWidth)
{
    const QFont font = mono(9, QFont::Bold);
    const QRectF rect(x, y, std::min(maxWidth, linkButtonWidth(label)), lineHeight(font) + 4);
    const int hitIndex = b.hit(kind, rect, label);
    b.box(rect, role(ThemeColor::accentCyan, 0.12), role(ThemeColor::accentCyan, 0.35), hitIndex);
    b.text(rect.adjusted(6, 0, -6, 0), label, font, role(ThemeColor::accentCyan), hitIndex);
    return rect;
}

// Under a cut text: how much is shown, and the ways to the whole text. Returns its height.
qreal layoutTruncation(Builder &b, qsizetype total, qreal x, qreal y, qreal width)
{
    const QFont font = themeFont(11);
    const qreal noticeHeight
        = b.wrapped({ x, y }, width, timelineTruncationNotice(total), font, role(ThemeColor::textMuted));
    const qreal buttonsTop = y + noticeHeight + 6;
    const QString copyText = u"Copy full text"_s;
    const QString openText = u"Open in Local Files"_s;
    const QRectF copy = linkButton(b, HitKind::copyFullText, copyText, x, buttonsTop, width);
    // Side by side when both fit, else one under the other.
    const bool oneRow = linkButtonWidth(copyText) + 8 + linkButtonWidth(openText) <= width;
    const QRectF open = linkButton(b, HitKind::openFullText, openText, oneRow ? copy.right() + 8 : x,
        oneRow ? buttonsTop : copy.bottom() + 6, width);
    return open.bottom() - y;
}

// Lines a text takes at `width`, guessed from its characters and the font's average width.
qreal estimatedLines(QStringView text, qreal averageWidth, qreal width)
{
    const qreal perLine = std::max<qreal>(1, std::floor(width / std::max<qreal>(1, averageWidth)));
    qreal lines = 0;
    for (QStringView paragraph : text.tokenize(u'\n'))
        lines += std::max<qreal>(1, std::ceil(qreal(paragraph.size()) / perLine));
    return std::max<qreal>(1, lines);
}

} // namespace

QString timelineDisplayText(const QString &text)
{
    if (text.size() <= timelineTextDisplayLimit)
        return text;
    qsizetype cut = timelineTextDisplayLimit;
    if (text.at(cut - 1).isHighSurrogate())
        --cut; // never split a character
    return text.left(cut);
}

QString timelineTruncationNotice(qsizetype totalCharacters)
{
    return u"Text truncated: showing the first %1 of %2 characters."_s.arg(timelineTextDisplayLimit)
        .arg(totalCharacters);
}

qreal estimateTimelineCardHeight(
    const CampaignTimelineEntry &entry, qreal width, const std::function<bool(const QUuid &)> &isExpanded)
{
    struct Metrics {
        qreal header, toolRow, body, bodyAverage, detail, detailAverage, small, smallAverage, kicker, button;
    };
    static const Metrics m = [] {
        const QFontMetricsF body(themeFont(12));
        const QFontMetricsF detail(mono(10));
        const QFontMetricsF small(themeFont(11));
        return Metrics {
            .header = lineHeight(mono(10, QFont::Bold)),
            .toolRow = std::max({ lineHeight(mono(10, QFont::Bold)), symbolSize(10), lineHeight(themeFont(10)) }) + 10,
            .body = body.height(),
            .bodyAverage = body.averageCharWidth(),
            .detail = detail.height(),
            .detailAverage = detail.averageCharWidth(),
            .small = small.height(),
            .smallAverage = small.averageCharWidth(),
            .kicker = lineHeight(mono(9, QFont::Bold)),
            .button = std::max(symbolSize(10), lineHeight(themeFont(11, QFont::Bold))) + 10,
        };
    }();
    const qreal inner = std::max<qreal>(40, width - 2 * kCardPadding);
    qreal y = 2 * kCardPadding + m.header;
    if (entry.artifactLink)
        y = std::max(y, 2 * kCardPadding + std::max(symbolSize(9), m.kicker) + 4);
    for (const CampaignToolInvocation &tool : entry.toolInvocations) {
        y += m.toolRow + 4;
        if (isExpanded && isExpanded(tool.id)) {
            const qreal lines = estimatedLines(tool.inputPreview, m.detailAverage, inner - 16)
                + estimatedLines(tool.outputPreview, m.detailAverage, inner - 16);
            y += 6 + 16 + 4 + lines * m.detail;
        }
    }
    if (!entry.toolInvocations.isEmpty())
        y += kSectionSpacing - 4;
    if (!entry.text.isEmpty()) {
        const QStringView shown = QStringView(entry.text).left(timelineTextDisplayLimit);
        y += kSectionSpacing + estimatedLines(shown, m.bodyAverage, inner) * m.body;
        if (entry.text.size() > timelineTextDisplayLimit)
            y += kSectionSpacing + 2 * m.small + 6 + m.kicker + 4;
    }
    if (const auto &gate = entry.inlineApproval) {
        const qreal gateInner = inner - 20;
        const qreal column = (gateInner - 10) / 2;
        y += kSectionSpacing + 10 + std::max(symbolSize(13), m.header) + 8
            + estimatedLines(gate->title, m.bodyAverage, gateInner) * m.body + 8 + m.kicker + 2;
        // The figures stand side by side, or one above the other in a narrow gate.
        if (widestWord(gate->beforeSummary, themeFont(11)) <= column
            && widestWord(gate->afterSummary, themeFont(11, QFont::DemiBold)) <= column) {
            y += std::max(estimatedLines(gate->beforeSummary, m.smallAverage, column),
                     estimatedLines(gate->afterSummary, m.smallAverage, column))
                * m.small;
        } else {
            y += (estimatedLines(gate->beforeSummary, m.smallAverage, gateInner)
                     + estimatedLines(gate->afterSummary, m.smallAverage, gateInner))
                    * m.small
                + 8 + m.kicker + 2;
        }
        y += 10;
        if (gate->status == CampaignInlineApproval::ApprovalDecision::pending) {
            const GateButtons buttons = gateButtonMetrics();
            y += 8 + m.button;
            if (buttons.approveWidth + 8 + buttons.rejectWidth > gateInner)
                y += 8 + m.button + (buttons.approveWidth > gateInner ? m.button - 10 : 0);
        }
    }
    return std::ceil(y);
}

size_t timelineCardFingerprint(const CampaignTimelineEntry &entry, const std::function<bool(const QUuid &)> &isExpanded)
{
    size_t seed = qHashMulti(0, int(entry.role), entry.authorName, entry.timestamp, entry.text.size(),
        QStringView(entry.text).left(timelineTextDisplayLimit), entry.artifactLink ? int(*entry.artifactLink) : -1);
    for (const CampaignToolInvocation &tool : entry.toolInvocations) {
        const bool expanded = isExpanded && isExpanded(tool.id);
        seed = qHashMulti(seed, tool.id, tool.toolName, tool.summary, int(tool.status), tool.durationMs, expanded);
        if (expanded)
            seed = qHashMulti(seed, tool.inputPreview, tool.outputPreview);
    }
    if (const auto &gate = entry.inlineApproval) {
        seed
            = qHashMulti(seed, gate->title, gate->platform, gate->beforeSummary, gate->afterSummary, int(gate->status));
    }
    return seed;
}

QString toolDurationText(qint64 durationMs)
{
    return QString::number(durationMs) + u"ms"_s;
}

QString approvalStatusText(CampaignInlineApproval::ApprovalDecision status)
{
    return rawValue(status).toUpper();
}

TimelineCardLayout layoutTimelineCard(
    const CampaignTimelineEntry &entry, qreal width, const std::function<bool(const QUuid &)> &isExpanded)
{
    Builder b;
    const bool user = entry.role == CampaignTimelineEntry::EntryRole::user;
    b.box(QRectF(), role(user ? ThemeColor::elevatedBackground : ThemeColor::panelBackground, user ? 0.75 : 1.0),
        role(user ? ThemeColor::accentCyan : ThemeColor::borderSubtle, user ? 0.3 : 1.0));
    const qreal x = kCardPadding;
    const qreal inner = std::max<qreal>(40, width - 2 * kCardPadding);
    qreal y = kCardPadding;
    y += layoutHeader(b, entry, x, y, inner);
    if (!entry.toolInvocations.isEmpty()) {
        y += kSectionSpacing;
        for (qsizetype i = 0; i < entry.toolInvocations.size(); ++i) {
            const CampaignToolInvocation &tool = entry.toolInvocations.at(i);
            y += layoutToolRow(b, tool, isExpanded && isExpanded(tool.id), x, y, inner);
            if (i + 1 < entry.toolInvocations.size())
                y += 4;
        }
    }
    if (!entry.text.isEmpty()) {
        y += kSectionSpacing;
        const qreal top = y;
        y += b.wrapped({ x, y }, inner, timelineDisplayText(entry.text), themeFont(12), role(ThemeColor::textPrimary));
        b.hit(HitKind::bodyText, QRectF(x, top, inner, y - top), {});
        if (entry.text.size() > timelineTextDisplayLimit)
            y += kSectionSpacing + layoutTruncation(b, entry.text.size(), x, y + kSectionSpacing, inner);
    }
    if (entry.inlineApproval) {
        y += kSectionSpacing;
        y += layoutGate(b, *entry.inlineApproval, x, y, inner);
    }
    y += kCardPadding;
    b.out.height = std::ceil(y);
    const QRectF card(0, 0, width, b.out.height);
    b.out.pieces[0].rect = card;
    b.out.pieces[1].rect = card;
    return b.out;
}

TimelineCardLayout layoutTimelineStatus(const QString &text, qreal width, QRectF *spinnerRect)
{
    Builder b;
    const QFont font = mono(11, QFont::DemiBold);
    const qreal spinner = 16;
    const qreal height = std::ceil(std::max(spinner, lineHeight(font)) + 20);
    const QRectF row(0, 0, width, height);
    b.box(row, role(ThemeColor::panelBackground), role(ThemeColor::accentLime, 0.4));
    if (spinnerRect)
        *spinnerRect = QRectF(10, (height - spinner) / 2, spinner, spinner);
    b.text(QRectF(10 + spinner + 8, 0, std::max<qreal>(0, width - 28 - spinner), height), text, font,
        role(ThemeColor::accentLime));
    b.out.height = height;
    return b.out;
}

int TimelineCardLayout::hitAt(const QPointF &point) const
{
    // Later hits lie on top (the body text comes after the rows it never overlaps anyway).
    for (qsizetype i = hits.size() - 1; i >= 0; --i) {
        if (hits.at(i).rect.contains(point))
            return int(i);
    }
    return -1;
}

std::optional<QRectF> TimelineCardLayout::hitRect(HitKind kind, const QUuid &id) const
{
    for (const Hit &h : hits) {
        if (h.kind == kind && (id.isNull() || h.id == id))
            return h.rect;
    }
    return std::nullopt;
}

QList<int> TimelineCardLayout::controlHits() const
{
    QList<int> controls;
    for (qsizetype i = 0; i < hits.size(); ++i) {
        if (hits.at(i).kind != HitKind::bodyText)
            controls.append(int(i));
    }
    return controls;
}

int TimelineCardLayout::findControl(HitKind kind, const QUuid &id) const
{
    for (qsizetype i = 0; i < hits.size(); ++i) {
        if (kind != HitKind::bodyText && hits.at(i).kind == kind && hits.at(i).id == id)
            return int(i);
    }
    return -1;
}

void TimelineCardLayout::paint(
    QPainter &painter, const QPointF &origin, const OrvaneWebTheme &theme, int pressedHit, const QColor &backdrop) const
{
    painter.save();
    painter.translate(origin);
    // The opaque fills drawn so far: a translucent piece is blended over the last one beneath it.
    QVarLengthArray<std::pair<QRectF, QColor>, 8> beneath;
    const auto blendedOver = [&](const QRectF &rect, const QColor &color) {
        QColor under = backdrop;
        for (auto it = beneath.crbegin(); it != beneath.crend(); ++it) {
            if (it->first.contains(rect)) {
                under = it->second;
                break;
            }
        }
        const qreal a = color.alphaF();
        return QColor::fromRgbF(float(color.redF() * a + under.redF() * (1 - a)),
            float(color.greenF() * a + under.greenF() * (1 - a)), float(color.blueF() * a + under.blueF() * (1 - a)));
    };
    for (const Piece &piece : pieces) {
        QColor color = piece.paint.fixed.value_or(theme.color(piece.paint.role));
        color = withOpacity(
            color, piece.paint.opacity * (piece.hit >= 0 && piece.hit == pressedHit ? kPressedOpacity : 1.0));
        switch (piece.kind) {
        case Piece::Kind::fill:
            if (color.alpha() < 255)
                color = blendedOver(piece.rect, color);
            painter.fillRect(piece.rect, color);
            beneath.append({ piece.rect, color });
            break;
        case Piece::Kind::stroke: {
            if (color.alpha() < 255)
                color = blendedOver(piece.rect, color);
            // Four one-pixel fills: an opaque rectangle fill never goes through span blending.
            const QRect r = piece.rect.toAlignedRect();
            painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), color);
            painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), color);
            painter.fillRect(QRect(r.left(), r.top() + 1, 1, r.height() - 2), color);
            painter.fillRect(QRect(r.right(), r.top() + 1, 1, r.height() - 2), color);
            break;
        }
        case Piece::Kind::text: {
            if (piece.rect.width() <= 0)
                break;
            painter.setFont(piece.font);
            painter.setPen(color);
            const QString shown
                = QFontMetricsF(piece.font).elidedText(piece.text, Qt::ElideRight, piece.rect.width() + 0.5);
            painter.drawText(piece.rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
            break;
        }
        case Piece::Kind::wrappedText:
            painter.setFont(piece.font);
            painter.setPen(color);
            piece.wrapped->draw(&painter, piece.rect.topLeft());
            break;
        case Piece::Kind::symbol: {
            const int size = int(std::round(piece.rect.width()));
            painter.drawPixmap(piece.rect.topLeft(),
                ui::symbolPixmap(
                    piece.text, color, size, painter.device() ? painter.device()->devicePixelRatioF() : 1.0));
            break;
        }
        }
    }
    painter.restore();
}

} // namespace orvane
