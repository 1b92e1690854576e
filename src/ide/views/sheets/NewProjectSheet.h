#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace orvane {

class WorkspaceWindowState;

// The new-project sheet: names a campaign project, then creates it with its local folder, gives it
// its launch thread and opens that thread. The name lives in the window's state, so closing the
// sheet keeps what was typed; the sheet checks nothing (an empty name makes an unnamed project).
class NewProjectSheet final : public QWidget {
    Q_OBJECT
public:
    NewProjectSheet(const WorkspaceViewContext &context, QWidget *parent = nullptr);

private:
    void create();

    WorkspaceViewContext m_context;
    QPointer<WorkspaceWindowState> m_state;
    QLineEdit *m_nameField;
};

} // namespace orvane
