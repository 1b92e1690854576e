#pragma once

#include "ide/records/CampaignExecutionReceipt.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;

namespace orvane {

class ClickableButton;
class ThemeSource;

// The human-in-the-loop gate before a campaign goes live: the launch summary of the request the
// sheet was opened for, "Cancel" and "Confirm & Execute Campaign". It decides nothing itself; both
// buttons hand the decision to the workspace model, whose state then takes the sheet down.
class CampaignLaunchApprovalModal final : public Panel {
    Q_OBJECT
public:
    static constexpr int contentWidth = 480;

    CampaignLaunchApprovalModal(
        const WorkspaceViewContext &context, const CampaignLaunchRequest &request, QWidget *parent = nullptr);

    [[nodiscard]] const CampaignLaunchRequest &request() const { return m_request; }

    // "Approve & Launch " and the launched project's name, the project the detail line describes.
    [[nodiscard]] static QString headlineText(
        const CampaignIDEWorkspaceModel &model, const CampaignLaunchRequest &request);
    // The media plan that speaks for a project: the thread in front when it is the project's (the
    // one its plan document's tiles show), else the project's first thread.
    [[nodiscard]] static std::optional<CampaignIDEThread> planThread(
        const CampaignIDEWorkspaceModel &model, const QUuid &projectID);
    // "Budget: $45,000/mo · Channels: LinkedIn, Google Search, Reddit · Approved Creatives: 4/4", with
    // the launched project's monthly planned spend (as the plan's first tile shows it), its plan's
    // channels and its artboard counts.
    [[nodiscard]] static QString detailLine(
        const CampaignIDEWorkspaceModel &model, const CampaignLaunchRequest &request);
    // "Executing…" while a launch awaits its receipt, else "Confirm & Execute Campaign".
    [[nodiscard]] static QString confirmText(bool executing);

    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override { return sizeHint(); }

private:
    void syncConfirmLabel();

    WorkspaceViewContext m_context;
    CampaignLaunchRequest m_request;
    QLabel *m_confirmLabel = nullptr;
};

} // namespace orvane
