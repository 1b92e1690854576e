#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QFrame>
#include <QPointer>

class QVBoxLayout;

namespace orvane {

class ThemeSource;

// A square-cornered box: a flat fill inside a 1-pixel stroke, no radius, no shadow. Its content
// goes into contentLayout().
class Card final : public QFrame {
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

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_themeSource;
    Look m_look;
    QVBoxLayout *m_content;
};

} // namespace orvane
