#include "ide/views/window/WorkspaceViewRegistry.h"

#include "ide/model/ThreadList.h"
#include "ide/views/window/DestinationArea.h"

namespace orvane {

void WorkspaceViewRegistry::setSurface(DestinationSurface surface, SurfaceFactory factory)
{
    m_surfaces.emplace(surface, std::move(factory));
}

void WorkspaceViewRegistry::setSheet(WorkspaceSheet sheet, WidgetFactory factory)
{
    m_sheets.emplace(sheet, std::move(factory));
}

void WorkspaceViewRegistry::setRegion(WorkspaceRegion region, WidgetFactory factory)
{
    m_regions.emplace(region, std::move(factory));
}

DestinationView *WorkspaceViewRegistry::makeSurface(
    DestinationSurface surface, const WorkspaceViewContext &context, QWidget *parent) const
{
    if (const auto found = m_surfaces.constFind(surface); found != m_surfaces.cend() && *found) {
        if (DestinationView *view = (*found)(context, parent))
            return view;
    }
    return new DestinationPlaceholder(surface, context, parent);
}

QWidget *WorkspaceViewRegistry::makeSheetContent(
    WorkspaceSheet sheet, const WorkspaceViewContext &context, QWidget *parent) const
{
    const auto found = m_sheets.constFind(sheet);
    return found != m_sheets.cend() && *found ? (*found)(context, parent) : nullptr;
}

QWidget *WorkspaceViewRegistry::makeRegion(
    WorkspaceRegion region, const WorkspaceViewContext &context, QWidget *parent) const
{
    const auto found = m_regions.constFind(region);
    return found != m_regions.cend() && *found ? (*found)(context, parent) : nullptr;
}

DestinationSurface surfaceFor(const IDEPrimaryDestination &destination, const ThreadList &threads)
{
    switch (destination.kind()) {
    case IDEPrimaryDestination::Kind::thread: {
        return threads.thread(*destination.threadID()) ? DestinationSurface::threadWorkbench
                                                       : DestinationSurface::operationsHome;
    }
    case IDEPrimaryDestination::Kind::projects:
        return DestinationSurface::operationsHome;
    case IDEPrimaryDestination::Kind::campaigns:
        return DestinationSurface::campaigns;
    case IDEPrimaryDestination::Kind::agents:
        return DestinationSurface::agents;
    case IDEPrimaryDestination::Kind::assets:
        return DestinationSurface::assets;
    case IDEPrimaryDestination::Kind::connections:
        return DestinationSurface::connections;
    case IDEPrimaryDestination::Kind::reports:
        return DestinationSurface::reports;
    case IDEPrimaryDestination::Kind::settings:
        return DestinationSurface::settings;
    }
    Q_UNREACHABLE();
    return DestinationSurface::operationsHome;
}

} // namespace orvane
