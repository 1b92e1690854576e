#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QHash>
#include <QWidget>

#include <functional>

class QLabel;

namespace orvane {

// Which view fills the workbench area of a thread for each workbench tab. A tab view is built
// once per workbench and kept while the user moves between threads: it reads the active thread
// from the model and follows the model's signals itself.
class WorkbenchTabRegistry final {
public:
    using TabFactory = std::function<QWidget *(const WorkspaceViewContext &, QWidget *parent)>;

    void setTab(IDEWorkbenchView view, TabFactory factory);

    // Never null: the registered view, or a placeholder that shows the tab's title.
    [[nodiscard]] QWidget *makeTab(IDEWorkbenchView view, const WorkspaceViewContext &context, QWidget *parent) const;

private:
    QHash<IDEWorkbenchView, TabFactory> m_tabs;
};

// What a workbench tab without a view of its own shows: the tab's title.
class WorkbenchTabPlaceholder final : public QWidget {
    Q_OBJECT
public:
    WorkbenchTabPlaceholder(IDEWorkbenchView view, const WorkspaceViewContext &context, QWidget *parent = nullptr);

    [[nodiscard]] IDEWorkbenchView view() const { return m_view; }
    [[nodiscard]] QString title() const;

private:
    void applyTheme();

    IDEWorkbenchView m_view;
    WorkspaceViewContext m_context;
    QLabel *m_title;
};

// The tab views of the application, registered in StandardWorkbenchTabs.cpp: each tab view adds
// itself there with one line.
[[nodiscard]] WorkbenchTabRegistry standardWorkbenchTabs();

} // namespace orvane
