#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QPlainTextEdit>
#include <QPointer>

namespace orvane {

class ThemeSource;

// A frameless plain-text editor in theme colours. setTextQuietly() replaces the text without
// announcing it as the user's edit (userEdited is emitted only for the user's changes) and keeps
// the cursor where it was as far as the new text allows. Tab is typed as text; Ctrl+Tab and
// Ctrl+Shift+Tab move the focus on and back, so the keyboard can always leave the editor.
class ThemedTextEditor final : public QPlainTextEdit {
    Q_OBJECT
public:
    ThemedTextEditor(const ThemeSource &theme, ThemeColor background, QWidget *parent = nullptr);

    void setTextQuietly(const QString &text);
    // Replaces the text quietly with the cursor at the start: another document.
    void showDocumentQuietly(const QString &text);

Q_SIGNALS:
    void userEdited(const QString &text);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void applyTheme();

    QPointer<const ThemeSource> m_theme;
    ThemeColor m_background;
    bool m_quiet = false;
};

} // namespace orvane
