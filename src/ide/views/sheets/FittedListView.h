#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace orvane {

// A list of clickable rows drawn by a delegate: as tall as its rows (up to an optional maximum,
// past which it scrolls), no selection. It remembers the row held down so the delegate can draw it
// pressed, and reports a row as clicked when the press and the release fall on it. By default it
// takes no keyboard focus; with rows as tab stops, each pressable row is a button of the keyboard.
class FittedListView final : public QListView {
    Q_OBJECT
public:
    explicit FittedListView(QWidget *parent = nullptr);

    // 0: no maximum; the list never scrolls itself.
    void setMaximumContentHeight(int height);
    [[nodiscard]] QPersistentModelIndex pressedIndex() const { return m_pressed; }
    // The height of every row together.
    [[nodiscard]] int contentHeight() const;

    // Makes every pressable row (one whose flags hold Qt::ItemIsEnabled) a stop of the window's Tab
    // chain, pressed with Space or Return as the window's buttons are, and an accessible button
    // named by its Qt::AccessibleTextRole (with Qt::AccessibleDescriptionRole as its description).
    // The list takes the focus from the keyboard only, never from a click, and nothing is current
    // until Tab reaches a row; the keyboard's row is the current index, which the view paints with
    // QStyle::State_HasFocus. Set it before the list is shown.
    void setRowsAreTabStops(bool on);
    [[nodiscard]] bool rowsAreTabStops() const { return m_rowsAreTabStops; }
    [[nodiscard]] bool isTabStop(const QModelIndex &index) const;
    // Presses a row as a click on it does: emits clicked.
    void pressRow(const QModelIndex &index);

    void setModel(QAbstractItemModel *model) override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

Q_SIGNALS:
    void fittedHeightChanged(int height);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool focusNextPrevChild(bool next) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void fitHeight();
    // The first tab stop after `row` (next) or before it; `row` may lie one past either end.
    [[nodiscard]] QModelIndex tabStopFrom(int row, bool next) const;
    void moveToRow(const QModelIndex &index);
    void setPressed(const QPersistentModelIndex &index);

    int m_maximumHeight = 0;
    int m_fittedWidth = -1;
    bool m_rowsAreTabStops = false;
    QPersistentModelIndex m_pressed;
    // Space is held on the keyboard's row.
    bool m_keyPressed = false;
};

void installFittedListAccessibility();

} // namespace orvane
