#include "kit/support/RelativeDate.h"

#include <QHash>
#include <QLocale>
#include <QTimeZone>

#include <unicode/locid.h>
#include <unicode/numfmt.h>
#include <unicode/reldatefmt.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <utility>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

enum class Unit { year, month, week, day, hour, minute, second };

// English, for when the locale's phrases cannot be had.
QString englishPhrase(Unit unit, std::int64_t count, bool future)
{
    if (count == 0)
        return u"now"_s;
    if (count == 1) {
        switch (unit) {
        case Unit::day:
            return future ? u"tomorrow"_s : u"yesterday"_s;
        case Unit::week:
            return future ? u"next week"_s : u"last week"_s;
        case Unit::month:
            return future ? u"next month"_s : u"last month"_s;
        case Unit::year:
            return future ? u"next year"_s : u"last year"_s;
        default:
            break;
        }
    }
    static constexpr std::array<std::pair<QStringView, QStringView>, 7> names { {
        { u"year", u"years" },
        { u"month", u"months" },
        { u"week", u"weeks" },
        { u"day", u"days" },
        { u"hour", u"hours" },
        { u"minute", u"minutes" },
        { u"second", u"seconds" },
    } };
    const auto &[singular, plural] = names[std::size_t(unit)];
    const QString amount = QString::number(count) + u' ' + (count == 1 ? singular : plural);
    return future ? u"in "_s + amount : amount + u" ago"_s;
}

URelativeDateTimeUnit icuUnit(Unit unit)
{
    switch (unit) {
    case Unit::year:
        return UDAT_REL_UNIT_YEAR;
    case Unit::month:
        return UDAT_REL_UNIT_MONTH;
    case Unit::week:
        return UDAT_REL_UNIT_WEEK;
    case Unit::day:
        return UDAT_REL_UNIT_DAY;
    case Unit::hour:
        return UDAT_REL_UNIT_HOUR;
    case Unit::minute:
        return UDAT_REL_UNIT_MINUTE;
    case Unit::second:
        break;
    }
    return UDAT_REL_UNIT_SECOND;
}

// The BCP 47 tag of the user's locale as the application sees it (QLocale's default, which
// follows the system unless the application sets one); the C locale reads as English.
QString currentLocaleTag()
{
    const QLocale locale;
    if (locale.language() == QLocale::C)
        return u"en-US"_s;
    return locale.bcp47Name();
}

// One formatter per thread, made again only when the locale changes: making one loads the
// locale's data, far more work than formatting a phrase.
class LocaleRelativeFormatter final {
public:
    std::optional<QString> phrase(Unit unit, std::int64_t count, bool future)
    {
        const QString tag = currentLocaleTag();
        if (!m_formatter || tag != m_tag)
            rebuild(tag);
        if (!m_formatter)
            return std::nullopt;
        // Few phrases recur (a list of projects updated over a year uses some hundred), and
        // formatting one costs far more than finding it again.
        const bool cached = count < kCachedCounts;
        const std::int64_t key = (count * 7 + std::int64_t(unit)) * 2 + (future ? 1 : 0);
        if (cached) {
            if (const auto found = m_phrases.constFind(key); found != m_phrases.cend())
                return *found;
        }
        UErrorCode status = U_ZERO_ERROR;
        icu::UnicodeString text;
        // The named form: "yesterday", "last week", "now" where the language has a word for it.
        m_formatter->format(double(future ? count : -count), icuUnit(unit), text, status);
        if (U_FAILURE(status))
            return std::nullopt;
        QString result(reinterpret_cast<const QChar *>(text.getBuffer()), text.length());
        if (cached)
            m_phrases.insert(key, result);
        return result;
    }

private:
    void rebuild(const QString &tag)
    {
        m_tag = tag;
        m_formatter.reset();
        m_phrases.clear();
        UErrorCode status = U_ZERO_ERROR;
        const icu::Locale locale = icu::Locale::forLanguageTag(tag.toStdString(), status);
        if (U_FAILURE(status))
            return;
        // Counts are written without grouping ("1200 years ago"), as they always were.
        std::unique_ptr<icu::NumberFormat> numbers(icu::NumberFormat::createInstance(locale, status));
        if (U_FAILURE(status) || !numbers)
            return;
        numbers->setGroupingUsed(false);
        auto formatter = std::make_unique<icu::RelativeDateTimeFormatter>(
            locale, numbers.release(), UDAT_STYLE_LONG, UDISPCTX_CAPITALIZATION_NONE, status);
        if (U_SUCCESS(status))
            m_formatter = std::move(formatter);
    }

    static constexpr std::int64_t kCachedCounts = 100;
    QString m_tag;
    std::unique_ptr<icu::RelativeDateTimeFormatter> m_formatter;
    QHash<std::int64_t, QString> m_phrases; // by count, unit and direction
};

QString phrase(Unit unit, std::int64_t count, bool future)
{
    thread_local LocaleRelativeFormatter formatter;
    return formatter.phrase(unit, count, future).value_or(englishPhrase(unit, count, future));
}

