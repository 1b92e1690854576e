#include "kit/support/RelativeDate.h"

#include <QRegularExpression>

#include <array>
#include <cstdint>
#include <utility>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

// Date, "T", time, optional fraction, then "Z" or a ±hh:mm offset.
const QRegularExpression &internetDateTimePattern()
{
    static const QRegularExpression pattern(
        uR"(^(\d{4})-(\d{2})-(\d{2})T(\d{2}):(\d{2}):(\d{2})(?:\.(\d{1,9}))?(?:(Z)|([+-])(\d{2}):(\d{2}))$)"_s);
    return pattern;
}

enum class Unit { year, month, week, day, hour, minute, second };

QString phrase(Unit unit, std::int64_t count, bool future)
{
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

// The calendar distance from `earlier` to `later` in its largest non-zero unit, the way a
// calendar counts it: whole years, then months, weeks, days, and the rest in clock units.
std::pair<Unit, std::int64_t> largestComponent(QDateTime earlier, const QDateTime &later)
{
    const auto step = [&](auto add) {
        std::int64_t n = 0;
        while (add(earlier, n + 1) <= later)
            ++n;
        earlier = add(earlier, n);
        return n;
    };
    // Stepping one unit at a time keeps month-end clamping exactly as the calendar does.
    const std::int64_t years = step([](const QDateTime &d, std::int64_t k) { return d.addYears(int(k)); });
    if (years > 0)
        return { Unit::year, years };
    if (const auto months = step([](const QDateTime &d, std::int64_t k) { return d.addMonths(int(k)); }))
        return { Unit::month, months };
    std::int64_t days = earlier.date().daysTo(later.date());
    if (days > 0 && earlier.addDays(days) > later)
        --days;
    if (days >= 7)
        return { Unit::week, days / 7 };
    if (days > 0)
        return { Unit::day, days };
    const std::int64_t seconds = earlier.secsTo(later);
    if (seconds >= 3600)
        return { Unit::hour, seconds / 3600 };
    if (seconds >= 60)
        return { Unit::minute, seconds / 60 };
    return { Unit::second, seconds };
}

} // namespace

std::optional<QDateTime> parseInternetDateTime(QStringView text)
{
    const QRegularExpressionMatch match = internetDateTimePattern().match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const auto number = [&](int group) { return match.capturedView(group).toInt(); };
    const QDate date(number(1), number(2), number(3));
    int milliseconds = 0;
    if (const QStringView fraction = match.capturedView(7); !fraction.isEmpty())
        milliseconds = fraction.left(3).toString().leftJustified(3, u'0').toInt();
    const QTime time(number(4), number(5), number(6), milliseconds);
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    int offsetSeconds = 0;
    if (match.capturedView(8).isEmpty()) {
        const int hours = number(10);
        const int minutes = number(11);
        if (hours > 23 || minutes > 59)
            return std::nullopt;
        offsetSeconds = (hours * 60 + minutes) * 60 * (match.capturedView(9) == u"-" ? -1 : 1);
    }
    return QDateTime(date, time, Qt::OffsetFromUTC, offsetSeconds);
}

QString relativeDate(const QString &text, const QDateTime &now)
{
    const std::optional<QDateTime> parsed = parseInternetDateTime(text);
    if (!parsed)
        return text;
    const QDateTime date = parsed->toLocalTime();
    const QDateTime reference = now.toLocalTime();
    const bool future = date > reference;
    const auto [unit, count] = future ? largestComponent(reference, date) : largestComponent(date, reference);
    if (count == 0)
        return u"now"_s;
    return phrase(unit, count, future);
}

QString relativeDate(const QString &text)
{
    return relativeDate(text, QDateTime::currentDateTime());
}

} // namespace orvane
