#include "ide/views/thread/AgentThreadPane.h"

#include "ide/model/ThreadList.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SeeThroughScroll.h"
#include "ide/views/kit/SidewaysScroll.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/AgentTabChip.h"
#include "ide/views/thread/ThreadPaneParts.h"
#include "ide/views/timeline/AgentComposerBar.h"
#include "ide/views/timeline/AgentTimelineView.h"
#include "ide/views/timeline/QuickPromptRow.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

const QList<ThreadApprovalMode> approvalModes { ThreadApprovalMode::manual, ThreadApprovalMode::safeReads,
    ThreadApprovalMode::autonomous };

// A square 24-point tool button of the tab strip: one symbol on the raised fill inside a stroke.
ClickableButton *stripToolButton(
    const ThemeSource &theme, const QString &symbol, ThemeColor color, ui::SymbolWeight weight, SymbolView **symbolView)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::elevatedBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins();
    auto *button = new ClickableButton(theme, look);
    button->setFixedSize(24, 24);
    SymbolView *view = button->addSymbol(symbol, color, 11, weight);
    button->layout()->setAlignment(view, Qt::AlignCenter);
    if (symbolView)
        *symbolView = view;
    return button;
}

// Opens a button's menu below it, as a borderless menu button does.
void popUpBelow(QMenu *menu, QWidget *button)
{
    menu->popup(button->mapToGlobal(QPoint(0, button->height())));
}

} // namespace

AgentThreadPane::AgentThreadPane(
    const WorkspaceViewContext &context, bool isSplitSecondary, ExpandedToolSet *expandedTools, QWidget *parent)
    : QWidget(parent), m_context(context), m_isSplitSecondary(isSplitSecondary)
{
    setObjectName(isSplitSecondary ? u"secondaryAgentPane"_s : u"primaryAgentPane"_s);
    const ThemeSource &theme = *context.theme;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *tabStrip = new Panel(theme, ThemeColor::sidebarBackground);
    tabStrip->setObjectName(u"agentTabStripRow"_s);
    buildTabStrip(tabStrip);
    column->addWidget(tabStrip);

    auto *toolbar = new Panel(theme, ThemeColor::sidebarBackground);
    toolbar->setFill(ThemeColor::sidebarBackground, 0.85);
    toolbar->setObjectName(u"agentPaneToolbarRow"_s);
    buildToolbar(toolbar);
    column->addWidget(toolbar);

    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));
    m_timeline = new AgentTimelineView(context, QUuid(), QUuid());
    if (expandedTools)
        m_timeline->setExpandedToolSet(expandedTools);
    column->addWidget(m_timeline, 1);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));
    m_quickPrompts = new QuickPromptRow(context, QUuid(), QUuid());
    column->addWidget(m_quickPrompts);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));
    m_composer = new AgentComposerBar(context, QUuid(), QUuid());
    column->addWidget(m_composer);

    connect(&theme, &ThemeSource::themeChanged, this, [this] {
        applyColors();
        updateMenuIcons();
        update();
    });
    applyColors();
    updateMenuIcons();
}

AgentThreadPane::~AgentThreadPane()
{
    // The focus moves as the pane's widgets go, after this part of the pane is gone.
    disconnect(m_focusWatch);
}

void AgentThreadPane::buildTabStrip(QWidget *row)
{
    const ThemeSource &theme = *m_context.theme;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(8, 6, 8, 6);
    layout->setSpacing(4);

    auto *scroller = new QScrollArea;
    scroller->setObjectName(u"agentTabScrollArea"_s);
    scroller->setAccessibleName(u"Workspace Agent"_s);
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroller->setWidgetResizable(true);
    scroller->viewport()->setAutoFillBackground(false);
    scroller->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    auto *chips = new QWidget;
    chips->setAutoFillBackground(false);
    m_chipRow = new QHBoxLayout(chips);
    m_chipRow->setContentsMargins(0, 0, 0, 0);
    m_chipRow->setSpacing(4);
    m_chipRow->addStretch(1);
    setSeeThroughContent(scroller, chips);
    scrollSidewaysWithWheel(scroller);
    // The strip's width and its chips' widths settle after a change: the selected chip is brought
    // into view once they have.
    scroller->viewport()->installEventFilter(this);
    chips->installEventFilter(this);
    m_chipScroller = scroller;
    layout->addWidget(scroller, 1);
    // Tab scrolls the strip to each chip it passes; once the focus has left the strip, the strip
    // shows the selected chip again.
    m_focusWatch = whenFocusLeaves(m_chipScroller, [this] { scheduleSelectedChipInView(); });

    auto *add = stripToolButton(theme, u"plus"_s, ThemeColor::accentLime, ui::SymbolWeight::bold, nullptr);
    add->setObjectName(u"addSpecialistMenuButton"_s);
    add->setToolTip(u"Add Specialist Agent Tab to this Thread"_s);
    m_addSpecialistMenu = new QMenu(add);
    m_addSpecialistMenu->setObjectName(u"addSpecialistMenu"_s);
    for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas()) {
        QAction *item
            = m_addSpecialistMenu->addAction(literalButtonText(persona.name + u" ("_s + persona.handle + u')'));
        item->setObjectName(u"addSpecialistAction"_s);
        item->setData(persona.id);
        item->setIcon(ui::symbolIcon(persona.icon, theme.theme().textSecondary()));
        connect(item, &QAction::triggered, this, [this, persona] {
            if (m_context.threads)
                m_context.threads->addAgentTab(persona, m_threadID);
        });
    }
    connect(add, &QAbstractButton::clicked, this, [this, add] { popUpBelow(m_addSpecialistMenu, add); });
    layout->addWidget(add);

    m_splitToggle = stripToolButton(
        theme, u"rectangle.split.2x1"_s, ThemeColor::textSecondary, ui::SymbolWeight::semibold, &m_splitSymbol);
    m_splitToggle->setObjectName(u"splitToggleButton"_s);
    m_splitToggle->setToolTip(u"Split Agent Pane (Run 2 Specialist Agents Side-by-Side)"_s);
    connect(m_splitToggle, &QAbstractButton::clicked, this, [this] {
        if (m_context.threads)
            m_context.threads->toggleSplitAgentPane(m_threadID);
    });
    layout->addWidget(m_splitToggle);
    // The strip is as tall as its tallest control, the chips scroll sideways inside it.
    scroller->setFixedHeight(26);
}

