#pragma once

#include "ide/records/CampaignIDEThread.h"
#include "ide/records/OrvaneAgentPersona.h"

#include <QObject>
#include <QString>

#include <optional>

namespace orvane {

// The window's own state: which of its sheets are shown and the texts they edit. The texts outlive
// a sheet (closing keeps what was typed); only the actions that open a sheet clear or fill them.
// Setters emit only on a change.
class WorkspaceViewState final : public QObject {
    Q_OBJECT

public:
    explicit WorkspaceViewState(QObject *parent = nullptr);

    // The persona a new thread starts with: the first of the catalog, the operator.
    [[nodiscard]] static OrvaneAgentPersona operatorPersona();

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
    void newProjectSheetChanged();
    void newProjectNameChanged();
    void newThreadSheetChanged();
    void newThreadFieldsChanged(); // title, prompt or persona
    void renameSheetChanged();
    void renameThreadTextChanged();
    void commandQueryChanged();

private:
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
