#include "ide/views/sheets/CopilotDrawer.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/kit/SeeThroughScroll.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/kit/ThemedLabel.h"
#include "ide/views/sheets/FittedListView.h"
#include "ide/views/sheets/QuickActionCardDelegate.h"
#include "ide/views/sheets/RecommendedActionListModel.h"
#include "ide/views/sheets/SheetParts.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

CopilotDrawer::CopilotDrawer(const WorkspaceViewContext &context, QWidget *parent) : QWidget(parent), m_context(context)
{
    setObjectName(u"copilotDrawerContent"_s);
    const ThemeSource &theme = *context.theme;
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *header = new Panel(theme, ThemeColor::sidebarBackground);
    header->setObjectName(u"copilotDrawerHeader"_s);
    auto *headerRow = new QHBoxLayout(header);
    headerRow->setContentsMargins(12, 12, 12, 12);
    auto *titles = new QVBoxLayout;
    titles->setSpacing(2);
    auto *title
        = new ThemedLabel(theme, u"WORKSPACE COPILOT"_s, themeFont(10, QFont::Bold, true), ThemeColor::accentLime);
    title->setObjectName(u"copilotDrawerTitleLabel"_s);
    titles->addWidget(title);
    auto *subtitle = new ThemedLabel(
        theme, u"Global Campaign & File Assistant"_s, themeFont(12, QFont::Bold), ThemeColor::textPrimary);
    subtitle->setObjectName(u"copilotDrawerSubtitleLabel"_s);
    titles->addWidget(subtitle);
    headerRow->addLayout(titles);
    headerRow->addStretch(1);
    ClickableButton::Look closeLook;
    closeLook.padding = QMargins();
    auto *close = new ClickableButton(theme, closeLook);
    close->setObjectName(u"copilotDrawerCloseButton"_s);
    close->setAccessibleName(u"Close"_s);
    close->setFixedSize(24, 24);
    close->addStretch();
    close->addSymbol(u"xmark"_s, ThemeColor::textSecondary, 11, ui::SymbolWeight::bold);
    close->addStretch();
    headerRow->addWidget(close, 0, Qt::AlignVCenter);
    column->addWidget(header);
    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));

    auto *scroll = new QScrollArea;
    scroll->setObjectName(u"copilotDrawerScrollArea"_s);
    scroll->setAccessibleName(u"Workspace Copilot"_s);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    scroll->viewport()->setAutoFillBackground(false);
    auto *list = new QWidget;
    list->setAutoFillBackground(false);
    auto *stack = new QVBoxLayout(list);
    stack->setContentsMargins(12, 12, 12, 12);
    stack->setSpacing(12);
    auto *section = new ThemedLabel(theme, u"Quick Actions"_s, themeFont(10, QFont::Bold, true), ThemeColor::textMuted);
    section->setObjectName(u"quickActionsLabel"_s);
    stack->addWidget(section);
    m_actions = new RecommendedActionListModel(*context.model, this);
    m_cards = new FittedListView;
    m_cards->setObjectName(u"quickActionList"_s);
    m_cards->setItemDelegate(new QuickActionCardDelegate(theme, m_cards));
    m_cards->setModel(m_actions);
    // Each card is a button of the keyboard, as the palette's rows are.
    m_cards->setRowsAreTabStops(true);
    // Named once its rows are buttons: naming it asks for its accessibility interface, which is
    // made for what the list is at that moment.
    m_cards->setAccessibleName(u"Quick Actions"_s);
    stack->addWidget(m_cards);
    stack->addStretch(1);
    setSeeThroughContent(scroll, list);
    column->addWidget(scroll, 1);

    connect(&theme, &ThemeSource::themeChanged, m_cards->viewport(), qOverload<>(&QWidget::update));
    connect(close, &QAbstractButton::clicked, this, &CopilotDrawer::closeDrawer);
    connect(m_cards, &QAbstractItemView::clicked, this, &CopilotDrawer::start);
}

void CopilotDrawer::closeDrawer()
{
    // The close button takes the drawer away at once: the column is shut without its slide before
    // the flag changes, so the window finds nothing left to animate.
    for (QWidget *ancestor = parentWidget(); ancestor; ancestor = ancestor->parentWidget()) {
        if (auto *column = qobject_cast<SlidingColumn *>(ancestor)) {
            column->setOpen(false, false);
            break;
        }
    }
    if (m_context.state)
        m_context.state->setAgentDrawerOpen(false);
}

void CopilotDrawer::start(const QModelIndex &index)
{
    if (!m_context.model || !index.isValid())
        return;
    if (const auto action = m_actions->action(index.row()))
        m_context.model->startRecommendedAction(*action, m_context.session);
}

} // namespace orvane
