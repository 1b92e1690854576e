#include "ide/views/thread/WorkbenchHeaderBar.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/ThreadPaneParts.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

const QList<IDEWorkbenchView> &WorkbenchHeaderBar::allViews()
{
    static const QList<IDEWorkbenchView> views { IDEWorkbenchView::document, IDEWorkbenchView::table,
        IDEWorkbenchView::canvas, IDEWorkbenchView::dashboard, IDEWorkbenchView::explore,
        IDEWorkbenchView::localFiles };
    return views;
}

QString WorkbenchHeaderBar::tabButtonName(IDEWorkbenchView view)
{
    switch (view) {
    case IDEWorkbenchView::document:
        return u"documentWorkbenchTabButton"_s;
    case IDEWorkbenchView::table:
        return u"tableWorkbenchTabButton"_s;
    case IDEWorkbenchView::canvas:
        return u"canvasWorkbenchTabButton"_s;
    case IDEWorkbenchView::dashboard:
        return u"dashboardWorkbenchTabButton"_s;
    case IDEWorkbenchView::explore:
        return u"exploreWorkbenchTabButton"_s;
    case IDEWorkbenchView::localFiles:
        return u"localFilesWorkbenchTabButton"_s;
    }
    Q_UNREACHABLE();
    return {};
}

WorkbenchHeaderBar::WorkbenchHeaderBar(const WorkspaceViewContext &context, QWidget *parent)
    : Panel(*context.theme, ThemeColor::sidebarBackground, parent), m_context(context)
{
    setObjectName(u"workbenchHeaderBar"_s);
    const ThemeSource &theme = *context.theme;
    auto *rows = new QVBoxLayout(this);
    rows->setContentsMargins(12, 8, 12, 8);
    rows->setSpacing(8);
    auto *row = new QHBoxLayout;
    row->setSpacing(8);
    rows->addLayout(row);
    m_secondRow = new QHBoxLayout;
    m_secondRow->setSpacing(8);
    m_secondRow->addStretch(1);
    rows->addLayout(m_secondRow);

    // The strip's stroke is drawn inside its 1-pixel margin so the tabs never cover it.
    auto *strip = new Panel(theme, ThemeColor::panelBackground);
    strip->setObjectName(u"workbenchTabStrip"_s);
    strip->setFill(ThemeColor::sidebarBackground);
    strip->setStroke(ThemeColor::borderSubtle);
    auto *stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(1, 1, 1, 1);
    stripRow->setSpacing(2);
    for (const IDEWorkbenchView view : allViews()) {
        ClickableButton::Look look;
        look.fill = ThemeColor::panelBackground;
        look.padding = QMargins(tabPadding, 6, tabPadding, 6);
        look.spacing = 5;
        Tab tab;
        tab.button = new ClickableButton(theme, look);
        tab.button->setObjectName(tabButtonName(view));
        tab.button->setAccessibleName(rawValue(view));
        tab.button->setToolTip(rawValue(view));
        // Below the narrowest strip (a column the screen leaves short of its minimum) the tabs
        // give way and their titles end in an ellipsis.
        tab.button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
        tab.icon = tab.button->addSymbol(icon(view), ThemeColor::textSecondary, 11, ui::SymbolWeight::semibold);
        tab.title = new ElidedLabel(theme, themeFont(11, QFont::Medium), ThemeColor::textSecondary);
        tab.title->setText(rawValue(view));
        tab.button->addWidget(tab.title);
        connect(tab.button, &QAbstractButton::clicked, this, [this, view] {
            if (m_context.model)
                m_context.model->selectWorkbenchView(view, m_threadID);
        });
        stripRow->addWidget(tab.button);
        m_tabs.insert(view, tab);
    }
    row->addWidget(strip);
    row->addStretch(1);
    m_firstRow = row;

    m_actions = new QWidget;
    m_actions->setObjectName(u"workbenchActionButtons"_s);
    auto *actions = new QHBoxLayout(m_actions);
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(8);

    ClickableButton::Look saveLook;
    saveLook.fill = ThemeColor::elevatedBackground;
    saveLook.stroke = ThemeColor::borderSubtle;
    saveLook.padding = QMargins(10, 6, 10, 6);
    auto *save = new ClickableButton(theme, saveLook);
    save->setObjectName(u"saveLocalButton"_s);
    save->addSymbol(u"externaldrive.badge.checkmark"_s, ThemeColor::textPrimary, 11);
    m_saveText = save->addText(u"Save Local"_s, themeFont(11, QFont::DemiBold), QColor());
    connect(save, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->saveThreadToLocalWorkspace(m_threadID);
    });
    actions->addWidget(save);

    ClickableButton::Look launchLook;
    launchLook.fill = ThemeColor::accentLimeFill;
    launchLook.padding = QMargins(12, 6, 12, 6);
    auto *launch = new ClickableButton(theme, launchLook);
    launch->setObjectName(u"approveLaunchButton"_s);
    launch->addSymbol(u"paperplane.fill"_s, ThemeColor::textPrimary, 11, ui::SymbolWeight::bold)
        ->setFixedColor(Qt::black);
    setLabelColor(launch->addText(u"Approve & Launch"_s, themeFont(11, QFont::Bold), QColor()), Qt::black);
    connect(launch, &QAbstractButton::clicked, this, [this] {
        if (m_context.model)
            m_context.model->requestExecution();
    });
    actions->addWidget(launch);
    row->addWidget(m_actions);

    connect(&theme, &ThemeSource::themeChanged, this, [this] {
        applySelection();
        update();
    });
    applySelection();
}

