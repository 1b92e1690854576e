#include "ide/model/WorkspaceLocations.h"

#include "ide/model/WorkspaceFiles.h"

#include <QDir>

namespace orvane {

namespace {

QString dataHome()
{
    QString xdg = qEnvironmentVariable("XDG_DATA_HOME");
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return xdg;
    return QDir::homePath() + u"/.local/share";
}

} // namespace

WorkspaceLocations WorkspaceLocations::standard()
{
    const QString dataFolder = dataHome() + u"/Orvane";
    return WorkspaceLocations {
        .workspaceRoot = WorkspaceFiles::documentsFolder() + u"/Orvane",
        .stateFile = dataFolder + u"/campaign-ide-state.json",
        .mirrorLedgerFile = dataFolder + u"/mirror-ledger.json",
        .defaults = platform::UserDefaults::standard(),
    };
}

} // namespace orvane
