#include "ide/views/governance/ConnectionsSurfaceView.h"

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/views/kit/Card.h"
#include "ide/views/kit/ClickableButton.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeFonts.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"
#include "ide/views/window/WorkspaceWindowController.h"
#include "kit/session/SessionStore.h"
#include "kit/support/JsonCoding.h"

#include <QHBoxLayout>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace orvane {

using namespace governance;
namespace {

using Mode = CampaignPlatformConnection::ConnectionMode;

ClickableButton *makeModeButton(const ThemeSource &theme, bool enable, QWidget *parent)
{
    ClickableButton::Look look;
    look.fill = enable ? ThemeColor::accentLimeFill : ThemeColor::elevatedBackground;
    look.stroke = ThemeColor::borderSubtle;
    look.padding = QMargins(12, 6, 12, 6);
    auto *button = new ClickableButton(theme, look, parent);
    const QFont font = themeFont(11, QFont::Bold);
    if (enable) {
        button->setObjectName(u"enableSandboxButton"_s);
        button->addText(u"Enable Local Sandbox"_s, font, textOnLimeFill());
    } else {
        button->setObjectName(u"switchModeButton"_s);
        button->addText(u"Switch Mode"_s, font, ThemeColor::textPrimary);
    }
    return button;
}

} // namespace

governance::ConnectionCard::ConnectionCard(
    const ThemeSource &theme, const CampaignPlatformConnection &connection, QWidget *parent)
    : Panel(theme, PanelLook { .fill = ThemeColor::panelBackground, .stroke = ThemeColor::borderSubtle }, parent),
      m_theme(&theme)
{
    setObjectName(u"connectionCard"_s);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(14, 14, 14, 14);
    row->setSpacing(14);

    // The symbol, centred in a 36-point tile.
    Card::Look tileLook;
    tileLook.fill = ThemeColor::elevatedBackground;
    tileLook.stroked = false;
    tileLook.padding = QMargins(0, 0, 0, 0);
    auto *tile = new Card(theme, tileLook);
    tile->setObjectName(u"connectionIconTile"_s);
    tile->setFixedSize(36, 36);
    m_icon = new SymbolView(theme, connection.icon, ThemeColor::accentLime, 18, ui::SymbolWeight::bold);
    m_icon->setObjectName(u"connectionIconView"_s);
    tile->contentLayout()->addWidget(m_icon, 0, Qt::AlignCenter);
    row->addWidget(tile, 0, Qt::AlignVCenter);

    auto *text = new QVBoxLayout;
    text->setSpacing(3);
    auto *titleRow = new QHBoxLayout;
    titleRow->setSpacing(8);
    m_name = new ThemedLabel(theme, QString(), themeFont(14, QFont::Bold), ThemeColor::textPrimary);
    m_name->setObjectName(u"connectionNameLabel"_s);
    titleRow->addWidget(m_name, 0, Qt::AlignVCenter);
    m_mode = new ThemedLabel(theme, QString(), themeFont(9, QFont::Bold, true), ThemeColor::accentEmerald);
    m_mode->setObjectName(u"connectionModeLabel"_s);
    titleRow->addWidget(m_mode, 0, Qt::AlignVCenter);
    titleRow->addStretch(1);
    text->addLayout(titleRow);
    m_detail = new ElidedLabel(theme, themeFont(11, QFont::Normal, true), ThemeColor::textSecondary);
    m_detail->setObjectName(u"connectionDetailLabel"_s);
    text->addWidget(m_detail);
    row->addLayout(text, 1);

    m_switchButton = makeModeButton(theme, false, this);
    m_enableButton = makeModeButton(theme, true, this);
    row->addWidget(m_switchButton, 0, Qt::AlignVCenter);
    row->addWidget(m_enableButton, 0, Qt::AlignVCenter);
    for (ClickableButton *button : { m_switchButton, m_enableButton }) {
        connect(button, &QAbstractButton::clicked, this, [this] { Q_EMIT toggleRequested(m_connection.id); });
    }
    setConnection(connection);
}

