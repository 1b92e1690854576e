#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace orvane {

class ThemeSource;

// Paints one row of LocalFilesListModel: the file type's symbol, the name, and its size and saved
// state; the selected file on elevatedBackground. Rows stand 2 pixels apart.
class LocalFileRowDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    static constexpr int rowGap = 2;

    explicit LocalFileRowDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

private:
    QPointer<const ThemeSource> m_theme;
};

} // namespace orvane
