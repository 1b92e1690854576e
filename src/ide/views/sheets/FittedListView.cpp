#include "ide/views/sheets/FittedListView.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>

namespace orvane {

FittedListView::FittedListView(QWidget *parent) : QListView(parent)
{
    installFittedListAccessibility();
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    setMouseTracking(true);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    // The rows lie on whatever the list sits on.
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
}

void FittedListView::setMaximumContentHeight(int height)
{
    m_maximumHeight = height;
    setVerticalScrollBarPolicy(height > 0 ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
    fitHeight();
}

void FittedListView::setModel(QAbstractItemModel *model)
{
    QListView::setModel(model);
    if (!model)
        return;
    // Any change of the rows may change the height and the tab stops; fit once the view has laid
    // them out.
    const auto refit = [this] {
        QTimer::singleShot(0, this, [this] {
            fitHeight();
            setRowsAreTabStops(m_rowsAreTabStops);
        });
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(model, &QAbstractItemModel::modelReset, this, refit);
    connect(model, &QAbstractItemModel::dataChanged, this, refit);
    connect(model, &QAbstractItemModel::layoutChanged, this, refit);
    fitHeight();
    setRowsAreTabStops(m_rowsAreTabStops);
}

void FittedListView::setRowsAreTabStops(bool on)
{
    m_rowsAreTabStops = on;
    // A list without a row to press is no stop of the Tab chain.
    setFocusPolicy(on && tabStopFrom(-1, true).isValid() ? Qt::TabFocus : Qt::NoFocus);
}

bool FittedListView::isTabStop(const QModelIndex &index) const
{
    return m_rowsAreTabStops && index.isValid() && index.model() == model() && !isRowHidden(index.row())
        && (index.flags() & Qt::ItemIsEnabled);
}

void FittedListView::pressRow(const QModelIndex &index)
{
    if (index.isValid() && (index.flags() & Qt::ItemIsEnabled))
        Q_EMIT clicked(index);
}

QModelIndex FittedListView::tabStopFrom(int row, bool next) const
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    const int step = next ? 1 : -1;
    for (int candidate = row + step; candidate >= 0 && candidate < rows; candidate += step) {
        const QModelIndex index = model()->index(candidate, 0, rootIndex());
        if (isTabStop(index))
            return index;
    }
    return {};
}

void FittedListView::moveToRow(const QModelIndex &index)
{
    // A row held down with Space is let go without a press when the keyboard moves on, as a button is.
    if (m_keyPressed) {
        m_keyPressed = false;
        setPressed({});
    }
    setCurrentIndex(index);
    if (!index.isValid())
        return;
    scrollTo(index);
    // A list as tall as its rows scrolls with the page it lies on: the page brings the row into
    // view (the list's input-method rectangle is its current row).
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto *page = qobject_cast<QScrollArea *>(ancestor);
            page && page->widget() && page->widget()->isAncestorOf(this))
            page->ensureWidgetVisible(this, 0, 0);
    }
}

void FittedListView::setPressed(const QPersistentModelIndex &index)
{
    if (m_pressed == index)
        return;
    if (m_pressed.isValid())
        viewport()->update(visualRect(m_pressed));
    m_pressed = index;
    if (m_pressed.isValid())
        viewport()->update(visualRect(m_pressed));
}

bool FittedListView::focusNextPrevChild(bool next)
{
    // Tab goes from row to row, and on out of the list after the last one.
    if (m_rowsAreTabStops && hasFocus()) {
        const int rows = model() ? model()->rowCount(rootIndex()) : 0;
        const int from = currentIndex().isValid() ? currentIndex().row() : (next ? -1 : rows);
        const QModelIndex target = tabStopFrom(from, next);
        if (target.isValid()) {
            moveToRow(target);
            return true;
        }
    }
    return QListView::focusNextPrevChild(next);
}

void FittedListView::focusInEvent(QFocusEvent *event)
{
    QListView::focusInEvent(event);
    if (!m_rowsAreTabStops)
        return;
    // Tab comes in at the first row, Shift+Tab at the last; coming back to the window keeps the row.
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (event->reason() == Qt::BacktabFocusReason)
        moveToRow(tabStopFrom(rows, false));
    else if (event->reason() == Qt::TabFocusReason || !isTabStop(currentIndex()))
        moveToRow(tabStopFrom(-1, true));
}

void FittedListView::focusOutEvent(QFocusEvent *event)
{
    if (m_keyPressed) {
        m_keyPressed = false;
        setPressed({});
    }
    QListView::focusOutEvent(event);
}

void FittedListView::keyPressEvent(QKeyEvent *event)
{
    if (!m_rowsAreTabStops) {
        QListView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    switch (event->key()) {
    case Qt::Key_Space:
    case Qt::Key_Select:
        // Down on the press, pressed on the release, as a button.
        if (!event->isAutoRepeat() && isTabStop(current)) {
            m_keyPressed = true;
            setPressed(current);
        }
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (isTabStop(current)) {
            event->accept();
            pressRow(current);
            return;
        }
        break;
    default:
        break;
    }
    // The rows are buttons: the list has no keys of its own (no arrows, no type-ahead).
    event->ignore();
}

void FittedListView::keyReleaseEvent(QKeyEvent *event)
{
    const bool space = event->key() == Qt::Key_Space || event->key() == Qt::Key_Select;
    if (m_rowsAreTabStops && space && m_keyPressed && !event->isAutoRepeat()) {
        const QPersistentModelIndex pressed = m_pressed;
        m_keyPressed = false;
        setPressed({});
        event->accept();
        if (pressed.isValid() && pressed == currentIndex())
            pressRow(pressed);
        return;
    }
    QListView::keyReleaseEvent(event);
}

int FittedListView::contentHeight() const
{
    if (!model())
        return 0;
    int height = 0;
    for (int row = 0; row < model()->rowCount(); ++row)
        height += sizeHintForRow(row);
    return height;
}

QSize FittedListView::sizeHint() const
{
    int height = contentHeight();
    if (m_maximumHeight > 0)
        height = qMin(height, m_maximumHeight);
    return { QListView::sizeHint().width(), height };
}

QSize FittedListView::minimumSizeHint() const
{
    return { 0, sizeHint().height() };
}

void FittedListView::fitHeight()
{
    const int height = sizeHint().height();
    if (this->height() != height || minimumHeight() != height) {
        setFixedHeight(height);
        updateGeometry();
        Q_EMIT fittedHeightChanged(height);
    }
}

void FittedListView::resizeEvent(QResizeEvent *event)
{
    QListView::resizeEvent(event);
    // Rows that wrap grow or shrink with the width.
    if (width() != m_fittedWidth) {
        m_fittedWidth = width();
        scheduleDelayedItemsLayout();
        QTimer::singleShot(0, this, &FittedListView::fitHeight);
    }
}

void FittedListView::mousePressEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    m_keyPressed = false;
    m_pressed = event->button() == Qt::LeftButton && (index.flags() & Qt::ItemIsEnabled) ? index : QModelIndex();
    viewport()->update();
    QListView::mousePressEvent(event);
}

void FittedListView::mouseReleaseEvent(QMouseEvent *event)
{
    m_pressed = QPersistentModelIndex();
    viewport()->update();
    QListView::mouseReleaseEvent(event);
}

} // namespace orvane
