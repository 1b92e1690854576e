#include "ide/views/operations/CardGrid.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/PaintedListAccessible.h"
#include "ide/views/kit/ThemeSource.h"

#include <QAbstractItemModel>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollArea>

namespace orvane::operations {

CardGrid::CardGrid(QAbstractItemModel *model, std::unique_ptr<CardDelegate> delegate, const ThemeSource &theme,
    int minimumCellWidth, int spacing, QWidget *parent)
    : QWidget(parent),
      m_model(model),
      m_delegate(std::move(delegate)),
      m_theme(&theme),
      m_minimumCellWidth(qMax(0, minimumCellWidth)),
      m_spacing(qMax(0, spacing))
{
    Q_ASSERT(model && m_delegate);
    QSizePolicy policy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    policy.setHeightForWidth(true);
    setSizePolicy(policy);
    setMouseTracking(true);
    setFocusPolicy(Qt::TabFocus);
    installCardGridAccessibility();

    const auto relayout = [this] { invalidate(); };
    connect(model, &QAbstractItemModel::rowsInserted, this, relayout);
    connect(model, &QAbstractItemModel::rowsRemoved, this, relayout);
    connect(model, &QAbstractItemModel::rowsMoved, this, relayout);
    connect(model, &QAbstractItemModel::modelReset, this, relayout);
    connect(model, &QAbstractItemModel::layoutChanged, this, relayout);
    // A changed row may change its card's height (a title that wraps anew).
    connect(model, &QAbstractItemModel::dataChanged, this, relayout);
    connect(&theme, &ThemeSource::themeChanged, this, qOverload<>(&QWidget::update));
}

CardGrid::~CardGrid() = default;

CardGrid::Layout CardGrid::layoutFor(int width) const
{
    Layout layout;
    layout.width = width;
    const int rows = m_model ? m_model->rowCount() : 0;
    if (width <= 0 || rows == 0)
        return layout;
    int columns = 1;
    if (m_minimumCellWidth > 0)
        columns = qMax(1, (width + m_spacing) / (m_minimumCellWidth + m_spacing));
    const int cellWidth = qMax(1, (width - (columns - 1) * m_spacing) / columns);
    // What equal integer widths leave over is shared out on both sides: the cells stay centred.
    const int inset = qMax(0, (width - (columns * cellWidth + (columns - 1) * m_spacing)) / 2);
    layout.columns = columns;
    layout.cards.reserve(rows);
    int y = 0;
    for (int first = 0; first < rows; first += columns) {
        const int last = qMin(rows, first + columns);
        int lineHeight = 0;
        for (int row = first; row < last; ++row)
            lineHeight = qMax(lineHeight, m_delegate->cardHeight(m_model->index(row, 0), cellWidth));
        for (int row = first; row < last; ++row) {
            const int column = row - first;
            layout.cards.append(QRect(inset + column * (cellWidth + m_spacing), y, cellWidth, lineHeight));
        }
        y += lineHeight + m_spacing;
    }
    layout.height = y - m_spacing;
    return layout;
}

const CardGrid::Layout &CardGrid::currentLayout() const
{
    if (m_layout.width != width())
        m_layout = layoutFor(width());
    return m_layout;
}

void CardGrid::invalidate()
{
    m_layout = {};
    if (m_pressedPart && !m_pressedIndex.isValid())
        setPressed({}, 0);
    updateGeometry();
    update();
}

int CardGrid::columnCount() const
{
    return currentLayout().columns;
}

QRect CardGrid::cardRect(int row) const
{
    const Layout &layout = currentLayout();
    return row >= 0 && row < layout.cards.size() ? layout.cards.at(row) : QRect();
}

QRect CardGrid::partRect(int row, int part) const
{
    const QRect card = cardRect(row);
    if (card.isNull() || !m_model)
        return {};
    return m_delegate->partRect(m_model->index(row, 0), card, part);
}

std::pair<int, int> CardGrid::hitTest(const QPoint &pos) const
{
    const Layout &layout = currentLayout();
    for (int row = 0; row < layout.cards.size(); ++row) {
        if (!layout.cards.at(row).contains(pos))
            continue;
        const QModelIndex index = m_model->index(row, 0);
        for (int part : m_delegate->parts(index)) {
            if (m_delegate->partRect(index, layout.cards.at(row), part).contains(pos))
                return { row, part };
        }
        return { row, 0 };
    }
    return { -1, 0 };
}

int CardGrid::heightForWidth(int width) const
{
    if (width == m_layout.width)
        return m_layout.height;
    return layoutFor(width).height;
}

QSize CardGrid::sizeHint() const
{
    const int width = this->width() > 0 ? this->width() : qMax(m_minimumCellWidth, 320);
    return { qMax(m_minimumCellWidth, 1), heightForWidth(width) };
}

QSize CardGrid::minimumSizeHint() const
{
    return { qMin(m_minimumCellWidth, 200), 0 };
}

void CardGrid::paintEvent(QPaintEvent *event)
{
    if (!m_model || !m_theme)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const Layout &layout = currentLayout();
    for (int row = 0; row < layout.cards.size(); ++row) {
        const QRect &card = layout.cards.at(row);
        if (!card.intersects(event->rect()))
            continue;
        const QModelIndex index = m_model->index(row, 0);
        const int pressed = m_pressedInside && m_pressedIndex == index ? m_pressedPart : 0;
        painter.save();
        m_delegate->paintCard(painter, card, index, pressed);
        painter.restore();
    }
    // The cards paint no focus of their own: the keyboard's card gets the ring of the window's
    // buttons, in the theme's accent (the palette's link colour).
    if (hasFocus() && currentRow() >= 0)
        paintFocusRingFrame(painter, cardRect(currentRow()), palette().color(QPalette::Link));
}

int CardGrid::currentRow() const
{
    const int rows = m_model ? m_model->rowCount() : 0;
    return rows == 0 ? -1 : qBound(0, m_current, rows - 1);
}

void CardGrid::activate(int row)
{
    if (!m_model || row < 0 || row >= m_model->rowCount())
        return;
    const QModelIndex index = m_model->index(row, 0);
    const QList<int> parts = m_delegate->parts(index);
    if (!parts.isEmpty())
        Q_EMIT partClicked(index, parts.last());
}

void CardGrid::keyPressEvent(QKeyEvent *event)
{
    const int row = currentRow();
    const int rows = m_model ? m_model->rowCount() : 0;
    const int columns = qMax(1, columnCount());
    int next = 0;
    switch (event->key()) {
    case Qt::Key_Left:
        next = row - 1;
        break;
    case Qt::Key_Right:
        next = row + 1;
        break;
    case Qt::Key_Up:
        next = row - columns;
        break;
    case Qt::Key_Down:
        next = row + columns;
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        event->accept();
        activate(row);
        return;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (rows == 0 || next < 0 || next >= rows)
        return;
    m_current = next;
    // Within a page that scrolls, the card comes into view.
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto *scroll = qobject_cast<QScrollArea *>(ancestor)) {
            const QRect card = cardRect(next);
            const QPoint centre = mapTo(scroll->widget(), card.center());
            scroll->ensureVisible(centre.x(), centre.y(), card.width() / 2, card.height() / 2);
            break;
        }
    }
    update();
    // A screen reader says the card the keyboard is on now.
    announceKeyboardItem(this);
}

