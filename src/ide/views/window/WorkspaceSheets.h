#pragma once

#include "ide/views/window/WorkspaceViewRegistry.h"

#include <QDialog>
#include <QHash>
#include <QPointer>

namespace orvane {

// One sheet of the window: a window-modal dialog of the window on panelBackground, as large as its
// content and never resized or maximised by the desktop. The four sheets the window frames itself
// have a fixed width, padding and spacing; the launch approval is its content alone.
class WorkspaceSheetFrame final : public QDialog {
    Q_OBJECT
public:
    struct Frame {
        int width = 0; // 0: the content's own width
        int padding = 0;
        int spacing = 0;
    };
    [[nodiscard]] static Frame frameOf(WorkspaceSheet sheet);

    WorkspaceSheetFrame(WorkspaceSheet sheet, const ThemeSource &theme, QWidget *window);

    [[nodiscard]] WorkspaceSheet sheet() const { return m_sheet; }
    void setContent(QWidget *content);
    [[nodiscard]] QWidget *content() const { return m_content; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    WorkspaceSheet m_sheet;
    QPointer<const ThemeSource> m_theme;
    QWidget *m_content = nullptr;
};

// Presents the five sheets while their state asks for them: the window's flags for new project
// and new thread, its renaming thread, the model's command-palette flag and its active launch
// request. Closing a sheet by the desktop's means (Escape, the close button) writes false or none
// back through the same state; clearing the state closes the sheet. Sheets are built when shown
// and deleted after they close, never inside a handler of their own.
class WorkspaceSheets final : public QObject {
    Q_OBJECT
public:
    WorkspaceSheets(const WorkspaceViewRegistry &registry, const WorkspaceViewContext &context, QWidget *window);

    // The sheet on screen, if it is.
    [[nodiscard]] WorkspaceSheetFrame *sheet(WorkspaceSheet sheet) const { return m_open.value(sheet); }

private:
    [[nodiscard]] bool wanted(WorkspaceSheet sheet) const;
    void sync(WorkspaceSheet sheet);
    void dismissed(WorkspaceSheet sheet);
    [[nodiscard]] QWidget *placeholder(WorkspaceSheet sheet, QWidget *parent);

    const WorkspaceViewRegistry &m_registry;
    WorkspaceViewContext m_context;
    QPointer<QWidget> m_window;
    QHash<WorkspaceSheet, QPointer<WorkspaceSheetFrame>> m_open;
};

} // namespace orvane
