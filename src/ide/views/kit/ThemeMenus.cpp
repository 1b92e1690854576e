#include "ide/views/kit/ThemeMenus.h"

#include "ide/views/kit/ThemeSource.h"

#include <QMenu>

using namespace Qt::StringLiterals;

namespace orvane {

void applyMenuDividers(QMenu *menu, const OrvaneWebTheme &theme)
{
    // One line across the menu, inset from its sides, with room above and below as the toolkit's
    // own. A style sheet set on the menu reaches its submenus, which are its children.
    menu->setStyleSheet(u"QMenu::separator { height: 1px; margin: 4px 6px; background: %1; }"_s.arg(
        theme.borderStrong().name(QColor::HexArgb)));
}

void themeMenuDividers(QMenu *menu, const ThemeSource &theme)
{
    applyMenuDividers(menu, theme.theme());
    QObject::connect(
        &theme, &ThemeSource::themeChanged, menu, [menu, &theme] { applyMenuDividers(menu, theme.theme()); });
}

} // namespace orvane
