#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QLabel>
#include <QPointer>

namespace orvane {

class ThemeSource;

// A section kicker: one upper-case line, monospaced, bold, 10 pixels, in accentLime unless told
// otherwise. Shown as plain text.
class KickerLabel final : public QLabel {
    Q_OBJECT
public:
    KickerLabel(const ThemeSource &themeSource, const QString &text, QWidget *parent = nullptr);
    KickerLabel(const ThemeSource &themeSource, const QString &text, ThemeColor color, int size = 10,
        QWidget *parent = nullptr);

    void setKicker(const QString &text);
    void setColor(ThemeColor color);

private:
    void applyColor();

    QPointer<const ThemeSource> m_themeSource;
    ThemeColor m_color;
};

} // namespace orvane
