#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QListView>
#include <QPointer>
#include <QStyledItemDelegate>
#include <QWidget>

namespace orvane {

class MediaPlanTableModel;
class SummaryStatTile;
class ThemeSource;
class WorkbenchThreadBinding;

// One card per media-plan flight: channel and flight name over the audience, then the monthly
// pacing, the target CPA and the estimated conversions.
class ChannelBreakdownDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int cardHeight = 54;
    static constexpr int cardGap = 10;

    explicit ChannelBreakdownDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The texts of a row card, left to right.
    struct Texts {
        QString title, audience, pacing, efficiency, volume;
    };
    [[nodiscard]] static Texts texts(const QModelIndex &index);

private:
    QPointer<const ThemeSource> m_theme;
};

// A list that is as tall as its rows, for a list inside a page that scrolls as a whole.
class ContentHeightListView final : public QListView {
    Q_OBJECT
public:
    using QListView::QListView;
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }
};

// The post-launch attribution and pacing dashboard of the active thread: fixed headline tiles, the
// plan's conversions, a breakdown card per flight, and the export of an HTML report.
class AttributionDashboardView final : public QWidget {
    Q_OBJECT
public:
    AttributionDashboardView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] MediaPlanTableModel *rowsModel() const { return m_rows; }
    // The title of the report the export button writes for the thread on show.
    [[nodiscard]] static QString reportTitle(const QString &threadTitle);

private:
    void refresh();
    void exportReport();

    WorkspaceViewContext m_context;
    WorkbenchThreadBinding *m_binding;
    MediaPlanTableModel *m_rows;
    SummaryStatTile *m_conversionsTile = nullptr;
    ContentHeightListView *m_breakdown = nullptr;
};

} // namespace orvane
