#pragma once

#include "../StandaloneViewFixture.h"

#include <QAbstractButton>
#include <QDir>

namespace orvane::workbenchtest {

using namespace Qt::StringLiterals;

// A workbench tab view on its own, showing the first seed thread.
class WorkbenchViewTest : public test::StandaloneViewTest {
protected:
    // The thread the views show: the first seed thread, opened, with the given media plan.
    QUuid openThread(const QList<CampaignMediaPlanRow> &rows)
    {
        const QUuid id = model->threads().first().id;
        model->openThread(id);
        model->mutateThread(id, [&rows](CampaignIDEThread &thread) { thread.mediaPlanRows = rows; });
        model->flushPendingWrites();
        return id;
    }

    static CampaignMediaPlanRow row(const QString &name, double daily, double cpa, const QString &status = u"Draft"_s)
    {
        return CampaignMediaPlanRow::make(QUuid::createUuid(), u"LinkedIn"_s, name, u"Prospecting"_s, u"Ops leaders"_s,
            u"Single Image 1:1"_s, daily, std::nullopt, u"Target CPA"_s, cpa, qint64(daily * 30 / std::max(cpa, 1.0)),
            status);
    }
};

} // namespace orvane::workbenchtest
