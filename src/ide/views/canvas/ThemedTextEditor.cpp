#include "ide/views/canvas/ThemedTextEditor.h"

#include "ide/views/kit/ThemeSource.h"

namespace orvane {

ThemedTextEditor::ThemedTextEditor(const ThemeSource &theme, ThemeColor background, QWidget *parent)
    : CappedTextEdit(parent), m_theme(&theme), m_background(background)
{
    setFrameShape(QFrame::NoFrame);
    setTabChangesFocus(false);
    document()->setDocumentMargin(0);
    applyTheme();
    connect(&theme, &ThemeSource::themeChanged, this, &ThemedTextEditor::applyTheme);
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
