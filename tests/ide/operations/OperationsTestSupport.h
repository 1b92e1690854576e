#pragma once

#include "ide/model/WorkspaceModelFixture.h"

#include <QSignalSpy>

#include <memory>

namespace orvane::test {

// A model started as the window starts it (sample projects, seed threads) in a temporary home, with
// finders for what the operations change and readers of what they stored.
class OperationsTest : public WorkspaceModelTest {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    [[nodiscard]] const CampaignIDEThread *thread(const QUuid &id) const
    {
        for (const CampaignIDEThread &candidate : model->threads()) {
            if (candidate.id == id)
                return &candidate;
        }
        return nullptr;
    }
    [[nodiscard]] const CampaignIDEProject *project(const QUuid &id) const
    {
        for (const CampaignIDEProject &candidate : model->projects()) {
            if (candidate.id == id)
                return &candidate;
        }
        return nullptr;
    }
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
    [[nodiscard]] QList<CampaignIDEProject> storedProjects()
    {
        model->flushPendingWrites();
        const QByteArray bytes = readAll(stateFile());
        return bytes.isEmpty() ? QList<CampaignIDEProject>() : decodeJson<QList<CampaignIDEProject>>(bytes);
    }
    [[nodiscard]] QString notice() const { return model->statusNotice().value_or(QString()); }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

} // namespace orvane::test
