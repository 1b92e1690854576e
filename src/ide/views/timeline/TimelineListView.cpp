#include "ide/views/timeline/TimelineListView.h"

#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineEntryListModel.h"

#include <QKeyEvent>
#include <QScrollBar>

namespace orvane {

TimelineListView::TimelineListView(QWidget *parent) : QListView(parent)
{
    installTimelineAccessibility();
    // Tab reaches it; a click on a card leaves the keyboard where it was (in the composer, mostly).
    setFocusPolicy(Qt::TabFocus);
}

TimelineEntryDelegate *TimelineListView::entryDelegate() const
{
    return qobject_cast<TimelineEntryDelegate *>(itemDelegate());
}

int TimelineListView::currentControl() const
{
    const TimelineEntryDelegate *delegate = entryDelegate();
    if (!m_control || !delegate || !currentIndex().isValid())
        return -1;
    return delegate->cardLayout(currentIndex()).findControl(m_control->kind, m_control->id);
}

void TimelineListView::setCurrentControl(const QModelIndex &index, int hit)
{
    const TimelineEntryDelegate *delegate = entryDelegate();
    if (!delegate || !index.isValid())
        return;
    if (index != currentIndex())
        setCurrentIndex(index);
    const TimelineCardLayout &layout = delegate->cardLayout(index);
    if (hit >= 0 && hit < layout.hits.size() && layout.hits.at(hit).kind != TimelineCardLayout::HitKind::bodyText)
        m_control = Control { layout.hits.at(hit).kind, layout.hits.at(hit).id };
    else
        m_control.reset();
    controlChanged();
}

void TimelineListView::pressControl(const QModelIndex &index, int hit)
{
    TimelineEntryDelegate *delegate = entryDelegate();
    if (!delegate || !index.isValid())
        return;
    const TimelineCardLayout &layout = delegate->cardLayout(index);
    if (hit < 0 || hit >= layout.hits.size() || layout.hits.at(hit).kind == TimelineCardLayout::HitKind::bodyText)
        return;
    // The action may change this very card: act on a copy of the hit.
    const TimelineCardLayout::Hit pressed = layout.hits.at(hit);
    delegate->activate(index, pressed);
}

void TimelineListView::stepControl(int step)
{
    const TimelineEntryDelegate *delegate = entryDelegate();
    if (!delegate || !currentIndex().isValid())
        return;
    const QList<int> controls = delegate->cardLayout(currentIndex()).controlHits();
    // The card itself stands before its first control.
    const int at = int(controls.indexOf(currentControl()));
    const int next = std::clamp(at + step, -1, int(controls.size()) - 1);
    setCurrentControl(currentIndex(), next < 0 ? -1 : controls.at(next));
    if (next < 0)
        return;
    // The control comes into view, even inside a card taller than the list.
    const auto rect = delegate->controlRect(currentIndex(), m_control->kind, m_control->id);
    if (!rect)
        return;
    constexpr int margin = 8;
    QScrollBar *bar = verticalScrollBar();
    if (rect->top() < margin)
        bar->setValue(bar->value() + rect->top() - margin);
    else if (rect->bottom() > viewport()->height() - margin)
        bar->setValue(bar->value() + std::min(rect->top() - margin, rect->bottom() - viewport()->height() + margin));
}

void TimelineListView::keyPressEvent(QKeyEvent *event)
{
    if (event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier)) {
        QListView::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Left:
    case Qt::Key_Right:
        stepControl(event->key() == Qt::Key_Left ? -1 : 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (const int control = currentControl(); control >= 0)
            pressControl(currentIndex(), control);
        else if (event->key() != Qt::Key_Space && (model()->flags(currentIndex()) & Qt::ItemIsEditable))
            edit(currentIndex());
        break;
    default:
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
}

void TimelineListView::focusInEvent(QFocusEvent *event)
{
    // The keyboard starts on the lowest card in view: where the reader is, without a jump.
    if (!currentIndex().isValid() && model()) {
        QModelIndex start = indexAt(QPoint(viewport()->width() / 2, viewport()->height() - 1));
        for (int y = viewport()->height() - 1; !start.isValid() && y >= 0; y -= 8)
            start = indexAt(QPoint(viewport()->width() / 2, y));
        if (start.isValid()) {
            setAutoScroll(false);
            setCurrentIndex(start);
            setAutoScroll(true);
        }
    }
    QListView::focusInEvent(event);
    controlChanged();
}

void TimelineListView::focusOutEvent(QFocusEvent *event)
{
    QListView::focusOutEvent(event);
    if (currentIndex().isValid())
        updateRow(currentIndex());
}

void TimelineListView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    m_control.reset();
    QListView::currentChanged(current, previous);
    if (previous.isValid())
        updateRow(previous);
    controlChanged();
}

void TimelineListView::updateRow(const QModelIndex &index)
{
    constexpr int reach = TimelineEntryDelegate::focusRingReach;
    viewport()->update(visualRect(index).adjusted(-reach, -reach, reach, reach));
}

void TimelineListView::controlChanged()
{
    if (currentIndex().isValid())
        updateRow(currentIndex());
    // Assistive technology follows the keyboard down to the control.
    announceKeyboardItem(this);
}

} // namespace orvane
