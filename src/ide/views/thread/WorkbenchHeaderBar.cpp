#include "ide/views/thread/WorkbenchHeaderBar.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/thread/ThreadPaneParts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>

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
    : QWidget(parent), m_context(context)
{
    setObjectName(u"workbenchHeaderBar"_s);
    const ThemeSource &theme = *context.theme;
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(12, 8, 12, 8);
    row->setSpacing(8);

    // The strip's stroke is drawn inside its 1-pixel margin so the tabs never cover it.
    auto *strip = new ThemePanel(theme, ThemeColor::panelBackground);
    strip->setObjectName(u"workbenchTabStrip"_s);
    strip->setFill(ThemeColor::sidebarBackground);
    strip->setStroke(ThemeColor::borderSubtle);
    auto *stripRow = new QHBoxLayout(strip);
    stripRow->setContentsMargins(1, 1, 1, 1);
    stripRow->setSpacing(2);
    for (const IDEWorkbenchView view : allViews()) {
        ClickableButton::Look look;
        look.fill = ThemeColor::panelBackground;
        look.padding = QMargins(10, 6, 10, 6);
        look.spacing = 5;
        Tab tab;
        tab.button = new ClickableButton(theme, look);
        tab.button->setObjectName(tabButtonName(view));
        tab.button->setAccessibleName(rawValue(view));
        tab.button->setToolTip(rawValue(view));
        tab.icon = tab.button->addSymbol(icon(view), ThemeColor::textSecondary, 11, ui::SymbolWeight::semibold);
        tab.title = tab.button->addText(rawValue(view), themeFont(11, QFont::Medium), QColor());
        connect(tab.button, &QAbstractButton::clicked, this, [this, view] {
            if (m_context.model)
                m_context.model->selectWorkbenchView(view, m_threadID);
        });
        stripRow->addWidget(tab.button);
        m_tabs.insert(view, tab);
    }
    row->addWidget(strip);
    row->addStretch(1);

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
    row->addWidget(save);

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
    row->addWidget(launch);

    connect(&theme, &ThemeSource::themeChanged, this, [this] {
        applySelection();
        update();
    });
    applySelection();
    // Every title shown, the selected one in bold.
    m_fullWidth = layout()->sizeHint().width() + 8;
}

void WorkbenchHeaderBar::showThread(const QUuid &threadID, IDEWorkbenchView selected)
{
    m_threadID = threadID;
    if (m_selected == selected)
        return;
    m_selected = selected;
    applySelection();
}

void WorkbenchHeaderBar::applySelection()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it) {
        const bool selected = it.key() == m_selected;
        const Tab &tab = it.value();
        ClickableButton::Look look = tab.button->look();
        look.fill = selected ? ThemeColor::accentLimeFill : ThemeColor::panelBackground;
        tab.button->setLook(look);
        tab.button->setChecked(false);
        tab.button->setProperty("selected", selected);
        if (selected)
            tab.icon->setFixedColor(Qt::black);
        else
            tab.icon->setColor(ThemeColor::textSecondary);
        tab.title->setFont(themeFont(11, selected ? QFont::Bold : QFont::Medium));
        setLabelColor(tab.title, selected ? QColor(Qt::black) : theme.textSecondary());
        tab.title->setVisible(selected || !m_compact);
    }
    setLabelColor(m_saveText, theme.textPrimary());
}

void WorkbenchHeaderBar::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const bool compact = m_fullWidth > 0 && width() < m_fullWidth;
    if (compact != m_compact) {
        m_compact = compact;
        applySelection();
    }
}

void WorkbenchHeaderBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), m_context.theme->theme().sidebarBackground());
}

} // namespace orvane
