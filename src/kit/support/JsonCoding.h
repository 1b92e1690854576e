#pragma once

// Strict JSON coding for every record of the system, on nlohmann's ordered_json.
//
// A record codes itself by defining
//     void encode(orvane::JsonObjectWriter &writer) const;
//     static Record decode(const orvane::JsonObjectReader &reader);
// and writes/reads its keys in declaration order. Enumerations code as raw-value text once they
// specialise orvane::JsonEnum (see ORVANE_JSON_ENUM below).
//
// Decoding never echoes a received value in its errors: a key path and what was expected is all
// an error carries, because some payloads hold secrets.

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QUuid>

#include <nlohmann/json.hpp>

#include <array>
#include <cmath>
#include <concepts>
#include <cstdint>
#include <exception>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace orvane {

using Json = nlohmann::ordered_json;

// A position inside a JSON document, built on the stack while coding. Formatting it to text only
// happens when an error is reported, so the happy path never allocates for paths.
class JsonPath final {
public:
    JsonPath() = default;

    [[nodiscard]] JsonPath key(std::string_view name) const { return JsonPath(this, name, npos); }
    [[nodiscard]] JsonPath index(std::size_t i) const { return JsonPath(this, {}, i); }

    // e.g. "agentTabs[0].entries[3].role"; empty for the document root.
    [[nodiscard]] QString toString() const;

private:
    static constexpr std::size_t npos = std::numeric_limits<std::size_t>::max();
    JsonPath(const JsonPath *parent, std::string_view name, std::size_t i) : m_parent(parent), m_key(name), m_index(i)
    {
    }

    const JsonPath *m_parent = nullptr;
    std::string_view m_key;
    std::size_t m_index = npos;
};

// Base of coding failures: the key path (possibly empty) and what was wrong there.
class JsonError : public std::exception {
public:
    JsonError(QString path, QString reason);

    [[nodiscard]] const QString &path() const { return m_path; }
    [[nodiscard]] const QString &reason() const { return m_reason; }
    // "agentTabs[0].role: expected a string", or just the reason at the root.
    [[nodiscard]] QString message() const;
    [[nodiscard]] const char *what() const noexcept override { return m_what.constData(); }

private:
    QString m_path;
    QString m_reason;
    QByteArray m_what;
};

class DecodingError final : public JsonError {
public:
    using JsonError::JsonError;
};

class EncodingError final : public JsonError {
public:
    using JsonError::JsonError;
};

// Raw values of a persisted enumeration. Specialise with ORVANE_JSON_ENUM.
template <typename E> struct JsonEnum;

template <typename E>
concept JsonEnumeration = std::is_enum_v<E> && requires
{
    JsonEnum<E>::values;
};

// The raw-value text of an enumeration case.
template <JsonEnumeration E> [[nodiscard]] QString rawValue(E value)
{
    for (const auto &[v, raw] : JsonEnum<E>::values) {
        if (v == value)
            return QString::fromUtf8(raw.data(), qsizetype(raw.size()));
    }
    return {};
}

template <JsonEnumeration E> [[nodiscard]] std::optional<E> fromRawValue(std::string_view raw)
{
    for (const auto &[v, r] : JsonEnum<E>::values) {
        if (r == raw)
            return v;
    }
    return std::nullopt;
}

template <JsonEnumeration E> [[nodiscard]] std::optional<E> fromRawValue(const QString &raw)
{
    const QByteArray utf8 = raw.toUtf8();
    return fromRawValue<E>(std::string_view(utf8.constData(), std::size_t(utf8.size())));
}

// Every case of an enumeration, in declaration order.
template <JsonEnumeration E> [[nodiscard]] QList<E> allCases()
{
    QList<E> cases;
    cases.reserve(qsizetype(std::size(JsonEnum<E>::values)));
    for (const auto &entry : JsonEnum<E>::values)
        cases.append(entry.first);
    return cases;
}

