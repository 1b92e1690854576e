#include "ide/views/sheets/FittedListView.h"

#include <QMouseEvent>
#include <QScrollBar>
#include <QTimer>

namespace orvane {

FittedListView::FittedListView(QWidget *parent) : QListView(parent)
{
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
    // Any change of the rows may change the height; fit once the view has laid them out.
    const auto refit = [this] { QTimer::singleShot(0, this, &FittedListView::fitHeight); };
    connect(model, &QAbstractItemModel::rowsInserted, this, refit);
    connect(model, &QAbstractItemModel::rowsRemoved, this, refit);
    connect(model, &QAbstractItemModel::modelReset, this, refit);
    connect(model, &QAbstractItemModel::dataChanged, this, refit);
    connect(model, &QAbstractItemModel::layoutChanged, this, refit);
    fitHeight();
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
