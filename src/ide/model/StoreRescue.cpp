#include "ide/model/StoreRescue.h"

#include "ide/model/WorkspaceFiles.h"
#include "platform/AtomicFile.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// The copy as it is kept: the files in the order they are to be written.
struct Copy {
    QList<StoreRescue::File> files;
    QList<StoreRescue::KeptText> keptText;

    void encode(JsonObjectWriter &writer) const
    {
        writer.field("files", files);
        if (!keptText.isEmpty())
            writer.field("keptText", keptText);
    }
    [[nodiscard]] static Copy decode(const JsonObjectReader &reader)
    {
        return { .files = reader.required<QList<StoreRescue::File>>("files"),
            .keptText
            = reader.optional<QList<StoreRescue::KeptText>>("keptText").value_or(QList<StoreRescue::KeptText>()) };
    }
};

[[nodiscard]] bool isUtf8(const QByteArray &bytes)
{
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    (void)decoder.decode(bytes);
    return !decoder.hasError();
}

[[nodiscard]] QByteArray hashOf(const QByteArray &bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

// The list of copies done with: the SHA-256 of each.
struct LandedList {
    QList<QString> landed;

    void encode(JsonObjectWriter &writer) const { writer.field("landed", landed); }
    [[nodiscard]] static LandedList decode(const JsonObjectReader &reader)
    {
        return { .landed = reader.required<QList<QString>>("landed") };
    }
};

// The path of a file a copy names, as this process spells it: directly in one of the stores'
// folders, by any spelling of that folder (a link to it, a doubled slash), or directly in a folder
// at the same place under another (the folders of the home the copy was made in); none for any
// other file.
[[nodiscard]] std::optional<QString> storeFile(const QString &path, const QList<StoreRescue::StoreFolder> &storeFolders)
{
    const QFileInfo info(path);
    if (!info.isAbsolute() || info.fileName().startsWith(u'.') || info.fileName().isEmpty())
        return std::nullopt;
    const QString folder = QDir::cleanPath(info.path());
    for (const StoreRescue::StoreFolder &store : storeFolders) {
        if (store.path == folder)
            return folder + u'/' + info.fileName();
    }
    const QString real = QFileInfo(folder).canonicalFilePath();
    for (const StoreRescue::StoreFolder &store : storeFolders) {
        if (!real.isEmpty() && QFileInfo(store.path).canonicalFilePath() == real)
            return store.path + u'/' + info.fileName();
    }
    for (const StoreRescue::StoreFolder &store : storeFolders) {
        if (!store.place.isEmpty() && folder.endsWith(u'/' + store.place))
            return store.path + u'/' + info.fileName();
    }
    return std::nullopt;
}

// Where text kept for a file of the workspace at its place under another folder (the documents of
// the home the copy was made in) belongs now; the path itself when it is not there.
[[nodiscard]] QString inWorkspace(const QString &path, const StoreRescue::StoreFolder &workspace)
{
    if (workspace.path.isEmpty() || workspace.place.isEmpty() || path.startsWith(workspace.path + u'/')
        || QDir::cleanPath(path) != path)
        return path;
    const QString marker = u'/' + workspace.place + u'/';
    const qsizetype at = path.indexOf(marker);
    if (at < 0)
        return path;
    return workspace.path + u'/' + path.mid(at + marker.size());
}

// Whether a file kept beside path before under the label (see WorkspaceFiles::besidePath()) holds
// the bytes: a copy that could be neither removed nor listed as done with is met at every start,
// and what of it goes beside a file goes there once.
[[nodiscard]] bool keptAsideBefore(const QString &path, QStringView label, const QByteArray &bytes)
{
    const auto [start, extension] = WorkspaceFiles::besideName(path, label);
    const QString prefix = QFileInfo(start).fileName();
    const QDir folder(QFileInfo(path).path());
    for (const QString &kept : folder.entryList(QDir::Files | QDir::Hidden | QDir::System)) {
        // Only a file of the same size is read.
        if (!kept.startsWith(prefix) || !kept.endsWith(extension) || QFileInfo(folder, kept).size() != bytes.size())
            continue;
        const platform::FileContents file
            = platform::readRegularFile(folder.filePath(kept), WorkspaceFiles::maxStoreSize);
        if (file.ok() && file.bytes == bytes)
            return true;
    }
    return false;
}

[[nodiscard]] QDateTime modifiedTime(const QString &path)
{
    return QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
}

} // namespace