// The calendar distance from `earlier` to `later` in its largest non-zero unit, the way a
// calendar counts it: whole years, then months, weeks, days, and the rest in clock units. The two
// are wall-clock times of the reader's zone (held as UTC, so that stepping them is arithmetic, not
// a zone lookup per step); `elapsedSeconds` is the real time between them.
std::pair<Unit, std::int64_t> largestComponent(QDateTime earlier, const QDateTime &later, std::int64_t elapsedSeconds)
{
    const auto step = [&](std::int64_t from, auto add) {
        std::int64_t n = from;
        while (add(earlier, n + 1) <= later)
            ++n;
        earlier = add(earlier, n);
        return n;
    };
    // Stepping one unit at a time keeps month-end clamping exactly as the calendar does; the years
    // start one short of the difference of the year numbers, which never overshoots.
    const std::int64_t yearsBelow = std::max(0, later.date().year() - earlier.date().year() - 1);
    const std::int64_t years = step(yearsBelow, [](const QDateTime &d, std::int64_t k) { return d.addYears(int(k)); });
    if (years > 0)
        return { Unit::year, years };
    if (const auto months = step(0, [](const QDateTime &d, std::int64_t k) { return d.addMonths(int(k)); }))
        return { Unit::month, months };
    std::int64_t days = earlier.date().daysTo(later.date());
    if (days > 0 && earlier.addDays(days) > later)
        --days;
    if (days >= 7)
        return { Unit::week, days / 7 };
    if (days > 0)
        return { Unit::day, days };
    if (elapsedSeconds >= 3600)
        return { Unit::hour, elapsedSeconds / 3600 };
    if (elapsedSeconds >= 60)
        return { Unit::minute, elapsedSeconds / 60 };
    return { Unit::second, elapsedSeconds };
}

// The same wall-clock time, held as UTC.
QDateTime wallClock(const QDateTime &zoned)
{
    return QDateTime(zoned.date(), zoned.time(), Qt::UTC);
}

} // namespace

std::optional<QDateTime> parseInternetDateTime(QStringView text)
{
    // "YYYY-MM-DDTHH:MM:SS", then ".f" with 1 to 9 digits, then "Z" or "±HH:MM". Read by hand: a
    // refresh reads one per project, and a pattern match costs more than the rest together.
    const auto number = [&](qsizetype at, qsizetype count) {
        int value = 0;
        for (qsizetype i = at; i < at + count; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return -1;
            value = value * 10 + int(c - u'0');
        }
        return value;
    };
    constexpr qsizetype kSeconds = 19; // the length of "YYYY-MM-DDTHH:MM:SS"
    if (text.size() < kSeconds + 1 || text[4] != u'-' || text[7] != u'-' || text[10] != u'T' || text[13] != u':'
        || text[16] != u':')
        return std::nullopt;
    const int year = number(0, 4);
    const int month = number(5, 2);
    const int day = number(8, 2);
    const int hour = number(11, 2);
    const int minute = number(14, 2);
    const int second = number(17, 2);
    if (year < 0 || month < 0 || day < 0 || hour < 0 || minute < 0 || second < 0)
        return std::nullopt;

    qsizetype at = kSeconds;
    int milliseconds = 0;
    if (text[at] == u'.') {
        const qsizetype start = ++at;
        while (at < text.size() && text[at] >= u'0' && text[at] <= u'9')
            ++at;
        const qsizetype digits = at - start;
        if (digits < 1 || digits > 9)
            return std::nullopt;
        for (qsizetype i = 0; i < 3; ++i)
            milliseconds = milliseconds * 10 + (i < digits ? int(text[start + i].unicode() - u'0') : 0);
    }

    int offsetSeconds = 0;
    if (at == text.size() - 1 && text[at] == u'Z') {
        offsetSeconds = 0;
    } else if (at == text.size() - 6 && (text[at] == u'+' || text[at] == u'-') && text[at + 3] == u':') {
        const int hours = number(at + 1, 2);
        const int minutes = number(at + 4, 2);
        if (hours < 0 || minutes < 0 || hours > 23 || minutes > 59)
            return std::nullopt;
        offsetSeconds = (hours * 60 + minutes) * 60 * (text[at] == u'-' ? -1 : 1);
    } else {
        return std::nullopt;
    }

    const QDate date(year, month, day);
    const QTime time(hour, minute, second, milliseconds);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetSeconds);
}

QDateTime relativeDateNow()
{
    const QTimeZone zone = QTimeZone::systemTimeZone();
    // Without a zone Qt can name, local time serves, only more slowly.
    return zone.isValid() ? QDateTime::currentDateTime().toTimeZone(zone) : QDateTime::currentDateTime();
}

QString relativeDate(const QString &text, const QDateTime &now)
{
    const std::optional<QDateTime> parsed = parseInternetDateTime(text);
    if (!parsed)
        return text;
    // Calendar steps are counted on the reader's wall clock. A clock in a time zone keeps its
    // zone's rules in memory; local time asks the C library, which looks at the zone file on every
    // conversion.
    const bool zoned = now.timeSpec() == Qt::TimeZone;
    const QDateTime date = wallClock(zoned ? parsed->toTimeZone(now.timeZone()) : parsed->toLocalTime());
    const QDateTime reference = wallClock(zoned ? now : now.toLocalTime());
    const std::int64_t elapsedMilliseconds = parsed->msecsTo(now);
    const std::int64_t elapsed = elapsedMilliseconds / 1000; // whole seconds, towards zero
    const bool future = elapsedMilliseconds < 0;
    const auto [unit, count]
        = future ? largestComponent(reference, date, -elapsed) : largestComponent(date, reference, elapsed);
    return phrase(unit, count, future);
}

QString relativeDate(const QString &text)
{
    return relativeDate(text, relativeDateNow());
}

} // namespace orvane
