#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace orvane {

class CommandPaletteResultsModel;
class FittedListView;

// The command palette: a query field over the matching threads (open one) and specialist personas
// (start a thread led by one, its starter prompt sent at once). Typing writes the window's query
// and re-filters the list in place; the field is never rebuilt. No row is preselected and Return in
// the field picks nothing: a row is picked by pressing it, with the mouse or, once Tab has reached
// it, with Space or Return, as a button. Every pick closes the palette.
class CommandPaletteSheet final : public QWidget {
    Q_OBJECT
public:
    static constexpr int maximumListHeight = 340;

    CommandPaletteSheet(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] CommandPaletteResultsModel *results() const { return m_results; }

private:
    void pick(const QModelIndex &index);
    void dismiss();

    WorkspaceViewContext m_context;
    QLineEdit *m_queryField;
    CommandPaletteResultsModel *m_results;
    FittedListView *m_list;
};

} // namespace orvane