// Persisted enumerations hash their raw value, so QSet and QHash take them as keys.
template <JsonEnumeration E> [[nodiscard]] size_t qHash(E value, size_t seed = 0)
{
    for (const auto &[v, raw] : JsonEnum<E>::values) {
        if (v == value)
            return ::qHash(QByteArrayView(raw.data(), qsizetype(raw.size())), seed);
    }
    return seed;
}

class JsonObjectWriter;
class JsonObjectReader;

template <typename T>
concept JsonRecord = requires(const T &value, JsonObjectWriter &writer, const JsonObjectReader &reader)
{
    value.encode(writer);
    {
        T::decode(reader)
        } -> std::same_as<T>;
};

// Coding of one value type. Specialisations exist for the scalar, Qt and container types below.
template <typename T> struct JsonCoder;

template <typename T>
concept JsonCodable = requires(const T &value, const Json &json, const JsonPath &path)
{
    {
        JsonCoder<T>::encode(value, path)
        } -> std::same_as<Json>;
    {
        JsonCoder<T>::decode(json, path)
        } -> std::same_as<T>;
};

namespace detail {
[[noreturn]] void throwDecoding(const JsonPath &path, const char *reason);
[[noreturn]] void throwEncoding(const JsonPath &path, const char *reason);
std::int64_t decodeInteger(const Json &json, const JsonPath &path, std::int64_t min, std::int64_t max);
} // namespace detail

// Writes one JSON object, keys in call order.
class JsonObjectWriter final {
public:
    explicit JsonObjectWriter(const JsonPath &path) : m_path(path), m_json(Json::object()) { }

    template <JsonCodable T> JsonObjectWriter &field(std::string_view key, const T &value)
    {
        m_json.emplace(std::string(key), JsonCoder<T>::encode(value, m_path.key(key)));
        return *this;
    }

    // An absent optional writes no key at all.
    template <JsonCodable T> JsonObjectWriter &field(std::string_view key, const std::optional<T> &value)
    {
        if (value)
            field(key, *value);
        return *this;
    }

    [[nodiscard]] const JsonPath &path() const { return m_path; }
    [[nodiscard]] Json take() { return std::move(m_json); }

private:
    const JsonPath &m_path;
    Json m_json;
};

// Reads one JSON object strictly: required keys must be present and non-null, unknown keys are
// ignored.
class JsonObjectReader final {
public:
    JsonObjectReader(const Json &json, const JsonPath &path);

    template <JsonCodable T> [[nodiscard]] T required(std::string_view key) const
    {
        const JsonPath child = m_path.key(key);
        const Json *value = find(key);
        if (!value || value->is_null())
            detail::throwDecoding(child, "missing required key");
        return JsonCoder<T>::decode(*value, child);
    }

    // Missing and null both give an absent value.
    template <JsonCodable T> [[nodiscard]] std::optional<T> optional(std::string_view key) const
    {
        const Json *value = find(key);
        if (!value || value->is_null())
            return std::nullopt;
        return JsonCoder<T>::decode(*value, m_path.key(key));
    }

    // For lenient (wire) records: the value when present and decodable, else the fallback.
    template <JsonCodable T> [[nodiscard]] T lenient(std::string_view key, T fallback) const
    {
        const Json *value = find(key);
        if (!value || value->is_null())
            return fallback;
        try {
            return JsonCoder<T>::decode(*value, m_path.key(key));
        } catch (const DecodingError &) {
            return fallback;
        }
    }

    [[nodiscard]] bool contains(std::string_view key) const { return find(key) != nullptr; }
    [[nodiscard]] const Json *find(std::string_view key) const;
    [[nodiscard]] const JsonPath &path() const { return m_path; }
    [[nodiscard]] const Json &json() const { return m_json; }

private:
    const Json &m_json;
    const JsonPath &m_path;
};

// --- scalar coders -------------------------------------------------------------------------

