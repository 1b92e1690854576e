#pragma once

#include "ide/views/timeline/TimelineCardLayout.h"

#include <QListView>
#include <QUuid>

#include <optional>

namespace orvane {

class TimelineEntryDelegate;

// The timeline's list, reached with Tab. The arrow keys up and down move between cards, left and
// right between the controls the current card paints (its workbench link, tool rows, gate buttons);
// Return or Space presses the control as a click does, and Return on the card itself opens its text
// for selection. The delegate draws the keyboard's place as a ring.
class TimelineListView final : public QListView {
    Q_OBJECT
public:
    explicit TimelineListView(QWidget *parent = nullptr);

    [[nodiscard]] TimelineEntryDelegate *entryDelegate() const;
    // The hit (in the current card's layout) of the control the keyboard is on; -1 for the card itself.
    [[nodiscard]] int currentControl() const;
    // Puts the keyboard on a card's control (hit -1: on the card itself).
    void setCurrentControl(const QModelIndex &index, int hit);
    // Presses a card's control as a click on it does.
    void pressControl(const QModelIndex &index, int hit);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    // Moves the keyboard to the control before (-1) or after (+1) the current one, within the card.
    void stepControl(int step);
    void controlChanged();
    // Repaints the row and what the keyboard's ring around it covers.
    void updateRow(const QModelIndex &index);

    struct Control {
        TimelineCardLayout::HitKind kind;
        QUuid id;
    };
    // Kept by kind and tool run, not by position: the card's layout may change under it.
    std::optional<Control> m_control;
};

// Exposes the timeline to assistive technology: the list's children are its rows (list items named
// by their text), and a card's children are the controls it paints (named by their label, pressed
// as a click).
void installTimelineAccessibility();

} // namespace orvane