std::optional<StoreRescue::Fingerprint> StoreRescue::Fingerprint::of(const QString &path)
{
    struct stat st { };
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return errno == ENOENT ? std::optional(Fingerprint {}) : std::nullopt; // a folder not reached
    const QFileInfo info(path);
    Fingerprint fingerprint { .exists = true,
        .size = info.size(),
        .modified = info.lastModified().toUTC().toString(Qt::ISODateWithMs),
        .sha256 = {} };
    const platform::FileContents file = platform::readRegularFile(path, WorkspaceFiles::maxStoreSize);
    if (file.ok()) {
        fingerprint.size = file.bytes.size();
        fingerprint.sha256 = QString::fromLatin1(hashOf(file.bytes));
    }
    return fingerprint;
}

bool StoreRescue::Fingerprint::sameFile(const Fingerprint &other) const
{
    if (!exists || !other.exists)
        return exists == other.exists;
    // A file that could not be read is like nothing: not known to be the same.
    return !sha256.isEmpty() && size == other.size && sha256 == other.sha256;
}

void StoreRescue::Fingerprint::encode(JsonObjectWriter &writer) const
{
    writer.field("exists", exists);
    if (!exists)
        return;
    writer.field("size", size).field("modified", modified).field("sha256", sha256);
}

StoreRescue::Fingerprint StoreRescue::Fingerprint::decode(const JsonObjectReader &reader)
{
    Fingerprint fingerprint { .exists = reader.required<bool>("exists"), .size = 0, .modified = {}, .sha256 = {} };
    if (fingerprint.exists) {
        fingerprint.size = reader.required<qint64>("size");
        fingerprint.modified = reader.optional<QString>("modified").value_or(QString());
        fingerprint.sha256 = reader.required<QString>("sha256");
    }
    return fingerprint;
}

void StoreRescue::File::encode(JsonObjectWriter &writer) const
{
    writer.field("path", path).field("what", what);
    // Stores are JSON, so the copy stays readable; anything else goes as Base64.
    if (isUtf8(bytes))
        writer.field("text", QString::fromUtf8(bytes));
    else
        writer.field("base64", QString::fromLatin1(bytes.toBase64()));
    if (unreadable)
        writer.field("unreadable", true);
    writer.field("was", was);
}

StoreRescue::File StoreRescue::File::decode(const JsonObjectReader &reader)
{
    File file { .path = reader.required<QString>("path"),
        .bytes = {},
        .what = reader.required<QString>("what"),
        .error = {},
        .unreadable = reader.optional<bool>("unreadable").value_or(false),
        .was = reader.optional<Fingerprint>("was") };
    if (const std::optional<QString> text = reader.optional<QString>("text")) {
        file.bytes = text->toUtf8();
    } else {
        const auto decoded = QByteArray::fromBase64Encoding(
            reader.required<QString>("base64").toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!decoded)
            throw DecodingError(u"base64"_s, u"expected Base64 text"_s);
        file.bytes = *decoded;
    }
    return file;
}

void StoreRescue::KeptText::encode(JsonObjectWriter &writer) const
{
    writer.field("path", path).field("text", text).field("keptAs", keptAs);
}

StoreRescue::KeptText StoreRescue::KeptText::decode(const JsonObjectReader &reader)
{
    return { .path = reader.required<QString>("path"),
        .text = reader.required<QString>("text"),
        .keptAs = reader.required<QString>("keptAs") };
}

StoreRescue::StoreFolder StoreRescue::StoreFolder::of(const QString &path, qsizetype components)
{
    const QStringList names = QDir::cleanPath(path).split(u'/', Qt::SkipEmptyParts);
    return { .path = path, .place = names.mid(std::max<qsizetype>(0, names.size() - components)).join(u'/') };
}

StoreRescue::StoreRescue(QStringList copyPaths) : m_copyPaths(std::move(copyPaths))
{
}

void StoreRescue::tried(File file, bool landed)
{
    const std::lock_guard lock(m_mutex);
    const auto found = std::ranges::find(m_due, file.path, &File::path);
    const bool wasDue = found != m_due.end();
    if (wasDue)
        m_due.erase(found);
    const bool copied = m_copied.remove(file.path);
    if (landed) {
        if (!wasDue)
            return;
        ++m_changes;
        if (copied)
            followCopy();
        return;
    }
    ++m_changes;
    m_due.append(std::move(file));
}

void StoreRescue::drop(const QString &path)
{
    const std::lock_guard lock(m_mutex);
    if (m_due.removeIf([&](const File &file) { return file.path == path; }) == 0)
        return;
    ++m_changes;
    if (m_copied.remove(path))
        followCopy();
}

void StoreRescue::keepText(KeptText text)
{
    const std::lock_guard lock(m_mutex);
    m_keptText.append(std::move(text));
    ++m_changes;
}

