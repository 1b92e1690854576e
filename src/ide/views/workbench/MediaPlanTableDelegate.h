#pragma once

#include <QFontMetrics>
#include <QHeaderView>
#include <QPointer>
#include <QStyledItemDelegate>

namespace orvane {

class ThemeSource;

// Geometry shared by the media-plan table's header, cells and tests: each column is its content
// width plus the 8-point gap after it, the first one also the 14-point lead of the row.
namespace media_plan_layout {
inline constexpr int rowLead = 14;
inline constexpr int cellGap = 8;
inline constexpr int rowHeight = 38;
[[nodiscard]] int sectionWidth(int column);
// The least a text column (campaign name, audience) gives way to when the table is narrow.
inline constexpr int minimumTextWidth = 120;
// Where a cell's content sits inside the cell's rectangle: the cell less its lead and gap.
[[nodiscard]] QRect contentRect(const QRect &cell, int column);
// The stepper of a daily budget cell: its upper half steps up, its lower half down.
[[nodiscard]] QRect stepperRect(const QRect &cell);
// The delete button of a row, 22 by 22, in the actions cell.
[[nodiscard]] QRect deleteRect(const QRect &cell);
// Where the keyboard's ring around the current cell goes: around its content, reaching into the
// gap before it (so it stays clear of a text that starts at the cell's edge).
[[nodiscard]] QRect focusRect(const QRect &cell, int column);
// One line of text as the table draws it, left-aligned in `rect`: shortened with "…" to the
// rectangle and to the part of it in the view's `viewport`, on the side where the viewport's edge
// cuts it, so that no glyph is cut where the table scrolls past an edge. A text cut at the right
// keeps the gap of a column's content from what lies beyond.
struct FittedText {
    QString text; // empty when nothing of it is in view
    QRect rect; // where it is drawn, inside the viewport
    Qt::Alignment alignment;
};
[[nodiscard]] FittedText fitText(
    const QString &text, const QFontMetrics &metrics, const QRect &rect, const QRect &viewport);
} // namespace media_plan_layout

// Draws the media-plan rows as a spreadsheet in the theme's colours: coloured figures, the status
// badge, the daily budget's stepper and the delete button, each row on panelBackground over a
// borderSubtle rule. The campaign name and audience edit in a flat field that sends every keystroke
// to the model, where Escape gives back the text the field opened with; stepper and delete clicks
// (and +, - and Delete on the keyboard) go to the model.
class MediaPlanTableDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit MediaPlanTableDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    // What an empty name or audience cell shows, in its field and in the cell ("Campaign Name",
    // "Audience").
    [[nodiscard]] static QString placeholderText(int column);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(
        QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    QPointer<const ThemeSource> m_theme;
};

// The column header strip: titles in small monospaced textMuted on sidebarBackground, over a
// borderSubtle rule.
class MediaPlanHeaderView final : public QHeaderView {
    Q_OBJECT
public:
    explicit MediaPlanHeaderView(const ThemeSource &theme, QWidget *parent = nullptr);

    [[nodiscard]] static QFont titleFont();
    // The section's title as drawn now, in the header's viewport.
    [[nodiscard]] media_plan_layout::FittedText drawnTitle(int logicalIndex) const;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;
    void paintEvent(QPaintEvent *event) override;
    [[nodiscard]] QSize sectionSizeFromContents(int logicalIndex) const override;

private:
    [[nodiscard]] media_plan_layout::FittedText titleIn(const QRect &section, int logicalIndex) const;

    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
