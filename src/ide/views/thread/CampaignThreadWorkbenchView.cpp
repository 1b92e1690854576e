#include "ide/views/thread/CampaignThreadWorkbenchView.h"

#include "ide/model/ThreadList.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/AgentThreadPane.h"
#include "ide/views/thread/ThreadPaneParts.h"
#include "ide/views/thread/WorkbenchHeaderBar.h"
#include "ide/views/timeline/ExpandedToolSet.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QAbstractScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// Every scroll area inside the widget back at its start, shown or not.
void scrollToStart(QWidget *widget)
{
    for (QAbstractScrollArea *area : widget->findChildren<QAbstractScrollArea *>()) {
        area->verticalScrollBar()->setValue(area->verticalScrollBar()->minimum());
        area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->minimum());
    }
}

} // namespace

CampaignAgentTab CampaignThreadWorkbenchView::fallbackTab(const QUuid &id)
{
    CampaignAgentTab tab;
    tab.id = id;
    tab.title = u"Agent"_s;
    tab.personaName = u"Orvane"_s;
    tab.personaHandle = u"@orvane"_s;
    return tab;
}

CampaignThreadWorkbenchView::CampaignThreadWorkbenchView(
    const WorkspaceViewContext &context, WorkbenchTabRegistry tabs, QWidget *parent)
    : DestinationView(parent), m_context(context), m_tabs(std::move(tabs)), m_expandedTools(new ExpandedToolSet(this))
{
    setObjectName(u"threadWorkbenchView"_s);
    // The panes' and the column's minimum widths add up to this view's minimum, which the window's
    // minimum takes in: the window grows rather than cut a column (and the window gives the width
    // back when they close, WindowWidthKeeper).
    const ThemeSource &theme = *context.theme;
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_splitter = new ThemeRuleSplitter(theme, Qt::Horizontal);
    m_splitter->setObjectName(u"threadWorkbenchSplitter"_s);
    layout->addWidget(m_splitter);

    m_primary = new AgentThreadPane(context, false, m_expandedTools);
    m_primary->setMinimumWidth(primaryMinimumWidth);
    m_primary->setMaximumWidth(primaryMaximumWidth);

    auto *workbench = new Panel(theme, ThemeColor::canvasBackground);
    m_workbench = workbench;
    workbench->setObjectName(u"workbenchColumn"_s);
    workbench->setMinimumWidth(workbenchMinimumWidth);
    auto *column = new QVBoxLayout(workbench);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);
    m_header = new WorkbenchHeaderBar(context);
    column->addWidget(m_header);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));
    m_surfaces = new QStackedWidget;
    m_surfaces->setObjectName(u"workbenchSurfaceStack"_s);
    column->addWidget(m_surfaces, 1);

    // The split pane's place; the pane itself is built when a split is first shown.
    m_secondarySlot = new QWidget;
    m_secondarySlot->setObjectName(u"secondaryAgentPaneSlot"_s);
    auto *slotLayout = new QVBoxLayout(m_secondarySlot);
    slotLayout->setContentsMargins(0, 0, 0, 0);
    m_secondarySlot->setMinimumWidth(secondaryMinimumWidth);
    m_secondarySlot->setMaximumWidth(secondaryMaximumWidth);
    m_secondarySlot->hide();
    m_splitter->addWidget(m_primary);
    m_splitter->addWidget(m_secondarySlot);
    m_splitter->addWidget(workbench);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 0);
    m_splitter->setStretchFactor(2, 1);

    ThreadList *threads = context.threads;
    connect(threads, &ThreadList::threadChanged, this, [this](const QUuid &threadID) {
        if (threadID == m_threadID)
            refresh();
    });
    connect(threads, &ThreadList::threadsChanged, this, &CampaignThreadWorkbenchView::refresh);
}

void CampaignThreadWorkbenchView::showDestination(const IDEPrimaryDestination &destination)
{
    const QUuid shown = m_threadID;
    if (const std::optional<QUuid> id = destination.threadID())
        m_threadID = *id;
    refresh();
    // The tab views stay from thread to thread: another thread opens each of them at its top, not
    // where the last one was left.
    if (m_threadID != shown)
        scrollToStart(m_surfaces);
}

QWidget *CampaignThreadWorkbenchView::currentSurface() const
{
    return m_surfaces->currentWidget();
}

