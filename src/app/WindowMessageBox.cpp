#include "app/WindowMessageBox.h"

#include "app/OrvaneMainWindow.h"
#include "app/RootView.h"
#include "ide/views/kit/ThemeSource.h"
#include "ide/views/window/CampaignIDEWorkspaceView.h"

#include <QMessageBox>

namespace orvane {

void themeMessageBox(QMessageBox &box)
{
    const QWidget *over = box.parentWidget() ? box.parentWidget()->window() : nullptr;
    const auto *window = qobject_cast<const OrvaneMainWindow *>(over);
    CampaignIDEWorkspaceView *workspace = window ? window->rootView()->workspace() : nullptr;
    if (!workspace)
        return;
    const ThemeSource *theme = workspace->themeSource();
    box.setPalette(theme->theme().palette());
    QObject::connect(
        theme, &ThemeSource::themeChanged, &box, [&box, theme] { box.setPalette(theme->theme().palette()); });
}

} // namespace orvane
