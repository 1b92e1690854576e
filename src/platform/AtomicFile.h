#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <functional>
#include <optional>

// Whole-file reads and writes that a hostile folder cannot hang, redirect or truncate.
namespace orvane::platform {

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
    [[nodiscard]] bool ok() const { return outcome == ReadOutcome::read; }
};

// Reads a regular file of at most maxSize bytes. Opened without blocking and without following a
// final symlink only when followSymlink is false; the kind and size are checked on the open
// descriptor, so a FIFO or device put in place of a file is never read from.
[[nodiscard]] FileContents readRegularFile(const QString &path, qint64 maxSize, bool followSymlink = true);

// Removes the temporary files that writes killed before their rename left in folder: regular files
// named "." + target + "." + the random part writeFileAtomically() gives them, last changed before
// `before` (a write still running elsewhere is newer). With isTarget, only those whose target name
// it accepts. Returns how many were removed.
int removeStaleTemporaries(
    const QString &folder, const QDateTime &before, const std::function<bool(QStringView target)> &isTarget = {});

} // namespace orvane::platform
