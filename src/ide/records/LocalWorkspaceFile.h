#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

namespace orvane {

// One text file of a project folder as loaded into the editor. Never written to JSON.
struct LocalWorkspaceFile {
    QString name = {}; // last path component
    QUrl url = {};
    QString content = {};
    bool isModified = false;
    // The file's text as last read from disk or saved there: what a save expects to replace.
    QString diskContent = {};
    // Under unsaved edits, the file on disk no longer holds diskContent (the mirror or another
    // program wrote it since).
    bool changedOnDisk = false;
    // Set for a file over maxListedSize: its size on disk. Such a file is listed by name and size
    // only; its text is neither read nor held (content stays empty), and it is not edited or saved.
    std::optional<qint64> tooLargeSize = {};
    // An unsaved edit held while its file cannot be shown (not UTF-8 or unreadable now, or too
    // large); the user has been told why.
    bool unshown = false;

    // The largest file whose text the editor holds.
    static constexpr qint64 maxListedSize = 1024 * 1024;

    // The file's path; two records with the same path are the same list element.
    [[nodiscard]] QString id() const;
    // Bytes of content in UTF-8, not the size on disk; a file too large to edit: its size on disk.
    [[nodiscard]] qint64 sizeBytes() const;
    // "Synced", "Modified", or "Changed on disk" while modified over a file that changed there;
    // "Too large to edit" for a file too large to edit.
    [[nodiscard]] QString modifiedLabel() const;
    [[nodiscard]] bool isTooLarge() const { return tooLargeSize.has_value(); }
    // "notes.md is too large to edit here (1.1 MB)", for a file too large to edit.
    [[nodiscard]] QString tooLargeText() const;
    // A size as "1.1 MB" (rounded up, so that a file over the limit never reads as within it).
    [[nodiscard]] static QString shownSize(qint64 bytes);

    // Orders files by name as exact text: Unicode scalar order of the composed (NFC) names, so
    // capitals come before lower case; files with equal names keep their order.
    static void sortByName(QList<LocalWorkspaceFile> &files);

    bool operator==(const LocalWorkspaceFile &) const = default;
};

} // namespace orvane
