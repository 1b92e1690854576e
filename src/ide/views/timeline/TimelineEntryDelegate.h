#pragma once

#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineCardLayout.h"

#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QUuid>

class QAbstractItemView;

namespace orvane {

class CampaignIDEWorkspaceModel;
class ThemeSource;
class TimelineEntryListModel;

// Draws the timeline's cards and status row and turns clicks on a card's link, tool rows and gate
// buttons into model operations. Each card is measured once per width and content revision, so a
// long timeline lays out from the cache and only a changed card is measured again.
class TimelineEntryDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    TimelineEntryDelegate(CampaignIDEWorkspaceModel *model, const ThemeSource &theme, QAbstractItemView *view);

    void setExpandedToolSet(ExpandedToolSet *set) { m_toolSet = set; }
    // The list's spacing around each row. Rows pad the outer side by as much again, so cards stand
    // 12 apart and 12 from the edges.
    static constexpr int spacing = 6;

    // The card as drawn at the view's width now (card coordinates).
    [[nodiscard]] const TimelineCardLayout &cardLayout(const QModelIndex &index) const;
    // Where a card's control lies in the view's viewport; none when the card has no such control.
    [[nodiscard]] std::optional<QRect> controlRect(
        const QModelIndex &index, TimelineCardLayout::HitKind kind, const QUuid &toolID = {}) const;

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
    [[nodiscard]] int cardWidth() const;
    // Where the card starts inside its row's rectangle.
    [[nodiscard]] QPoint cardOffset(const QModelIndex &index) const;
    [[nodiscard]] const TimelineEntryListModel *listModel(const QModelIndex &index) const;
    void activate(const QModelIndex &index, const TimelineCardLayout::Hit &hit);

    QPointer<CampaignIDEWorkspaceModel> m_model;
    const ThemeSource &m_theme;
    QAbstractItemView *m_view;
    QPointer<ExpandedToolSet> m_toolSet;
    mutable QHash<QUuid, Cached> m_cache;
    mutable Cached m_statusCache;
    QPersistentModelIndex m_pressedIndex;
    int m_pressedHit = -1;
    QElapsedTimer m_clock; // turns the status row's spinner
};

} // namespace orvane
