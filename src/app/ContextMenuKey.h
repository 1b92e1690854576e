#pragma once

#include <QObject>

namespace orvane {

// Shift+F10 opens the context menu of the focused control, as the Menu key does: the control gets
// the same keyboard context-menu event (a sidebar row its menu, a text field its editing menu).
// Installed on the application, for every window.
class ContextMenuKey final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

} // namespace orvane