void WorkbenchHeaderBar::showThread(const QUuid &threadID, IDEWorkbenchView selected)
{
    m_threadID = threadID;
    if (m_selected == selected)
        return;
    m_selected = selected;
    applySelection();
    // The selected title is bold: the widths may have changed.
    arrange();
}

void WorkbenchHeaderBar::applySelection()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it) {
        const bool selected = it.key() == m_selected;
        const Tab &tab = it.value();
        ClickableButton::Look look = tab.button->look();
        look.fill = selected ? ThemeColor::accentLimeFill : ThemeColor::panelBackground;
        look.padding = QMargins(currentTabPadding(), 6, currentTabPadding(), 6);
        tab.button->setLook(look);
        tab.button->setChecked(false);
        tab.button->setProperty("selected", selected);
        if (selected)
            tab.icon->setFixedColor(Qt::black);
        else
            tab.icon->setColor(ThemeColor::textSecondary);
        tab.title->setFont(themeFont(11, selected ? QFont::Bold : QFont::Medium));
        if (selected)
            tab.title->setFixedColor(Qt::black);
        else
            tab.title->setColor(ThemeColor::textSecondary);
    }
    setLabelColor(m_saveText, theme.textPrimary());
}

int WorkbenchHeaderBar::stripWidth(int padding) const
{
    // The strip's margins and the spacing between its six tabs, then each tab with that padding.
    int width = 2 + 2 * int(m_tabs.size() - 1);
    for (const Tab &tab : m_tabs)
        width += tab.button->sizeHint().width() + 2 * (padding - currentTabPadding());
    return width;
}

QSize WorkbenchHeaderBar::minimumSizeHint() const
{
    // Tabs above the action buttons, and the tabs' narrower padding, at the narrowest.
    const QMargins margins = layout()->contentsMargins();
    const int width
        = std::max(stripWidth(narrowTabPadding), m_actions->sizeHint().width()) + margins.left() + margins.right();
    return { width, QWidget::minimumSizeHint().height() };
}

void WorkbenchHeaderBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    arrange();
}

void WorkbenchHeaderBar::arrange()
{
    // One row when everything fits; else the action buttons go to a second row; else the tabs
    // narrow their padding, so every title stays whole down to the column's minimum width.
    const QMargins margins = layout()->contentsMargins();
    const int room = width() - margins.left() - margins.right();
    const int strip = stripWidth(tabPadding);
    const int actions = m_actions->sizeHint().width();
    const bool twoRows = room < strip + 8 + actions;
    const bool compact = room < strip;
    if (twoRows != m_twoRows) {
        m_twoRows = twoRows;
        (twoRows ? m_firstRow : m_secondRow)->removeWidget(m_actions);
        (twoRows ? m_secondRow : m_firstRow)->addWidget(m_actions);
    }
    if (compact != m_compact) {
        m_compact = compact;
        applySelection();
    }
}

} // namespace orvane
