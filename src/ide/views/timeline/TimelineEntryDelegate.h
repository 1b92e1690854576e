#pragma once

#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineCardLayout.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QUuid>

#include <functional>
#include <memory>

class QAbstractItemView;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ThemeSource;
class TimelineEntryListModel;

class TimelineHeightCache;

// Draws the timeline's cards and status row (with the keyboard's ring) and turns clicks on a card's
// link, tool rows and gate buttons, or the list's key presses, into model operations. A card's
// height comes from the window's height cache when it was measured before; otherwise a long
// timeline gets a guess from its character counts, and the view measures exactly only the cards
// near its viewport (measureRows), so opening a long history shapes a page of text, not all of it.
class TimelineEntryDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    TimelineEntryDelegate(CampaignIDEWorkspaceModel *model, const ThemeSource &theme, QAbstractItemView *view,
        TimelineHeightCache *heights = nullptr);
    ~TimelineEntryDelegate() override;

    void setExpandedToolSet(ExpandedToolSet *set) { m_toolSet = set; }
    // The list's spacing around each row. Rows pad the outer side by as much again, so cards stand
    // 12 apart and 12 from the edges.
    static constexpr int spacing = 6;
    // How far the keyboard's ring around a card reaches past the card's row: a repaint of the row
    // alone would leave it on screen.
    static constexpr int focusRingReach = 5;

    // The card as drawn at the view's width now (card coordinates).
    [[nodiscard]] const TimelineCardLayout &cardLayout(const QModelIndex &index) const;
    // Measures the rows exactly; true when a row's height differs from what the list was last told.
    bool measureRows(int first, int last) const;
    // The row's height once measured exactly.
    [[nodiscard]] int measuredHeight(const QModelIndex &index) const;
    // Timelines up to this many rows are always measured exactly.
    static constexpr int exactRowLimit = 64;

    // Where a card's control lies in the view's viewport; none when the card has no such control.
    [[nodiscard]] std::optional<QRect> controlRect(
        const QModelIndex &index, TimelineCardLayout::HitKind kind, const QUuid &toolID = {}) const;

    [[nodiscard]] bool isToolExpanded(const QUuid &toolID) const { return m_toolSet && m_toolSet->contains(toolID); }
    // Does what a click on the card's control does.
    void activate(const QModelIndex &index, const TimelineCardLayout::Hit &hit);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QWidget *createEditor(
        QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(
        QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    struct Cached {
        quint64 revision = 0;
        int width = 0;
        TimelineCardLayout layout;
    };
    // What the delegate knows of one entry's row, for the content revision it was learnt at.
    struct Row {
        QUuid id;
        quint64 revision = 0;
        size_t fingerprint = 0;
        int width = -1; // the width `height` is for
        int height = 0; // the card's height there, measured or guessed
        int told = -1; // the row height last given to the list
    };
    [[nodiscard]] Row &row(const QModelIndex &index) const;
    [[nodiscard]] std::function<bool(const QUuid &)> expandedTest() const;
    // The size hint's height without noting it as told to the list.
    [[nodiscard]] int hintHeight(const QModelIndex &index, bool exact) const;
    [[nodiscard]] int cardWidth() const;
    // Where the card starts inside its row's rectangle.
    [[nodiscard]] QPoint cardOffset(const QModelIndex &index) const;
    [[nodiscard]] const TimelineEntryListModel *listModel(const QModelIndex &index) const;
    void paintKeyboardFocus(QPainter &painter, const QModelIndex &index, const QPoint &cardOrigin) const;

    QPointer<CampaignIDEWorkspaceModel> m_model;
    const ThemeSource &m_theme;
    QAbstractItemView *m_view;
    QPointer<ExpandedToolSet> m_toolSet;
    std::unique_ptr<TimelineHeightCache> m_ownHeights; // when the window keeps none
    TimelineHeightCache *m_heights;
    mutable QHash<QUuid, Cached> m_cache; // full layouts of the cards drawn lately
    mutable QList<Row> m_rows; // by row: a long list is laid out row after row
    mutable Cached m_statusCache;
    QPersistentModelIndex m_pressedIndex;
    int m_pressedHit = -1;
    QElapsedTimer m_clock; // turns the status row's spinner
};

} // namespace orvane
