#pragma once

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "testsupport/desktop/TemporaryHome.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace orvane::threadtest {

// QString has no gtest printer; comparing as UTF-8 gives readable failure messages.
inline std::string utf8(const QString &text)
{
    return text.toStdString();
}

inline QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline const CampaignIDEThread *findThread(const CampaignIDEWorkspaceModel &model, const QUuid &id)
{
    for (const CampaignIDEThread &thread : model.threads()) {
        if (thread.id == id)
            return &thread;
    }
    return nullptr;
}

// A model started in a fresh temporary home (samples and seeds), as the window starts it.
class ThreadModelTest : public ::testing::Test {
protected:
    void SetUp() override { model = makeModel(); }
    void TearDown() override { model.reset(); }

    std::unique_ptr<CampaignIDEWorkspaceModel> makeModel(
        std::optional<QList<CampaignIDEProject>> projects = std::nullopt)
    {
        auto made = std::make_unique<CampaignIDEWorkspaceModel>(projects, new CampaignNotificationCenter({}, nullptr),
            new CampaignCopilotStore(), CampaignIDEWorkspaceModel::standardLocations());
        made->setNoticeDuration(std::chrono::milliseconds(50));
        made->flushPendingWrites();
        return made;
    }

    [[nodiscard]] QString workspaceRoot() const { return home.path() + u"/Documents/Orvane"; }
    [[nodiscard]] QString projectFile(const QString &slug, const QString &name) const
    {
        return workspaceRoot() + u'/' + slug + u'/' + name;
    }

    // The thread list as the store holds it after every pending write has landed.
    [[nodiscard]] QList<CampaignIDEThread> storedThreads()
    {
        model->flushPendingWrites();
        const std::optional<QByteArray> bytes
            = platform::UserDefaults::standard().value(CampaignIDEWorkspaceModel::threadsDefaultsKey);
        if (!bytes)
            return {};
        return decodeJson<QList<CampaignIDEThread>>(*bytes);
    }

    [[nodiscard]] bool hasStoredThreads() const
    {
        return platform::UserDefaults::standard().contains(CampaignIDEWorkspaceModel::threadsDefaultsKey);
    }

    [[nodiscard]] const CampaignIDEThread &thread(const QUuid &id) const
    {
        const CampaignIDEThread *found = findThread(*model, id);
        EXPECT_TRUE(found);
        return *found;
    }

    [[nodiscard]] const CampaignIDEThread &firstThread() const { return model->threads().first(); }

    test::TemporaryHome home;
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
};

} // namespace orvane::threadtest
