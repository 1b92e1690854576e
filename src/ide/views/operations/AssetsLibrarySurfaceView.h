#pragma once

#include "ide/records/CampaignAssetLibraryItem.h"
#include "ide/views/operations/CardGrid.h"
#include "ide/views/operations/OperationsSurface.h"
#include "ide/views/operations/RecordListModel.h"

namespace orvane::operations {

using AssetListModel = RecordListModel<CampaignAssetLibraryItem>;

// An asset's card: channel and dimensions, name, headline, status and "Edit in Canvas →" (editPart).
class AssetCardDelegate final : public CardDelegate {
public:
    static constexpr int editPart = 1;

    AssetCardDelegate(const ThemeSource &theme, const AssetListModel &assets);

    [[nodiscard]] int cardHeight(const QModelIndex &index, int width) const override;
    void paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const override;
    [[nodiscard]] QList<int> parts(const QModelIndex &) const override { return { editPart }; }
    [[nodiscard]] QRect partRect(const QModelIndex &index, const QRect &rect, int part) const override;

private:
    QPointer<const ThemeSource> m_theme;
    const AssetListModel &m_assets;
};

} // namespace orvane::operations

namespace orvane {

// The workspace's creative assets as a grid of cards; both of its buttons open the first thread of
// the workspace on its creative canvas.
class AssetsLibrarySurfaceView final : public operations::OperationsSurfaceView {
    Q_OBJECT
public:
    AssetsLibrarySurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] operations::AssetListModel *assetModel() const { return m_assets; }

private:
    void openFirstThreadCanvas();

    operations::AssetListModel *m_assets;
    QWidget *m_openCanvas = nullptr;
};

} // namespace orvane
