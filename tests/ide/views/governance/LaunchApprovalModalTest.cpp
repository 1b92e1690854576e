#include "GovernanceWindowFixture.h"

#include "ide/views/governance/CampaignLaunchApprovalModal.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceSheets.h"

namespace orvane::governancetest {
namespace {

class LaunchApprovalModalTest : public GovernanceWindowTest {
protected:
    // Opens the gate for the selected project and waits for its sheet.
    CampaignLaunchApprovalModal *openGate()
    {
        if (!window)
            makeWindow();
        model().requestExecution();
        EXPECT_TRUE(model().activeLaunchRequest().has_value());
        WorkspaceSheetFrame *frame = shownSheet(WorkspaceSheet::launchApproval);
        return frame ? qobject_cast<CampaignLaunchApprovalModal *>(frame->content()) : nullptr;
    }
    [[nodiscard]] bool sheetGone() { return WorkspaceWindowTest::sheetGone(WorkspaceSheet::launchApproval); }

    [[nodiscard]] QUuid projectID() const { return *model().selectedProjectID(); }
    [[nodiscard]] CampaignIDEProject project() const { return *model().selectedProject(); }
};

// The summary is the launched project's own: its media plan's monthly total and channels (as its
// table and dashboard show them) and its approved artboards.
TEST_F(LaunchApprovalModalTest, ShowsTheLaunchedProjectsOwnFigures)
{
    makeWindow();
    const QUuid thread = model().activeThread()->id;
    model().mutateThread(thread, [](CampaignIDEThread &t) {
        t.mediaPlanRows = { t.mediaPlanRows.first(), t.mediaPlanRows.first(), t.mediaPlanRows.first() };
        for (const auto &[row, channel, monthly] : { std::tuple { 0, u"Reddit"_s, 3000.0 },
                 std::tuple { 1, u"Meta"_s, 1500.75 }, std::tuple { 2, u"Reddit"_s, 500.0 } }) {
            t.mediaPlanRows[row].channel = channel;
            t.mediaPlanRows[row].monthlyBudget = monthly;
        }
    });
    CampaignLaunchApprovalModal *modal = openGate();
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(modal->width(), 480);
    EXPECT_EQ(modal->request(), *model().activeLaunchRequest());
    EXPECT_EQ(textOf(modal, u"launchKickerLabel"_s), u"HUMAN-IN-THE-LOOP EXECUTION GATE"_s);
    EXPECT_EQ(textOf(modal, u"launchHeadlineLabel"_s), u"Approve & Launch "_s + project().name);
    EXPECT_EQ(textOf(modal, u"launchDetailLabel"_s),
        u"Budget: $5,000/mo · Channels: Reddit, Meta · Approved Creatives: "_s
            + QString::number(project().approvedCreativeCount()) + u'/' + QString::number(project().creatives.size()));
    EXPECT_EQ(textOf(modal, u"confirmLaunchLabel"_s), u"Confirm & Execute Campaign"_s);
    // The wrapped detail line fits inside the sheet.
    auto *detail = child<QLabel>(modal, u"launchDetailLabel"_s);
    EXPECT_LE(detail->geometry().bottom(), child<QWidget>(modal, u"confirmLaunchButton"_s)->geometry().top());
    keepCloseUp(window->sheets()->sheet(WorkspaceSheet::launchApproval), u"launch-gate-dark.png"_s);
}

TEST_F(LaunchApprovalModalTest, ThemeSwitchRecoloursTheSheetButNotItsAccents)
{
    CampaignLaunchApprovalModal *modal = openGate();
    ASSERT_NE(modal, nullptr);
    const auto snapshot = [&] {
        const QImage image = modal->grab().toImage();
        return std::tuple { image.pixelColor(3, 3), colorOf(modal, u"launchHeadlineLabel"_s),
            colorOf(modal, u"launchDetailLabel"_s), colorOf(modal, u"launchKickerLabel"_s),
            colorOf(modal, u"confirmLaunchLabel"_s) };
    };
    const auto [darkFill, darkHeadline, darkDetail, darkKicker, darkConfirm] = snapshot();
    model().setDarkTheme(false);
    const auto [lightFill, lightHeadline, lightDetail, lightKicker, lightConfirm] = snapshot();
    EXPECT_EQ(darkFill, QColor(0x0F, 0x17, 0x2A));
    EXPECT_EQ(lightFill, QColor(Qt::white));
    EXPECT_NE(darkHeadline, lightHeadline);
    EXPECT_NE(darkDetail, lightDetail);
    EXPECT_EQ(darkKicker, QColor(0xF5, 0x9E, 0x0B));
    EXPECT_EQ(lightKicker, darkKicker);
    EXPECT_EQ(darkConfirm, QColor(Qt::black));
    EXPECT_EQ(lightConfirm, darkConfirm);
    // The confirm button's lime fill, beside its label.
    auto *confirm = child<QWidget>(modal, u"confirmLaunchButton"_s);
    EXPECT_EQ(confirm->grab().toImage().pixelColor(2, 2), QColor(0xCC, 0xFF, 0x00));
    keepCloseUp(window->sheets()->sheet(WorkspaceSheet::launchApproval), u"launch-gate-light.png"_s);
}

TEST_F(LaunchApprovalModalTest, ConfirmLaunchesAndOpensTheDashboard)
{
    CampaignLaunchApprovalModal *modal = openGate();
    ASSERT_NE(modal, nullptr);
    const QUuid id = projectID();
    click(u"confirmLaunchButton"_s);
    EXPECT_TRUE(sheetGone());
    EXPECT_FALSE(model().launchConfirmationProjectID().has_value());
    EXPECT_TRUE(model().executionReceipts().contains(id));
    EXPECT_TRUE(project().isLaunched);
}

TEST_F(LaunchApprovalModalTest, CancelAndDismissalLaunchNothingAndKeepTheApprovals)
{
    ASSERT_NE(openGate(), nullptr);
    click(u"cancelLaunchButton"_s);
    EXPECT_TRUE(sheetGone());
    EXPECT_FALSE(model().launchConfirmationProjectID().has_value());
    EXPECT_FALSE(project().isLaunched);
    EXPECT_TRUE(model().executionReceipts().isEmpty());
    EXPECT_EQ(project().approvedCreativeCount(), project().creatives.size());

    // Escape, the desktop's dismissal, does what Cancel does.
    ASSERT_NE(openGate(), nullptr);
    QTest::keyClick(window->sheets()->sheet(WorkspaceSheet::launchApproval), Qt::Key_Escape);
    EXPECT_TRUE(sheetGone());
    EXPECT_FALSE(model().launchConfirmationProjectID().has_value());
    EXPECT_FALSE(project().isLaunched);
    EXPECT_FALSE(model().pendingLaunchRequest().has_value());
}

TEST_F(LaunchApprovalModalTest, APendingLaunchReadsExecutingAndADeclinedConfirmKeepsTheSheet)
{
    CampaignLaunchApprovalModal *modal = openGate();
    ASSERT_NE(modal, nullptr);
    const QUuid id = projectID();
    model().setPendingLaunchRequest(CampaignLaunchRequest { .id = QUuid::createUuid(), .projectID = id });
    EXPECT_EQ(textOf(modal, u"confirmLaunchLabel"_s), u"Executing…"_s);
    auto *confirm = child<QAbstractButton>(modal, u"confirmLaunchButton"_s);
    EXPECT_TRUE(confirm->isEnabled());
    keepCloseUp(window->sheets()->sheet(WorkspaceSheet::launchApproval), u"launch-gate-executing.png"_s);

    // With a launch awaiting its receipt the model declines: nothing is recorded, the gate stays.
    click(u"confirmLaunchButton"_s);
    QCoreApplication::processEvents();
    EXPECT_EQ(model().launchConfirmationProjectID(), id);
    EXPECT_TRUE(model().executionReceipts().isEmpty());
    EXPECT_NE(window->sheets()->sheet(WorkspaceSheet::launchApproval), nullptr);
    const auto thread = model().activeThread();
    ASSERT_TRUE(thread.has_value());
    EXPECT_EQ(thread->workbenchView, IDEWorkbenchView::dashboard);

    model().setPendingLaunchRequest(std::nullopt);
    EXPECT_EQ(textOf(modal, u"confirmLaunchLabel"_s), u"Confirm & Execute Campaign"_s);
    click(u"cancelLaunchButton"_s);
    EXPECT_TRUE(sheetGone());
}

} // namespace
} // namespace orvane::governancetest
