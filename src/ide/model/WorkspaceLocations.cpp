#include "ide/model/WorkspaceLocations.h"

#include "ide/model/WorkspaceFiles.h"

#include <QCryptographicHash>
#include <QDir>

namespace orvane {

namespace {

// An XDG base folder: the variable when it holds an absolute path, else the fallback under home.
// Clean, so that every spelling of the folder ("/home/me/.local/share/") is one path.
QString baseFolder(const char *variable, QStringView underHome)
{
    const QString xdg = qEnvironmentVariable(variable);
    if (!xdg.isEmpty() && QDir::isAbsolutePath(xdg))
        return QDir::cleanPath(xdg);
    return QDir::cleanPath(QDir::homePath() + u'/' + underHome);
}

QStringList rescueFilesOf(const QString &dataFolder)
{
    QStringList files { dataFolder + u"/rescue.json",
        baseFolder("XDG_CACHE_HOME", u".cache") + u"/Orvane/rescue.json" };
    // The session's own folder, shared with every program: named after the data folder, as other
    // homes of the same user keep copies of their own. It is gone after a restart.
    const QString runtime = QDir::cleanPath(qEnvironmentVariable("XDG_RUNTIME_DIR"));
    if (!runtime.isEmpty() && QDir::isAbsolutePath(runtime)) {
        const QByteArray digest = QCryptographicHash::hash(dataFolder.toUtf8(), QCryptographicHash::Sha256).toHex();
        files.append(runtime + u"/orvane-" + QString::fromLatin1(digest.left(24)) + u"-rescue.json");
    }
    return files;
}

} // namespace

WorkspaceLocations WorkspaceLocations::standard()
{
    const QString dataFolder = baseFolder("XDG_DATA_HOME", u".local/share") + u"/Orvane";
    return WorkspaceLocations {
        .workspaceRoot = WorkspaceFiles::documentsFolder() + u"/Orvane",
        .stateFile = dataFolder + u"/campaign-ide-state.json",
        .mirrorLedgerFile = dataFolder + u"/mirror-ledger.json",
        .defaults = platform::UserDefaults::standard(),
        .rescueFiles = rescueFilesOf(dataFolder),
    };
}

} // namespace orvane
