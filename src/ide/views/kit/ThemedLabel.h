#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QLabel>
#include <QPointer>
#include <QString>

namespace orvane {

class ThemeSource;

// One plain-text label in a font and a theme colour that follows the theme in place.
class ThemedLabel final : public QLabel {
    Q_OBJECT
public:
    ThemedLabel(
        const ThemeSource &theme, const QString &text, const QFont &font, ThemeColor color, QWidget *parent = nullptr);

    void setColor(ThemeColor color);
    [[nodiscard]] ThemeColor color() const { return m_color; }

private:
    void applyColor();

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
};

} // namespace orvane
