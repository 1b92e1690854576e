#include "ide/views/operations/AssetsLibrarySurfaceView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/operations/CardPainting.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane::operations {
namespace {

constexpr int padding = 14;
constexpr int spacing = 8;

QFont channelFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont dimensionsFont()
{
    return themeFont(9, QFont::Normal, true);
}
QFont nameFont()
{
    return themeFont(13, QFont::Bold);
}
QFont headlineFont()
{
    return themeFont(11);
}
QFont statusFont()
{
    return themeFont(9, QFont::Bold, true);
}
cards::ButtonLabel editLabel()
{
    return { u"Edit in Canvas →"_s, themeFont(10, QFont::Bold, true), QMargins() };
}

struct AssetCardLayout {
    QRect channel, dimensions, name, headline, status, edit;
};

AssetCardLayout layoutAssetCard(const CampaignAssetLibraryItem &asset, const QRect &rect)
{
    using namespace cards;
    AssetCardLayout layout;
    const QRect inner = rect.adjusted(padding, padding, -padding, -padding);
    const int width = inner.width();
    int y = inner.top();
    const int top = qMax(lineHeight(channelFont()), lineHeight(dimensionsFont()));
    const int dimensionsWidth = qMin(textWidth(asset.dimensions, dimensionsFont()), width / 2);
    layout.dimensions = QRect(inner.right() + 1 - dimensionsWidth, y, dimensionsWidth, top);
    layout.channel = QRect(inner.left(), y, qMax(0, layout.dimensions.left() - 8 - inner.left()), top);
    y += top + spacing;
    const int nameHeight = textHeight(asset.name, nameFont(), width);
    layout.name = QRect(inner.left(), y, width, nameHeight);
    y += nameHeight + spacing;
    const int headlineHeight = textHeight(asset.headline, headlineFont(), width);
    layout.headline = QRect(inner.left(), y, width, headlineHeight);
    y += headlineHeight + spacing;
    const QSize edit = editLabel().size();
    const int bottom = qMax(lineHeight(statusFont()), edit.height());
    layout.edit
        = QRect(inner.right() + 1 - edit.width(), y + (bottom - edit.height()) / 2, edit.width(), edit.height());
    layout.status = QRect(inner.left(), y, qMax(0, layout.edit.left() - 8 - inner.left()), bottom);
    return layout;
}

} // namespace

AssetCardDelegate::AssetCardDelegate(const ThemeSource &theme, const AssetListModel &assets)
    : m_theme(&theme), m_assets(assets)
{
}

int AssetCardDelegate::cardHeight(const QModelIndex &index, int width) const
{
    const AssetCardLayout layout = layoutAssetCard(m_assets.at(index.row()), QRect(0, 0, width, 0));
    return qMax(layout.status.bottom(), layout.edit.bottom()) + 1 + padding;
}

void AssetCardDelegate::paintCard(QPainter &painter, const QRect &rect, const QModelIndex &index, int pressedPart) const
{
    if (!m_theme)
        return;
    using namespace cards;
    const OrvaneWebTheme theme = m_theme->theme();
    const CampaignAssetLibraryItem &asset = m_assets.at(index.row());
    const AssetCardLayout layout = layoutAssetCard(asset, rect);
    drawCard(painter, rect, theme);
    drawLine(painter, layout.channel, asset.channel.toUpper(), channelFont(), theme.accentCyan());
    drawLine(painter, layout.dimensions, asset.dimensions, dimensionsFont(), theme.textMuted(), Qt::AlignRight);
    drawText(painter, layout.name, asset.name, nameFont(), theme.textPrimary());
    drawText(painter, layout.headline, asset.headline, headlineFont(), theme.textSecondary());
    drawLine(painter, layout.status, asset.status, statusFont(), OrvaneWebTheme::accentEmerald());
    drawButton(painter, layout.edit, editLabel(), theme.accentLime(), std::nullopt, pressedPart == editPart);
}

QRect AssetCardDelegate::partRect(const QModelIndex &index, const QRect &rect, int part) const
{
    return part == editPart ? layoutAssetCard(m_assets.at(index.row()), rect).edit : QRect();
}

} // namespace orvane::operations

namespace orvane {

using namespace operations;

AssetsLibrarySurfaceView::AssetsLibrarySurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : OperationsSurfaceView(context, 16, parent),
      m_assets(new AssetListModel([](const CampaignAssetLibraryItem &asset) { return asset.name; }, this))
{
    setObjectName(u"assetsLibrarySurface"_s);
    m_assets->reconcile(model().assets());

    auto *header = new QWidget;
    auto *row = new QHBoxLayout(header);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(titleBlock(u"CREATIVE ASSET LIBRARY · "_s + model().shownWorkspaceRoot().toUpper(),
                       u"Multi-Channel Creative Assets & Artboards"_s),
        1);
    auto *openCanvas = limeButton(u"Open Creative Studio Canvas →"_s, u"openCreativeStudioCanvasButton"_s);
    connect(openCanvas, &QAbstractButton::clicked, this, &AssetsLibrarySurfaceView::openFirstThreadCanvas);
    row->addWidget(openCanvas, 0, Qt::AlignVCenter);
    m_openCanvas = openCanvas;
    page()->addWidget(header);

    auto *grid = new CardGrid(m_assets, std::make_unique<AssetCardDelegate>(theme(), *m_assets), theme(), 280, 14);
    grid->setObjectName(u"assetCardGrid"_s);
    grid->setAccessibleName(u"Assets"_s);
    connect(grid, &CardGrid::partClicked, this, [this](const QModelIndex &, int part) {
        // Every card leads to the same place: the asset plays no part.
        if (part == AssetCardDelegate::editPart)
            openFirstThreadCanvas();
    });
    page()->addWidget(grid);

    CampaignIDEWorkspaceModel *workspace = context.model;
    connect(
        workspace, &CampaignIDEWorkspaceModel::assetsChanged, this, [this] { m_assets->reconcile(model().assets()); });
    const auto showButton = [this] { m_openCanvas->setVisible(!model().threads().isEmpty()); };
    connect(workspace, &CampaignIDEWorkspaceModel::threadsChanged, this, showButton);
    connect(workspace, &CampaignIDEWorkspaceModel::threadInserted, this, showButton);
    connect(workspace, &CampaignIDEWorkspaceModel::threadRemoved, this, showButton);
    showButton();
}

void AssetsLibrarySurfaceView::openFirstThreadCanvas()
{
    if (model().threads().isEmpty())
        return;
    model().openThread(model().threads().first().id, IDEWorkbenchView::canvas);
}

} // namespace orvane
