#pragma once

#include <QString>

namespace orvane {

// Counting and cutting text by user-perceived characters (extended grapheme clusters), so that a
// cut never splits a surrogate pair, an emoji sequence or a letter from its combining marks.

// The number of user-perceived characters of the text.
[[nodiscard]] qsizetype graphemeCount(const QString &text);

// The first `count` user-perceived characters of the text; the whole text when it is shorter.
[[nodiscard]] QString graphemePrefix(const QString &text, qsizetype count);

} // namespace orvane
