#include "ide/views/canvas/CompetitorAdCardDelegate.h"

#include "ide/views/canvas/CardPainting.h"
#include "ide/views/canvas/CompetitorAdListModel.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "platform/ui/Symbols.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {
namespace cp = card_painting;
namespace {

QFont channelFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont spendFont()
{
    return themeFont(10, QFont::Bold, true);
}
QFont runningFont()
{
    return themeFont(9, QFont::Normal, true);
}
QFont headlineFont()
{
    return themeFont(14, QFont::Bold);
}
QFont bodyFont()
{
    return themeFont(12);
}
QFont ctaFont()
{
    return themeFont(10, QFont::Normal, true);
}
QFont cloneFont()
{
    return themeFont(10, QFont::Bold);
}

constexpr int rowSpacing = 8;
constexpr int cloneSymbolSize = 10;
constexpr int cloneSymbolSpacing = 4;
constexpr QMargins clonePadding { 9, 5, 9, 5 };

int topRowHeight()
{
    return std::max({ cp::lineHeight(channelFont()), cp::lineHeight(spendFont()), cp::lineHeight(runningFont()) });
}

QSize cloneButtonSize()
{
    const int contentHeight = std::max(cloneSymbolSize, cp::lineHeight(cloneFont()));
    const int contentWidth
        = cloneSymbolSize + cloneSymbolSpacing + cp::textWidth(CompetitorAdCardDelegate::cloneText, cloneFont());
    return QSize(contentWidth, contentHeight).grownBy(clonePadding);
}

int bottomRowHeight()
{
    return std::max(cp::lineHeight(ctaFont()), cloneButtonSize().height());
}

int textWidthFor(int cardWidth)
{
    return std::max(1, cardWidth - 2 * CompetitorAdCardDelegate::padding);
}

} // namespace

const QString CompetitorAdCardDelegate::cloneText = u"Clone Hook to Canvas"_s;

CompetitorAdCardDelegate::CompetitorAdCardDelegate(const ThemeSource &theme, QObject *parent)
    : CardActionDelegate(parent), m_theme(&theme)
{
}

QString CompetitorAdCardDelegate::cardDescription(const QModelIndex &index) const
{
    return index.data(CompetitorAdListModel::ChannelRole).toString() + u" · Est. "_s
        + index.data(CompetitorAdListModel::EstimatedSpendRole).toString() + u", "_s
        + index.data(CompetitorAdListModel::BodyRole).toString();
}

QString CompetitorAdCardDelegate::runningText(qint64 days)
{
    return u"Running "_s + QString::number(days) + u'd';
}

QRect CompetitorAdCardDelegate::cloneButtonRect(const QRect &card)
{
    const QSize size = cloneButtonSize();
    const int rowTop = card.bottom() + 1 - padding - bottomRowHeight();
    return { card.right() + 1 - padding - size.width(), rowTop + (bottomRowHeight() - size.height()) / 2, size.width(),
        size.height() };
}

QSize CompetitorAdCardDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const int width = textWidthFor(option.rect.width());
    const int headline
        = cp::wrappedHeight(index.data(CompetitorAdListModel::HeadlineRole).toString(), headlineFont(), width);
    const int body = cp::wrappedHeight(index.data(CompetitorAdListModel::BodyRole).toString(), bodyFont(), width);
    return { option.rect.width(),
        padding + topRowHeight() + spacing + headline + spacing + body + spacing + bottomRowHeight() + padding };
}

void CompetitorAdCardDelegate::paint(
    QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    const QRect card = option.rect;
    const QRect inner = card.marginsRemoved({ padding, padding, padding, padding });
    painter->save();
    painter->fillRect(card, theme.panelBackground());

    // Channel, estimated spend, running days.
    QRect row(inner.left(), inner.top(), inner.width(), topRowHeight());
    const QString running = runningText(index.data(CompetitorAdListModel::RunningDaysRole).toLongLong());
    cp::drawLine(*painter, row, running, runningFont(), theme.textMuted(), Qt::AlignRight);
    const QRect leading = row.adjusted(0, 0, -(cp::textWidth(running, runningFont()) + rowSpacing), 0);
    const int channelWidth = cp::drawLine(*painter, leading,
        index.data(CompetitorAdListModel::ChannelRole).toString().toUpper(), channelFont(), theme.accentCyan());
    cp::drawLine(*painter, leading.adjusted(channelWidth + rowSpacing, 0, 0, 0),
        u"· Est. "_s + index.data(CompetitorAdListModel::EstimatedSpendRole).toString(), spendFont(),
        theme.accentLime());

    // Headline and body, wrapped.
    int y = row.bottom() + 1 + spacing;
    const QString headline = index.data(CompetitorAdListModel::HeadlineRole).toString();
    const int headlineHeight = cp::wrappedHeight(headline, headlineFont(), inner.width());
    cp::drawWrapped(
        *painter, QRect(inner.left(), y, inner.width(), headlineHeight), headline, headlineFont(), theme.textPrimary());
    y += headlineHeight + spacing;
    const QString body = index.data(CompetitorAdListModel::BodyRole).toString();
    cp::drawWrapped(*painter, QRect(inner.left(), y, inner.width(), cp::wrappedHeight(body, bodyFont(), inner.width())),
        body, bodyFont(), theme.textSecondary());

    // Call to action and the clone button.
    const QRect button = cloneButtonRect(card);
    row = QRect(inner.left(), inner.bottom() + 1 - bottomRowHeight(), inner.width(), bottomRowHeight());
    cp::drawLine(*painter, row.adjusted(0, 0, -(button.width() + rowSpacing), 0),
        u"CTA: "_s + index.data(CompetitorAdListModel::CTARole).toString(), ctaFont(), theme.textMuted());
    painter->save();
    if (m_pressed.isValid() && m_pressed == index)
        painter->setOpacity(painter->opacity() * OrvaneClickableButtonStyle::pressedOpacity);
    painter->fillRect(button, OrvaneWebTheme::accentLimeFill());
    const QRect content = button.marginsRemoved(clonePadding);
    const QPixmap symbol = ui::symbolPixmap(u"plus.rectangle.on.rectangle", QColor(Qt::black), cloneSymbolSize,
        painter->device() ? painter->device()->devicePixelRatioF() : 1.0);
    painter->drawPixmap(QRect(content.left(), content.top() + (content.height() - cloneSymbolSize) / 2, cloneSymbolSize,
                            cloneSymbolSize),
        symbol);
    cp::drawLine(*painter, content.adjusted(cloneSymbolSize + cloneSymbolSpacing, 0, 0, 0), cloneText, cloneFont(),
        QColor(Qt::black));
    painter->restore();

    cp::strokeInside(*painter, card, theme.borderSubtle());
    painter->restore();
}

bool CompetitorAdCardDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const auto repaint = [&option] {
        if (auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
            view->viewport()->update();
    };
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton && cloneButtonRect(option.rect).contains(mouse->position().toPoint())) {
            m_pressed = index;
            repaint();
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() != Qt::LeftButton || !m_pressed.isValid())
            break;
        const bool hit = m_pressed == index && cloneButtonRect(option.rect).contains(mouse->position().toPoint());
        m_pressed = QPersistentModelIndex();
        repaint();
        if (hit)
            Q_EMIT cloneRequested(index);
        return true;
    }
    default:
        break;
    }
    return CardActionDelegate::editorEvent(event, model, option, index);
}

} // namespace orvane