QList<StoreRescue::KeptText> StoreRescue::keptText() const
{
    const std::lock_guard lock(m_mutex);
    return m_keptText;
}

void StoreRescue::settleKeptText(const QList<KeptText> &settled)
{
    const std::lock_guard lock(m_mutex);
    if (m_keptText.removeIf([&](const KeptText &text) { return settled.contains(text); }) == 0)
        return;
    ++m_changes;
    followCopy();
}

QList<StoreRescue::File> StoreRescue::due() const
{
    const std::lock_guard lock(m_mutex);
    return m_due;
}

bool StoreRescue::hasDue() const
{
    const std::lock_guard lock(m_mutex);
    return !m_due.isEmpty();
}

std::optional<QByteArray> StoreRescue::dueBytes(const QString &path) const
{
    const std::lock_guard lock(m_mutex);
    const auto found = std::ranges::find(m_due, path, &File::path);
    if (found == m_due.cend())
        return std::nullopt;
    return found->bytes;
}

QList<StoreRescue::File> StoreRescue::copiedDue() const
{
    const std::lock_guard lock(m_mutex);
    QList<File> files;
    for (const File &file : m_due) {
        if (m_copied.contains(file.path))
            files.append(file);
    }
    return files;
}

StoreRescue::Found StoreRescue::adoptEarlierCopies(const QList<StoreFolder> &storeFolders, const StoreFolder &workspace)
{
    struct Read {
        QString path;
        QByteArray digest;
        QDateTime changed;
        bool asSpelled = true; // its files named as this process names them
        Copy copy;
    };
    const QSet<QString> landed = landedList();
    Found found;
    QList<Read> copies;
    QList<FoundCopy> done;
    for (const QString &path : std::as_const(m_copyPaths)) {
        const platform::FileContents file = platform::readRegularFile(path, WorkspaceFiles::maxStoreSize);
        if (file.outcome == platform::ReadOutcome::absent)
            continue;
        Copy copy;
        bool readable = file.ok();
        try {
            if (readable)
                copy = decodeJson<Copy>(file.bytes);
        } catch (const JsonError &) {
            readable = false;
        }
        if (!readable) {
            // Cut short, or not ours to read: set aside and named, never met again in silence.
            found.unreadable.append(path);
            continue;
        }
        const QByteArray digest = hashOf(file.bytes);
        if (landed.contains(QString::fromLatin1(digest))) {
            done.append({ path, digest });
            continue;
        }
        bool ours = true;
        bool asSpelled = true;
        for (File &stored : copy.files) {
            const std::optional<QString> inStore = storeFile(stored.path, storeFolders);
            ours = ours && inStore.has_value();
            if (!inStore)
                break;
            asSpelled = asSpelled && *inStore == stored.path;
            stored.path = *inStore;
        }
        if (!ours) {
            // Names files that are not the stores' (or no longer where the stores are): nothing of it
            // is written, and it is set aside and named, never kept in silence.
            found.unmatched.append(path);
            continue;
        }
        for (KeptText &text : copy.keptText) {
            text.path = inWorkspace(text.path, workspace);
            if (!text.keptAs.isEmpty())
                text.keptAs = inWorkspace(text.keptAs, workspace);
        }
        // Text an earlier start put beside its file (as "<stem>.unsaved-<UTC>") is there already.
        copy.keptText.removeIf([](const KeptText &text) {
            return text.keptAs.isEmpty() && keptAsideBefore(text.path, u"unsaved", text.text.toUtf8());
        });
        copies.append({ path, digest, modifiedTime(path), asSpelled, std::move(copy) });
    }
    std::ranges::stable_sort(copies, std::ranges::greater(), &Read::changed);

    // Each store file once, from the newest copy that names it; an older copy's other version of
    // it is kept aside as well, unless the store holds it already.
    QHash<QString, std::optional<Fingerprint>> now;
    QHash<QString, QByteArray> decided;
    // A copy that names its files as this process does holds them as it is.
    bool whole = copies.size() == 1 && copies.first().asSpelled;
    const auto keepAside = [&](const File &file) {
        whole = false;
        if (!keptAsideBefore(file.path, u"rescued", file.bytes))
            found.keptAside.append(file);
    };
    for (const Read &read : std::as_const(copies)) {
        for (const File &file : read.copy.files) {
            if (!now.contains(file.path))
                now.insert(file.path, Fingerprint::of(file.path));
            const std::optional<Fingerprint> &current = now[file.path];
            const QString hash = QString::fromLatin1(hashOf(file.bytes));
            if (current && current->exists && current->sha256 == hash) {
                whole = false; // landed already
                continue;
            }
            if (const auto earlier = decided.constFind(file.path); earlier != decided.cend()) {
                if (*earlier != file.bytes)
                    keepAside(file);
                continue;
            }
            decided.insert(file.path, file.bytes);
            // Where the copy could not tell what the store file was (its folder was not reached, or a
            // copy of earlier versions), its file comes back only where the store file is missing or
            // was last changed before the copy was made.
            const bool unchanged = file.was && current
                ? file.was->sameFile(*current)
                : !current || !current->exists || modifiedTime(file.path) <= read.changed;
            if (unchanged)
                found.broughtBack.append(file);
            else
                keepAside(file);
        }
    }

    const std::lock_guard lock(m_mutex);
    for (const File &file : std::as_const(found.broughtBack)) {
        if (m_copied.contains(file.path))
            continue;
        m_due.removeIf([&](const File &due) { return due.path == file.path; });
        m_copied.insert(file.path);
        m_due.append(file);
    }
    for (const Read &read : std::as_const(copies)) {
        for (const KeptText &text : std::as_const(read.copy.keptText)) {
            if (!m_keptText.contains(text))
                m_keptText.append(text);
        }
    }
    ++m_changes;
    m_found = std::move(done);
    for (const Read &read : std::as_const(copies))
        m_found.append({ read.path, read.digest });
    m_keptAside = found.keptAside;
    m_unreadableCopies = found.unreadable;
    m_unmatchedCopies = found.unmatched;
    found.settled = m_found.size();
    // A single copy whose files all come back holds them as it is; otherwise they are written to one
    // copy of their own once the copies found are settled.
    if (whole && !found.broughtBack.isEmpty() && m_found.size() == 1) {
        m_copy = m_found.takeFirst().path;
        m_copiedChanges = m_changes;
    }
    return found;
}

