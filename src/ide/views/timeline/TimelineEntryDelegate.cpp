#include "ide/views/timeline/TimelineEntryDelegate.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineEntryListModel.h"

#include <QAbstractItemView>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace orvane {

using HitKind = TimelineCardLayout::HitKind;
using RowKind = TimelineEntryListModel::RowKind;

TimelineEntryDelegate::TimelineEntryDelegate(
    CampaignIDEWorkspaceModel *model, const ThemeSource &theme, QAbstractItemView *view)
    : QStyledItemDelegate(view), m_model(model), m_theme(theme), m_view(view)
{
    m_clock.start();
    // A reset may bring other entries under the same ids; forget every measurement.
    connect(view, &QObject::destroyed, this, [this] { m_view = nullptr; });
}

int TimelineEntryDelegate::cardWidth() const
{
    const int viewport = m_view ? m_view->viewport()->width() : 400;
    return std::max(120, viewport - 4 * spacing);
}

QPoint TimelineEntryDelegate::cardOffset(const QModelIndex &index) const
{
    return { spacing, index.row() == 0 ? spacing : 0 };
}

const TimelineEntryListModel *TimelineEntryDelegate::listModel(const QModelIndex &index) const
{
    return qobject_cast<const TimelineEntryListModel *>(index.model());
}

const TimelineCardLayout &TimelineEntryDelegate::cardLayout(const QModelIndex &index) const
{
    static const TimelineCardLayout empty;
    const TimelineEntryListModel *entries = listModel(index);
    if (!entries || !index.isValid())
        return empty;
    const int width = cardWidth();
    const quint64 revision = index.data(TimelineEntryListModel::RevisionRole).toULongLong();
    if (index.row() == entries->statusRow()) {
        if (m_statusCache.width != width || m_statusCache.revision != revision + 1) {
            m_statusCache = { revision + 1, width, layoutTimelineStatus(entries->statusText(), width, nullptr) };
        }
        return m_statusCache.layout;
    }
    const CampaignTimelineEntry &entry = entries->entryAt(index.row());
    auto found = m_cache.find(entry.id);
    if (found != m_cache.end() && found->width == width && found->revision == revision)
        return found->layout;
    const QPointer<ExpandedToolSet> tools = m_toolSet;
    Cached cached { revision, width,
        layoutTimelineCard(entry, width, [tools](const QUuid &id) { return tools && tools->contains(id); }) };
    return m_cache.insert(entry.id, std::move(cached))->layout;
}

std::optional<QRect> TimelineEntryDelegate::controlRect(
    const QModelIndex &index, HitKind kind, const QUuid &toolID) const
{
    if (!m_view)
        return std::nullopt;
    const auto rect = cardLayout(index).hitRect(kind, toolID);
    if (!rect)
        return std::nullopt;
    return rect->translated(m_view->visualRect(index).topLeft() + cardOffset(index)).toAlignedRect();
}

void TimelineEntryDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const TimelineEntryListModel *entries = listModel(index);
    if (!entries)
        return;
    const OrvaneWebTheme theme = m_theme.theme();
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    if (index.row() == entries->statusRow()) {
        const TimelineCardLayout &status = cardLayout(index);
        status.paint(*painter, option.rect.topLeft() + cardOffset(index), theme, -1);
        const QRectF spinner(10, (status.height - 16) / 2, 16, 16); // where the status layout leaves it
        // A small indeterminate progress indicator: twelve ticks, the brightest one turning.
        painter->setRenderHint(QPainter::Antialiasing, true);
        painter->translate(QPointF(option.rect.topLeft() + cardOffset(index)) + spinner.center());
        const int step = int(m_clock.elapsed() / 80) % 12;
        for (int tick = 0; tick < 12; ++tick) {
            QColor color = theme.accentLime();
            color.setAlphaF(float(0.25 + 0.75 * ((tick - step + 12) % 12) / 11.0));
            painter->setPen(QPen(color, 1.6, Qt::SolidLine, Qt::RoundCap));
            painter->drawLine(QPointF(0, -4), QPointF(0, -7));
            painter->rotate(30);
        }
    } else {
        const int pressed = m_pressedIndex == index ? m_pressedHit : -1;
        cardLayout(index).paint(*painter, option.rect.topLeft() + cardOffset(index), theme, pressed);
    }
    painter->restore();
}

