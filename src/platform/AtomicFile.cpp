#include "platform/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

// Creates a new file beside target, never one that exists; a new file gets 0666 less the umask.
int createTemporary(const QByteArray &target, QByteArray &temp)
{
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray stem = target.left(slash + 1) + '.' + target.mid(slash + 1) + '.';
    for (int attempt = 0; attempt < 100; ++attempt) {
        temp = stem + QByteArray::number(QRandomGenerator::global()->generate64(), 36);
        const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
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
    const QString cleanRoot = QDir::cleanPath(root);
    const QString cleanFolder = QDir::cleanPath(folder);
    if (cleanFolder != cleanRoot && !cleanFolder.startsWith(cleanRoot + u'/')) {
        if (error)
            *error = folder + QStringLiteral(" is outside ") + root;
        return false;
    }
    if (!QDir().mkpath(cleanRoot)) {
        if (error)
            *error = QStringLiteral("the folder ") + root + QStringLiteral(" could not be created");
        return false;
    }
    int dir = ::open(QFile::encodeName(cleanRoot).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0)
        return fail(error, errno);
    // Each step is opened from the folder before it, never through a link: a folder swapped for a
    // link between the steps cannot lead out either.
    const QStringList steps = cleanFolder.mid(cleanRoot.size()).split(u'/', Qt::SkipEmptyParts);
    for (const QString &step : steps) {
        const QByteArray name = QFile::encodeName(step);
        if (::mkdirat(dir, name.constData(), 0777) != 0 && errno != EEXIST) {
            const int code = errno;
            ::close(dir);
            return fail(error, code);
        }
        const int next = ::openat(dir, name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int code = errno;
        ::close(dir);
        if (next < 0) {
            if (code == ELOOP || code == ENOTDIR) {
                if (error)
                    *error = step + QStringLiteral(" is a link or a file, not a folder of ") + root;
                return false;
            }
            return fail(error, code);
        }
        dir = next;
    }
    ::close(dir);
    return true;
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
            result.outcome = ReadOutcome::tooLarge;
            return result;
        }
    }
    ::close(fd);
    result.outcome = ReadOutcome::read;
    result.bytes = std::move(bytes);
    return result;
}

int removeStaleTemporaries(
    const QString &folder, const QDateTime &before, const std::function<bool(QStringView target)> &isTarget)
{
    // createTemporary() names them "." + target + "." + a 64-bit random number in base 36, which
    // has at least 10 digits but for one name in about 180,000: a hidden file of someone else's
    // rarely looks like that, and those few temporaries are left alone.
    static const QRegularExpression temporary(QStringLiteral("^\\.(.+)\\.[0-9a-z]{10,13}$"));
    int removed = 0;
    // A read-only window shares its folders with the writer that holds the lock: its temporaries
    // are that writer's business.
    if (writesRefused())
        return removed;
    const QFileInfoList entries
        = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden | QDir::NoSymLinks, QDir::NoSort);
    for (const QFileInfo &entry : entries) {
        const QString name = entry.fileName();
        if (!name.startsWith(u'.'))
            continue;
        const QRegularExpressionMatch match = temporary.match(name);
        if (!match.hasMatch() || (isTarget && !isTarget(match.capturedView(1))))
            continue;
        if (!entry.isFile() || entry.lastModified() >= before)
            continue;
        if (::unlink(QFile::encodeName(entry.absoluteFilePath()).constData()) == 0)
            ++removed;
    }
    return removed;
}

} // namespace orvane::platform
