#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QPointer>
#include <QWidget>

class QComboBox;
class QLineEdit;

namespace orvane {

class WorkspaceWindowState;

// The new-thread sheet: a title, the lead persona and an optional first prompt. Creating asks the
// model for the thread in the current project, opened on the persona's workbench; a prompt is sent
// as the first turn at once. The three values live in the window's state and survive the sheet.
class NewThreadSheet final : public QWidget {
    Q_OBJECT
public:
    NewThreadSheet(const WorkspaceViewContext &context, QWidget *parent = nullptr);

private:
    void syncFromState();
    void create();

    WorkspaceViewContext m_context;
    QPointer<WorkspaceWindowState> m_state;
    QLineEdit *m_titleField;
    QComboBox *m_personaPicker;
    QLineEdit *m_promptField;
};

} // namespace orvane