QSize TimelineEntryDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int rows = index.model() ? index.model()->rowCount() : 0;
    const int outer = (index.row() == 0 ? spacing : 0) + (index.row() == rows - 1 ? spacing : 0);
    return { cardWidth() + 2 * spacing, int(std::ceil(cardLayout(index).height)) + outer };
}

bool TimelineEntryDelegate::editorEvent(
    QEvent *event, QAbstractItemModel *, const QStyleOptionViewItem &option, const QModelIndex &index)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease && type != QEvent::MouseButtonDblClick)
        return false;
    auto *mouse = static_cast<QMouseEvent *>(event);
    if (mouse->button() != Qt::LeftButton)
        return false;
    const TimelineCardLayout &layout = cardLayout(index);
    const int hitIndex = layout.hitAt(mouse->position() - QPointF(option.rect.topLeft() + cardOffset(index)));
    const bool control = hitIndex >= 0 && layout.hits.at(hitIndex).kind != HitKind::bodyText;
    if (type == QEvent::MouseButtonDblClick && hitIndex >= 0 && !control) {
        // A double click on the text opens it for selection.
        if (m_view)
            m_view->edit(index);
        return true;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        if (!control)
            return false;
        m_pressedIndex = index;
        m_pressedHit = hitIndex;
        if (m_view)
            m_view->viewport()->update(option.rect);
        return true;
    }
    const bool wasPressed = m_pressedIndex == index && m_pressedHit == hitIndex && control;
    if (m_pressedIndex.isValid() && m_view)
        m_view->viewport()->update(m_view->visualRect(m_pressedIndex));
    m_pressedIndex = QPersistentModelIndex();
    m_pressedHit = -1;
    if (!wasPressed)
        return false;
    // The action may change this very row: act on a copy of the hit.
    const TimelineCardLayout::Hit hit = layout.hits.at(hitIndex);
    activate(index, hit);
    return true;
}

void TimelineEntryDelegate::activate(const QModelIndex &index, const TimelineCardLayout::Hit &hit)
{
    const TimelineEntryListModel *entries = listModel(index);
    if (!entries || !m_model || index.row() >= entries->entryCount())
        return;
    const CampaignTimelineEntry entry = entries->entryAt(index.row());
    const QUuid threadID = entries->threadID();
    const QUuid tabID = entries->tabID();
    switch (hit.kind) {
    case HitKind::artifactLink:
        if (entry.artifactLink)
            m_model->selectWorkbenchView(*entry.artifactLink, threadID);
        break;
    case HitKind::toolRow:
        if (m_toolSet)
            m_toolSet->toggle(hit.id);
        break;
    case HitKind::approve:
        m_model->approveInlineAction(threadID, tabID, entry.id);
        break;
    case HitKind::reject:
        m_model->rejectInlineAction(threadID, tabID, entry.id);
        break;
    case HitKind::bodyText:
        break;
    }
}

// The body text opened for selection: a read-only field over the text, in the card's font and colour.
QWidget *TimelineEntryDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &) const
{
    auto *editor = new QPlainTextEdit(parent);
    editor->setObjectName(QStringLiteral("timelineTextSelectionEdit"));
    editor->setReadOnly(true);
    editor->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    editor->setFrameShape(QFrame::NoFrame);
    editor->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    editor->document()->setDocumentMargin(0);
    editor->setFont(themeFont(12));
    QPalette palette = m_theme.theme().palette();
    palette.setColor(QPalette::Base, Qt::transparent);
    palette.setColor(QPalette::Text, m_theme.theme().textPrimary());
    editor->setPalette(palette);
    editor->viewport()->setAutoFillBackground(false);
    return editor;
}

void TimelineEntryDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    auto *field = qobject_cast<QPlainTextEdit *>(editor);
    const TimelineEntryListModel *entries = listModel(index);
    if (field && entries && index.row() < entries->entryCount())
        field->setPlainText(entries->entryAt(index.row()).text); // plain text: never interpreted
}

void TimelineEntryDelegate::setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const
{
    // Read only: the text is selected and copied, never edited.
}

void TimelineEntryDelegate::updateEditorGeometry(
    QWidget *editor, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    const auto body = cardLayout(index).hitRect(HitKind::bodyText);
    editor->setGeometry(body ? body->translated(option.rect.topLeft() + cardOffset(index)).toAlignedRect() : QRect());
}

} // namespace orvane
