#include "ide/views/kit/Panel.h"

#include "ide/views/kit/ThemeSource.h"

#include <QPainter>

namespace orvane {

void paintFrame(
    QPainter &painter, const QRect &rect, const std::optional<QColor> &fill, const std::optional<QColor> &stroke)
{
    if (fill)
        painter.fillRect(rect, *fill);
    if (stroke && !rect.isEmpty()) {
        // Four edges that do not overlap, so a translucent stroke has no brighter corners.
        painter.fillRect(rect.x(), rect.y(), rect.width(), 1, *stroke);
        if (rect.height() > 1)
            painter.fillRect(rect.x(), rect.bottom(), rect.width(), 1, *stroke);
        painter.fillRect(rect.x(), rect.y() + 1, 1, rect.height() - 2, *stroke);
        if (rect.width() > 1)
            painter.fillRect(rect.right(), rect.y() + 1, 1, rect.height() - 2, *stroke);
    }
}

void paintPanel(QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme, const PanelLook &look)
{
    const auto resolve = [&](std::optional<ThemeColor> role, qreal opacity) -> std::optional<QColor> {
        if (!role)
            return std::nullopt;
        return withOpacity(theme.color(*role), opacity);
    };
    paintFrame(painter, rect, resolve(look.fill, look.fillOpacity), resolve(look.stroke, look.strokeOpacity));
}

Panel::Panel(const ThemeSource &theme, ThemeColor fill, QWidget *parent)
    : Panel(theme, PanelLook { .fill = fill }, parent)
{
}

Panel::Panel(const ThemeSource &theme, const PanelLook &look, QWidget *parent)
    : QWidget(parent), m_theme(&theme), m_look(look)
{
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

void Panel::setLook(const PanelLook &look)
{
    if (m_look == look)
        return;
    m_look = look;
    update();
}

void Panel::setFill(ThemeColor fill, qreal opacity)
{
    PanelLook look = m_look;
    look.fill = fill;
    look.fillOpacity = opacity;
    setLook(look);
}

void Panel::setStroke(std::optional<ThemeColor> stroke, qreal opacity)
{
    PanelLook look = m_look;
    look.stroke = stroke;
    look.strokeOpacity = opacity;
    setLook(look);
}

void Panel::paintEvent(QPaintEvent *)
{
    if (!m_theme)
        return;
    QPainter painter(this);
    paintPanel(painter, rect(), m_theme->theme(), m_look);
}

} // namespace orvane
