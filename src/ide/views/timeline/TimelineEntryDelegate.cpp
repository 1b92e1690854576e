#include "ide/views/timeline/TimelineEntryDelegate.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineHeightCache.h"
#include "ide/views/timeline/TimelineListView.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>

namespace orvane {

using HitKind = TimelineCardLayout::HitKind;
using RowKind = TimelineEntryListModel::RowKind;

TimelineEntryDelegate::TimelineEntryDelegate(
    CampaignIDEWorkspaceModel *model, const ThemeSource &theme, QAbstractItemView *view, TimelineHeightCache *heights)
    : QStyledItemDelegate(view),
      m_model(model),
      m_theme(theme),
      m_view(view),
      m_ownHeights(heights ? nullptr : std::make_unique<TimelineHeightCache>()),
      m_heights(heights ? heights : m_ownHeights.get())
{
    m_clock.start();
    connect(view, &QObject::destroyed, this, [this] { m_view = nullptr; });
}

TimelineEntryDelegate::~TimelineEntryDelegate() = default;

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

std::function<bool(const QUuid &)> TimelineEntryDelegate::expandedTest() const
{
    return [tools = m_toolSet](const QUuid &id) { return tools && tools->contains(id); };
}

TimelineEntryDelegate::Row &TimelineEntryDelegate::row(const QModelIndex &index) const
{
    const CampaignTimelineEntry &entry = listModel(index)->entryAt(index.row());
    if (index.row() >= m_rows.size())
        m_rows.resize(index.model()->rowCount());
    Row &known = m_rows[index.row()];
    if (known.id != entry.id)
        known = Row { .id = entry.id };
    // Learnt again when the row's revision changes (its content or its expanded tools); a new
    // revision of the same content (the list was reset) keeps what was learnt.
    const quint64 revision = index.data(TimelineEntryListModel::RevisionRole).toULongLong();
    if (known.revision != revision) {
        known.revision = revision;
        const size_t fingerprint = timelineCardFingerprint(entry, expandedTest());
        if (fingerprint != known.fingerprint) {
            known.fingerprint = fingerprint;
            known.width = -1;
        }
    }
    return known;
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
    // Full layouts are kept for the cards drawn lately only; heights stay in the height cache.
    if (m_cache.size() >= 400)
        m_cache.clear();
    Cached cached { revision, width, layoutTimelineCard(entry, width, expandedTest()) };
    Row &known = row(index);
    known.width = width;
    known.height = int(std::ceil(cached.layout.height));
    m_heights->store(entry.id, width, known.fingerprint, { known.height, true });
    return m_cache.emplace(entry.id, std::move(cached))->layout;
}

int TimelineEntryDelegate::hintHeight(const QModelIndex &index, bool exact) const
{
    const TimelineEntryListModel *entries = listModel(index);
    if (!entries)
        return 0;
    const int rows = entries->rowCount();
    const int outer = (index.row() == 0 ? spacing : 0) + (index.row() == rows - 1 ? spacing : 0);
    if (index.row() == entries->statusRow() || exact || rows <= exactRowLimit)
        return int(std::ceil(cardLayout(index).height)) + outer;
    const int width = cardWidth();
    Row &known = row(index);
    if (known.width != width) {
        const CampaignTimelineEntry &entry = entries->entryAt(index.row());
        auto height = m_heights->find(entry.id, width, known.fingerprint);
        if (!height) {
            height = { int(std::ceil(estimateTimelineCardHeight(entry, width, expandedTest()))), false };
            m_heights->store(entry.id, width, known.fingerprint, *height);
        }
        known.width = width;
        known.height = height->value;
    }
    return known.height + outer;
}

bool TimelineEntryDelegate::measureRows(int first, int last) const
{
    const auto *entries = qobject_cast<const TimelineEntryListModel *>(m_view ? m_view->model() : nullptr);
    if (!entries)
        return false;
    bool changed = false;
    for (int r = std::max(0, first); r <= std::min(last, entries->entryCount() - 1); ++r) {
        const QModelIndex index = entries->index(r);
        const int height = hintHeight(index, true);
        const int told = row(index).told;
        changed = changed || (told >= 0 && told != height);
    }
    return changed;
}

int TimelineEntryDelegate::measuredHeight(const QModelIndex &index) const
{
    return hintHeight(index, true);
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
        status.paint(*painter, option.rect.topLeft() + cardOffset(index), theme, -1, theme.sidebarBackground());
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
        cardLayout(index).paint(
            *painter, option.rect.topLeft() + cardOffset(index), theme, pressed, theme.sidebarBackground());
    }
    painter->restore();
    paintKeyboardFocus(*painter, index, option.rect.topLeft() + cardOffset(index));
}

void TimelineEntryDelegate::paintKeyboardFocus(
    QPainter &painter, const QModelIndex &index, const QPoint &cardOrigin) const
{
    const auto *list = qobject_cast<const TimelineListView *>(m_view);
    if (!list || !list->hasFocus() || list->currentIndex() != index)
        return;
    const TimelineCardLayout &layout = cardLayout(index);
    const int control = list->currentControl();
    // Around the control the keyboard is on, else around the whole card; outside it either way, so
    // the ring never covers what it marks.
    const QRectF marked = control >= 0 ? layout.hits.at(control).rect : QRectF(0, 0, cardWidth(), layout.height);
    const qreal outset = control >= 0 ? 2 : 3;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(m_theme.theme().accentCyan(), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(marked.translated(cardOrigin).adjusted(-outset, -outset, outset, outset));
    painter.restore();
}

QSize TimelineEntryDelegate::sizeHint(const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const int height = hintHeight(index, false);
    if (const TimelineEntryListModel *entries = listModel(index); entries && index.row() < entries->entryCount())
        row(index).told = height;
    return { cardWidth() + 2 * spacing, height };
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
    case HitKind::copyFullText:
        QGuiApplication::clipboard()->setText(entry.text);
        break;
    case HitKind::openFullText:
        m_model->openThreadTranscript(threadID);
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
        field->setPlainText(timelineDisplayText(entries->entryAt(index.row()).text)); // never interpreted
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
