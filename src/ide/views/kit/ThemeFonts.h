#pragma once

#include <QFont>

namespace orvane {

// The system font at a size given in the interface's points, rendered as that many pixels so
// layouts keep their proportions; `monospaced` takes the bundled monospaced face (used for
// kickers, badges, counters and paths).
[[nodiscard]] QFont themeFont(qreal size, QFont::Weight weight = QFont::Normal, bool monospaced = false);

} // namespace orvane
