#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QWidget>

namespace orvane {

class FittedListView;
class RecommendedActionListModel;

// The copilot drawer's content: the "WORKSPACE COPILOT" header with its close button, and a
// scrolling list of quick action cards, one per recommended action. A card starts the action's
// thread through the model; the drawer stays open. It has no input and no conversation of its own.
class CopilotDrawer final : public QWidget {
    Q_OBJECT
public:
    CopilotDrawer(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] RecommendedActionListModel *actions() const { return m_actions; }

private:
    void closeDrawer();
    void start(const QModelIndex &index);

    WorkspaceViewContext m_context;
    RecommendedActionListModel *m_actions;
    FittedListView *m_cards;
};

} // namespace orvane
