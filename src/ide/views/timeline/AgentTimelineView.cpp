#include "ide/views/timeline/AgentTimelineView.h"

#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/timeline/TimelineEntryDelegate.h"
#include "ide/views/timeline/TimelineEntryListModel.h"
#include "ide/views/timeline/TimelineListView.h"

#include <QListView>
#include <QPropertyAnimation>
#include <QResizeEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>

#include <utility>

namespace orvane {

namespace {

constexpr int kFollowMs = 200; // the jump to a new entry
constexpr int kSpinnerFrameMs = 80;
constexpr int kMeasureMargin = 4; // rows measured beyond each edge of the viewport

} // namespace

AgentTimelineView::AgentTimelineView(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent),
      m_context(context),
      m_model(context.model),
      m_threadID(threadID),
      m_tabID(tabID),
      m_entries(new TimelineEntryListModel(context.threads, this)),
      m_list(new TimelineListView(this)),
      m_ownToolSet(new ExpandedToolSet(this)),
      m_toolSet(m_ownToolSet),
      m_spinnerTimer(new QTimer(this))
{
    Q_ASSERT(context.theme);
    setObjectName(QStringLiteral("agentTimelineView"));
    // Filled before anything listens: the first build never scrolls.
    m_entries->setTab(threadID, tabID);
    m_lastEntryCount = m_entries->entryCount();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_list);

    m_list->setObjectName(QStringLiteral("timelineListView"));
    m_list->setAccessibleName(QStringLiteral("Timeline"));
    m_list->setFrameShape(QFrame::NoFrame);
    m_list->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Always shown: a scroll bar that comes and goes would change the width and re-measure every card.
    m_list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_list->setSelectionMode(QAbstractItemView::NoSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers); // the delegate opens text on a double click
    m_list->setUniformItemSizes(false);
    m_list->setResizeMode(QListView::Adjust);
    m_list->setSpacing(TimelineEntryDelegate::spacing);
    m_list->verticalScrollBar()->setSingleStep(24);
    m_delegate = new TimelineEntryDelegate(context.model, *context.theme, m_list, context.timelineHeights);
    m_delegate->setExpandedToolSet(m_toolSet);
    m_list->setItemDelegate(m_delegate);
    m_list->setModel(m_entries);

    m_scrollAnimation = new QPropertyAnimation(m_list->verticalScrollBar(), "value", this);
    m_scrollAnimation->setDuration(kFollowMs);
    m_scrollAnimation->setEasingCurve(QEasingCurve::OutCubic);

    m_spinnerTimer->setInterval(kSpinnerFrameMs);
    connect(m_spinnerTimer, &QTimer::timeout, this, [this] {
        const int row = m_entries->statusRow();
        if (row >= 0)
            m_list->viewport()->update(m_list->visualRect(m_entries->index(row)));
    });

    connect(m_entries, &QAbstractItemModel::rowsInserted, this, &AgentTimelineView::afterChange);
    connect(m_entries, &QAbstractItemModel::rowsRemoved, this, &AgentTimelineView::afterChange);
    connect(m_entries, &QAbstractItemModel::modelReset, this, &AgentTimelineView::afterChange);
    // Where the reader is, before the list hears of a change (the list connected first).
    connect(m_entries, &QAbstractItemModel::rowsAboutToBeInserted, this, &AgentTimelineView::captureReader);
    connect(m_entries, &QAbstractItemModel::rowsAboutToBeRemoved, this, &AgentTimelineView::captureReader);
    connect(m_entries, &QAbstractItemModel::modelAboutToBeReset, this, &AgentTimelineView::captureReader);
    connect(
        m_entries, &QAbstractItemModel::dataChanged, this, [this](const QModelIndex &first, const QModelIndex &last) {
            // A card whose height holds is only drawn again (the list does that itself); one that grew
            // or shrank moves the cards after it.
            if (!m_delegate->measureRows(first.row(), last.row()))
                return;
            captureReader();
            afterChange();
        });
    // Cards scrolled into view are measured before they are drawn.
    connect(m_list->verticalScrollBar(), &QScrollBar::valueChanged, this, &AgentTimelineView::measureVisibleRows);
    connect(m_list->verticalScrollBar(), &QScrollBar::rangeChanged, this,
        [this] { QMetaObject::invokeMethod(this, &AgentTimelineView::measureVisibleRows, Qt::QueuedConnection); });
    connect(context.theme, &ThemeSource::themeChanged, this, &AgentTimelineView::applyTheme);
    connectToolSet();
    applyTheme();

    updateSpinner();
}

AgentTimelineView::~AgentTimelineView() = default;

void AgentTimelineView::setTab(const QUuid &threadID, const QUuid &tabID)
{
    // A view built without a tab and given its first one now is being shown for the first time.
    m_quietFill = m_tabID.isNull() && m_threadID.isNull();
    m_threadID = threadID;
    m_tabID = tabID;
    m_entries->setTab(threadID, tabID);
    m_quietFill = false;
}

void AgentTimelineView::setExpandedToolSet(ExpandedToolSet *set)
{
    if (m_toolSet)
        disconnect(m_toolSet, nullptr, this, nullptr);
    m_toolSet = set ? set : m_ownToolSet;
    m_delegate->setExpandedToolSet(m_toolSet);
    connectToolSet();
    m_entries->touchRows(allEntryRows());
}

ExpandedToolSet *AgentTimelineView::expandedToolSet() const
{
    return m_toolSet;
}

bool AgentTimelineView::isFollowing() const
{
    return m_scrollAnimation->state() == QAbstractAnimation::Running;
}

