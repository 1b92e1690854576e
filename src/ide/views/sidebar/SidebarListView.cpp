#include "ide/views/sidebar/SidebarListView.h"

#include "ide/views/kit/ClickableButton.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QToolTip>

namespace orvane {

SidebarRowDelegate::Part SidebarRowDelegate::partAt(const QRect &rowRect, const QModelIndex &, QPoint point) const
{
    return rowRect.contains(point) ? Part::row : Part::none;
}

QRect SidebarRowDelegate::partRect(const QRect &rowRect, Part part) const
{
    return part == Part::row ? rowRect : QRect();
}

QString SidebarRowDelegate::toolTip(const QModelIndex &, Part) const
{
    return {};
}

bool SidebarRowDelegate::helpEvent(
    QHelpEvent *event, QAbstractItemView *view, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    if (event->type() != QEvent::ToolTip || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QString text = toolTip(index, partAt(option.rect, index, event->pos()));
    if (text.isEmpty()) {
        QToolTip::hideText();
        event->ignore();
        return false;
    }
    QToolTip::showText(event->globalPos(), text, view->viewport(), partRect(option.rect, Part::star));
    return true;
}

SidebarRowDelegate::Part SidebarRowDelegate::pressedPart(const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const auto *view = qobject_cast<const SidebarListView *>(option.widget);
    if (!view || view->pressedIndex() != index)
        return Part::none;
    return view->pressedPart();
}

int SidebarRowDelegate::rowWidth(const QStyleOptionViewItem &option)
{
    if (option.rect.width() > 0)
        return option.rect.width();
    if (const auto *view = qobject_cast<const QAbstractItemView *>(option.widget))
        return view->viewport()->width();
    return 0;
}

SidebarListView::SidebarListView(SidebarRowDelegate *delegate, QWidget *parent)
    : QListView(parent), m_delegate(delegate)
{
    delegate->setParent(this);
    setItemDelegate(delegate);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::TabFocus);
    setMouseTracking(false);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // Transparent, so the sidebar's own fill shows through.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setAttribute(Qt::WA_TranslucentBackground);
    setVisible(false);
}

void SidebarListView::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    for (auto signal : { &QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved })
        connect(model, signal, this, &SidebarListView::fitHeight);
    connect(model, &QAbstractItemModel::modelReset, this, &SidebarListView::fitHeight);
    connect(model, &QAbstractItemModel::layoutChanged, this, &SidebarListView::fitHeight);
    // A changed row may wrap to another height.
    connect(model, &QAbstractItemModel::dataChanged, this, &SidebarListView::fitHeight);
    fitHeight();
}

QRect SidebarListView::partRect(int row, SidebarRowDelegate::Part part) const
{
    if (!model() || row < 0 || row >= model()->rowCount())
        return {};
    return m_delegate->partRect(visualRect(model()->index(row, 0)), part);
}

void SidebarListView::fitHeight()
{
    const int rows = model() ? model()->rowCount() : 0;
    int height = 0;
    for (int row = 0; row < rows; ++row)
        height += sizeHintForRow(row);
    setFixedHeight(height);
    setVisible(rows > 0);
    // The rows may have moved under a held press.
    if (m_pressedIndex.isValid() || m_pressedPart != SidebarRowDelegate::Part::none)
        viewport()->update();
}

void SidebarListView::clearPress()
{
    const QPersistentModelIndex pressed = m_pressedIndex;
    m_pressedIndex = QPersistentModelIndex();
    m_pressedPart = SidebarRowDelegate::Part::none;
    if (pressed.isValid())
        viewport()->update(visualRect(pressed));
}

void SidebarListView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QListView::mousePressEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    clearPress();
    if (!index.isValid())
        return;
    m_pressedIndex = index;
    m_pressedPart = m_delegate->partAt(visualRect(index), index, point);
    viewport()->update(visualRect(index));
    event->accept();
}

void SidebarListView::mouseMoveEvent(QMouseEvent *event)
{
    // Holding the press while dragging off the part releases nothing; the part stays marked as a
    // held button does.
    event->accept();
}

void SidebarListView::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QListView::mouseReleaseEvent(event);
        return;
    }
    const QPoint point = event->position().toPoint();
    const QModelIndex index = indexAt(point);
    const bool sameRow = index.isValid() && QPersistentModelIndex(index) == m_pressedIndex;
    const SidebarRowDelegate::Part part
        = sameRow ? m_delegate->partAt(visualRect(index), index, point) : SidebarRowDelegate::Part::none;
    const bool clicked = sameRow && part == m_pressedPart && part != SidebarRowDelegate::Part::none;
    clearPress();
    event->accept();
    if (clicked)
        Q_EMIT partClicked(index, part);
}

void SidebarListView::mouseDoubleClickEvent(QMouseEvent *event)
{
    // A second click is one more click of the part, as with a button.
    mousePressEvent(event);
}

void SidebarListView::contextMenuEvent(QContextMenuEvent *event)
{
    const bool keyboard = event->reason() == QContextMenuEvent::Keyboard;
    const QModelIndex index = keyboard ? currentIndex() : indexAt(event->pos());
    if (!index.isValid()) {
        event->ignore();
        return;
    }
    event->accept();
    Q_EMIT contextMenuRequested(
        index, keyboard ? viewport()->mapToGlobal(visualRect(index).center()) : event->globalPos());
}

void SidebarListView::keyPressEvent(QKeyEvent *event)
{
    const bool opens = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (opens && event->modifiers() == Qt::NoModifier && currentIndex().isValid()) {
        event->accept();
        Q_EMIT partClicked(currentIndex(), SidebarRowDelegate::Part::row);
        return;
    }
    QListView::keyPressEvent(event);
}

void SidebarListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    // The rows paint no focus of their own: the keyboard's row gets the ring of the window's
    // buttons, in the theme's accent (the palette's link colour), which stands out in both themes.
    if (!hasFocus() || !currentIndex().isValid())
        return;
    QPainter painter(viewport());
    // A row may be laid out wider than the list shows; the ring keeps to what shows.
    paintFocusRingFrame(painter, visualRect(currentIndex()) & viewport()->rect(), palette().color(QPalette::Link));
}

void SidebarListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    if (event->reason() != Qt::MouseFocusReason)
        keepKeyboardRow();
}

void SidebarListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QListView::rowsInserted(parent, start, end);
    keepKeyboardRow();
}

void SidebarListView::reset()
{
    QListView::reset();
    // The selection model forgets its current row on the same reset, after this view: later.
    QMetaObject::invokeMethod(this, &SidebarListView::keepKeyboardRow, Qt::QueuedConnection);
}

void SidebarListView::keepKeyboardRow()
{
    if (!hasFocus() || !model() || !selectionModel() || currentIndex().isValid())
        return;
    for (int row = 0; row < model()->rowCount(rootIndex()); ++row) {
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        if (!isRowHidden(row) && (model()->flags(index) & Qt::ItemIsEnabled)) {
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
            viewport()->update();
            return;
        }
    }
}

void SidebarListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    if (event->size().width() != event->oldSize().width())
        fitHeight(); // rows that wrap change height with the width
}

} // namespace orvane
