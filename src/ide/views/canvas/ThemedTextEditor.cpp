#include "ide/views/canvas/ThemedTextEditor.h"

#include "ide/views/kit/ThemeSource.h"

#include <QKeyEvent>
#include <QScrollBar>
#include <QTextCursor>

#include <algorithm>

namespace orvane {

ThemedTextEditor::ThemedTextEditor(const ThemeSource &theme, ThemeColor background, QWidget *parent)
    : QPlainTextEdit(parent), m_theme(&theme), m_background(background)
{
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    applyTheme();
    connect(&theme, &ThemeSource::themeChanged, this, &ThemedTextEditor::applyTheme);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_quiet)
            Q_EMIT userEdited(toPlainText());
    });
}

void ThemedTextEditor::keyPressEvent(QKeyEvent *event)
{
    const bool control = event->modifiers().testFlag(Qt::ControlModifier);
    if (control && (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab)) {
        event->accept();
        const bool back = event->key() == Qt::Key_Backtab || event->modifiers().testFlag(Qt::ShiftModifier);
        // Tab stays text; for this one move the editor lets the focus go on as other controls do.
        setTabChangesFocus(true);
        focusNextPrevChild(!back);
        setTabChangesFocus(false);
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void ThemedTextEditor::setTextQuietly(const QString &text)
{
    if (toPlainText() == text)
        return;
    const int position = textCursor().position();
    const int scroll = verticalScrollBar()->value();
    m_quiet = true;
    setPlainText(text);
    m_quiet = false;
    QTextCursor cursor = textCursor();
    cursor.setPosition(std::min(position, int(text.size())));
    setTextCursor(cursor);
    verticalScrollBar()->setValue(scroll);
}

void ThemedTextEditor::showDocumentQuietly(const QString &text)
{
    m_quiet = true;
    setPlainText(text);
    m_quiet = false;
    moveCursor(QTextCursor::Start);
}

void ThemedTextEditor::applyTheme()
{
    if (!m_theme)
        return;
    const OrvaneWebTheme theme = m_theme->theme();
    QPalette palette = theme.palette();
    palette.setColor(QPalette::Base, theme.color(m_background));
    palette.setColor(QPalette::Window, theme.color(m_background));
    palette.setColor(QPalette::Text, theme.textPrimary());
    palette.setColor(QPalette::PlaceholderText, theme.textMuted());
    setPalette(palette);
    viewport()->setPalette(palette);
}

} // namespace orvane
