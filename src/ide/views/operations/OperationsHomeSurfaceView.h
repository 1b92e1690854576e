#pragma once

#include "ide/views/operations/OperationsHomeCards.h"
#include "ide/views/operations/OperationsSurface.h"

#include <QColor>
#include <functional>

class QLabel;

namespace orvane {

class ClickableButton;
class ElidedLabel;

// The landing page of the window: the two creation buttons, four metric tiles that lead into the
// workspace, a card per agent thread and the recommended next actions, each started in one click.
class OperationsHomeSurfaceView final : public operations::OperationsSurfaceView {
    Q_OBJECT
public:
    OperationsHomeSurfaceView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] operations::ThreadListModel *threadModel() const { return m_threads; }
    [[nodiscard]] operations::HomeActionListModel *actionModel() const { return m_actions; }

private:
    struct MetricTile {
        ClickableButton *button = nullptr;
        QLabel *value = nullptr;
        ElidedLabel *subtitle = nullptr;
    };
    [[nodiscard]] QWidget *header();
    [[nodiscard]] QWidget *metricRow();
    [[nodiscard]] MetricTile homeMetricCard(
        const QString &objectName, const QString &title, ThemeColor accent, std::function<void()> action);
    [[nodiscard]] QWidget *threadSection();
    [[nodiscard]] QWidget *recommendedSection();
    void updateMetrics();
    void openFirstThread(std::optional<IDEWorkbenchView> workbench);

    operations::ThreadListModel *m_threads;
    operations::HomeActionListModel *m_actions;
    MetricTile m_activeThreads;
    MetricTile m_connectedPlatforms;
    MetricTile m_trackedFlights;
    MetricTile m_pendingDecisions;
};

} // namespace orvane
