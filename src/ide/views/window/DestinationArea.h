#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

#include <optional>

class QLabel;
class QStackedLayout;

namespace orvane {

// The large middle region of the window. It shows the view of the surface that the model's
// destination calls for: the view stays while the surface stays (moving between threads hands the
// thread workbench the other thread), and is replaced when the surface changes. A change is applied
// after the model has finished the operation that made it, so a view is never deleted while its
// own button's click is being handled.
class DestinationArea final : public QWidget {
    Q_OBJECT
public:
    DestinationArea(
        const WorkspaceViewRegistry &registry, const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] std::optional<DestinationSurface> surface() const { return m_surface; }
    [[nodiscard]] DestinationView *currentView() const { return m_view; }

    // Brings the area up to date with the model at once.
    void sync();
    // The widest the area can be on the window's screen; handed to every view it shows.
    void setWidthLimit(std::optional<int> width);

private:
    void scheduleSync();

    const WorkspaceViewRegistry &m_registry;
    WorkspaceViewContext m_context;
    QStackedLayout *m_stack;
    QPointer<DestinationView> m_view;
    std::optional<DestinationSurface> m_surface;
    bool m_syncScheduled = false;
    std::optional<int> m_widthLimit;
};

// What a surface that is not built yet shows: its destination's title.
class DestinationPlaceholder final : public DestinationView {
    Q_OBJECT
public:
    DestinationPlaceholder(DestinationSurface surface, const WorkspaceViewContext &context, QWidget *parent = nullptr);

    void showDestination(const IDEPrimaryDestination &destination) override;
    [[nodiscard]] QString title() const;

private:
    void updateTitle();

    DestinationSurface m_surface;
    WorkspaceViewContext m_context;
    IDEPrimaryDestination m_destination;
    QLabel *m_title;
};

} // namespace orvane
