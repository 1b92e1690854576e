#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QLabel>

class QBoxLayout;
class QLineEdit;
class QVBoxLayout;

namespace orvane {

class ClickableButton;
class ThemeSource;

// The pieces the window's small sheets share: the lime eyebrow, the heading, the bordered field,
// the plain Cancel and the lime confirm button.
namespace sheetparts {

// The content column of a sheet; the sheet frame supplies the padding.
[[nodiscard]] QVBoxLayout *column(QWidget *content, int spacing);

// "NEW LOCAL + CLOUD PROJECT": monospaced, 11, bold, accentLime.
[[nodiscard]] QLabel *eyebrow(const ThemeSource &theme, const QString &text);
// 18, bold, textPrimary, wrapping.
[[nodiscard]] QLabel *heading(const ThemeSource &theme, const QString &text);

// A one-line field in the desktop's bordered style that keeps a long paste whole and shows it cut
// (CappedLineEdit).
[[nodiscard]] QLineEdit *field(const QString &objectName, const QString &placeholder);

// A label (11, semibold, textSecondary) over a control, 6 apart; the label is the control's buddy.
[[nodiscard]] QWidget *group(const ThemeSource &theme, const QString &label, QWidget *control);

// "Cancel" in the default font and colour, without a fill or padding of its own.
[[nodiscard]] ClickableButton *cancelButton(const ThemeSource &theme);
// Black 12-point bold text on the lime fill, padded 14 on the sides and `verticalPadding` above
// and below.
[[nodiscard]] ClickableButton *confirmButton(
    const ThemeSource &theme, const QString &objectName, const QString &text, int verticalPadding);

// A trailing row: a spacer, then the buttons. `cancelPadding` is laid around the Cancel button.
[[nodiscard]] QBoxLayout *buttonRow(ClickableButton *cancel, QMargins cancelPadding, ClickableButton *confirm);

// Writes `text` into the field only when it differs, so the caret and selection stay put while the
// user types; a capped field shows it cut when it is too long.
void syncField(QLineEdit *field, const QString &text);

} // namespace sheetparts
} // namespace orvane