void AgentThreadPane::buildToolbar(QWidget *row)
{
    const ThemeSource &theme = *m_context.theme;
    auto *layout = new QHBoxLayout(row);
    layout->setContentsMargins(10, 5, 10, 5);
    layout->setSpacing(8);

    ClickableButton::Look badgeLook;
    badgeLook.fill = ThemeColor::panelBackground;
    badgeLook.stroke = ThemeColor::borderSubtle;
    badgeLook.padding = QMargins(7, 3, 7, 3);
    badgeLook.spacing = 5;
    // In a narrow pane the badge and the approval menu give way, their texts cut with an ellipsis;
    // the message count stays whole.
    m_dryRunBadge = new ClickableButton(theme, badgeLook);
    m_dryRunBadge->setObjectName(u"dryRunBadgeButton"_s);
    m_dryRunBadge->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    m_dryRunDot = new StateDot(theme, ThemeColor::accentEmerald, 6);
    m_dryRunBadge->addWidget(m_dryRunDot);
    m_dryRunLabel = new ElidedLabel(theme, themeFont(9, QFont::Bold, true), ThemeColor::accentEmerald);
    m_dryRunLabel->setText(liveText());
    m_dryRunBadge->addWidget(m_dryRunLabel);
    connect(m_dryRunBadge, &QAbstractButton::clicked, this, [this] {
        if (m_context.threads)
            m_context.threads->toggleThreadDryRun(m_threadID);
    });
    layout->addWidget(m_dryRunBadge);

    ClickableButton::Look menuLook = badgeLook;
    menuLook.spacing = 4;
    m_approvalButton = new ClickableButton(theme, menuLook);
    m_approvalButton->setObjectName(u"approvalModeMenuButton"_s);
    m_approvalButton->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    m_approvalButton->addSymbol(u"checkmark.shield"_s, ThemeColor::textSecondary, 9);
    m_approvalLabel = new ElidedLabel(theme, themeFont(9, QFont::DemiBold, true), ThemeColor::textSecondary);
    m_approvalLabel->setText(rawValue(ThreadApprovalMode::manual));
    m_approvalButton->addWidget(m_approvalLabel);
    m_approvalButton->addSymbol(u"chevron.down"_s, ThemeColor::textSecondary, 8);
    m_approvalMenu = new QMenu(m_approvalButton);
    m_approvalMenu->setObjectName(u"approvalModeMenu"_s);
    for (const ThreadApprovalMode mode : approvalModes) {
        QAction *item = m_approvalMenu->addAction(literalButtonText(rawValue(mode)));
        item->setObjectName(u"approvalModeAction"_s);
        item->setData(rawValue(mode));
        connect(item, &QAction::triggered, this, [this, mode] {
            if (m_context.threads)
                m_context.threads->setThreadApprovalMode(mode, m_threadID);
        });
    }
    connect(
        m_approvalButton, &QAbstractButton::clicked, this, [this] { popUpBelow(m_approvalMenu, m_approvalButton); });
    layout->addWidget(m_approvalButton);
    layout->addStretch(1);

    m_messageCount = new QLabel(u"0 msgs"_s);
    m_messageCount->setObjectName(u"messageCountLabel"_s);
    m_messageCount->setTextFormat(Qt::PlainText);
    m_messageCount->setFont(themeFont(9, QFont::Normal, true));
    layout->addWidget(m_messageCount);
}

void AgentThreadPane::showTab(const CampaignIDEThread &thread, const CampaignAgentTab &tab)
{
    const bool rebind = thread.id != m_threadID || tab.id != m_tabID;
    m_threadID = thread.id;
    m_tabID = tab.id;
    if (rebind) {
        m_timeline->setTab(thread.id, tab.id);
        m_quickPrompts->setTab(thread.id, tab.id);
        m_composer->setTab(thread.id, tab.id);
    }
    updateChips(thread);
    updateToolbar(thread, tab);
}

