#include "ide/notifications/CampaignNotificationCenter.h"
#include "ide/model/WorkspaceModelFixture.h"

#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

CampaignNotification notification(const QString &title)
{
    return CampaignNotification { QUuid::createUuid(), QUuid::createUuid(), u"Project"_s,
        CampaignNotificationKind::executionResult, title, u"Receipt orvane-exec-1234abcd"_s,
        CampaignNotificationDestination::dashboard, std::nullopt, u"Just now"_s, false };
}

TEST(CampaignNotificationCenterTest, PostsNewestFirstAndIgnoresAKnownID)
{
    const auto authorizer = std::make_shared<RecordingAuthorizer>(NativeNotificationState::authorized());
    CampaignNotificationCenter center({}, authorizer);
    QSignalSpy posted(&center, &CampaignNotificationCenter::notificationPosted);
    const CampaignNotification first = notification(u"First"_s);
    const CampaignNotification second = notification(u"Second"_s);
    center.post(first);
    center.post(second);
    center.post(first);
    ASSERT_EQ(center.notifications().size(), 2);
    EXPECT_EQ(center.notifications().at(0), second);
    EXPECT_EQ(posted.count(), 2);
    ASSERT_TRUE(QTest::qWaitFor([&] { return authorizer->delivered.size() == 2; }, 2000));
    EXPECT_EQ(authorizer->delivered.at(0).title, u"First"_s);
    // Deliveries run in order, so once a later one arrived the repeated post has delivered nothing.
    center.post(notification(u"Third"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return authorizer->delivered.size() >= 3; }, 2000));
    ASSERT_EQ(authorizer->delivered.size(), 3);
    EXPECT_EQ(authorizer->delivered.at(2).title, u"Third"_s);
    EXPECT_EQ(center.nativeState(), NativeNotificationState::authorized());
}

TEST(CampaignNotificationCenterTest, DeliversNothingUnlessAuthorised)
{
    for (const auto &state : { NativeNotificationState::notRequested(), NativeNotificationState::denied(),
             NativeNotificationState::error(u"no service"_s) }) {
        const auto authorizer = std::make_shared<RecordingAuthorizer>(state);
        CampaignNotificationCenter center({}, authorizer);
        center.post(notification(u"Held"_s));
        // The recording authorizer answers at once, so the whole delivery ran inside post().
        EXPECT_EQ(authorizer->stateQueries, 1);
        EXPECT_EQ(center.notifications().size(), 1);
        EXPECT_TRUE(authorizer->delivered.isEmpty());
        EXPECT_EQ(center.nativeState(), state);
    }
}

TEST(CampaignNotificationCenterTest, AFailedDeliveryIsRecordedAndTheEntryStays)
{
    const auto authorizer = std::make_shared<RecordingAuthorizer>(NativeNotificationState::authorized());
    authorizer->failure = u"The service refused."_s;
    CampaignNotificationCenter center({}, authorizer);
    center.post(notification(u"Fails"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return center.deliveryError().has_value(); }, 2000));
    EXPECT_EQ(center.deliveryError(), u"The service refused."_s);
    EXPECT_EQ(center.notifications().size(), 1);
    EXPECT_EQ(center.nativeState(), NativeNotificationState::authorized());
    // A later success does not clear it.
    authorizer->failure.reset();
    center.post(notification(u"Works"_s));
    ASSERT_TRUE(QTest::qWaitFor([&] { return authorizer->delivered.size() == 2; }, 2000));
    EXPECT_EQ(center.deliveryError(), u"The service refused."_s);
}

TEST(CampaignNotificationCenterTest, DestroyingTheCenterDuringADeliveryIsHarmless)
{
    const auto authorizer = std::make_shared<RecordingAuthorizer>(NativeNotificationState::authorized());
    authorizer->failure = u"late"_s;
    authorizer->suspendDelivery = true;
    {
        CampaignNotificationCenter center({}, authorizer);
        center.post(notification(u"Gone"_s));
        EXPECT_TRUE(authorizer->delivered.isEmpty());
    }
    // The delivery, and its failure that has no center left to land in, ends after the center.
    EXPECT_TRUE(QTest::qWaitFor([&] { return authorizer->delivered.size() == 1; }, 2000));
}

TEST(CampaignNotificationCenterTest, RawValuesRoundTrip)
{
    EXPECT_EQ(rawValue(CampaignNotificationKind::proposalReady), u"Proposal ready"_s);
    EXPECT_EQ(notificationKindFromRawValue(u"Performance alert"_s), CampaignNotificationKind::performanceAlert);
    EXPECT_FALSE(notificationKindFromRawValue(u"performance alert"_s));
    EXPECT_EQ(notificationDestinationFromRawValue(u"execute"_s), CampaignNotificationDestination::execute);
    EXPECT_FALSE(notificationDestinationFromRawValue(u"Execute"_s));
}

} // namespace
} // namespace orvane::test
