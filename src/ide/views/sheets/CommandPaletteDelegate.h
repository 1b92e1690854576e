#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace orvane {

class ThemeSource;

// Draws the command palette's rows: the two monospaced headers (the second with 8 more points
// above it), and the thread and persona rows as flat elevatedBackground bars padded 8 with a
// symbol, a semibold title and a monospaced trailing text. Rows stand 6 apart.
class CommandPaletteDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int rowSpacing = 6;
    static constexpr int rowPadding = 8;
    static constexpr int extraSpaceAbovePersonas = 8;
    static constexpr int symbolSize = 14;

    explicit CommandPaletteDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
