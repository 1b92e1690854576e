#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

namespace orvane {

class ClickableButton;
class ElidedLabel;
class SymbolView;

// The strip at the foot of the sidebar: the operator's avatar, whether the IDE works with the cloud
// service or locally, the local workspace path and the switch between the dark and the light theme.
class SidebarUserFooter final : public QWidget {
    Q_OBJECT
public:
    SidebarUserFooter(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] static QString modeText(bool signedIn);
    [[nodiscard]] static QString themeSwitchToolTip(bool dark);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refreshMode();
    void refreshThemeSwitch();

    WorkspaceViewContext m_context;
    QPointer<SessionStore> m_session;
    ElidedLabel *m_mode = nullptr;
    ClickableButton *m_themeSwitch = nullptr;
    SymbolView *m_themeSymbol = nullptr;
};

} // namespace orvane
