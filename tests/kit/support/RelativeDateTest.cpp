#include "kit/support/RelativeDate.h"

#include <QLocale>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace orvane {
namespace {

QDateTime at(const QString &iso)
{
    return QDateTime::fromString(iso, Qt::ISODateWithMs);
}

struct Case {
    const char16_t *timestamp;
    const char16_t *now;
    const char16_t *expected;
};

// Sets the application's locale for one test and puts the previous one back.
class LocaleScope final {
public:
    explicit LocaleScope(const QLocale &locale) { QLocale::setDefault(locale); }
    ~LocaleScope() { QLocale::setDefault(m_previous); }
    LocaleScope(const LocaleScope &) = delete;
    LocaleScope &operator=(const LocaleScope &) = delete;

private:
    QLocale m_previous;
};

TEST(RelativeDateTest, TimestampsBecomeRelativeText)
{
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const Case cases[] = {
        // With fractional seconds (first parser) and without (second parser).
        { u"2024-05-10T09:30:00.123Z", u"2024-05-10T11:30:00.123Z", u"2 hours ago" },
        { u"2024-05-10T09:30:00Z", u"2024-05-10T11:30:00Z", u"2 hours ago" },
        { u"2024-05-10T11:30:00+02:00", u"2024-05-10T11:30:00Z", u"2 hours ago" },
        { u"2024-05-10T11:29:15Z", u"2024-05-10T11:30:00Z", u"45 seconds ago" },
        { u"2024-05-10T11:29:00Z", u"2024-05-10T11:30:00Z", u"1 minute ago" },
        { u"2024-05-10T11:30:00Z", u"2024-05-10T11:30:00.400Z", u"now" },
        // Named units where the language has a word for a distance of one.
        { u"2024-05-09T11:30:00Z", u"2024-05-10T11:30:00Z", u"yesterday" },
        { u"2024-05-07T11:30:00Z", u"2024-05-10T11:30:00Z", u"3 days ago" },
        { u"2024-05-03T11:30:00Z", u"2024-05-10T11:30:00Z", u"last week" },
        { u"2024-04-26T11:30:00Z", u"2024-05-10T11:30:00Z", u"2 weeks ago" },
        { u"2024-04-10T11:30:00Z", u"2024-05-10T11:30:00Z", u"last month" },
        { u"2023-12-10T11:30:00Z", u"2024-05-10T11:30:00Z", u"5 months ago" },
        { u"2023-05-10T11:30:00Z", u"2024-05-10T11:30:00Z", u"last year" },
        { u"2021-01-10T11:30:00Z", u"2024-05-10T11:30:00Z", u"3 years ago" },
        // The future reads forwards.
        { u"2024-05-10T11:35:00Z", u"2024-05-10T11:30:00Z", u"in 5 minutes" },
        { u"2024-05-11T11:30:00Z", u"2024-05-10T11:30:00Z", u"tomorrow" },
        { u"2024-05-17T11:30:00Z", u"2024-05-10T11:30:00Z", u"next week" },
        { u"2024-05-13T11:30:00Z", u"2024-05-10T11:30:00Z", u"in 3 days" },
        // Less than a whole calendar day is counted in hours, even across midnight.
        { u"2024-05-09T13:30:00Z", u"2024-05-10T11:30:00Z", u"22 hours ago" },
    };
    for (const Case &c : cases) {
        const QString timestamp = QString::fromUtf16(c.timestamp);
        EXPECT_EQ(relativeDate(timestamp, at(QString::fromUtf16(c.now))), QString::fromUtf16(c.expected))
            << timestamp.toStdString();
    }
}

// The phrase follows the user's locale, with its own words for named distances; the C locale
// reads as English.
TEST(RelativeDateTest, FollowsTheUsersLocale)
{
    const QDateTime now = at(u"2024-05-10T11:30:00Z"_s);
    {
        const LocaleScope german(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(relativeDate(u"2024-05-10T09:30:00Z"_s, now), u"vor 2 Stunden"_s);
        EXPECT_EQ(relativeDate(u"2024-05-09T11:30:00Z"_s, now), u"gestern"_s);
        EXPECT_EQ(relativeDate(u"2024-05-10T11:35:00Z"_s, now), u"in 5 Minuten"_s);
        EXPECT_EQ(relativeDate(u"2024-05-03T11:30:00Z"_s, now), u"letzte Woche"_s);
        EXPECT_EQ(relativeDate(u"Just now"_s, now), u"Just now"_s);
    }
    {
        const LocaleScope french(QLocale(QLocale::French, QLocale::France));
        EXPECT_EQ(relativeDate(u"2024-05-10T09:29:59.500Z"_s, now), u"il y a 2 heures"_s);
        EXPECT_EQ(relativeDate(u"2024-05-11T11:30:00Z"_s, now), u"demain"_s);
        EXPECT_EQ(relativeDate(u"2021-01-10T11:30:00Z"_s, now), u"il y a 3 ans"_s);
    }
    {
        const LocaleScope c(QLocale::c());
        EXPECT_EQ(relativeDate(u"2024-05-10T09:30:00Z"_s, now), u"2 hours ago"_s);
        EXPECT_EQ(relativeDate(u"2024-05-10T11:30:00Z"_s, now), u"now"_s);
    }
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedKingdom));
    EXPECT_EQ(relativeDate(u"1024-05-10T11:30:00Z"_s, now), u"1000 years ago"_s);
}

TEST(RelativeDateTest, AnyOtherTextPassesThroughUnchanged)
{
    const QDateTime now = at(u"2024-05-10T11:30:00Z"_s);
    for (const QString &text : { u"2024-05-01"_s, u"Just now"_s, u""_s, u"Updated by Ana"_s, u"2024-05-01T09:30:00"_s,
             u"2024-05-01 09:30:00Z"_s, u"2024-13-01T09:30:00Z"_s, u"2024-02-30T09:30:00Z"_s, u"2024-05-01T25:00:00Z"_s,
             u"2024-05-01T09:30:00.Z"_s, u"2024-05-01T09:30:00+25:00"_s, u" 2024-05-01T09:30:00Z"_s })
        EXPECT_EQ(relativeDate(text, now), text) << text.toStdString();
}

TEST(RelativeDateTest, ParsesInternetDateTimesToTheInstant)
{
    EXPECT_EQ(parseInternetDateTime(u"2024-05-01T09:30:00.123Z"), at(u"2024-05-01T09:30:00.123Z"_s));
    EXPECT_EQ(parseInternetDateTime(u"2024-05-01T09:30:00-04:30"), at(u"2024-05-01T14:00:00Z"_s));
    EXPECT_EQ(parseInternetDateTime(u"2024-05-01T09:30:00.5Z"), at(u"2024-05-01T09:30:00.500Z"_s));
    EXPECT_FALSE(parseInternetDateTime(u"yesterday").has_value());
}

TEST(RelativeDateTest, WithoutAClockItMeasuresFromNow)
{
    const LocaleScope english(QLocale(QLocale::English, QLocale::UnitedStates));
    const QString anHourAgo = QDateTime::currentDateTimeUtc().addSecs(-3600 - 30).toString(Qt::ISODate);
    EXPECT_EQ(relativeDate(anHourAgo), u"1 hour ago"_s);
}

} // namespace
} // namespace orvane
