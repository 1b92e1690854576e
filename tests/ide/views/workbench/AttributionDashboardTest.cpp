#include "WorkbenchViewFixture.h"

#include "ide/views/workbench/AttributionDashboardView.h"
#include "ide/views/workbench/MediaPlanTableModel.h"
#include "ide/views/workbench/WorkbenchWidgets.h"

#include <QAbstractItemModelTester>
#include <QFileInfo>
#include <QListView>

namespace orvane::workbenchtest {
namespace {

class AttributionDashboardTest : public WorkbenchViewTest {
protected:
    void SetUp() override
    {
        WorkbenchViewTest::SetUp();
        threadID = openThread({ row(u"LI_Flight"_s, 675, 150.9, u"Ready"_s), row(u"GS_Flight"_s, 1250, 170) });
        model->mutateThread(threadID, [](CampaignIDEThread &t) {
            t.title = u"Q3 Pipeline Push"_s;
            t.mediaPlanRows[0].estimatedConversions = 1234;
        });
        view = show<AttributionDashboardView>();
        tester = std::make_unique<QAbstractItemModelTester>(
            view->rowsModel(), QAbstractItemModelTester::FailureReportingMode::Warning);
    }
    void TearDown() override
    {
        tester.reset();
        WorkbenchViewTest::TearDown();
    }
    [[nodiscard]] SummaryStatTile *tile(const QString &name) const { return find<SummaryStatTile>(name); }
    [[nodiscard]] ChannelBreakdownDelegate::Texts card(int rowNumber) const
    {
        return ChannelBreakdownDelegate::texts(view->rowsModel()->index(rowNumber, 0));
    }

    QUuid threadID;
    AttributionDashboardView *view = nullptr;
    std::unique_ptr<QAbstractItemModelTester> tester;
};

TEST_F(AttributionDashboardTest, ShowsFixedHeadlinesThePlansConversionsAndOneCardPerFlight)
{
    EXPECT_EQ(tile(u"attributedPipelineTile"_s)->value(), u"$412,000"_s);
    EXPECT_EQ(tile(u"attributedPipelineTile"_s)->sublabel(), u"+28% vs prior 30-day window"_s);
    EXPECT_EQ(tile(u"pipelineRoasTile"_s)->value(), u"4.2x"_s);
    EXPECT_EQ(tile(u"pipelineRoasTile"_s)->sublabel(), u"W-Shaped Multi-Touch Model"_s);
    const qint64 conversions = thread(threadID).totalEstimatedConversions();
    ASSERT_GT(conversions, 1000);
    EXPECT_EQ(tile(u"qualifiedConversionsTile"_s)->value(), QString::number(conversions)); // never grouped
    EXPECT_EQ(tile(u"qualifiedConversionsTile"_s)->sublabel(), u"Blended CPA $160"_s); // mean 160.45

    ASSERT_EQ(view->rowsModel()->rowCount(), 2);
    const ChannelBreakdownDelegate::Texts first = card(0);
    EXPECT_EQ(first.title, u"LinkedIn · LI_Flight"_s);
    EXPECT_EQ(first.audience, u"Ops leaders"_s);
    EXPECT_EQ(first.pacing, u"$20,250/mo"_s);
    EXPECT_EQ(first.efficiency, u"CPA $150"_s);
    EXPECT_EQ(first.volume, u"1234 SQLs"_s);
    auto *list = find<QListView>(u"channelBreakdownList"_s);
    EXPECT_EQ(list->height(), 2 * ChannelBreakdownDelegate::cardHeight + ChannelBreakdownDelegate::cardGap);
    keepPicture(u"attribution-dashboard.png"_s);

    // Edits of the plan show in place; an empty plan leaves the kicker alone in the panel.
    model->addMediaPlanRow(threadID);
    EXPECT_EQ(view->rowsModel()->rowCount(), 3);
    EXPECT_EQ(tile(u"qualifiedConversionsTile"_s)->value(), QString::number(conversions + 43));
    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.mediaPlanRows.clear(); });
    EXPECT_EQ(tile(u"qualifiedConversionsTile"_s)->value(), u"0"_s);
    EXPECT_EQ(tile(u"qualifiedConversionsTile"_s)->sublabel(), u"Blended CPA $0"_s);
    EXPECT_EQ(list->height(), 0);
    EXPECT_EQ(tile(u"attributedPipelineTile"_s)->value(), u"$412,000"_s);
}

TEST_F(AttributionDashboardTest, ExportWritesTheReportNamedAfterTheThread)
{
    EXPECT_EQ(AttributionDashboardView::reportTitle(QString()), u" — 30d Attribution Report"_s);
    click(u"exportReportButton"_s);
    const QString file = workspaceRoot() + u"/reports/q3-pipeline-push-30d-attribution-report.html"_s;
    ASSERT_TRUE(QTest::qWaitFor([&] { return !model->reports().isEmpty(); }, 5000));
    EXPECT_EQ(model->reports().first().title, u"Q3 Pipeline Push — 30d Attribution Report"_s);
    EXPECT_EQ(model->reports().first().kind, u"attribution"_s);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(notice(),
        u"Generated report & saved to ~/Documents/Orvane/reports/q3-pipeline-push-30d-attribution-report.html"_s);
}

} // namespace
} // namespace orvane::workbenchtest
