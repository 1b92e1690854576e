#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QWidget>

class QTableView;

namespace orvane {

class MediaPlanTableModel;
class ThemedLabel;
class WorkbenchThreadBinding;

// The media plan and trafficking table of the active thread: a header bar with the totals and the
// add and optimize buttons over an editable spreadsheet of its flights.
class MediaPlanTableView final : public QWidget {
    Q_OBJECT
public:
    static const QString optimizePrompt;

    MediaPlanTableView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] MediaPlanTableModel *tableModel() const { return m_tableModel; }
    [[nodiscard]] QTableView *table() const { return m_table; }

private:
    void refreshTotals();
    void addRow();
    void optimize();
    void applyTheme();

    WorkspaceViewContext m_context;
    WorkbenchThreadBinding *m_binding;
    MediaPlanTableModel *m_tableModel;
    ThemedLabel *m_totals = nullptr;
    QTableView *m_table = nullptr;
};

} // namespace orvane
