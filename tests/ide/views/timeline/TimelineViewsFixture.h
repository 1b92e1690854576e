#pragma once

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceModelFixture.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/WorkspaceViewRegistry.h"
#include "testsupport/QtMessages.h"

#include <QDir>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::timelinetest {

using namespace Qt::StringLiterals;

// A workspace model on a temporary home and a theme, with the first thread's first tab to show.
class TimelineViewsTest : public test::WorkspaceModelTest {
protected:
    void SetUp() override
    {
        model = makeModel();
        model->setNoticeDuration(std::chrono::milliseconds(300));
        theme = std::make_unique<ThemeSource>(true);
        ASSERT_FALSE(model->threads().isEmpty());
        threadID = model->threads().constFirst().id;
        tabID = model->threads().constFirst().agentTabs.constFirst().id;
    }

    void TearDown() override
    {
        // Agent turns answer after a pause: let them end before the model goes.
        EXPECT_TRUE(QTest::qWaitFor([this] { return model->agentTurns().idle(); }, 5000));
        host.reset();
        model.reset();
    }

    [[nodiscard]] WorkspaceViewContext context() const
    {
        return WorkspaceViewContext { .model = model.get(),
            .session = nullptr,
            .theme = theme.get(),
            .state = &model->windowState(),
            .mirror = model->mirror(),
            .serverSync = model->serverSync() };
    }

    [[nodiscard]] const CampaignAgentTab &tab() const
    {
        for (const auto &thread : model->threads()) {
            if (thread.id == threadID) {
                for (const auto &t : thread.agentTabs) {
                    if (t.id == tabID)
                        return t;
                }
            }
        }
        static const CampaignAgentTab none;
        return none;
    }

    // Replaces the tab's entries without the fine signals, as a whole-thread change would.
    void setEntries(const QList<CampaignTimelineEntry> &entries)
    {
        model->mutateThread(threadID, [&](CampaignIDEThread &thread) {
            for (auto &t : thread.agentTabs) {
                if (t.id == tabID)
                    t.entries = entries;
            }
        });
    }

    static CampaignTimelineEntry entry(
        const QString &text, CampaignTimelineEntry::EntryRole role = CampaignTimelineEntry::EntryRole::agent)
    {
        return CampaignTimelineEntry { .id = QUuid::createUuid(),
            .role = role,
            .authorName = role == CampaignTimelineEntry::EntryRole::user ? u"You"_s : u"Orvane Native Operator"_s,
            .text = text,
            .timestamp = u"Just now"_s,
            .toolInvocations = {},
            .inlineApproval = std::nullopt,
            .artifactLink = std::nullopt };
    }

    // Shows `widget` in a plain window of the given size and waits until it is exposed.
    void show(QWidget *widget, QSize size = { 460, 640 })
    {
        host = std::make_unique<QWidget>();
        auto *layout = new QVBoxLayout(host.get());
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        widget->setParent(host.get());
        layout->addWidget(widget);
        host->resize(size);
        host->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(host.get()));
    }

    void keepPicture(QWidget *widget, const QString &name) const
    {
        QDir().mkpath(u"/tmp/timeline-grabs"_s);
        widget->grab().save(u"/tmp/timeline-grabs/"_s + name);
    }

    test::ExpectQtWarnings offscreen { { u"propagateSizeHints"_s } };
    std::unique_ptr<CampaignIDEWorkspaceModel> model;
    std::unique_ptr<ThemeSource> theme;
    std::unique_ptr<QWidget> host;
    QUuid threadID;
    QUuid tabID;
};

} // namespace orvane::timelinetest
