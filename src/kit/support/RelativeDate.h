#pragma once

#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

namespace orvane {

// Short relative text ("3 hours ago", "yesterday", "in 5 minutes", "now") for a service timestamp
// in ISO-8601 internet date-time form, measured from `now` in the local time zone. Any text that
// is not such a timestamp (a bare date, "Just now", free text) comes back unchanged, so it is safe
// on any stored display text. The phrase is in the user's locale (QLocale's default; the C locale
// reads as English), with the locale's word for a distance where it has one ("gestern").
[[nodiscard]] QString relativeDate(const QString &text, const QDateTime &now);

// The same, measured from the current time.
[[nodiscard]] QString relativeDate(const QString &text);

// The current time in the system's time zone: a clock to measure many timestamps from. Calendar
// steps from it keep the zone's rules in memory, where a local-time clock consults the C library's
// zone file on each.
[[nodiscard]] QDateTime relativeDateNow();

// Reads "2024-05-01T09:30:00Z" or "2024-05-01T09:30:00.123+02:00" (fractional seconds optional,
// a time zone required); empty for anything else.
[[nodiscard]] std::optional<QDateTime> parseInternetDateTime(QStringView text);

} // namespace orvane
