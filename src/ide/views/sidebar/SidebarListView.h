#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QStyledItemDelegate>

namespace orvane {

// A painted sidebar row with clickable parts (the whole row, or a button inside it).
class SidebarRowDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    enum class Part { none, row, star };

    using QStyledItemDelegate::QStyledItemDelegate;

    // The part under a point of the row drawn in `rowRect`.
    [[nodiscard]] virtual Part partAt(const QRect &rowRect, const QModelIndex &index, QPoint point) const;
    // Where a part lies in the row; empty when the row has no such part.
    [[nodiscard]] virtual QRect partRect(const QRect &rowRect, Part part) const;
    // The help text of a part; empty when it has none.
    [[nodiscard]] virtual QString toolTip(const QModelIndex &index, Part part) const;

    bool helpEvent(QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

protected:
    // The part of this row held down right now (drawn at the press opacity), else none.
    [[nodiscard]] static Part pressedPart(const QStyleOptionViewItem &option, const QModelIndex &index);
    // The width rows are laid out at.
    [[nodiscard]] static int rowWidth(const QStyleOptionViewItem &option);
};

// A list of sidebar rows that is as tall as its rows (the sidebar's column scrolls, not the list)
// and hidden while empty. A press and release on the same part of the same row is a click; the
// part held down draws at the press opacity of the window's buttons.
class SidebarListView final : public QListView {
    Q_OBJECT
public:
    SidebarListView(SidebarRowDelegate *delegate, QWidget *parent = nullptr);

    void setModel(QAbstractItemModel *model) override;
    void reset() override;

    [[nodiscard]] SidebarRowDelegate *rowDelegate() const { return m_delegate; }
    [[nodiscard]] const QPersistentModelIndex &pressedIndex() const { return m_pressedIndex; }
    [[nodiscard]] SidebarRowDelegate::Part pressedPart() const { return m_pressedPart; }
    // Where a part of a row lies, in viewport coordinates.
    [[nodiscard]] QRect partRect(int row, SidebarRowDelegate::Part part) const;

Q_SIGNALS:
    void partClicked(const QModelIndex &index, SidebarRowDelegate::Part part);
    void contextMenuRequested(const QModelIndex &index, const QPoint &globalPosition);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    // The keyboard: Tab reaches the list, the arrows move along its rows, Return or Space opens the
    // current row as a click does, and the menu key opens its menu.
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;

private:
    // A list the keyboard is on always has a row for it, also before its rows are laid out or when
    // they arrive (or come back after a reset) while it has the focus.
    void keepKeyboardRow();
    void fitHeight();
    void clearPress();

    SidebarRowDelegate *m_delegate;
    QPersistentModelIndex m_pressedIndex;
    SidebarRowDelegate::Part m_pressedPart = SidebarRowDelegate::Part::none;
};

} // namespace orvane
