#pragma once

#include <QPlainTextEdit>

namespace orvane {

// A plain-text editor that the keyboard can always leave: Ctrl+Tab moves on along the window's Tab
// chain and Ctrl+Shift+Tab back, also where Tab types a tab character (a file's editor, where
// Tab indents as it does in any file editor) and the editor itself would keep Tab.
class PlainTextEditor : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit PlainTextEditor(QWidget *parent = nullptr);

protected:
    void keyPressEvent(QKeyEvent *event) override;
};

} // namespace orvane
