#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QWidget>

class QTableView;

namespace orvane {

class EdgeReservingTable;
class MediaPlanTableModel;
class ThemedLabel;
class WorkbenchThreadBinding;

// The media plan and trafficking table of the active thread: a header bar with the totals and the
// add and optimize buttons over an editable spreadsheet of its flights. When the flights are wider
// than the view, the campaign name and audience columns give way down to a minimum, and if that is
// not enough, the status and delete button stay pinned beside the right edge (the two texts then
// take the room of a column the edge would cut too short for its title). The arrow keys move a
// ringed current cell; Return, F2, typing or a click open a name or audience field.
class MediaPlanTableView final : public QWidget {
    Q_OBJECT
public:
    static const QString optimizePrompt;

    MediaPlanTableView(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] MediaPlanTableModel *tableModel() const { return m_tableModel; }
    [[nodiscard]] QTableView *table() const;
    // The status and delete columns pinned beside the table's right edge, in a margin the table
    // keeps free for them; shown only while the table scrolls sideways.
    [[nodiscard]] QTableView *pinnedColumns() const { return m_pinned; }
    // The width of the pinned columns.
    [[nodiscard]] static int pinnedWidth();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void setUpSheet(QTableView *sheet);
    // Sizes the text columns for that much room; the width of all the columns.
    int fitTextColumns(int room);
    void placePinnedColumns();
    void refreshTotals();
    void addRow();
    void optimize();
    void applyTheme();

    WorkspaceViewContext m_context;
    WorkbenchThreadBinding *m_binding;
    MediaPlanTableModel *m_tableModel;
    ThemedLabel *m_totals = nullptr;
    EdgeReservingTable *m_table = nullptr;
    QTableView *m_pinned = nullptr;
    QWidget *m_pinRule = nullptr;
};

} // namespace orvane
