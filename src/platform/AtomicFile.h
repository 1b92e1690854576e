#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

// Whole-file reads and writes that a hostile folder cannot hang, redirect or truncate.
namespace orvane::platform {

// The longest file name the file systems we meet allow, in bytes (as QFile::encodeName() gives it).
inline constexpr qsizetype maxNameBytes = 255;

// Replaces the file at path with bytes, atomically: the bytes go to a new temporary file beside it,
// every write, the sync to disk and the close are checked, and only then is it renamed into place.
// On any failure the temporary file is removed and whatever was at path is left whole. A symlink,
// FIFO or other non-folder at path is replaced, never followed or opened; a folder there fails.
// An existing regular file keeps its permissions. On failure returns false and fills error.
bool writeFileAtomically(const QString &path, QByteArrayView bytes, QString *error = nullptr);

// Makes folder, and every folder missing between root and it, without following a link below root:
// each component under root must be a real folder, so nothing made or later written there can land
// outside root. root itself may be a link (the user's choice of where it lives). A folder that is
// not under root, or that goes through a link or a file, fails with false and fills error.
bool makeFolderWithin(const QString &root, const QString &folder, QString *error = nullptr);

// From now on, in the whole process, every write and folder made here fails with reason as its
// error (a process that may not write, as it cannot tell whether another one writes); none: they
// are allowed again.
void refuseWrites(const std::optional<QString> &reason);
// The reason writes are refused in this process, if they are: for changes made without a write here
// (a folder moved), which must be refused all the same.
[[nodiscard]] std::optional<QString> writesRefused();

enum class ReadOutcome { read, absent, notRegular, tooLarge, failed };

struct FileContents {
    ReadOutcome outcome = ReadOutcome::failed;
    QByteArray bytes;
    qint64 size = -1; // the file's size when opened: also known when it is tooLarge
    [[nodiscard]] bool ok() const { return outcome == ReadOutcome::read; }
};

// Reads a regular file of at most maxSize bytes. Opened without blocking and without following a
// final symlink only when followSymlink is false; the kind and size are checked on the open
// descriptor, so a FIFO or device put in place of a file is never read from.
[[nodiscard]] FileContents readRegularFile(const QString &path, qint64 maxSize, bool followSymlink = true);

// Whether a file name is one that writeFileAtomically() gives its temporary files:
// "." + the target's name + ".orvane-tmp-" + a random part. No file of the user's has that mark by
// chance, so whoever lists or sweeps a folder can tell these apart from the user's own hidden files.
[[nodiscard]] bool isTemporaryName(QStringView name);

// Removes the temporary files that writes killed before their rename left in folder, which lies at
// or below root: regular files with the temporaries' mark (isTemporaryName()), last changed before
// `before` (a write still running elsewhere is newer). The folder is opened from root without
// following a link below it (root itself may be one), as makeFolderWithin() does: a folder that is
// a link is left alone, and nothing outside root is touched. Returns how many were removed.
int removeStaleTemporaries(const QString &root, const QString &folder, const QDateTime &before);

} // namespace orvane::platform
