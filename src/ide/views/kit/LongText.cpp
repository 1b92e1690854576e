#include "ide/views/kit/LongText.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace orvane {

namespace {

// The first `count` characters of `text`, without splitting a surrogate pair.
QStringView head(QStringView text, qsizetype count)
{
    if (count < text.size() && count > 0 && text.at(count - 1).isHighSurrogate())
        --count;
    return text.left(count);
}

} // namespace

QString cutLongLines(const QString &text, qsizetype *longest, qsizetype limit)
{
    qsizetype longestLine = 0;
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        longestLine = std::max(longestLine, end - start);
        start = end + 1;
    }
    if (longest)
        *longest = longestLine > limit ? longestLine : 0;
    if (longestLine <= limit)
        return text;

    QString shown;
    shown.reserve(std::min(text.size(), limit * 4));
    for (qsizetype start = 0; start <= text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0)
            end = text.size();
        const QStringView line = QStringView(text).mid(start, end - start);
        if (line.size() > limit) {
            shown += head(line, limit);
            shown += u'…';
        } else {
            shown += line;
        }
        if (end < text.size())
            shown += u'\n';
        start = end + 1;
    }
    return shown;
}

QString labelText(const QString &text, qsizetype limit)
{
    if (text.size() <= limit)
        return text;
    QString shown = head(text, limit).toString();
    shown += u'…';
    return shown;
}

QString cutLineNote(qsizetype longestLine)
{
    return u"A line of %1 characters is too long to show in full: it is cut at %2 characters here and "
           u"kept whole. The field cannot be edited while it holds that line; select all and delete to "
           u"clear it."_s.arg(longestLine)
               .arg(shownLineLimit);
}

} // namespace orvane
