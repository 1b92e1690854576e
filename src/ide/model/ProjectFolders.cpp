// The workspace model's project folders: which folder under the workspace root each project owns,
// and moving it when the project is renamed.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "kit/support/JsonCoding.h"
#include "platform/AtomicFile.h"

#include <QDir>
#include <QFileInfo>
#include <QMap>

#include <cstdio>

namespace orvane {

using namespace Qt::StringLiterals;

namespace {
constexpr qint64 maxFolderStoreSize = 16 * 1024 * 1024;
} // namespace

QString CampaignIDEWorkspaceModel::folderStorePath() const
{
    return QFileInfo(m_locations.stateFile).absolutePath() + u"/project-folders.json"_s;
}

void CampaignIDEWorkspaceModel::loadProjectFolders()
{
    const platform::FileContents file = platform::readRegularFile(folderStorePath(), maxFolderStoreSize);
    if (!file.ok())
        return; // without it, folders follow the names as they always did
    try {
        const auto stored = decodeJson<QMap<QString, QString>>(file.bytes);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it) {
            const QUuid id(it.key());
            if (!id.isNull() && WorkspaceFiles::isSafeFolderName(it.value()))
                m_projectFolders.insert(id, it.value());
        }
    } catch (const JsonError &) {
    }
}

void CampaignIDEWorkspaceModel::assignProjectFolders()
{
    QHash<QUuid, QString> assigned;
    QSet<QString> taken;
    // Folders already owned stay where they are; the others are named in list order.
    for (const CampaignIDEProject &project : projects()) {
        const auto kept = m_projectFolders.constFind(project.id);
        if (kept != m_projectFolders.cend() && !taken.contains(*kept)) {
            assigned.insert(project.id, *kept);
            taken.insert(*kept);
        }
    }
    for (const CampaignIDEProject &project : projects()) {
        if (assigned.contains(project.id))
            continue;
        const QString name = WorkspaceFiles::projectFolderName(project, taken);
        assigned.insert(project.id, name);
        taken.insert(name);
    }
    if (assigned == m_projectFolders)
        return;
    m_projectFolders = assigned;
    saveProjectFolders();
}

void CampaignIDEWorkspaceModel::saveProjectFolders()
{
    QMap<QString, QString> stored;
    for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it)
        stored.insert(it.key().toString(QUuid::WithoutBraces), it.value());
    const QString path = folderStorePath();
    m_disk->enqueue(u"folders"_s, [stored, path](WorkspaceDiskQueue &) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        platform::writeFileAtomically(path, encodeJson(stored));
    });
}

QString CampaignIDEWorkspaceModel::projectFolderName(const CampaignIDEProject &project) const
{
    const QString name = m_projectFolders.value(project.id);
    return name.isEmpty() ? WorkspaceFiles::projectFolderName(project, {}) : name;
}

QString CampaignIDEWorkspaceModel::projectFolderPath(const CampaignIDEProject &project) const
{
    return m_locations.workspaceRoot + u'/' + projectFolderName(project);
}

void CampaignIDEWorkspaceModel::moveProjectFolder(const CampaignIDEProject &renamed)
{
    const QString oldName = m_projectFolders.value(renamed.id);
    QSet<QString> taken;
    for (auto it = m_projectFolders.cbegin(); it != m_projectFolders.cend(); ++it) {
        if (it.key() != renamed.id)
            taken.insert(it.value());
    }
    QString newName = WorkspaceFiles::projectFolderName(renamed, taken);
    if (newName == oldName || oldName.isEmpty()) {
        if (oldName.isEmpty())
            assignProjectFolders();
        return;
    }
    const QString root = m_locations.workspaceRoot;
    // Someone else's folder is never written into: the project stays where it is.
    const QFileInfo target(root + u'/' + newName);
    if (target.exists() || target.isSymLink()) {
        const QString shownRoot = shownWorkspaceRoot();
        flashNotice(u"Kept the folder "_s + shownRoot + u'/' + oldName + u": "_s + shownRoot + u'/' + newName
            + u" already exists."_s);
        return;
    }
    m_projectFolders.insert(renamed.id, newName);
    saveProjectFolders();
    const QString from = root + u'/' + oldName;
    const QString to = root + u'/' + newName;
    // Runs after every write queued for the old folder so far; later ones already use the new one.
    m_disk->enqueue(u"move:"_s + renamed.id.toString(), [from, to](WorkspaceDiskQueue &disk) {
        const QFileInfo source(from);
        if (source.isDir() && !source.isSymLink() && !QFileInfo::exists(to) && QDir().rename(from, to))
            disk.moveLedgerFolder(from, to);
    });
    // Thread files waiting for the old folder go to the new one instead.
    for (const CampaignIDEThread &thread : threads()) {
        if (thread.projectID == renamed.id)
            syncThreadArtifactsToDisk(thread);
    }
}

} // namespace orvane
