#pragma once

#include <QProxyStyle>

class QStyleOptionSlider;

namespace orvane {

// The platform's style with flat scroll bars drawn from the palette they stand in: a groove of
// QPalette::AlternateBase, a rounded handle of QPalette::Dark that deepens to
// QPalette::PlaceholderText under the mouse or while dragged, and arrows in PlaceholderText. In the
// workspace's palette that is a handle darker than its groove in the light theme and lighter in the
// dark one, so the handle, not the empty groove, reads as the part to drag.
class ThemeScrollBarStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option, QPainter *painter,
        const QWidget *widget = nullptr) const override;

    [[nodiscard]] static QColor grooveColor(const QPalette &palette);
    [[nodiscard]] static QColor handleColor(const QPalette &palette, bool active);

private:
    void paintScrollBar(const QStyleOptionSlider &bar, QPainter &painter, const QWidget *widget) const;
};

} // namespace orvane
