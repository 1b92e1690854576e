#pragma once

#include "ide/model/StoredValue.h"
#include "ide/records/CampaignExecutionReceipt.h"
#include "ide/records/CampaignIDEProject.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace orvane {

// The projects, which one (and which of its artboards) is selected, and the launch gate: the open
// confirmation, the request awaiting its receipt and the receipts received. Lives on the main
// thread. It does no disk work: a change that must be kept calls the save given at construction.
class ProjectStore final : public QObject {
    Q_OBJECT

public:
    ProjectStore(QList<CampaignIDEProject> projects, std::function<void()> save, QObject *parent = nullptr);

    [[nodiscard]] const QList<CampaignIDEProject> &projects() const { return m_projects; }
    // The first project with the id; null when there is none. Valid until the project list changes.
    [[nodiscard]] const CampaignIDEProject *project(const QUuid &projectID) const;

    [[nodiscard]] const std::optional<QUuid> &selectedProjectID() const { return m_selectedProjectID; }
    void setSelectedProjectID(const std::optional<QUuid> &id);
    [[nodiscard]] const std::optional<QUuid> &selectedArtboardID() const { return m_selectedArtboardID; }
    void setSelectedArtboardID(const std::optional<QUuid> &id);
    // The first project whose id is selectedProjectID; none without a selection or a match.
    [[nodiscard]] std::optional<CampaignIDEProject> selectedProject() const;
    // The row of the selected project in projects(); -1 when there is none.
    [[nodiscard]] qsizetype selectedProjectIndex() const;
    // The first artboard of the selected project whose id is selectedArtboardID.
    [[nodiscard]] std::optional<CreativeCanvasArtboard> selectedArtboard() const;

    // The launch gate.
    [[nodiscard]] const std::optional<QUuid> &launchConfirmationProjectID() const
    {
        return m_launchConfirmationProjectID;
    }
    void setLaunchConfirmationProjectID(const std::optional<QUuid> &id);
    [[nodiscard]] const std::optional<CampaignLaunchRequest> &pendingLaunchRequest() const
    {
        return m_pendingLaunchRequest;
    }
    void setPendingLaunchRequest(const std::optional<CampaignLaunchRequest> &request);
    [[nodiscard]] const QHash<QUuid, CampaignExecutionReceipt> &executionReceipts() const
    {
        return m_executionReceipts;
    }
    void setExecutionReceipts(const QHash<QUuid, CampaignExecutionReceipt> &receipts);
    [[nodiscard]] bool isExecutingLaunch() const { return m_pendingLaunchRequest.has_value(); }
    // A selected project that exists and can launch, and no launch awaiting its receipt.
    [[nodiscard]] bool canExecute() const;
    // "Live · Receipt confirmed", "Awaiting receipt", "Ready for confirmation" or "Gated".
    [[nodiscard]] QString launchStateLabel() const;

    // Each finds its target by id (first match), changes it in place, publishes the change with the
    // finest signal that describes it and, unless told otherwise, asks for the save.
    // False, with nothing changed or saved, when no project has the id.
    bool mutateProject(
        const QUuid &projectID, const std::function<void(CampaignIDEProject &)> &mutation, Save save = Save::yes);
    // Inserts at a row clamped into range.
    void insertProject(qsizetype row, const CampaignIDEProject &project, Save save = Save::yes);
    // Removes every match, emitting projectRemoved for each, and saves once; returns how many went.
    qsizetype removeProjects(const std::function<bool(const CampaignIDEProject &)> &predicate, Save save = Save::yes);
    // Replaces the whole list.
    void setProjects(const QList<CampaignIDEProject> &projects, Save save = Save::yes);

Q_SIGNALS:
    // projectsChanged() is a reset of the whole list; the others describe one element.
    void projectsChanged();
    void projectChanged(const QUuid &projectID);
    void projectInserted(qsizetype row);
    void projectRemoved(qsizetype row, const QUuid &projectID);
    void selectedProjectIDChanged();
    void selectedArtboardIDChanged();
    void launchConfirmationProjectIDChanged();
    void pendingLaunchRequestChanged();
    void executionReceiptsChanged();

private:
    void saveIf(Save save) const;

    std::function<void()> m_save;
    QList<CampaignIDEProject> m_projects;
    std::optional<QUuid> m_selectedProjectID;
    std::optional<QUuid> m_selectedArtboardID;
    std::optional<QUuid> m_launchConfirmationProjectID;
    std::optional<CampaignLaunchRequest> m_pendingLaunchRequest;
    QHash<QUuid, CampaignExecutionReceipt> m_executionReceipts;
};

} // namespace orvane
