#include "ide/views/timeline/AgentComposerBar.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadList.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/LongText.h"
#include "ide/views/kit/OrvaneClickableButtonStyle.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QVBoxLayout>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {

// The draft field's box: a flat fill inside a square 1-pixel stroke, both theme colours.
class FieldBox final : public QWidget {
public:
    FieldBox(const ThemeSource &theme, QWidget *parent) : QWidget(parent), m_theme(theme) { }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const OrvaneWebTheme theme = m_theme.theme();
        painter.fillRect(rect(), theme.panelBackground());
        painter.setPen(QPen(theme.borderStrong(), 1));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }

private:
    const ThemeSource &m_theme;
};

ClickableButton *menuLabel(const ThemeSource &theme, const QString &text, ThemeColor color, QWidget *parent)
{
    ClickableButton::Look look;
    look.fill = ThemeColor::panelBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = { 6, 3, 6, 3 };
    look.spacing = 3;
    auto *button = new ClickableButton(theme, look, parent);
    auto *label = new ElidedLabel(theme, themeFont(10, QFont::Bold, true), color);
    label->setText(text);
    button->addWidget(label);
    button->addSymbol(u"chevron.up"_s, color, 8);
    // In a pane too narrow for both menus, their texts end in an ellipsis.
    button->setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    return button;
}

// Opens the menu above its label, as a menu whose label points up.
void popUpAbove(QMenu *menu, QWidget *anchor)
{
    const QPoint topLeft = anchor->mapToGlobal(QPoint(0, 0));
    menu->popup(QPoint(topLeft.x(), topLeft.y() - menu->sizeHint().height()));
}

} // namespace

