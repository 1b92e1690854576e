#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QAbstractItemView>
#include <QList>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QRect>
#include <QStyledItemDelegate>

namespace orvane {

class ThemeSource;

// Paints the cards of a CardGridView that each carry one action: the card itself when the whole
// card is one button, or one control painted on it. The keyboard and assistive technology reach the
// action through what it says here.
class CardActionDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    // Whether the whole card is the button; else the control at actionRect() is.
    [[nodiscard]] virtual bool actionIsCard() const = 0;
    // Where the control lies when the card fills `card`.
    [[nodiscard]] virtual QRect actionRect(const QRect &card) const { return card; }
    // The control's name for assistive technology: what pressing it does, or what it opens.
    [[nodiscard]] virtual QString actionName(const QModelIndex &index) const = 0;
    // More about the card, read after its name.
    [[nodiscard]] virtual QString cardDescription(const QModelIndex &) const { return {}; }
    // Whether the card is the chosen one of the grid (the selected artboard).
    [[nodiscard]] virtual bool isChosen(const QModelIndex &) const { return false; }
    // What the control is drawn on, so that the keyboard's ring around it stands out.
    [[nodiscard]] virtual ThemeColor actionGround() const = 0;
};

// A vertically scrolling grid of cards: as many columns of at least minimumCellWidth as the width
// allows, sharing the width equally, `spacing` between columns and rows, `padding` around them.
// Each row is as high as its tallest card (the delegate's sizeHint for the cell width); cards are
// painted by the delegate only as they scroll into view. The pressed card is drawn at the button
// press opacity. No selection of its own: the delegate reads what is selected from the model.
// Tab reaches the grid (a click leaves the keyboard where it was); the arrow keys move between the
// cards, Return or Space runs the current card's action (a CardActionDelegate's), and a ring
// around that action's control shows where the keyboard is.
class CardGridView final : public QAbstractItemView {
    Q_OBJECT
public:
    CardGridView(const ThemeSource &theme, ThemeColor background, int minimumCellWidth, int spacing, int padding,
        QWidget *parent = nullptr);

    [[nodiscard]] int columnCount() const { return m_columns; }
    [[nodiscard]] int cellWidth() const { return m_cellWidth; }
    // The card being pressed now, if any.
    [[nodiscard]] QModelIndex pressedIndex() const { return m_pressed; }
    // Whether a pressed card is drawn dimmed (a card that is one button); on by default.
    void setPressDimsCards(bool dims) { m_pressDims = dims; }
    // A widget that scrolls with the cards, above them: it takes the padded width (its height for
    // that width) and the cards begin `gap` below it. The view takes it over.
    void setHeader(QWidget *header, int gap);
    [[nodiscard]] QWidget *header() const { return m_header; }

    [[nodiscard]] QRect visualRect(const QModelIndex &index) const override;
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;
    [[nodiscard]] QModelIndex indexAt(const QPoint &point) const override;
    void setModel(QAbstractItemModel *model) override;

    // The layout's arithmetic: columns and cell width for an inner width.
    [[nodiscard]] static int columnsFor(int width, int minimumCellWidth, int spacing, int padding);

    // The delegate, when its cards carry an action.
    [[nodiscard]] const CardActionDelegate *actionDelegate() const;
    // Where a card's action control lies, in the viewport; empty without one.
    [[nodiscard]] QRect actionRect(const QModelIndex &index) const;
    // Runs a card's action as a key or assistive technology does.
    void triggerAction(const QModelIndex &index);

    // How far outside the control the keyboard's ring reaches.
    static constexpr int focusRingReach = 4;

Q_SIGNALS:
    // The left button went up, wherever it was (after the view handled the release).
    void mouseReleased();
    // Return, Space or assistive technology pressed a card's action.
    void actionTriggered(const QModelIndex &index);

protected:
    [[nodiscard]] QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    [[nodiscard]] int horizontalOffset() const override { return 0; }
    [[nodiscard]] int verticalOffset() const override;
    [[nodiscard]] bool isIndexHidden(const QModelIndex &) const override { return false; }
    void setSelection(const QRect &, QItemSelectionModel::SelectionFlags) override { }
    [[nodiscard]] QRegion visualRegionForSelection(const QItemSelection &) const override { return {}; }
    void updateGeometries() override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    void dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) override;
    void reset() override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    void relayout();
    // The header's place for the viewport's width and the scroll offset; its height.
    int placeHeader();
    void applyTheme();
    void paintKeyboardFocus(QPainter &painter);
    // Repaints where the keyboard is and tells assistive technology.
    void keyboardMoved();

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_background;
    int m_minimumCellWidth;
    int m_spacing;
    int m_padding;
    int m_columns = 1;
    int m_cellWidth = 0;
    int m_contentHeight = 0;
    QList<QRect> m_rects; // per row of the model, in content coordinates
    QPersistentModelIndex m_pressed;
    bool m_pressDims = true;
    QPointer<QWidget> m_header;
    int m_headerGap = 0;
};

// Exposes the cards of every CardGridView to assistive technology: the grid's children are its
// header and its cards, a card that is one button is a button named by its delegate, and a card
// with a control is a list item whose one child is that control.
void installCardGridViewAccessibility();

} // namespace orvane
