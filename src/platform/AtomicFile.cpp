#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvane::platform {
namespace {

QString errnoText(int code)
{
    return QString::fromLocal8Bit(std::strerror(code));
}

bool fail(QString *error, int code)
{
    if (error)
        *error = errnoText(code);
    return false;
}

constexpr char temporaryMark[] = ".orvane-tmp-";
// A 64-bit number has at most 13 digits in base 36.
constexpr int randomDigits = 13;

// Creates a new file beside target, never one that exists; a new file gets 0666 less the umask. Its
// name is "." + the target's name + temporaryMark + a random number in base 36; of a target name too
// long for that, only the end (with its extension) is kept, cut between characters.
int createTemporary(const QByteArray &target, QByteArray &temp)
{
    const qsizetype slash = target.lastIndexOf('/');
    QByteArray name = target.mid(slash + 1);
    const qsizetype room = maxNameBytes - 1 - qsizetype(sizeof temporaryMark - 1) - randomDigits;
    if (name.size() > room) {
        qsizetype cut = name.size() - room;
        while (cut < name.size() && (uchar(name.at(cut)) & 0xC0) == 0x80)
            ++cut;
        name = name.mid(cut);
    }
    const QByteArray stem = target.left(slash + 1) + '.' + name + temporaryMark;
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = stem + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// Opens folder, which lies at or below root, one component at a time from root and never through a
// link below root (root itself may be one); with create, the components that are missing are made.
// Returns the descriptor, or -1 with error filled.
int openFolderWithin(const QString &root, const QString &folder, bool create, QString *error)
{
    const QString cleanRoot = QDir::cleanPath(root);
    const QString cleanFolder = QDir::cleanPath(folder);
    if (cleanFolder != cleanRoot && !cleanFolder.startsWith(cleanRoot + u'/')) {
        if (error)
            *error = folder + QStringLiteral(" is outside ") + root;
        return -1;
    }
    if (create && !QDir().mkpath(cleanRoot)) {
        if (error)
            *error = QStringLiteral("the folder ") + root + QStringLiteral(" could not be created");
        return -1;
    }
    int dir = ::open(QFile::encodeName(cleanRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) {
        fail(error, errno);
        return -1;
    }
    // Each step is opened from the folder before it, never through a link: a folder swapped for a
    // link between the steps cannot lead out either.
    const QStringList steps = cleanFolder.mid(cleanRoot.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        const QByteArray name = QFile::encodeName(step);
        if (create && ::mkdirat(dir, name.constData(), 0777) != 0 && errno != EEXIST) {
            const int code = errno;
            ::close(dir);
            fail(error, code);
            return -1;
        }
        const int next = ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int code = errno;
        ::close(dir);
        if (next < 0) {
            if (code == ELOOP || code == ENOTDIR) {
                if (error)
                    *error = step + QStringLiteral(" is a link or a file, not a folder of ") + root;
            } else {
                fail(error, code);
            }
            return -1;
        }
        dir = next;
    }
    return dir;
}

QMutex refusalMutex;
std::optional<QString> refusal; // guarded by refusalMutex

bool refused(QString *error)
{
    const QMutexLocker locker(&refusalMutex);
    if (!refusal)
        return false;
    if (error)
        *error = *refusal;
    return true;
}

} // namespace

void refuseWrites(const std::optional<QString> &reason)
{
    const QMutexLocker locker(&refusalMutex);
    refusal = reason;
}

std::optional<QString> writesRefused()
{
    const QMutexLocker locker(&refusalMutex);
    return refusal;
}

bool makeFolderWithin(const QString &root, const QString &folder, QString *error)
{
    if (refused(error))
        return false;
    const int dir = openFolderWithin(root, folder, true, error);
    if (dir < 0)
        return false;
    ::close(dir);
    return true;
}

bool isTemporaryName(QStringView name)
{
    static const QRegularExpression temporary(QStringLiteral("^\\..+")
        + QRegularExpression::escape(QLatin1StringView(temporaryMark)) + QStringLiteral("[0-9a-z]{1,")
        + QString::number(randomDigits) + QStringLiteral("}$"));
    return temporary.match(name).hasMatch();
}

bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error)
{
    if (refused(error))
        return false;
    const QByteArray native = QFile::encodeName(path);
    std::optional<mode_t> keptMode;
    struct stat existing { };
    if (::lstat(native.constData(), &existing) == 0) {
        if (S_ISDIR(existing.st_mode))
            return fail(error, EISDIR);
        if (S_ISREG(existing.st_mode))
            keptMode = existing.st_mode & 07777;
    } else if (errno != ENOENT) {
        return fail(error, errno);
    }

    QByteArray temp;
    const int fd = createTemporary(native, temp);
    if (fd < 0)
        return fail(error, errno);
    const auto abandon = [&](int code) {
        ::close(fd);
        ::unlink(temp.constData());
        return fail(error, code);
    };
    if (keptMode && ::fchmod(fd, *keptMode) != 0)
        return abandon(errno);
    const char *data = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, data, size_t(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return abandon(n < 0 ? errno : ENOSPC);
        data += n;
        left -= n;
    }
    // A full disk may only show when the data reaches it; the old file must outlive that.
    if (::fsync(fd) != 0)
        return abandon(errno);
    if (::close(fd) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        return fail(error, code);
    }
    if (::rename(temp.constData(), native.constData()) != 0) {
        const int code = errno;
        ::unlink(temp.constData());
        return fail(error, code);
    }
    return true;
}

FileContents readRegularFile(const QString &path, qint64 maxSize, bool followSymlink)
{
    FileContents result;
    const QByteArray native = QFile::encodeName(path);
    const int flags = O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY | (followSymlink ? 0 : O_NOFOLLOW);
    const int fd = ::open(native.constData(), flags);
    if (fd < 0) {
        result.outcome = errno == ENOENT ? ReadOutcome::absent
            : errno == ELOOP             ? ReadOutcome::notRegular
                                         : ReadOutcome::failed;
        return result;
    }
    struct stat st { };
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        result.outcome = ReadOutcome::notRegular;
        return result;
    }
    result.size = qint64(st.st_size);
    if (st.st_size > maxSize) {
        ::close(fd);
        result.outcome = ReadOutcome::tooLarge;
        return result;
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
            return result;
        }
        if (n == 0)
            break;
        bytes.append(buffer, qsizetype(n));
        if (bytes.size() > maxSize) { // grew since it was checked
            ::close(fd);
            result.size = std::max(result.size, qint64(bytes.size()));
            result.outcome = ReadOutcome::tooLarge;
            return result;
        }
    }
    ::close(fd);
    result.outcome = ReadOutcome::read;
    result.size = bytes.size();
    result.bytes = std::move(bytes);
    return result;
}

