#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QLabel>
#include <QPixmap>
#include <QPointer>
#include <QWidget>

#include <optional>

class QPropertyAnimation;
class QTextLayout;

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
// than it asks for; while it is cut, its tooltip shows the whole text (up to shownLabelLimit
// characters, as it measures and draws no more). It reads as a label does (text(), its colour as
// the palette's WindowText), so a button can hold it as one of its texts.
class ElidedLabel final : public QLabel {
    Q_OBJECT
public:
    ElidedLabel(const ThemeSource &theme, const QFont &font, ThemeColor color, QWidget *parent = nullptr);

    void setColor(ThemeColor color);
    // A colour the theme does not name (black on the lime fill, in both themes).
    void setFixedColor(const QColor &color);
    // Where the ellipsis goes (the end, unless told).
    void setElideMode(Qt::TextElideMode mode);
    // A text up to this wide is never cut: the row gives way elsewhere (by default any text may
    // be cut down to one letter).
    void setMinimumWholeWidth(int width);
    // The text as drawn now, ellipsis included.
    [[nodiscard]] QString drawnText() const;

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void applyColor();

    QPointer<const ThemeSource> m_theme;
    std::optional<ThemeColor> m_color;
    Qt::TextElideMode m_elideMode = Qt::ElideRight;
    int m_minimumWholeWidth = 0;
};

// Plain text in a theme colour that wraps onto as many lines as the width needs, between words
// where it can and anywhere inside a word too long for a line, so it never widens its column.
// It keeps and lays out at most shownLabelLimit characters of a text, ended with "…".
class WrappingLabel final : public QWidget {
    Q_OBJECT
public:
    WrappingLabel(const ThemeSource &theme, const QFont &font, ThemeColor color, QWidget *parent = nullptr);

    void setText(const QString &text);
    [[nodiscard]] QString text() const { return m_text; }
    void setColor(ThemeColor color);
    // Fill each line to the end, breaking inside words too (for texts that are one long token).
    void setBreakAnywhere(bool anywhere);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // Lays the text out at the given width; returns its height.
    int layOut(QTextLayout &layout, int width) const;

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_color;
    QString m_text;
    bool m_breakAnywhere = false;
};

// A row of parts, leading ones on the left and trailing ones pushed to the right, that stacks them
// in one left-aligned column when its width cannot hold them side by side. Its minimum width is
// that of its widest part, so it never widens its column. It places the parts itself (no layout),
// so its height for a width is its own.
class AdaptiveRow final : public QWidget {
    Q_OBJECT
public:
    explicit AdaptiveRow(int spacing, QWidget *parent = nullptr);

    // A leading part that stretches takes the room the row leaves.
    void addLeading(QWidget *part, bool stretches = false);
    void addTrailing(QWidget *part);
    [[nodiscard]] bool isStacked() const { return width() < rowWidth(); }

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;

protected:
    bool event(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Part {
        QWidget *widget;
        bool trailing;
        bool stretches;
    };
    void addPart(const Part &part);
    [[nodiscard]] int rowWidth() const;
    [[nodiscard]] int rowHeight() const;
    [[nodiscard]] static int partHeight(const QWidget *widget, int width);
    void place();

    QList<Part> m_parts;
    int m_spacing;
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

// Eases a window from its old colours to its new ones: a picture of the window as it looked is
// laid over it and fades out (ease-in-ease-out, 0.15 s), then goes. Clicks pass through to the
// window beneath.
class ThemeCrossFade final : public QWidget {
    Q_OBJECT
public:
    static constexpr int animationMilliseconds = 150;

    // Takes the picture of `window` as it is drawn now: make it before recolouring.
    explicit ThemeCrossFade(QWidget *window);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap m_before;
    qreal m_opacity = 1;
};

} // namespace orvane
