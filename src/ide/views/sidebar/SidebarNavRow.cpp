#include "ide/views/sidebar/SidebarNavRow.h"

#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "platform/ui/Symbols.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace orvane {
namespace {

constexpr QMargins rowPadding { 8, 6, 8, 6 };
constexpr QMargins badgePadding { 6, 2, 6, 2 };
constexpr int iconFrameWidth = 16;
constexpr int symbolSize = 12;
constexpr int spacing = 9;

QFont titleFont(bool active)
{
    return themeFont(12, active ? QFont::Bold : QFont::Medium);
}
QFont badgeFont()
{
    return themeFont(10, QFont::DemiBold, true);
}

} // namespace

SidebarNavRow::SidebarNavRow(const ThemeSource &theme, const QString &title, const QString &symbol,
    const IDEPrimaryDestination &destination, QWidget *parent)
    : QAbstractButton(parent), m_theme(&theme), m_symbol(symbol), m_destination(destination)
{
    setText(title);
    setAccessibleName(title);
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    OrvaneClickableButtonStyle::apply(this);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void SidebarNavRow::setBadge(const std::optional<QString> &badge)
{
    if (badge == m_badge)
        return;
    m_badge = badge;
    updateGeometry();
    update();
}

void SidebarNavRow::setActive(bool active)
{
    if (active == m_active)
        return;
    m_active = active;
    update();
}

QSize SidebarNavRow::badgeSize() const
{
    if (!m_badge)
        return {};
    const QFontMetrics metrics(badgeFont());
    return { metrics.horizontalAdvance(*m_badge) + badgePadding.left() + badgePadding.right(),
        metrics.height() + badgePadding.top() + badgePadding.bottom() };
}

QSize SidebarNavRow::sizeHint() const
{
    const QFontMetrics title(titleFont(true));
    const QSize badge = badgeSize();
    const int content = std::max({ symbolSize, title.height(), badge.height() });
    const int width = rowPadding.left() + iconFrameWidth + spacing + title.horizontalAdvance(text())
        + (badge.isValid() ? spacing + badge.width() : 0) + rowPadding.right();
    return { width, rowPadding.top() + content + rowPadding.bottom() };
}

QSize SidebarNavRow::minimumSizeHint() const
{
    return { rowPadding.left() + iconFrameWidth + rowPadding.right(), sizeHint().height() };
}

void SidebarNavRow::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    QPainter painter(this);
    if (m_active)
        painter.fillRect(rect(), theme.elevatedBackground());

    const QRect content = rect().marginsRemoved(rowPadding);
    const qreal ratio = devicePixelRatioF();
    const QPixmap icon = ui::symbolPixmap(
        m_symbol, m_active ? theme.accentLime() : theme.textSecondary(), symbolSize, ratio, ui::SymbolWeight::semibold);
    painter.drawPixmap(QRect(content.left() + (iconFrameWidth - symbolSize) / 2,
                           content.top() + (content.height() - symbolSize) / 2, symbolSize, symbolSize),
        icon);

    int right = content.right() + 1;
    const QSize badge = badgeSize();
    if (m_badge) {
        const QRect box(right - badge.width(), content.top() + (content.height() - badge.height()) / 2, badge.width(),
            badge.height());
        paintFrame(painter, box, theme.panelBackground(), theme.borderSubtle());
        painter.setFont(badgeFont());
        painter.setPen(m_active ? theme.accentLime() : theme.textMuted());
        painter.drawText(box.marginsRemoved(badgePadding), Qt::AlignCenter | Qt::TextSingleLine, *m_badge);
        right = box.left() - spacing;
    }

    const int titleLeft = content.left() + iconFrameWidth + spacing;
    const QRect titleBox(titleLeft, content.top(), std::max(0, right - titleLeft), content.height());
    const QFont font = titleFont(m_active);
    painter.setFont(font);
    painter.setPen(m_active ? theme.textPrimary() : theme.textSecondary());
    painter.drawText(titleBox, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
        QFontMetrics(font).elidedText(text(), Qt::ElideRight, titleBox.width()));

    if (m_active)
        painter.fillRect(QRect(0, 0, 2, height()), theme.accentLimeFill());
}

SidebarSectionHeader::SidebarSectionHeader(const ThemeSource &theme, const QString &text, QWidget *parent)
    : QLabel(parent), m_theme(&theme)
{
    setTextFormat(Qt::PlainText);
    setText(text);
    QFont font = themeFont(10, QFont::Bold, true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1.1);
    setFont(font);
    setContentsMargins(8, 2, 8, 0);
    applyColor();
    connect(&theme, &ThemeSource::themeChanged, this, &SidebarSectionHeader::applyColor);
}

void SidebarSectionHeader::applyColor()
{
    if (!m_theme)
        return;
    QPalette colors = palette();
    colors.setColor(QPalette::WindowText, m_theme->color(ThemeColor::textMuted));
    setPalette(colors);
}

} // namespace orvane
