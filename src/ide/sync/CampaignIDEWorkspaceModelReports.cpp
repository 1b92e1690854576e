// Local reports and the local file editor's bindings of the workspace model.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/sync/LocalReport.h"
#include "platform/AtomicFile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

void CampaignIDEWorkspaceModel::createLocalReport(const QString &title, const QString &kind)
{
    const QString folder = m_locations.workspaceRoot + u'/' + QStringView(LocalReport::folderName);
    const QString name = LocalReport::fileName(title);
    ReportArtifact artifact {
        .id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
        .kind = kind,
        .title = title,
        .domain = std::nullopt,
        .url = QString(),
        .createdAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
        .updatedAt = std::nullopt,
    };
    // Written on the model's writer, in order with every other write; the report is listed and
    // announced only once it is on disk.
    QObject *receiver = this; // alive while the writer runs: the destructor stops the writer first
    const QString shownRoot = shownWorkspaceRoot();
    m_disk->enqueue([folder, name, title, kind, artifact, shownRoot, receiver](WorkspaceDiskQueue &) mutable {
        // A name already taken (by an older report, or anything else) gets a number.
        const qsizetype dot = name.lastIndexOf(u'.');
        QString path = folder + u'/' + name;
        for (int n = 2; QFileInfo(path).exists() || QFileInfo(path).isSymLink(); ++n)
            path = folder + u'/' + name.left(dot) + u'-' + QString::number(n) + name.mid(dot);
        const QString written = QFileInfo(path).fileName();
        const QString shownPath = shownRoot + u'/' + QStringView(LocalReport::folderName) + u'/' + written;
        artifact.url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
        const QByteArray bytes = LocalReport::html(title, kind, shownRoot, written).toUtf8();
        QString error;
        bool saved = false;
        if (!QDir().mkpath(folder))
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" could not be created"_s;
        else if (!QFileInfo(folder).isWritable())
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" is not writable"_s;
        else
            saved = platform::writeFileAtomically(path, bytes, &error);
        QMetaObject::invokeMethod(
            receiver,
            [receiver, artifact, shownPath, saved, error] {
                auto *model = static_cast<CampaignIDEWorkspaceModel *>(receiver);
                if (!saved) {
                    model->flashNotice(u"Failed to generate report "_s + shownPath + u": "_s + error);
                    return;
                }
                QList<ReportArtifact> reports = model->m_reports;
                reports.prepend(artifact);
                model->setReports(reports);
                model->setSelectedReport(artifact);
                model->flashNotice(u"Generated report & saved to "_s + shownPath);
            },
            Qt::QueuedConnection);
    });
}

bool CampaignIDEWorkspaceModel::hasUnsavedLocalFiles() const
{
    return std::any_of(
        m_localFiles.cbegin(), m_localFiles.cend(), [](const LocalWorkspaceFile &file) { return file.isModified; });
}

void CampaignIDEWorkspaceModel::saveAllLocalFiles()
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.isModified)
            saveLocalFile(file);
    }
}

void CampaignIDEWorkspaceModel::discardUnsavedLocalFiles()
{
    for (LocalWorkspaceFile &file : m_localFiles) {
        if (file.isModified) {
            file.isModified = false;
            Q_EMIT localFileChanged(file.id());
        }
    }
}

void CampaignIDEWorkspaceModel::keepUnsavedLocalFilesAside()
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (!file.isModified)
            continue;
        const QString path = file.url.toLocalFile();
        const QByteArray bytes = file.content.toUtf8();
        m_disk->enqueue([path, bytes](WorkspaceDiskQueue &) {
            platform::writeFileAtomically(WorkspaceFiles::besidePath(path, u"unsaved"), bytes);
        });
    }
    m_disk->flushUserData();
}

void CampaignIDEWorkspaceModel::finishBeforeQuit()
{
    // Saves asked for before the quit land first, so that only text nobody saved is kept aside.
    flushUserData();
    QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    keepUnsavedLocalFilesAside();
}

void CampaignIDEWorkspaceModel::setLocalFileEditorContent(const QString &text)
{
    if (!selectedLocalFile())
        return;
    updateSelectedLocalFileContent(text);
}

void CampaignIDEWorkspaceModel::setSelectedLocalFileName(const QString &name)
{
    for (const LocalWorkspaceFile &file : std::as_const(m_localFiles)) {
        if (file.name == name) {
            selectLocalFile(file.id());
            return;
        }
    }
}

} // namespace orvane
