#include "ide/views/workbench/DefaultPlanMarkdown.h"

#include <QStringBuilder>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace orvane {

QString defaultPlanMarkdown(const std::optional<CampaignIDEProject> &project, const QString &threadTitle)
{
    const QString title = project ? project->name : threadTitle;
    const QString budget = project ? project->budget() : u"$45,000"_s;
    const QString status = project ? project->status : u"Active"_s;
    QStringList channels { u"LinkedIn"_s, u"Google Search"_s, u"Reddit"_s };
    if (project)
        channels.append(u"X"_s);
    const QString objective = project ? project->objective : QString();
    const QString audience = project ? project->audience : QString();

    return u"# "_s % title % u"\n\n- **Budget:** "_s % budget % u"\n- **Status:** "_s % status % u"\n- **Channels:** "_s
        % channels.join(u", "_s) % u"\n\n## Objective\n"_s % objective % u"\n\n## Target Audience\n"_s % audience;
}

} // namespace orvane
