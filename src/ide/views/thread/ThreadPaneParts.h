#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPointer>
#include <QSplitter>
#include <QWidget>

class QLabel;

namespace orvane {

class ThemeSource;

// Small pieces the thread workbench's rows share.

// A region filled with a theme colour (at an opacity) and, optionally, outlined by a 1-pixel square
// stroke; children sit inside the stroke.
class ThemePanel final : public QWidget {
    Q_OBJECT
public:
    ThemePanel(const ThemeSource &theme, ThemeColor fill, QWidget *parent = nullptr);

    void setFill(ThemeColor fill, qreal opacity = 1.0);
    void setStroke(std::optional<ThemeColor> stroke, qreal opacity = 1.0);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    std::optional<ThemeColor> m_fill;
    qreal m_fillOpacity = 1.0;
    std::optional<ThemeColor> m_stroke;
    qreal m_strokeOpacity = 1.0;
};

// A filled circle whose colour can change (a theme role, or a fixed colour).
class StateDot final : public QWidget {
    Q_OBJECT
public:
    StateDot(const ThemeSource &theme, ThemeColor color, int diameter, QWidget *parent = nullptr);

    void setColor(ThemeColor color);
    [[nodiscard]] QColor drawnColor() const;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
};

// A splitter whose dividers the user drags, drawn as 1-pixel rules in borderSubtle.
class ThemeRuleSplitter final : public QSplitter {
    Q_OBJECT
public:
    ThemeRuleSplitter(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    [[nodiscard]] QSplitterHandle *createHandle() override;

private:
    QPointer<const ThemeSource> m_theme;
};

// Paints a label's text in a colour; a theme role is resolved now, so callers re-apply it when the
// theme changes.
void setLabelColor(QLabel *label, const QColor &color);

} // namespace orvane
