#pragma once

#include "ide/views/kit/PlainTextEditor.h"

#include <QLineEdit>

namespace orvane {

// A plain-text editor that never lays out a line longer than shownLineLimit: a text holding one
// is shown with such lines cut, read only, and the text stays whole wherever it is kept. A paste
// that would make such a line is not laid out either: the whole new text is announced and then
// shown cut. While cut, the text is cleared by selecting all of it and deleting. showText()
// replaces the text without announcing it as the user's edit. Ctrl+Tab leaves it (PlainTextEditor).
class CappedTextEdit : public PlainTextEditor {
    Q_OBJECT
public:
    explicit CappedTextEdit(QWidget *parent = nullptr);

    // Shows `text`, cut where a line is too long; leaves the editor alone when it shows that already,
    // and keeps the cursor and the scroll where they were as far as the new text allows.
    // `newDocument`: another document (another project's text, another file), always put in, with
    // the cursor at its start; nothing done to the one before can be undone in it.
    void showText(const QString &text, bool newDocument = false);
    // As showText(), except while the user types in the editor: what they type stays until they
    // leave it (a text that must be cut is shown at once, as the user cannot type in it). Another
    // document is always shown.
    void showModelText(const QString &text, bool newDocument = false);
    // The owner's own reason for a read-only editor; a cut text makes it read only as well.
    void setEditable(bool editable);
    [[nodiscard]] bool isCut() const { return m_longestLine > 0; }
    // Says how the text is cut; empty while it is shown whole.
    [[nodiscard]] QString cutNote() const;
    // A paste shown cut can be undone (Ctrl+Z, Edit ▸ Undo) until the text changes otherwise or
    // another document is shown: the text from before it comes back as the user's change. The
    // editor's own history cannot hold it, as showing the text cut replaces the document.
    [[nodiscard]] bool canUndoLongPaste() const { return !m_beforeLongPaste.isNull() && m_editable; }
    bool undoLongPaste();

Q_SIGNALS:
    // The user's change: the whole new text.
    void userEdited(const QString &text);

protected:
    void insertFromMimeData(const QMimeData *source) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyReadOnly();

    qsizetype m_longestLine = 0;
    QString m_beforeLongPaste;
    bool m_editable = true;
    bool m_quiet = false;
};

// A one-line field that never lays out more than shownLineLimit characters: a longer text is
// shown cut and read only, and fullText() keeps it whole. A paste that would make it longer is
// kept whole the same way (the field has no maximum length of its own) and announced through
// textEdited() with the whole text. While cut, the field is cleared by selecting all of it and deleting.
class CappedLineEdit final : public QLineEdit {
    Q_OBJECT
public:
    explicit CappedLineEdit(QWidget *parent = nullptr);

    // Shows `text`, cut when too long; leaves the field alone when it holds that already.
    // `newRecord`: another record's text (another project, thread or tab), always put in; nothing
    // done to the one before can be undone in it.
    void showText(const QString &text, bool newRecord = false);
    void setEditable(bool editable);
    [[nodiscard]] QString fullText() const { return isCut() ? m_fullText : text(); }
    [[nodiscard]] bool isCut() const { return !m_fullText.isNull(); }
    // The owner's own reason for a read-only field (a cut text is read only as well, yet the user's).
    [[nodiscard]] bool isEditable() const { return m_editable; }
    [[nodiscard]] QString cutNote() const;
    // Pastes the clipboard as Ctrl+V does: QLineEdit::paste() is not virtual, and lays out all of it.
    void pasteWhole();
    // A paste shown cut can be undone (Ctrl+Z, Edit ▸ Undo) until the text changes otherwise or
    // another record is shown: the text from before it comes back through textEdited() and
    // editingFinished(), so owners that commit when editing finishes take it back at once, as they
    // took the paste. An owner that shows its own form of the paste (trimmed, say) while told of it
    // keeps it to undo.
    [[nodiscard]] bool canUndoLongPaste() const { return !m_beforeLongPaste.isNull() && m_editable; }
    bool undoLongPaste();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void dropEvent(QDropEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    // Inserts `inserted` in place of the selection, as a paste does.
    void insertWhole(const QString &inserted);
    void applyReadOnly();

    QString m_fullText;
    QString m_beforeLongPaste;
    bool m_editable = true;
};

} // namespace orvane
