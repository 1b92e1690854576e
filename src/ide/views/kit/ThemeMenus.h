#pragma once

class QMenu;

namespace orvane {

class OrvaneWebTheme;
class ThemeSource;

// Menus of the window draw their dividers in a border colour of the theme (borderStrong) over the
// menu's own background: the toolkit's divider, a faint dark line, does not show on the dark menu.
// Covers the submenus the menu holds, now or later. It is a style sheet, and setting one puts back
// the palette the menu had when it was last styled: give a menu its own palette after this.
void applyMenuDividers(QMenu *menu, const OrvaneWebTheme &theme);
// The same, following the theme.
void themeMenuDividers(QMenu *menu, const ThemeSource &theme);

} // namespace orvane
