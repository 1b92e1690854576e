#pragma once

#include "../StandaloneViewFixture.h"

namespace orvane::timelinetest {

using namespace Qt::StringLiterals;
using test::child;

// A view of the first thread's first agent tab on its own.
class TimelineViewsTest : public test::StandaloneViewTest {
protected:
    void SetUp() override
    {
        StandaloneViewTest::SetUp();
        ASSERT_FALSE(model->threads().isEmpty());
        threadID = model->threads().constFirst().id;
        tabID = model->threads().constFirst().agentTabs.constFirst().id;
    }

    [[nodiscard]] const CampaignAgentTab &tab() const
    {
        if (const CampaignIDEThread *thread = model->thread(threadID)) {
            for (const auto &t : thread->agentTabs) {
                if (t.id == tabID)
                    return t;
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

    QUuid threadID;
    QUuid tabID;
};

} // namespace orvane::timelinetest