void AgentThreadPane::updateChips(const CampaignIDEThread &thread)
{
    // Chips are matched to tabs by position and re-labelled; a chip that is no longer needed is
    // hidden and deleted later, since its own close button may be the caller.
    while (m_chips.size() > thread.agentTabs.size()) {
        AgentTabChip *chip = m_chips.takeLast();
        m_chipRow->removeWidget(chip);
        chip->hide();
        chip->deleteLater();
    }
    while (m_chips.size() < thread.agentTabs.size()) {
        auto *chip = new AgentTabChip(*m_context.theme);
        chip->setWidthLimit(m_chipScroller->viewport()->width());
        connect(chip, &AgentTabChip::selectRequested, this, &AgentThreadPane::chipSelected);
        connect(chip, &AgentTabChip::closeRequested, this, [this](const QUuid &tabID) {
            if (m_context.threads)
                m_context.threads->closeAgentTab(tabID, m_threadID);
        });
        m_chipRow->insertWidget(int(m_chips.size()), chip);
        m_chips.append(chip);
    }
    const bool closable = thread.agentTabs.size() >= 2;
    QList<QUuid> strip;
    strip.reserve(thread.agentTabs.size() + 1);
    for (qsizetype i = 0; i < thread.agentTabs.size(); ++i) {
        const CampaignAgentTab &tab = thread.agentTabs.at(i);
        const bool selected = m_isSplitSecondary ? thread.splitAgentTabID == tab.id : thread.activeAgentTabID == tab.id;
        m_chips.at(i)->showTab(tab, selected, closable);
        strip.append(tab.id);
        if (selected)
            strip.append(QUuid()); // marks the selected chip's place
    }
    // Most changes of a thread (a keystroke in the composer, a reply streaming in) leave the chips
    // as they were: the strip then keeps where the user scrolled it.
    if (strip != m_shownStrip) {
        m_shownStrip = strip;
        scheduleSelectedChipInView();
    }
}

void AgentThreadPane::scheduleSelectedChipInView()
{
    if (m_chipInViewScheduled)
        return;
    m_chipInViewScheduled = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            m_chipInViewScheduled = false;
            for (AgentTabChip *chip : std::as_const(m_chips)) {
                if (chip->isSelected())
                    keepInSidewaysView(m_chipScroller, chip);
            }
        },
        Qt::QueuedConnection);
}

bool AgentThreadPane::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Resize) {
        // A chip wider than the strip shortens its texts to fit it whole.
        if (watched == m_chipScroller->viewport()) {
            for (AgentTabChip *chip : std::as_const(m_chips))
                chip->setWidthLimit(m_chipScroller->viewport()->width());
        }
        scheduleSelectedChipInView();
    }
    return QWidget::eventFilter(watched, event);
}

void AgentThreadPane::chipSelected(const QUuid &tabID)
{
    if (!m_context.threads)
        return;
    if (m_isSplitSecondary)
        m_context.threads->showAgentTabInSplit(tabID, m_threadID);
    else
        m_context.threads->selectAgentTab(tabID, m_threadID);
}

void AgentThreadPane::updateToolbar(const CampaignIDEThread &thread, const CampaignAgentTab &tab)
{
    m_hasSplit = thread.splitAgentTabID.has_value();
    m_dryRun = thread.dryRunEnabled;
    if (m_approvalMode != thread.approvalMode) {
        m_approvalMode = thread.approvalMode;
        updateMenuIcons();
    }
    m_dryRunLabel->setText(m_dryRun ? dryRunText() : liveText());
    m_approvalLabel->setText(rawValue(m_approvalMode));
    m_approvalButton->setAccessibleName(rawValue(m_approvalMode));
    m_messageCount->setText(QString::number(tab.entries.size()) + u" msgs"_s);
    applyColors();
}

void AgentThreadPane::applyColors()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    m_splitSymbol->setColor(m_hasSplit ? ThemeColor::accentLime : ThemeColor::textSecondary);
    const ThemeColor badge = m_dryRun ? ThemeColor::accentAmber : ThemeColor::accentEmerald;
    m_dryRunDot->setColor(badge);
    m_dryRunLabel->setColor(badge);
    setLabelColor(m_messageCount, theme.textMuted());
}

void AgentThreadPane::updateMenuIcons()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    const QList<QAction *> items = m_approvalMenu->actions();
    for (qsizetype i = 0; i < items.size() && i < approvalModes.size(); ++i) {
        const bool current = approvalModes.at(i) == m_approvalMode;
        items.at(i)->setIcon(ui::symbolIcon(current ? u"checkmark" : u"shield", theme.textSecondary()));
        items.at(i)->setCheckable(false);
        items.at(i)->setProperty("symbol", current ? u"checkmark"_s : u"shield"_s);
    }
    for (QAction *item : m_addSpecialistMenu->actions()) {
        for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas()) {
            if (persona.id == item->data().toString())
                item->setIcon(ui::symbolIcon(persona.icon, theme.textSecondary()));
        }
    }
}

void AgentThreadPane::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_context.theme->theme().sidebarBackground());
}

} // namespace orvane
