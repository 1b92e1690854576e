#include "GovernanceWindowFixture.h"

#include "ide/views/governance/ReportCardDelegate.h"
#include "ide/views/governance/ReportListModel.h"
#include "ide/views/governance/ReportsSurfaceView.h"

#include <QAbstractItemModelTester>
#include <QFileInfo>
#include <QScrollArea>
#include <QSignalSpy>

namespace orvane::governancetest {
namespace {

using namespace orvane::governance;

ReportArtifact serviceReport(const QString &id, const QString &title)
{
    return ReportArtifact { .id = id,
        .kind = u"website"_s,
        .title = title,
        .domain = u"example.com"_s,
        .url = u"/r/"_s + id,
        .createdAt = u"2026-03-04T09:15:00Z"_s,
        .updatedAt = std::nullopt };
}

class ReportsSurfaceTest : public GovernanceWindowTest {
protected:
    ReportsSurfaceView *openReports() { return open<ReportsSurfaceView>(IDEPrimaryDestination::reports()); }

    void clickOpen(ReportsSurfaceView *surface, int row)
    {
        ReportListView *list = surface->reportList();
        const QModelIndex index = list->model()->index(row, 0);
        const QRect button = ReportCardDelegate::openButtonRect(list->visualRect(index), index);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, button.center());
    }

