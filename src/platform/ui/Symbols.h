#pragma once

// System symbol names, as the interface's texts name its icons ("folder.fill", "chevron.down"),
// drawn with the bundled icon set and tinted when drawn. Symbols.def holds the table.

#include <QColor>
#include <QIcon>
#include <QPixmap>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace orvane::ui {

// Heavier weights draw thicker strokes, as a symbol set in a bold font would.
enum class SymbolWeight { regular, semibold, bold };

// Every symbol name of the table, in table order.
[[nodiscard]] QStringList symbolNames();

[[nodiscard]] bool hasSymbol(QStringView symbol);

// The icon-set name that draws the symbol ("folder.fill" -> "folder"); empty when unmapped.
[[nodiscard]] QString symbolIconName(QStringView symbol);

// The embedded SVG of the symbol (":/orvane/symbols/folder.svg"); empty when unmapped.
[[nodiscard]] QString symbolResourcePath(QStringView symbol);

// The symbol in `color` (its alpha included), `size` by `size` device-independent pixels at the
// given device pixel ratio. A null pixmap, and a warning, for an unmapped name.
[[nodiscard]] QPixmap symbolPixmap(QStringView symbol, const QColor &color, int size, qreal devicePixelRatio = 1.0,
    SymbolWeight weight = SymbolWeight::regular);

// An icon that draws the symbol in `color` at whatever size and pixel ratio it is asked for;
// disabled, it draws at 40% of the colour's opacity. A null icon for an unmapped name.
[[nodiscard]] QIcon symbolIcon(QStringView symbol, const QColor &color, SymbolWeight weight = SymbolWeight::regular);

} // namespace orvane::ui
