#pragma once

#include "ide/records/OrvaneWebParitySeeds.h"

#include <QStringBuilder>

namespace orvane::bench {

// One stored thread of the benchmarks: the first seed thread with 3 tabs of 30 entries each,
// about 200 KB of JSON, under a fresh id and the title "Campaign thread <index>".
inline CampaignIDEThread largeThread(const CampaignIDEThread &seed, int index)
{
    using namespace Qt::StringLiterals;
    const CampaignTimelineEntry sample = seed.agentTabs.first().entries.at(1);
    CampaignIDEThread thread = seed;
    thread.id = QUuid::createUuid();
    thread.title = u"Campaign thread "_s % QString::number(index);
    thread.agentTabs.clear();
    for (int a = 0; a < 3; ++a) {
        CampaignAgentTab tab = seed.agentTabs.first();
        tab.id = QUuid::createUuid();
        tab.entries.clear();
        for (int e = 0; e < 30; ++e) {
            CampaignTimelineEntry entry = sample;
            entry.id = QUuid::createUuid();
            entry.text = sample.text % u" #"_s % QString::number(e);
            tab.entries.append(entry);
        }
        thread.agentTabs.append(tab);
    }
    thread.activeAgentTabID = thread.agentTabs.first().id;
    return thread;
}

} // namespace orvane::bench
