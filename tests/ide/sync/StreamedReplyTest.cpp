#include "ide/sync/SyncTestSupport.h"

#include "ide/sync/ServerSyncState.h"

#include "kit/support/JsonCoding.h"

#include <QTcpServer>

#include <nlohmann/json.hpp>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace orvane::synctest {
namespace {

using test::CannedResponse;
using test::sseBlock;
using test::StreamStep;
using ToolStatus = CampaignToolInvocation::ToolStatus;

QByteArray delta(const QString &text)
{
    return sseBlock("text_delta", nlohmann::ordered_json { { "text", text.toStdString() } }.dump());
}

class StreamedReplyTest : public ServiceWorkspaceTest {
protected:
    void SetUp() override
    {
        ServiceWorkspaceTest::SetUp();
        threadID = model->threads().first().id;
        tabID = model->threads().first().agentTabs.first().id;
    }

    void chat(QList<StreamStep> steps, CannedResponse::Ending ending = CannedResponse::Ending::complete)
    {
        service.setResponse(
            "POST", u"/api/agent/chat"_s, CannedResponse::eventStream(std::move(steps)).endingWith(ending));
    }

    void send(const QString &prompt, SessionStore *through)
    {
        model->sendMessageInThread(threadID, tabID, prompt, through);
        agentEntryID = tab().entries.last().id;
    }

    [[nodiscard]] const CampaignAgentTab &tab() const { return thread(threadID)->agentTabs.first(); }
    [[nodiscard]] const CampaignTimelineEntry &agentEntry() const
    {
        for (const CampaignTimelineEntry &entry : tab().entries) {
            if (entry.id == agentEntryID)
                return entry;
        }
        ADD_FAILURE() << "entry gone";
        return tab().entries.last();
    }

    // The texts the agent entry showed while the turn ran, one per publication.
    void recordPublications()
    {
        QObject::connect(model.get(), &CampaignIDEWorkspaceModel::timelineEntryChanged, model.get(),
            [this](const QUuid &, const QUuid &, const QUuid &entryID) {
                if (entryID != agentEntryID)
                    return;
                shown.append(agentEntry().text);
                shownTools.append(agentEntry().toolInvocations);
            });
    }

    // The local agent's reply for a prompt, as a turn without a session ends.
    QString localReply(const QString &prompt)
    {
        send(prompt, nullptr);
        finishTurns();
        return agentEntry().text;
    }

