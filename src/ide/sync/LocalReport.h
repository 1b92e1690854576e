#pragma once

#include <QString>

// The attribution report the workspace writes without the service: its file name and its HTML.
namespace orvane::LocalReport {

// The folder under the workspace root that holds the reports.
inline constexpr char16_t folderName[] = u"reports";

// The report's slug: the title lower-cased, every run of characters other than a-z and 0-9 turned
// into one "-". Not trimmed and possibly empty, unlike a project folder's slug; it never holds a
// separator or a dot, so "<slug>.html" stays inside the reports folder.
[[nodiscard]] QString slug(const QString &title);

// "<slug>.html", the slug cut to 80 characters; "report.html" when the slug holds no letter or digit.
// The writer adds "-2", "-3", ... before ".html" when the name is taken: no report overwrites a file.
[[nodiscard]] QString fileName(const QString &title);

// The path the notices show: "<shown root>/reports/<file>", with the root as the user reads it
// ("~/Documents/Orvane").
[[nodiscard]] QString displayPath(const QString &shownRoot, const QString &title);

// The 37-line HTML document with the fixed figures. The title, the upper-cased kind and the shown
// path are inserted as text: every character HTML gives a meaning to is escaped. The path names
// the report's file as written, by default fileName(title).
[[nodiscard]] QString html(
    const QString &title, const QString &kind, const QString &shownRoot, const QString &writtenName = {});

} // namespace orvane::LocalReport
