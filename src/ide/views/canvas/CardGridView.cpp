#include "ide/views/canvas/CardGridView.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/kit/ThemeSource.h"

#include <QApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace orvane {

CardGridView::CardGridView(
    const ThemeSource &theme, ThemeColor background, int minimumCellWidth, int spacing, int padding, QWidget *parent)
    : QAbstractItemView(parent),
      m_theme(&theme),
      m_background(background),
      m_minimumCellWidth(minimumCellWidth),
      m_spacing(spacing),
      m_padding(padding)
{
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(NoSelection);
    setEditTriggers(NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollMode(ScrollPerPixel);
    verticalScrollBar()->setSingleStep(24);
    setMouseTracking(true);
    // Tab reaches the cards; a click on one leaves the keyboard where it was.
    setFocusPolicy(Qt::TabFocus);
    installCardGridViewAccessibility();
    viewport()->setAutoFillBackground(true);
    applyTheme();
    connect(&theme, &ThemeSource::themeChanged, this, &CardGridView::applyTheme);
}

void CardGridView::applyTheme()
{
    if (!m_theme)
        return;
    setPalette(m_theme->theme().palette());
    QPalette palette = viewport()->palette();
    palette.setColor(QPalette::Base, m_theme->color(m_background));
    palette.setColor(QPalette::Window, m_theme->color(m_background));
    viewport()->setPalette(palette);
    viewport()->update();
}

int CardGridView::columnsFor(int width, int minimumCellWidth, int spacing, int padding)
{
    const int inner = width - 2 * padding;
    return std::max(1, (inner + spacing) / std::max(1, minimumCellWidth + spacing));
}

void CardGridView::relayout()
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    const int width = viewport()->width();
    m_columns = columnsFor(width, m_minimumCellWidth, m_spacing, m_padding);
    const int inner = std::max(0, width - 2 * m_padding);
    m_cellWidth = std::max(1, (inner - (m_columns - 1) * m_spacing) / m_columns);

    m_rects.resize(rows);
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    int y = m_padding;
    if (m_header)
        y += placeHeader() + m_headerGap;
    for (int first = 0; first < rows; first += m_columns) {
        const int last = std::min(rows, first + m_columns);
        int rowHeight = 0;
        for (int row = first; row < last; ++row) {
            option.rect = QRect(0, 0, m_cellWidth, 0);
            rowHeight = std::max(rowHeight,
                itemDelegateForIndex(model()->index(row, 0, rootIndex()))
                    ->sizeHint(option, model()->index(row, 0, rootIndex()))
                    .height());
        }
        for (int row = first; row < last; ++row) {
            const int column = row - first;
            m_rects[row] = QRect(m_padding + column * (m_cellWidth + m_spacing), y, m_cellWidth, rowHeight);
        }
        y += rowHeight + m_spacing;
    }
    if (rows > 0)
        m_contentHeight = y - m_spacing + m_padding;
    else
        m_contentHeight = m_header ? y - m_headerGap + m_padding : 0;

    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setRange(0, std::max(0, m_contentHeight - viewport()->height()));
    viewport()->update();
}

void CardGridView::setHeader(QWidget *header, int gap)
{
    m_header = header;
    m_headerGap = gap;
    header->setParent(viewport());
    header->show();
    // A control of the header that takes the keyboard comes into view, as a scrolled page's does.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget *, QWidget *now) {
        if (!m_header || !now || !m_header->isAncestorOf(now))
            return;
        const QRect shown(now->mapTo(viewport(), QPoint()), now->size());
        if (shown.top() < 0)
            verticalScrollBar()->setValue(verticalOffset() + shown.top() - m_padding);
        else if (shown.bottom() >= viewport()->height())
            verticalScrollBar()->setValue(verticalOffset() + shown.bottom() - viewport()->height() + 1 + m_padding);
    });
    relayout();
}

