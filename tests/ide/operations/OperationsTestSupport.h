#pragma once

#include "ide/model/WorkspaceModelFixture.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>
#include <optional>

namespace orvane::test {

// A model started as the window starts it (sample projects, seed threads) in a temporary home, with
// finders for what the operations change and readers of what they stored.
class OperationsTest : public WorkspaceModelTest {
protected:
    void SetUp() override { startModel(); }
    void TearDown() override
    {
        finishTurns();
        model.reset();
    }

    void startModel(std::optional<QList<CampaignIDEProject>> projects = std::nullopt)
    {
        model.reset();
        model = makeModel(std::move(projects));
        turns = model->agentTurns();
    }

    // Waits until every agent turn (each answers in a task of its own) has ended and its writes have
    // landed.
    void finishTurns()
    {
        ASSERT_TRUE(QTest::qWaitFor([this] { return turns->idle(); }, 15000));
        if (model)
            model->flushPendingWrites();
    }

    [[nodiscard]] const CampaignIDEThread *thread(const QUuid &id) const { return model->thread(id); }
    [[nodiscard]] const CampaignIDEProject *project(const QUuid &id) const { return model->project(id); }
    [[nodiscard]] const CampaignIDEThread &firstThread() const { return model->threads().first(); }
    // The first thread of another project than the first thread's.
    [[nodiscard]] const CampaignIDEThread &otherProjectThread() const
    {
        for (const CampaignIDEThread &candidate : model->threads()) {
            if (candidate.projectID != firstThread().projectID)
                return candidate;
        }
        ADD_FAILURE() << "the seed threads cover one project only";
        return firstThread();
    }

    // What the stores hold once every pending write has landed; empty when nothing was stored.
    [[nodiscard]] QList<CampaignIDEThread> storedThreads()
    {
        model->flushPendingWrites();
        return readStoredThreads();
    }
    [[nodiscard]] bool hasStoredThreads() const { return QFile::exists(threadStoreFile()); }
    [[nodiscard]] QList<CampaignIDEProject> storedProjects()
    {
        model->flushPendingWrites();
        const QByteArray bytes = readAll(stateFile());
        return bytes.isEmpty() ? QList<CampaignIDEProject>() : decodeJson<QList<CampaignIDEProject>>(bytes);
    }
    [[nodiscard]] QString notice() const { return model->statusNotice().value_or(QString()); }

    std::optional<InFlightTasks::Watch> turns; // outlives the model
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

} // namespace orvane::test
