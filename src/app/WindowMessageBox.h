#pragma once

class QMessageBox;

namespace orvane {

// Every message box the application window shows goes through here before it opens (a prompt, a
// notice): it takes the colours of the screen it stands over, as the window's menus and popups do.
// Over the workspace that is the workspace's theme, dark or light, followed while the box is open;
// elsewhere (the sign-in screen) the box keeps the toolkit's colours. Give the box its parent in the
// window first.
void themeMessageBox(QMessageBox &box);

} // namespace orvane
