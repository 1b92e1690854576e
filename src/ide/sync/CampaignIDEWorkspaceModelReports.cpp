// Local reports and the local file editor's bindings of the workspace model.

#include "ide/model/CampaignIDEWorkspaceModel.h"
#include "ide/model/WorkspaceDiskQueue.h"
#include "ide/model/WorkspaceFiles.h"
#include "ide/sync/LocalReport.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace orvane {

void CampaignIDEWorkspaceModel::createLocalReport(const QString &title, const QString &kind)
{
    const QString folder = m_locations.workspaceRoot + u'/' + QStringView(LocalReport::folderName);
    const QString path = folder + u'/' + LocalReport::fileName(title);
    const QByteArray bytes = LocalReport::html(title, kind, shownWorkspaceRoot()).toUtf8();
    const ReportArtifact artifact {
        .id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
        .kind = kind,
        .title = title,
        .domain = std::nullopt,
        .url = QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded),
        .createdAt = QDateTime::currentDateTimeUtc().toString(Qt::ISODate),
        .updatedAt = std::nullopt,
    };
    const QString shownPath = LocalReport::displayPath(shownWorkspaceRoot(), title);

    // Written on the model's writer, in order with every other write; the report is listed and
    // announced only once it is on disk.
    QObject *receiver = this; // alive while the writer runs: the destructor stops the writer first
    m_disk->enqueue([folder, path, bytes, artifact, shownPath, receiver](WorkspaceDiskQueue &) {
        QString error;
        bool written = false;
        if (!QDir().mkpath(folder))
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" could not be created"_s;
        else if (!QFileInfo(folder).isWritable())
            error = u"the folder "_s + QDir::toNativeSeparators(folder) + u" is not writable"_s;
        else
            written = WorkspaceFiles::writeAtomically(path, bytes, &error);
        QMetaObject::invokeMethod(
            receiver,
            [receiver, artifact, shownPath, written, error] {
                auto *model = static_cast<CampaignIDEWorkspaceModel *>(receiver);
                if (!written) {
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
