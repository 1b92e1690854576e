#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "platform/ui/Symbols.h"

#include <QAbstractButton>
#include <QPointer>

#include <optional>

class QBoxLayout;
class QLabel;
class QPainter;

namespace orvane {

class ThemeSource;
class SymbolView;

// A plain button whose label is a row of symbols and texts, optionally on a flat fill inside a
// square 1-pixel stroke, in OrvaneClickableButtonStyle. Colours are theme roles resolved when
// painting, so the button follows the theme in place.
class ClickableButton final : public QAbstractButton {
    Q_OBJECT
public:
    struct Look {
        std::optional<ThemeColor> fill;
        qreal fillOpacity = 1.0;
        std::optional<ThemeColor> stroke;
        qreal strokeOpacity = 1.0;
        QMargins padding { 8, 5, 8, 5 };
        int spacing = 5;
    };

    explicit ClickableButton(const ThemeSource &themeSource, QWidget *parent = nullptr);
    ClickableButton(const ThemeSource &themeSource, const Look &look, QWidget *parent = nullptr);

    void setLook(const Look &look);
    [[nodiscard]] const Look &look() const { return m_look; }

    // Label parts, appended left to right. Texts are plain (never rich text, "&" shown as is).
    SymbolView *addSymbol(
        const QString &symbol, ThemeColor color, int size, ui::SymbolWeight weight = ui::SymbolWeight::regular);
    QLabel *addText(const QString &text, const QFont &font, ThemeColor color);
    // A text in a colour the theme does not name (black on the lime fill, in both themes).
    QLabel *addText(const QString &text, const QFont &font, const QColor &fixedColor);
    void addStretch();
    // For label parts that are not texts or symbols.
    void addWidget(QWidget *widget);

    // A double click presses the button once, for a button whose every press makes something (a
    // second press in the same double click would make it twice).
    void setDoubleClickPressesOnce(bool once) { m_doubleClickPressesOnce = once; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    [[nodiscard]] bool hitButton(const QPoint &pos) const override;

private:
    void applyTextColors();

    QPointer<const ThemeSource> m_themeSource;
    Look m_look;
    QBoxLayout *m_row;
    bool m_doubleClickPressesOnce = false;
};

// The keyboard's focus ring of a row that a list paints as a button, drawn just inside `rect` (the
// row's padding keeps its texts clear); `fill` is what the ring is drawn on, when known. Button
// widgets are ringed around instead (FocusRingController).
void paintButtonFocusRing(QPainter &painter, const QRect &rect, const OrvaneWebTheme &theme,
    const std::optional<QColor> &fill = std::nullopt);

// The same ring in a colour already chosen (a list that has its colours from its palette).
void paintFocusRingFrame(QPainter &painter, const QRect &rect, const QColor &color);

// The ring's colour: the theme's accent, unless it stands out too little from `fill` (a contrast
// below 3:1), then black or white.
[[nodiscard]] QColor focusRingColor(const OrvaneWebTheme &theme, const std::optional<QColor> &fill);

// The contrast ratio of two colours, from 1 (the same luminance) to 21 (black on white).
[[nodiscard]] qreal contrastRatio(const QColor &a, const QColor &b);

} // namespace orvane