template <> struct JsonCoder<bool> {
    static Json encode(bool value, const JsonPath &) { return value; }
    static bool decode(const Json &json, const JsonPath &path)
    {
        if (!json.is_boolean())
            detail::throwDecoding(path, "expected a boolean");
        return json.get<bool>();
    }
};

// Integers saturate at the bounds of the field's type rather than wrap; a fraction is refused.
template <std::integral T>
requires(!std::same_as<T, bool>) struct JsonCoder<T> {
    static Json encode(T value, const JsonPath &) { return value; }
    static T decode(const Json &json, const JsonPath &path)
    {
        constexpr auto lo = std::int64_t(std::numeric_limits<T>::min());
        constexpr auto hi = std::numeric_limits<T>::max() > std::uint64_t(std::numeric_limits<std::int64_t>::max())
            ? std::numeric_limits<std::int64_t>::max()
            : std::int64_t(std::numeric_limits<T>::max());
        return T(detail::decodeInteger(json, path, lo, hi));
    }
};

template <> struct JsonCoder<double> {
    static Json encode(double value, const JsonPath &path);
    static double decode(const Json &json, const JsonPath &path);
};

template <> struct JsonCoder<QString> {
    static Json encode(const QString &value, const JsonPath &);
    static QString decode(const Json &json, const JsonPath &path);
};

// UUIDs are canonical 36-character text, written upper-case, read in either case.
template <> struct JsonCoder<QUuid> {
    static Json encode(const QUuid &value, const JsonPath &);
    static QUuid decode(const Json &json, const JsonPath &path);
};

template <JsonEnumeration E> struct JsonCoder<E> {
    static Json encode(E value, const JsonPath &path)
    {
        for (const auto &[v, raw] : JsonEnum<E>::values) {
            if (v == value)
                return std::string(raw);
        }
        detail::throwEncoding(path, "not a case of the enumeration");
    }
    static E decode(const Json &json, const JsonPath &path)
    {
        if (!json.is_string())
            detail::throwDecoding(path, "expected a string");
        const auto *raw = json.get_ptr<const std::string *>();
        if (auto value = fromRawValue<E>(std::string_view(*raw)))
            return *value;
        detail::throwDecoding(path, "unknown raw value for the enumeration");
    }
};

template <JsonRecord T> struct JsonCoder<T> {
    static Json encode(const T &value, const JsonPath &path)
    {
        JsonObjectWriter writer(path);
        value.encode(writer);
        return writer.take();
    }
    static T decode(const Json &json, const JsonPath &path)
    {
        const JsonObjectReader reader(json, path);
        return T::decode(reader);
    }
};

// --- containers ------------------------------------------------------------------------------

template <JsonCodable T> struct JsonCoder<QList<T>> {
    static Json encode(const QList<T> &values, const JsonPath &path)
    {
        Json array = Json::array();
        array.get_ref<Json::array_t &>().reserve(std::size_t(values.size()));
        std::size_t i = 0;
        for (const T &value : values) {
            array.push_back(JsonCoder<T>::encode(value, path.index(i)));
            ++i;
        }
        return array;
    }
    static QList<T> decode(const Json &json, const JsonPath &path)
    {
        if (!json.is_array())
            detail::throwDecoding(path, "expected an array");
        QList<T> values;
        values.reserve(qsizetype(json.size()));
        std::size_t i = 0;
        for (const Json &element : json) {
            if (element.is_null())
                detail::throwDecoding(path.index(i), "unexpected null");
            values.append(JsonCoder<T>::decode(element, path.index(i)));
            ++i;
        }
        return values;
    }
};

