#include "ide/views/kit/CappedTextEdit.h"

#include "ide/views/kit/LongText.h"

#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMetaMethod>
#include <QMimeData>
#include <QPointer>
#include <QScrollBar>
#include <QTextBlock>

#include <algorithm>
#include <limits>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// The longest line `inserted` makes when it comes after `lead` characters of a line and before
// `tail` characters of it.
qsizetype longestLineAfterInsert(const QString &inserted, qsizetype lead, qsizetype tail)
{
    const qsizetype firstBreak = inserted.indexOf(u'\n');
    if (firstBreak < 0)
        return lead + inserted.size() + tail;
    qsizetype longest = lead + firstBreak;
    qsizetype start = firstBreak + 1;
    for (qsizetype end = inserted.indexOf(u'\n', start); end >= 0; end = inserted.indexOf(u'\n', start)) {
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return std::max(longest, inserted.size() - start + tail);
}

} // namespace

CappedTextEdit::CappedTextEdit(QWidget *parent) : PlainTextEditor(parent)
{
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_quiet && !isCut())
            Q_EMIT userEdited(toPlainText());
    });
}

void CappedTextEdit::showText(const QString &text, bool newDocument)
{
    qsizetype longest = 0;
    const QString shown = cutLongLines(text, &longest);
    m_longestLine = longest;
    applyReadOnly();
    if (!newDocument && toPlainText() == shown)
        return;
    // Another text: a paste before it is no longer the edit to undo.
    m_beforeLongPaste = QString();
    const int position = textCursor().position();
    const int scroll = verticalScrollBar()->value();
    m_quiet = true;
    setPlainText(shown);
    m_quiet = false;
    if (newDocument) {
        moveCursor(QTextCursor::Start);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, document()->characterCount() - 1));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scroll);
}

void CappedTextEdit::showModelText(const QString &text, bool newDocument)
{
    if (!newDocument && hasFocus() && !isCut()) {
        qsizetype longest = 0;
        // Only a text to cut is worth the scan's result here; what the user types stays.
        static_cast<void>(cutLongLines(text, &longest));
        if (longest == 0)
            return;
    }
    showText(text, newDocument);
}

void CappedTextEdit::setEditable(bool editable)
{
    m_editable = editable;
    applyReadOnly();
}

QString CappedTextEdit::cutNote() const
{
    return isCut() ? cutLineNote(m_longestLine) : QString();
}

bool CappedTextEdit::undoLongPaste()
{
    if (!canUndoLongPaste())
        return false;
    const QString before = m_beforeLongPaste;
    Q_EMIT userEdited(before);
    showText(before);
    return true;
}

void CappedTextEdit::applyReadOnly()
{
    setReadOnly(!m_editable || isCut());
}

void CappedTextEdit::insertFromMimeData(const QMimeData *source)
{
    if (isReadOnly() || !source || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    const QString inserted = source->text();
    const QTextCursor cursor = textCursor();
    const QTextBlock first = document()->findBlock(cursor.selectionStart());
    const QTextBlock last = document()->findBlock(cursor.selectionEnd());
    const qsizetype lead = cursor.selectionStart() - first.position();
    const qsizetype tail = last.position() + last.length() - 1 - cursor.selectionEnd();
    if (longestLineAfterInsert(inserted, lead, tail) <= shownLineLimit) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    // Laid out, the pasted line would hold the window for seconds: the editor shows it cut, and
    // the whole text goes to its owner. What the owner shows of it then stays the edit to undo.
    const QString before = toPlainText();
    QString whole = before;
    whole.replace(cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart(), inserted);
    showText(whole);
    const QPointer<CappedTextEdit> alive(this);
    Q_EMIT userEdited(whole);
    if (alive && isCut())
        m_beforeLongPaste = before;
}

void CappedTextEdit::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Undo && undoLongPaste()) {
        event->accept();
        return;
    }
    // A cut text cannot be edited, only cleared as a whole.
    const bool erase = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    const QTextCursor cursor = textCursor();
    if (isCut() && erase && m_editable && cursor.selectionStart() == 0
        && cursor.selectionEnd() == document()->characterCount() - 1) {
        showText(QString());
        Q_EMIT userEdited(QString());
        event->accept();
        return;
    }
    PlainTextEditor::keyPressEvent(event);
}

