#pragma once

#include <QColor>
#include <QPalette>

#include <array>

namespace orvane {

// The theme's named colours, for widgets that keep a colour role and resolve it when they paint.
enum class ThemeColor {
    canvasBackground,
    sidebarBackground,
    panelBackground,
    elevatedBackground,
    borderSubtle,
    borderStrong,
    textPrimary,
    textSecondary,
    textMuted,
    accentLime,
    accentLimeFill,
    accentCyan,
    accentAmber,
    accentCrimson,
    accentEmerald,
    cardHoverBackground,
};

// The colours every workspace view draws with, chosen by one flag (the workspace model's dark
// theme setting, never the desktop's appearance). A plain value: make one wherever it is needed.
class OrvaneWebTheme final {
public:
    constexpr explicit OrvaneWebTheme(bool isDark) : m_isDark(isDark) { }

    [[nodiscard]] constexpr bool isDark() const { return m_isDark; }

    [[nodiscard]] QColor canvasBackground() const { return pick(0xF8FAFC, 0x0A0E14); }
    [[nodiscard]] QColor sidebarBackground() const { return pick(0xF1F5F9, 0x0C111A); }
    [[nodiscard]] QColor panelBackground() const { return m_isDark ? rgb(0x0F172A) : QColor(Qt::white); }
    [[nodiscard]] QColor elevatedBackground() const { return pick(0xF1F5F9, 0x151F34); }
    // Translucent white in the dark theme: the border lightens whatever lies beneath it.
    [[nodiscard]] QColor borderSubtle() const { return m_isDark ? whiteAt(0.10) : rgb(0xE2E8F0); }
    [[nodiscard]] QColor borderStrong() const { return m_isDark ? whiteAt(0.20) : rgb(0xCBD5E1); }
    [[nodiscard]] QColor textPrimary() const { return pick(0x0F172A, 0xF1F5F9); }
    [[nodiscard]] QColor textSecondary() const { return pick(0x475569, 0x94A3B8); }
    [[nodiscard]] QColor textMuted() const { return pick(0x94A3B8, 0x64748B); }
    // Dark olive on light backgrounds, the bright lime on dark ones.
    [[nodiscard]] QColor accentLime() const { return pick(0x4D7C0F, 0xCCFF00); }
    // The bright lime in both themes, as a fill behind black text.
    [[nodiscard]] static QColor accentLimeFill() { return rgb(0xCCFF00); }
    [[nodiscard]] QColor accentCyan() const { return pick(0x0284C7, 0x00E5FF); }
    [[nodiscard]] static QColor accentAmber() { return rgb(0xF59E0B); }
    [[nodiscard]] static QColor accentCrimson() { return rgb(0xFF3366); }
    [[nodiscard]] static QColor accentEmerald() { return rgb(0x10B981); }
    [[nodiscard]] QColor cardHoverBackground() const { return pick(0xE8EEF5, 0x131D31); }

    [[nodiscard]] QColor color(ThemeColor role) const;

    // A palette in the theme's colours, so the toolkit's own controls (menus, text fields, scroll
    // bars) draw in the same appearance.
    [[nodiscard]] QPalette palette() const;

    bool operator==(const OrvaneWebTheme &) const = default;

private:
    [[nodiscard]] static QColor rgb(QRgb value) { return QColor::fromRgb(value); }
    [[nodiscard]] static QColor whiteAt(float opacity)
    {
        QColor white(Qt::white);
        white.setAlphaF(opacity);
        return white;
    }
    [[nodiscard]] QColor pick(QRgb light, QRgb dark) const { return rgb(m_isDark ? dark : light); }

    bool m_isDark;
};

// The colour with its opacity multiplied by `opacity` ("accentCyan at opacity 0.35").
[[nodiscard]] inline QColor withOpacity(QColor color, qreal opacity)
{
    color.setAlphaF(float(color.alphaF() * opacity));
    return color;
}

} // namespace orvane