AgentComposerBar::AgentComposerBar(
    const WorkspaceViewContext &context, const QUuid &threadID, const QUuid &tabID, QWidget *parent)
    : QWidget(parent), m_context(context), m_threadID(threadID), m_tabID(tabID)
{
    Q_ASSERT(context.theme);
    const ThemeSource &theme = *context.theme;
    setObjectName(u"agentComposerBar"_s);
    setAutoFillBackground(true);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(10, 10, 10, 10);
    column->setSpacing(8);

    auto *tools = new QHBoxLayout;
    tools->setSpacing(6);
    m_mentionMenuButton = menuLabel(theme, u"@persona"_s, ThemeColor::accentCyan, this);
    m_mentionMenuButton->setObjectName(u"mentionMenuButton"_s);
    m_mentionMenu = new QMenu(this);
    m_mentionMenu->setObjectName(u"mentionMenu"_s);
    for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas()) {
        QAction *action = m_mentionMenu->addAction(literalButtonText(persona.handle + u" \u00B7 "_s + persona.name));
        action->setObjectName(u"mention_"_s + persona.id);
        const QString handle = persona.handle;
        connect(action, &QAction::triggered, this, [this, handle] { mentionPersona(handle); });
    }
    connect(m_mentionMenuButton, &QAbstractButton::clicked, this,
        [this] { popUpAbove(m_mentionMenu, m_mentionMenuButton); });

    m_slashMenuButton = menuLabel(theme, u"/skills"_s, ThemeColor::accentLime, this);
    m_slashMenuButton->setObjectName(u"slashCommandMenuButton"_s);
    m_slashMenu = new QMenu(this);
    m_slashMenu->setObjectName(u"slashCommandMenu"_s);
    const auto commands = slashCommands();
    for (qsizetype i = 0; i < commands.size(); ++i) {
        QAction *action = m_slashMenu->addAction(literalButtonText(commands.at(i).first));
        action->setObjectName(u"slashCommand%1Action"_s.arg(i + 1));
        const QString prompt = commands.at(i).second;
        connect(action, &QAction::triggered, this, [this, prompt] {
            if (m_context.model)
                m_context.model->sendMessageInThread(m_threadID, m_tabID, prompt, m_context.session);
        });
    }
    connect(m_slashMenuButton, &QAbstractButton::clicked, this, [this] { popUpAbove(m_slashMenu, m_slashMenuButton); });

    m_syncPathLabel = new ElidedLabel(theme, themeFont(9, QFont::Normal, true), ThemeColor::textMuted, this);
    m_syncPathLabel->setObjectName(u"syncPathLabel"_s);
    // Cut in the middle, so the project's folder at the end stays readable.
    m_syncPathLabel->setElideMode(Qt::ElideMiddle);
    tools->addWidget(m_mentionMenuButton);
    tools->addWidget(m_slashMenuButton);
    // The path sits at the trailing edge; when the row is short of room it is cut first, down to
    // nothing, before the menus give way.
    m_syncPathLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_syncPathLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    tools->addWidget(m_syncPathLabel, 1);
    column->addLayout(tools);

    auto *input = new QHBoxLayout;
    input->setSpacing(8);
    auto *box = new FieldBox(theme, this);
    auto *boxLayout = new QHBoxLayout(box);
    boxLayout->setContentsMargins(10, 8, 10, 8);
    // The whole of a long paste is kept and sent; a draft too long to lay out in a moment shows cut
    // (the timeline shortens what it shows too).
    m_draftField = new CappedLineEdit(box);
    m_draftField->setObjectName(u"draftField"_s);
    m_draftField->setAccessibleName(u"Message"_s);
    m_draftField->setFrame(false);
    m_draftField->setFont(themeFont(12));
    m_draftField->setAttribute(Qt::WA_MacShowFocusRect, false);
    boxLayout->addWidget(m_draftField);
    input->addWidget(box, 1);

    ClickableButton::Look sendLook;
    sendLook.fill = ThemeColor::accentLimeFill;
    sendLook.padding = { 12, 8, 12, 8 };
    sendLook.spacing = 5;
    m_sendButton = new ClickableButton(theme, sendLook, this);
    m_sendButton->setObjectName(u"sendButton"_s);
    m_sendButton->addSymbol(u"arrow.up.circle.fill"_s, ThemeColor::textPrimary, 12, ui::SymbolWeight::bold)
        ->setFixedColor(QColor(Qt::black));
    m_sendButton->addText(u"Send"_s, themeFont(11, QFont::Bold), QColor(Qt::black));
    m_sendButton->setAccessibleName(u"Send"_s);
    input->addWidget(m_sendButton);
    column->addLayout(input);
    m_draftCutNote = new WrappingLabel(theme, themeFont(10, QFont::DemiBold), cutNoteColor, this);
    m_draftCutNote->setObjectName(u"draftCutNoteLabel"_s);
    m_draftCutNote->hide();
    column->addWidget(m_draftCutNote);

    // Each keystroke writes the draft to the tab; the field is only ever updated, never replaced.
    connect(m_draftField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_context.model)
            m_context.model->setThreadDraft(text, m_threadID, m_tabID);
    });
    connect(m_draftField, &QLineEdit::returnPressed, this, &AgentComposerBar::send);
    connect(m_sendButton, &QAbstractButton::clicked, this, &AgentComposerBar::send);

    if (auto *model = context.model) {
        connect(
            model, &CampaignIDEWorkspaceModel::agentTabChanged, this, [this](const QUuid &thread, const QUuid &tab) {
                if (thread == m_threadID && tab == m_tabID)
                    syncFromModel();
            });
        connect(model, &CampaignIDEWorkspaceModel::threadChanged, this, [this](const QUuid &thread) {
            if (thread == m_threadID)
                syncFromModel();
        });
        connect(model, &CampaignIDEWorkspaceModel::threadsChanged, this, &AgentComposerBar::syncFromModel);
        connect(model, &CampaignIDEWorkspaceModel::selectedProjectIDChanged, this, &AgentComposerBar::updateSyncPath);
        connect(model, &CampaignIDEWorkspaceModel::projectChanged, this, &AgentComposerBar::updateSyncPath);
        connect(model, &CampaignIDEWorkspaceModel::projectsChanged, this, &AgentComposerBar::updateSyncPath);
    }
    connect(context.theme, &ThemeSource::themeChanged, this, &AgentComposerBar::applyTheme);
    applyTheme();
    syncFromModel();
    updateSyncPath();
}

void AgentComposerBar::setTab(const QUuid &threadID, const QUuid &tabID)
{
    if (threadID == m_threadID && tabID == m_tabID)
        return;
    m_threadID = threadID;
    m_tabID = tabID;
    // Another tab's draft, even one with the same text: nothing done to the last tab's draft
    // (typing, a paste shown cut) is undone into this one.
    const CampaignAgentTab *tab = findTab();
    m_draftField->showText(tab ? tab->draftPrompt : QString(), true);
    syncFromModel();
}

