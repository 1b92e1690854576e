#pragma once

#include "ide/views/kit/CappedTextEdit.h"
#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPointer>

namespace orvane {

class ThemeSource;

// A frameless plain-text editor in theme colours. setTextQuietly() replaces the text without
// announcing it as the user's edit (userEdited is emitted only for the user's changes) and keeps
// the cursor where it was as far as the new text allows. A line too long to lay out in a moment
// is shown cut, read only (CappedTextEdit). Tab types a tab character unless told otherwise;
// Ctrl+Tab always leaves.
class ThemedTextEditor final : public CappedTextEdit {
    Q_OBJECT
public:
    ThemedTextEditor(const ThemeSource &theme, ThemeColor background, QWidget *parent = nullptr);

    void setTextQuietly(const QString &text) { showText(text); }
    // Replaces the text quietly with the cursor at the start: another document.
    void showDocumentQuietly(const QString &text) { showText(text, true); }

private:
    void applyTheme();

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_background;
};

} // namespace orvane
