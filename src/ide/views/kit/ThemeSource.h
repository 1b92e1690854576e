#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QObject>

namespace orvane {

// The theme currently in force for one window. The window makes it from the workspace model's
// dark-theme flag and hands it to the views it builds; views read colours from it when they paint
// and repaint on themeChanged, so a flip of the flag recolours everything in place.
class ThemeSource final : public QObject {
    Q_OBJECT
public:
    explicit ThemeSource(bool isDark, QObject *parent = nullptr);

    [[nodiscard]] OrvaneWebTheme theme() const { return OrvaneWebTheme(m_isDark); }
    [[nodiscard]] QColor color(ThemeColor role) const { return theme().color(role); }

    void setDark(bool isDark);

Q_SIGNALS:
    void themeChanged();

private:
    bool m_isDark;
};

} // namespace orvane
