#include "WorkspaceWindowFixture.h"

#include "ide/views/window/LiveContextRefresher.h"

namespace orvane::windowtest {
namespace {

class RefreshTaskTest : public WorkspaceWindowTest {
protected:
    [[nodiscard]] QList<test::RecordedRequest> projectFetches() const
    {
        QList<test::RecordedRequest> fetches;
        for (const test::RecordedRequest &request : service.requests()) {
            if (request.method == "GET" && request.path == "/api/projects")
                fetches.append(request);
        }
        return fetches;
    }
    [[nodiscard]] bool fetchedProjects(qsizetype count) const
    {
        return QTest::qWaitFor([&] { return projectFetches().size() >= count; }, 5000);
    }
};

TEST_F(RefreshTaskTest, TheFirstShowRefreshesAlsoWhileSignedOut)
{
    makeWindow({}, /*show=*/false);
    QCoreApplication::processEvents();
    EXPECT_EQ(window->refresher()->refreshCount(), 0);
    EXPECT_TRUE(service.requests().isEmpty());

    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Right after the first frame.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->refresher()->refreshCount() == 1; }));
    ASSERT_TRUE(service.waitForRequests(3));
    QStringList paths;
    for (const test::RecordedRequest &request : service.requests()) {
        paths.append(request.decodedPath());
        EXPECT_FALSE(request.header("authorization").has_value()); // signed out: no key
    }
    paths.sort();
    EXPECT_EQ(paths, (QStringList { u"/api/approvals"_s, u"/api/projects"_s, u"/api/reports/list"_s }));

    // Showing the window again does not refresh again.
    window->hide();
    window->show();
    EXPECT_EQ(window->refresher()->refreshCount(), 1);
}

TEST_F(RefreshTaskTest, SigningInAndOutRefreshesOnEveryStateChange)
{
    makeWindow();
    ASSERT_TRUE(fetchedProjects(1));
    LiveContextRefresher &refresher = *window->refresher();
    EXPECT_EQ(refresher.refreshCount(), 1);

    session->signIn();
    // Once when the code is shown, once when the account is signed in.
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->account().has_value(); }, 10000));
    EXPECT_EQ(refresher.refreshCount(), 3);
    ASSERT_TRUE(fetchedProjects(3));
    EXPECT_EQ(projectFetches().last().header("authorization"), QByteArray("Bearer orv_live_0123456789abcdef"));
    EXPECT_TRUE(find(u"cloudSyncedMarker"_s)->isVisible());
    EXPECT_FALSE(find(u"connectCloudButton"_s)->isVisible());

    session->signOut();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !session->account().has_value(); }, 5000));
    EXPECT_EQ(refresher.refreshCount(), 4);
    ASSERT_TRUE(fetchedProjects(4));
    EXPECT_FALSE(projectFetches().last().header("authorization").has_value());
    EXPECT_TRUE(find(u"connectCloudButton"_s)->isVisible());
}

TEST_F(RefreshTaskTest, ServerProjectsArriveInTheWindow)
{
    service.setResponse("GET", u"/api/projects"_s,
        test::CannedResponse::json(200,
            R"({"projects":[{"id":"srv-9","name":"Remote Expansion","status":"active",)"
            R"("created_at":"2026-01-01T00:00:00Z","updated_at":"2026-01-02T00:00:00Z"}]})"));
    makeWindow();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return std::any_of(model().projects().cbegin(), model().projects().cend(),
                [](const CampaignIDEProject &project) { return project.name == u"Remote Expansion"_s; });
        },
        5000));
    // The project menu lists it at once.
    choose(u"projectMenuButton"_s, u"projectMenu"_s, u"projectAction"_s, int(model().projects().size() - 1));
    EXPECT_EQ(labelText(u"breadcrumbLabel"_s), u"Remote Expansion"_s);
}

} // namespace
} // namespace orvane::windowtest
