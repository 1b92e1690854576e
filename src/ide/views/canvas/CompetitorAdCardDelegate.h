#pragma once

#include "ide/views/canvas/CardGridView.h"

#include <QPersistentModelIndex>
#include <QPointer>

namespace orvane {

class ThemeSource;

// Paints one ad of CompetitorAdListModel as a card: channel, estimated spend and running days,
// the headline, the body and, at the bottom, the call to action beside the "Clone Hook to Canvas"
// button. The button is part of the painting: a click inside it emits cloneRequested, and it is
// drawn at the press opacity while held. The button is the card's action for the keyboard and
// assistive technology too.
class CompetitorAdCardDelegate final : public CardActionDelegate {
    Q_OBJECT
public:
    static constexpr int padding = 14;
    static constexpr int spacing = 10;
    static const QString cloneText;

    explicit CompetitorAdCardDelegate(const ThemeSource &theme, QObject *parent = nullptr);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    [[nodiscard]] QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

    [[nodiscard]] bool actionIsCard() const override { return false; }
    [[nodiscard]] QRect actionRect(const QRect &card) const override { return cloneButtonRect(card); }
    [[nodiscard]] QString actionName(const QModelIndex &) const override { return cloneText; }
    [[nodiscard]] QString cardDescription(const QModelIndex &index) const override;
    [[nodiscard]] ThemeColor actionGround() const override { return ThemeColor::panelBackground; }

    // Where a card's clone button is drawn.
    [[nodiscard]] static QRect cloneButtonRect(const QRect &card);
    // Ends a press that was let go of outside its button.
    void clearPress() { m_pressed = QPersistentModelIndex(); }

    // "Running 21d".
    [[nodiscard]] static QString runningText(qint64 days);

Q_SIGNALS:
    void cloneRequested(const QModelIndex &index);

protected:
    bool editorEvent(QEvent *event, QAbstractItemModel *model, const QStyleOptionViewItem &option,
        const QModelIndex &index) override;

private:
    QPointer<const ThemeSource> m_theme;
    QPersistentModelIndex m_pressed;
};

} // namespace orvane
