#include "ide/views/kit/OrvaneWebTheme.h"

namespace orvane {

QColor OrvaneWebTheme::color(ThemeColor role) const
{
    switch (role) {
    case ThemeColor::canvasBackground:
        return canvasBackground();
    case ThemeColor::sidebarBackground:
        return sidebarBackground();
    case ThemeColor::panelBackground:
        return panelBackground();
    case ThemeColor::elevatedBackground:
        return elevatedBackground();
    case ThemeColor::borderSubtle:
        return borderSubtle();
    case ThemeColor::borderStrong:
        return borderStrong();
    case ThemeColor::textPrimary:
        return textPrimary();
    case ThemeColor::textSecondary:
        return textSecondary();
    case ThemeColor::textMuted:
        return textMuted();
    case ThemeColor::accentLime:
        return accentLime();
    case ThemeColor::accentLimeFill:
        return accentLimeFill();
    case ThemeColor::accentCyan:
        return accentCyan();
    case ThemeColor::accentAmber:
        return accentAmber();
    case ThemeColor::accentCrimson:
        return accentCrimson();
    case ThemeColor::accentEmerald:
        return accentEmerald();
    case ThemeColor::cardHoverBackground:
        return cardHoverBackground();
    }
    Q_UNREACHABLE();
}

QPalette OrvaneWebTheme::palette() const
{
    QPalette palette;
    const auto set
        = [&palette](QPalette::ColorRole role, const QColor &color) { palette.setColor(QPalette::All, role, color); };
    set(QPalette::Window, canvasBackground());
    set(QPalette::WindowText, textPrimary());
    set(QPalette::Base, panelBackground());
    set(QPalette::AlternateBase, elevatedBackground());
    set(QPalette::Text, textPrimary());
    set(QPalette::PlaceholderText, textMuted());
    set(QPalette::Button, elevatedBackground());
    set(QPalette::ButtonText, textPrimary());
    set(QPalette::BrightText, accentCrimson());
    set(QPalette::ToolTipBase, elevatedBackground());
    set(QPalette::ToolTipText, textPrimary());
    set(QPalette::Highlight, accentLimeFill());
    set(QPalette::HighlightedText, QColor(Qt::black));
    set(QPalette::Link, accentCyan());
    set(QPalette::LinkVisited, accentCyan());
    // Opaque stand-ins for the translucent borders: frames are drawn over unknown backgrounds.
    set(QPalette::Mid, m_isDark ? QColor::fromRgb(0x2A3242) : QColor::fromRgb(0xE2E8F0));
    set(QPalette::Dark, m_isDark ? QColor::fromRgb(0x3F4757) : QColor::fromRgb(0xCBD5E1));
    set(QPalette::Light, elevatedBackground());
    set(QPalette::Midlight, elevatedBackground());
    set(QPalette::Shadow, QColor(Qt::black));
    palette.setColor(QPalette::Disabled, QPalette::WindowText, textMuted());
    palette.setColor(QPalette::Disabled, QPalette::Text, textMuted());
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, textMuted());
    return palette;
}

} // namespace orvane