int removeStaleTemporaries(const QString &root, const QString &folder, const QDateTime &before)
{
    // A read-only window shares its folders with the writer that holds the lock: its temporaries
    // are that writer's business.
    if (writesRefused())
        return 0;
    const int dir = openFolderWithin(root, folder, false, nullptr);
    if (dir < 0)
        return 0;
    DIR *listing = ::fdopendir(dir);
    if (!listing) {
        ::close(dir);
        return 0;
    }
    // Every name is looked at on the open folder, so a folder swapped for a link meanwhile changes
    // nothing; the names are collected first and removed after the listing.
    const qint64 limit = before.toMSecsSinceEpoch();
    QList<QByteArray> stale;
    while (const dirent *entry = ::readdir(listing)) {
        if (entry->d_name[0] != '.' || !isTemporaryName(QFile::decodeName(entry->d_name)))
            continue;
        struct stat st { };
        if (::fstatat(dir, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
            continue;
        const qint64 changed = qint64(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
        if (changed < limit)
            stale.append(QByteArray(entry->d_name));
    }
    int removed = 0;
    for (const QByteArray &name : std::as_const(stale)) {
        if (::unlinkat(dir, name.constData(), 0) == 0)
            ++removed;
    }
    ::closedir(listing); // closes dir as well
    return removed;
}

} // namespace orvane::platform
