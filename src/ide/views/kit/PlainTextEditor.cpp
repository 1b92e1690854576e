#include "ide/views/kit/PlainTextEditor.h"

#include <QKeyEvent>

namespace orvane {

PlainTextEditor::PlainTextEditor(QWidget *parent) : QPlainTextEdit(parent)
{
}

void PlainTextEditor::keyPressEvent(QKeyEvent *event)
{
    const bool tab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    if (tab && (event->modifiers() & Qt::ControlModifier)) {
        const bool onward = event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier);
        // The text edit refuses to move the focus while Tab types a character: it moves as it
        // would for a Tab that changes focus, along the window's Tab chain.
        const bool typesTab = !tabChangesFocus();
        setTabChangesFocus(true);
        focusNextPrevChild(onward);
        setTabChangesFocus(!typesTab);
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

} // namespace orvane
