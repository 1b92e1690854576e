#include "ide/model/WorkspaceFiles.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace orvane::WorkspaceFiles {

QString documentsFolder()
{
    const QString home = QDir::homePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A user-dirs entry naming the home folder itself means the desktop has no documents folder.
    if (documents.isEmpty() || QDir::cleanPath(documents) == QDir::cleanPath(home))
        return home + u"/Documents";
    return QDir::cleanPath(documents);
}

QString shownPath(const QString &path)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    const QString clean = QDir::cleanPath(path);
    if (home == u"/")
        return clean;
    if (clean == home)
        return QStringLiteral("~");
    if (clean.startsWith(home) && clean.at(home.size()) == u'/')
        return u'~' + clean.mid(home.size());
    return clean;
}

QString campaignPlanMarkdown(const CampaignIDEProject &p)
{
    const QList<QString> lines {
        u"# " + p.name + u" — Campaign Plan",
        u"Status: " + p.status,
        u"Updated: " + p.updated,
        QString(),
        QStringLiteral("## 01. Objective"),
        p.objective,
        QString(),
        QStringLiteral("## 02. Target Audience"),
        p.audience,
        QString(),
        QStringLiteral("## 03. Channels & Budget"),
        p.channelsAndBudget,
        QString(),
        QStringLiteral("## 04. Core Message"),
        p.message,
        QString(),
        QStringLiteral("## 05. Governance & Guardrails"),
        p.guardrails,
    };
    return lines.join(u'\n');
}

QString executionRulesMarkdown(const CampaignIDEProject &p)
{
    const QList<QString> lines {
        u"# " + p.name + u" — Local Agent Rules (.orvanerules)",
        QStringLiteral("- Always require human approval before mutating live ad budgets > $250/day."),
        u"- Enforce UTMs (`utm_source`, `utm_medium`, `utm_campaign=" + p.slug() + u"`) on all destination URLs.",
        QStringLiteral("- Keep Google Search responsive headlines <= 30 characters and LinkedIn intro copy concise."),
    };
    return lines.join(u'\n');
}

QByteArray creativesJson(const QList<CreativeCanvasArtboard> &creatives)
{
    return dumpSortedPretty(toJson(creatives));
}

namespace {
QString quoted(const QString &text)
{
    QString escaped = text;
    escaped.replace(u'"', QStringLiteral("\"\""));
    return u'"' + escaped + u'"';
}
} // namespace

QString wholeNumber(double value)
{
    return QString::number(saturatingCast<qint64>(value));
}

QByteArray mediaPlanCsv(const QList<CampaignMediaPlanRow> &rows)
{
    QString csv = QStringLiteral("Channel,Campaign Name,Funnel Stage,Audience,Format,Daily Budget ($),"
                                 "Monthly Budget ($),Bid Strategy,Target CPA ($),Est Conversions,Status\n");
    for (const CampaignMediaPlanRow &row : rows) {
        const QList<QString> fields {
            quoted(row.channel),
            quoted(row.campaignName),
            quoted(row.funnelStage),
            quoted(row.audience),
            quoted(row.format),
            wholeNumber(row.dailyBudget),
            wholeNumber(row.monthlyBudget),
            quoted(row.bidStrategy),
            wholeNumber(row.targetCPA),
            QString::number(row.estimatedConversions),
            quoted(row.status),
        };
        csv += fields.join(u',') + u'\n';
    }
    return csv.toUtf8();
}

QByteArray threadTranscriptJson(const CampaignIDEThread &thread)
{
    return dumpSortedPretty(toJson(thread));
}

bool writeAtomically(const QString &path, const QByteArray &bytes, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool setAsideUnreadable(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink())
        return true;
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
    QString target = path + u".unreadable-" + stamp;
    for (int n = 2; QFileInfo::exists(target) && n < 1000; ++n)
        target = path + u".unreadable-" + stamp + u'-' + QString::number(n);
    return QFile::rename(path, target);
}

namespace {

bool hasAcceptedExtension(const QString &name)
{
    static const QList<QString> accepted { QStringLiteral("md"), QStringLiteral("json"), QStringLiteral("txt"),
        QStringLiteral("csv"), QStringLiteral("yaml"), QStringLiteral("yml"), QStringLiteral("py"),
        QStringLiteral("sh") };
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot < 0)
        return false;
    return accepted.contains(name.mid(dot + 1).toLower());
}

// Reads a regular file of at most maxSize bytes. Opened without blocking and checked on the open
// descriptor, so a FIFO or device put in place of a file is never read from.
std::optional<QByteArray> readRegularFile(const QString &path, qint64 maxSize)
{
    const QByteArray native = QFile::encodeName(path);
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        return std::nullopt;
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > maxSize) {
        ::close(fd);
        return std::nullopt;
    }
    QByteArray bytes;
    bytes.reserve(qsizetype(st.st_size));
    char buffer[64 * 1024];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        bytes.append(buffer, qsizetype(n));
        if (bytes.size() > maxSize) { // grew since it was checked
            ::close(fd);
            return std::nullopt;
        }
    }
    ::close(fd);
    return bytes;
}

} // namespace

std::optional<QList<LocalWorkspaceFile>> listTextFiles(const QString &folder, qint64 maxSize)
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    // Entries are listed without following them; regular files are told apart when opened.
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    QList<LocalWorkspaceFile> files;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(u'.') || !hasAcceptedExtension(name))
            continue;
        const auto bytes = readRegularFile(entry.absoluteFilePath(), maxSize);
        if (!bytes)
            continue;
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(*bytes);
        if (decoder.hasError())
            continue;
        files.append(LocalWorkspaceFile { name, QUrl::fromLocalFile(entry.absoluteFilePath()), text, false });
    }
    LocalWorkspaceFile::sortByName(files);
    return files;
}

} // namespace orvane::WorkspaceFiles
