#include "app/ContextMenuKey.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace orvane {

bool ContextMenuKey::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    const auto *key = static_cast<QKeyEvent *>(event);
    // A key press reaches the window first, then the focused control (or the open popup): the
    // menu is that control's.
    auto *control = qobject_cast<QWidget *>(watched);
    if (!control || key->key() != Qt::Key_F10 || (key->modifiers() & ~Qt::KeypadModifier) != Qt::ShiftModifier)
        return QObject::eventFilter(watched, event);
    if (control->isEnabled()) {
        // Where the Menu key puts it: at the control's text cursor, or its middle.
        const QPoint at = control->inputMethodQuery(Qt::ImCursorRectangle).toRect().center();
        QContextMenuEvent menu(QContextMenuEvent::Keyboard, at, control->mapToGlobal(at), key->modifiers());
        QCoreApplication::sendEvent(control, &menu);
    }
    return true;
}

} // namespace orvane
