#include "GovernanceWindowFixture.h"

#include "ide/views/governance/ConnectionsSurfaceView.h"
#include "ide/views/kit/SymbolView.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WindowPrimitives.h"

namespace orvane::governancetest {
namespace {

using namespace orvane::governance;

using Mode = CampaignPlatformConnection::ConnectionMode;

CampaignPlatformConnection connection(const QString &id, Mode mode)
{
    return CampaignPlatformConnection { .id = id,
        .name = u"Meta Ads "_s + id,
        .category = u"Paid Social"_s,
        .icon = u"megaphone"_s,
        .accountID = u"act_"_s + id,
        .accountName = u"Growth"_s,
        .mode = mode,
        .lastSynced = u"9m ago"_s };
}

class ConnectionsSurfaceTest : public GovernanceWindowTest {
protected:
    ConnectionsSurfaceView *openConnections()
    {
        return open<ConnectionsSurfaceView>(IDEPrimaryDestination::connections());
    }
    [[nodiscard]] QColor color(ThemeColor role) const { return window->themeSource()->color(role); }
};

TEST_F(ConnectionsSurfaceTest, ShowsOneCardPerConnectionWithItsModeAccountSpendAndSync)
{
    ConnectionsSurfaceView *surface = openConnections();
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(textOf(surface, u"surfaceKickerLabel"_s), u"AD PLATFORM CONNECTIONS & LOCAL SANDBOX ADAPTERS"_s);
    EXPECT_EQ(textOf(surface, u"surfaceHeadlineLabel"_s), u"Manage Local Sandbox & Cloud OAuth Ad Accounts"_s);

    const QList<CampaignPlatformConnection> &connections = model().connections();
    const QList<ConnectionCard *> cards = surface->cards();
    ASSERT_EQ(cards.size(), connections.size());
    ASSERT_FALSE(cards.isEmpty());
    for (qsizetype i = 0; i < cards.size(); ++i) {
        const CampaignPlatformConnection &record = connections.at(i);
        ConnectionCard *card = cards.at(i);
        EXPECT_EQ(textOf(card, u"connectionNameLabel"_s), record.name);
        EXPECT_EQ(textOf(card, u"connectionModeLabel"_s), rawValue(record.mode).toUpper());
        EXPECT_EQ(child<ElidedLabel>(card, u"connectionDetailLabel"_s)->text(),
            record.accountLabel() + u" · Monthly Spend "_s + record.monthlySpend() + u" · Synced "_s
                + record.lastSynced);
    }
}

TEST_F(ConnectionsSurfaceTest, ADisconnectedAccountJoinsTheSandboxThenAlternatesWithCloudInPlace)
{
    makeWindow();
    model().setConnections({ connection(u"1"_s, Mode::disconnected) });
    ConnectionsSurfaceView *surface = openConnections();
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->cards().size(), 1);
    QPointer<ConnectionCard> card = surface->cards().first();

    EXPECT_EQ(textOf(card, u"connectionModeLabel"_s), u"NOT CONNECTED"_s);
    EXPECT_EQ(colorOf(card, u"connectionModeLabel"_s), color(ThemeColor::accentAmber));
    EXPECT_EQ(child<SymbolView>(card, u"connectionIconView"_s)->drawnColor(), color(ThemeColor::textMuted));
    EXPECT_TRUE(child<ElidedLabel>(card, u"connectionDetailLabel"_s)
                    ->text()
                    .endsWith(u"Monthly Spend $0/mo · Synced 9m ago"_s));
    EXPECT_FALSE(child<QWidget>(card, u"switchModeButton"_s)->isVisible());
    keepCloseUp(card, u"connection-disconnected.png"_s);

    clickOn(child<QWidget>(card, u"enableSandboxButton"_s));
    EXPECT_EQ(model().connections().first().mode, Mode::localSandbox);
    QCoreApplication::processEvents();
    // The same card, updated.
    ASSERT_EQ(surface->cards().size(), 1);
    EXPECT_EQ(surface->cards().first(), card.data());
    EXPECT_EQ(textOf(card, u"connectionModeLabel"_s), u"LOCAL SANDBOX"_s);
    EXPECT_EQ(colorOf(card, u"connectionModeLabel"_s), color(ThemeColor::accentEmerald));
    EXPECT_EQ(child<SymbolView>(card, u"connectionIconView"_s)->drawnColor(), color(ThemeColor::accentLime));
    EXPECT_EQ(child<ElidedLabel>(card, u"connectionDetailLabel"_s)->text(),
        u"Growth (act_1) · Monthly Spend $14,500/mo · Synced Just now"_s);
    EXPECT_FALSE(child<QWidget>(card, u"enableSandboxButton"_s)->isVisible());

    // Switch Mode alternates and never leads back to "NOT CONNECTED".
    for (const QString &expected : { u"CLOUD OAUTH"_s, u"LOCAL SANDBOX"_s, u"CLOUD OAUTH"_s }) {
        clickOn(child<QWidget>(card, u"switchModeButton"_s));
        EXPECT_EQ(textOf(card, u"connectionModeLabel"_s), expected);
    }
    keepCloseUp(card, u"connection-cloud.png"_s);
}

TEST_F(ConnectionsSurfaceTest, WithoutConnectionsOnlyTheHeaderShowsAndCardsFollowTheList)
{
    makeWindow();
    model().setConnections({});
    ConnectionsSurfaceView *surface = openConnections();
    ASSERT_NE(surface, nullptr);
    EXPECT_TRUE(surface->cards().isEmpty());
    EXPECT_TRUE(surface->findChildren<ConnectionCard *>().isEmpty());

    model().setConnections({ connection(u"a"_s, Mode::localSandbox), connection(u"b"_s, Mode::cloudConnected) });
    ASSERT_EQ(surface->cards().size(), 2);
    EXPECT_EQ(textOf(surface->cards().at(1), u"connectionModeLabel"_s), u"CLOUD OAUTH"_s);
    QPointer<ConnectionCard> second = surface->cards().at(1);
    model().setConnections({ connection(u"b"_s, Mode::disconnected) });
    ASSERT_EQ(surface->cards().size(), 1);
    EXPECT_EQ(textOf(surface->cards().first(), u"connectionNameLabel"_s), u"Meta Ads b"_s);
    EXPECT_TRUE(QTest::qWaitFor([&] { return second.isNull(); }, 2000));
}

TEST_F(ConnectionsSurfaceTest, TheSignInOfferFollowsTheAccount)
{
    makeSession(account());
    ConnectionsSurfaceView *surface = openConnections();
    ASSERT_NE(surface, nullptr);
    auto *signIn = child<QWidget>(surface, u"cloudSignInButton"_s);
    EXPECT_FALSE(signIn->isVisible());

    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->account().has_value(); }, 3000));
    EXPECT_TRUE(signIn->isVisible());
    clickOn(signIn);
    EXPECT_EQ(signInRequests, 1);
}

} // namespace
} // namespace orvane::governancetest
