#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPointer>
#include <QWidget>

#include <optional>

namespace orvane {

class ThemeSource;

// A small counter or status tag: monospaced text on a flat fill inside a square 1-pixel stroke.
// The defaults are the sidebar's count badge (semibold 10, padded 6 by 2, panelBackground,
// borderSubtle); a tinted badge uses one accent at reduced opacities for fill and stroke.
class Badge final : public QWidget {
    Q_OBJECT
public:
    struct Look {
        ThemeColor text = ThemeColor::textMuted;
        std::optional<ThemeColor> fill = ThemeColor::panelBackground;
        qreal fillOpacity = 1.0;
        std::optional<ThemeColor> stroke = ThemeColor::borderSubtle;
        qreal strokeOpacity = 1.0;
        int fontSize = 10;
        QFont::Weight weight = QFont::DemiBold;
        QMargins padding { 6, 2, 6, 2 };
    };

    // A badge tinted with one accent: text in it, fill at 10% and stroke at 35% of it.
    [[nodiscard]] static Look tinted(ThemeColor accent);

    Badge(const ThemeSource &themeSource, const QString &text, QWidget *parent = nullptr);
    Badge(const ThemeSource &themeSource, const QString &text, const Look &look, QWidget *parent = nullptr);

    void setText(const QString &text);
    [[nodiscard]] const QString &text() const { return m_text; }
    void setLook(const Look &look);
    [[nodiscard]] const Look &look() const { return m_look; }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_themeSource;
    QString m_text;
    Look m_look;
};

} // namespace orvane