void CampaignThreadWorkbenchView::refresh()
{
    const QList<CampaignIDEThread> &threads = m_context.threads->threads();
    const auto found = std::find_if(
        threads.cbegin(), threads.cend(), [this](const CampaignIDEThread &thread) { return thread.id == m_threadID; });
    // A thread that went away is replaced by the operations home; until then the view keeps what
    // it shows.
    if (found == threads.cend())
        return;
    const CampaignIDEThread &thread = *found;

    m_primary->showTab(thread, thread.activeTab().value_or(fallbackTab(m_fallbackTabID)));
    std::optional<CampaignAgentTab> split;
    if (thread.splitAgentTabID) {
        for (const CampaignAgentTab &tab : thread.agentTabs) {
            if (tab.id == *thread.splitAgentTabID) {
                split = tab;
                break;
            }
        }
    }
    if (split) {
        if (!m_secondary) {
            m_secondary = new AgentThreadPane(m_context, true, m_expandedTools);
            m_secondarySlot->layout()->addWidget(m_secondary);
        }
        m_secondary->showTab(thread, *split);
        if (m_secondarySlot->isHidden()) {
            m_secondarySlot->show();
            if (m_sizedOnce) {
                QList<int> sizes = m_splitter->sizes();
                const int total = sizes.value(0) + sizes.value(2);
                sizes = { primaryIdealWidth, secondaryIdealWidth,
                    qMax(0, total - primaryIdealWidth - secondaryIdealWidth) };
                m_splitter->setSizes(sizes);
            }
        }
    } else {
        m_secondarySlot->hide();
    }
    applyMinimumWidths();

    m_header->showThread(thread.id, thread.workbenchView);
    showSurface(thread.workbenchView);
}

void CampaignThreadWorkbenchView::limitWidth(std::optional<int> width)
{
    m_widthLimit = width;
    applyMinimumWidths();
}

void CampaignThreadWorkbenchView::applyMinimumWidths()
{
    const bool split = !m_secondarySlot->isHidden();
    const int handles = m_splitter->handleWidth() * (split ? 2 : 1);
    const int panesWanted = primaryMinimumWidth + (split ? secondaryMinimumWidth : 0);
    const int room = m_widthLimit ? *m_widthLimit - handles : panesWanted + workbenchMinimumWidth;
    // Too little room for every minimum: the workbench column keeps its own, so that its tabs and
    // surfaces stay whole, and the agent panes give way (their one-line texts end in an ellipsis),
    // each down to the least its rows need. Only past that does the column give way too.
    const int primaryLeast = std::min(m_primary->minimumSizeHint().width(), primaryMinimumWidth);
    const int secondaryLeast = split ? std::min(m_secondarySlot->minimumSizeHint().width(), secondaryMinimumWidth) : 0;
    const int least = primaryLeast + secondaryLeast;
    const int workbench = std::clamp(room - least, 0, workbenchMinimumWidth);
    const int panes = std::max(0, room - workbench);
    // Each pane keeps its least, and the panes share the rest in proportion to what they lack of
    // their minimums; with less than their least, they share what there is.
    int primary = 0;
    if (panes < least) {
        primary = least > 0 ? panes * primaryLeast / least : panes;
    } else {
        const int lacking = panesWanted - least;
        primary = primaryLeast + (lacking > 0 ? (panes - least) * (primaryMinimumWidth - primaryLeast) / lacking : 0);
    }
    primary = std::min(primary, primaryMinimumWidth);
    m_primary->setMinimumWidth(primary);
    m_secondarySlot->setMinimumWidth(
        split ? std::clamp(panes - primary, 0, secondaryMinimumWidth) : secondaryMinimumWidth);
    m_workbench->setMinimumWidth(workbench);
}

void CampaignThreadWorkbenchView::showSurface(IDEWorkbenchView view)
{
    QWidget *surface = m_surfaceViews.value(view);
    if (!surface) {
        surface = m_tabs.makeTab(view, m_context, m_surfaces);
        m_surfaceViews.insert(view, surface);
        m_surfaces->addWidget(surface);
    }
    if (m_surfaces->currentWidget() != surface)
        m_surfaces->setCurrentWidget(surface);
}

void CampaignThreadWorkbenchView::showEvent(QShowEvent *event)
{
    DestinationView::showEvent(event);
    if (m_sizedOnce)
        return;
    m_sizedOnce = true;
    // The panes open at their ideal widths; the workbench column takes the rest.
    const int total = m_splitter->width();
    const bool split = !m_secondarySlot->isHidden();
    const int panes = primaryIdealWidth + (split ? secondaryIdealWidth : 0);
    m_splitter->setSizes(
        { primaryIdealWidth, split ? secondaryIdealWidth : 0, qMax(workbenchMinimumWidth, total - panes) });
}

} // namespace orvane
