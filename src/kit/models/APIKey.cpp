#include "kit/models/APIKey.h"

#include <QStringBuilder>
#include <QTextBoundaryFinder>

#include <vector>

namespace orvane {

std::optional<APIKey> APIKey::fromText(const QString &text)
{
    QString trimmed = text.trimmed();
    if (trimmed.startsWith(QLatin1String("orv_")) || trimmed.startsWith(QLatin1String("sk_orvane_")))
        return APIKey(std::move(trimmed));
    return std::nullopt;
}

QString APIKey::redacted() const
{
    // Counted in user-perceived characters, so a combining mark never splits off its base.
    std::vector<qsizetype> starts;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, m_value);
    for (qsizetype at = finder.position(); at >= 0 && at < m_value.size(); at = finder.toNextBoundary())
        starts.push_back(at);
    const auto count = qsizetype(starts.size());
    if (count < 13)
        return QStringLiteral("••••");
    return m_value.left(starts[8]) % u'…' % m_value.mid(starts[std::size_t(count - 4)]);
}

Json JsonCoder<APIKey>::encode(const APIKey &key, const JsonPath &path)
{
    return JsonCoder<QString>::encode(key.value(), path);
}

APIKey JsonCoder<APIKey>::decode(const Json &json, const JsonPath &path)
{
    if (auto key = APIKey::fromText(JsonCoder<QString>::decode(json, path)))
        return *key;
    detail::throwDecoding(path, "Not a Orvane API key");
}

QString capitalizedWords(const QString &text)
{
    QString result;
    result.reserve(text.size());
    bool wordStart = true;
    for (const QChar c : text) {
        if (c.isSpace()) {
            result += c;
            wordStart = true;
        } else {
            result += wordStart ? c.toUpper() : c.toLower();
            wordStart = false;
        }
    }
    return result;
}

QString PlatformName::display(const QString &identifier)
{
    const QString lookup = identifier.toLower().remove(QStringLiteral("_ads"));
    static const std::pair<const char16_t *, const char16_t *> names[] = {
        { u"google", u"Google Ads" },
        { u"meta", u"Meta Ads" },
        { u"facebook", u"Meta Ads" },
        { u"linkedin", u"LinkedIn Ads" },
        { u"x", u"X Ads" },
        { u"twitter", u"X Ads" },
        { u"reddit", u"Reddit Ads" },
        { u"microsoft", u"Microsoft Ads" },
        { u"bing", u"Microsoft Ads" },
        { u"tiktok", u"TikTok Ads" },
        { u"amazon", u"Amazon Ads" },
    };
    for (const auto &[key, name] : names) {
        if (lookup == QStringView(key))
            return QString::fromUtf16(name);
    }
    QString spaced = identifier;
    spaced.replace(u'_', u' ');
    return capitalizedWords(spaced);
}

} // namespace orvane
