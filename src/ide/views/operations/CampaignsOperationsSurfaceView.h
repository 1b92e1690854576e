#pragma once

#include "ide/views/operations/CardGrid.h"
#include "ide/views/operations/OperationsSurface.h"

namespace orvane::operations {

class ThreadListModel;

// A thread's card on the campaigns surface: its title with "Open in Table Workbench →" (openPart),
// then one row per media-plan flight: channel, campaign name, daily budget and status.
class CampaignCardDelegate final : public CardDelegate {
public:
    static constexpr int openPart = 1;

    CampaignCardDelegate(const ThemeSource &theme, const ThreadListModel &threads);

    [[nodiscard]] int cardHeight(const QModelIndex &index, int width) const override;
    void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const override;
    [[nodiscard]] QList<int> parts(const QModelIndex &) const override { return { openPart }; }
    [[nodiscard]] QRect partRect(const QModelIndex &index, const QRect &rect, int part) const override;

private:
    QPointer<const ThemeSource> m_theme;
    const ThreadListModel &m_threads;
};

} // namespace orvane::operations

namespace orvane {

// Every flight of every thread, a card per thread, read-only; each card opens its thread on the
// media-plan table.
class CampaignsOperationsSurfaceView final : public operations::OperationsSurfaceView {
    Q_OBJECT
public:
    CampaignsOperationsSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] operations::ThreadListModel *threadModel() const { return m_threads; }

private:
    operations::ThreadListModel *m_threads;
};

} // namespace orvane