void governance::ConnectionCard::setConnection(const CampaignPlatformConnection &connection)
{
    m_connection = connection;
    const bool connected = connection.isConnected();
    m_icon->setSymbol(connection.icon);
    m_icon->setColor(connected ? ThemeColor::accentLime : ThemeColor::textMuted);
    m_name->setText(connection.name);
    m_mode->setText(modeLabel(connection.mode));
    m_mode->setColor(connected ? ThemeColor::accentEmerald : ThemeColor::accentAmber);
    m_detail->setText(detailLine(connection));
    m_detail->setToolTip(plainToolTip(detailLine(connection)));
    m_switchButton->setVisible(connected);
    m_enableButton->setVisible(!connected);
}

QString governance::ConnectionCard::modeLabel(Mode mode)
{
    return rawValue(mode).toUpper();
}

QString governance::ConnectionCard::detailLine(const CampaignPlatformConnection &connection)
{
    return connection.accountLabel() % u" · Monthly Spend "_s % connection.monthlySpend() % u" · Synced "_s
        % connection.lastSynced;
}

ConnectionsSurfaceView::ConnectionsSurfaceView(const WorkspaceViewContext &context, QWidget *parent)
    : GovernanceSurface(context, parent)
{
    setObjectName(u"connectionsSurface"_s);
    m_signInButton = makePrimaryButton(*context.theme, u"Sign In to Orvane Cloud OAuth"_s, 11, QMargins(12, 7, 12, 7));
    m_signInButton->setObjectName(u"cloudSignInButton"_s);
    addHeaderRow(u"AD PLATFORM CONNECTIONS & LOCAL SANDBOX ADAPTERS"_s,
        u"Manage Local Sandbox & Cloud OAuth Ad Accounts"_s, m_signInButton);
    connect(m_signInButton, &QAbstractButton::clicked, this, [this] {
        if (m_context.controller)
            m_context.controller->requestCloudSignIn();
    });

    m_cards = new QVBoxLayout;
    m_cards->setContentsMargins(0, 0, 0, 0);
    m_cards->setSpacing(16);
    column()->addLayout(m_cards);

    connect(
        context.model, &CampaignIDEWorkspaceModel::connectionsChanged, this, &ConnectionsSurfaceView::syncConnections);
    if (context.session) {
        connect(context.session, &SessionStore::accountChanged, this, &ConnectionsSurfaceView::syncSignInButton);
        connect(context.session, &SessionStore::stateChanged, this, &ConnectionsSurfaceView::syncSignInButton);
    }
    syncConnections();
    syncSignInButton();
}

QList<ConnectionCard *> ConnectionsSurfaceView::cards() const
{
    QList<ConnectionCard *> cards;
    for (const QPointer<ConnectionCard> &card : m_cardList) {
        if (card)
            cards.append(card);
    }
    return cards;
}

// The cards stay while the number of connections stays (a mode switch updates its card in place);
// only cards beyond the new count go, after the current event.
void ConnectionsSurfaceView::syncConnections()
{
    const QList<CampaignPlatformConnection> &connections = m_context.model->connections();
    while (m_cardList.size() > connections.size()) {
        QPointer<ConnectionCard> card = m_cardList.takeLast();
        if (card) {
            m_cards->removeWidget(card);
            card->hide();
            card->deleteLater();
        }
    }
    for (qsizetype i = 0; i < connections.size(); ++i) {
        if (i < m_cardList.size() && m_cardList.at(i)) {
            m_cardList.at(i)->setConnection(connections.at(i));
            continue;
        }
        auto *card = new ConnectionCard(*m_context.theme, connections.at(i));
        connect(card, &governance::ConnectionCard::toggleRequested, this, [this](const QString &id) {
            if (m_context.model)
                m_context.model->toggleConnection(id);
        });
        m_cards->addWidget(card);
        if (i < m_cardList.size())
            m_cardList[i] = card;
        else
            m_cardList.append(card);
    }
}

void ConnectionsSurfaceView::syncSignInButton()
{
    const bool signedIn = m_context.session && m_context.session->account().has_value();
    m_signInButton->setVisible(!signedIn);
}

} // namespace orvane