CappedLineEdit::CappedLineEdit(QWidget *parent) : QLineEdit(parent)
{
    // The field's own limit would cut a long paste without a word: the text is kept whole and
    // shown cut instead.
    setMaxLength(std::numeric_limits<int>::max());
}

void CappedLineEdit::showText(const QString &text, bool newRecord)
{
    // Another text, or another record's: a paste before it is no longer the edit to undo. Put in
    // anew, the field's own history goes too (setText() clears it).
    if (newRecord || text != fullText())
        m_beforeLongPaste = QString();
    if (text.size() > shownLineLimit) {
        m_fullText = text;
        const QString shown = labelText(text, shownLineLimit);
        if (newRecord || QLineEdit::text() != shown) {
            setText(shown);
            setCursorPosition(0);
        }
    } else {
        m_fullText = QString();
        if (newRecord || QLineEdit::text() != text)
            setText(text);
    }
    applyReadOnly();
}

void CappedLineEdit::setEditable(bool editable)
{
    m_editable = editable;
    applyReadOnly();
}

QString CappedLineEdit::cutNote() const
{
    return isCut() ? cutLineNote(m_fullText.size()) : QString();
}

void CappedLineEdit::pasteWhole()
{
    insertWhole(QGuiApplication::clipboard()->text());
}

bool CappedLineEdit::undoLongPaste()
{
    if (!canUndoLongPaste())
        return false;
    const QString before = m_beforeLongPaste;
    showText(before);
    Q_EMIT textEdited(before);
    Q_EMIT editingFinished();
    return true;
}

void CappedLineEdit::applyReadOnly()
{
    setReadOnly(!m_editable || isCut());
}

void CappedLineEdit::insertWhole(const QString &inserted)
{
    if (isReadOnly())
        return;
    const QString current = text();
    const qsizetype start = hasSelectedText() ? selectionStart() : cursorPosition();
    const qsizetype length = hasSelectedText() ? selectionLength() : 0;
    if (current.size() - length + inserted.size() <= shownLineLimit) {
        insert(inserted);
        return;
    }
    QString whole = current;
    whole.replace(start, length, inserted);
    showText(whole);
    // The owner may show its own form of the paste (a budget's "$"): that form is the one to undo.
    const QPointer<CappedLineEdit> alive(this);
    Q_EMIT textEdited(whole);
    if (alive && isCut())
        m_beforeLongPaste = current;
}

void CappedLineEdit::keyPressEvent(QKeyEvent *event)
{
    if (event == QKeySequence::Paste) {
        pasteWhole();
        event->accept();
        return;
    }
    if (event == QKeySequence::Undo && undoLongPaste()) {
        event->accept();
        return;
    }
    // A cut text cannot be edited, only cleared as a whole.
    const bool erase = event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete;
    if (isCut() && erase && m_editable && hasSelectedText() && selectionLength() == text().size()) {
        showText(QString());
        Q_EMIT textEdited(QString());
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void CappedLineEdit::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu *menu = createStandardContextMenu();
    // The menu's Paste pastes as the keyboard's does. Its action is told by its connection to
    // paste(), which the menu makes by name.
    const QMetaMethod triggered = QMetaMethod::fromSignal(&QAction::triggered);
    const QMetaMethod paste = staticMetaObject.method(staticMetaObject.indexOfSlot("paste()"));
    for (QAction *action : menu->actions()) {
        if (disconnect(action, triggered, this, paste))
            connect(action, &QAction::triggered, this, &CappedLineEdit::pasteWhole);
    }
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

void CappedLineEdit::dropEvent(QDropEvent *event)
{
    const QMimeData *source = event->mimeData();
    if (isReadOnly() || !source || !source->hasText() || source->text().size() + text().size() <= shownLineLimit) {
        QLineEdit::dropEvent(event);
        return;
    }
    deselect();
    setCursorPosition(cursorPositionAt(event->position().toPoint()));
    insertWhole(source->text());
    event->acceptProposedAction();
}

void CappedLineEdit::mouseReleaseEvent(QMouseEvent *event)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    if (event->button() == Qt::MiddleButton && clipboard->supportsSelection() && !isReadOnly()) {
        deselect();
        insertWhole(clipboard->text(QClipboard::Selection));
        event->accept();
        return;
    }
    QLineEdit::mouseReleaseEvent(event);
}

} // namespace orvane
