#include "ide/views/sheets/NewThreadSheet.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceWindowState.h"
#include "ide/records/OrvaneWebParitySeeds.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/sheets/SheetParts.h"

#include <QBoxLayout>
#include <QComboBox>
#include <QLineEdit>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// Blank after trimming white space and line breaks: none.
std::optional<QString> trimmedOrNone(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    return trimmed;
}

} // namespace

NewThreadSheet::NewThreadSheet(const WorkspaceViewContext &context, QWidget *parent)
    : QWidget(parent), m_context(context), m_state(context.state)
{
    setObjectName(u"newThreadSheetContent"_s);
    const ThemeSource &theme = *context.theme;
    QVBoxLayout *column = sheetparts::column(this, 14);
    column->addWidget(sheetparts::eyebrow(theme, u"LAUNCH CAMPAIGN THREAD"_s));
    column->addWidget(sheetparts::heading(theme, u"Start a New Multi-Agent Thread"_s));

    m_titleField = sheetparts::field(u"newThreadTitleField"_s, u"e.g., Q2 Competitor Search Conquest & LinkedIn ABM"_s);
    column->addWidget(sheetparts::group(theme, u"Thread Title"_s, m_titleField));

    m_personaPicker = new QComboBox;
    m_personaPicker->setObjectName(u"newThreadPersonaComboBox"_s);
    m_personaPicker->setAccessibleName(u"Persona"_s);
    m_personaPicker->setFont(themeFont(13));
    for (const OrvaneAgentPersona &persona : OrvaneWebParitySeeds::personas())
        m_personaPicker->addItem(persona.name + u" ("_s + persona.handle + u')');
    column->addWidget(sheetparts::group(theme, u"Lead Specialist Persona"_s, m_personaPicker));

    m_promptField = sheetparts::field(
        u"newThreadPromptField"_s, u"e.g., Build a $45k/mo media plan table and 4 LinkedIn artboards"_s);
    column->addWidget(sheetparts::group(theme, u"Initial Prompt (Optional)"_s, m_promptField));

    auto *cancel = sheetparts::cancelButton(theme);
    auto *create = sheetparts::confirmButton(theme, u"openThreadWorkbenchButton"_s, u"Open Thread Workbench"_s, 7);
    column->addLayout(sheetparts::buttonRow(cancel, QMargins(12, 6, 12, 6), create));

    syncFromState();
    connect(m_titleField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_state)
            m_state->setNewThreadTitle(text);
    });
    connect(m_promptField, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (m_state)
            m_state->setNewThreadPrompt(text);
    });
    connect(m_personaPicker, &QComboBox::activated, this, [this](int index) {
        const QList<OrvaneAgentPersona> &personas = OrvaneWebParitySeeds::personas();
        if (m_state && index >= 0 && index < personas.size())
            m_state->setNewThreadPersona(personas.at(index));
    });
    connect(m_state, &WorkspaceWindowState::newThreadFieldsChanged, this, &NewThreadSheet::syncFromState);
    connect(cancel, &QAbstractButton::clicked, this, [this] {
        if (m_state)
            m_state->setShowingNewThreadSheet(false);
    });
    connect(create, &QAbstractButton::clicked, this, &NewThreadSheet::create);
}

void NewThreadSheet::syncFromState()
{
    if (!m_state)
        return;
    sheetparts::syncField(m_titleField, m_state->newThreadTitle());
    sheetparts::syncField(m_promptField, m_state->newThreadPrompt());
    // The picker's selection matches the whole record; a persona outside the catalog selects none.
    const int index = int(OrvaneWebParitySeeds::personas().indexOf(m_state->newThreadPersona()));
    if (m_personaPicker->currentIndex() != index)
        m_personaPicker->setCurrentIndex(index);
}

void NewThreadSheet::create()
{
    CampaignIDEWorkspaceModel *model = m_context.model;
    if (!model || !m_state)
        return;
    const OrvaneAgentPersona persona = m_state->newThreadPersona();
    CampaignIDEWorkspaceModel::NewThread request;
    request.title = trimmedOrNone(m_state->newThreadTitle());
    request.initialPrompt = trimmedOrNone(m_state->newThreadPrompt());
    request.persona = persona;
    request.projectID = model->selectedProjectID();
    if (!request.projectID && !model->projects().isEmpty())
        request.projectID = model->projects().constFirst().id;
    request.workbench = persona.defaultWorkbench;
    request.autoSend = request.initialPrompt.has_value();
    model->createNewThread(request, m_context.session);
    m_state->setShowingNewThreadSheet(false);
}

} // namespace orvane
