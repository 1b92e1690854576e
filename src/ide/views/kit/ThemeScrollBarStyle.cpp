#include "ide/views/kit/ThemeScrollBarStyle.h"

#include <QPainter>
#include <QStyleOptionSlider>

#include <algorithm>

namespace orvane {

QColor ThemeScrollBarStyle::grooveColor(const QPalette &palette)
{
    return palette.color(QPalette::AlternateBase);
}

QColor ThemeScrollBarStyle::handleColor(const QPalette &palette, bool active)
{
    return palette.color(active ? QPalette::PlaceholderText : QPalette::Dark);
}

void ThemeScrollBarStyle::drawComplexControl(
    ComplexControl control, const QStyleOptionComplex *option, QPainter *painter, const QWidget *widget) const
{
    const auto *bar = qstyleoption_cast<const QStyleOptionSlider *>(option);
    if (control != CC_ScrollBar || !bar || !painter) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    paintScrollBar(*bar, *painter, widget);
}

void ThemeScrollBarStyle::paintScrollBar(const QStyleOptionSlider &bar, QPainter &painter, const QWidget *widget) const
{
    const bool horizontal = bar.orientation == Qt::Horizontal;
    const bool sunken = bar.state & State_Sunken;
    const auto active = [&bar](SubControl part) { return (bar.activeSubControls & part) != 0; };
    painter.save();
    painter.fillRect(bar.rect, grooveColor(bar.palette));

    // The arrows at both ends, on the groove; a held arrow darkens like a held handle.
    const bool reversed = horizontal && bar.direction == Qt::RightToLeft;
    const struct {
        SubControl part;
        PrimitiveElement arrow;
    } ends[] = {
        { SC_ScrollBarSubLine,
            horizontal ? (reversed ? PE_IndicatorArrowRight : PE_IndicatorArrowLeft) : PE_IndicatorArrowUp },
        { SC_ScrollBarAddLine,
            horizontal ? (reversed ? PE_IndicatorArrowLeft : PE_IndicatorArrowRight) : PE_IndicatorArrowDown },
    };
    for (const auto &end : ends) {
        if (!(bar.subControls & end.part))
            continue;
        const QRect rect = proxy()->subControlRect(CC_ScrollBar, &bar, end.part, widget);
        if (rect.isEmpty())
            continue;
        if (sunken && active(end.part))
            painter.fillRect(rect, handleColor(bar.palette, false));
        QStyleOption arrow(bar);
        arrow.rect = rect;
        const QColor ink = bar.palette.color(QPalette::PlaceholderText);
        arrow.palette.setColor(QPalette::WindowText, ink);
        arrow.palette.setColor(QPalette::ButtonText, ink);
        proxy()->drawPrimitive(end.arrow, &arrow, &painter, widget);
    }

    if (bar.subControls & SC_ScrollBarSlider) {
        const QRect slider = proxy()->subControlRect(CC_ScrollBar, &bar, SC_ScrollBarSlider, widget);
        // Inset across the bar, so the groove shows round the handle.
        const int inset = std::max(1, (horizontal ? slider.height() : slider.width()) / 4);
        const QRect handle = horizontal ? slider.adjusted(1, inset, -1, -inset) : slider.adjusted(inset, 1, -inset, -1);
        if (handle.isValid()) {
            const bool engaged = active(SC_ScrollBarSlider) && (sunken || (bar.state & State_MouseOver));
            const qreal radius = (horizontal ? handle.height() : handle.width()) / 2.0;
            painter.setRenderHint(QPainter::Antialiasing);
            painter.setPen(Qt::NoPen);
            painter.setBrush(handleColor(bar.palette, engaged));
            painter.drawRoundedRect(QRectF(handle), radius, radius);
        }
    }
    painter.restore();
}

} // namespace orvane
