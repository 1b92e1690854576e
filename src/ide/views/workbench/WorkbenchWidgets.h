#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"
#include "ide/views/kit/ThemedLabel.h"

#include <QLabel>
#include <QPointer>
#include <QString>

class QLineEdit;
class QPlainTextEdit;
class QWidget;

namespace orvane {

class CappedLineEdit;
class Card;
class ThemeSource;

// A labelled figure: a small monospaced label, a large value in an accent and a sublabel, on
// elevatedBackground inside a 1-pixel borderSubtle stroke. Tiles of a row share its width.
class SummaryStatTile final : public QWidget {
    Q_OBJECT
public:
    SummaryStatTile(const ThemeSource &theme, const QString &label, ThemeColor accent, QWidget *parent = nullptr);

    void setValue(const QString &value);
    void setSublabel(const QString &sublabel);
    [[nodiscard]] QString value() const;
    [[nodiscard]] QString sublabel() const;

private:
    ThemedLabel *m_value;
    ThemedLabel *m_sublabel;
};

// Editable text fields in the theme's colours: `fill` behind the text inside a 1-pixel
// borderSubtle stroke (a focused field strokes in accentCyan).
void styleTextField(QLineEdit *field, const ThemeSource &theme, ThemeColor fill);
void styleTextEditor(QPlainTextEdit *editor, const ThemeSource &theme, ThemeColor fill, int padding);

// A button's text label draws in its own WindowText colour (inside a button a label would otherwise
// take the palette's ButtonText).
QLabel *ownTextColor(QLabel *label);

// Puts the model's text into a field unless the user is typing in it: the field the user edits
// shows what they type, and catches up with the model once it loses focus. A text too long to
// lay out is shown cut at once (CappedTextEdit::showModelText() for editors). Another record's
// text (`newRecord`) is always put in.
void showModelText(CappedLineEdit *field, const QString &text, bool newRecord = false);

} // namespace orvane
