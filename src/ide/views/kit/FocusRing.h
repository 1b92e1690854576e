#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

class QWidget;

namespace orvane {

class ThemeSource;

// Where the keyboard's ring sits on a control that has the focus from the keyboard.
enum class FocusRingPlacement {
    // The control draws its focus itself (a list's current row, a text field's caret and border).
    none,
    // Around the control, just outside its edge, so the ring never covers its label: buttons.
    around,
    // Just inside the edge: a page that scrolls, whose edges hold no text.
    inside,
};

// Shows the keyboard's ring on the focused control of a window and of the sheets it opens: a
// 2-pixel ring in the theme's accent, drawn by a widget of the control's window laid over it, so a
// button with no padding keeps its label clear. The ring follows the control as it moves (layouts,
// scrolling, sliding columns) and is cut where a scrolling list cuts the control. It shows only when
// the keyboard brought the focus (Tab, a shortcut), as the toolkit's own controls do.
class FocusRingController final : public QObject {
    Q_OBJECT
public:
    // Rings the focused controls of `scope` and of the windows it parents.
    FocusRingController(QWidget *scope, const ThemeSource &theme);
    ~FocusRingController() override;

    // Buttons are ringed around and pages that scroll inside; everything else draws its own focus.
    // A control can say otherwise for itself.
    static void setPlacement(QWidget *control, FocusRingPlacement placement);
    [[nodiscard]] static FocusRingPlacement placementOf(const QWidget *control);

    static constexpr int ringWidth = 2;
    // Clear space between a ringed control and its ring.
    static constexpr int ringGap = 2;
    static constexpr int ringReach = ringGap + ringWidth;

    // The ring shown now, in its window's coordinates, cut as it is drawn; null when none shows.
    [[nodiscard]] QRect shownRing() const;
    [[nodiscard]] QWidget *ringedControl() const { return m_control; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void focusChanged(QWidget *now);
    void follow(QWidget *control);
    void unfollow();
    void place();
    [[nodiscard]] bool inScope(const QWidget *widget) const;

    QPointer<QWidget> m_scope;
    QPointer<const ThemeSource> m_theme;
    QPointer<QWidget> m_control;
    // The control and its parents up to its window, whose moves move the ring.
    QList<QPointer<QWidget>> m_watched;
    // The ring: a widget of the control's window, made when first needed.
    QPointer<QWidget> m_frame;
};

} // namespace orvane
