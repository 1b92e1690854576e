#include "kit/support/JsonCoding.h"

#include <QStringBuilder>

#include <vector>

namespace orvane {

QString JsonPath::toString() const
{
    std::vector<const JsonPath *> chain;
    for (const JsonPath *p = this; p; p = p->m_parent)
        chain.push_back(p);
    QString text;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const JsonPath *p = *it;
        if (p->m_index != npos) {
            text += u'[' % QString::number(p->m_index) % u']';
        } else if (!p->m_key.empty()) {
            if (!text.isEmpty())
                text += u'.';
            text += QString::fromUtf8(p->m_key.data(), qsizetype(p->m_key.size()));
        }
    }
    return text;
}

JsonError::JsonError(QString path, QString reason)
    : m_path(std::move(path)), m_reason(std::move(reason)), m_what(message().toUtf8())
{
}

QString JsonError::message() const
{
    return m_path.isEmpty() ? m_reason : m_path % u": " % m_reason;
}

namespace detail {

void throwDecoding(const JsonPath &path, const char *reason)
{
    throw DecodingError(path.toString(), QString::fromUtf8(reason));
}

void throwEncoding(const JsonPath &path, const char *reason)
{
    throw EncodingError(path.toString(), QString::fromUtf8(reason));
}

std::int64_t decodeInteger(const Json &json, const JsonPath &path, std::int64_t min, std::int64_t max)
{
    switch (json.type()) {
    case Json::value_t::number_integer: {
        const auto v = json.get<std::int64_t>();
        return std::clamp(v, min, max);
    }
    case Json::value_t::number_unsigned: {
        const auto v = json.get<std::uint64_t>();
        return v > std::uint64_t(max) ? max : std::int64_t(v);
    }
    case Json::value_t::number_float: {
        const auto v = json.get<double>();
        if (!std::isfinite(v))
            throwDecoding(path, "expected a finite integer");
        if (std::trunc(v) != v)
            throwDecoding(path, "expected an integer, found a number with a fraction");
        return std::clamp(saturatingCast<std::int64_t>(v), min, max);
    }
    default:
        throwDecoding(path, "expected an integer");
    }
}

} // namespace detail

JsonObjectReader::JsonObjectReader(const Json &json, const JsonPath &path) : m_json(json), m_path(path)
{
    if (!json.is_object())
        detail::throwDecoding(path, "expected an object");
}

const Json *JsonObjectReader::find(std::string_view key) const
{
    // ordered_json keeps keys in a vector; a linear scan is what find() does too, without
    // building a std::string for the lookup.
    const auto &object = m_json.get_ref<const Json::object_t &>();
    for (const auto &[k, v] : object) {
        if (k == key)
            return &v;
    }
    return nullptr;
}

Json JsonCoder<double>::encode(double value, const JsonPath &path)
{
    if (!std::isfinite(value))
        detail::throwEncoding(path, "a number that is not finite cannot be written");
    return value;
}

double JsonCoder<double>::decode(const Json &json, const JsonPath &path)
{
    if (!json.is_number())
        detail::throwDecoding(path, "expected a number");
    const double value = json.get<double>();
    if (!std::isfinite(value))
        detail::throwDecoding(path, "expected a finite number");
    return value;
}

Json JsonCoder<QString>::encode(const QString &value, const JsonPath &)
{
    return value.toStdString();
}

QString JsonCoder<QString>::decode(const Json &json, const JsonPath &path)
{
    if (!json.is_string())
        detail::throwDecoding(path, "expected a string");
    const auto *text = json.get_ptr<const std::string *>();
    return QString::fromUtf8(text->data(), qsizetype(text->size()));
}

Json JsonCoder<QUuid>::encode(const QUuid &value, const JsonPath &)
{
    return value.toString(QUuid::WithoutBraces).toUpper().toStdString();
}

namespace {
bool isCanonicalUuid(const std::string &text)
{
    if (text.size() != 36)
        return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == 8 || i == 13 || i == 18 || i == 23) {
            if (c != '-')
                return false;
        } else if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'))) {
            return false;
        }
    }
    return true;
}
} // namespace

QUuid JsonCoder<QUuid>::decode(const Json &json, const JsonPath &path)
{
    if (!json.is_string())
        detail::throwDecoding(path, "expected a UUID string");
    const auto *text = json.get_ptr<const std::string *>();
    if (!isCanonicalUuid(*text))
        detail::throwDecoding(path, "expected a UUID in canonical form");
    return QUuid::fromString(QAnyStringView(QByteArrayView(text->data(), qsizetype(text->size()))));
}

Json parseJson(QByteArrayView bytes)
{
    Json json = Json::parse(bytes.begin(), bytes.end(), nullptr, /*allow_exceptions=*/false);
    if (json.is_discarded())
        detail::throwDecoding(JsonPath(), "the data is not valid JSON");
    return json;
}

QByteArray dumpJson(const Json &json)
{
    const std::string text = json.dump();
    return QByteArray(text.data(), qsizetype(text.size()));
}

QByteArray dumpSortedPretty(const Json &json)
{
    // nlohmann::json keeps object keys in a std::map, which sorts them bytewise.
    const nlohmann::json sorted = json;
    const std::string text = sorted.dump(2);
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::int64_t saturatingAdd(std::int64_t a, std::int64_t b)
{
    std::int64_t result = 0;
    if (__builtin_add_overflow(a, b, &result))
        return b > 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();
    return result;
}

} // namespace orvane
