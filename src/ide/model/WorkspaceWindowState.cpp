#include "ide/model/WorkspaceWindowState.h"

#include "ide/model/StoredValue.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <cmath>

namespace orvane {

WorkspaceWindowState::WorkspaceWindowState(QObject *parent) : QObject(parent), m_newThreadPersona(operatorPersona())
{
}

const OrvaneAgentPersona &WorkspaceWindowState::operatorPersona()
{
    return OrvaneWebParitySeeds::personas().first();
}

void WorkspaceWindowState::setDarkTheme(bool dark)
{
    assignAndNotify(this, m_isDarkTheme, dark, &WorkspaceWindowState::appearanceChanged);
}

void WorkspaceWindowState::setSidebarCollapsed(bool collapsed)
{
    assignAndNotify(this, m_isSidebarCollapsed, collapsed, &WorkspaceWindowState::appearanceChanged);
}

void WorkspaceWindowState::setShowingCommandPalette(bool showing)
{
    assignAndNotify(this, m_showingCommandPalette, showing, &WorkspaceWindowState::appearanceChanged);
}

void WorkspaceWindowState::setAgentDrawerOpen(bool open)
{
    assignAndNotify(this, m_agentDrawerOpen, open, &WorkspaceWindowState::appearanceChanged);
}

void WorkspaceWindowState::setCanvasTool(CreativeCanvasTool tool)
{
    assignAndNotify(this, m_canvasTool, tool, &WorkspaceWindowState::canvasChanged);
}

bool WorkspaceWindowState::setCanvasZoom(double zoom)
{
    if (!std::isfinite(zoom) || zoom < minCanvasZoom || zoom > maxCanvasZoom)
        return false;
    assignAndNotify(this, m_canvasZoom, zoom, &WorkspaceWindowState::canvasChanged);
    return true;
}

void WorkspaceWindowState::setCanvasShowsGrid(bool shows)
{
    assignAndNotify(this, m_canvasShowsGrid, shows, &WorkspaceWindowState::canvasChanged);
}

void WorkspaceWindowState::setCanvasSnapsToGrid(bool snaps)
{
    assignAndNotify(this, m_canvasSnapsToGrid, snaps, &WorkspaceWindowState::canvasChanged);
}

void WorkspaceWindowState::setShowingNewProjectSheet(bool showing)
{
    assignAndNotify(this, m_showingNewProjectSheet, showing, &WorkspaceWindowState::newProjectSheetChanged);
}

void WorkspaceWindowState::setNewProjectName(const QString &name)
{
    assignAndNotify(this, m_newProjectName, name, &WorkspaceWindowState::newProjectNameChanged);
}

void WorkspaceWindowState::setShowingNewThreadSheet(bool showing)
{
    assignAndNotify(this, m_showingNewThreadSheet, showing, &WorkspaceWindowState::newThreadSheetChanged);
}

void WorkspaceWindowState::setNewThreadTitle(const QString &title)
{
    assignAndNotify(this, m_newThreadTitle, title, &WorkspaceWindowState::newThreadFieldsChanged);
}

void WorkspaceWindowState::setNewThreadPrompt(const QString &prompt)
{
    assignAndNotify(this, m_newThreadPrompt, prompt, &WorkspaceWindowState::newThreadFieldsChanged);
}

void WorkspaceWindowState::setNewThreadPersona(const OrvaneAgentPersona &persona)
{
    assignAndNotify(this, m_newThreadPersona, persona, &WorkspaceWindowState::newThreadFieldsChanged);
}

void WorkspaceWindowState::setRenamingThread(const std::optional<CampaignIDEThread> &thread)
{
    // Presence and identity decide the sheet; a changed copy of the same thread is not a new sheet.
    const auto id = [](const std::optional<CampaignIDEThread> &t) { return t ? std::optional(t->id) : std::nullopt; };
    const bool changed = id(m_renamingThread) != id(thread);
    m_renamingThread = thread;
    if (changed)
        Q_EMIT renameSheetChanged();
}

void WorkspaceWindowState::setRenameThreadText(const QString &text)
{
    assignAndNotify(this, m_renameThreadText, text, &WorkspaceWindowState::renameThreadTextChanged);
}

void WorkspaceWindowState::setCommandQuery(const QString &query)
{
    assignAndNotify(this, m_commandQuery, query, &WorkspaceWindowState::commandQueryChanged);
}

} // namespace orvane
