#include "ide/operations/OperationsTestSupport.h"

#include <QRegularExpression>
#include <QSignalSpy>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

const QString kApprovedNotice = u"All artboards approved. Campaign is ready for execution review."_s;

class LaunchGateTest : public OperationsTest {
protected:
    [[nodiscard]] const CampaignIDEProject &selected() const { return *project(*model->selectedProjectID()); }

    // Launches the selected project through the modal's path.
    void launchSelected()
    {
        model->requestExecution();
        ASSERT_EQ(model->launchConfirmationProjectID(), model->selectedProjectID());
        model->confirmExecution();
        ASSERT_TRUE(selected().isLaunched);
    }
};

// --- requestExecution -----------------------------------------------------------------------------

TEST_F(LaunchGateTest, WithoutASelectionTheFirstProjectIsSelectedApprovedAndOfferedForConfirmation)
{
    model->setSelectedProjectID(std::nullopt);
    model->notificationCenter()->setProjectFilter(std::nullopt);
    const QUuid first = model->projects().first().id;
    QSignalSpy filter(model->notificationCenter(), &CampaignNotificationCenter::projectFilterChanged);
    QSignalSpy projectChanged(model.get(), &CampaignIDEWorkspaceModel::projectChanged);

    model->requestExecution();

    EXPECT_EQ(model->selectedProjectID(), first);
    EXPECT_EQ(model->notificationCenter()->projectFilter(), first);
    EXPECT_EQ(filter.count(), 1);
    ASSERT_EQ(projectChanged.count(), 1);
    for (const CreativeCanvasArtboard &artboard : selected().creatives) {
        EXPECT_EQ(artboard.reviewStatus, CreativeReviewStatus::approved);
        EXPECT_FALSE(artboard.isDirty);
        EXPECT_FALSE(artboard.requiresRereview);
    }
    EXPECT_EQ(selected().status, u"Ready to execute"_s);
    EXPECT_EQ(selected().updated, u"Now"_s);
    EXPECT_EQ(notice(), kApprovedNotice);
    EXPECT_EQ(model->launchConfirmationProjectID(), first);
    EXPECT_EQ(model->activeLaunchRequest(), (CampaignLaunchRequest { .id = first, .projectID = first }));
    EXPECT_EQ(model->launchStateLabel(), u"Ready for confirmation"_s);
    EXPECT_EQ(storedProjects(), model->projects());

    // With no projects only the notice is shown.
    startModel(QList<CampaignIDEProject> {});
    model->requestExecution();
    EXPECT_EQ(notice(), kApprovedNotice);
    EXPECT_FALSE(model->selectedProjectID());
    EXPECT_FALSE(model->launchConfirmationProjectID());
}

// Without a plan the artboards are still approved; without artboards the project stays in review.
TEST_F(LaunchGateTest, AProjectWithoutAPlanOrArtboardsIsNeverOffered)
{
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.hasPlan = false; });
    model->requestExecution();
    EXPECT_EQ(selected().approvedCreativeCount(), selected().creatives.size());
    EXPECT_EQ(notice(), kApprovedNotice);
    EXPECT_FALSE(model->launchConfirmationProjectID());
    EXPECT_EQ(model->launchStateLabel(), u"Gated"_s);

    model->mutateSelectedProject([](CampaignIDEProject &p) {
        p.hasPlan = true;
        p.creatives.clear();
    });
    model->requestExecution();
    EXPECT_EQ(selected().status, u"Creative review"_s);
    EXPECT_FALSE(model->canExecute());
    EXPECT_FALSE(model->launchConfirmationProjectID());
}

// An edited (dirty) approved artboard gates the project; a launch pending elsewhere suppresses the offer.
TEST_F(LaunchGateTest, ADirtyArtboardOrAPendingLaunchKeepsTheConfirmationClosed)
{
    model->approveAllCreatives();
    ASSERT_TRUE(model->canExecute());
    model->mutateSelectedProject([](CampaignIDEProject &p) { p.creatives.first().isDirty = true; });
    EXPECT_FALSE(model->canExecute());
    EXPECT_EQ(model->launchStateLabel(), u"Gated"_s);
    model->requestLaunch();
    EXPECT_FALSE(model->launchConfirmationProjectID());

    model->setPendingLaunchRequest(
        CampaignLaunchRequest { .id = QUuid::createUuid(), .projectID = model->projects().last().id });
    model->requestExecution();
    EXPECT_TRUE(model->isExecutingLaunch());
    EXPECT_FALSE(model->canExecute());
    EXPECT_FALSE(model->launchConfirmationProjectID());
}

// --- The confirmation -----------------------------------------------------------------------------

