#pragma once

#include "kit/support/JsonCoding.h"

#include <QByteArray>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <mutex>
#include <optional>

namespace orvane {

// The store files whose last write failed, each with the bytes that write would have put there, and
// the rescue copy that keeps them when the process has to end before they land (a quit while the
// disk refuses writes). The next start reads the copy: its files count as due again, are read in
// place of the stores' own files until they land, and the copy goes once every one of them has.
//
// Any store joins by writing through WorkspaceDiskQueue::writeStoreFile() and reading through
// WorkspaceDiskQueue::readStore(). Safe on any thread.
//
// A copy may be met long after it was made, by a start that finds the stores written since (an
// earlier start could not read or remove it). Each file of a copy therefore records what its store
// file was when the copy was made (`was`); a start takes a file up only while the store file is
// still that, and keeps the copy's version beside a store file that changed as a named file
// ("<stem>.rescued-<UTC>.json") instead. A copy that cannot be read is moved aside
// ("rescue.unreadable-<UTC>.json") and named to the user, as is one whose files cannot be told to be
// the stores' own ("rescue.unmatched-<UTC>.json"). A copy whose files have all been dealt
// with goes; where it cannot be removed, its SHA-256 joins the list of copies done with
// ("<copy stem>-landed.json" beside a copy), which every start reads, so it is never taken up again.
class StoreRescue final {
public:
    // What a store file was: absent, or its size, last change and SHA-256 (empty when it could not
    // be read). Two are the same file when both are absent, or sizes and hashes agree.
    struct Fingerprint {
        bool exists = false;
        qint64 size = 0;
        QString modified; // UTC, ISO 8601 with milliseconds; for people reading the copy
        QString sha256;

        // None when it cannot be told (its folder was not reached).
        [[nodiscard]] static std::optional<Fingerprint> of(const QString &path);
        [[nodiscard]] bool sameFile(const Fingerprint &other) const;
        void encode(JsonObjectWriter &writer) const;
        [[nodiscard]] static Fingerprint decode(const JsonObjectReader &reader);
    };

    struct File {
        QString path;
        QByteArray bytes;
        QString what; // the store as the user calls it: "your campaign projects"
        QString error; // why its last write failed; not kept in the copy
        // The store file in its place could not be read: the write that lands keeps it aside.
        bool unreadable = false;
        // In a copy read back: what the store file was when the copy was made (none where that
        // could not be told, and in copies of earlier versions). Written afresh, from the disk,
        // whenever a copy is made.
        std::optional<Fingerprint> was;

        void encode(JsonObjectWriter &writer) const;
        [[nodiscard]] static File decode(const JsonObjectReader &reader);
    };

    // What a start found of the copies earlier processes left.
    struct Found {
        QList<File> broughtBack; // due from now on, in order
        QList<File> keptAside; // the copies' versions of store files that changed since: see keepAside()
        QStringList unreadable; // copies that could not be read
        QStringList unmatched; // copies naming files that are not the stores' own, wherever they are now
        qsizetype settled = 0; // copies of ours found, to be settled
        [[nodiscard]] bool isEmpty() const { return settled == 0 && unreadable.isEmpty() && unmatched.isEmpty(); }
    };

    // A folder the stores keep files in, with its place under the folder that holds it (the data or
    // config folder): a copy made while that folder was elsewhere (the home moved, XDG_CONFIG_HOME
    // changed) names the store's files at the same place under the old one.
    struct StoreFolder {
        QString path;
        QString place; // the last `components` names of the path: "Orvane/defaults/<store>"

        [[nodiscard]] static StoreFolder of(const QString &path, qsizetype components);
    };

    // Text the user typed into a file and did not save, kept as the process ended: beside its file
    // (keptAs names the copy; the next start says where it went), or, where nothing could be written
    // there, in the copy itself (the next start writes it beside the file).
    struct KeptText {
        QString path; // the file it was typed into
        QString text; // empty once kept beside it
        QString keptAs;

        void encode(JsonObjectWriter &writer) const;
        [[nodiscard]] static KeptText decode(const JsonObjectReader &reader);
        bool operator==(const KeptText &) const = default;
    };

    // copyPaths: where a copy may be written, in order of preference (the data, cache and runtime
    // folders); the first that takes it holds it.
    explicit StoreRescue(QStringList copyPaths = {});
    StoreRescue(const StoreRescue &) = delete;
    StoreRescue &operator=(const StoreRescue &) = delete;