int CardGridView::placeHeader()
{
    const int width = std::max(0, viewport()->width() - 2 * m_padding);
    const int height = m_header->hasHeightForWidth() ? m_header->heightForWidth(width) : m_header->sizeHint().height();
    const QRect geometry(m_padding, m_padding - verticalOffset(), width, std::max(0, height));
    if (m_header->geometry() != geometry)
        m_header->setGeometry(geometry);
    return geometry.height();
}

void CardGridView::scrollContentsBy(int dx, int dy)
{
    QAbstractItemView::scrollContentsBy(dx, dy);
    if (m_header)
        placeHeader();
}

bool CardGridView::viewportEvent(QEvent *event)
{
    // The header's size hint changed (a longer headline, chips that wrap).
    if (event->type() == QEvent::LayoutRequest && m_header)
        relayout();
    return QAbstractItemView::viewportEvent(event);
}

QRect CardGridView::visualRect(const QModelIndex &index) const
{
    if (!index.isValid() || index.row() >= m_rects.size())
        return {};
    return m_rects.at(index.row()).translated(0, -verticalOffset());
}

void CardGridView::scrollTo(const QModelIndex &index, ScrollHint)
{
    const QRect rect = visualRect(index);
    if (rect.isEmpty())
        return;
    if (rect.top() < 0)
        verticalScrollBar()->setValue(verticalOffset() + rect.top() - m_padding);
    else if (rect.bottom() > viewport()->height())
        verticalScrollBar()->setValue(verticalOffset() + rect.bottom() - viewport()->height() + m_padding);
}

QModelIndex CardGridView::indexAt(const QPoint &point) const
{
    const QPoint content = point + QPoint(0, verticalOffset());
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    for (qsizetype row = 0; row < std::min<qsizetype>(rows, m_rects.size()); ++row) {
        if (m_rects.at(row).contains(content))
            return model()->index(int(row), 0, rootIndex());
    }
    return {};
}

QModelIndex CardGridView::moveCursor(CursorAction action, Qt::KeyboardModifiers)
{
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    if (rows == 0)
        return {};
    // The keyboard's first card is the first one, whichever way it arrives.
    if (!currentIndex().isValid())
        return model()->index(0, 0, rootIndex());
    int row = currentIndex().row();
    switch (action) {
    case MoveLeft:
    case MovePrevious:
        row -= 1;
        break;
    case MoveRight:
    case MoveNext:
        row += 1;
        break;
    case MoveUp:
        row -= m_columns;
        break;
    case MoveDown:
        row += m_columns;
        break;
    case MoveHome:
    case MovePageUp:
        row = 0;
        break;
    case MoveEnd:
    case MovePageDown:
        row = rows - 1;
        break;
    }
    return model()->index(std::clamp(row, 0, rows - 1), 0, rootIndex());
}

void CardGridView::setModel(QAbstractItemModel *model)
{
    QAbstractItemView::setModel(model);
    if (model) {
        connect(model, &QAbstractItemModel::rowsRemoved, this, &CardGridView::relayout);
        connect(model, &QAbstractItemModel::layoutChanged, this, &CardGridView::relayout);
    }
    relayout();
}

int CardGridView::verticalOffset() const
{
    return verticalScrollBar()->value();
}

void CardGridView::updateGeometries()
{
    relayout();
    QAbstractItemView::updateGeometries();
}

void CardGridView::paintEvent(QPaintEvent *event)
{
    QPainter painter(viewport());
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    for (qsizetype row = 0; row < std::min<qsizetype>(rows, m_rects.size()); ++row) {
        const QRect rect = m_rects.at(row).translated(0, -verticalOffset());
        if (!rect.intersects(event->rect()))
            continue;
        const QModelIndex index = model()->index(int(row), 0, rootIndex());
        option.rect = rect;
        option.state = QStyle::State_Enabled;
        const bool dimmed = m_pressDims && index == m_pressed;
        if (dimmed)
            option.state |= QStyle::State_Sunken;
        painter.save();
        painter.setOpacity(dimmed ? OrvaneClickableButtonStyle::pressedOpacity : 1.0);
        itemDelegateForIndex(index)->paint(&painter, option, index);
        painter.restore();
    }
    paintKeyboardFocus(painter);
}

