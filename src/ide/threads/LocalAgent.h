#pragma once

#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/CampaignTimelineEntry.h"
#include "ide/records/IDEWorkbenchView.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

namespace orvane {

// What the offline agent answers to one prompt: a markdown reply with fixed demonstration figures,
// the tool runs to show under it, an optional execution gate and the workbench view to switch to.
struct LocalAgentExecutionOutcome {
    QString reply;
    QList<CampaignToolInvocation> tools;
    std::optional<CampaignInlineApproval> inlineApproval;
    std::optional<IDEWorkbenchView> targetWorkbench;

    bool operator==(const LocalAgentExecutionOutcome &) const = default;
};

// The keyword-routed agent that answers every turn when no service reply is available (and still
// does the workspace edits when one is). It works on plain records; the model supplies the thread,
// its project and the few facts it needs, then persists what changed.
namespace LocalAgent {

enum class Route { creativeArtboards, mediaPlanRow, competitorTeardown, performanceDashboard, planDocument };

// The first keyword group found anywhere in the lower-cased prompt decides; the plan document
// when none is.
[[nodiscard]] Route route(const QString &prompt);

// The facts of the model a turn reads besides the thread and its project.
struct Context {
    // The slug of the model's selected project (which need not be the thread's), or "campaign".
    QString selectedProjectSlug;
    // The web domain named in the prompt, when there is one.
    std::optional<QString> promptDomain;
    // The workspace root as texts show it.
    QString shownRoot;
};

// What a turn changed outside its thread, for the model to persist and publish.
struct Effects {
    bool projectChanged = false;
    // The artboard the canvas should select after new artboards were added.
    std::optional<QUuid> selectArtboard;
};

struct Result {
    LocalAgentExecutionOutcome outcome;
    Effects effects;
};

// Runs one turn for the trimmed prompt. `thread` is changed in place (rows, competitor research,
// pixel readiness); `project`, the thread's project, is changed in place when it exists (null when
// it no longer does).
[[nodiscard]] Result run(
    const QString &prompt, CampaignIDEThread &thread, CampaignIDEProject *project, const Context &context);

// The outcome when the turn's thread no longer exists.
[[nodiscard]] LocalAgentExecutionOutcome missingThreadOutcome();

// The exact-match keyword list of the conquest row's audience.
[[nodiscard]] QString conquestAudience();

} // namespace LocalAgent

} // namespace orvane