    QUuid threadID;
    QUuid tabID;
    QUuid agentEntryID;
    QStringList shown;
    QList<QList<CampaignToolInvocation>> shownTools;
};

TEST_F(StreamedReplyTest, SignedInTheEntryGrowsWithEveryDeltaAndEndsWithTheServiceText)
{
    session = makeSession(account());
    model->mutateProject(*model->selectedProjectID(), [](CampaignIDEProject &p) { p.serverID = u"srv-42"_s; });
    chat({ { 0ms, delta(u"Shifted "_s) }, { .bytes = delta(u"<b>budget</b> & \"bids\""_s), .held = true },
        { .bytes = sseBlock("tool_started", R"({"name":"x"})") + sseBlock("done", "{}"), .held = true } });

    send(u"  Rebalance budget toward LinkedIn  "_s, session.get());
    recordPublications();
    // Each held step goes out once the text before it has been shown.
    for (const qsizetype count : { 1, 2 }) {
        ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == count; }));
        service.releaseHeld();
    }
    finishTurns();

    ASSERT_GE(shown.size(), 3);
    EXPECT_EQ(utf8(shown.at(0)), "Shifted ");
    EXPECT_EQ(utf8(shown.at(1)), "Shifted <b>budget</b> & \"bids\"");
    // The first delta replaced the running placeholder with the local agent's tools.
    ASSERT_FALSE(shownTools.at(0).isEmpty());
    EXPECT_NE(utf8(shownTools.at(0).first().toolName), "analyze_campaign_workspace");

    const CampaignTimelineEntry &entry = agentEntry();
    EXPECT_EQ(utf8(entry.text), "Shifted <b>budget</b> & \"bids\""); // data, kept as received
    EXPECT_EQ(entry.toolInvocations, shownTools.at(0));
    ASSERT_TRUE(entry.inlineApproval);
    EXPECT_EQ(entry.artifactLink, IDEWorkbenchView::table);
    EXPECT_FALSE(tab().isStreaming);
    // The turn is over: the next start shows the service's text, not the local answer kept while the
    // reply streamed.
    startModel();
    EXPECT_EQ(utf8(agentEntry().text), "Shifted <b>budget</b> & \"bids\"");
    EXPECT_FALSE(agentEntry().localReply);

    ASSERT_EQ(service.requestCount(), 1);
    const test::RecordedRequest &request = service.requests().first();
    EXPECT_EQ(request.target, "/api/agent/chat");
    EXPECT_EQ(request.header("authorization"), "Bearer orv_test_0123456789");
    const QString threadText = threadID.toString(QUuid::WithoutBraces).toUpper();
    EXPECT_EQ(request.body,
        R"({"message":"Rebalance budget toward LinkedIn","history":[],"threadId":")" + threadText.toUtf8()
            + R"(","projectId":"srv-42"})");

    // Another project selected: its server id goes out, not the thread's project's; none without one.
    chat({});
    const QUuid other = model->projects().at(1).id;
    ASSERT_NE(other, model->threads().first().projectID);
    model->setSelectedProjectID(other);
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_FALSE(service.requests().last().body.contains("projectId"));
    model->mutateProject(other, [](CampaignIDEProject &p) { p.serverID = u"srv-other"_s; });
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_TRUE(service.requests().last().body.endsWith(R"("projectId":"srv-other"})"));
}

// An empty delta is the start of the service's answer like any other: the entry shows it (the
// running placeholder gives way to the local agent's tools), and the text grows from there.
TEST_F(StreamedReplyTest, AnEmptyDeltaIsShownLikeAnyOther)
{
    session = makeSession(account());
    chat({ { 0ms, delta(QString()) }, { .bytes = delta(u"Shifted"_s) + sseBlock("done", "{}"), .held = true } });
    send(u"Rebalance budget toward LinkedIn"_s, session.get());
    recordPublications();
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.size() == 1; }));
    EXPECT_EQ(utf8(shown.first()), "");
    ASSERT_FALSE(shownTools.first().isEmpty());
    EXPECT_NE(utf8(shownTools.first().first().toolName), "analyze_campaign_workspace");
    EXPECT_TRUE(tab().isStreaming);
    service.releaseHeld();
    finishTurns();
    EXPECT_EQ(utf8(shown.last()), "Shifted");
    EXPECT_EQ(utf8(agentEntry().text), "Shifted");
    EXPECT_EQ(agentEntry().toolInvocations, shownTools.first());
}

