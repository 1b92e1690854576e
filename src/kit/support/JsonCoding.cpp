#include "kit/support/JsonCoding.h"

#include <QStringBuilder>

#include <string>
#include <unordered_map>
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

namespace {

// The members of the objects being built, one entry per open container. An ordered_json object
// finds a key by scanning its members, so building an object key by key the way its own parser
// does costs the square of its size: a 3 MB answer holding one object of 300,000 keys would hold
// the thread for minutes. Past a few members each open object gets a hash of its keys instead.
class MemberSlots final {
public:
    void opened() { m_indexes.emplace_back(); }
    void closed() { m_indexes.pop_back(); }

    // The value of member `name` of `object` (the innermost open container), added as null when
    // it is new. A repeated key keeps its first place and takes the last value, as with the
    // document parser.
    Json *slot(Json &object, std::string &name)
    {
        auto &members = *object.get_ptr<Json::object_t *>();
        Index &index = m_indexes.back();
        if (index.empty() && members.size() < kScanned) {
            for (auto &member : members) {
                if (member.first == name)
                    return &member.second;
            }
        } else {
            if (index.empty()) {
                index.reserve(members.size() * 2);
                for (auto member = members.begin(); member != members.end(); ++member)
                    index.emplace(member->first, std::size_t(member - members.begin()));
            }
            const auto [found, added] = index.emplace(name, members.size());
            if (!added)
                return &(members.begin() + std::ptrdiff_t(found->second))->second;
        }
        members.emplace_back(std::move(name), Json());
        return &members.back().second;
    }

private:
    static constexpr std::size_t kScanned = 16;
    using Index = std::unordered_map<std::string, std::size_t>;
    std::vector<Index> m_indexes;
};

// The parser's events as values: each value goes into the innermost open container (its next
// element, or the member of the last key); what happens outside every container is the derived
// class's (`scalar`, `open`, `close`).
template <typename Derived> class JsonValueEvents : public nlohmann::json_sax<Json> {
public:
    bool null() override { return self().scalar(Json(nullptr)); }
    bool boolean(bool value) override { return self().scalar(Json(value)); }
    bool number_integer(number_integer_t value) override { return self().scalar(Json(value)); }
    bool number_unsigned(number_unsigned_t value) override { return self().scalar(Json(value)); }
    bool number_float(number_float_t value, const string_t &) override { return self().scalar(Json(value)); }
    bool string(string_t &value) override { return self().scalar(Json(std::move(value))); }
    bool binary(binary_t &) override { return false; } // never in JSON text
    bool start_object(std::size_t) override { return self().open(Json::object()); }
    bool start_array(std::size_t) override { return self().open(Json::array()); }
    bool end_object() override { return self().close(); }
    bool end_array() override { return self().close(); }
    bool key(string_t &name) override
    {
        m_slot = m_members.slot(*m_open.back(), name);
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override { return false; }

protected:
    [[nodiscard]] bool anyOpen() const { return !m_open.empty(); }
    // Puts the value inside the innermost open container and says where it went.
    Json *placeInOpen(Json &&value)
    {
        Json &parent = *m_open.back();
        if (parent.is_array()) {
            parent.push_back(std::move(value));
            return &parent.back();
        }
        *m_slot = std::move(value);
        return m_slot;
    }
    // The parent's storage does not move while a child is open: only the innermost open container
    // grows.
    void pushOpen(Json *container)
    {
        m_open.push_back(container);
        m_members.opened();
    }
    void popOpen()
    {
        m_open.pop_back();
        m_members.closed();
    }

private:
    Derived &self() { return static_cast<Derived &>(*this); }

    std::vector<Json *> m_open;
    MemberSlots m_members;
    Json *m_slot = nullptr;
};

// Builds the whole document from the parser's events, as the document parser would.
class DocumentBuilder final : public JsonValueEvents<DocumentBuilder> {
public:
    // The document is built into `root`.
    explicit DocumentBuilder(Json &root) : m_root(&root) { }

private:
    friend class JsonValueEvents<DocumentBuilder>;

    Json *place(Json &&value)
    {
        if (anyOpen())
            return placeInOpen(std::move(value));
        *m_root = std::move(value);
        return m_root;
    }
    bool scalar(Json &&value)
    {
        place(std::move(value));
        return true;
    }
    bool open(Json &&container)
    {
        pushOpen(place(std::move(container)));
        return true;
    }
    bool close()
    {
        popOpen();
        return true;
    }

    Json *m_root;
};

} // namespace

Json parseJson(QByteArrayView bytes)
{
    Json json;
    DocumentBuilder builder(json);
    if (!Json::sax_parse(bytes.begin(), bytes.end(), &builder))
        detail::throwDecoding(JsonPath(), "the data is not valid JSON");
    return json;
}

namespace {

// Builds each element of the top-level array from the parser's events, then hands it on and drops
// it. Values are stored as the document parser stores them (integer, unsigned and floating forms;
// a repeated key keeps its first place and its last value).
class ArrayElementStream final : public JsonValueEvents<ArrayElementStream> {
public:
    explicit ArrayElementStream(const std::function<void(const Json &, std::size_t)> &element) : m_element(element) { }

private:
    friend class JsonValueEvents<ArrayElementStream>;

    void deliver()
    {
        const Json element = std::move(m_current);
        m_current = Json();
        m_element(element, m_index++);
    }
    bool scalar(Json &&value)
    {
        if (m_depth == 0)
            detail::throwDecoding(JsonPath(), value.is_null() ? "expected a value, found null" : "expected an array");
        if (m_depth == 1) {
            m_current = std::move(value);
            deliver();
        } else {
            placeInOpen(std::move(value));
        }
        return true;
    }
    bool open(Json &&container)
    {
        if (m_depth == 0) {
            if (!container.is_array())
                detail::throwDecoding(JsonPath(), "expected an array");
        } else if (m_depth == 1) {
            m_current = std::move(container);
            pushOpen(&m_current);
        } else {
            pushOpen(placeInOpen(std::move(container)));
        }
        ++m_depth;
        return true;
    }
    bool close()
    {
        --m_depth;
        if (m_depth == 0)
            return true;
        popOpen();
        if (m_depth == 1)
            deliver();
        return true;
    }

    const std::function<void(const Json &, std::size_t)> &m_element;
    std::size_t m_depth = 0;
    std::size_t m_index = 0;
    Json m_current;
};

} // namespace

void detail::forEachArrayElement(
    QByteArrayView bytes, const std::function<void(const Json &element, std::size_t index)> &element)
{
    ArrayElementStream stream(element);
    if (!Json::sax_parse(bytes.begin(), bytes.end(), &stream))
        detail::throwDecoding(JsonPath(), "the data is not valid JSON");
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
