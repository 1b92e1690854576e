#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPointer>
#include <QSplitter>
#include <QWidget>

class QLabel;

namespace orvane {

class ThemeSource;

// Small pieces the thread workbench's rows share.

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
