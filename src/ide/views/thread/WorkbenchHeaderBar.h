#pragma once

#include "ide/records/IDEWorkbenchView.h"
#include "ide/views/kit/Panel.h"
#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QHash>
#include <QUuid>
#include <QWidget>

class QHBoxLayout;
class QLabel;

namespace orvane {

class ClickableButton;
class ElidedLabel;
class SymbolView;

// The bar above a thread's workbench surface: the six workbench tabs, "Save Local" and
// "Approve & Launch". It shows the selection of the thread it is given and never keeps its own.
class WorkbenchHeaderBar final : public Panel {
    Q_OBJECT
public:
    explicit WorkbenchHeaderBar(const WorkspaceViewContext &context, QWidget *parent = nullptr);

    void showThread(const QUuid &threadID, IDEWorkbenchView selected);
    [[nodiscard]] ClickableButton *tabButton(IDEWorkbenchView view) const { return m_tabs.value(view).button; }

    // The object name of a tab's button ("canvasWorkbenchTabButton").
    [[nodiscard]] static QString tabButtonName(IDEWorkbenchView view);
    [[nodiscard]] static const QList<IDEWorkbenchView> &allViews();

    // The tabs' horizontal padding, and the narrower one of a compact bar.
    static constexpr int tabPadding = 10;
    static constexpr int narrowTabPadding = 7;

    [[nodiscard]] QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Tab {
        ClickableButton *button = nullptr;
        SymbolView *icon = nullptr;
        ElidedLabel *title = nullptr;
    };
    void applySelection();
    void arrange();
    // The tab strip's width with the tabs' horizontal padding at `padding`.
    [[nodiscard]] int stripWidth(int padding) const;
    [[nodiscard]] int currentTabPadding() const { return m_compact ? narrowTabPadding : tabPadding; }

    WorkspaceViewContext m_context;
    QUuid m_threadID;
    IDEWorkbenchView m_selected = IDEWorkbenchView::document;
    QHash<IDEWorkbenchView, Tab> m_tabs;
    QLabel *m_saveText = nullptr;
    QWidget *m_actions = nullptr;
    QHBoxLayout *m_firstRow = nullptr;
    QHBoxLayout *m_secondRow = nullptr;
    bool m_twoRows = false;
    bool m_compact = false;
};

} // namespace orvane
