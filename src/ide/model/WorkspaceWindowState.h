#pragma once

#include "ide/records/CampaignIDESection.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/OrvaneAgentPersona.h"

#include <QObject>
#include <QString>

#include <optional>

namespace orvane {

// The window's own state, kept apart from the workspace's records: the appearance (theme, sidebar,
// command palette, copilot drawer), how the canvas is looked at (tool, zoom, grid), which sheets are
// shown and the texts they edit. The texts outlive a sheet (closing keeps what was typed); only the
// actions that open a sheet clear or fill them. Nothing here is stored. Setters emit only on a
// change.
class WorkspaceWindowState final : public QObject {
    Q_OBJECT

public:
    explicit WorkspaceWindowState(QObject *parent = nullptr);

    // The persona a new thread starts with: the first of the catalog, the operator.
    [[nodiscard]] static const OrvaneAgentPersona &operatorPersona();

    // --- Appearance -------------------------------------------------------------------------------

    [[nodiscard]] bool isDarkTheme() const { return m_isDarkTheme; }
    void setDarkTheme(bool dark);
    [[nodiscard]] bool isSidebarCollapsed() const { return m_isSidebarCollapsed; }
    void setSidebarCollapsed(bool collapsed);
    [[nodiscard]] bool showingCommandPalette() const { return m_showingCommandPalette; }
    void setShowingCommandPalette(bool showing);
    [[nodiscard]] bool agentDrawerOpen() const { return m_agentDrawerOpen; }
    void setAgentDrawerOpen(bool open);

    // --- Canvas -----------------------------------------------------------------------------------

    [[nodiscard]] CreativeCanvasTool canvasTool() const { return m_canvasTool; }
    void setCanvasTool(CreativeCanvasTool tool);
    [[nodiscard]] double canvasZoom() const { return m_canvasZoom; }
    // Refuses a zoom that is not finite or outside [minCanvasZoom, maxCanvasZoom]; returns whether
    // the value was taken.
    bool setCanvasZoom(double zoom);
    static constexpr double minCanvasZoom = 0.05;
    static constexpr double maxCanvasZoom = 16.0;
    [[nodiscard]] bool canvasShowsGrid() const { return m_canvasShowsGrid; }
    void setCanvasShowsGrid(bool shows);
    [[nodiscard]] bool canvasSnapsToGrid() const { return m_canvasSnapsToGrid; }
    void setCanvasSnapsToGrid(bool snaps);

    // --- Sheets -----------------------------------------------------------------------------------

    [[nodiscard]] bool showingNewProjectSheet() const { return m_showingNewProjectSheet; }
    void setShowingNewProjectSheet(bool showing);
    [[nodiscard]] const QString &newProjectName() const { return m_newProjectName; }
    void setNewProjectName(const QString &name);

    [[nodiscard]] bool showingNewThreadSheet() const { return m_showingNewThreadSheet; }
    void setShowingNewThreadSheet(bool showing);
    [[nodiscard]] const QString &newThreadTitle() const { return m_newThreadTitle; }
    void setNewThreadTitle(const QString &title);
    [[nodiscard]] const QString &newThreadPrompt() const { return m_newThreadPrompt; }
    void setNewThreadPrompt(const QString &prompt);
    [[nodiscard]] const OrvaneAgentPersona &newThreadPersona() const { return m_newThreadPersona; }
    void setNewThreadPersona(const OrvaneAgentPersona &persona);

    // The rename sheet is shown while a thread is held; the sheet shows the value held when it
    // opened.
    [[nodiscard]] const std::optional<CampaignIDEThread> &renamingThread() const { return m_renamingThread; }
    void setRenamingThread(const std::optional<CampaignIDEThread> &thread);
    [[nodiscard]] const QString &renameThreadText() const { return m_renameThreadText; }
    void setRenameThreadText(const QString &text);

    [[nodiscard]] const QString &commandQuery() const { return m_commandQuery; }
    void setCommandQuery(const QString &query);

Q_SIGNALS:
    void appearanceChanged(); // dark theme, sidebar, command palette, agent drawer
    void canvasChanged(); // tool, zoom, grid, snap
    void newProjectSheetChanged();
    void newProjectNameChanged();
    void newThreadSheetChanged();
    void newThreadFieldsChanged(); // title, prompt or persona
    void renameSheetChanged();
    void renameThreadTextChanged();
    void commandQueryChanged();

private:
    bool m_isDarkTheme = true;
    bool m_isSidebarCollapsed = false;
    bool m_showingCommandPalette = false;
    bool m_agentDrawerOpen = false;
    CreativeCanvasTool m_canvasTool = CreativeCanvasTool::select;
    double m_canvasZoom = 0.65;
    bool m_canvasShowsGrid = false;
    bool m_canvasSnapsToGrid = true;
    bool m_showingNewProjectSheet = false;
    QString m_newProjectName;
    bool m_showingNewThreadSheet = false;
    QString m_newThreadTitle;
    QString m_newThreadPrompt;
    OrvaneAgentPersona m_newThreadPersona;
    std::optional<CampaignIDEThread> m_renamingThread;
    QString m_renameThreadText;
    QString m_commandQuery;
};

} // namespace orvane
