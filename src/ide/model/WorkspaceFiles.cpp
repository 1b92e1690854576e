#include "ide/model/WorkspaceFiles.h"

#include "platform/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QUrl>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace orvane::WorkspaceFiles {

QString projectFolderName(const CampaignIDEProject &project, const QSet<QString> &taken)
{
    QString name = project.slug().left(maxFolderNameLength);
    while (name.endsWith(u'-'))
        name.chop(1);
    if (!name.isEmpty() && !taken.contains(name))
        return name;
    const QString suffix = project.id.toString(QUuid::WithoutBraces).left(8).toLower();
    QString base = name.left(maxFolderNameLength - suffix.size() - 1);
    while (base.endsWith(u'-'))
        base.chop(1);
    return (base.isEmpty() ? QStringLiteral("campaign") : base) + u'-' + suffix;
}

bool isSafeFolderName(const QString &name)
{
    return !name.isEmpty() && name.size() <= maxFolderNameLength && !name.startsWith(u'.') && !name.contains(u'/')
        && !name.contains(QChar(0));
}

QString documentsFolder()
{
    const QString home = QDir::homePath();
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    // A user-dirs entry naming the home folder itself means the desktop has no documents folder.
    if (documents.isEmpty() || QDir::cleanPath(documents) == QDir::cleanPath(home))
        return QDir::cleanPath(home + u"/Documents");
    return QDir::cleanPath(documents);
}

QString shownPath(const QString &path)
{
    const QString home = QDir::cleanPath(QDir::homePath());
    QString clean = QDir::cleanPath(path);
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

namespace {

QString utcStamp()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}

// Whether anything (a dangling link too) is at path; a name too long counts as taken. Plain
// system calls: these names may be too long, which is an answer here, not a warning.
bool taken(const QString &path)
{
    struct stat st { };
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 || errno != ENOENT;
}

// What besidePath() adds to the stem besides the label: the time (utcStamp()) and the last counter.
constexpr qsizetype stampBytes = 16;
constexpr qsizetype counterBytes = 4; // "-999"

// The longest start of text that takes at most bytes in a file name, cut between characters.
QString startWithin(const QString &text, qsizetype bytes)
{
    const QByteArray encoded = QFile::encodeName(text);
    if (encoded.size() <= bytes)
        return text;
    qsizetype cut = std::max<qsizetype>(bytes, 0);
    while (cut > 0 && (uchar(encoded.at(cut)) & 0xC0) == 0x80)
        --cut;
    return QFile::decodeName(encoded.left(cut));
}

} // namespace

BesideName besideName(const QString &path, QStringView label)
{
    const QFileInfo info(path);
    const QString name = info.fileName();
    const qsizetype dot = name.lastIndexOf(u'.');
    QString extension = dot > 0 ? name.mid(dot) : QString();
    const qsizetype room
        = platform::maxNameBytes - stampBytes - counterBytes - QFile::encodeName(QString(u'.' + label + u'-')).size();
    QString stem = startWithin(dot > 0 ? name.left(dot) : name, room - QFile::encodeName(extension).size());
    // An extension that leaves no room for the stem is part of it: a copy's name never starts with a dot.
    if (stem.isEmpty()) {
        stem = startWithin(name, room);
        extension.clear();
    }
    return { info.path() + u'/' + stem + u'.' + label + u'-', extension };
}

QString besidePath(const QString &path, QStringView label)
{
    const auto [start, extension] = besideName(path, label);
    const QString base = start + utcStamp();
    QString target = base + extension;
    for (int n = 2; taken(target); ++n) {
        if (n == 1000)
            return {};
        target = base + u'-' + QString::number(n) + extension;
    }
    return target;
}

bool replaceUnreadable(const QString &path, const std::function<bool()> &write, QString *keptAs)
{
    if (!taken(path))
        return write();
    const QString stamp = utcStamp();
    QString target = path + u".unreadable-" + stamp;
    for (int n = 2; taken(target) && n < 1000; ++n)
        target = path + u".unreadable-" + stamp + u'-' + QString::number(n);
    const QByteArray from = QFile::encodeName(path);
    const QByteArray to = QFile::encodeName(target);
    // A second name for the file while the new one is written: a process killed in between leaves
    // it in its place (and a spare name of it).
    if (::linkat(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), 0) == 0) {
        if (!write()) {
            ::unlink(to.constData());
            return false;
        }
        // A write of another file left this one at path: it goes, as the copy keeps it.
        struct stat kept { };
        struct stat there { };
        if (::lstat(to.constData(), &kept) == 0 && ::lstat(from.constData(), &there) == 0 && kept.st_dev == there.st_dev
            && kept.st_ino == there.st_ino)
            ::unlink(from.constData());
    } else {
        // No second name here (a folder, a file system without links): moved aside for the write
        // and back when it fails.
        if (::rename(from.constData(), to.constData()) != 0)
            return false;
        if (!write()) {
            ::rename(to.constData(), from.constData());
            return false;
        }
    }
    if (keptAs)
        *keptAs = target;
    return true;
}

QString saveFailureNotice(const QString &what, const QString &error)
{
    return QStringLiteral("Could not save ") + what + QStringLiteral(": ")
        + (error.isEmpty() ? QStringLiteral("the disk refused the write") : error)
        + QStringLiteral(". Orvane tries again with your next change and when it quits.");
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

} // namespace

std::optional<TextFileListing> listTextFiles(const QString &folder, qint64 maxSize)
{
    const QDir dir(folder);
    if (!dir.exists() || !dir.isReadable())
        return std::nullopt;
    // Entries are listed without following them; regular files are told apart when opened. Folders
    // are never listed, but one in a file's place is still something there.
    const QFileInfoList entries
        = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::System | QDir::NoDotAndDotDot, QDir::NoSort);
    TextFileListing listing;
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (name.startsWith(u'.') || !hasAcceptedExtension(name))
            continue;
        if (entry.isDir() && !entry.isSymLink()) {
            listing.unlisted.insert(name, QString::fromUtf16(isAFolder));
            continue;
        }
        const QUrl url = QUrl::fromLocalFile(entry.absoluteFilePath());
        const platform::FileContents file = platform::readRegularFile(entry.absoluteFilePath(), maxSize);
        switch (file.outcome) {
        case platform::ReadOutcome::read:
            break;
        case platform::ReadOutcome::tooLarge:
            // Listed by its size alone: its text is never read just to list it.
            listing.files.append(LocalWorkspaceFile { .name = name, .url = url, .tooLargeSize = file.size });
            continue;
        case platform::ReadOutcome::absent:
            continue; // deleted since the folder was read
        case platform::ReadOutcome::notRegular:
            listing.unlisted.insert(name, QStringLiteral("is not a regular file"));
            continue;
        case platform::ReadOutcome::failed:
            listing.unlisted.insert(name, QStringLiteral("cannot be read"));
            continue;
        }
        QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = decoder.decode(file.bytes);
        if (decoder.hasError()) {
            listing.unlisted.insert(name, QStringLiteral("is not UTF-8 text"));
            continue;
        }
        listing.files.append(LocalWorkspaceFile { .name = name, .url = url, .content = text });
    }
    // A folder removed or replaced while it was read lists nothing, not "every file deleted": a listing
    // drops the unsaved edits of files it does not hold.
    if (!QFileInfo(folder).isDir())
        return std::nullopt;
    LocalWorkspaceFile::sortByName(listing.files);
    return listing;
}

} // namespace orvane::WorkspaceFiles
