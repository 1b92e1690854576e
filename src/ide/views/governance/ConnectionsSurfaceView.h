#pragma once

#include "ide/records/CampaignPlatformConnection.h"
#include "ide/views/governance/GovernanceWidgets.h"
#include "ide/views/kit/Panel.h"

#include <QList>
#include <QPointer>

class QVBoxLayout;

namespace orvane {

class ClickableButton;
class ElidedLabel;
class SymbolView;

namespace governance {

// One platform connection: its symbol, name, mode, account, spend and last sync, and the button
// that moves it between the local sandbox and cloud OAuth (or enables the sandbox when it is not
// connected). Updated in place when the connection changes.
class ConnectionCard final : public Panel {
    Q_OBJECT
public:
    ConnectionCard(const ThemeSource &theme, const CampaignPlatformConnection &connection, QWidget *parent = nullptr);

    void setConnection(const CampaignPlatformConnection &connection);
    [[nodiscard]] const CampaignPlatformConnection &connection() const { return m_connection; }

    // "LOCAL SANDBOX", "CLOUD OAUTH" or "NOT CONNECTED": the mode's stored name in upper case.
    [[nodiscard]] static QString modeLabel(CampaignPlatformConnection::ConnectionMode mode);
    // "<account> (<id>) · Monthly Spend <spend> · Synced <when>"
    [[nodiscard]] static QString detailLine(const CampaignPlatformConnection &connection);

Q_SIGNALS:
    // The mode button was tapped for this connection id.
    void toggleRequested(const QString &connectionID);

private:
    QPointer<const ThemeSource> m_theme;
    CampaignPlatformConnection m_connection;
    SymbolView *m_icon;
    ThemedLabel *m_name;
    ThemedLabel *m_mode;
    ElidedLabel *m_detail;
    ClickableButton *m_switchButton;
    ClickableButton *m_enableButton;
};

} // namespace governance

// The connections surface: the workspace's ad-platform connections, one card each, and the cloud
// sign-in offer while no account is signed in.
class ConnectionsSurfaceView final : public governance::GovernanceSurface {
    Q_OBJECT
public:
    ConnectionsSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] QList<governance::ConnectionCard *> cards() const;

private:
    void syncConnections();
    void syncSignInButton();

    ClickableButton *m_signInButton;
    QVBoxLayout *m_cards;
    QList<QPointer<governance::ConnectionCard>> m_cardList;
};

} // namespace orvane