// Without an account no request is made, not even while signing in is under way; a stream that
// fails, is blank, or never stops (sending text as fast as it is read, or trickling keep-alives)
// leaves the local reply, and the text collected meanwhile stays within its bound.
TEST_F(StreamedReplyTest, WithoutAnAccountOrWithAFailedBlankOrEndlessStreamTheLocalReplyStands)
{
    const QString local = localReply(u"Refine the objective"_s);
    session = makeSession(std::nullopt);
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);
    service.setDevicePollStatuses({ u"pending"_s });
    session->signIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return session->state().kind() == SessionStore::State::Kind::signingIn; }));
    const qsizetype signInRequests = service.requestCount();
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);
    for (qsizetype i = signInRequests; i < service.requestCount(); ++i)
        EXPECT_NE(service.requests().at(i).target, "/api/agent/chat");
    session->cancelSignIn();

    session = makeSession(account());

    // Cut off after a delta had been shown.
    chat({ { 0ms, delta(u"partial"_s) } }, CannedResponse::Ending::drop);
    send(u"Refine the objective"_s, session.get());
    recordPublications();
    finishTurns();
    EXPECT_TRUE(shown.contains(u"partial"_s));
    EXPECT_EQ(agentEntry().text, local);
    EXPECT_FALSE(tab().isStreaming);

    // Only white space.
    chat({ { 0ms, delta(u"  "_s) }, { 10ms, delta(u"\n"_s) + sseBlock("done", "{}") } });
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);

    // Refused: the local reply stands and the session stays signed in.
    service.setResponse("POST", u"/api/agent/chat"_s, CannedResponse::json(401, R"({"error":"unauthorized"})"));
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);
    EXPECT_TRUE(session->account());
    EXPECT_FALSE(session->lastError());

    // A page that is not an event stream, however its body reads: the local reply stands.
    service.setResponse("POST", u"/api/agent/chat"_s,
        CannedResponse::text(200, delta(u"From a portal page"_s) + sseBlock("done", "{}"), "text/html; charset=utf-8"));
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);
    EXPECT_FALSE(tab().isStreaming);

    // Stalled: the model's transfer timeout ends it.
    model->setServiceTransferTimeout(300ms);
    chat({ { 0ms, delta(u"stuck"_s) } }, CannedResponse::Ending::stall);
    send(u"Refine the objective"_s, session.get());
    finishTurns();
    EXPECT_EQ(agentEntry().text, local);
    EXPECT_TRUE(service.waitForNoOpenConnections());

    constexpr qsizetype bound = 64 * 1024;
    model->setStreamedReplyMaxBytes(bound);
    // The request deadline is not the stream's.
    model->setServiceLimits(TransferLimits { .idleTimeout = 5s, .deadline = 50ms });
    const QList<std::pair<CannedResponse, std::chrono::milliseconds>> streams {
        { CannedResponse::eventStream({}).repeating(delta(QString(1000, u'x'))), defaultStreamDeadline },
        { CannedResponse::eventStream({ { 0ms, delta(u"partial"_s) } }).repeating(": k\n", 20ms), 300ms },
    };
    for (const auto &[stream, deadline] : streams) {
        shown.clear();
        model->setStreamedReplyDeadline(deadline);
        service.setResponse("POST", u"/api/agent/chat"_s, stream);
        send(u"Refine the objective"_s, session.get());
        finishTurns();
        EXPECT_FALSE(shown.isEmpty());
        for (const QString &text : std::as_const(shown))
            EXPECT_LE(text.size() * qsizetype(sizeof(QChar)), bound);
        EXPECT_EQ(agentEntry().text, local);
        EXPECT_FALSE(tab().isStreaming);
        EXPECT_TRUE(service.waitForNoOpenConnections());
    }
}

