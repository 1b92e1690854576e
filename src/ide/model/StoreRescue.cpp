#include "ide/model/StoreRescue.h"

#include "ide/model/WorkspaceFiles.h"
#include "platform/AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include <algorithm>

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

// Files a copy may name: directly in one of the stores' folders.
[[nodiscard]] bool isStoreFile(const QString &path, const QStringList &storeFolders)
{
    const QFileInfo info(path);
    return info.isAbsolute() && QDir::cleanPath(path) == path && !info.fileName().startsWith(u'.')
        && storeFolders.contains(info.path());
}

} // namespace

void StoreRescue::File::encode(JsonObjectWriter &writer) const
{
    writer.field("path", path).field("what", what);
    // Stores are JSON, so the copy stays readable; anything else goes as Base64.
    if (isUtf8(bytes))
        writer.field("text", QString::fromUtf8(bytes));
    else
        writer.field("base64", QString::fromLatin1(bytes.toBase64()));
}

StoreRescue::File StoreRescue::File::decode(const JsonObjectReader &reader)
{
    File file {
        .path = reader.required<QString>("path"), .bytes = {}, .what = reader.required<QString>("what"), .error = {}
    };
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

QList<StoreRescue::File> StoreRescue::adoptEarlierCopy(const QStringList &storeFolders)
{
    std::optional<Copy> newest;
    QString newestPath;
    QDateTime newestTime;
    for (const QString &path : std::as_const(m_copyPaths)) {
        const platform::FileContents file = platform::readRegularFile(path, WorkspaceFiles::maxStoreSize);
        if (!file.ok())
            continue;
        Copy copy;
        try {
            copy = decodeJson<Copy>(file.bytes);
        } catch (const JsonError &) {
            continue; // left where it is, for whoever can read it
        }
        const bool valid = std::ranges::all_of(
            copy.files, [&](const File &stored) { return isStoreFile(stored.path, storeFolders); });
        if (!valid)
            continue;
        const QDateTime changed = QFileInfo(path).lastModified();
        if (!newest || changed > newestTime) {
            newest = std::move(copy);
            newestPath = path;
            newestTime = changed;
        }
    }
    if (!newest)
        return {};

    const std::lock_guard lock(m_mutex);
    for (File &file : newest->files) {
        if (m_copied.contains(file.path))
            continue;
        m_due.removeIf([&](const File &due) { return due.path == file.path; });
        m_copied.insert(file.path);
        m_due.append(file);
    }
    for (const KeptText &text : std::as_const(newest->keptText)) {
        if (!m_keptText.contains(text))
            m_keptText.append(text);
    }
    ++m_changes;
    m_copy = newestPath;
    m_copiedChanges = m_changes;
    return newest->files;
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
    const QByteArray bytes = encodeCopy(paths);
    for (const QString &path : std::as_const(m_copyPaths)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QString failure;
        if (!platform::writeFileAtomically(path, bytes, &failure)) {
            if (error)
                *error = failure;
            continue;
        }
        // One copy: an older one elsewhere holds nothing this one lacks.
        for (const QString &other : std::as_const(m_copyPaths)) {
            if (other != path)
                QFile::remove(other);
        }
        m_copy = path;
        m_copied = paths;
        m_copiedChanges = m_changes;
        return path;
    }
    return std::nullopt;
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
        if (paths.contains(file.path))
            copy.files.append(file);
    }
    copy.keptText = m_keptText;
    return encodeJson(copy);
}

void StoreRescue::followCopy()
{
    if (m_copy.isEmpty())
        return;
    if (m_copied.isEmpty() && m_keptText.isEmpty()) {
        QFile::remove(m_copy);
        m_copy.clear();
        m_copiedChanges.reset();
        return;
    }
    // A file that landed must not come back from the copy over a newer one.
    if (platform::writeFileAtomically(m_copy, encodeCopy(m_copied)))
        m_copiedChanges.reset();
}

} // namespace orvane
