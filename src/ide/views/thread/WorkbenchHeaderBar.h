#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

class QLabel;

namespace orvane {

class ClickableButton;
class SymbolView;

// The bar above a thread's workbench surface: the six workbench tabs, "Save Local" and
// "Approve & Launch". It shows the selection of the thread it is given and never keeps its own.
class WorkbenchHeaderBar final : public QWidget {
    Q_OBJECT
public:
    explicit WorkbenchHeaderBar(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    void showThread(const QUuid &threadID, IDEWorkbenchView selected);
    [[nodiscard]] IDEWorkbenchView selectedView() const { return m_selected; }
    [[nodiscard]] ClickableButton *tabButton(IDEWorkbenchView view) const { return m_tabs.value(view).button; }

    // The object name of a tab's button ("canvasWorkbenchTabButton").
    [[nodiscard]] static QString tabButtonName(IDEWorkbenchView view);
    [[nodiscard]] static const QList<IDEWorkbenchView> &allViews();

    // Narrower than the full bar: the tabs other than the selected one show only their symbol.
    [[nodiscard]] bool isCompact() const { return m_compact; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Tab {
        ClickableButton *button = nullptr;
        SymbolView *icon = nullptr;
        QLabel *title = nullptr;
    };
    void applySelection();

    WorkspaceViewContext m_context;
    QUuid m_threadID;
    IDEWorkbenchView m_selected = IDEWorkbenchView::document;
    QHash<IDEWorkbenchView, Tab> m_tabs;
    QLabel *m_saveText = nullptr;
    int m_fullWidth = 0;
    bool m_compact = false;
};

} // namespace orvane
