#include "ide/views/governance/ReportCardDelegate.h"

#include "ide/views/governance/ReportListModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane::governance {
namespace {

constexpr int lineGap = 4;
constexpr qreal pressedOpacity = 0.82;

QFont kindFont()
{
    return themeFont(9, QFont::Bold, true);
}
QFont titleFont()
{
    return themeFont(14, QFont::Bold);
}
QFont createdFont()
{
    return themeFont(11, QFont::Normal, true);
}
QFont buttonFont()
{
    return themeFont(11, QFont::Bold);
}

QSize buttonSize()
{
    const QFontMetrics metrics(buttonFont());
    return { metrics.horizontalAdvance(ReportCardDelegate::openButtonText) + 20, metrics.height() + 12 };
}

int textBlockHeight()
{
    return QFontMetrics(kindFont()).height() + lineGap + QFontMetrics(titleFont()).height() + lineGap
        + QFontMetrics(createdFont()).height();
}

bool isLastRow(const QModelIndex &index)
{
    return !index.model() || index.row() == index.model()->rowCount(index.parent()) - 1;
}

void drawLine(QPainter *painter, const QRect &rect, const QFont &font, const QColor &color, const QString &text)
{
    painter->setFont(font);
    painter->setPen(color);
    const QString shown = QFontMetrics(font).elidedText(labelText(text), Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

} // namespace

const QString ReportCardDelegate::openButtonText = u"Open in File Manager ↗"_s;

ReportCardDelegate::ReportCardDelegate(const ThemeSource &theme, QObject *parent)
    : QStyledItemDelegate(parent), m_theme(&theme)
{
}

QRect ReportCardDelegate::cardRect(const QRect &rowRect, const QModelIndex &index)
{
    return rowRect.adjusted(0, 0, 0, isLastRow(index) ? 0 : -cardGap);
}

QRect ReportCardDelegate::openButtonRect(const QRect &rowRect, const QModelIndex &index)
{
    const QRect inner = cardRect(rowRect, index).adjusted(padding, padding, -padding, -padding);
    const QSize size = buttonSize();
    return { inner.right() - size.width() + 1, inner.center().y() - size.height() / 2, size.width(), size.height() };
}

QSize ReportCardDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int card = 2 * padding + std::max(textBlockHeight(), buttonSize().height());
    return { 200, card + (isLastRow(index) ? 0 : cardGap) };
}

void ReportCardDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);

    const QRect card = cardRect(option.rect, index);
    paintFrame(*painter, card, theme.panelBackground(), theme.borderSubtle());

    const QRect button = openButtonRect(option.rect, index);
    const QRect inner = card.adjusted(padding, padding, -padding, -padding);
    const int textRight = button.left() - 8;
    int y = inner.center().y() - textBlockHeight() / 2;
    const auto lineRect = [&](const QFont &font) {
        const QRect rect(inner.left(), y, std::max(0, textRight - inner.left()), QFontMetrics(font).height());
        y += rect.height() + lineGap;
        return rect;
    };
    drawLine(painter, lineRect(kindFont()), kindFont(), theme.accentCyan(),
        index.data(ReportListModel::kindLineRole).toString());
    drawLine(painter, lineRect(titleFont()), titleFont(), theme.textPrimary(),
        index.data(ReportListModel::titleRole).toString());
    drawLine(painter, lineRect(createdFont()), createdFont(), theme.textSecondary(),
        index.data(ReportListModel::createdLineRole).toString());

    // The button, drawn lighter while it is held down.
    if (m_pressed.isValid() && m_pressed == index)
        painter->setOpacity(pressedOpacity);
    paintFrame(*painter, button, theme.elevatedBackground(), theme.borderSubtle());
    painter->setFont(buttonFont());
    painter->setPen(theme.accentLime());
    painter->drawText(button, Qt::AlignCenter | Qt::TextSingleLine, openButtonText);
    painter->restore();
}

bool ReportCardDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton
            && openButtonRect(option.rect, index).contains(mouse->position().toPoint())) {
            m_pressed = index;
            if (auto *view = qobject_cast<QAbstractItemView *>(const_cast<QWidget *>(option.widget)))
                view->viewport()->update(option.rect);
            return true;
        }
        return false;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool wasPressed = m_pressed.isValid() && m_pressed == index;
        m_pressed = QPersistentModelIndex();
        if (auto *view = qobject_cast<QAbstractItemView *>(const_cast<QWidget *>(option.widget)))
            view->viewport()->update();
        if (wasPressed && mouse->button() == Qt::LeftButton
            && openButtonRect(option.rect, index).contains(mouse->position().toPoint())) {
            Q_EMIT openRequested(index);
            return true;
        }
        return wasPressed;
    }
    default:
        return false;
    }
}

ReportListView::ReportListView(QWidget *parent) : QListView(parent)
{
    setObjectName(u"reportListView"_s);
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setFocusPolicy(Qt::NoFocus); // a stop of the Tab chain once it has a card (updateTabStop)
    setAccessibleName(u"Reports"_s);
    setMouseTracking(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
}

QSize ReportListView::sizeHint() const
{
    int height = 0;
    if (model()) {
        for (int row = 0; row < model()->rowCount(rootIndex()); ++row)
            height += sizeHintForRow(row);
    }
    return { 480, height };
}

QSize ReportListView::minimumSizeHint() const
{
    return { 0, sizeHint().height() };
}

// The surface scrolls, not the list.
void ReportListView::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}

void ReportListView::rowsInserted(const QModelIndex &parent, int start, int end)
{
    QListView::rowsInserted(parent, start, end);
    // The row that was last may have gained the gap below its card.
    doItemsLayout();
    updateGeometry();
    updateTabStop();
}

void ReportListView::paintEvent(QPaintEvent *event)
{
    QListView::paintEvent(event);
    if (!hasFocus() || !currentIndex().isValid())
        return;
    QPainter painter(viewport());
    // The card, without the gap below it, ringed as the window's buttons are.
    const QRect row = visualRect(currentIndex());
    const bool last = currentIndex().row() == model()->rowCount() - 1;
    paintFocusRingFrame(
        painter, row.adjusted(0, 0, 0, last ? 0 : -ReportCardDelegate::cardGap), palette().color(QPalette::Link));
}

void ReportListView::reset()
{
    QListView::reset();
    updateGeometry();
    updateTabStop();
}

void ReportListView::updateTabStop()
{
    // Without a card the list is no height at all: the focus would show nowhere.
    setFocusPolicy(model() && model()->rowCount(rootIndex()) > 0 ? Qt::TabFocus : Qt::NoFocus);
}

} // namespace orvane::governance
