#include "ide/records/LocalWorkspaceFile.h"

#include <algorithm>
#include <vector>

namespace orvane {

QString LocalWorkspaceFile::id() const
{
    return url.isLocalFile() ? url.toLocalFile() : url.path(QUrl::FullyDecoded);
}

qint64 LocalWorkspaceFile::sizeBytes() const
{
    return tooLargeSize ? *tooLargeSize : qint64(content.toUtf8().size());
}

QString LocalWorkspaceFile::modifiedLabel() const
{
    if (tooLargeSize)
        return QStringLiteral("Too large to edit");
    if (!isModified)
        return QStringLiteral("Synced");
    return changedOnDisk ? QStringLiteral("Changed on disk") : QStringLiteral("Modified");
}

QString LocalWorkspaceFile::tooLargeText() const
{
    return name + QStringLiteral(" is too large to edit here (") + shownSize(sizeBytes()) + u')';
}

QString LocalWorkspaceFile::shownSize(qint64 bytes)
{
    constexpr qint64 kilo = 1024;
    constexpr qint64 mega = kilo * kilo;
    constexpr qint64 giga = mega * kilo;
    // Tenths of the unit, rounded up.
    const auto tenths = [bytes](qint64 unit) {
        const qint64 whole = bytes / unit;
        const qint64 rest = bytes % unit;
        return whole * 10 + (rest * 10 + unit - 1) / unit;
    };
    const auto shown = [](qint64 count, const char16_t *unit) -> QString {
        return QString::number(count / 10) + u'.' + QString::number(count % 10) + u' ' + QStringView(unit);
    };
    if (bytes < kilo)
        return QString::number(std::max<qint64>(bytes, 0)) + QStringLiteral(" B");
    if (bytes < mega)
        return shown(tenths(kilo), u"KB");
    if (bytes < giga)
        return shown(tenths(mega), u"MB");
    return shown(tenths(giga), u"GB");
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