QList<QPair<QString, QString>> AgentComposerBar::slashCommands()
{
    return {
        { u"/media-plan \u2014 Generate Media Plan Table"_s,
            u"Build a high-intent LinkedIn + Google Search media plan table with target CPA caps."_s },
        { u"/creatives \u2014 Generate Multi-Channel Ad Artboards"_s,
            u"Generate 2 new LinkedIn and Reddit creative artboards on the Canvas."_s },
        { u"/spyfu \u2014 Competitor Ad & Keyword Teardown"_s,
            u"Spy on "_s + competitorDomain() + u" paid search keywords and active LinkedIn ads."_s },
        { u"/attribution \u2014 Build 30d Performance Dashboard"_s,
            u"Build the 30-day multi-touch attribution and ROAS dashboard."_s },
    };
}

// The competitor a new thread starts with, so the prompts and the thread's teardown agree.
QString AgentComposerBar::competitorDomain()
{
    return u"taskvane.io"_s;
}

const CampaignAgentTab *AgentComposerBar::findTab() const
{
    return m_context.threads ? m_context.threads->tab(m_threadID, m_tabID) : nullptr;
}

void AgentComposerBar::send()
{
    // Without text the model sends the draft it holds for the tab, and ignores a blank one.
    if (m_context.model)
        m_context.model->sendMessageInThread(m_threadID, m_tabID, std::nullopt, m_context.session);
}

void AgentComposerBar::mentionPersona(const QString &handle)
{
    // The user goes on typing the message the mention starts.
    m_draftField->setFocus(Qt::OtherFocusReason);
    const CampaignAgentTab *tab = findTab();
    if (!tab || !m_context.model)
        return;
    const QString prefix = handle + u' ';
    const QString draft = tab->draftPrompt;
    if (draft.startsWith(prefix, Qt::CaseSensitive))
        return;
    m_context.model->setThreadDraft(prefix + draft, m_threadID, m_tabID);
}

void AgentComposerBar::syncFromModel()
{
    const CampaignAgentTab *tab = findTab();
    const QString draft = tab ? tab->draftPrompt : QString();
    // Equal while the user types (the model holds what the field sent): nothing is touched then.
    if (m_draftField->fullText() != draft)
        m_draftField->showText(draft);
    m_draftCutNote->setText(m_draftField->isCut()
            ? u"This draft of %1 characters is shown cut at %2: Send sends it whole; select all and "
              u"delete to clear it."_s.arg(draft.size())
                  .arg(shownLineLimit)
            : QString());
    m_draftCutNote->setVisible(m_draftField->isCut());
    const QString handle = tab ? tab->personaHandle : u"@orvane"_s;
    const QString placeholder = u"Direct "_s + handle + u" to update Document, Table, Canvas, or Explore\u2026"_s;
    if (m_draftField->placeholderText() != placeholder)
        m_draftField->setPlaceholderText(placeholder);
    // While the thread's body is still being read its tabs are not known: nothing is typed into or
    // sent from a tab that may not be the thread's.
    const bool ready = !m_context.model || m_context.model->hasThreadBody(m_threadID);
    for (QWidget *control : { static_cast<QWidget *>(m_draftField), static_cast<QWidget *>(m_sendButton),
             static_cast<QWidget *>(m_mentionMenuButton), static_cast<QWidget *>(m_slashMenuButton) })
        control->setEnabled(ready);
}

void AgentComposerBar::updateSyncPath()
{
    const auto project = m_context.model ? m_context.model->selectedProject() : std::nullopt;
    const QString root = m_context.model ? m_context.model->shownWorkspaceRoot() : QString();
    const QString folder = project ? m_context.model->projectFolderName(*project) : u"campaign"_s;
    const QString text = u"Local sync: "_s + root + u'/' + folder;
    m_syncPathLabel->setText(text);
    m_syncPathLabel->setToolTip(text);
}

void AgentComposerBar::applyTheme()
{
    const OrvaneWebTheme theme = m_context.theme->theme();
    QPalette palette = theme.palette();
    palette.setColor(QPalette::Window, theme.sidebarBackground());
    setPalette(palette);

    QPalette field = theme.palette();
    field.setColor(QPalette::Base, Qt::transparent);
    field.setColor(QPalette::Text, theme.textPrimary());
    field.setColor(QPalette::PlaceholderText, theme.textMuted());
    m_draftField->setPalette(field);
}

} // namespace orvane