StoreRescue::Settled StoreRescue::settleEarlierCopies()
{
    Settled settled;
    if (platform::writesRefused())
        return settled;
    const std::lock_guard lock(m_mutex);
    // Set aside under a name no start takes up; where that cannot be done, nothing is written over it.
    const auto setAside = [this](const QString &path, QStringView label) -> QString {
        QString aside = WorkspaceFiles::besidePath(path, label);
        if (!aside.isEmpty() && QFile::rename(path, aside))
            return aside;
        m_heldCopies.insert(path);
        return path;
    };
    for (const QString &path : std::exchange(m_unreadableCopies, {}))
        settled.unreadable.append(setAside(path, u"unreadable"));
    for (const QString &path : std::exchange(m_unmatchedCopies, {}))
        settled.unmatched.append(setAside(path, u"unmatched"));
    bool keptAll = true;
    for (const File &file : std::exchange(m_keptAside, {})) {
        const QString aside = WorkspaceFiles::besidePath(file.path, u"rescued");
        QString failure = aside.isEmpty() ? QString::fromUtf16(WorkspaceFiles::everyNameTaken) : QString();
        if (!aside.isEmpty() && platform::writeFileAtomically(aside, file.bytes, &failure)) {
            settled.keptAside.append(aside);
        } else {
            keptAll = false;
            if (settled.error.isEmpty())
                settled.error = failure;
        }
    }
    // The copies found go only once nothing of them is only there.
    if (!keptAll)
        return settled;
    if (m_copy.isEmpty() && (!m_copied.isEmpty() || !m_keptText.isEmpty())) {
        const std::optional<QString> copy = writeCopy(encodeCopy(m_copied), nullptr, {});
        if (!copy)
            return settled;
        m_copy = *copy;
        m_copiedChanges = m_changes;
    }
    for (const FoundCopy &found : std::exchange(m_found, {})) {
        if (found.path != m_copy)
            retire(found.path);
    }
    // Copies listed as done with that are gone since need listing no more.
    if (const QSet<QString> landed = landedList(); !landed.isEmpty())
        writeLandedList(landed);
    return settled;
}

