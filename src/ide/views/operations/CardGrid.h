#pragma once

#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QWidget>

#include <memory>

class QAbstractItemModel;
class QPainter;

namespace orvane {
class ThemeSource;
}

namespace orvane::operations {

// Paints the card of one row of a CardGrid and says where its clickable parts lie. Parts are small
// positive numbers chosen by the delegate; 0 means "no part".
class CardDelegate {
public:
    virtual ~CardDelegate() = default;

    // The height of the row's card when it is `width` pixels wide.
    [[nodiscard]] virtual int cardHeight(const QModelIndex &index, int width) const = 0;
    // pressedPart: the part held down by the mouse now (drawn dimmed), or 0.
    virtual void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const = 0;
    // The clickable parts of the card, topmost first.
    [[nodiscard]] virtual QList<int> parts(const QModelIndex &index) const = 0;
    // Where a part lies when the card fills `rect`.
    [[nodiscard]] virtual QRect partRect(const QModelIndex &index, const QRect &rect, int part) const = 0;
};

// A grid of painted cards over the rows of an item model: adaptive columns of at least
// `minimumCellWidth` (0: one column), all of equal width, `spacing` between columns and rows, each
// grid row as tall as its tallest card. It never scrolls itself: it asks its layout for the height
// its width needs, so it sits inside a page that scrolls. Rows inserted, removed or changed in the
// model are laid out again in place.
class CardGrid final : public QWidget {
    Q_OBJECT
public:
    CardGrid(QAbstractItemModel *model, std::unique_ptr<CardDelegate> delegate, const ThemeSource &theme,
        int minimumCellWidth, int spacing, QWidget *parent = nullptr);
    ~CardGrid() override;

    [[nodiscard]] QAbstractItemModel *model() const { return m_model; }
    [[nodiscard]] const CardDelegate &delegate() const { return *m_delegate; }

    // The geometry as laid out for the current width, in widget coordinates.
    [[nodiscard]] int columnCount() const;
    [[nodiscard]] QRect cardRect(int row) const;
    [[nodiscard]] QRect partRect(int row, int part) const;
    // The row and part under a point; row -1 and part 0 when there is none.
    [[nodiscard]] std::pair<int, int> hitTest(const QPoint &pos) const;

    // The keyboard's card (Tab reaches the grid, the arrows move, Return or Space activates it), or -1.
    [[nodiscard]] int currentRow() const;
    // Clicks the row's main part: the last of its parts, the card itself.
    void activate(int row);

    [[nodiscard]] bool hasHeightForWidth() const override { return true; }
    [[nodiscard]] int heightForWidth(int width) const override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

Q_SIGNALS:
    // A click that pressed and released the mouse on the same part of the same row.
    void partClicked(const QModelIndex &index, int part);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Layout {
        int width = -1;
        int columns = 1;
        int height = 0;
        QList<QRect> cards;
    };
    [[nodiscard]] Layout layoutFor(int width) const;
    [[nodiscard]] const Layout &currentLayout() const;
    void invalidate();
    void setPressed(const QPersistentModelIndex &index, int part);

    QPointer<QAbstractItemModel> m_model;
    std::unique_ptr<CardDelegate> m_delegate;
    QPointer<const ThemeSource> m_theme;
    int m_minimumCellWidth;
    int m_spacing;
    mutable Layout m_layout;
    QPersistentModelIndex m_pressedIndex;
    int m_pressedPart = 0;
    bool m_pressedInside = false;
    int m_current = -1;
};

// Exposes the cards of every CardGrid to assistive technology, each named by its row's display text.
void installCardGridAccessibility();

} // namespace orvane::operations
