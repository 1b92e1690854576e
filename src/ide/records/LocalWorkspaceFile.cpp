#include "ide/records/LocalWorkspaceFile.h"

#include <algorithm>
#include <vector>

namespace orvane {

QString LocalWorkspaceFile::id() const
{
    return url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
}

qsizetype LocalWorkspaceFile::sizeBytes() const
{
    return content.toUtf8().size();
}

QString LocalWorkspaceFile::modifiedLabel() const
{
    if (!isModified)
        return QStringLiteral("Synced");
    return changedOnDisk ? QStringLiteral("Changed on disk") : QStringLiteral("Modified");
}

void LocalWorkspaceFile::sortByName(QList<LocalWorkspaceFile> &files)
{
    // UTF-16 order puts U+E000..U+FFFF after supplementary characters; code points do not.
    struct Keyed {
        QList<uint> key;
        qsizetype index;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(std::size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i)
        keyed.push_back({ files.at(i).name.normalized(QString::NormalizationForm_C).toUcs4(), i });
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed &a, const Keyed &b) { return a.key < b.key; });
    QList<LocalWorkspaceFile> sorted;
    sorted.reserve(files.size());
    for (const Keyed &entry : keyed)
        sorted.append(files.at(entry.index));
    files = std::move(sorted);
}

} // namespace orvane
