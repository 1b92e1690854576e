#pragma once

#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QStyledItemDelegate>

namespace orvane {

class ThemeSource;

// Draws a quick action card of the copilot drawer: a panelBackground box with a borderSubtle
// outline, padded 10, holding the category (upper case, cyan) and the impact (lime) side by side,
// each shown whole (wrapping when the two cannot share one line), the title wrapped over as many
// lines as it needs and the rationale cut after two lines. Cards stand 12 apart; the height
// follows the list's width.
class QuickActionCardDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int cardSpacing = 12;
    static constexpr int cardPadding = 10;
    static constexpr int lineSpacing = 4;
    static constexpr int rationaleLines = 2;
    static constexpr int kickerSpacing = 8; // between the category and the impact

    // The first row of a card at a text width: the category's and the impact's lines, and the
    // boxes they are drawn in, relative to the row's top left.
    struct KickerRow {
        QStringList categoryLines;
        QRect categoryRect;
        QStringList impactLines;
        QRect impactRect;
        int height = 0;
    };
    [[nodiscard]] static KickerRow kickerRow(const QString &category, const QString &impact, int width);
    [[nodiscard]] static QFont kickerFont();

    explicit QuickActionCardDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    // The lines `text` takes at `width` in `font`; with maxLines > 0 the last kept line ends in an
    // ellipsis when text was left out.
    [[nodiscard]] static QStringList wrappedLines(const QString &text, const QFont &font, int width, int maxLines = 0);

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
