#pragma once

#include "ide/model/WorkspaceModelFixture.h"

#include <QByteArray>
#include <QString>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::threadtest {

using test::readAll;
using test::utf8;

inline const CampaignIDEThread *findThread(const CampaignIDEWorkspaceModel &model, const QUuid &id)
{
    for (const CampaignIDEThread &thread : model.threads()) {
        if (thread.id == id)
            return &thread;
    }
    return nullptr;
}

// The workspace model fixture with a model started in the temporary home (samples and seeds, as
// the window starts it) and views of the stored thread list.
class ThreadModelTest : public test::WorkspaceModelTest {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    // The thread list as the store holds it after every pending write has landed.
    [[nodiscard]] QList<CampaignIDEThread> storedThreads()
    {
        model->flushPendingWrites();
        return readStoredThreads();
    }

    [[nodiscard]] bool hasStoredThreads() const { return QFile::exists(threadStoreFile()); }

    [[nodiscard]] const CampaignIDEThread &thread(const QUuid &id) const
    {
        const CampaignIDEThread *found = findThread(*model, id);
        EXPECT_TRUE(found);
        return *found;
    }

    [[nodiscard]] const CampaignIDEThread &firstThread() const { return model->threads().first(); }

    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

} // namespace orvane::threadtest
