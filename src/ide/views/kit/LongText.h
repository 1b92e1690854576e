#pragma once

#include "ide/views/kit/OrvaneWebTheme.h"

#include <QString>

namespace orvane {

// The longest line a text field lays out: breaking a line into rows takes time that grows with the
// line (with the square of a word's length when it is one word), so a longer line is shown cut.
inline constexpr qsizetype shownLineLimit = 20000;
// What a label shows of a text at most: more is never seen, and would only slow the drawing.
inline constexpr qsizetype shownLabelLimit = 2000;
// What a menu row shows of a name at most.
inline constexpr qsizetype menuTextLimit = 120;

// `text` with every line longer than `limit` characters cut there and ended with "…". `longest` is
// set to the length of the text's longest line when it is longer than `limit`, else to 0.
[[nodiscard]] QString cutLongLines(const QString &text, qsizetype *longest = nullptr, qsizetype limit = shownLineLimit);

// A label's text: all of it, or its first `limit` characters and "…".
[[nodiscard]] QString labelText(const QString &text, qsizetype limit = shownLabelLimit);

// The note under a field that shows its text cut.
[[nodiscard]] QString cutLineNote(qsizetype longestLine);
// The colour of that note (and of the composer's own): 4.5:1 or more on every background of both
// themes, which the theme's amber is not on the light ones.
inline constexpr ThemeColor cutNoteColor = ThemeColor::textPrimary;

} // namespace orvane
