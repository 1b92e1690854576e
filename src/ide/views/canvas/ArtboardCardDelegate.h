#pragma once

#include "ide/views/canvas/CardGridView.h"

#include <QPointer>

namespace orvane {

class ThemeSource;

// Paints one artboard of ArtboardGridModel as an ad preview card: a header line with platform,
// format and review status over a preview panel with the size kicker, the headline (three lines at
// most) and the fixed call-to-action chip. The selected artboard is outlined 2 pixels in the lime
// fill, the others 1 pixel in borderSubtle. The whole card is one button, which selects its
// artboard; it is named by the artboard's title.
class ArtboardCardDelegate final : public CardActionDelegate {
    Q_OBJECT
public:
    static constexpr int padding = 12;
    static constexpr int spacing = 10;
    static constexpr int previewPadding = 12;
    static constexpr int previewSpacing = 8;
    static constexpr int previewMinimumHeight = 120;
    static constexpr int headlineLineLimit = 3;

    explicit ArtboardCardDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    [[nodiscard]] bool actionIsCard() const override { return true; }
    [[nodiscard]] QString actionName(const QModelIndex &index) const override;
    [[nodiscard]] QString cardDescription(const QModelIndex &index) const override;
    [[nodiscard]] bool isChosen(const QModelIndex &index) const override;
    [[nodiscard]] ThemeColor actionGround() const override { return ThemeColor::canvasBackground; }

    // The texts a card shows, as the card shows them.
    [[nodiscard]] static QString statusLabel(int reviewStatus);
    [[nodiscard]] static QString previewKicker(int width, int height);
    [[nodiscard]] static QString formatLine(const QString &format);
    // "LinkedIn · Single image · 1:1", as the inspector titles the artboard.
    [[nodiscard]] static QString title(const QString &platform, const QString &format);
    static const QString chipText;

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
