#pragma once

#include "ide/views/kit/Panel.h"

class QVBoxLayout;

namespace orvane {

class ThemeSource;

// A panel with a column layout: a flat fill inside a 1-pixel stroke; its content goes into
// contentLayout().
class Card final : public Panel {
    Q_OBJECT
public:
    struct Look {
        ThemeColor fill = ThemeColor::panelBackground;
        ThemeColor stroke = ThemeColor::borderSubtle;
        bool stroked = true;
        QMargins padding { 12, 12, 12, 12 };
        int spacing = 8;
    };

    explicit Card(const ThemeSource &themeSource, QWidget *parent = nullptr);
    Card(const ThemeSource &themeSource, const Look &look, QWidget *parent = nullptr);

    [[nodiscard]] QVBoxLayout *contentLayout() const { return m_content; }
    void setLook(const Look &look);

private:
    QVBoxLayout *m_content;
};

} // namespace orvane
