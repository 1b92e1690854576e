#pragma once

#include <QList>
#include <QString>
#include <QUrl>

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

    // Larger files are left out of the list: the editor holds a file's whole text.
    static constexpr qint64 maxListedSize = 1024 * 1024;

    // The file's path; two records with the same path are the same list element.
    [[nodiscard]] QString id() const;
    // Bytes of content in UTF-8, not the size on disk.
    [[nodiscard]] qsizetype sizeBytes() const;
    // "Synced", "Modified", or "Changed on disk" while modified over a file that changed there.
    [[nodiscard]] QString modifiedLabel() const;

    // Orders files by name as exact text: Unicode scalar order of the composed (NFC) names, so
    // capitals come before lower case; files with equal names keep their order.
    static void sortByName(QList<LocalWorkspaceFile> &files);

    bool operator==(const LocalWorkspaceFile &) const = default;
};

} // namespace orvane
