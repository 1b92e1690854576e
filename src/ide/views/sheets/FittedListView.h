#pragma once

#include <QListView>
#include <QPersistentModelIndex>

namespace orvane {

// A list of clickable rows drawn by a delegate: as tall as its rows (up to an optional maximum,
// past which it scrolls), no selection, no keyboard focus. It remembers the row held down so the
// delegate can draw it pressed, and reports a row as clicked when the press and the release fall
// on it.
class FittedListView final : public QListView {
    Q_OBJECT
public:
    explicit FittedListView(QWidget *parent = nullptr);

    // 0: no maximum; the list never scrolls itself.
    void setMaximumContentHeight(int height);
    [[nodiscard]] QPersistentModelIndex pressedIndex() const { return m_pressed; }
    // The height of every row together.
    [[nodiscard]] int contentHeight() const;

    void setModel(QAbstractItemModel *model) override;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

Q_SIGNALS:
    void fittedHeightChanged(int height);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHeight();

    int m_maximumHeight = 0;
    int m_fittedWidth = -1;
    QPersistentModelIndex m_pressed;
};

} // namespace orvane
