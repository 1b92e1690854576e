#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/Panel.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QPainter;

namespace orvane {

class ThemeSource;

// How a panel is drawn: a flat fill and a 1-pixel square stroke inside its edge, each a theme role
// at an opacity, each optional. No radius and no shadow: every surface of the window is square.
struct PanelLook {
    std::optional<ThemeColor> fill = std::nullopt;
    qreal fillOpacity = 1.0;
    std::optional<ThemeColor> stroke = std::nullopt;
    qreal strokeOpacity = 1.0;

    friend bool operator==(const PanelLook &, const PanelLook &) = default;
};

// Draws `look` over `rect`; widgets and delegates that paint more than a panel start with it.
void paintPanel(QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme, const PanelLook &look);
// The same with colours already resolved.
void paintFrame(
    QPainter &painter, const QRect &rect, const std::optional<QColor> &fill, const std::optional<QColor> &stroke);

// A region drawn as a PanelLook in the window's theme, repainted when the theme changes; children
// sit inside the stroke. Views that are a filled or outlined region derive from it.
class Panel : public QWidget {
    Q_OBJECT
public:
    Panel(const ThemeSource &theme, ThemeColor fill, QWidget *parent = nullptr);
    Panel(const ThemeSource &theme, const PanelLook &look, QWidget *parent = nullptr);

    [[nodiscard]] const PanelLook &look() const { return m_look; }
    void setLook(const PanelLook &look);
    void setFill(ThemeColor fill, qreal opacity = 1.0);
    void setStroke(std::optional<ThemeColor> stroke, qreal opacity = 1.0);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    PanelLook m_look;
};

} // namespace orvane
