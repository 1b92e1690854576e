#include "ide/records/IDEWorkbenchView.h"

namespace orvane {

QString icon(IDEWorkbenchView view)
{
    switch (view) {
    case IDEWorkbenchView::document:
        return QStringLiteral("doc.text");
    case IDEWorkbenchView::table:
        return QStringLiteral("tablecells");
    case IDEWorkbenchView::canvas:
        return QStringLiteral("rectangle.3.group");
    case IDEWorkbenchView::dashboard:
        return QStringLiteral("chart.bar.xaxis");
    case IDEWorkbenchView::explore:
        return QStringLiteral("safari");
    case IDEWorkbenchView::localFiles:
        return QStringLiteral("folder.badge.gearshape");
    }
    return {};
}

} // namespace orvane
