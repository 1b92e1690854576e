#include "ide/operations/OperationsTestSupport.h"
#include "ide/records/OrvaneWebParitySeeds.h"

#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>

#include <limits>

using namespace Qt::StringLiterals;

namespace orvane::test {
namespace {

class MediaPlanTest : public OperationsTest {
protected:
    void SetUp() override
    {
        OperationsTest::SetUp();
        threadID = firstThread().id;
        projectSlug = project(firstThread().projectID)->slug();
    }

    [[nodiscard]] const QList<CampaignMediaPlanRow> &rows() const { return thread(threadID)->mediaPlanRows; }
    [[nodiscard]] QString mediaPlanCsv()
    {
        model->flushPendingWrites();
        return QString::fromUtf8(readAll(projectFile(projectSlug, u"media-plan.csv"_s)));
    }

    QUuid threadID;
    QString projectSlug;
};

// --- Adding, updating and deleting rows -----------------------------------------------------------

TEST_F(MediaPlanTest, AnAddedRowIsNumberedFromTheRowCountSoNamesCanRepeat)
{
    ASSERT_EQ(rows().size(), 4);
    model->mutateThread(threadID, [](CampaignIDEThread &t) { t.updatedAt = u"3h ago"_s; });

    model->addMediaPlanRow(threadID);

    ASSERT_EQ(rows().size(), 5);
    EXPECT_EQ(rows().last(),
        CampaignMediaPlanRow::make(rows().last().id, u"LinkedIn"_s, u"LI_NA_New_Flight_5"_s, u"Prospecting"_s,
            u"B2B Decision Makers (200+ emp)"_s, u"Single Image 1:1"_s, 250, 7500, u"Target CPA ($175)"_s, 175, 43,
            u"Draft"_s));
    EXPECT_EQ(thread(threadID)->updatedAt, u"Just now"_s);
    EXPECT_EQ(notice(), u"Added row to Media Plan Table."_s);
    EXPECT_TRUE(mediaPlanCsv().contains(u"LI_NA_New_Flight_5"_s));
    EXPECT_EQ(storedThreads().first().mediaPlanRows, rows());

    model->deleteMediaPlanRow(rows().first().id, threadID);
    model->addMediaPlanRow(threadID);
    EXPECT_EQ(rows().last().campaignName, u"LI_NA_New_Flight_5"_s);
    EXPECT_EQ(rows().at(rows().size() - 2).campaignName, u"LI_NA_New_Flight_5"_s);
}

TEST_F(MediaPlanTest, AnUpdatedRowDerivesItsMonthlyBudgetAndAtLeastOneConversionAndKeepsItsPlace)
{
    CampaignMediaPlanRow edited = rows().at(1);
    edited.dailyBudget = 350;
    edited.targetCPA = 155;
    edited.monthlyBudget = 99; // typed, and overwritten
    edited.estimatedConversions = 7;
    edited.bidStrategy = u"Max conversions"_s;
    edited.status = u"Paused"_s;
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);

    EXPECT_TRUE(model->updateMediaPlanRow(edited, threadID));

    edited.monthlyBudget = 10500;
    edited.estimatedConversions = 68;
    EXPECT_EQ(rows().at(1), edited);
    EXPECT_EQ(thread(threadID)->updatedAt, u"Just now"_s);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(notice().isEmpty());
    EXPECT_TRUE(mediaPlanCsv().contains(u"10500"_s));

    // The conversion divisor is at least one, and so are the conversions.
    edited.dailyBudget = 350;
    for (const double cpa : { 0.0, 0.5, 1.0 }) {
        edited.targetCPA = cpa;
        ASSERT_TRUE(model->updateMediaPlanRow(edited, threadID));
        EXPECT_EQ(rows().at(1).estimatedConversions, 10500) << cpa;
    }
    edited.dailyBudget = 0;
    edited.targetCPA = 155;
    ASSERT_TRUE(model->updateMediaPlanRow(edited, threadID));
    EXPECT_EQ(rows().at(1).monthlyBudget, 0);
    EXPECT_EQ(rows().at(1).estimatedConversions, 1);

    // Halves round away from zero: 30 × 5 / 4 = 37.5.
    edited.dailyBudget = 5;
    edited.targetCPA = 4;
    ASSERT_TRUE(model->updateMediaPlanRow(edited, threadID));
    EXPECT_EQ(rows().at(1).estimatedConversions, 38);

