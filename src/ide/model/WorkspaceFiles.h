#pragma once

#include "ide/records/CampaignIDEProject.h"
#include "ide/records/CampaignIDEThread.h"
#include "ide/records/LocalWorkspaceFile.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <optional>

// The plain files of the local workspace: what the mirror writes into a project folder, how files
// are written and set aside, and how a folder is listed for the editor. Free of model state, so the
// background writer can call everything here.
namespace orvane::WorkspaceFiles {

inline constexpr char16_t planFileName[] = u"campaign-plan.md";
inline constexpr char16_t creativesFileName[] = u"creatives.json";
inline constexpr char16_t rulesFileName[] = u"execution-rules.md";
inline constexpr char16_t mediaPlanFileName[] = u"media-plan.csv";
inline constexpr char16_t transcriptFileName[] = u"thread-transcript.json";

// The largest store of ours that is read back: far beyond any real one (no store the application
// wrote is refused for its size); only guards against reading a device or a runaway file into memory.
inline constexpr qint64 maxStoreSize = qint64(4) * 1024 * 1024 * 1024;

// Project folder names stay short enough for any file system and for the names inside them.
inline constexpr qsizetype maxFolderNameLength = 80;
// The folder name of a project: its slug, cut to maxFolderNameLength; when that is one of taken,
// cut shorter and followed by "-" and the first eight hex digits of the project id.
[[nodiscard]] QString projectFolderName(const CampaignIDEProject &project, const QSet<QString> &taken);
// A single, visible path component that no folder name of ours exceeds.
[[nodiscard]] bool isSafeFolderName(const QString &name);

[[nodiscard]] QString campaignPlanMarkdown(const CampaignIDEProject &project);
[[nodiscard]] QString executionRulesMarkdown(const CampaignIDEProject &project);
// The artboards as an indented JSON array with sorted keys; throws EncodingError.
[[nodiscard]] QByteArray creativesJson(const QList<CreativeCanvasArtboard> &creatives);
// The header line and one line per row, every line ended by a line feed.
[[nodiscard]] QByteArray mediaPlanCsv(const QList<CampaignMediaPlanRow> &rows);
// The thread as indented JSON with sorted keys; throws EncodingError.
[[nodiscard]] QByteArray threadTranscriptJson(const CampaignIDEThread &thread);
// A number as a bare whole number: truncated toward zero, saturating at the 64-bit bounds, 0 for NaN.
[[nodiscard]] QString wholeNumber(double value);

// A free name beside path that keeps its extension and says what the copy is, with the time:
// "campaign-plan.md" with label "user-edit" gives "campaign-plan.user-edit-20250101T120000Z.md", or
// "-2" to "-999" before the extension when that is taken. It fits in a file name (maxNameBytes):
// a long stem is cut between characters, never the label, time or extension. Empty when every
// such name is taken: no copy is made over anything (everyNameTaken says why).
[[nodiscard]] QString besidePath(const QString &path, QStringView label);
inline constexpr char16_t everyNameTaken[] = u"every name beside it is taken";
// How every name besidePath() gives starts and ends: "<folder>/campaign-plan.user-edit-" and ".md".
struct BesideName {
    QString start;
    QString extension;
};
[[nodiscard]] BesideName besideName(const QString &path, QStringView label);

// The desktop's documents folder: the one the XDG user-dirs file names, else "$HOME/Documents".
[[nodiscard]] QString documentsFolder();
// The path as the user reads it: the home folder shown as "~".
[[nodiscard]] QString shownPath(const QString &path);

// Runs `write` over an unreadable store at path and keeps what was there as
// "<path>.unreadable-<UTC yyyyMMddTHHmmssZ>" once the write has landed, so that it loses nothing.
// The unreadable file never leaves its place before that: when the write fails, or the file cannot
// be kept, path holds it as before and no copy is left. `write` must put a new file at path by a
// rename (as platform::writeFileAtomically() does), never write into the one there; a write of
// another file moves the unreadable one aside once it lands. Returns whether the write landed;
// keptAs, when given, gets the copy's path when one was made.
bool replaceUnreadable(const QString &path, const std::function<bool()> &write, QString *keptAs = nullptr);

// The notice of a store write that failed ("Could not save <what>: <error>. …"); said once until
// the write lands, which the next change and quitting try again.
[[nodiscard]] QString saveFailureNotice(const QString &what, const QString &error);

// Why a folder at a file's name is not listed (TextFileListing::unlisted).
inline constexpr char16_t isAFolder[] = u"is a folder";

// The text files directly in a folder, as the editor lists them.
struct TextFileListing {
    // Sorted by name; a file over the size limit with its size only (LocalWorkspaceFile::tooLargeSize).
    QList<LocalWorkspaceFile> files;
    // Entries of an accepted name that cannot be listed, by name, each with why ("is not UTF-8
    // text", "is a folder"): they are still there, unlike a file deleted from the folder.
    QHash<QString, QString> unlisted;
};
// Lists the visible entries of an accepted extension (md, json, txt, csv, yaml, yml, py, sh; any
// case): regular files of valid UTF-8 with their text, and those over maxSize bytes by size, never
// read. None when the folder cannot be listed.
[[nodiscard]] std::optional<TextFileListing> listTextFiles(const QString &folder, qint64 maxSize);

} // namespace orvane::WorkspaceFiles
