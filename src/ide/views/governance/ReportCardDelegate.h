#pragma once

#include <QListView>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStyledItemDelegate>

namespace orvane {
class ThemeSource;
} // namespace orvane

namespace orvane::governance {

// Draws one report as a card: its kind, title and creation line on the left and the
// "Open in File Manager ↗" button on the right. Texts are drawn as plain text, cut with an ellipsis when
// the card is narrower than they are. A click on the button emits openRequested().
class ReportCardDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int cardGap = 16; // between two cards
    static constexpr int padding = 14;

    explicit ReportCardDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    static const QString openButtonText;
    // The card inside a row's rectangle (rows but the last keep the gap below their card).
    [[nodiscard]] static QRect cardRect(const QRect &rowRect, const QModelIndex &index);
    // The button inside a row's rectangle.
    [[nodiscard]] static QRect openButtonRect(const QRect &rowRect, const QModelIndex &index);

Q_SIGNALS:
    void openRequested(const QModelIndex &index);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    QPointer<const ThemeSource> m_theme;
    QPersistentModelIndex m_pressed;
};

// The list of report cards as one block of the surface's column: as tall as its cards, never
// scrolling itself (the surface's scroll view does), its background the surface's.
class ReportListView final : public QListView {
    Q_OBJECT
public:
    explicit ReportListView(QWidget *parent = nullptr);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;
    void reset() override;

protected:
    void wheelEvent(QWheelEvent *event) override;
    void rowsInserted(const QModelIndex &parent, int start, int end) override;
    // The cards paint no focus of their own: the keyboard's card gets a ring in the accent colour.
    void paintEvent(QPaintEvent *event) override;

private:
    void updateTabStop();
};

} // namespace orvane::governance
