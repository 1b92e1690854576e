#include "ide/views/window/WorkspaceSidebar.h"

#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/SeeThroughScroll.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceWindowController.h"

#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

WorkspaceSidebar::WorkspaceSidebar(const ThemeSource &theme, WorkspaceWindowController &controller, QWidget *parent)
    : Panel(theme, ThemeColor::sidebarBackground, parent), m_theme(&theme)
{
    setObjectName(u"sidebar"_s);
    setFixedWidth(width);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    auto *top = new QVBoxLayout;
    top->setContentsMargins(10, 10, 10, 10);
    top->setSpacing(6);

    // The hints name the top bar's shortcuts; the sidebar's buttons carry none of their own.
    const QString paletteHint = QKeySequence(Qt::CTRL | Qt::Key_K).toString(QKeySequence::NativeText);
    const QString threadHint = QKeySequence(Qt::CTRL | Qt::Key_T).toString(QKeySequence::NativeText);

    ClickableButton::Look searchLook;
    searchLook.fill = ThemeColor::panelBackground;
    searchLook.stroke = ThemeColor::borderSubtle;
    searchLook.padding = QMargins(10, 7, 10, 7);
    searchLook.spacing = 8;
    auto *search = new ClickableButton(theme, searchLook);
    search->setObjectName(u"threadSearchField"_s);
    search->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    search->addSymbol(u"magnifyingglass"_s, ThemeColor::textSecondary, 12);
    search->addText(u"Search threads, files…"_s, themeFont(12), ThemeColor::textSecondary);
    search->addStretch();
    search->addText(paletteHint, themeFont(10, QFont::DemiBold, true), ThemeColor::textMuted);
    connect(search, &QAbstractButton::clicked, &controller, &WorkspaceWindowController::openCommandPalette);
    top->addWidget(search);

    auto *newRow = new QHBoxLayout;
    newRow->setSpacing(6);
    ClickableButton::Look newLook;
    newLook.fill = ThemeColor::accentLimeFill;
    newLook.padding = QMargins(10, 7, 10, 7);
    newLook.spacing = 6;
    auto *quick = new ClickableButton(theme, newLook);
    quick->setObjectName(u"sidebarNewThreadButton"_s);
    quick->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    quick->addSymbol(u"plus.bubble.fill"_s, ThemeColor::textPrimary, 11, ui::SymbolWeight::bold)
        ->setFixedColor(Qt::black);
    quick->addWidget(new FixedTag(u"New Thread"_s, themeFont(12, QFont::Bold), Qt::black, Qt::transparent, QMargins()));
    quick->addStretch();
    QColor hintInk(Qt::black);
    hintInk.setAlphaF(0.75f);
    quick->addWidget(new FixedTag(threadHint, themeFont(10, QFont::Bold, true), hintInk, Qt::transparent, QMargins()));
    quick->setDoubleClickPressesOnce(true);
    connect(quick, &QAbstractButton::clicked, &controller, &WorkspaceWindowController::startQuickThread);
    newRow->addWidget(quick, 1);

    ClickableButton::Look personaLook;
    personaLook.fill = ThemeColor::panelBackground;
    personaLook.stroke = ThemeColor::borderSubtle;
    personaLook.padding = QMargins(9, 9, 9, 9);
    personaLook.spacing = 0;
    auto *persona = new ClickableButton(theme, personaLook);
    persona->setObjectName(u"customThreadButton"_s);
    persona->setToolTip(u"New Thread with custom Agent Persona & Prompt…"_s);
    persona->setAccessibleName(u"New Thread with custom Agent Persona & Prompt…"_s);
    persona->addSymbol(u"slider.horizontal.3"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::semibold);
    persona->setFixedSize(30, 30);
    connect(persona, &QAbstractButton::clicked, &controller,
        [&controller] { controller.openNewThreadSheet(/*clearTexts=*/true, /*resetPersona=*/true); });
    newRow->addWidget(persona);
    top->addLayout(newRow);
    column->addLayout(top);

    column->addWidget(new ThemeDivider(theme, Qt::Horizontal));

    m_scroll = new QScrollArea;
    m_scroll->setObjectName(u"sidebarScrollArea"_s);
    m_scroll->setAccessibleName(u"Sidebar"_s);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setWidgetResizable(true);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Transparent, so the sidebar's own fill shows through.
    m_scroll->viewport()->setAutoFillBackground(false);
    column->addWidget(m_scroll, 1);

    m_footerDivider = new ThemeDivider(theme, Qt::Horizontal);
    column->addWidget(m_footerDivider);
    m_footerSlot = new QVBoxLayout;
    m_footerSlot->setContentsMargins(0, 0, 0, 0);
    column->addLayout(m_footerSlot);
}

void WorkspaceSidebar::setNavigationContent(QWidget *content)
{
    delete m_scroll->takeWidget();
    if (!content)
        return;
    setSeeThroughContent(m_scroll, content);
}

void WorkspaceSidebar::setFooter(QWidget *footer)
{
    while (QLayoutItem *item = m_footerSlot->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    if (footer)
        m_footerSlot->addWidget(footer);
}

} // namespace orvane
