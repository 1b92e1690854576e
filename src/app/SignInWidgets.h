#pragma once

#include "kit/brand/Brand.h"

#include <QAbstractButton>
#include <QFont>
#include <QWidget>

#include <optional>

class QTimer;

namespace orvane {

// The sign-in screen's colours follow the desktop's light or dark appearance; each widget resolves
// its brand colours when it paints, so a change of appearance recolours the screen in place.

// Plain text (never interpreted as markup) that wraps to its width, with extra space between lines.
class PlainTextBlock final : public QWidget {
    Q_OBJECT

public:
    PlainTextBlock(const QString &text, const QFont &font, BrandAdaptiveColor color, qreal lineSpacing = 0,
        Qt::Alignment alignment = Qt::AlignLeft, QWidget *parent = nullptr);

    void setText(const QString &text);
    [[nodiscard]] const QString &text() const { return m_text; }
    void setColor(BrandAdaptiveColor color);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    // Lays the text out in `width`; returns the height it takes.
    qreal layOut(qreal width, QList<QPair<QString, QRectF>> *lines) const;

    QString m_text;
    BrandAdaptiveColor m_color;
    qreal m_lineSpacing;
    Qt::Alignment m_alignment;
};

// A full-width bar button of the sign-in screen: its title, and an arrow at the far end. The primary
// kind is filled with the text colour; the other sits on the secondary background inside a 1-pixel
// border. Drawn at 0.75 opacity while pressed. The whole bar takes clicks.
class EntryButton final : public QAbstractButton {
    Q_OBJECT

public:
    EntryButton(const QString &title, bool primary, bool arrow, QWidget *parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    static constexpr qreal pressedOpacity = 0.75;

protected:
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    bool m_primary;
    bool m_arrow;
    // The focus ring shows only when the keyboard brought the focus here.
    bool m_keyboardFocus = false;
};

// An indeterminate activity indicator: an arc turning while it is visible.
class ActivitySpinner final : public QWidget {
    Q_OBJECT

public:
    explicit ActivitySpinner(int diameter, QWidget *parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override { return { m_diameter, m_diameter }; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    int m_diameter;
    int m_angle = 0;
    QTimer *m_timer;
};

// The product's mark, in its own colour on a dark appearance and in the text colour on a light one.
class BrandSymbolView final : public QWidget {
    Q_OBJECT

public:
    explicit BrandSymbolView(int size, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

// A flat rectangle in a brand colour (the heading's accent bar).
class BrandRule final : public QWidget {
    Q_OBJECT

public:
    BrandRule(QSize size, BrandAdaptiveColor color, QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    BrandAdaptiveColor m_color;
};

// The brand colour for the appearance of the application (not of the widget's own palette, which
// the screen paints over).
[[nodiscard]] QColor brandColor(const BrandAdaptiveColor &color);
[[nodiscard]] ColorScheme applicationColorScheme();

} // namespace orvane
