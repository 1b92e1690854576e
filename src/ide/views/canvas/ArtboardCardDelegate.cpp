#include "ide/views/canvas/ArtboardCardDelegate.h"

#include "ide/records/CreativeCanvasArtboard.h"
#include "ide/views/canvas/ArtboardGridModel.h"
#include "ide/views/canvas/CardPainting.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {
namespace cp = card_painting;
namespace {

QFont platformFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont formatFont()
{
    return themeFont(9, QFont::Normal, true);
}
QFont statusFont()
{
    return themeFont(8, QFont::Bold, true);
}
QFont kickerFont()
{
    return themeFont(8, QFont::Bold, true);
}
QFont headlineFont()
{
    return themeFont(13, QFont::Bold);
}
QFont chipFont()
{
    return themeFont(9, QFont::Bold, true);
}

constexpr int rowSpacing = 8; // between the parts of a header or chip row
constexpr QMargins chipPadding { 7, 3, 7, 3 };

int headerHeight()
{
    return std::max({ cp::lineHeight(platformFont()), cp::lineHeight(formatFont()), cp::lineHeight(statusFont()) });
}

int chipHeight()
{
    return cp::lineHeight(chipFont()) + chipPadding.top() + chipPadding.bottom();
}

// Height of the preview panel's content for a card width.
int previewContentHeight(const QString &headline, int cardWidth)
{
    const int textWidth = cardWidth - 2 * ArtboardCardDelegate::padding - 2 * ArtboardCardDelegate::previewPadding;
    const int headlineHeight
        = cp::wrappedHeight(headline, headlineFont(), std::max(1, textWidth), ArtboardCardDelegate::headlineLineLimit);
    return cp::lineHeight(kickerFont()) + ArtboardCardDelegate::previewSpacing + headlineHeight
        + ArtboardCardDelegate::previewSpacing + chipHeight();
}

int previewHeight(const QString &headline, int cardWidth)
{
    return std::max(ArtboardCardDelegate::previewMinimumHeight,
        previewContentHeight(headline, cardWidth) + 2 * ArtboardCardDelegate::previewPadding);
}

} // namespace

const QString ArtboardCardDelegate::chipText = u"Launch Campaign IDE →"_s;

ArtboardCardDelegate::ArtboardCardDelegate(const ThemeSource &theme, QObject *parent)
    : CardActionDelegate(parent), m_theme(&theme)
{
}

QString ArtboardCardDelegate::title(const QString &platform, const QString &format)
{
    return platform + u" · "_s + format;
}

QString ArtboardCardDelegate::actionName(const QModelIndex &index) const
{
    return title(
        index.data(ArtboardGridModel::PlatformRole).toString(), index.data(ArtboardGridModel::FormatRole).toString());
}

QString ArtboardCardDelegate::cardDescription(const QModelIndex &index) const
{
    return index.data(ArtboardGridModel::HeadlineRole).toString() + u", "_s
        + statusLabel(index.data(ArtboardGridModel::ReviewStatusRole).toInt());
}

bool ArtboardCardDelegate::isChosen(const QModelIndex &index) const
{
    return index.data(ArtboardGridModel::SelectedRole).toBool();
}

QString ArtboardCardDelegate::statusLabel(int reviewStatus)
{
    return rawValue(CreativeReviewStatus(reviewStatus)).toUpper();
}

QString ArtboardCardDelegate::previewKicker(int width, int height)
{
    return u"ORVANE AD PREVIEW · "_s + QString::number(width) + u'×' + QString::number(height);
}

QString ArtboardCardDelegate::formatLine(const QString &format)
{
    return u"· "_s + format;
}

QSize ArtboardCardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = option.rect.width();
    const QString headline = index.data(ArtboardGridModel::HeadlineRole).toString();
    return { width, padding + headerHeight() + spacing + previewHeight(headline, width) + padding };
}

void ArtboardCardDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const QRect card = option.rect;
    const bool selected = index.data(ArtboardGridModel::SelectedRole).toBool();
    const auto status = CreativeReviewStatus(index.data(ArtboardGridModel::ReviewStatusRole).toInt());
    const QString headline = index.data(ArtboardGridModel::HeadlineRole).toString();

    painter->save();
    painter->fillRect(card, theme.panelBackground());

    // Header: platform, format, status at the right.
    const QRect inner = card.marginsRemoved({ padding, padding, padding, padding });
    const QRect header(inner.left(), inner.top(), inner.width(), headerHeight());
    const QString statusText = statusLabel(int(status));
    const int statusWidth = cp::textWidth(statusText, statusFont());
    cp::drawLine(*painter, header, statusText, statusFont(),
        status == CreativeReviewStatus::approved ? theme.accentEmerald() : theme.accentAmber(), Qt::AlignRight);
    const QRect leading = header.adjusted(0, 0, -(statusWidth + rowSpacing), 0);
    const int platformWidth = cp::drawLine(*painter, leading,
        index.data(ArtboardGridModel::PlatformRole).toString().toUpper(), platformFont(), theme.accentCyan());
    cp::drawLine(*painter, leading.adjusted(platformWidth + rowSpacing, 0, 0, 0),
        formatLine(index.data(ArtboardGridModel::FormatRole).toString()), formatFont(), theme.textMuted());

    // Preview panel, its content centred vertically.
    const QRect panel(
        inner.left(), header.bottom() + 1 + spacing, inner.width(), previewHeight(headline, card.width()));
    painter->fillRect(panel, theme.canvasBackground());
    cp::strokeInside(*painter, panel, theme.borderSubtle());
    const QRect content = panel.marginsRemoved({ previewPadding, previewPadding, previewPadding, previewPadding });
    int y = content.top() + (content.height() - previewContentHeight(headline, card.width())) / 2;
    const int kickerHeight = cp::lineHeight(kickerFont());
    cp::drawLine(*painter, QRect(content.left(), y, content.width(), kickerHeight),
        previewKicker(
            index.data(ArtboardGridModel::WidthRole).toInt(), index.data(ArtboardGridModel::HeightRole).toInt()),
        kickerFont(), theme.accentLime());
    y += kickerHeight + previewSpacing;
    const int headlineHeight = cp::wrappedHeight(headline, headlineFont(), content.width(), headlineLineLimit);
    cp::drawWrapped(*painter, QRect(content.left(), y, content.width(), headlineHeight), headline, headlineFont(),
        theme.textPrimary(), headlineLineLimit);
    y += headlineHeight + previewSpacing;
    const int chipWidth
        = std::min(content.width(), cp::textWidth(chipText, chipFont()) + chipPadding.left() + chipPadding.right());
    const QRect chip(content.left(), y, chipWidth, chipHeight());
    painter->fillRect(chip, OrvaneWebTheme::accentLimeFill());
    cp::drawLine(*painter, chip.marginsRemoved(chipPadding), chipText, chipFont(), QColor(Qt::black));

    if (selected)
        cp::strokeInside(*painter, card, OrvaneWebTheme::accentLimeFill(), 2);
    else
        cp::strokeInside(*painter, card, theme.borderSubtle(), 1);
    painter->restore();
}

} // namespace orvane