    // The largest figures accepted still give representable results.
    edited.dailyBudget = CampaignIDEWorkspaceModel::maxMediaPlanFigure;
    edited.targetCPA = 0;
    ASSERT_TRUE(model->updateMediaPlanRow(edited, threadID));
    EXPECT_EQ(rows().at(1).estimatedConversions, 30'000'000'000);
}

TEST_F(MediaPlanTest, FiguresThatAreNotFiniteNegativeOrTooLargeAreRefusedAndTheRowStays)
{
    const CampaignMediaPlanRow original = rows().first();
    constexpr double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const QList<std::pair<double, double>> refused = { { nan, 155 }, { 350, nan }, { inf, 155 }, { 350, -inf },
        { -1, 155 }, { 350, -0.5 }, { 1e300, 155 }, { 350, CampaignIDEWorkspaceModel::maxMediaPlanFigure * 2 } };
    QSignalSpy changed(model.get(), &CampaignIDEWorkspaceModel::threadChanged);

    for (const auto &[daily, cpa] : refused) {
        model->setStatusNotice(std::nullopt);
        CampaignMediaPlanRow edited = original;
        edited.dailyBudget = daily;
        edited.targetCPA = cpa;
        EXPECT_FALSE(model->updateMediaPlanRow(edited, threadID)) << daily << " " << cpa;
        EXPECT_EQ(rows().first(), original);
        EXPECT_EQ(utf8(notice()),
            "Media-plan row not updated: daily budget and target CPA must be numbers from 0 to 1,000,000,000.");
    }
    EXPECT_EQ(changed.count(), 0);
    model->flushPendingWrites();
    EXPECT_FALSE(QFileInfo::exists(threadStoreFile())); // nothing was saved
}

TEST_F(MediaPlanTest, DeletingRemovesEveryRowWithTheIdAndAnUnknownIdStillRewritesTheFile)
{
    const QUuid doomed = rows().at(2).id;
    const QString kept = rows().at(3).campaignName;
    model->mutateThread(threadID, [&](CampaignIDEThread &t) {
        t.mediaPlanRows.append(t.mediaPlanRows.at(2)); // a duplicate id from a damaged store
        t.updatedAt = u"3h ago"_s;
    });

    model->deleteMediaPlanRow(doomed, threadID);
    ASSERT_EQ(rows().size(), 3);
    EXPECT_EQ(rows().at(2).campaignName, kept);
    EXPECT_EQ(thread(threadID)->updatedAt, u"3h ago"_s); // untouched by a deletion
    EXPECT_TRUE(notice().isEmpty());

    const QString csv = projectFile(projectSlug, u"media-plan.csv"_s);
    model->flushPendingWrites();
    ASSERT_TRUE(QFile::remove(csv));
    model->deleteMediaPlanRow(QUuid::createUuid(), threadID);
    model->flushPendingWrites();
    EXPECT_TRUE(QFileInfo::exists(csv));
    EXPECT_EQ(storedThreads().first().mediaPlanRows, rows());
}

// --- Inline approvals -----------------------------------------------------------------------------

TEST_F(MediaPlanTest, ApprovingAGateActivatesEveryRowAndRewritesTheSpreadsheet)
{
    // The first seed thread's second entry carries a pending gate.
    const CampaignAgentTab tab = thread(threadID)->agentTabs.first();
    ASSERT_TRUE(tab.entries.at(1).inlineApproval);
    const CampaignMediaPlanRow before = rows().first();
    QSignalSpy entryChanged(model.get(), &CampaignIDEWorkspaceModel::timelineEntryChanged);

    model->approveInlineAction(threadID, tab.id, tab.entries.at(1).id);

    EXPECT_EQ(thread(threadID)->agentTabs.first().entries.at(1).inlineApproval->status,
        CampaignInlineApproval::ApprovalDecision::approved);
    ASSERT_EQ(entryChanged.count(), 1);
    for (const CampaignMediaPlanRow &row : rows())
        EXPECT_EQ(row.status, u"Approved & Active"_s);
    EXPECT_EQ(rows().first().dailyBudget, before.dailyBudget);
    EXPECT_EQ(rows().first().estimatedConversions, before.estimatedConversions);
    EXPECT_EQ(notice(), u"Approved inline execution gate & updated media-plan.csv."_s);
    EXPECT_EQ(mediaPlanCsv().count(u"Approved & Active"_s), rows().size());
    EXPECT_EQ(storedThreads().first(), *thread(threadID));
}

// --- Competitor explorer and cloning --------------------------------------------------------------

TEST_F(MediaPlanTest, ALookupStoresTheDomainTrimmedAndLowerCased)
{
    const QString updated = thread(threadID)->updatedAt;
    model->runCompetitorLookup(u"  Rival.IO \n"_s, threadID);

    EXPECT_EQ(thread(threadID)->competitorDomain, u"rival.io"_s);
    for (const CampaignCompetitorAd &ad : thread(threadID)->competitorAds)
        EXPECT_EQ(ad.competitorDomain, u"rival.io"_s);
    EXPECT_EQ(thread(threadID)->competitorAds.size(), OrvaneWebParitySeeds::defaultCompetitorAds(u"rival.io"_s).size());
    EXPECT_EQ(thread(threadID)->updatedAt, updated);
    EXPECT_EQ(notice(), u"Loaded competitor intelligence for rival.io."_s);
    EXPECT_EQ(storedThreads().first().competitorDomain, u"rival.io"_s);
}

TEST_F(MediaPlanTest, BlankLookupsChangeNothingAndApprovalsWithoutAGateOnlySaveOrActivateTheRows)
{
    const auto before = model->threads();
    model->runCompetitorLookup(u" \t\n "_s, threadID);
    EXPECT_EQ(model->threads(), before);
    EXPECT_TRUE(notice().isEmpty());

    // Approving in an unknown thread only saves and tells the operator.
    model->approveInlineAction(QUuid::createUuid(), QUuid::createUuid(), QUuid::createUuid());
    EXPECT_EQ(model->threads(), before);
    EXPECT_EQ(notice(), u"Approved inline execution gate & updated media-plan.csv."_s);
    EXPECT_EQ(storedThreads(), before);

    // Approving an entry without a gate still activates the rows.
    const CampaignAgentTab tab = thread(threadID)->agentTabs.first();
    ASSERT_FALSE(tab.entries.first().inlineApproval);
    model->approveInlineAction(threadID, tab.id, tab.entries.first().id);
    EXPECT_FALSE(thread(threadID)->agentTabs.first().entries.first().inlineApproval);
    for (const CampaignMediaPlanRow &row : rows())
        EXPECT_EQ(row.status, u"Approved & Active"_s);
}

TEST_F(MediaPlanTest, CloningAnAdAddsACounterPositioningArtboardAndShowsTheCanvas)
{
    const CampaignCompetitorAd ad = thread(threadID)->competitorAds.first();
    const QUuid projectID = *model->selectedProjectID();
    ASSERT_EQ(projectID, firstThread().projectID);
    const qsizetype artboardsBefore = project(projectID)->creatives.size();
    QSignalSpy projectChanged(model.get(), &CampaignIDEWorkspaceModel::projectChanged);

    model->cloneCompetitorAdToCanvas(ad, threadID);

    const CampaignIDEProject &changed = *project(projectID);
    ASSERT_EQ(changed.creatives.size(), artboardsBefore + 1);
    const CreativeCanvasArtboard &clone = changed.creatives.last();
    EXPECT_EQ(clone,
        (CreativeCanvasArtboard { .id = clone.id,
            .platform = ad.channel,
            .format = u"Counter-Positioning · 1:1"_s,
            .headline = u"Switch from "_s + ad.competitorDomain + u": "_s + ad.headline,
            .width = 1080,
            .height = 1080 }));
    EXPECT_EQ(changed.status, u"Creative review"_s);
    EXPECT_EQ(changed.updated, u"Now"_s);
    EXPECT_EQ(model->selectedArtboardID(), clone.id);
    EXPECT_EQ(thread(threadID)->workbenchView, IDEWorkbenchView::canvas);
    EXPECT_EQ(model->selectedSection(), CampaignIDESection::creativeStudio);
    EXPECT_EQ(notice(), u"Cloned counter-positioning artboard to Creative Canvas."_s);
    EXPECT_GE(projectChanged.count(), 1);
    EXPECT_EQ(storedProjects(), model->projects());
    EXPECT_TRUE(QString::fromUtf8(readAll(projectFile(projectSlug, u"creatives.json"_s))).contains(clone.headline));

    model->cloneCompetitorAdToCanvas(ad, threadID);
    ASSERT_EQ(project(projectID)->creatives.size(), artboardsBefore + 2);
    EXPECT_NE(project(projectID)->creatives.last().id, clone.id);

    // Without a selected project no artboard is stored, but the canvas still shows.
    model->setSelectedProjectID(std::nullopt);
    model->selectWorkbenchView(IDEWorkbenchView::table, threadID);
    model->setStatusNotice(std::nullopt);
    const auto projectsBefore = model->projects();
    model->cloneCompetitorAdToCanvas(ad, threadID);
    EXPECT_EQ(model->projects(), projectsBefore);
    EXPECT_TRUE(model->selectedArtboardID());
    EXPECT_FALSE(model->selectedArtboard());
    EXPECT_EQ(thread(threadID)->workbenchView, IDEWorkbenchView::canvas);
    EXPECT_EQ(notice(), u"Cloned counter-positioning artboard to Creative Canvas."_s);
}

} // namespace
} // namespace orvane::test
