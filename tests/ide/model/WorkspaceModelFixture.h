#pragma once

#include "ide/copilot/CampaignCopilotStore.h"
#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/ThreadStore.h"
#include "ide/notifications/CampaignNotificationCenter.h"
#include "testsupport/desktop/TemporaryHome.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <qcoro/qcorotimer.h>

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>

namespace orvane::test {

// An authorizer that reports a fixed state and records deliveries.
class RecordingAuthorizer final : public NativeNotificationAuthorizing {
public:
    explicit RecordingAuthorizer(NativeNotificationState state = NativeNotificationState::notRequested())
        : m_state(std::move(state))
    {
    }
    QCoro::Task<NativeNotificationState> authorizationState() override
    {
        ++stateQueries;
        co_return m_state;
    }
    QCoro::Task<bool> requestAuthorization() override
    {
        co_return m_state.kind() == NativeNotificationState::Kind::authorized;
    }
    QCoro::Task<> deliver(QString title, QString body, QString identifier) override
    {
        if (suspendDelivery)
            co_await QCoro::sleepFor(std::chrono::milliseconds(1));
        delivered.append({ title, body, identifier });
        if (failure)
            throw NativeNotificationError(*failure);
        co_return;
    }

    struct Delivery {
        QString title, body, identifier;
    };
    QList<Delivery> delivered;
    int stateQueries = 0;
    std::optional<QString> failure;
    // The delivery then ends on a later turn of the event loop instead of at once.
    bool suspendDelivery = false;

private:
    NativeNotificationState m_state;
};

inline std::string utf8(const QString &text)
{
    return text.toStdString();
}

inline QByteArray readAll(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

inline bool writeAll(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(path.section(u'/', 0, -2));
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

// A temporary home with the standard locations in it, and models made in it.
class WorkspaceModelTest : public ::testing::Test {
protected:
    TemporaryHome home;

    [[nodiscard]] QString workspaceRoot() const { return home.path() + u"/Documents/Orvane"; }
    [[nodiscard]] QString stateFile() const { return home.dataHome() + u"/Orvane/campaign-ide-state.json"; }
    // The thread store's index, written last by every save that changes it.
    [[nodiscard]] QString threadStoreFile() const { return threadStoreFolder() + u"/index.json"; }
    [[nodiscard]] QString threadStoreFolder() const
    {
        return home.configHome() + u"/Orvane/defaults/com.orvane.app.macos.ide.threads";
    }
    // The single file earlier versions kept every thread in.
    [[nodiscard]] QString legacyThreadStoreFile() const
    {
        return home.configHome() + u"/Orvane/defaults/com.orvane.app.macos.ide.threads.v2.json";
    }
    // Every stored thread, bodies read; empty when nothing (readable) is stored.
    [[nodiscard]] QList<CampaignIDEThread> readStoredThreads() const
    {
        return ThreadStore::readAll(threadStoreFolder()).value_or(QList<CampaignIDEThread>());
    }
    [[nodiscard]] QString projectFile(const QString &slug, const QString &name) const
    {
        return workspaceRoot() + u'/' + slug + u'/' + name;
    }

    std::unique_ptr<CampaignIDEWorkspaceModel> makeModel(
        std::optional<QList<CampaignIDEProject>> projects = std::nullopt)
    {
        authorizer = std::make_shared<RecordingAuthorizer>();
        auto model
            = std::make_unique<CampaignIDEWorkspaceModel>(projects, new CampaignNotificationCenter({}, authorizer),
                new CampaignCopilotStore(), CampaignIDEWorkspaceModel::standardLocations());
        model->setNoticeDuration(std::chrono::milliseconds(60));
        model->flushPendingWrites();
        return model;
    }

    // A restart: the model ends as a quit ends it (its writes flushed) and a new one starts on the
    // same folders. It shows its first thread; the others hold their heads only until read.
    void restart(std::unique_ptr<CampaignIDEWorkspaceModel> &model)
    {
        model.reset();
        model = makeModel();
    }

    std::shared_ptr<RecordingAuthorizer> authorizer;
};

} // namespace orvane::test