void CardGrid::focusInEvent(QFocusEvent *event)
{
    QWidget::focusInEvent(event);
    update();
    if (currentRow() >= 0)
        announceKeyboardItem(this);
}

void CardGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget::focusOutEvent(event);
    update();
}

void CardGrid::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    if (currentLayout().height != height())
        updateGeometry();
}

void CardGrid::setPressed(const QPersistentModelIndex &index, int part)
{
    m_pressedIndex = index;
    m_pressedPart = part;
    m_pressedInside = part != 0;
    update();
}

void CardGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_model)
        return QWidget::mousePressEvent(event);
    const auto [row, part] = hitTest(event->position().toPoint());
    if (part == 0)
        return QWidget::mousePressEvent(event);
    setPressed(QPersistentModelIndex(m_model->index(row, 0)), part);
    event->accept();
}

void CardGrid::mouseMoveEvent(QMouseEvent *event)
{
    const auto [row, part] = hitTest(event->position().toPoint());
    if (m_pressedPart) {
        // A held press that leaves its part undims it, and dims it again on the way back.
        const bool inside = m_pressedIndex.isValid() && row == m_pressedIndex.row() && part == m_pressedPart;
        if (inside != m_pressedInside) {
            m_pressedInside = inside;
            update();
        }
    }
    if (part != 0)
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
    QWidget::mouseMoveEvent(event);
}

void CardGrid::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton || !m_pressedPart)
        return QWidget::mouseReleaseEvent(event);
    const QPersistentModelIndex index = m_pressedIndex;
    const int part = m_pressedPart;
    setPressed({}, 0);
    const auto [row, releasedPart] = hitTest(event->position().toPoint());
    event->accept();
    // The model may change under the handler (even reset); nothing of this grid is read afterwards.
    if (index.isValid() && row == index.row() && releasedPart == part)
        Q_EMIT partClicked(QModelIndex(index), part);
}

} // namespace orvane::operations
