#include "ide/views/window/WorkspaceViewState.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"

namespace orvane {
namespace {

template <typename T, typename Signal> void assign(WorkspaceViewState *state, T &field, const T &value, Signal changed)
{
    if (field == value)
        return;
    field = value;
    Q_EMIT(state->*changed)();
}

} // namespace

WorkspaceViewState::WorkspaceViewState(QObject *parent) : QObject(parent), m_newThreadPersona(operatorPersona())
{
}

OrvaneAgentPersona WorkspaceViewState::operatorPersona()
{
    return CampaignIDEWorkspaceModel::operatorPersona();
}

void WorkspaceViewState::setShowingNewProjectSheet(bool showing)
{
    assign(this, m_showingNewProjectSheet, showing, &WorkspaceViewState::newProjectSheetChanged);
}

void WorkspaceViewState::setNewProjectName(const QString &name)
{
    assign(this, m_newProjectName, name, &WorkspaceViewState::newProjectNameChanged);
}

void WorkspaceViewState::setShowingNewThreadSheet(bool showing)
{
    assign(this, m_showingNewThreadSheet, showing, &WorkspaceViewState::newThreadSheetChanged);
}

void WorkspaceViewState::setNewThreadTitle(const QString &title)
{
    assign(this, m_newThreadTitle, title, &WorkspaceViewState::newThreadFieldsChanged);
}

void WorkspaceViewState::setNewThreadPrompt(const QString &prompt)
{
    assign(this, m_newThreadPrompt, prompt, &WorkspaceViewState::newThreadFieldsChanged);
}

void WorkspaceViewState::setNewThreadPersona(const OrvaneAgentPersona &persona)
{
    assign(this, m_newThreadPersona, persona, &WorkspaceViewState::newThreadFieldsChanged);
}

void WorkspaceViewState::setRenamingThread(const std::optional<CampaignIDEThread> &thread)
{
    // Presence and identity decide the sheet; a changed copy of the same thread is not a new sheet.
    const auto id = [](const std::optional<CampaignIDEThread> &t) { return t ? std::optional(t->id) : std::nullopt; };
    const bool changed = id(m_renamingThread) != id(thread);
    m_renamingThread = thread;
    if (changed)
        Q_EMIT renameSheetChanged();
}

void WorkspaceViewState::setRenameThreadText(const QString &text)
{
    assign(this, m_renameThreadText, text, &WorkspaceViewState::renameThreadTextChanged);
}

void WorkspaceViewState::setCommandQuery(const QString &query)
{
    assign(this, m_commandQuery, query, &WorkspaceViewState::commandQueryChanged);
}

} // namespace orvane
