#pragma once

#include <QString>

class QAbstractButton;

namespace orvane {

// The one press style of the window's plain buttons: the label is drawn unchanged at full opacity,
// and at 0.82 while the button is held down. The whole rectangle of the button takes clicks: child
// widgets of its label (texts, symbols) let mouse events through to it. Nothing else changes: no
// scaling, colour or animation.
class OrvaneClickableButtonStyle final {
public:
    static constexpr qreal pressedOpacity = 0.82;

    OrvaneClickableButtonStyle() = delete;

    // Styles the button for its whole life. Children added to the label later are covered too.
    static void apply(QAbstractButton *button);

    // The opacity the button is drawn at now.
    [[nodiscard]] static qreal drawnOpacity(const QAbstractButton *button);
};

// A button text shown literally: an "&" stays an ampersand instead of marking a mnemonic.
[[nodiscard]] QString literalButtonText(const QString &text);

} // namespace orvane