    [[nodiscard]] QString reportsFolder() const { return workspaceRoot() + u"/reports"_s; }
    [[nodiscard]] QString todaysTitle() const { return ReportsSurfaceView::generatedReportTitle(QDate::currentDate()); }
};

TEST_F(ReportsSurfaceTest, TheGeneratedTitleCarriesTheLocaleAbbreviatedDate)
{
    const QDate date(2026, 12, 5);
    EXPECT_EQ(ReportsSurfaceView::generatedReportTitle(date, QLocale(QLocale::English, QLocale::UnitedStates)),
        u"Executive Multi-Touch Attribution Report (Dec 5, 2026)"_s);
    EXPECT_EQ(
        ReportsSurfaceView::abbreviatedDate(date, QLocale(QLocale::English, QLocale::UnitedKingdom)), u"5 Dec 2026"_s);
    EXPECT_EQ(ReportsSurfaceView::abbreviatedDate(date, QLocale(QLocale::German, QLocale::Germany)), u"5. Dez. 2026"_s);
}

TEST_F(ReportsSurfaceTest, GeneratingListsTheNewReportFirstAndTwiceWritesTwoFiles)
{
    ReportsSurfaceView *surface = openReports();
    ASSERT_NE(surface, nullptr);
    QAbstractItemModelTester tester(surface->reportModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(textOf(surface, u"surfaceKickerLabel"_s), u"ATTRIBUTION REPORTS & INCREMENTAL LIFT"_s);
    EXPECT_EQ(textOf(surface, u"surfaceHeadlineLabel"_s), u"Local HTML Reports & Multi-Touch Attribution Artifacts"_s);
    // The stand-in service's reports went in with the first refresh.
    EXPECT_GT(surface->reportModel()->rowCount(), 0);
    model().setReports({});
    QCoreApplication::processEvents();
    // Nothing below the header.
    EXPECT_EQ(surface->reportModel()->rowCount(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return surface->reportList()->height() == 0; }, 2000));
    keepPicture(u"reports-empty.png"_s);

    QSignalSpy inserted(surface->reportModel(), &QAbstractItemModel::rowsInserted);
    click(u"generateReportButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().reports().size() == 1; }, 5000));
    EXPECT_EQ(inserted.size(), 1);
    const ReportArtifact first = model().reports().first();
    EXPECT_EQ(first.title, todaysTitle());

    const QModelIndex row = surface->reportModel()->index(0, 0);
    EXPECT_EQ(row.data(ReportListModel::kindLineRole).toString(), u"ATTRIBUTION"_s);
    EXPECT_EQ(row.data(ReportListModel::titleRole).toString(), first.title);
    EXPECT_EQ(row.data(ReportListModel::createdLineRole).toString(), u"Created "_s + first.createdAt);

    click(u"generateReportButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().reports().size() == 2; }, 5000));
    EXPECT_EQ(inserted.size(), 2);
    EXPECT_EQ(surface->reportModel()->rowCount(), 2);
    EXPECT_EQ(surface->reportModel()->index(0, 0).data(ReportListModel::reportIDRole), model().reports().at(0).id);
    // The list grows with its cards; the surface scrolls, not the list.
    EXPECT_TRUE(QTest::qWaitFor([&] { return surface->reportList()->height() >= 2 * 80; }, 2000));
}

TEST_F(ReportsSurfaceTest, ServiceReportsShowTheirTextsAsStoredAndNeverAsMarkup)
{
    ReportsSurfaceView *surface = openReports();
    ASSERT_NE(surface, nullptr);
    QAbstractItemModelTester tester(surface->reportModel(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    const QString hostile = u"<img src=x onerror=alert(1)><script>alert(2)</script> & Q3"_s;
    model().setReports({ serviceReport(u"r1"_s, hostile), serviceReport(u"r2"_s, u"Lift study"_s) });
    ASSERT_EQ(surface->reportModel()->rowCount(), 2);
    const QModelIndex index = surface->reportModel()->index(0, 0);
    EXPECT_EQ(index.data(ReportListModel::titleRole).toString(), hostile);
    EXPECT_EQ(index.data(ReportListModel::kindLineRole).toString(), u"WEBSITE"_s);
    EXPECT_EQ(index.data(ReportListModel::createdLineRole).toString(), u"Created 2026-03-04T09:15:00Z"_s);
    // The tooltip is escaped so the desktop shows the characters, not markup.
    const QString tip = index.data(Qt::ToolTipRole).toString();
    EXPECT_FALSE(tip.contains(u"<script>"_s));
    EXPECT_TRUE(tip.contains(u"&lt;script&gt;"_s));

    // Replacing the list resets the rows; a selection change alone leaves them.
    QSignalSpy resets(surface->reportModel(), &QAbstractItemModel::modelReset);
    model().setSelectedReport(model().reports().at(1));
    EXPECT_EQ(resets.size(), 0);
    model().setReports({ serviceReport(u"r3"_s, u"Only one"_s) });
    EXPECT_EQ(resets.size(), 1);
    EXPECT_EQ(surface->reportModel()->rowCount(), 1);
}

TEST_F(ReportsSurfaceTest, EveryCardOpensTheReportsFolder)
{
    ReportsSurfaceView *surface = openReports();
    ASSERT_NE(surface, nullptr);
    // Before any local report the folder does not exist: the workspace root is shown instead, and
    // the surface does not make the folder.
    model().setReports({ serviceReport(u"r1"_s, u"First"_s), serviceReport(u"r2"_s, u"Second"_s) });
    QCoreApplication::processEvents();
    clickOpen(surface, 1);
    ASSERT_EQ(revealed, QStringList { workspaceRoot() });
    EXPECT_FALSE(QFileInfo::exists(reportsFolder()));

    click(u"generateReportButton"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return model().reports().size() == 3; }, 5000));
    QCoreApplication::processEvents();
    revealed.clear();
    for (int row = 0; row < 3; ++row)
        clickOpen(surface, row);
    EXPECT_EQ(revealed, QStringList(3, reportsFolder()));
    // A click beside the button opens nothing.
    ReportListView *list = surface->reportList();
    QTest::mouseClick(
        list->viewport(), Qt::LeftButton, {}, list->visualRect(list->model()->index(0, 0)).topLeft() + QPoint(20, 20));
    EXPECT_EQ(revealed.size(), 3);
    // The keyboard reaches the cards, and Return opens the folder as the button does.
    list->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return list->hasFocus() && list->currentIndex().isValid(); }));
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(revealed.size(), 4);
}

} // namespace
} // namespace orvane::governancetest