// A cloud reply that fails leaves the local reply in its place and says so with a warning, at every
// turn it fails: again and again while the service stays away, and again after it answered. A refused
// key says to sign in again, yet the session stays signed in.
TEST_F(StreamedReplyTest, EveryFailedCloudReplyIsToldWithWhatToDo)
{
    session = makeSession(account());
    QList<std::pair<QString, NoticeKind>> notices;
    QObject::connect(model.get(), &CampaignIDEWorkspaceModel::statusNoticeChanged, model.get(), [&] {
        if (model->statusNotice())
            notices.append({ *model->statusNotice(), model->statusNoticeKind() });
    });
    const auto turn = [&](const std::optional<CannedResponse> &answer) {
        // Some time after the last turn: the notice it left has gone.
        ASSERT_TRUE(QTest::qWaitFor([&] { return !model->statusNotice(); }));
        if (answer)
            service.setResponse("POST", u"/api/agent/chat"_s, *answer);
        send(u"Refine the objective"_s, session.get());
        finishTurns();
    };
    const auto cut
        = CannedResponse::eventStream({ { 0ms, delta(u"partial"_s) } }).endingWith(CannedResponse::Ending::drop);
    const auto refused = CannedResponse::json(401, R"({"error":"unauthorized"})");
    const auto answered = CannedResponse::eventStream({ { 0ms, delta(u"Done."_s) + sseBlock("done", "{}") } });
    const QString unanswered = ServerSyncState::streamedReplyNotice(ServerSyncState::StreamedReplyEnd::failed);
    EXPECT_TRUE(unanswered.contains(u"did not answer"_s));
    EXPECT_TRUE(unanswered.contains(u"local agent replied"_s));
    const QString local = localReply(u"Refine the objective"_s);

    // Cut off mid-stream, then gone altogether (nothing listens at the address), twice: told each time.
    turn(cut);
    ASSERT_EQ(notices.size(), 1);
    EXPECT_EQ(notices.first(), std::make_pair(unanswered, NoticeKind::warning));
    EXPECT_EQ(agentEntry().text, local);
    {
        QTcpServer closed;
        ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
        const QByteArray goneURL = "http://127.0.0.1:" + QByteArray::number(closed.serverPort());
        closed.close();
        test::ScopedEnvironmentVariable gone("ORVANE_API_BASE_URL", goneURL);
        for (const qsizetype told : { 2, 3 }) {
            turn(std::nullopt);
            ASSERT_EQ(notices.size(), told);
            EXPECT_EQ(notices.last(), std::make_pair(unanswered, NoticeKind::warning));
            EXPECT_EQ(agentEntry().text, local);
        }
    }
    turn(cut);
    ASSERT_EQ(notices.size(), 4);
    EXPECT_EQ(notices.last().first, unanswered);

    // A refused key: what to do, each time; the account stays signed in and the sign-in shows no error.
    for (const qsizetype told : { 5, 6 }) {
        turn(refused);
        ASSERT_EQ(notices.size(), told);
        EXPECT_EQ(notices.last().second, NoticeKind::warning);
        EXPECT_TRUE(notices.last().first.endsWith(u"Your session has expired. Sign in again."_s));
        EXPECT_EQ(agentEntry().text, local);
    }
    EXPECT_TRUE(session->account());
    EXPECT_FALSE(session->lastError());

    // The service answers: no notice; the next failure is told again.
    turn(answered);
    EXPECT_EQ(utf8(agentEntry().text), "Done.");
    EXPECT_EQ(notices.size(), 6);
    turn(cut);
    ASSERT_EQ(notices.size(), 7);
    EXPECT_EQ(notices.last().first, unanswered);

    // Signed out, nothing is asked and nothing told.
    session = makeSession(std::nullopt);
    turn(cut);
    EXPECT_EQ(notices.size(), 7);
}

TEST_F(StreamedReplyTest, ATurnWhoseThreadOrModelGoesEndsQuietly)
{
    session = makeSession(account());
    // The stream is open, its text not yet sent, when the thread goes.
    chat({ { .bytes = delta(u"b"_s) + sseBlock("done", "{}"), .held = true } });
    send(u"Refine the objective"_s, session.get());
    ASSERT_TRUE(service.waitForRequests(1));
    model->removeThreads([&](const CampaignIDEThread &t) { return t.id == threadID; });
    service.releaseHeld();
    finishTurns();
    EXPECT_FALSE(std::any_of(model->threads().cbegin(), model->threads().cend(),
        [&](const CampaignIDEThread &t) { return t.id == threadID; }));

    threadID = model->threads().first().id;
    tabID = model->threads().first().agentTabs.first().id;
    chat({ { 0ms, delta(u"a"_s) } }, CannedResponse::Ending::stall);
    send(u"Refine the objective"_s, session.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return agentEntry().text == u"a"_s; }));
    model.reset(); // aborts the transfer
    finishTurns();
    EXPECT_TRUE(service.waitForNoOpenConnections());
}

