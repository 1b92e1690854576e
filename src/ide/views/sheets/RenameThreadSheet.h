#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QUuid>
#include <QWidget>

class QLineEdit;

namespace orvane {

class WorkspaceWindowState;

// The rename sheet of one thread: the id of the thread held when the sheet opened, and a title
// field bound to the window's rename text. Save hands the text to the model as typed (the model
// trims it and ignores a blank one) and closes the sheet either way.
class RenameThreadSheet final : public QWidget {
    Q_OBJECT
public:
    RenameThreadSheet(const WorkspaceViewContext &context, QWidget *parent = nullptr);

private:
    void save();

    WorkspaceViewContext m_context;
    QPointer<WorkspaceWindowState> m_state;
    QUuid m_threadID;
    QLineEdit *m_titleField;
};

} // namespace orvane
