#include "ide/sync/LocalReport.h"

#include <QStringList>

#include <algorithm>

namespace orvane::LocalReport {

using namespace Qt::StringLiterals;

QString slug(const QString &title)
{
    const QString lower = title.toLower();
    QString result;
    result.reserve(lower.size());
    bool inRun = false;
    for (const QChar c : lower) {
        const char16_t u = c.unicode();
        if ((u >= u'a' && u <= u'z') || (u >= u'0' && u <= u'9')) {
            result.append(c);
            inRun = false;
        } else if (!inRun) {
            result.append(u'-');
            inRun = true;
        }
    }
    return result;
}

QString fileName(const QString &title)
{
    constexpr qsizetype maxSlugLength = 80;
    const QString cut = slug(title).left(maxSlugLength);
    const bool named = std::any_of(cut.cbegin(), cut.cend(), [](QChar c) { return c != u'-'; });
    return (named ? cut : u"report"_s) + u".html"_s;
}

QString displayPath(const QString &shownRoot, const QString &title)
{
    return shownRoot + u'/' + QStringView(folderName) + u'/' + fileName(title);
}

QString html(const QString &title, const QString &kind, const QString &shownRoot, const QString &writtenName)
{
    // Escaped after upper-casing, so an entity such as "&amp;" keeps its lower-case name.
    const QString badgeKind = kind.toUpper().toHtmlEscaped();
    const QString heading = title.toHtmlEscaped();
    const QStringList lines {
        u"<!doctype html>"_s,
        u"<html>"_s,
        u"<head>"_s,
        u"  <meta charset=\"utf-8\" />"_s,
        u"  <style>"_s,
        u"    body { font-family: -apple-system, BlinkMacSystemFont, 'Space Grotesk', sans-serif; background: #0A0E14; "
        u"color: #F1F5F9; padding: 32px; }"_s,
        u"    .badge { display: inline-block; background: rgba(204,255,0,0.15); color: #CCFF00; border: 1px solid "
        u"rgba(204,255,0,0.4); padding: 4px 10px; font-family: monospace; font-size: 11px; text-transform: uppercase; }"_s,
        u"    h1 { font-size: 28px; margin: 12px 0 6px; }"_s,
        u"    .grid { display: grid; grid-template-columns: repeat(3, 1fr); gap: 14px; margin-top: 24px; }"_s,
        u"    .card { background: #0F172A; border: 1px solid rgba(255,255,255,0.12); padding: 18px; }"_s,
        u"    .label { font-family: monospace; font-size: 11px; color: #94A3B8; text-transform: uppercase; }"_s,
        u"    .val { font-size: 24px; font-weight: 700; color: #CCFF00; margin-top: 6px; }"_s,
        u"    table { width: 100%; border-collapse: collapse; margin-top: 24px; font-size: 13px; }"_s,
        u"    th, td { border-bottom: 1px solid rgba(255,255,255,0.1); padding: 10px 8px; text-align: left; }"_s,
        u"    th { color: #94A3B8; font-family: monospace; font-size: 11px; text-transform: uppercase; }"_s,
        u"  </style>"_s,
        u"</head>"_s,
        u"<body>"_s,
        u"  <span class=\"badge\">ORVANE LOCAL &amp; CLOUD ATTRIBUTION REPORT · "_s + badgeKind + u"</span>"_s,
        u"  <h1>"_s + heading + u"</h1>"_s,
        u"  <p style=\"color:#94A3B8;\">Generated locally in "_s
            + QString(shownRoot + u'/' + QStringView(folderName) + u'/'
                + (writtenName.isEmpty() ? fileName(title) : writtenName))
                  .toHtmlEscaped()
            + u"</p>"_s,
        u"  <div class=\"grid\">"_s,
        u"    <div class=\"card\"><div class=\"label\">Attributed Pipeline</div><div class=\"val\">$412,000</div></div>"_s,
        u"    <div class=\"card\"><div class=\"label\">Blended ROAS</div><div class=\"val\">4.2x</div></div>"_s,
        u"    <div class=\"card\"><div class=\"label\">Blended CPA</div><div class=\"val\">$164</div></div>"_s,
        u"  </div>"_s,
        u"  <table>"_s,
        u"    <thead><tr><th>Channel</th><th>Spend</th><th>Conversions</th><th>CPA</th><th>Pipeline</th></tr></thead>"_s,
        u"    <tbody>"_s,
        u"      <tr><td>LinkedIn ABM</td><td>$20,250</td><td>118</td><td>$171</td><td>$214,000</td></tr>"_s,
        u"      <tr><td>Google Exact Search</td><td>$15,750</td><td>104</td><td>$151</td><td>$142,000</td></tr>"_s,
        u"      <tr><td>Reddit Communities</td><td>$4,500</td><td>28</td><td>$160</td><td>$31,500</td></tr>"_s,
        u"      <tr><td>X Operator Reach</td><td>$4,500</td><td>24</td><td>$187</td><td>$24,500</td></tr>"_s,
        u"    </tbody>"_s,
        u"  </table>"_s,
        u"</body>"_s,
        u"</html>"_s,
    };
    return lines.join(u'\n');
}

} // namespace orvane::LocalReport