// A reply still streaming when the process ends never stays half-done in the store: a quit gives
// the entry the local agent's answer (the streamed words are dropped, as for a failed stream), and
// so does the start after a kill, from what a save written meanwhile held. Completed entries and
// the local agent's edits stay as they were.
TEST_F(StreamedReplyTest, AQuitOrAKillDuringTheStreamLeavesTheLocalReply)
{
    session = makeSession(account());
    chat({ { 0ms, delta(u"Slow "_s) } }, CannedResponse::Ending::stall);
    const QList<CampaignTimelineEntry> before = tab().entries;
    send(u"Rebalance budget toward LinkedIn"_s, session.get());
    ASSERT_TRUE(QTest::qWaitFor([&] { return agentEntry().text == u"Slow "_s; }));
    ASSERT_TRUE(agentEntry().localReply);
    const CampaignLocalReply local = *agentEntry().localReply;
    EXPECT_NE(local.text, u"Slow "_s);
    ASSERT_TRUE(local.inlineApproval);
    EXPECT_EQ(local.artifactLink, IDEWorkbenchView::table);
    const qsizetype rows = thread(threadID)->mediaPlanRows.size();

    // Another change saves the thread while the reply streams: what a kill now would leave.
    model->toggleStarThread(threadID);
    model->flushPendingWrites();
    const QString folder = threadStoreFolder();
    QHash<QString, QByteArray> killed;
    for (const QString &name : QDir(folder).entryList(QDir::Files))
        killed.insert(name, readAll(folder + u'/' + name));

    const auto expectSettled = [&](const CampaignIDEThread &stored) {
        const CampaignAgentTab &storedTab = stored.agentTabs.first();
        EXPECT_FALSE(storedTab.isStreaming);
        EXPECT_FALSE(storedTab.statusText);
        ASSERT_EQ(storedTab.entries.size(), before.size() + 2);
        EXPECT_EQ(storedTab.entries.mid(0, before.size()), before);
        const CampaignTimelineEntry &entry = storedTab.entries.last();
        EXPECT_EQ(entry.id, agentEntryID);
        EXPECT_EQ(entry.text, local.text);
        EXPECT_EQ(entry.toolInvocations, local.toolInvocations);
        EXPECT_EQ(entry.inlineApproval, local.inlineApproval);
        EXPECT_EQ(entry.artifactLink, local.artifactLink);
        EXPECT_FALSE(entry.localReply);
        EXPECT_EQ(stored.mediaPlanRows.size(), rows);
    };

    // A quit: the model's end settles the turn before its last writes.
    model.reset();
    finishTurns();
    const QList<CampaignIDEThread> quit = readStoredThreads();
    ASSERT_FALSE(quit.isEmpty());
    ASSERT_EQ(quit.first().id, threadID);
    expectSettled(quit.first());

    // A kill: the files as the save during the stream left them, read by the next start.
    for (auto it = killed.cbegin(); it != killed.cend(); ++it)
        ASSERT_TRUE(test::writeAll(folder + u'/' + it.key(), it.value()));
    startModel();
    expectSettled(*thread(threadID));
    model->flushPendingWrites();
    // Stored as shown, the list's preview included.
    expectSettled(readStoredThreads().first());
    const auto index = decodeJson<QList<CampaignThreadSummary>>(readAll(threadStoreFile()));
    EXPECT_EQ(index.first().preview, local.text.left(CampaignThreadSummary::previewLength));
}

TEST_F(StreamedReplyTest, ManyFastDeltasCoalesceIntoFewEntryUpdates)
{
    session = makeSession(account());
    // 2,000 deltas in 100 bursts of 20, a few milliseconds apart.
    QList<StreamStep> steps;
    for (int burst = 0; burst < 100; ++burst) {
        QByteArray bytes;
        for (int i = 0; i < 20; ++i)
            bytes += delta(u"x"_s);
        steps.append({ 3ms, bytes });
    }
    steps.append({ 0ms, sseBlock("done", "{}") });
    chat(steps);

    QElapsedTimer clock;
    clock.start();
    send(u"Refine the objective"_s, session.get());
    recordPublications();
    finishTurns();
    const qint64 elapsed = clock.elapsed();

    EXPECT_EQ(agentEntry().text, QString(2000, u'x'));
    // One publication at most per interval, plus the first and the final completion.
    const qint64 bound = elapsed / CampaignIDEWorkspaceModel::streamedReplyPublishInterval.count() + 3;
    EXPECT_LE(shown.size(), bound);
    EXPECT_LT(shown.size(), 100);
}

} // namespace
} // namespace orvane::synctest
