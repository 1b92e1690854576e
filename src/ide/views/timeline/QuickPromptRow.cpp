#include "ide/views/timeline/QuickPromptRow.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/SidewaysScroll.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/timeline/AgentComposerBar.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>

namespace orvane {

using namespace Qt::StringLiterals;

QuickPromptRow::QuickPromptRow(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent), m_context(context), m_threadID(threadID), m_tabID(tabID)
{
    Q_ASSERT(context.theme);
    setObjectName(u"quickPromptRow"_s);
    setAutoFillBackground(true);
    auto *outer = new QHBoxLayout(this);
    // The strip is cut this far inside the pane's edges, so a chip scrolled under one edge never
    // runs into the strip of the pane beside it.
    outer->setContentsMargins(stripInset, 0, stripInset, 0);
    // Sideways scrolling without a visible bar when the pane is narrow.
    auto *scroll = new QScrollArea(this);
    scroll->setObjectName(u"quickPromptScrollArea"_s);
    scroll->setAccessibleName(u"Quick Prompts"_s);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    auto *strip = new QWidget(scroll);
    auto *row = new QHBoxLayout(strip);
    row->setContentsMargins(10 - stripInset, 6, 10 - stripInset, 6);
    row->setSpacing(6);
    const QStringList prompts = quickPrompts();
    for (qsizetype i = 0; i < prompts.size(); ++i) {
        const QString &prompt = prompts.at(i);
        ClickableButton::Look look;
        look.fill = ThemeColor::panelBackground;
        look.stroke = ThemeColor::borderSubtle;
        look.padding = { 8, 4, 8, 4 };
        look.spacing = 4;
        auto *chip = new ClickableButton(*context.theme, look, strip);
        chip->setObjectName(u"quickPromptChip%1Button"_s.arg(i + 1));
        chip->addSymbol(u"bolt.fill"_s, ThemeColor::accentLime, 9);
        chip->addText(prompt, themeFont(10, QFont::Medium), ThemeColor::textSecondary);
        chip->setAccessibleName(prompt);
        connect(chip, &QAbstractButton::clicked, this, [this, prompt] {
            if (m_context.model)
                m_context.model->sendMessageInThread(m_threadID, m_tabID, prompt, m_context.session);
        });
        row->addWidget(chip);
    }
    row->addStretch(1);
    scroll->setWidget(strip);
    scroll->setFixedHeight(strip->sizeHint().height());
    scrollSidewaysWithWheel(scroll);
    // Tab scrolls the strip to each chip it passes; once the focus has left the strip, the strip
    // shows its start again (on a later turn: the strip may be going with the row).
    whenFocusLeaves(scroll, [scroll] {
        QMetaObject::invokeMethod(
            scroll, [scroll] { scroll->horizontalScrollBar()->setValue(scroll->horizontalScrollBar()->minimum()); },
            Qt::QueuedConnection);
    });
    outer->addWidget(scroll);

    const auto applyTheme = [this, scroll, strip] {
        QPalette palette = this->palette();
        palette.setColor(QPalette::Window, m_context.theme->theme().sidebarBackground());
        setPalette(palette);
        scroll->setPalette(palette);
        scroll->viewport()->setPalette(palette);
        strip->setPalette(palette);
    };
    connect(context.theme, &ThemeSource::themeChanged, this, applyTheme);
    applyTheme();
}

void QuickPromptRow::setTab(const QUuid &threadID, const QUuid &tabID)
{
    m_threadID = threadID;
    m_tabID = tabID;
}

QStringList QuickPromptRow::quickPrompts()
{
    return {
        u"Generate 2 LinkedIn & Reddit artboards"_s,
        u"Add $350/day Google Search Conquest row"_s,
        u"Spy on "_s + AgentComposerBar::competitorDomain() + u" paid ads"_s,
        u"Build 30d attribution dashboard"_s,
    };
}

} // namespace orvane
