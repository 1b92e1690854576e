#pragma once

#include "ide/views/governance/GovernanceWidgets.h"

namespace orvane {

class ClickableButton;

// The workspace settings surface: where the local workspace folder lies, with the actions that
// reveal it in the file manager and re-write every project's files into it.
class WorkspaceSettingsSurfaceView final : public governance::GovernanceSurface {
    Q_OBJECT
public:
    WorkspaceSettingsSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    // The notice shown after "Force Sync All Artifacts" has written every folder.
    [[nodiscard]] static QString forceSyncNotice(const QString &shownRoot);

private:
    ThemedLabel *m_path;
};

} // namespace orvane
