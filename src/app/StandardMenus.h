#pragma once

#include <QList>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QWidget;

namespace orvane {

// The menus every desktop application has, around the window's own: "File" (Close Window, Quit)
// and "Edit" (acting on the focused text field) before it, "Help" (About) after it. Shortcuts are
// the platform's standard key sequences.
class StandardMenus final : public QObject {
    Q_OBJECT

public:
    enum class EditItem { undo, redo, cut, copy, paste, selectAll };

    // Adds "File" and "Edit" to the end of the window's menu bar; addHelpMenu() adds "Help" later,
    // after the menus that go between.
    explicit StandardMenus(QMainWindow *window);
    void addHelpMenu();

    [[nodiscard]] QAction *editAction(EditItem item) const { return m_editActions.at(int(item)); }
    // The text field the Edit items act on: the window's focused one, if it is a text field.
    [[nodiscard]] QWidget *editTarget() const { return m_target; }

    // Closes every application window (each may refuse), then ends the event loop, which saves
    // what is still pending exactly as a termination signal does.
    static void quitApplication();

private:
    void followFocus(QWidget *now);
    void updateEditActions();
    void triggerEdit(EditItem item);
    void showAbout();

    QMainWindow *m_window;
    QMenu *m_file;
    QMenu *m_edit;
    QMenu *m_help = nullptr;
    QList<QAction *> m_editActions;
    QPointer<QWidget> m_target;
    QList<QMetaObject::Connection> m_targetConnections;
};

} // namespace orvane