// String-keyed maps code as JSON objects.
template <JsonCodable T> struct JsonCoder<QMap<QString, T>> {
    static Json encode(const QMap<QString, T> &values, const JsonPath &path)
    {
        Json object = Json::object();
        // The map's keys are distinct, so each member is appended without the object's own
        // key-by-key search, which would make a large map cost the square of its size.
        auto &members = *object.get_ptr<Json::object_t *>();
        members.reserve(std::size_t(values.size()));
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            const QByteArray key = it.key().toUtf8();
            const std::string_view keyView(key.constData(), std::size_t(key.size()));
            members.emplace_back(std::string(keyView), JsonCoder<T>::encode(it.value(), path.key(keyView)));
        }
        return object;
    }
    static QMap<QString, T> decode(const Json &json, const JsonPath &path)
    {
        if (!json.is_object())
            detail::throwDecoding(path, "expected an object");
        QMap<QString, T> values;
        for (auto it = json.cbegin(); it != json.cend(); ++it) {
            const std::string &key = it.key();
            values.insert(QString::fromStdString(key), JsonCoder<T>::decode(it.value(), path.key(key)));
        }
        return values;
    }
};

// --- documents -------------------------------------------------------------------------------

template <JsonCodable T> [[nodiscard]] Json toJson(const T &value)
{
    const JsonPath root;
    return JsonCoder<T>::encode(value, root);
}

template <JsonCodable T> [[nodiscard]] T fromJson(const Json &json)
{
    const JsonPath root;
    if (json.is_null())
        detail::throwDecoding(root, "expected a value, found null");
    return JsonCoder<T>::decode(json, root);
}

// Parses JSON text; throws DecodingError (no position, no content) when it is not valid JSON.
[[nodiscard]] Json parseJson(QByteArrayView bytes);

// Compact text in each object's own key order.
[[nodiscard]] QByteArray dumpJson(const Json &json);

// Indented text with every object's keys sorted lexicographically, for files people read.
[[nodiscard]] QByteArray dumpSortedPretty(const Json &json);

template <JsonCodable T> [[nodiscard]] QByteArray encodeJson(const T &value)
{
    return dumpJson(toJson(value));
}

template <JsonCodable T> [[nodiscard]] T decodeJson(QByteArrayView bytes)
{
    return fromJson<T>(parseJson(bytes));
}

namespace detail {
// Parses a top-level JSON array and hands each element to `element` as a document of its own, as
// soon as that element ends: the whole array is never held as one document.
void forEachArrayElement(
    QByteArrayView bytes, const std::function<void(const Json &element, std::size_t index)> &element);
} // namespace detail

// decodeJson<QList<T>>() for long lists (stores): the same values and errors, decoded one element
// at a time as the text is read, so memory and time do not go to a document of the whole list.
// Text that breaks off after a faulty element reports the element's fault, not the broken text.
template <JsonCodable T> [[nodiscard]] QList<T> decodeJsonList(QByteArrayView bytes)
{
    const JsonPath root;
    QList<T> values;
    detail::forEachArrayElement(bytes, [&](const Json &element, std::size_t i) {
        if (element.is_null())
            detail::throwDecoding(root.index(i), "unexpected null");
        values.append(JsonCoder<T>::decode(element, root.index(i)));
    });
    return values;
}

// Converts a double to an integer type, clamping at its bounds; NaN gives zero.
template <std::integral T> [[nodiscard]] constexpr T saturatingCast(double value)
{
    if (std::isnan(value))
        return T(0);
    if (value <= double(std::numeric_limits<T>::min()))
        return std::numeric_limits<T>::min();
    if (value >= double(std::numeric_limits<T>::max()))
        return std::numeric_limits<T>::max();
    return T(value);
}

// Adds two 64-bit integers, clamping at the bounds instead of overflowing.
[[nodiscard]] std::int64_t saturatingAdd(std::int64_t a, std::int64_t b);

} // namespace orvane

// Declares the raw values of a persisted enumeration, e.g.
//   ORVANE_JSON_ENUM(ThreadApprovalMode, {ThreadApprovalMode::manual, "Require Approval"}, ...)
#define ORVANE_JSON_ENUM(Type, ...)                                                                                    \
    template <> struct orvane::JsonEnum<Type> {                                                                        \
        static constexpr std::pair<Type, std::string_view> values[] = { __VA_ARGS__ };                                 \
    };