void AgentTimelineView::connectToolSet()
{
    connect(m_toolSet, &ExpandedToolSet::changed, this, [this](const QUuid &toolID) {
        m_entries->touchRows(toolID.isNull() ? allEntryRows() : m_entries->rowsShowingTool(toolID));
    });
}

QList<int> AgentTimelineView::allEntryRows() const
{
    QList<int> rows;
    for (int row = 0; row < m_entries->entryCount(); ++row)
        rows.append(row);
    return rows;
}

void AgentTimelineView::applyTheme()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    QPalette palette = theme.palette();
    palette.setColor(QPalette::Base, theme.sidebarBackground());
    palette.setColor(QPalette::Window, theme.sidebarBackground());
    m_list->setPalette(palette);
    m_list->viewport()->update();
}

void AgentTimelineView::updateSpinner()
{
    if (m_entries->isStreaming())
        m_spinnerTimer->start();
    else
        m_spinnerTimer->stop();
}

void AgentTimelineView::captureReader()
{
    // Asking the list for a rectangle runs its pending layout: read before the list learns of a change.
    if (m_reader)
        return;
    m_reader = Reader { .following = isFollowing() };
}

void AgentTimelineView::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // The list lays out again on its own only when its height changes; cards measured at another
    // width would keep their heights (and leave bands, or overlap) until then.
    if (event->size().width() == event->oldSize().width())
        return;
    QScrollBar *bar = m_list->verticalScrollBar();
    const bool atEnd = bar->maximum() > 0 && bar->value() >= bar->maximum() - 2;
    m_list->doItemsLayout();
    measureVisibleRows();
    if (atEnd && !isFollowing())
        bar->setValue(bar->maximum());
}

std::pair<int, int> AgentTimelineView::visibleRows() const
{
    // Rows lie top to bottom: the first whose bottom is in view, the last whose top is.
    const int rows = m_entries->rowCount();
    const int height = m_list->viewport()->height();
    const auto firstWhere = [&](const auto &test) {
        int low = 0;
        int high = rows;
        while (low < high) {
            const int mid = (low + high) / 2;
            if (test(m_list->visualRect(m_entries->index(mid))))
                high = mid;
            else
                low = mid + 1;
        }
        return low;
    };
    const int first = firstWhere([](const QRect &rect) { return rect.bottom() >= 0; });
    const int last = firstWhere([&](const QRect &rect) { return rect.top() >= height; }) - 1;
    return { first, std::max(first, last) };
}

void AgentTimelineView::measureVisibleRows()
{
    if (m_measuring || m_entries->entryCount() <= TimelineEntryDelegate::exactRowLimit)
        return;
    const QScopedValueRollback guard(m_measuring, true);
    QScrollBar *bar = m_list->verticalScrollBar();
    for (int pass = 0; pass < 4; ++pass) {
        const auto [first, last] = visibleRows();
        if (!m_delegate->measureRows(first - kMeasureMargin, last + kMeasureMargin))
            return;
        // Keep the reader where they were: the first card in view stays put, or the end stays in view.
        const bool atEnd = bar->value() >= bar->maximum() - 2;
        const QModelIndex anchor = m_entries->index(first);
        const int top = m_list->visualRect(anchor).top();
        m_list->doItemsLayout();
        if (isFollowing())
            m_scrollAnimation->setEndValue(newestEntryTarget());
        else if (atEnd)
            bar->setValue(bar->maximum());
        else
            bar->setValue(bar->value() + m_list->visualRect(anchor).top() - top);
    }
}

void AgentTimelineView::afterChange()
{
    updateSpinner();
    captureReader();
    const Reader reader = *std::exchange(m_reader, std::nullopt);
    m_list->doItemsLayout();
    measureVisibleRows();

    const int count = m_entries->entryCount();
    if (m_quietFill) {
        m_lastEntryCount = count;
        return;
    }
    if (count != m_lastEntryCount) {
        m_lastEntryCount = count;
        if (count > 0)
            followNewestEntry(true);
        return;
    }
    // The same number of entries (one grew, the status row came or went): the list stays where the
    // reader has it, unless a jump to the newest card is still under way.
    if (reader.following)
        followNewestEntry(true);
}

int AgentTimelineView::newestEntryTarget() const
{
    const QScrollBar *bar = m_list->verticalScrollBar();
    const QRect last = m_list->visualRect(m_entries->index(m_entries->entryCount() - 1));
    // visualRect is in viewport coordinates: move so the card's bottom meets the viewport's bottom.
    return std::clamp(bar->value() + last.bottom() + 1 + TimelineEntryDelegate::spacing - m_list->viewport()->height(),
        0, bar->maximum());
}

void AgentTimelineView::followNewestEntry(bool animated)
{
    if (m_entries->entryCount() == 0)
        return;
    QScrollBar *bar = m_list->verticalScrollBar();
    // The newest page is measured exactly first, so the jump lands where the cards will be.
    bool changed = false;
    const int viewportHeight = m_list->viewport()->height();
    for (int row = m_entries->entryCount() - 1, covered = 0; row >= 0 && covered < 2 * viewportHeight; --row) {
        changed = m_delegate->measureRows(row, row) || changed;
        covered += m_delegate->measuredHeight(m_entries->index(row));
    }
    if (changed)
        m_list->doItemsLayout();
    const int target = newestEntryTarget();
    m_scrollAnimation->stop();
    if (!animated || target == bar->value()) {
        bar->setValue(target);
        return;
    }
    m_scrollAnimation->setStartValue(bar->value());
    m_scrollAnimation->setEndValue(target);
    m_scrollAnimation->start();
}

} // namespace orvane