TEST_F(LaunchGateTest, WithoutASelectionTheSheetIsComputedAgainstTheFirstProject)
{
    model->setSelectedProjectID(std::nullopt);
    EXPECT_FALSE(model->canExecute());
    model->requestLaunch();
    EXPECT_FALSE(model->launchConfirmationProjectID());

    const QUuid first = model->projects().first().id;
    model->setLaunchConfirmationProjectID(first);
    EXPECT_EQ(model->activeLaunchRequest(), (CampaignLaunchRequest { .id = first, .projectID = first }));
    model->setLaunchConfirmationProjectID(model->projects().last().id);
    EXPECT_FALSE(model->activeLaunchRequest());
}

TEST_F(LaunchGateTest, TheSheetBindingClosesOnNoneAndConfirmsOnlyTheSelectedProject)
{
    model->requestExecution();
    const auto open = model->launchConfirmationProjectID();
    ASSERT_TRUE(open);

    model->setActiveLaunchRequest(
        CampaignLaunchRequest { .id = QUuid::createUuid(), .projectID = QUuid::createUuid() });
    EXPECT_EQ(model->launchConfirmationProjectID(), open);
    model->setActiveLaunchRequest(std::nullopt);
    EXPECT_FALSE(model->launchConfirmationProjectID());

    model->requestLaunch();
    model->cancelLaunch();
    EXPECT_FALSE(model->launchConfirmationProjectID());

    // Confirming after switching to another project does nothing.
    model->requestExecution();
    model->setSelectedProjectID(model->projects().last().id);
    QSignalSpy pending(model.get(), &CampaignIDEWorkspaceModel::pendingLaunchRequestChanged);
    model->confirmLaunch();
    EXPECT_EQ(pending.count(), 0);
    EXPECT_TRUE(model->executionReceipts().isEmpty());
    EXPECT_FALSE(model->projects().first().isLaunched);
}

TEST_F(LaunchGateTest, AConfirmedLaunchRecordsItsReceiptMarksTheProjectLiveAndTellsEveryone)
{
    const QUuid launched = *model->selectedProjectID();
    const QString name = selected().name;
    model->requestExecution();
    QSignalSpy pending(model.get(), &CampaignIDEWorkspaceModel::pendingLaunchRequestChanged);
    QSignalSpy posted(model->notificationCenter(), &CampaignNotificationCenter::notificationPosted);

    model->confirmExecution();

    // The request was recorded, then answered within the same call.
    EXPECT_EQ(pending.count(), 2);
    EXPECT_FALSE(model->isExecutingLaunch());
    EXPECT_FALSE(model->launchConfirmationProjectID());
    ASSERT_EQ(model->executionReceipts().size(), 1);
    const CampaignExecutionReceipt receipt = model->executionReceipts().value(launched);
    EXPECT_TRUE(QRegularExpression(u"^orvane-exec-[0-9a-f]{8}$"_s).match(receipt.id).hasMatch()) << utf8(receipt.id);
    EXPECT_EQ(receipt.id, CampaignExecutionReceipt::receiptNumber(receipt.requestID));
    EXPECT_EQ(receipt.projectID, launched);
    EXPECT_EQ(receipt.receivedAt, u"Just now"_s);

    EXPECT_TRUE(selected().isLaunched);
    EXPECT_EQ(selected().status, u"Live"_s);
    EXPECT_EQ(selected().updated, u"Just now"_s);
    EXPECT_EQ(model->launchStateLabel(), u"Live · Receipt confirmed"_s);
    EXPECT_FALSE(model->canExecute()); // never twice
    EXPECT_EQ(storedProjects(), model->projects());

    ASSERT_EQ(posted.count(), 1);
    ASSERT_EQ(model->notificationCenter()->notifications().size(), 1);
    const CampaignNotification &notification = model->notificationCenter()->notifications().first();
    EXPECT_EQ(notification.projectID, launched);
    EXPECT_EQ(notification.projectName, name);
    EXPECT_EQ(notification.kind, CampaignNotificationKind::executionResult);
    EXPECT_EQ(notification.title, u"Execution receipt confirmed"_s);
    EXPECT_EQ(notification.detail, u"Campaign launch receipt "_s + receipt.id + u" recorded."_s);
    EXPECT_EQ(notification.destination, CampaignNotificationDestination::dashboard);
    EXPECT_FALSE(notification.artboardID);
    EXPECT_EQ(notification.createdAt, u"Just now"_s);
    EXPECT_FALSE(notification.isRead);
    EXPECT_EQ(notice(), u"Campaign launched · Receipt "_s + receipt.id);

    // The dashboard follows: the section, and the active thread shown again on its dashboard view.
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::dashboard);
    const auto active = model->activeThread();
    ASSERT_TRUE(active);
    EXPECT_EQ(active->workbenchView, IDEWorkbenchView::dashboard);
    EXPECT_EQ(model->primaryDestination(), IDEPrimaryDestination::thread(active->id));
}

// --- Receipts -------------------------------------------------------------------------------------