std::optional<QString> StoreRescue::keep(QString *error)
{
    if (const std::optional<QString> refused = platform::writesRefused()) {
        if (error)
            *error = *refused;
        return std::nullopt;
    }
    const std::lock_guard lock(m_mutex);
    if (m_due.isEmpty() && m_keptText.isEmpty())
        return std::nullopt;
    if (!m_copy.isEmpty() && m_copiedChanges == m_changes)
        return m_copy;
    QSet<QString> paths;
    for (const File &file : std::as_const(m_due))
        paths.insert(file.path);
    // Copies found at start and not settled yet may hold what is nowhere else: they stay as they are,
    // as do those to be set aside.
    QSet<QString> unsettled = m_heldCopies;
    for (const FoundCopy &found : std::as_const(m_found))
        unsettled.insert(found.path);
    for (const QString &copy : m_unreadableCopies + m_unmatchedCopies)
        unsettled.insert(copy);
    std::optional<QString> path = writeCopy(encodeCopy(paths), error, unsettled);
    if (!path)
        return std::nullopt;
    // One copy: an older one elsewhere holds nothing this one lacks.
    for (const QString &other : std::as_const(m_copyPaths)) {
        if (other != *path && !unsettled.contains(other))
            retire(other);
    }
    m_copy = *path;
    m_copied = paths;
    m_copiedChanges = m_changes;
    return path;
}

std::optional<QString> StoreRescue::writeCopy(const QByteArray &bytes, QString *error, const QSet<QString> &skipped)
{
    for (const QString &path : std::as_const(m_copyPaths)) {
        if (skipped.contains(path))
            continue;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString failure;
        if (platform::writeFileAtomically(path, bytes, &failure))
            return path;
        if (error)
            *error = failure;
    }
    return std::nullopt;
}

void StoreRescue::retire(const QString &path)
{
    const platform::FileContents file = platform::readRegularFile(path, WorkspaceFiles::maxStoreSize);
    if (file.outcome == platform::ReadOutcome::absent || QFile::remove(path))
        return;
    if (!file.ok())
        return; // not read here, so not taken up here either: whoever reads it checks its files
    QSet<QString> digests = landedList();
    digests.insert(QString::fromLatin1(hashOf(file.bytes)));
    writeLandedList(std::move(digests));
}

QString StoreRescue::landedListPath(const QString &copyPath)
{
    const QString stem = copyPath.endsWith(u".json"_s) ? copyPath.chopped(5) : copyPath;
    return stem + u"-landed.json"_s;
}

QSet<QString> StoreRescue::landedList() const
{
    QSet<QString> digests;
    for (const QString &copy : m_copyPaths) {
        const platform::FileContents file
            = platform::readRegularFile(landedListPath(copy), WorkspaceFiles::maxStoreSize);
        if (!file.ok())
            continue;
        try {
            for (const QString &digest : decodeJson<LandedList>(file.bytes).landed)
                digests.insert(digest);
        } catch (const JsonError &) {
            // Only a guard against copies met again: those are checked file by file all the same.
        }
    }
    return digests;
}

void StoreRescue::writeLandedList(QSet<QString> digests)
{
    // Only copies still on disk need listing.
    QSet<QString> present;
    for (const QString &copy : std::as_const(m_copyPaths)) {
        const platform::FileContents file = platform::readRegularFile(copy, WorkspaceFiles::maxStoreSize);
        if (file.ok())
            present.insert(QString::fromLatin1(hashOf(file.bytes)));
    }
    digests.intersect(present);
    if (digests.isEmpty()) {
        for (const QString &copy : std::as_const(m_copyPaths))
            QFile::remove(landedListPath(copy));
        return;
    }
    LandedList list { .landed = digests.values() };
    std::ranges::sort(list.landed);
    const QByteArray bytes = encodeJson(list);
    for (const QString &copy : std::as_const(m_copyPaths)) {
        const QString path = landedListPath(copy);
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (platform::writeFileAtomically(path, bytes))
            return;
    }
}

QString StoreRescue::listed(const QStringList &what)
{
    QStringList once;
    for (const QString &name : what) {
        if (!once.contains(name))
            once.append(name);
    }
    if (once.size() < 2)
        return once.join(QString());
    return once.mid(0, once.size() - 1).join(u", "_s) + u" and "_s + once.last();
}

QByteArray StoreRescue::encodeCopy(const QSet<QString> &paths) const
{
    Copy copy;
    for (const File &file : m_due) {
        if (!paths.contains(file.path))
            continue;
        // What the store file is now: a later start takes the file up only while it still is.
        copy.files.append(file);
        copy.files.last().was = Fingerprint::of(file.path);
    }
    copy.keptText = m_keptText;
    return encodeJson(copy);
}

void StoreRescue::followCopy()
{
    if (m_copy.isEmpty())
        return;
    if (m_copied.isEmpty() && m_keptText.isEmpty()) {
        retire(m_copy);
        m_copy.clear();
        m_copiedChanges.reset();
        return;
    }
    // A file that landed must not come back from the copy over a newer one.
    if (platform::writeFileAtomically(m_copy, encodeCopy(m_copied)))
        m_copiedChanges.reset();
}

} // namespace orvane