    // A store write was tried: one that failed stays due with its bytes, after the others (a later
    // file of a store may name an earlier one); one that landed is due no more, and leaves the copy.
    void tried(File file, bool landed);
    // Bytes due without a write now: a file that waits for another to land first.
    void hold(File file) { tried(std::move(file), false); }
    // A file its store no longer wants written (a removed thread's body): due no more.
    void drop(const QString &path);

    // Kept text joins the copy (its own list, beside the store files) until settleKeptText().
    void keepText(KeptText text);
    [[nodiscard]] QList<KeptText> keptText() const;
    // The next start put that text in place (or said where it is): the copy holds it no more.
    void settleKeptText(const QList<KeptText> &settled);

    // What is due, in the order it has to be written.
    [[nodiscard]] QList<File> due() const;
    [[nodiscard]] bool hasDue() const;
    // The bytes due for the file, if any: what the store holds once its writes land.
    [[nodiscard]] std::optional<QByteArray> dueBytes(const QString &path) const;
    // The files of the copy on disk (read at start, or written since) that are still due and that no
    // store tried to write since (a store's own write of them is newer, and the store retries it):
    // in order.
    [[nodiscard]] QList<File> copiedDue() const;

    // Reads every copy earlier processes left, newest first. A file whose store file is still as the
    // copy recorded is due from now on (a copy of earlier versions, which recorded nothing: where
    // the store file is absent or not changed since the copy was); one whose store file changed
    // since is to be kept aside, unless a file kept aside before holds that version already; one
    // the store already holds is done. A copy's files are its stores' directly in one of
    // storeFolders, by any spelling of the folder, or at the folder's place under another (the
    // copy of another home): those are today's store files. A copy naming any other file is not
    // ours to follow: it is to be set aside whole. Kept text at the workspace's place under
    // another folder is for the same file under today's. A copy listed as done with is not taken
    // up. Reads only.
    Found adoptEarlierCopies(const QList<StoreFolder> &storeFolders, const StoreFolder &workspace = {});
    // On the writer, in a window that may write, after adoptEarlierCopies(): writes the kept-aside
    // files beside their store files, moves the unreadable and unmatched copies aside, and once
    // what is due of the copies found is held in one copy (or has landed), removes the others (or
    // lists them as done with). The named files written and where the copies set aside are now;
    // failures leave the copies found where they are, for the next start.
    struct Settled {
        QStringList keptAside;
        QStringList unreadable;
        QStringList unmatched;
        QString error; // of the first kept-aside file that could not be written
    };
    Settled settleEarlierCopies();

    // Writes everything due (and the kept text) to a copy in the first place that takes it and
    // removes copies elsewhere. Where it went; none when nothing is due or no place took it (error
    // then says why). A copy of the same due files written before is not written again.
    std::optional<QString> keep(QString *error = nullptr);

    // "your campaign projects, your thread list and the thread “Launch”": each one once, in order.
    [[nodiscard]] static QString listed(const QStringList &what);

    // Where copies done with are listed, beside each place a copy may be.
    [[nodiscard]] static QString landedListPath(const QString &copyPath);

private:
    [[nodiscard]] QByteArray encodeCopy(const QSet<QString> &paths) const;
    // Rewrites the copy with the files of it still due, or removes it when none is.
    void followCopy();
    // Writes the bytes to the first place, not skipped, that takes them; where, or none (error says
    // why).
    std::optional<QString> writeCopy(const QByteArray &bytes, QString *error, const QSet<QString> &skipped);
    // A copy on disk that holds nothing due any more goes; one that cannot be removed is listed as
    // done with.
    void retire(const QString &path);
    [[nodiscard]] QSet<QString> landedList() const;
    void writeLandedList(QSet<QString> digests);

    struct FoundCopy {
        QString path;
        QByteArray digest;
    };

    QStringList m_copyPaths;
    mutable std::mutex m_mutex;
    QList<File> m_due;
    QList<KeptText> m_keptText;
    quint64 m_changes = 0; // of m_due and m_keptText
    // The copy on disk and the paths it holds that are still due and untried since; none while the
    // files taken up from several copies are not yet held by one.
    QString m_copy;
    QSet<QString> m_copied;
    std::optional<quint64> m_copiedChanges; // m_changes when the copy was last written
    // From adoptEarlierCopies() until settleEarlierCopies(): the copies found and what to do.
    QList<FoundCopy> m_found;
    QList<File> m_keptAside;
    QStringList m_unreadableCopies;
    QStringList m_unmatchedCopies;
    // Copies to be set aside that could not be moved: no copy is written over them.
    QSet<QString> m_heldCopies;
};

} // namespace orvane
