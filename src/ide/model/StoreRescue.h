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
class StoreRescue final {
public:
    struct File {
        QString path;
        QByteArray bytes;
        QString what; // the store as the user calls it: "your campaign projects"
        QString error; // why its last write failed; not kept in the copy

        void encode(JsonObjectWriter &writer) const;
        [[nodiscard]] static File decode(const JsonObjectReader &reader);
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

    // Reads the copy an earlier process left (the newest when there are several): its files are due
    // from now on. Returns them, in order; none without a readable copy. A copy naming a file that is
    // not directly in one of storeFolders is not ours to follow and is left alone.
    QList<File> adoptEarlierCopy(const QStringList &storeFolders);

    // Writes everything due (and the kept text) to a copy in the first place that takes it and
    // removes copies elsewhere. Where it went; none when nothing is due or no place took it (error
    // then says why). A copy of the same due files written before is not written again.
    std::optional<QString> keep(QString *error = nullptr);

    // "your campaign projects, your thread list and the thread “Launch”": each one once, in order.
    [[nodiscard]] static QString listed(const QStringList &what);

private:
    [[nodiscard]] QByteArray encodeCopy(const QSet<QString> &paths) const;
    // Rewrites the copy with the files of it still due, or removes it when none is.
    void followCopy();

    QStringList m_copyPaths;
    mutable std::mutex m_mutex;
    QList<File> m_due;
    QList<KeptText> m_keptText;
    quint64 m_changes = 0; // of m_due and m_keptText
    // The copy on disk and the paths it holds that are still due and untried since.
    QString m_copy;
    QSet<QString> m_copied;
    std::optional<quint64> m_copiedChanges; // m_changes when the copy was last written
};

} // namespace orvane