const CardActionDelegate *CardGridView::actionDelegate() const
{
    return qobject_cast<const CardActionDelegate *>(itemDelegate());
}

QRect CardGridView::actionRect(const QModelIndex &index) const
{
    const CardActionDelegate *delegate = actionDelegate();
    const QRect card = visualRect(index);
    return delegate && !card.isEmpty() ? delegate->actionRect(card) : QRect();
}

void CardGridView::triggerAction(const QModelIndex &index)
{
    if (actionDelegate() && index.isValid() && index.model() == model())
        Q_EMIT actionTriggered(index);
}

void CardGridView::paintKeyboardFocus(QPainter &painter)
{
    const CardActionDelegate *delegate = actionDelegate();
    if (!m_theme || !delegate || !hasFocus() || !currentIndex().isValid())
        return;
    // Around the control, outside it, so the ring covers nothing it marks (a selected card's outline).
    const QRect control = actionRect(currentIndex());
    if (control.isEmpty())
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    paintButtonFocusRing(painter, control.adjusted(-focusRingReach, -focusRingReach, focusRingReach, focusRingReach),
        theme, theme.color(delegate->actionGround()));
}

void CardGridView::keyPressEvent(QKeyEvent *event)
{
    const bool press = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (press && !(event->modifiers() & ~Qt::KeypadModifier) && actionDelegate()) {
        event->accept();
        if (currentIndex().isValid())
            triggerAction(currentIndex());
        return;
    }
    QAbstractItemView::keyPressEvent(event);
}

void CardGridView::focusInEvent(QFocusEvent *event)
{
    // The keyboard starts on the first card in view: where the reader is, without a jump.
    if (!currentIndex().isValid() && model()) {
        const int rows = std::min<int>(model()->rowCount(rootIndex()), int(m_rects.size()));
        for (int row = 0; row < rows; ++row) {
            if (visualRect(model()->index(row, 0, rootIndex())).intersects(viewport()->rect())) {
                setAutoScroll(false);
                setCurrentIndex(model()->index(row, 0, rootIndex()));
                setAutoScroll(true);
                break;
            }
        }
    }
    QAbstractItemView::focusInEvent(event);
    keyboardMoved();
}

void CardGridView::focusOutEvent(QFocusEvent *event)
{
    QAbstractItemView::focusOutEvent(event);
    viewport()->update();
}

void CardGridView::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QAbstractItemView::currentChanged(current, previous);
    keyboardMoved();
}

void CardGridView::keyboardMoved()
{
    // The ring reaches past the card: the whole view is repainted, a few cards at most.
    viewport()->update();
    // Assistive technology follows the keyboard down to the card's control.
    if (currentIndex().isValid())
        announceKeyboardItem(this);
}

void CardGridView::resizeEvent(QResizeEvent *event)
{
    QAbstractItemView::resizeEvent(event);
    relayout();
}

void CardGridView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_pressed = indexAt(event->position().toPoint());
        viewport()->update();
    }
    QAbstractItemView::mousePressEvent(event);
}

void CardGridView::mouseReleaseEvent(QMouseEvent *event)
{
    QAbstractItemView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) {
        m_pressed = QPersistentModelIndex();
        viewport()->update();
        Q_EMIT mouseReleased();
    }
}

void CardGridView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QAbstractItemView::rowsInserted(parent, start, end);
    relayout();
}

void CardGridView::dataChanged(const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles)
{
    QAbstractItemView::dataChanged(topLeft, bottomRight, roles);
    relayout(); // a longer headline can make its row taller
}

void CardGridView::reset()
{
    QAbstractItemView::reset();
    relayout();
}

} // namespace orvane