TEST_F(LaunchGateTest, ReceiptsThatDoNotAnswerThePendingRequestAreRefused)
{
    const QUuid projectID = *model->selectedProjectID();
    const CampaignLaunchRequest request { .id = QUuid::createUuid(), .projectID = projectID };

    // Nothing pending.
    EXPECT_FALSE(model->receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(request, u"Just now"_s)));

    model->setPendingLaunchRequest(request);
    QSignalSpy receipts(model.get(), &CampaignIDEWorkspaceModel::executionReceiptsChanged);
    const CampaignLaunchRequest otherRequest { .id = QUuid::createUuid(), .projectID = projectID };
    EXPECT_FALSE(model->receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(otherRequest, u"Just now"_s)));
    const CampaignLaunchRequest otherProject { .id = request.id, .projectID = model->projects().last().id };
    EXPECT_FALSE(model->receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(otherProject, u"Just now"_s)));
    const CampaignLaunchRequest unknownProject { .id = request.id, .projectID = QUuid::createUuid() };
    EXPECT_FALSE(model->receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(unknownProject, u"Just now"_s)));

    EXPECT_EQ(receipts.count(), 0);
    EXPECT_EQ(model->pendingLaunchRequest(), request); // still waiting
    EXPECT_FALSE(selected().isLaunched);
    EXPECT_TRUE(model->notificationCenter()->notifications().isEmpty());
    EXPECT_FALSE(model->statusNotice());
}

TEST_F(LaunchGateTest, ASecondReceiptForAProjectReplacesTheFirstAndOneForAnotherKeepsTheSection)
{
    const QUuid projectID = *model->selectedProjectID();
    for (int i = 0; i < 2; ++i) {
        const CampaignLaunchRequest request { .id = QUuid::createUuid(), .projectID = projectID };
        model->setPendingLaunchRequest(request);
        const auto receipt = CampaignExecutionReceipt::forRequest(request, u"receipt "_s + QString::number(i));
        ASSERT_TRUE(model->receiveExecutionReceipt(receipt));
        ASSERT_EQ(model->executionReceipts().size(), 1);
        EXPECT_EQ(model->executionReceipts().value(projectID), receipt);
        EXPECT_EQ(selected().updated, receipt.receivedAt);
    }
    EXPECT_EQ(model->notificationCenter()->notifications().size(), 2);

    // One for a project that is not selected leaves the section as it is.
    const QUuid other = model->projects().last().id;
    ASSERT_NE(other, projectID);
    const CampaignLaunchRequest request { .id = QUuid::createUuid(), .projectID = other };
    model->setPendingLaunchRequest(request);
    model->setSelectedSection(CampaignIDESection::document); // the receipts above showed the dashboard
    const CampaignIDESection section = model->selectedSection();
    ASSERT_TRUE(model->receiveExecutionReceipt(CampaignExecutionReceipt::forRequest(request, u"Just now"_s)));
    EXPECT_EQ(model->selectedSection(), section);
    EXPECT_EQ(project(other)->status, u"Live"_s);
}

// --- A live project stays live --------------------------------------------------------------------

TEST_F(LaunchGateTest, ALaunchedProjectKeepsItsLiveStatusThroughLaterCreativeWork)
{
    launchSelected();
    const QUuid threadID = model->activeThread()->id;

    model->updateSelectedHeadline(u"Post-launch copy"_s);
    EXPECT_EQ(model->selectedArtboard()->headline, u"Post-launch copy"_s);
    EXPECT_TRUE(model->selectedArtboard()->isDirty);
    EXPECT_EQ(selected().status, u"Live"_s);
    EXPECT_EQ(selected().updated, u"Now"_s);

    model->setSelectedArtboardReview(CreativeReviewStatus::rejected);
    EXPECT_EQ(model->selectedArtboard()->reviewStatus, CreativeReviewStatus::rejected);
    EXPECT_EQ(selected().status, u"Live"_s);

    const qsizetype artboards = selected().creatives.size();
    model->addArtboard(u"Display"_s, u"Banner"_s, u"New"_s, 728, 90);
    model->cloneCompetitorAdToCanvas(thread(threadID)->competitorAds.first(), threadID);
    EXPECT_EQ(selected().creatives.size(), artboards + 2);
    EXPECT_EQ(selected().status, u"Live"_s);

    model->requestExecution();
    for (const CreativeCanvasArtboard &artboard : selected().creatives)
        EXPECT_EQ(artboard.reviewStatus, CreativeReviewStatus::approved);
    EXPECT_EQ(selected().status, u"Live"_s);
    EXPECT_TRUE(selected().isLaunched);
    EXPECT_FALSE(model->launchConfirmationProjectID());
    EXPECT_EQ(model->launchStateLabel(), u"Live · Receipt confirmed"_s);
    EXPECT_EQ(storedProjects().first().status, u"Live"_s);
}

} // namespace
} // namespace orvane::test
