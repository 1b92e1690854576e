#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPointer>
#include <QWidget>

class QPropertyAnimation;

namespace orvane {

class ThemeSource;

// A 1-pixel rule in borderSubtle between two regions of the window.
class ThemeDivider final : public QWidget {
    Q_OBJECT
public:
    ThemeDivider(const ThemeSource &theme, Qt::Orientation orientation, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
};

// One line of plain text in a theme colour, cut with an ellipsis when the row gives it less room
// than it asks for.
class ElidedLabel final : public QWidget {
    Q_OBJECT
public:
    ElidedLabel(const ThemeSource &theme, const QFont &font, ThemeColor color, QWidget *parent = nullptr);

    void setText(const QString &text);
    [[nodiscard]] const QString &text() const { return m_text; }
    // The text as drawn now, ellipsis included.
    [[nodiscard]] QString drawnText() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
    QString m_text;
};

// A filled circle of a theme colour (the top bar's status dot, the cloud marker's dot).
class DotView final : public QWidget {
    Q_OBJECT
public:
    DotView(const ThemeSource &theme, ThemeColor color, int diameter, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
};

// A short text on a flat fill in fixed colours, the same in both themes (the product monogram and
// the "IDE" tag: black on the lime fill).
class FixedTag final : public QWidget {
    Q_OBJECT
public:
    FixedTag(const QString &text, const QFont &font, const QColor &ink, const QColor &fill, QMargins padding,
        QWidget *parent = nullptr);

    [[nodiscard]] const QString &text() const { return m_text; }
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_text;
    QColor m_ink;
    QColor m_fill;
    QMargins m_padding;
};

// Fills the widget with a theme colour, so a region keeps its background when the theme flips.
class ThemeBackground final : public QWidget {
    Q_OBJECT
public:
    ThemeBackground(const ThemeSource &theme, ThemeColor fill, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
    ThemeColor m_fill;
};

// A column of the window that slides open and shut: its content keeps its full width and is
// revealed by the column's own width, which animates (ease-in-ease-out, 0.15 s) between 0 and the
// content's width. Shut, the column is hidden and takes no room.
class SlidingColumn final : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int revealedWidth READ revealedWidth WRITE setRevealedWidth)
public:
    static constexpr int animationMilliseconds = 150;

    // anchor: the edge the content stays attached to while the column slides (the sidebar hangs on
    // its right edge and slides out to the left; the drawer hangs on its left edge).
    SlidingColumn(QWidget *content, Qt::Edge anchor, QWidget *parent = nullptr);

    void setOpen(bool open, bool animated);
    [[nodiscard]] bool isOpen() const { return m_open; }
    [[nodiscard]] QWidget *content() const { return m_content; }

    [[nodiscard]] int revealedWidth() const { return m_revealed; }
    void setRevealedWidth(int width);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void placeContent();

    QWidget *m_content;
    Qt::Edge m_anchor;
    int m_fullWidth;
    int m_revealed = 0;
    bool m_open = false;
    QPointer<QPropertyAnimation> m_animation;
};

} // namespace orvane
